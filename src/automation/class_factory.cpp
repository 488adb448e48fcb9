#include "automation/class_factory.h"

#include <velmora/card_converter.h>

#include "automation/card_converter_unknown.h"
#include "automation/velmora_module.h"
#include "foundation/guid_text.h"

namespace velmora::automation {
namespace {

constexpr char kCreateLabel[] = "CComClassFactory.CreateInstance";
constexpr char kLockLabel[] = "CComClassFactory.LockServer";
constexpr char kReleaseLabel[] = "CComClassFactory.Release";

// The table's entries are called from C: nothing may be thrown through them.
VelmoraStatus CallQueryInterface(VelmoraClassFactory* self, const VelmoraGuid* iid,
                                 void** object) noexcept {
  CComClassFactory* that = CComClassFactory::From(self);
  return that != nullptr ? that->QueryInterface(iid, object) : E_POINTER;
}
std::uint32_t CallAddRef(VelmoraClassFactory* self) noexcept {
  CComClassFactory* that = CComClassFactory::From(self);
  return that != nullptr ? that->AddRef() : 0;
}
std::uint32_t CallRelease(VelmoraClassFactory* self) noexcept {
  CComClassFactory* that = CComClassFactory::From(self);
  return that != nullptr ? that->Release() : 0;
}
VelmoraStatus CallCreateInstance(VelmoraClassFactory* self, VelmoraUnknown* outer,
                                 const VelmoraGuid* iid, void** object) noexcept {
  CComClassFactory* that = CComClassFactory::From(self);
  if (that == nullptr) return E_POINTER;
  try {
    return that->CreateInstance(outer, iid, object);
  } catch (...) {
    return E_OUTOFMEMORY;  // the only thing that can throw here is an allocation
  }
}
VelmoraStatus CallLockServer(VelmoraClassFactory* self, std::int32_t lock) noexcept {
  CComClassFactory* that = CComClassFactory::From(self);
  return that != nullptr ? that->LockServer(lock != 0) : E_POINTER;
}

constexpr VelmoraClassFactoryVtbl kTable = {CallQueryInterface, CallAddRef, CallRelease,
                                            CallCreateInstance, CallLockServer};

}  // namespace

CComClassFactory::CComClassFactory(CVelmoraModule& module)
    : VelmoraClassFactory{&kTable}, module_(module) {}

CComClassFactory* CComClassFactory::From(VelmoraClassFactory* factory) {
  if (factory == nullptr || factory->lpVtbl != &kTable) return nullptr;
  return static_cast<CComClassFactory*>(factory);
}

HRESULT CComClassFactory::QueryInterface(const VelmoraGuid* iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == nullptr) return E_INVALIDARG;
  if (*iid != IID_IUnknown && *iid != IID_IClassFactory) return E_NOINTERFACE;
  AddRef();
  *object = static_cast<VelmoraClassFactory*>(this);
  return S_OK;
}

std::uint32_t CComClassFactory::AddRef() {
  return references_.fetch_add(1, std::memory_order_relaxed) + 1;
}

std::uint32_t CComClassFactory::Release() {
  std::uint32_t held = references_.load(std::memory_order_relaxed);
  do {
    if (held == 0) {
      module_.LogError(kReleaseLabel, E_UNEXPECTED, "Release without a reference");
      return 0;
    }
  } while (!references_.compare_exchange_weak(held, held - 1, std::memory_order_acq_rel));
  return held - 1;
}

HRESULT CComClassFactory::CreateInstance(VelmoraUnknown* outer, const VelmoraGuid* iid,
                                         void** object) {
  if (object == nullptr) {
    module_.LogError(kCreateLabel, E_POINTER, "ppvObject is NULL");
    return E_POINTER;
  }
  *object = nullptr;
  if (iid == nullptr) {
    module_.LogError(kCreateLabel, E_INVALIDARG, "riid is NULL");
    return E_INVALIDARG;
  }
  if (outer != nullptr) {
    module_.LogError(kCreateLabel, CLASS_E_NOAGGREGATION, "Aggregation is not supported");
    return CLASS_E_NOAGGREGATION;
  }
  if (*iid != IID_IUnknown && *iid != IID_ICardConverter) {
    module_.LogError(kCreateLabel, E_NOINTERFACE, "No interface %s", GuidText(*iid));
    return E_NOINTERFACE;
  }
  CCardConverterUnknown* made = CCardConverterUnknown::Create(CreateCardConverter());
  if (made == nullptr) {
    module_.LogError(kCreateLabel, E_OUTOFMEMORY, "Out of memory");
    return E_OUTOFMEMORY;
  }
  *object = static_cast<VelmoraUnknown*>(made);
  return S_OK;
}

HRESULT CComClassFactory::LockServer(bool lock) {
  if (lock) {
    module_.Lock();
    return S_OK;
  }
  if (!module_.Unlock()) {
    module_.LogError(kLockLabel, E_UNEXPECTED, "LockServer(FALSE) without a lock");
    return E_UNEXPECTED;
  }
  return S_OK;
}

}  // namespace velmora::automation
