#include "automation/csv_saver.h"

#include <set>

#include "automation/argument_checks.h"
#include "automation/file_name_rule.h"
#include "automation/gen_file_as.h"
#include "automation/single_card_parser.h"
#include "contact/card_names.h"
#include "csv/csv_export.h"
#include "foundation/code_page.h"
#include "foundation/file_system.h"
#include "vcard/card_parser.h"

namespace velmora {
namespace {

constexpr char kLabel[] = "CComCardConverter.SaveMemoryCSV";
constexpr char kCreateLabel[] = "CComCardConverter.SaveMemoryCSV_CreateFile";
constexpr char kCardsLabel[] = "CComCardConverter.SaveMemoryCSV_CardsToCsv";
constexpr char16_t kExtension[] = u".csv";
// The name of a file when neither the contact nor the caller gives one.
constexpr char16_t kFallbackName[] = u"Contacts";

class CsvSaver {
 public:
  CsvSaver(CConverterContext& context, const CsvSaveRequest& request, CardSaveStats& stats,
           std::vector<std::u16string>* names)
      : context_(context), log_(context.log()), request_(request), stats_(stats), names_(names) {}

  HRESULT Run();

 private:
  struct Row {
    CsvRowMap cells;
    std::u16string base_name;
  };

  bool Report() {
    if (request_.progress == nullptr) return true;
    request_.progress->OnCardConverterProgress(stats_.saved + stats_.skipped_all + stats_.errors,
                                               total_, static_cast<int>(rows_.size()),
                                               stats_.skipped_all, stats_.errors);
    return !request_.progress->IsCardConverterCancelled();
  }
  HRESULT MakeRows();
  // The file's bytes: the mark when asked for, then the text encoded.
  std::string Encode(std::u16string_view text) const;
  // Writes one file; false (counted and logged once per status) on failure.
  bool Write(std::u16string_view name, std::u16string_view text);

