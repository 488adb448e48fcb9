#include "preview_command.h"

#include <algorithm>
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
  velmora preview contacts.vcf
  velmora preview --limit 5 a.vcf b.vcf
  velmora preview --json contacts.vcf | jq -r '.cards[].emails'
  velmora preview outlook-export.csv
  velmora preview --sheet Contacts book.xlsx

The table shows the first e-mail and the first phone of each card; --json
gives every preview field: fileAs, fullName, company, jobTitle, emails and
phones (arrays), addresses, impps, notes and the card itself (vcard). A CSV file is
shown as the vCards 'velmora convert' would make of its rows, and a
workbook the same way (its first sheet holding a data row, or --sheet).)";

// Widest a table column grows before its text is cut.
constexpr std::size_t kMaxColumnWidth = 32;

struct PreviewRow {
  std::string file;
  int index = 0;  // 1-based within its file
  HRESULT status = S_OK;
  std::string file_as, full_name, company, job_title, emails, phones, addresses, impps, notes,
      vcard;
};

std::string Get(ICardPreview& preview, HRESULT (ICardPreview::*getter)(std::u16string*)) {
  std::u16string value;
  (preview.*getter)(&value);
  return Utf16ToUtf8(value);
}

// The text the previews join list elements with (the user's list separator
// and a space), learnt from a preview of two e-mails.
std::string ListJoiner(ICardConverter& library) {
  static constexpr char kProbe[] =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:x\r\nEMAIL:a@a.invalid\r\nEMAIL:b@b.invalid\r\n"
      "END:VCARD\r\n";
  std::shared_ptr<ICards> cards;
  std::shared_ptr<ICardPreview> preview;
  if (SUCCEEDED(library.LoadMemory(std::vector<std::uint8_t>(kProbe, kProbe + sizeof kProbe - 1), 0,
                                   nullptr, &cards)) &&
      cards && SUCCEEDED(cards->ItemPreview(0, &preview)) && preview) {
    const std::string emails = Get(*preview, &ICardPreview::get_Emails);
    const std::size_t first = emails.find("a@a.invalid");
    const std::size_t second = emails.find("b@b.invalid");
    if (first == 0 && second != std::string::npos && second > 11) {
      return emails.substr(11, second - 11);
    }
  }
  return ", ";
}

std::string FirstOf(const std::string& list, const std::string& joiner) {
  const std::size_t at = joiner.empty() ? std::string::npos : list.find(joiner);
  return at == std::string::npos ? list : list.substr(0, at);
}

void PrintTable(const std::vector<PreviewRow>& rows, bool with_file, const std::string& joiner) {
  std::vector<std::vector<std::string>> table;
  std::vector<std::string> header = {"#", "FILE AS", "FULL NAME", "COMPANY", "E-MAIL", "PHONE"};
  if (with_file) header.insert(header.begin(), "FILE");
  table.push_back(header);
  for (const PreviewRow& row : rows) {
    std::vector<std::string> cells = {std::to_string(row.index)};
    if (FAILED(row.status)) {
      cells.push_back("(cannot preview this card, status " + StatusHex(row.status) + ")");
    } else {
      cells.insert(cells.end(), {row.file_as, row.full_name, row.company,
                                 FirstOf(row.emails, joiner), FirstOf(row.phones, joiner)});
    }
    if (with_file) cells.insert(cells.begin(), row.file);
    table.push_back(std::move(cells));
  }
  std::vector<std::size_t> widths(header.size(), 0);
  for (auto& cells : table) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      // The error note of a card runs on to the end of the line.
      const bool last = c + 1 == cells.size();
      if (with_file && c == 0) {
        cells[c] = FitToWidthFromEnd(cells[c], kMaxColumnWidth);
      } else if (!last) {
        cells[c] = FitToWidth(cells[c], kMaxColumnWidth);
      }
      widths[c] = std::max(widths[c], DisplayWidth(cells[c]));
    }
  }
  for (const auto& cells : table) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const bool last = c + 1 == cells.size();
      line += last ? cells[c] : PadToWidth(cells[c], widths[c]) + "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    line += '\n';
    std::fputs(line.c_str(), stdout);
  }
}

