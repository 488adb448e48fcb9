// CsvContent: one loaded CSV text and the settings of its next parse. Each
// parse hands out a CsvCells over a table of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <velmora/csv_content.h>

#include "automation/converter_context.h"
#include "automation/live_object.h"
#include "csv/csv_content.h"

namespace velmora::automation {

class CComCsvContent : public ICsvContent {
 public:
  // `content` is loaded and reports to the context's log.
  CComCsvContent(std::shared_ptr<CConverterContext> context,
                 std::unique_ptr<csv::CCsvContent> content);

  HRESULT get_Content(std::u16string* value) override;
  HRESULT get_ContentLength(std::int32_t* value) override;
  HRESULT get_Codepage(std::int32_t* value) override;
  HRESULT put_Codepage(std::int32_t value) override;
  HRESULT get_CodepageDetected(std::int32_t* value) override;
  HRESULT get_IsCodepageReadOnly(bool* value) override;
  HRESULT get_ParseFlags(std::int32_t* value) override;
  HRESULT put_ParseFlags(std::int32_t value) override;
  HRESULT get_Separators(std::u16string* value) override;
  HRESULT put_Separators(const std::u16string& value) override;
  HRESULT get_Quote(std::u16string* value) override;
  HRESULT put_Quote(const std::u16string& value) override;
  HRESULT get_OutlookLID(std::u16string* value) override;
  HRESULT put_OutlookLID(const std::u16string& value) override;
  HRESULT Parse(std::shared_ptr<ICsvCells>* cells, std::int32_t max_rows,
                std::int32_t skip_first_rows, const Variant& parse_flags, const Variant& separators,
                const Variant& quote) override;
  HRESULT Parse2(std::shared_ptr<ICsvCells>* cells, std::int32_t max_rows,
                 std::int32_t skip_first_rows, const Variant& parse_flags,
                 const Variant& separators, const Variant& quote,
                 const Variant& outlook_lid) override;
  HRESULT AutoDetectSeparator(std::u16string* separator) override;

 private:
  // Checks a quote or LID about to be stored: E_INVALIDARG (logged for the
  // LID) when it would be refused, else S_OK.
  HRESULT CheckQuote(const std::u16string& value) const;
  HRESULT CheckOutlookLID(const std::u16string& value) const;

  std::shared_ptr<CConverterContext> context_;
  std::unique_ptr<csv::CCsvContent> content_;
  std::int32_t parse_flags_ = csvpDefault;
  std::u16string separators_ = u",";
  char16_t quote_ = u'"';
  std::u16string outlook_lid_;
  CLiveObject live_;
};

}  // namespace velmora::automation
