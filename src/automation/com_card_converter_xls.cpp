// The converter's spreadsheet methods: describing the sheets of a
// workbook, loading one sheet as CSV cells, and writing CSV text or cards
// into a new workbook.
#include "automation/argument_checks.h"
#include "automation/call_guard.h"
#include "automation/com_card_converter.h"
#include "automation/com_csv_cells.h"
#include "automation/csv_export_rows.h"
#include "automation/file_name_rule.h"
#include "csv/csv.h"
#include "foundation/file_system.h"
#include "foundation/text_util.h"
#include "spreadsheet/workbook.h"

namespace velmora::automation {
namespace {

constexpr char kAutodetectLabel[] = "CComCardConverter.AutodetectXls";
constexpr char kLoadLabel[] = "CComCardConverter.LoadXlsCells";
constexpr char kSaveContentLabel[] = "CComCardConverter.SaveCsvContent2Xls";
constexpr char kSaveMemoryLabel[] = "CComCardConverter.SaveMemoryXLS";
// The workbook's name when the caller gives none.
constexpr char16_t kFallbackName[] = u"Contacts";

template <typename T, typename V>
void Put(T* out, V&& value) {
  if (out != nullptr) *out = std::forward<V>(value);
}

// The call's own status: the operation's failures are reported through
// `result`, the call itself only tells whether there is something to use.
HRESULT CallStatus(HRESULT result) { return FAILED(result) ? S_NO_CONTENT : S_OK; }

}  // namespace

HRESULT CComCardConverter::AutodetectXls(const std::u16string& file_name, std::u16string* xls_error,
                                         std::vector<std::u16string>* sheet_name,
                                         std::vector<bool>* sheet_empty,
                                         std::vector<std::u16string>* sheet_headers,
                                         std::vector<ECsvType>* sheet_csv_type,
                                         std::vector<std::u16string>* sheet_outlook_lid,
                                         std::vector<bool>* sheet_has_custom_headers,
                                         HRESULT* result, bool detect_outlook_lid) {
  if (!CheckInitialised(kAutodetectLabel)) return E_GENERIC_FAILURE;
  if (result == nullptr) return E_INVALIDARG;
  *result = E_GENERIC_FAILURE;
  return GuardedCall(&context_->log(), kAutodetectLabel, [&] {
    const csv::CCsv csv(context_->log(), &context_->CsvHeaders());
    std::vector<csv::XlsSheetInfo> sheets;
    std::u16string error;
    *result = csv.AutodetectXls(PathFromUtf16(file_name), detect_outlook_lid, &sheets, &error);
    Put(xls_error, std::move(error));
    for (auto* list : {sheet_name, sheet_headers, sheet_outlook_lid})
      Put(list, std::vector<std::u16string>());
    Put(sheet_empty, std::vector<bool>());
    Put(sheet_has_custom_headers, std::vector<bool>());
    Put(sheet_csv_type, std::vector<ECsvType>());
    for (csv::XlsSheetInfo& sheet : sheets) {
      if (sheet_name != nullptr) sheet_name->push_back(std::move(sheet.name));
      if (sheet_empty != nullptr) sheet_empty->push_back(sheet.empty);
      if (sheet_headers != nullptr) sheet_headers->push_back(std::move(sheet.headers));
      if (sheet_csv_type != nullptr) sheet_csv_type->push_back(sheet.type);
      if (sheet_outlook_lid != nullptr) sheet_outlook_lid->push_back(std::move(sheet.lid));
      if (sheet_has_custom_headers != nullptr) {
        sheet_has_custom_headers->push_back(sheet.has_custom_headers);
      }
    }
    return CallStatus(*result);
  });
}

HRESULT CComCardConverter::LoadXlsCells(
    const std::u16string& file_name, std::int32_t sheet, std::shared_ptr<ICsvCells>* cells,
    std::u16string* xls_error, std::u16string* sheet_name, bool* sheet_empty, bool detect_type,
    ECsvType* detected_type, std::u16string* detected_outlook_lid,
    bool* detected_has_custom_headers, std::u16string* sheet_headers, HRESULT* result,
    const Variant& xls_flags, std::int32_t max_rows) {
  if (!CheckInitialised(kLoadLabel)) return E_GENERIC_FAILURE;
  if (result == nullptr || cells == nullptr) return E_INVALIDARG;
  if (!IsMissingOrInt32(xls_flags)) {
    context_->log().LogError(kLoadLabel, E_INVALIDARG, "vXlsFlags must be LONG or Missing");
    return E_INVALIDARG;
  }
  *result = E_GENERIC_FAILURE;
  cells->reset();
  return GuardedCall(&context_->log(), kLoadLabel, [&] {
    const std::int32_t flags = Int32Or(xls_flags, xlsfDefault);
    const csv::CCsv csv(context_->log(), &context_->CsvHeaders());
    csv::CsvCellsTable table;
    csv::XlsSheetInfo info;
    std::u16string error;
    *result = csv.LoadXlsCells(PathFromUtf16(file_name), sheet, &table, &info, detect_type, flags,
                               max_rows, &error);
    Put(xls_error, std::move(error));
    Put(sheet_name, info.name);
    Put(sheet_empty, info.empty);
    Put(detected_type, info.type);
    Put(detected_outlook_lid, info.lid);
    Put(detected_has_custom_headers, info.has_custom_headers);
    Put(sheet_headers, std::move(info.headers));
    if (SUCCEEDED(*result)) {
      const bool header_row = (flags & xlsfHeaderRow) != 0 && !table.empty();
      *cells = std::make_shared<CComCsvCells>(context_, std::move(table), header_row,
                                              std::move(info.lid));
    }
    return CallStatus(*result);
  });
}

HRESULT CComCardConverter::SaveCsvContent2Xls(const std::u16string& file_name,
                                              const std::u16string& sheet_name,
                                              const std::u16string& csv_content,
                                              const std::u16string& csv_separator,
                                              std::u16string* xls_error, HRESULT* result,
                                              const Variant& csv_parse_flags) {
  if (!CheckInitialised(kSaveContentLabel)) return E_GENERIC_FAILURE;
  if (result == nullptr) return E_INVALIDARG;
  CLog& log = context_->log();
  if (!IsMissingOrInt32(csv_parse_flags)) {
    log.LogError(kSaveContentLabel, E_INVALIDARG, "vCsvParseFlags must be LONG or Missing");
    return E_INVALIDARG;
  }
  *result = E_GENERIC_FAILURE;
  return GuardedCall(&log, kSaveContentLabel, [&] {
    const csv::CCsv csv(log);
    csv::CsvCellsTable table;
    const HRESULT parsed =
        csv.ParseCells(csv_content, &table, Int32Or(csv_parse_flags, 0), -1, 0, csv_separator);
    if (FAILED(parsed)) {
      log.LogError(kSaveContentLabel, parsed, "Cant parse csv content");
      *result = parsed;
      return S_NO_CONTENT;
    }
    std::u16string error;
    *result = csv.SaveXls(PathFromUtf16(file_name), sheet_name, table, &error);
    Put(xls_error, std::move(error));
    return CallStatus(*result);
  });
}

HRESULT CComCardConverter::SaveMemoryXLS(
    const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
    const std::u16string& dst_base_name, const std::u16string& dst_ext,
    const std::u16string& dst_sheet_name, ECsvType dst_type, const std::u16string& dst_locale,
    std::u16string* dst_filename, std::u16string* xls_error, std::int32_t* stats_saved,
    std::int32_t* stats_skipped_all, std::int32_t* stats_skipped_dups, std::int32_t* stats_errors,
    HRESULT* result, EDRMethod dr, ICardConverterProgress* progress) {
  if (!CheckInitialised(kSaveMemoryLabel)) return E_GENERIC_FAILURE;
  if (vcards.empty() || dst_dir.empty() || result == nullptr) return E_INVALIDARG;
  CLog& log = context_->log();
  if (dst_type != vlmcsvOutlook && dst_type != vlmcsvGoogle && dst_type != vlmcsvOutlook365v2 &&
      dst_type != vlmcsvGoogle2) {
    log.LogError(kSaveMemoryLabel, E_INVALIDARG, "Invalid eDstType = %d", dst_type);
    return E_INVALIDARG;
  }
  if (!text::EqualsAsciiNoCase(dst_ext, u".xls") && !text::EqualsAsciiNoCase(dst_ext, u".xlsx")) {
    log.LogError(kSaveMemoryLabel, E_INVALIDARG, "Invalid DstExt = %s", dst_ext);
    return E_INVALIDARG;
  }
  return GuardedCall(&log, kSaveMemoryLabel, [&] {
    if (dst_type == vlmcsvOutlook && !dst_locale.empty() &&
        context_->CsvHeaders().FindLocale(dst_locale) == nullptr) {
      log.LogError(kSaveMemoryLabel, E_INVALIDARG, "Invalid DstLocale = %s", dst_locale);
      return E_INVALIDARG;
    }
    for (std::int32_t* out : {stats_saved, stats_skipped_all, stats_skipped_dups, stats_errors}) {
      Put(out, 0);
    }
    Put(dst_filename, std::u16string());
    Put(xls_error, std::u16string());
    *result = E_GENERIC_FAILURE;
    CsvExportRequest request;
    request.cards = std::string_view(reinterpret_cast<const char*>(vcards.data()), vcards.size());
    request.type = dst_type;
    request.lid = dst_type == vlmcsvOutlook ? dst_locale : u"";
    request.dr = dr;
    request.progress = progress;
    request.label = kSaveMemoryLabel;
    CardSaveStats stats;
    CsvExportRows rows;
    const HRESULT made = MakeCsvExportRows(*context_, request, &stats, &rows);
    Put(stats_skipped_all, stats.skipped_all);
    Put(stats_skipped_dups, stats.skipped_dups);
    Put(stats_errors, stats.errors);
    if (made != S_OK) {
      *result = made;
      return CallStatus(made);
    }
    const std::filesystem::path folder = PathFromUtf16(dst_dir);
    const HRESULT created = files::CreateFolder(folder);
    if (FAILED(created)) {
      log.LogError(kSaveMemoryLabel, created, "EnsureDirectory");
      *result = created;
      return S_NO_CONTENT;
    }
    csv::CsvCellsTable table;
    table.reserve(rows.rows.size() + 1);
    for (std::size_t i = 0; i <= rows.rows.size(); ++i) {
      const csv::CsvRowMap& cells = i == 0 ? rows.names : rows.rows[i - 1].cells;
      csv::CsvRow row;
      row.reserve(rows.codes.size());
      for (const std::uint32_t code : rows.codes) {
        const auto found = cells.find(code);
        row.push_back(found != cells.end() ? found->second : std::u16string());
      }
      table.push_back(std::move(row));
    }
    const std::filesystem::path file = MakeFilePath(
        folder, dst_base_name.empty() ? kFallbackName : dst_base_name, true, dst_ext, true);
    const csv::CCsv csv(log);
    std::u16string error;
    *result = csv.SaveXls(file, dst_sheet_name, table, &error);
    Put(xls_error, std::move(error));
    if (SUCCEEDED(*result)) {
      Put(stats_saved, static_cast<std::int32_t>(rows.rows.size()));
      Put(dst_filename, Utf16FromPath(file));
    }
    return CallStatus(*result);
  });
}

}  // namespace velmora::automation