// A preview list ("a, b") as its elements.
std::vector<std::string> SplitList(const std::string& list, const std::string& joiner) {
  std::vector<std::string> parts;
  if (list.empty()) return parts;
  std::size_t start = 0;
  for (std::size_t at = joiner.empty() ? std::string::npos : list.find(joiner);
       at != std::string::npos; at = list.find(joiner, start)) {
    parts.push_back(list.substr(start, at - start));
    start = at + joiner.size();
  }
  parts.push_back(list.substr(start));
  return parts;
}

void PrintJson(const std::vector<PreviewRow>& rows, int exit_status, const std::string& joiner) {
  JsonWriter json;
  json.BeginObject();
  json.Member("command", "preview");
  json.Member("exit", exit_status);
  json.Member("cancelled", exit_status == kExitCancelled);
  json.Key("cards").BeginArray();
  for (const PreviewRow& row : rows) {
    json.BeginObject();
    json.Member("file", row.file);
    json.Member("index", row.index);
    if (FAILED(row.status)) {
      json.Member("error", "cannot preview this card");
      json.Member("status", StatusHex(row.status));
    } else {
      json.Member("fileAs", row.file_as);
      json.Member("fullName", row.full_name);
      json.Member("company", row.company);
      json.Member("jobTitle", row.job_title);
      for (const auto& [key, list] : {std::pair{"emails", &row.emails}, {"phones", &row.phones}}) {
        json.Key(key).BeginArray();
        for (const std::string& part : SplitList(*list, joiner)) json.String(part);
        json.EndArray();
      }
      json.Member("addresses", row.addresses);
      json.Member("impps", row.impps);
      json.Member("notes", row.notes);
      json.Member("vcard", row.vcard);
    }
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  std::fputs(json.str().c_str(), stdout);
}

}  // namespace

CLI::App* AddPreviewCommand(CLI::App& app, PreviewOptions* options) {
  CLI::App* command = app.add_subcommand(
      "preview", "Show the contacts of vCard, CSV and workbook files, one line each");
  command->add_option("FILE", options->files, "vCard, CSV or workbook files; - is standard input")
      ->required();
  command->add_option("--sheet", options->sheet,
                      "Workbooks: the sheet to show, by name or number from 1 (default: the "
                      "first holding a data row)");
  command->add_option("--limit", options->limit, "Show at most N cards in all (0: every card)")
      ->check(CLI::NonNegativeNumber);
  command->footer(kExamples);
  return command;
}

