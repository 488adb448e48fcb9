#include "csv_output.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <velmora/unicode.h>

#include <unistd.h>

#include "cli_common.h"
#include "file_lists.h"
#include "interrupt.h"
#include "output_file.h"
#include "temporary_folder.h"

namespace velmora::cli {
namespace {

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

bool CsvDialectByName(const std::string& name, ECsvType* dialect) {
  if (name == "outlook") {
    *dialect = vlmcsvOutlook;
  } else if (name == "outlook365") {
    *dialect = vlmcsvOutlook365v2;
  } else if (name == "google") {
    *dialect = vlmcsvGoogle;
  } else if (name == "google2") {
    *dialect = vlmcsvGoogle2;
  } else {
    return false;
  }
  return true;
}

int WriteCsvCards(ICardConverter& library, const std::vector<std::uint8_t>& vcards,
                  std::int32_t count, const std::string& output, bool split, EDRMethod dr,
                  const CsvWriteOptions& options, bool write_file, ProgressBar& progress,
                  CsvWriteResult* result) {
  *result = CsvWriteResult();
  // One file goes through a private folder first: the library numbers a
  // name that is taken instead of replacing it, and standard output has no
  // folder at all.
  TemporaryFolder staging;
  if (!split && staging.path().empty()) {
    PrintError({}, std::string("cannot create a temporary folder: ") + std::strerror(errno));
    return kExitOutput;
  }
  const std::string folder = split ? output : staging.path();
  std::int32_t skipped_dups = 0, io_errors = 0;
  std::vector<std::u16string> names;
  progress.Start(ProgressBar::Phase::kSaving, count);
  const HRESULT status = library.SaveMemoryCSV2(
      vcards, Utf8ToUtf16(folder), u"contacts", options.dialect, Utf8ToUtf16(options.locale),
      !split, &result->saved, &result->skipped, &skipped_dups, &result->errors, &io_errors, &names,
      options.byte_order_mark, true, options.encoding.type, options.encoding.code_page, dr,
      &progress);
  progress.Clear();
  if (split) {
    for (const std::u16string& name : names) result->files.push_back(Utf16ToUtf8(name));
  }
  if (Interrupted()) {
    for (const std::string& file : result->files) unlink(file.c_str());
    result->files.clear();
    return kExitCancelled;
  }
  if (io_errors > 0 || (FAILED(status) && result->saved == 0)) {
    std::string what = "cannot write";
    if (const std::string meaning = StatusMeaning(status); !meaning.empty()) what += ": " + meaning;
    PrintError(split ? output : std::string(), what, FAILED(status) ? status : S_OK);
    return kExitOutput;
  }
  if (split || names.empty() || !write_file) return kExitOk;

  return DeliverStagedFile(Utf16ToUtf8(names.front()), staging.path(), "CSV", output, result);
}

int DeliverStagedFile(const std::string& staged, const std::string& staging, const char* kind,
                      const std::string& output, CsvWriteResult* result) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(staged, &bytes)) {
    PrintError({}, std::string("cannot read back the ") + kind + " written in " + staging);
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
  return kExitOk;
}

}  // namespace velmora::cli
