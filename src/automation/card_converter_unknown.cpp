#include "automation/card_converter_unknown.h"

#include <new>
#include <utility>

namespace velmora::automation {
namespace {

// The table's entries are called from C: nothing may be thrown through them.
VelmoraStatus CallQueryInterface(VelmoraUnknown* self, const VelmoraGuid* iid,
                                 void** object) noexcept {
  CCardConverterUnknown* that = CCardConverterUnknown::From(self);
  return that != nullptr ? that->QueryInterface(iid, object) : E_POINTER;
}
std::uint32_t CallAddRef(VelmoraUnknown* self) noexcept {
  CCardConverterUnknown* that = CCardConverterUnknown::From(self);
  return that != nullptr ? that->AddRef() : 0;
}
std::uint32_t CallRelease(VelmoraUnknown* self) noexcept {
  CCardConverterUnknown* that = CCardConverterUnknown::From(self);
  return that != nullptr ? that->Release() : 0;
}

constexpr VelmoraUnknownVtbl kTable = {CallQueryInterface, CallAddRef, CallRelease};

}  // namespace

CCardConverterUnknown::CCardConverterUnknown(std::shared_ptr<ICardConverter> converter)
    : VelmoraUnknown{&kTable}, converter_(std::move(converter)) {}

CCardConverterUnknown* CCardConverterUnknown::Create(std::shared_ptr<ICardConverter> converter) {
  if (!converter) return nullptr;
  return new (std::nothrow) CCardConverterUnknown(std::move(converter));
}

CCardConverterUnknown* CCardConverterUnknown::From(VelmoraUnknown* unknown) {
  if (unknown == nullptr || unknown->lpVtbl != &kTable) return nullptr;
  return static_cast<CCardConverterUnknown*>(unknown);
}

HRESULT CCardConverterUnknown::QueryInterface(const VelmoraGuid* iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == nullptr) return E_INVALIDARG;
  if (*iid != IID_IUnknown && *iid != IID_ICardConverter) return E_NOINTERFACE;
  AddRef();
  *object = static_cast<VelmoraUnknown*>(this);
  return S_OK;
}

std::uint32_t CCardConverterUnknown::AddRef() {
  return references_.fetch_add(1, std::memory_order_relaxed) + 1;
}

std::uint32_t CCardConverterUnknown::Release() {
  const std::uint32_t left = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

}  // namespace velmora::automation
