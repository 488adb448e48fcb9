#include "foundation/utf8_detect.h"

#include "foundation/code_page.h"

namespace velmora {

bool LooksLikeUtf8(std::string_view bytes) {
  return !codepage::IsAscii(bytes) && codepage::IsValidUtf8(bytes);
}

}  // namespace velmora
