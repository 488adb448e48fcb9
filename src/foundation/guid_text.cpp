#include "foundation/guid_text.h"

#include <cstdio>

namespace velmora {

std::string GuidText(const VelmoraGuid& guid) {
  char text[40];
  const std::uint8_t* b = guid.Data4;
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, b[0], b[1], b[2], b[3],
                b[4], b[5], b[6], b[7]);
  return text;
}

}  // namespace velmora
