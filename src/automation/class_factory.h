// The class factory of CardConverter, as DllGetClassObject hands it out
// (velmora/module.h). The module creates it once and keeps it; the
// references callers hold are counted, and while any is held the module
// is in use (DllCanUnloadNow), so it is not unloaded under a factory.
#pragma once

#include <atomic>
#include <cstdint>

#include <velmora/module.h>
#include <velmora/status.h>

namespace velmora::automation {

class CVelmoraModule;

class CComClassFactory : public VelmoraClassFactory {
 public:
  explicit CComClassFactory(CVelmoraModule& module);
  CComClassFactory(const CComClassFactory&) = delete;
  CComClassFactory& operator=(const CComClassFactory&) = delete;

  // The factory behind `factory` when this module made it, else null.
  static CComClassFactory* From(VelmoraClassFactory* factory);

  HRESULT QueryInterface(const VelmoraGuid* iid, void** object);
  std::uint32_t AddRef();
  // A release without a reference is logged and ignored: the factory is
  // the module's, not the caller's, to free.
  std::uint32_t Release();
  // A new converter, uninitialised. No aggregation (CLASS_E_NOAGGREGATION);
  // `iid` IID_IUnknown or IID_ICardConverter.
  HRESULT CreateInstance(VelmoraUnknown* outer, const VelmoraGuid* iid, void** object);
  // Takes or drops an explicit lock on the module; dropping one that was
  // never taken is E_UNEXPECTED.
  HRESULT LockServer(bool lock);

  // The references callers hold.
  std::uint32_t references() const { return references_.load(std::memory_order_relaxed); }

 private:
  CVelmoraModule& module_;
  std::atomic<std::uint32_t> references_{0};
};

}  // namespace velmora::automation
