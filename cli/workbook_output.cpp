#include "workbook_output.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include <velmora/unicode.h>

#include "cli_common.h"
#include "file_lists.h"
#include "interrupt.h"
#include "output_file.h"
#include "temporary_folder.h"

namespace velmora::cli {
namespace {

constexpr char16_t kSheetName[] = u"Contacts";

bool ReadWorkbook(const std::string& path, std::vector<std::uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int WriteWorkbookCards(ICardConverter& library, const std::vector<std::uint8_t>& vcards,
                       std::int32_t count, const std::string& output, OutputFormat format,
                       EDRMethod dr, const CsvWriteOptions& options, bool write_file,
                       ProgressBar& progress, CsvWriteResult* result) {
  *result = CsvWriteResult();
  // The library names the workbook in a folder of its own (numbering a
  // name that is taken); the command then replaces the output with it.
  TemporaryFolder staging;
  if (staging.path().empty()) {
    PrintError({}, std::string("cannot create a temporary folder: ") + std::strerror(errno));
    return kExitOutput;
  }
  const bool xls = format == OutputFormat::kXls;
  std::u16string file, xls_error;
  std::int32_t skipped_dups = 0;
  HRESULT saved = E_GENERIC_FAILURE;
  progress.Start(ProgressBar::Phase::kSaving, count);
  const HRESULT status = library.SaveMemoryXLS(
      vcards, Utf8ToUtf16(staging.path()), u"contacts", xls ? u".xls" : u".xlsx", kSheetName,
      options.dialect, Utf8ToUtf16(options.locale), &file, &xls_error, &result->saved,
      &result->skipped, &skipped_dups, &result->errors, &saved, dr, &progress);
  progress.Clear();
  if (Interrupted()) return kExitCancelled;
  if (FAILED(status) || FAILED(saved) || file.empty()) {
    const HRESULT failure = FAILED(saved) ? saved : FAILED(status) ? status : E_GENERIC_FAILURE;
    std::string why = Utf16ToUtf8(xls_error);
    if (why.empty()) why = StatusMeaning(failure);
    PrintError(output == "-" ? "standard output" : output,
               "cannot write" + (why.empty() ? std::string() : ": " + why) + "; nothing written",
               failure);
    result->errors += result->saved;
    result->saved = 0;
    return kExitOutput;
  }
  int exit_status = kExitOk;
  if (saved != S_OK) {
    // Some cells fell outside the sheet: for .xls, the rows beyond its last.
    const std::int32_t lost = xls ? result->saved + 1 - kXlsMaxRows : 0;
    PrintError(output, lost > 0 ? std::to_string(lost) +
                                      " contacts did not fit in the .xls sheet (65,536 rows); "
                                      "save as .xlsx to keep them all"
                                : "some cells did not fit in the sheet and were left out");
    if (lost > 0) {
      result->saved -= lost;
      result->errors += lost;
    }
    exit_status = kExitIncomplete;
  }
  if (!write_file) return exit_status;

  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWorkbook(Utf16ToUtf8(file), &bytes)) {
    PrintError({}, "cannot read back the workbook written in " + staging.path());
    return kExitOutput;
  }
  const WriteResult written = output == "-" ? WriteStdout(bytes, &error)
                              : MakeParentFolders(output, &error)
                                  ? WriteFileReplacing(output, bytes, &error)
                                  : WriteResult::kFailed;
  if (written == WriteResult::kCancelled) return kExitCancelled;
  if (written == WriteResult::kFailed) {
    PrintError(output == "-" ? "standard output" : output,
               "cannot write: " + error + "; nothing written");
    result->errors += result->saved;
    result->saved = 0;
    return kExitOutput;
  }
  if (output != "-") result->files.push_back(output);
  return exit_status;
}

}  // namespace velmora::cli
