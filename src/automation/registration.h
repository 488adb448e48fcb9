// The registration of CardConverter under the classes root
// (registry::kClassesRoot) of one hive of the registry store:
//
//   AppID\{APPID}                       "" = "Velmora"
//   AppID\Velmora.DLL                   "AppID" = "{APPID}"
//   Velmora.CardConverter.1             "" = "CardConverter Class"
//     CLSID                             "" = "{CLSID}"
//   Velmora.CardConverter               "" = "CardConverter Class"
//     CLSID                             "" = "{CLSID}"
//     CurVer                            "" = "Velmora.CardConverter.1"
//   CLSID\{CLSID}                       "" = "CardConverter Class", "AppID" = "{APPID}"
//     ProgID                            "" = "Velmora.CardConverter.1"
//     VersionIndependentProgID          "" = "Velmora.CardConverter"
//     Programmable                      (no values)
//     InprocServer32                    "" = module path, "ThreadingModel" = "Apartment"
//     TypeLib                           "" = "{LIBID}"
//
// The empty name is a key's default value. Registering replaces the class
// key whole and rewrites the rest, so it can be repeated; unregistering
// removes these keys (a missing one is no failure) but never the AppID and
// CLSID roots, which other classes share.
#pragma once

#include <filesystem>
#include <string>

#include <velmora/status.h>

#include "foundation/registry.h"

namespace velmora::automation {

// Both return S_OK or the first failing status of the store, with the key
// it failed on in `failed_key`. An empty `module_path` is E_UNEXPECTED.
HRESULT RegisterServer(registry::Hive hive, const std::filesystem::path& module_path,
                       std::string* failed_key);
HRESULT UnregisterServer(registry::Hive hive, std::string* failed_key);

}  // namespace velmora::automation
