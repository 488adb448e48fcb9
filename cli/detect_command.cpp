#include "detect_command.h"

#include <cstdio>
#include <memory>

#include <velmora/card_converter.h>
#include <velmora/unicode.h>

#include "converter_session.h"
#include "csv_input.h"
#include "input_file.h"
#include "interrupt.h"
#include "json_writer.h"
#include "progress_bar.h"
#include "text_width.h"
#include "workbook_input.h"

namespace velmora::cli {
namespace {

constexpr char kExamples[] = R"(Examples:
  velmora detect export.csv
  velmora detect *.csv *.vcf
  velmora --json detect export.csv
  velmora detect book.xlsx

For CSV: the address book whose every column the header row has (outlook,
outlook365, outlook365-v1, nokia, google for Google's earlier layout,
google2 for Google Contacts' current one; unknown when none), the separator,
the encoding (utf-8, utf-16 or utf-16be when recognised, the charset of the
Outlook language, else the system's), the Outlook language (LID, see
'velmora locales'), "custom" when the header row has columns the address
book does not, and the rows below the header row. For a workbook (.xls,
.xlsx, .xlsm, .xlsb): the same for each sheet, numbered from 1 as --sheet
counts them. For vCard: the complete cards. Exit 1 when a CSV file, or
every sheet of a workbook, is of no known address book, 3 when a file
cannot be read.)";

struct Found {
  std::string file;
  bool csv = false;
  CsvFacts facts;
  std::string workbook;            // "xlsx", ...; empty for other files
  std::vector<SheetFacts> sheets;  // of a workbook
  std::int32_t rows = 0;           // CSV: data rows; vCard: complete cards
  std::string error;               // empty when detected
  HRESULT status = S_OK;
};

// The rows of a CSV file below its header row, split as detected.
std::int32_t CountRows(ICardConverter& library, const std::string& path, const CsvFacts& facts) {
  std::shared_ptr<ICsvContent> content;
  if (library.LoadCsvContent(Utf8ToUtf16(path), facts.code_page, &content) != S_OK) return 0;
  std::shared_ptr<ICsvCells> cells;
  const std::u16string separator = Utf8ToUtf16(facts.separator.empty() ? "," : facts.separator);
  if (content->Parse(&cells, -1, 0, Variant(), Variant(separator)) != S_OK) return 0;
  std::int32_t rows = 0;
  cells->get_RowCount(&rows);
  return rows > 0 ? rows - 1 : 0;
}

void Detect(ICardConverter& library, const InputFile& input, ProgressBar& progress, Found* found) {
  if (IsWorkbookInput(input, {})) {
    found->workbook = WorkbookKind(input.path());
    if (DetectWorkbook(library, input.path(), &found->sheets, &found->error, &found->status) ==
        kExitOk) {
      for (std::size_t i = 0; i < found->sheets.size(); ++i) {
        found->sheets[i].rows = CountSheetRows(library, input.path(), static_cast<int>(i));
      }
    }
    return;
  }
  if (!IsCsvInput(input, {})) {
    progress.Start(ProgressBar::Phase::kCounting);
    std::int32_t file_errors = 0;
    const HRESULT status = library.CountFilesContacts({Utf8ToUtf16(input.path())}, &file_errors, 0,
                                                      &progress, &found->rows);
    progress.Clear();
    if (file_errors > 0 && !input.IsBlank()) {
      found->status = FAILED(status) ? status : E_GENERIC_FAILURE;
      found->error = NoCardsReason(found->status);
    }
    return;
  }
  found->csv = true;
  found->status = DetectCsv(library, input.path(), &found->facts);
  if (FAILED(found->status)) {
    found->error = CannotRead(found->status);
    return;
  }
  found->rows = CountRows(library, input.path(), found->facts);
}

}  // namespace

CLI::App* AddDetectCommand(CLI::App& app, DetectOptions* options) {
  CLI::App* command = app.add_subcommand(
      "detect", "Tell the format, address book, separator, encoding and language of files");
  command->add_option("FILE", options->files, "CSV, workbook or vCard files; - is standard input")
      ->required();
  command->footer(kExamples);
  return command;
}

int RunDetect(const DetectOptions& options, const GlobalOptions& global) {
  if (!ReadsStandardInputOnce(options.files, "detect")) return kExitUsage;
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status, true);
  if (!library) return kExitInput;

