#include "workbook_output.h"

#include <cerrno>
#include <cstring>

#include <velmora/unicode.h>

#include "cli_common.h"
#include "interrupt.h"
#include "temporary_folder.h"

namespace velmora::cli {
namespace {

constexpr char16_t kSheetName[] = u"Contacts";

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

  const int delivered =
      DeliverStagedFile(Utf16ToUtf8(file), staging.path(), "workbook", output, result);
  return delivered == kExitOk ? exit_status : delivered;
}

}  // namespace velmora::cli
