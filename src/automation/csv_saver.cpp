#include "automation/csv_saver.h"

#include <set>

#include "automation/argument_checks.h"
#include "automation/csv_export_rows.h"
#include "automation/file_name_rule.h"
#include "csv/csv_export.h"
#include "foundation/code_page.h"
#include "foundation/file_system.h"

namespace velmora::automation {
namespace {

constexpr char kLabel[] = "CComCardConverter.SaveMemoryCSV";
constexpr char kCreateLabel[] = "CComCardConverter.SaveMemoryCSV_CreateFile";
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
  // The file's bytes: the mark when asked for, then the text encoded.
  std::string Encode(std::u16string_view text) const;
  // Writes one file; false (counted and logged once per status) on failure.
  bool Write(std::u16string_view name, std::u16string_view text);

  CConverterContext& context_;
  CLog& log_;
  const CsvSaveRequest& request_;
  CardSaveStats& stats_;
  std::vector<std::u16string>* names_;
  FileNameCounter used_names_;
  std::set<HRESULT> reported_;
  HRESULT first_failure_ = S_OK;
};

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
  CsvExportRequest export_request;
  export_request.cards = request_.cards;
  export_request.type = request_.type;
  export_request.lid = request_.lid;
  export_request.dr = request_.dr;
  export_request.progress = request_.progress;
  CsvExportRows table;
  const HRESULT made_rows = MakeCsvExportRows(context_, export_request, &stats_, &table);
  if (made_rows != S_OK) return made_rows;
  const HRESULT made = files::CreateFolder(request_.folder);
  if (FAILED(made)) {
    log_.LogError(kLabel, made, "EnsureDirectory");
    return made;
  }
  const std::u16string header =
      request_.write_headers ? csv::CsvLine(table.codes, table.names) + u"\r\n" : std::u16string();
  if (request_.single_file) {
    std::u16string text = header;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
      if (i > 0) text += u"\r\n";
      text += csv::CsvLine(table.codes, table.rows[i].cells);
    }
    const std::u16string& name = request_.base_name.empty() ? kFallbackName : request_.base_name;
    if (Write(name, text)) stats_.saved = static_cast<std::int32_t>(table.rows.size());
  } else {
    for (const CsvExportRows::Row& row : table.rows) {
      const std::u16string& name = !row.base_name.empty()        ? row.base_name
                                   : !request_.base_name.empty() ? request_.base_name
                                                                 : kFallbackName;
      if (Write(name, header + csv::CsvLine(table.codes, row.cells))) ++stats_.saved;
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

}  // namespace velmora::automation
