#include "count_command.h"

#include <cstdio>
#include <memory>

#include <velmora/card_converter.h>
#include <velmora/unicode.h>

#include "block_count.h"
#include "converter_session.h"
#include "csv_input.h"
#include "input_file.h"
#include "interrupt.h"
#include "json_writer.h"
#include "progress_bar.h"
#include "workbook_input.h"

namespace velmora::cli {
namespace {

constexpr char kExamples[] = R"(Examples:
  velmora count contacts.vcf
  velmora count *.vcf
  velmora --json count a.vcf b.vcf
  velmora count outlook-export.csv
  velmora count --sheet 2 book.xlsx

Only complete cards (BEGIN:VCARD to END:VCARD) count, and of a CSV file the
rows that hold a contact; of a workbook, those of its first sheet holding a
data row, or of the sheet --sheet names. An empty file counts 0 cards; a
file that is neither vCard nor CSV of a known address book is an error
(exit 3). No card in any file: exit 1.)";

struct FileCount {
  std::string file;
  std::int32_t cards = 0;
  std::string error;  // empty when counted
  HRESULT status = S_OK;
};

}  // namespace

CLI::App* AddCountCommand(CLI::App& app, CountOptions* options) {
  CLI::App* command =
      app.add_subcommand("count", "Count the contacts of vCard, CSV and workbook files");
  command->add_option("FILE", options->files, "vCard, CSV or workbook files; - is standard input")
      ->required();
  command->add_option("--sheet", options->sheet,
                      "Workbooks: the sheet to count, by name or number from 1 (default: the "
                      "first holding a data row)");
  command->footer(kExamples);
  return command;
}

int RunCount(const CountOptions& options, const GlobalOptions& global) {
  if (!ReadsStandardInputOnce(options.files, "count")) return kExitUsage;
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status, true);
  if (!library) return kExitInput;

  ProgressBar progress(global);
  std::vector<FileCount> counts;
  std::int64_t total = 0;
  int exit_status = kExitOk;
  for (const std::string& argument : options.files) {
    FileCount count;
    InputFile input;
    const InputFile::OpenResult opened = input.Open(argument, &count.error);
    count.file = input.name();
    if (opened == InputFile::OpenResult::kCancelled) break;
    const bool workbook = opened == InputFile::OpenResult::kOk && IsWorkbookInput(input, {});
    if (opened == InputFile::OpenResult::kOk && (workbook || IsCsvInput(input, {}))) {
      // The rows that give a contact, as a conversion would count them.
      CsvCards read;
      CsvReadOptions read_options;
      read_options.sheet = options.sheet;
      const int got = ReadTableCards(*library, input, {}, read_options, progress, &read);
      if (got == kExitCancelled) break;
      count.error = read.error;
      count.status = read.status;
      count.cards = read.cards;
      if (read.errors > 0) {
        PrintWarning(global, count.file,
                     std::to_string(read.errors) + (read.errors == 1 ? " row" : " rows") +
                         " could not be read");
        exit_status = WorseExit(exit_status, kExitIncomplete);
      }
    } else if (opened == InputFile::OpenResult::kOk) {
      progress.Start(ProgressBar::Phase::kCounting);
      std::int32_t file_errors = 0;
      CardCount blocks;
      std::int32_t cut_off = 0;
      if (CountCardBlocks(*library, input.path(), &progress, &blocks)) {
        count.cards = blocks.cards;
        cut_off = blocks.cut_off;
        // As for a whole file: no complete card fails the file.
        file_errors = blocks.cards == 0 ? 1 : 0;
        status = blocks.cards == 0 ? E_GENERIC_FAILURE : S_OK;
      } else {
        status = library->CountFilesContacts({Utf8ToUtf16(input.path())}, &file_errors, 0,
                                             &progress, &count.cards);
        cut_off = progress.skipped();
      }
      progress.Clear();
      if (Interrupted()) break;
      if (cut_off > 0) {
        WarnCutOff(global, count.file, cut_off);
        exit_status = WorseExit(exit_status, kExitIncomplete);
      }
      if (file_errors > 0 && !input.IsBlank()) {
        count.status = FAILED(status) ? status : E_GENERIC_FAILURE;
        count.error = NoCardsReason(count.status);
      } else if (file_errors > 0) {
        count.cards = 0;  // empty: nothing to count
      }
    }
    if (!count.error.empty()) {
      PrintError(count.file, count.error, count.status);
      exit_status = WorseExit(exit_status, kExitInput);
    } else {
      total += count.cards;
    }
    counts.push_back(std::move(count));
  }
  if (Interrupted()) {
    PrintError({}, "cancelled");
    exit_status = kExitCancelled;
  } else if (total == 0) {
    exit_status = WorseExit(exit_status, kExitIncomplete);
  }

  if (global.json) {
    JsonWriter json;
    json.BeginObject().Member("command", "count").Member("exit", exit_status);
    json.Member("cancelled", exit_status == kExitCancelled);
    json.Key("files").BeginArray();
    for (const FileCount& count : counts) {
      json.BeginObject().Member("file", count.file);
      if (count.error.empty()) {
        json.Member("cards", count.cards);
      } else {
        json.Member("error", count.error);
        if (count.status != S_OK) json.Member("status", StatusHex(count.status));
      }
      json.EndObject();
    }
    json.EndArray();
    json.Key("total").Number(total);
    json.EndObject();
    std::fputs(json.str().c_str(), stdout);
    return exit_status;
  }
  const int width = static_cast<int>(std::to_string(total).size());
  for (const FileCount& count : counts) {
    if (count.error.empty()) std::printf("%*d  %s\n", width, count.cards, count.file.c_str());
  }
  if (counts.size() > 1) std::printf("%*lld  total\n", width, static_cast<long long>(total));
  return exit_status;
}

}  // namespace velmora::cli
