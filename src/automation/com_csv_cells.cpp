#include "automation/com_csv_cells.h"

#include <algorithm>
#include <utility>

#include "automation/argument_checks.h"
#include "automation/call_guard.h"
#include "automation/com_cards.h"
#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_import.h"
#include "csv/google_plain_csv.h"

namespace velmora::automation {
namespace {

constexpr char kConvertLabel[] = "CComCsvCells.ConvertRows";
constexpr char kPlainLabel[] = "CComCsvCells.PlainCsvEx";
constexpr char kRowLabel[] = "CComCsvCells.RowToStringEx";
constexpr char kColLabel[] = "CComCsvCells.ColToStringEx";
constexpr char kCellsLabel[] = "CComCsvCells.CellsToStringEx";
constexpr char kReadLabel[] = "CComCsvCells";

}  // namespace

CComCsvCells::CComCsvCells(std::shared_ptr<CConverterContext> context, csv::CsvCellsTable cells,
                           bool has_header_row, std::u16string lid)
    : context_(std::move(context)),
      cells_(std::move(cells)),
      has_header_row_(has_header_row && !cells_.empty()),
      lid_(std::move(lid)) {
  FindCodes();
}

void CComCsvCells::FindCodes() {
  codes_.clear();
  if (!has_header_row_) {
    codes_.assign(csv::MaxColumnCount(cells_), 0);
    return;
  }
  const csv::CsvRow& names = cells_.front();
  const csv::CCsvHeaders& headers = context_->CsvHeaders();
  codes_ = lid_.empty() ? csv::FindHeaderCodes(headers, names).codes
                        : csv::FindOutlookHeaderCodes(headers, names, lid_, false).codes;
  // A locale gone from the catalogue gives no codes: the columns stay.
  codes_.resize(names.size(), 0);
}

HRESULT CComCsvCells::get_HasHeaderRow(bool* value) { return SetOut(value, has_header_row_); }

HRESULT CComCsvCells::get_RowCount(std::int32_t* value) {
  return SetOut(value, static_cast<std::int32_t>(cells_.size()));
}

HRESULT CComCsvCells::get_ColCount(std::int32_t* value) {
  return SetOut(value, static_cast<std::int32_t>(codes_.size()));
}

HRESULT CComCsvCells::Cell(std::int32_t row, std::int32_t col, std::u16string* value) {
  if (value == nullptr || !IsRow(row) || !IsColumn(col)) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kReadLabel, [&] {
    const csv::CsvRow& cells = cells_[static_cast<std::size_t>(row)];
    const auto at = static_cast<std::size_t>(col);
    *value = at < cells.size() ? cells[at] : std::u16string();
    return S_OK;
  });
}

HRESULT CComCsvCells::row(std::int32_t row, std::vector<std::u16string>* value) {
  if (value == nullptr || !IsRow(row)) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kReadLabel, [&] {
    *value = cells_[static_cast<std::size_t>(row)];
    return S_OK;
  });
}

HRESULT CComCsvCells::get_HeaderCode(std::int32_t col, std::int32_t* value) {
  if (value == nullptr || !IsColumn(col)) return E_INVALIDARG;
  *value = static_cast<std::int32_t>(codes_[static_cast<std::size_t>(col)]);
  return S_OK;
}

HRESULT CComCsvCells::put_HeaderCode(std::int32_t col, std::int32_t value) {
  if (!IsColumn(col)) return E_INVALIDARG;
  const auto code = static_cast<std::uint32_t>(value);
  if (code != 0) {
    // A plain column's code has no instance bits; a grouped one may have any.
    const csv::CCsvHeader* entry = context_->CsvHeaders().FindHeaderByCode(code);
    if (entry == nullptr || (!entry->IsGroupped() && entry->Code != code)) return E_INVALIDARG;
  }
  codes_[static_cast<std::size_t>(col)] = code;
  return S_OK;
}

HRESULT CComCsvCells::HeaderName(std::int32_t col, std::u16string* value) {
  if (value == nullptr || !IsColumn(col)) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kReadLabel, [&] {
    *value = context_->CsvHeaders().BuildHeaderName(codes_[static_cast<std::size_t>(col)],
                                                    vlmcsvUnknown, u"");
    return S_OK;
  });
}

HRESULT CComCsvCells::EmptyHeadersCount(std::int32_t* value) {
  return SetOut(value, static_cast<std::int32_t>(std::count(codes_.begin(), codes_.end(), 0u)));
}

HRESULT CComCsvCells::ResetHeaders() {
  return GuardedCall(&context_->log(), kReadLabel, [&] {
    FindCodes();
    return S_OK;
  });
}