  ProgressBar progress(global);
  std::vector<Found> found;
  int exit_status = kExitOk;
  for (const std::string& argument : options.files) {
    Found one;
    InputFile input;
    const InputFile::OpenResult opened = input.Open(argument, &one.error);
    one.file = input.name();
    if (opened == InputFile::OpenResult::kCancelled) break;
    if (opened == InputFile::OpenResult::kOk) Detect(*library, input, progress, &one);
    if (Interrupted()) break;
    if (!one.error.empty()) {
      PrintError(one.file, one.error, one.status);
      exit_status = WorseExit(exit_status, kExitInput);
    } else if (one.csv && one.facts.type == vlmcsvUnknown) {
      exit_status = WorseExit(exit_status, kExitIncomplete);
    } else if (!one.workbook.empty() &&
               std::none_of(one.sheets.begin(), one.sheets.end(),
                            [](const SheetFacts& sheet) { return sheet.type != vlmcsvUnknown; })) {
      exit_status = WorseExit(exit_status, kExitIncomplete);
    }
    found.push_back(std::move(one));
  }
  if (Interrupted()) {
    PrintError({}, "cancelled");
    exit_status = kExitCancelled;
  }

  if (global.json) {
    JsonWriter json;
    json.BeginObject().Member("command", "detect").Member("exit", exit_status);
    json.Member("cancelled", exit_status == kExitCancelled);
    json.Key("files").BeginArray();
    for (const Found& f : found) {
      json.BeginObject().Member("file", f.file);
      if (!f.error.empty()) {
        json.Member("error", f.error);
        if (f.status != S_OK) json.Member("status", StatusHex(f.status));
      } else if (!f.workbook.empty()) {
        json.Member("format", f.workbook);
        json.Key("sheets").BeginArray();
        for (std::size_t i = 0; i < f.sheets.size(); ++i) {
          const SheetFacts& sheet = f.sheets[i];
          json.BeginObject().Member("sheet", static_cast<int>(i + 1)).Member("name", sheet.name);
          json.Member("dialect", DialectName(sheet.type));
          json.Member("locale", sheet.locale);
          json.Member("customHeaders", sheet.custom_headers);
          json.Member("rows", sheet.rows);
          json.Member("headers", sheet.headers);
          json.EndObject();
        }
        json.EndArray();
      } else if (!f.csv) {
        json.Member("format", "vcard").Member("cards", f.rows);
      } else {
        json.Member("format", "csv");
        json.Member("dialect", DialectName(f.facts.type));
        json.Member("separator", f.facts.separator);
        json.Member("encoding", EncodingName(f.facts.code_page));
        json.Member("codePage", f.facts.code_page);
        json.Member("locale", f.facts.locale);
        json.Member("customHeaders", f.facts.custom_headers);
        json.Member("rows", f.rows);
        json.Member("headers", f.facts.headers);
      }
      json.EndObject();
    }
    json.EndArray().EndObject();
    std::fputs(json.str().c_str(), stdout);
    return exit_status;
  }

  std::vector<std::vector<std::string>> table = {
      {"FILE", "FORMAT", "DIALECT", "SEPARATOR", "ENCODING", "LOCALE", "CUSTOM", "ROWS"}};
  for (const Found& f : found) {
    if (!f.error.empty()) continue;
    if (!f.workbook.empty()) {
      // A row per sheet, its number and name after the file's.
      for (std::size_t i = 0; i < f.sheets.size(); ++i) {
        const SheetFacts& sheet = f.sheets[i];
        table.push_back({f.file + " [" + std::to_string(i + 1) + ": " + sheet.name + "]",
                         f.workbook, DialectName(sheet.type), "-", "-",
                         sheet.locale.empty() ? "-" : sheet.locale,
                         sheet.custom_headers ? "yes" : "no", std::to_string(sheet.rows)});
      }
      if (f.sheets.empty()) table.push_back({f.file, f.workbook, "-", "-", "-", "-", "-", "0"});
      continue;
    }
    if (!f.csv) {
      table.push_back({f.file, "vcard", "-", "-", "-", "-", "-", std::to_string(f.rows)});
      continue;
    }
    table.push_back({f.file, "csv", DialectName(f.facts.type), SeparatorName(f.facts.separator),
                     EncodingName(f.facts.code_page), f.facts.locale.empty() ? "-" : f.facts.locale,
                     f.facts.custom_headers ? "yes" : "no", std::to_string(f.rows)});
  }
  if (table.size() > 1) PrintColumns(table);
  return exit_status;
}

}  // namespace velmora::cli
