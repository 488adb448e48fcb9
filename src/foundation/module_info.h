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

// The folder of ThisModule(), where the data files are installed.
std::filesystem::path ModuleFolder();

}  // namespace velmora
