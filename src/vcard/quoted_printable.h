// Quoted-printable as vCard 2.1 writes it: "=XX" escapes and "=" soft line
// breaks that continue a value on the next line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::vcard {

// How far a quoted-printable value reaches, from `value_start` in
// zero-terminated content ending at `end` (a zero byte): over "=XX" escapes, "=" plus any other
// character and soft line breaks ("=" CR LF, "=" CR, "=" LF) up to the first CR, LF or zero byte
// that is not part of an escape. Returns the value end and sets `cursor` past the line break that
// ends it (at the zero byte when the text ends). Never steps over a zero byte.
const char* QuotedPrintableExtent(const char* value_start, const char* end, const char** cursor);

// Decodes a quoted-printable value into `out` (replacing it): soft line
// breaks go, "=XX" (either case) gives its byte, "=" and another character
// give "=" with that character dropped; decoding stops at the first CR, LF or
// zero byte outside an escape, and the result is cut at its first zero byte.
void DecodeQuotedPrintable(std::string_view raw, std::string& out);

// A space or TAB is copied only while the current line holds fewer
// characters than this; from there on it is written "=20" / "=09".
inline constexpr std::size_t kQpBlankLimit = 64;
// Once a line holds this many characters, a soft break ("=" CR LF) follows.
inline constexpr std::size_t kQpLineLimit = 65;

// Appends the quoted-printable form of `bytes` to `out`: bytes 33 to 60 and
// 62 to 126 are copied, space and TAB as said above, every other byte
// becomes "=" and two upper-case hexadecimal digits. After each byte, a
// line of kQpLineLimit characters or more is ended by a soft break. The
// line count starts at 0 with the value.
void EncodeQuotedPrintable(std::string_view bytes, std::string& out);

}  // namespace velmora::vcard
