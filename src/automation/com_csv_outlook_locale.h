// CsvOutlookLocale: one localised Outlook header set, found by its LID in
// the converter's catalogue on every call, so that a locale table loaded
// anew is never read through a stale pointer.
#pragma once

#include <memory>
#include <string>

#include <velmora/csv_headers.h>

#include "automation/converter_context.h"
#include "automation/live_object.h"
#include "csv/outlook_csv_locale.h"

namespace velmora::automation {

class CComCsvOutlookLocale : public ICsvOutlookLocale {
 public:
  CComCsvOutlookLocale(std::shared_ptr<CConverterContext> context, std::u16string lid)
      : context_(std::move(context)), lid_(std::move(lid)) {}

  HRESULT get_LID(std::u16string* value) override;
  HRESULT get_Codepage(std::int32_t* value) override;
  HRESULT get_CodepageDisplayName(std::u16string* value) override;
  HRESULT get_DisplayName(std::u16string* value) override;
  HRESULT get_DisplayNameShort(std::u16string* value) override;
  HRESULT get_PrivateValue(bool index, std::u16string* value) override;
  HRESULT get_GenderValue(EContactGender index, std::u16string* value) override;
  HRESULT get_PriorityValue(EContactImportance index, std::u16string* value) override;
  HRESULT get_SensitivityValue(EContactSensitivity index, std::u16string* value) override;
  HRESULT get_HeaderCount(std::int32_t* value) override;
  HRESULT get_HeaderName(std::int32_t index, std::u16string* value) override;
  HRESULT get_HeaderCodeCount(std::int32_t index, std::int32_t* value) override;
  HRESULT get_HeaderCode(std::int32_t index, std::int32_t sub_index, std::int32_t* value) override;
  HRESULT FindHeaderName(std::int32_t hcode, std::u16string* value) override;
  HRESULT FindHeaderCode(const std::u16string& name, std::int32_t sub_index,
                         std::int32_t* value) override;

 private:
  // Runs `read` on the locale: E_GENERIC_FAILURE when it is not loaded,
  // E_INVALIDARG for a null `out`.
  template <typename T, typename Read>
  HRESULT With(T* out, Read read);

  std::shared_ptr<CConverterContext> context_;
  std::u16string lid_;
  CLiveObject live_;
};

}  // namespace velmora::automation
