// Telling UTF-8 text from text in a single-byte code page.
#pragma once

#include <string_view>

namespace velmora {

// True when `bytes` are well-formed UTF-8 and hold at least one multi-byte
// sequence. Pure ASCII gives false: it reads the same in every code page the
// system meets, so it says nothing about the writer's encoding. Text in a
// single-byte code page with letters beyond ASCII is almost never also
// well-formed UTF-8, which makes this a safe test for values and files that
// do not name their charset.
bool LooksLikeUtf8(std::string_view bytes);

}  // namespace velmora
