#include <velmora/encodings.h>

#include <unicode/ucnv.h>

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

namespace {

// ICU's own name of the converter a charset name opens: aliases meet there.
std::string ConverterName(const std::string& name) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name.c_str(), &status);
  if (U_FAILURE(status) || converter == nullptr) return {};
  std::string canonical = ucnv_getName(converter, &status);
  ucnv_close(converter);
  return U_FAILURE(status) ? std::string() : canonical;
}

}  // namespace

bool SameCharset(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  const std::string first = ConverterName(a);
  return !first.empty() && first == ConverterName(b);
}

}  // namespace velmora
