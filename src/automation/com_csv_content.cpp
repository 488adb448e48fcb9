#include "automation/com_csv_content.h"

#include <utility>

#include "automation/argument_checks.h"
#include "automation/call_guard.h"
#include "automation/com_csv_cells.h"
#include "csv/csv.h"

namespace velmora::automation {
namespace {

constexpr char kParseLabel[] = "CComCsvContent.Parse";
constexpr char kLidLabel[] = "CComCsvContent.put_OutlookLID";
constexpr char kSeparatorLabel[] = "CComCsvContent.AutoDetectSeparator";

}  // namespace

CComCsvContent::CComCsvContent(std::shared_ptr<CConverterContext> context,
                               std::unique_ptr<csv::CCsvContent> content)
    : context_(std::move(context)), content_(std::move(content)) {}

HRESULT CComCsvContent::get_Content(std::u16string* value) {
  return GuardedCall(&context_->log(), "CComCsvContent.get_Content",
                     [&] { return SetOut(value, content_->text()); });
}

HRESULT CComCsvContent::get_ContentLength(std::int32_t* value) {
  return SetOut(value, content_->TextLength());
}

HRESULT CComCsvContent::get_Codepage(std::int32_t* value) {
  return SetOut(value, static_cast<std::int32_t>(content_->Codepage()));
}

HRESULT CComCsvContent::put_Codepage(std::int32_t value) {
  if (!content_->HasRawBytes()) return S_NO_CONTENT;
  return GuardedCall(&context_->log(), "CComCsvContent.put_Codepage",
                     [&] { return content_->SetCodepage(value) ? S_OK : E_INVALIDARG; });
}

HRESULT CComCsvContent::get_CodepageDetected(std::int32_t* value) {
  return SetOut(value, static_cast<std::int32_t>(content_->CodepageDetected()));
}

HRESULT CComCsvContent::get_IsCodepageReadOnly(bool* value) {
  return SetOut(value, !content_->HasRawBytes());
}

HRESULT CComCsvContent::get_ParseFlags(std::int32_t* value) { return SetOut(value, parse_flags_); }

HRESULT CComCsvContent::put_ParseFlags(std::int32_t value) {
  parse_flags_ = value;
  return S_OK;
}

HRESULT CComCsvContent::get_Separators(std::u16string* value) { return SetOut(value, separators_); }

HRESULT CComCsvContent::put_Separators(const std::u16string& value) {
  separators_ = value.empty() ? u"," : value;
  return S_OK;
}

HRESULT CComCsvContent::get_Quote(std::u16string* value) {
  return SetOut(value, std::u16string(1, quote_));
}

HRESULT CComCsvContent::CheckQuote(const std::u16string& value) const {
  return value.size() > 1 ? E_INVALIDARG : S_OK;
}

HRESULT CComCsvContent::put_Quote(const std::u16string& value) {
  if (FAILED(CheckQuote(value))) return E_INVALIDARG;
  quote_ = value.empty() ? u'"' : value.front();
  return S_OK;
}

HRESULT CComCsvContent::get_OutlookLID(std::u16string* value) {
  return SetOut(value, outlook_lid_);
}

HRESULT CComCsvContent::CheckOutlookLID(const std::u16string& value) const {
  if (value.empty() || context_->CsvHeaders().FindLocale(value) != nullptr) return S_OK;
  context_->log().LogError(kLidLabel, E_INVALIDARG, "cant find locale(%s)", value);
  return E_INVALIDARG;
}

HRESULT CComCsvContent::put_OutlookLID(const std::u16string& value) {
  return GuardedCall(&context_->log(), kLidLabel, [&] {
    const HRESULT status = CheckOutlookLID(value);
    if (SUCCEEDED(status)) outlook_lid_ = value;
    return status;
  });
}

HRESULT CComCsvContent::Parse(std::shared_ptr<ICsvCells>* cells, std::int32_t max_rows,
                              std::int32_t skip_first_rows, const Variant& parse_flags,
                              const Variant& separators, const Variant& quote) {
  return Parse2(cells, max_rows, skip_first_rows, parse_flags, separators, quote, Variant());
}

HRESULT CComCsvContent::Parse2(std::shared_ptr<ICsvCells>* cells, std::int32_t max_rows,
                               std::int32_t skip_first_rows, const Variant& parse_flags,
                               const Variant& separators, const Variant& quote,
                               const Variant& outlook_lid) {
  if (cells == nullptr) return E_INVALIDARG;
  cells->reset();
  CLog& log = context_->log();
  const char* wrong_kind = !IsMissingOrInt32(parse_flags)    ? "vParseFlags must be LONG or Missing"
                           : !IsMissingOrString(separators)  ? "vSeparators must be BSTR or Missing"
                           : !IsMissingOrString(quote)       ? "vQuote must be BSTR or Missing"
                           : !IsMissingOrString(outlook_lid) ? "vOutlookLID must be BSTR or Missing"
                                                             : nullptr;
  if (wrong_kind != nullptr) {
    log.LogError(kParseLabel, E_INVALIDARG, "%s", wrong_kind);
    return E_INVALIDARG;
  }
  return GuardedCall(&log, kParseLabel, [&] {
    // Every value is checked before any is stored, so a refused one leaves
    // the settings as they were.
    if (quote.string() != nullptr && FAILED(CheckQuote(*quote.string()))) return E_INVALIDARG;
    if (outlook_lid.string() != nullptr && FAILED(CheckOutlookLID(*outlook_lid.string()))) {
      return E_INVALIDARG;
    }
    if (!parse_flags.is_missing()) put_ParseFlags(Int32Or(parse_flags, 0));
    if (separators.string() != nullptr) put_Separators(*separators.string());
    if (quote.string() != nullptr) put_Quote(*quote.string());
    if (outlook_lid.string() != nullptr) outlook_lid_ = *outlook_lid.string();

    csv::CsvCellsTable table;
    const HRESULT status = csv::CCsv(log).ParseCells(
        content_->text(), &table, parse_flags_, max_rows, skip_first_rows, separators_, quote_);
    if (FAILED(status)) return status;
    if (csv::MaxColumnCount(table) == 0) return S_NO_CONTENT;
    *cells = std::make_shared<CComCsvCells>(context_, std::move(table),
                                            (parse_flags_ & csvpHeaderRow) != 0, outlook_lid_);
    return S_OK;
  });
}

HRESULT CComCsvContent::AutoDetectSeparator(std::u16string* separator) {
  if (separator == nullptr) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kSeparatorLabel, [&] {
    *separator = csv::CCsv(context_->log()).AutoDetectSeparator(content_->text());
    return separator->empty() ? S_NO_CONTENT : S_OK;
  });
}

}  // namespace velmora::automation
