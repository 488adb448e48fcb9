#include "automation/registration.h"

#include <string_view>
#include <vector>

#include <velmora/guids.h>

#include "foundation/guid_text.h"

namespace velmora::automation {
namespace {

constexpr std::string_view kClassName = "CardConverter Class";
constexpr std::string_view kProgId = "Velmora.CardConverter.1";
constexpr std::string_view kIndependentProgId = "Velmora.CardConverter";

std::string Key(std::string_view path) {
  std::string key(registry::kClassesRoot);
  key.append("\\").append(path);
  return key;
}

// One value to write: key (below the classes root), value name, text; with
// `key_only` the key alone, with no value.
struct Entry {
  std::string key;
  std::string name;
  std::string text;
  bool key_only = false;
};

// The keys this module owns; unregistering removes them with their subkeys.
std::vector<std::string> OwnedKeys() {
  return {"AppID\\" + GuidText(APPID_Velmora), "AppID\\Velmora.DLL", std::string(kProgId),
          std::string(kIndependentProgId), "CLSID\\" + GuidText(CLSID_CardConverter)};
}

std::vector<Entry> Entries(const std::string& module_path) {
  const std::string app_id = GuidText(APPID_Velmora);
  const std::string clsid = GuidText(CLSID_CardConverter);
  const std::string class_key = "CLSID\\" + clsid;
  const std::string prog_id(kProgId);
  const std::string independent(kIndependentProgId);
  return {
      {"AppID", "", "", true},
      {"CLSID", "", "", true},
      {"AppID\\" + app_id, "", "Velmora"},
      {"AppID\\Velmora.DLL", "AppID", app_id},
      {prog_id, "", std::string(kClassName)},
      {prog_id + "\\CLSID", "", clsid},
      {independent, "", std::string(kClassName)},
      {independent + "\\CLSID", "", clsid},
      {independent + "\\CurVer", "", prog_id},
      {class_key, "", std::string(kClassName)},
      {class_key, "AppID", app_id},
      {class_key + "\\ProgID", "", prog_id},
      {class_key + "\\VersionIndependentProgID", "", independent},
      {class_key + "\\Programmable", "", "", true},
      {class_key + "\\InprocServer32", "", module_path},
      {class_key + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {class_key + "\\TypeLib", "", GuidText(LIBID_Velmora)},
  };
}

bool Missing(HRESULT status) {
  return status == HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND) ||
         status == HRESULT_FROM_WIN32(win32::ERROR_PATH_NOT_FOUND);
}

}  // namespace

HRESULT RegisterServer(registry::Hive hive, const std::filesystem::path& module_path,
                       std::string* failed_key) {
  if (module_path.empty()) {
    *failed_key = Key("CLSID\\" + GuidText(CLSID_CardConverter) + "\\InprocServer32");
    return E_UNEXPECTED;
  }
  // The class key is replaced whole, so that nothing of an older
  // registration survives under it.
  const std::string class_key = Key("CLSID\\" + GuidText(CLSID_CardConverter));
  HRESULT status = registry::DeleteKey(hive, class_key);
  if (FAILED(status) && !Missing(status)) {
    *failed_key = class_key;
    return status;
  }
  for (const Entry& entry : Entries(module_path.string())) {
    const std::string key = Key(entry.key);
    status = entry.key_only ? registry::CreateKey(hive, key)
                            : registry::WriteString(hive, key, entry.name, entry.text);
    if (FAILED(status)) {
      *failed_key = key;
      return status;
    }
  }
  return S_OK;
}

HRESULT UnregisterServer(registry::Hive hive, std::string* failed_key) {
  HRESULT first = S_OK;
  for (const std::string& owned : OwnedKeys()) {
    const std::string key = Key(owned);
    const HRESULT status = registry::DeleteKey(hive, key);
    if (FAILED(status) && !Missing(status) && SUCCEEDED(first)) {
      first = status;
      *failed_key = key;
    }
  }
  return first;
}

}  // namespace velmora::automation
