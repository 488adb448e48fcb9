#include "foundation/module_info.h"

#include <dlfcn.h>

namespace velmora {

const ModuleInfo& ThisModule() {
  static const ModuleInfo info = [] {
    ModuleInfo m;
    Dl_info dl;
    if (::dladdr(reinterpret_cast<const void*>(&ThisModule), &dl) != 0 && dl.dli_fname != nullptr) {
      std::error_code ec;
      m.path = std::filesystem::weakly_canonical(dl.dli_fname, ec);
      if (ec) m.path = dl.dli_fname;
    }
    m.has_version = true;
    m.version = {VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR, VELMORA_VERSION_PATCH, 0};
    return m;
  }();
  return info;
}

std::filesystem::path ModuleFolder() { return ThisModule().path.parent_path(); }

std::filesystem::path DataFolder() {
  const std::filesystem::path module = ModuleFolder();
  std::error_code ec;
  if (std::filesystem::exists(module / "supportedEncodings.txt", ec)) return module;
  // The build passes the data folder relative to the library folder.
  return (module / VELMORA_DATA_FROM_LIBDIR).lexically_normal();
}

}  // namespace velmora