HRESULT CComCsvCells::ConvertRows(std::int32_t* stats_empties, std::int32_t* stats_errors,
                                  std::shared_ptr<ICards>* cards, ICardConverterProgress* progress,
                                  std::int32_t from, std::int32_t count) {
  if (stats_empties == nullptr || stats_errors == nullptr || cards == nullptr) {
    return E_INVALIDARG;
  }
  *stats_empties = 0;
  *stats_errors = 0;
  cards->reset();
  const auto rows = static_cast<std::int64_t>(cells_.size());
  const std::int32_t first_data_row = has_header_row_ ? 1 : 0;
  if (from == -1) {
    // Asked for every data row of a table that has none: nothing to do.
    if (first_data_row >= rows) return S_NO_CONTENT;
    from = first_data_row;
  } else if (from < first_data_row || from >= rows) {
    return E_INVALIDARG;
  }
  if (std::all_of(codes_.begin(), codes_.end(), [](std::uint32_t c) { return c == 0; })) {
    context_->log().LogError(kConvertLabel, E_GENERIC_FAILURE, "No (known) headers");
    return E_GENERIC_FAILURE;
  }
  return GuardedCall(&context_->log(), kConvertLabel, [&] {
    csv::CsvRowsRequest request;
    request.codes = codes_;
    if (has_header_row_) request.names = cells_.front();
    request.lid = lid_;
    request.from = static_cast<std::size_t>(from);
    request.count = count > 0 ? static_cast<std::size_t>(count) : cells_.size();
    request.prodid_line = context_->prodid_line();
    if (progress != nullptr) {
      request.progress = [progress](int position, int total, int made, int empties, int errors) {
        progress->OnCardConverterProgress(position, total, made, empties, errors);
        return !progress->IsCardConverterCancelled();
      };
    }
    const csv::CCsv csv(context_->log(), &context_->CsvHeaders());
    std::vector<std::string> list;
    int empties = 0, errors = 0;
    const HRESULT status = csv::ConvertCsvRows(csv, cells_, request, &list, &empties, &errors);
    *stats_empties = empties;
    *stats_errors = errors;
    if (status == S_OK) *cards = std::make_shared<CComCards>(context_, std::move(list));
    return status;
  });
}

HRESULT CComCsvCells::PlainCsv(bool* changed) { return PlainCsvEx(pcfDefault, changed); }

HRESULT CComCsvCells::PlainCsvEx(std::int32_t flags, bool* changed) {
  if (changed == nullptr) return E_INVALIDARG;
  *changed = false;
  if (!has_header_row_) return E_ILLEGAL_METHOD_CALL;
  return GuardedCall(&context_->log(), kPlainLabel, [&] {
    const HRESULT status = csv::PlainGoogleCsv(context_->CsvHeaders(), cells_, flags);
    FindCodes();
    *changed = status == S_OK;
    return status;
  });
}

char16_t CComCsvCells::SeparatorOf(const Variant& separator, const char* label) const {
  if (separator.is_missing()) return u',';
  const std::u16string* text = separator.string();
  if (text != nullptr && text->size() == 1 && ((*text)[0] & 0xFF) != 0) return (*text)[0];
  context_->log().LogError(label, E_INVALIDARG, "vSeparator must be BSTR(len=1) or Missing");
  return 0;
}

HRESULT CComCsvCells::RowToString(std::int32_t row, const Variant& separator,
                                  std::u16string* text) {
  return RowToStringEx(row, separator, false, text);
}

HRESULT CComCsvCells::RowToStringEx(std::int32_t row, const Variant& separator, bool transpose,
                                    std::u16string* text) {
  if (text == nullptr || !IsRow(row)) return E_INVALIDARG;
  const char16_t sep = SeparatorOf(separator, kRowLabel);
  if (sep == 0) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kRowLabel, [&] {
    *text = csv::RowToString(cells_[static_cast<std::size_t>(row)], sep, transpose);
    return S_OK;
  });
}

HRESULT CComCsvCells::ColToString(std::int32_t col, const Variant& separator,
                                  std::u16string* text) {
  return ColToStringEx(col, separator, false, text);
}

HRESULT CComCsvCells::ColToStringEx(std::int32_t col, const Variant& separator, bool transpose,
                                    std::u16string* text) {
  // Any column some row has, not only those with a header code.
  if (text == nullptr || col < 0 || static_cast<std::size_t>(col) >= csv::MaxColumnCount(cells_)) {
    return E_INVALIDARG;
  }
  const char16_t sep = SeparatorOf(separator, kColLabel);
  if (sep == 0) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kColLabel, [&] {
    *text = csv::ColToString(cells_, static_cast<std::size_t>(col), sep, transpose);
    return S_OK;
  });
}

HRESULT CComCsvCells::CellsToString(const Variant& separator, std::u16string* text) {
  return CellsToStringEx(separator, false, text);
}

HRESULT CComCsvCells::CellsToStringEx(const Variant& separator, bool transpose,
                                      std::u16string* text) {
  if (text == nullptr) return E_INVALIDARG;
  const char16_t sep = SeparatorOf(separator, kCellsLabel);
  if (sep == 0) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kCellsLabel, [&] {
    *text = csv::CellsToString(cells_, sep, transpose);
    return S_OK;
  });
}

}  // namespace velmora::automation
