// The entry points libvelmora.so exports with C linkage (velmora/module.h).
// No exception leaves them.
#include <new>

#include <velmora/module.h>
#include <velmora/status.h>

#include "automation/velmora_module.h"

namespace velmora::automation {

// The C statuses are the library's statuses.
static_assert(VELMORA_S_FALSE == S_FALSE && VELMORA_E_POINTER == E_POINTER &&
              VELMORA_E_NOINTERFACE == E_NOINTERFACE && VELMORA_E_INVALIDARG == E_INVALIDARG &&
              VELMORA_E_UNEXPECTED == E_UNEXPECTED && VELMORA_E_OUTOFMEMORY == E_OUTOFMEMORY &&
              VELMORA_CLASS_E_NOAGGREGATION == CLASS_E_NOAGGREGATION &&
              VELMORA_CLASS_E_CLASSNOTAVAILABLE == CLASS_E_CLASSNOTAVAILABLE);

namespace {

template <typename Body>
VelmoraStatus Guarded(Body body, VelmoraStatus otherwise) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return otherwise;
  }
}

}  // namespace
}  // namespace velmora::automation

extern "C" {

VelmoraStatus DllGetClassObject(const VelmoraGuid* clsid, const VelmoraGuid* iid, void** object) {
  return velmora::automation::Guarded(
      [&] { return velmora::automation::TheModule().GetClassObject(clsid, iid, object); },
      velmora::E_UNEXPECTED);
}

VelmoraStatus DllCanUnloadNow(void) {
  // When in doubt, the module stays loaded.
  return velmora::automation::Guarded(
      [] { return velmora::automation::TheModule().CanUnloadNow(); }, velmora::S_FALSE);
}

VelmoraStatus DllRegisterServer(void) {
  return velmora::automation::Guarded(
      [] { return velmora::automation::TheModule().RegisterServer(); }, velmora::E_UNEXPECTED);
}

VelmoraStatus DllUnregisterServer(void) {
  return velmora::automation::Guarded(
      [] { return velmora::automation::TheModule().UnregisterServer(); }, velmora::E_UNEXPECTED);
}

}  // extern "C"
