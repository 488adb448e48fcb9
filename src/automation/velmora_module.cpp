#include "automation/velmora_module.h"

#include <new>

#include <velmora/object.h>

#include "automation/registration.h"
#include "foundation/guid_text.h"
#include "foundation/module_info.h"
#include "foundation/registry.h"

namespace velmora::automation {
namespace {

constexpr char kGetClassObjectLabel[] = "CVelmoraModule.DllGetClassObject";
constexpr char kRegisterLabel[] = "CVelmoraModule.DllRegisterServer";
constexpr char kUnregisterLabel[] = "CVelmoraModule.DllUnregisterServer";

}  // namespace

CVelmoraModule::CVelmoraModule() : object_map_{{&CLSID_CardConverter, nullptr}} {}

CVelmoraModule::~CVelmoraModule() = default;

void CVelmoraModule::OpenLog() {
  if (log_open_) return;
  log_.Init(ThisModule(), u"", u"Zorva", u"Velmora", -1, true);
  log_open_ = true;
}

HRESULT CVelmoraModule::GetClassObject(const VelmoraGuid* clsid, const VelmoraGuid* iid,
                                       void** object) {
  if (object == nullptr) {
    LogError(kGetClassObjectLabel, E_POINTER, "ppv is NULL");
    return E_POINTER;
  }
  *object = nullptr;
  if (clsid == nullptr || iid == nullptr) {
    LogError(kGetClassObjectLabel, E_INVALIDARG,
             clsid == nullptr ? "rclsid is NULL" : "riid is NULL");
    return E_INVALIDARG;
  }
  ObjectEntry* entry = nullptr;
  for (ObjectEntry& e : object_map_) {
    if (*e.clsid == *clsid) entry = &e;
  }
  if (entry == nullptr) {
    LogError(kGetClassObjectLabel, CLASS_E_CLASSNOTAVAILABLE, "Class %s is not available",
             GuidText(*clsid));
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  CComClassFactory* factory = nullptr;
  {
    // Two threads asking at once must see one factory.
    std::lock_guard lock(mutex_);
    if (!entry->factory) entry->factory.reset(new (std::nothrow) CComClassFactory(*this));
    factory = entry->factory.get();
  }
  if (factory == nullptr) {
    LogError(kGetClassObjectLabel, E_OUTOFMEMORY, "Out of memory");
    return E_OUTOFMEMORY;
  }
  const HRESULT status = factory->QueryInterface(iid, object);
  if (FAILED(status)) {
    LogError(kGetClassObjectLabel, status, "No interface %s", GuidText(*iid));
  }
  return status;
}

HRESULT CVelmoraModule::CanUnloadNow() {
  std::int64_t in_use = LiveObjectCount();
  in_use += locks();
  {
    std::lock_guard lock(mutex_);
    for (const ObjectEntry& e : object_map_) {
      if (e.factory && e.factory->references() > 0) ++in_use;
    }
  }
  return in_use == 0 ? S_OK : S_FALSE;
}

HRESULT CVelmoraModule::RegisterServer() {
  std::string failed_key;
  const HRESULT status =
      automation::RegisterServer(registry::ClassesHive(), ThisModule().path, &failed_key);
  if (FAILED(status)) LogError(kRegisterLabel, status, "Cannot write %s", failed_key);
  return status;
}

HRESULT CVelmoraModule::UnregisterServer() {
  std::string failed_key;
  const HRESULT status = automation::UnregisterServer(registry::ClassesHive(), &failed_key);
  if (FAILED(status)) LogError(kUnregisterLabel, status, "Cannot remove %s", failed_key);
  return status;
}

void CVelmoraModule::Lock() { locks_.fetch_add(1, std::memory_order_relaxed); }

bool CVelmoraModule::Unlock() {
  std::int32_t held = locks_.load(std::memory_order_relaxed);
  do {
    if (held <= 0) return false;
  } while (!locks_.compare_exchange_weak(held, held - 1, std::memory_order_relaxed));
  return true;
}

CVelmoraModule& TheModule() {
  static CVelmoraModule module;
  return module;
}

}  // namespace velmora::automation
