// Quoted-printable encoding of vCard 2.1 values, with the soft line breaks
// that keep the written lines short.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

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

}  // namespace velmora