  CConverterContext& context_;
  CLog& log_;
  const CsvSaveRequest& request_;
  CardSaveStats& stats_;
  std::vector<std::u16string>* names_;
  std::vector<Row> rows_;
  FileNameCounter used_names_;
  std::set<std::uint32_t> used_;
  std::set<HRESULT> reported_;
  HRESULT first_failure_ = S_OK;
  std::int32_t total_ = 0;
};

HRESULT CsvSaver::MakeRows() {
  std::vector<std::string> cards;
  {
    CCardParser parser(log_, context_.charsets());
    parser.SetMode(CCardParser::kModeCollect);
    parser.SetTextList(&cards);
    parser.document().set_keep_items(false);
    const int loaded =
        parser.LoadMemory(request_.cards.data(), static_cast<std::int32_t>(request_.cards.size()));
    if (loaded < 0) log_.LogError(kCardsLabel, loaded, "ParseCards");
  }
  total_ = static_cast<std::int32_t>(cards.size());
  std::vector<bool> skip(cards.size(), false);
  if (request_.dr != drmNone && cards.size() > 1) {
    skip = FindDuplicateCards(log_, cards, request_.dr);
  }
  const CCsvHeaders& headers = context_.CsvHeaders();
  const COutlookCsvLocale* locale =
      request_.type == vlmcsvOutlook ? headers.FindLocale(request_.lid) : nullptr;
  // Every column of the dialect's list. Google's grouped entries stand for
  // columns numbered from 1: those come from the rows, as the contacts need
  // them (an "E-mail 0 - Value" column would mean nothing to any reader).
  for (const CCsvHeader* entry : headers.GetHeaderList(request_.type, 0)) {
    if (!entry->IsGroupped()) used_.insert(entry->Code);
  }
  ContactRecord record;
  for (std::size_t i = 0; i < cards.size(); ++i) {
    CCardEventScope card(log_.events(), static_cast<std::int32_t>(i + 1));
    if (skip[i]) {
      ++stats_.skipped_all;
      ++stats_.skipped_dups;
    } else if (FAILED(ParseSingleCard(context_, cards[i], nullptr, &record))) {
      ++stats_.errors;
    } else {
      if (log_.events().listening()) log_.events().SetCardName(ComposeFullName(record));
      Row row;
      ExportContactW(headers, record, row.cells, request_.type, locale);
      card.Commit();
      for (const auto& [code, text] : row.cells) used_.insert(code);
      GenFileAs(log_, cards[i], &row.base_name);
      rows_.push_back(std::move(row));
    }
    if (!Report()) return S_FALSE;
  }
  if (rows_.empty()) {
    log_.LogError(kCardsLabel, E_GENERIC_FAILURE, "no CSV Contacts after Parse");
    return E_GENERIC_FAILURE;
  }
  return S_OK;
}

std::string CsvSaver::Encode(std::u16string_view text) const {
  std::string bytes;
  if (request_.encoding == vlmcetUTF16 || request_.encoding == vlmcetUTF16BE) {
    const bool big_endian = request_.encoding == vlmcetUTF16BE;
    if (request_.write_signature) bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    bytes.reserve(bytes.size() + text.size() * 2);
    for (const char16_t unit : text) {
      const char high = static_cast<char>(unit >> 8);
      const char low = static_cast<char>(unit & 0xFF);
      bytes += big_endian ? high : low;
      bytes += big_endian ? low : high;
    }
    return bytes;
  }
  const int code_page = request_.code_page > 0 ? request_.code_page : 0;
  if (request_.write_signature && code_page == codepage::kUtf8) bytes = "\xEF\xBB\xBF";
  bytes += codepage::FromUtf16(code_page, text);
  return bytes;
}

bool CsvSaver::Write(std::u16string_view name, std::u16string_view text) {
  const std::filesystem::path path =
      MakeFilePath(request_.folder, name, true, kExtension, true, &used_names_);
  files::FileStep step = files::FileStep::kNone;
  const HRESULT written = files::WriteFileReplacing(path, Encode(text), &step);
  if (SUCCEEDED(written)) {
    if (names_ != nullptr) names_->push_back(Utf16FromPath(path));
    return true;
  }
  if (reported_.insert(written).second) {
    if (step == files::FileStep::kCreate) {
      log_.LogError(kCreateLabel, written, "CreateFile failed");
    } else {
      log_.LogError(kLabel, written, "WriteFile failed");
    }
  }
  if (first_failure_ == S_OK) first_failure_ = written;
  ++stats_.io_errors;
  return false;
}

HRESULT CsvSaver::Run() {
  const HRESULT made_rows = MakeRows();
  if (made_rows != S_OK) return made_rows;
  const HRESULT made = files::CreateFolder(request_.folder);
  if (FAILED(made)) {
    log_.LogError(kLabel, made, "EnsureDirectory");
    return made;
  }
  const CCsvHeaders& headers = context_.CsvHeaders();
  std::vector<std::uint32_t> codes(used_.begin(), used_.end());
  headers.GetHeaders(codes, request_.type, false);
  std::u16string header;
  if (request_.write_headers) {
    CsvRowMap names;
    for (const std::uint32_t code : codes) {
      names[code] = headers.BuildHeaderName(code, request_.type,
                                            request_.type == vlmcsvOutlook ? request_.lid : u"");
    }
    header = CsvLine(codes, names) + u"\r\n";
  }
  if (request_.single_file) {
    std::u16string text = header;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (i > 0) text += u"\r\n";
      text += CsvLine(codes, rows_[i].cells);
    }
    const std::u16string& name = request_.base_name.empty() ? kFallbackName : request_.base_name;
    if (Write(name, text)) stats_.saved = static_cast<std::int32_t>(rows_.size());
  } else {
    for (const Row& row : rows_) {
      const std::u16string& name = !row.base_name.empty()        ? row.base_name
                                   : !request_.base_name.empty() ? request_.base_name
                                                                 : kFallbackName;
      if (Write(name, header + CsvLine(codes, row.cells))) ++stats_.saved;
    }
  }
  if (stats_.saved > 0) return S_OK;
  return FAILED(first_failure_) ? first_failure_ : E_GENERIC_FAILURE;
}

}  // namespace

HRESULT SaveCardsAsCsv(CConverterContext& context, const CsvSaveRequest& request,
                       CardSaveStats* stats, std::vector<std::u16string>* file_names) {
  *stats = CardSaveStats{};
  if (file_names != nullptr) file_names->clear();
  return CsvSaver(context, request, *stats, file_names).Run();
}

}  // namespace velmora
