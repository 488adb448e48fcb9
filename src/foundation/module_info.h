// The library module itself: its file path and four-part file version.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

namespace velmora {

struct ModuleInfo {
  std::filesystem::path path;  // the module file; empty when unknown
  bool has_version = false;
  std::array<std::uint16_t, 4> version{};  // major, minor, patch, build
};

// The module that holds this code (libvelmora.so, or the executable when the
// library is linked statically), found through dladdr.
const ModuleInfo& ThisModule();

// The folder of ThisModule().
std::filesystem::path ModuleFolder();

// The folder of the data files (supportedEncodings.txt,
// supportedOutlookHeaders.csv): ModuleFolder() when they lie beside the
// module, as in the build tree; else the data folder of the installed
// layout, found relative to the module (<prefix>/share/velmora beside
// <prefix>/lib), so that an installed tree can be moved as a whole.
std::filesystem::path DataFolder();

}  // namespace velmora
