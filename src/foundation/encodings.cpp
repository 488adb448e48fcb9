#include <velmora/encodings.h>

#include "foundation/log.h"
#include "foundation/module_info.h"
#include "foundation/supported_encodings.h"

namespace velmora {

HRESULT ListSupportedEncodings(const std::string& path, std::vector<EncodingInfo>* out) {
  if (out == nullptr) return E_POINTER;
  CLog quiet;  // never initialised: reports nothing
  const std::filesystem::path file =
      path.empty() ? DataFolder() / "supportedEncodings.txt" : std::filesystem::path(path);
  CSupportedEncodingsList list(quiet, file);
  out->clear();
  for (const SupportedEncoding& e : list.entries()) {
    out->push_back({e.display_name, e.charset, e.code_page, e.visible, e.system_locale});
  }
  return list.load_result();
}

std::string LibraryDirectory() { return ModuleFolder().string(); }

std::string DataDirectory() { return DataFolder().string(); }

}  // namespace velmora
