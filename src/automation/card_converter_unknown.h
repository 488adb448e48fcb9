// A converter as the class factory hands it out through the module's C
// interface (velmora/module.h): a reference-counted identity that owns one
// CardConverter. Its QueryInterface knows IID_IUnknown and
// IID_ICardConverter; the last Release frees it and, with it, the converter
// unless a C++ holder still shares it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <velmora/card_converter.h>
#include <velmora/module.h>
#include <velmora/status.h>

namespace velmora::automation {

class CCardConverterUnknown : public VelmoraUnknown {
 public:
  // A new object with one reference, or null when memory ran out.
  static CCardConverterUnknown* Create(std::shared_ptr<ICardConverter> converter);

  // The object behind `unknown` when the factory made it, else null.
  static CCardConverterUnknown* From(VelmoraUnknown* unknown);

  HRESULT QueryInterface(const VelmoraGuid* iid, void** object);
  std::uint32_t AddRef();
  std::uint32_t Release();

  const std::shared_ptr<ICardConverter>& converter() const { return converter_; }

 private:
  explicit CCardConverterUnknown(std::shared_ptr<ICardConverter> converter);
  ~CCardConverterUnknown() = default;

  std::atomic<std::uint32_t> references_{1};
  std::shared_ptr<ICardConverter> converter_;
};

}  // namespace velmora::automation
