// The library's version, as compiled into libvelmora.so.
#pragma once

#include <velmora/export.h>

namespace velmora {

// "major.minor.patch", for example "0.1.0".
VELMORA_API const char* VersionString();

// The four-part file version (major, minor, patch, build) that the log writes
// in front of every error line.
struct FileVersion {
  unsigned short major, minor, patch, build;
};
VELMORA_API FileVersion LibraryFileVersion();

}  // namespace velmora
