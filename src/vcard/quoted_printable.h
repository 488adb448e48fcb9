// Quoted-printable as vCard 2.1 writes it: "=XX" escapes and "=" soft line
// breaks that continue a value on the next line.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

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

}  // namespace velmora
