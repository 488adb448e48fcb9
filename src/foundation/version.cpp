#include <velmora/version.h>

#include "foundation/module_info.h"

namespace velmora {

const char* VersionString() { return VELMORA_VERSION_STRING; }

FileVersion LibraryFileVersion() {
  const auto& v = ThisModule().version;
  return FileVersion{v[0], v[1], v[2], v[3]};
}

}  // namespace velmora