namespace {

// The card's row, read from its preview.
PreviewRow RowOf(ICards& cards, std::int32_t i, const std::string& file, bool with_vcard) {
  PreviewRow row;
  row.file = file;
  row.index = i + 1;
  std::shared_ptr<ICardPreview> preview;
  row.status = cards.ItemPreview(i, &preview);
  if (FAILED(row.status) || !preview) {
    if (SUCCEEDED(row.status)) row.status = E_GENERIC_FAILURE;
    return row;
  }
  row.file_as = Get(*preview, &ICardPreview::get_FileAs);
  row.full_name = Get(*preview, &ICardPreview::get_FullName);
  row.company = Get(*preview, &ICardPreview::get_Company);
  row.job_title = Get(*preview, &ICardPreview::get_JobTitle);
  row.emails = Get(*preview, &ICardPreview::get_Emails);
  row.phones = Get(*preview, &ICardPreview::get_Phones);
  row.addresses = Get(*preview, &ICardPreview::get_Addresses);
  row.impps = Get(*preview, &ICardPreview::get_IMPPs);
  row.notes = Get(*preview, &ICardPreview::get_Notes);
  if (with_vcard) {
    std::vector<std::uint8_t> bytes;
    preview->get_vCard(&bytes);
    row.vcard.assign(bytes.begin(), bytes.end());
  }
  return row;
}

// Adds the rows of one input, at most `*remaining` of them when a limit is
// set; the exit status it earns (kExitCancelled stops the run).
int PreviewInput(ICardConverter& library, const InputFile& input, const PreviewOptions& options,
                 const GlobalOptions& global, ProgressBar& progress, std::int64_t* remaining,
                 std::vector<PreviewRow>* rows) {
  const std::int32_t limit = options.limit > 0 ? static_cast<std::int32_t>(*remaining) : 0;
  std::shared_ptr<ICards> cards;
  HRESULT status = S_OK;
  int exit_status = kExitOk;
  const bool workbook = IsWorkbookInput(input, {});
  const bool csv = workbook || IsCsvInput(input, {});
  if (csv) {
    // The rows as the vCards a conversion would write.
    CsvCards read;
    CsvReadOptions read_options;
    read_options.sheet = options.sheet;
    const int got = ReadTableCards(library, input, {}, read_options, progress, &read);
    if (got == kExitCancelled) return kExitCancelled;
    if (got != kExitOk || read.cards == 0) {
      if (got == kExitOk) PrintWarning(global, input.name(), "no contact in it");
      if (got == kExitInput) PrintError(input.name(), read.error, read.status);
      return got == kExitOk ? kExitIncomplete : got;
    }
    status = library.LoadMemory(read.vcards, limit, nullptr, &cards);
  } else {
    progress.Start(ProgressBar::Phase::kLoading);
    status = library.LoadFile(Utf8ToUtf16(input.path()), limit, false, &progress, &cards);
    progress.Clear();
  }
  if (Interrupted()) return kExitCancelled;
  if (!csv && progress.skipped() > 0) {
    WarnCutOff(global, input.name(), progress.skipped());
    exit_status = kExitIncomplete;
  }
  std::int32_t count = 0;
  if (FAILED(status) || !cards || FAILED(cards->get_Count(&count)) || count == 0) {
    if (input.IsBlank()) {
      PrintWarning(global, input.name(), "empty, no cards");
      return WorseExit(exit_status, kExitIncomplete);
    }
    PrintError(input.name(), NoCardsReason(status), FAILED(status) ? status : E_GENERIC_FAILURE);
    return WorseExit(exit_status, kExitInput);
  }
  *remaining -= count;
  for (std::int32_t i = 0; i < count; ++i) {
    rows->push_back(RowOf(*cards, i, input.name(), global.json));
    if (FAILED(rows->back().status)) exit_status = WorseExit(exit_status, kExitIncomplete);
  }
  return exit_status;
}

}  // namespace

int RunPreview(const PreviewOptions& options, const GlobalOptions& global) {
  if (!ReadsStandardInputOnce(options.files, "preview")) return kExitUsage;
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status, true);
  if (!library) return kExitInput;
  const std::string joiner = ListJoiner(*library);

  ProgressBar progress(global);
  std::vector<PreviewRow> rows;
  int exit_status = kExitOk;
  std::int64_t remaining = options.limit;
  for (const std::string& argument : options.files) {
    if (options.limit > 0 && remaining == 0) break;
    InputFile input;
    std::string error;
    const InputFile::OpenResult opened = input.Open(argument, &error);
    if (opened == InputFile::OpenResult::kCancelled) break;
    if (opened == InputFile::OpenResult::kUnreadable) {
      PrintError(input.name(), error);
      exit_status = WorseExit(exit_status, kExitInput);
      continue;
    }
    const int done = PreviewInput(*library, input, options, global, progress, &remaining, &rows);
    if (done == kExitCancelled) break;
    exit_status = WorseExit(exit_status, done);
  }
  if (Interrupted()) {
    PrintError({}, "cancelled");
    exit_status = kExitCancelled;
  } else if (rows.empty()) {
    exit_status = WorseExit(exit_status, kExitIncomplete);
  }

  if (global.json) {
    PrintJson(rows, exit_status, joiner);
  } else if (!rows.empty()) {
    PrintTable(rows, options.files.size() > 1, joiner);
  }
  return exit_status;
}

}  // namespace velmora::cli
