#include "dedupe_command.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include <velmora/card_converter.h>
#include <velmora/unicode.h>

#include "converter_session.h"
#include "input_file.h"
#include "interrupt.h"
#include "output_file.h"
#include "output_format.h"
#include "progress_bar.h"
#include "summary.h"

namespace velmora::cli {
namespace {

constexpr char kExamples[] = R"(Examples:
  velmora dedupe --client phone.vcf
  velmora dedupe --client phone.vcf --server cloud.vcf --method keep-original
  velmora dedupe --client phone.vcf --server cloud.vcf -o changes.vcf
  velmora --json dedupe --client phone.vcf --server cloud.vcf

Two cards are duplicates when their names (or, without a name, their
companies) match; REV decides which is newest. The output holds the client
cards to add, then the client cards that replace a server card, each marked
with a line X-VELMORA-SERVER-POSITION:N (N = 1 for the first card of the
server file). Cards are written as they came. The summary gives the number
of client duplicates left out; finding duplicates is a success (exit 0).)";

struct DedupeCard {
  std::string position;  // of the server card replaced; empty for cards to add
  std::string file_as;
  std::string full_name;
};

// The 1-based text of a 0-based position tag; other tags stay as they are.
std::string OneBased(const std::u16string& tag) {
  const std::string text = Utf16ToUtf8(tag);
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || end == nullptr || *end != '\0' || value < 0) return text;
  return std::to_string(value + 1);
}

// The card with the position line put before its END line.
std::vector<std::uint8_t> MarkPosition(std::vector<std::uint8_t> card,
                                       const std::string& position) {
  while (!card.empty() && (card.back() == '\n' || card.back() == '\r' || card.back() == ' ')) {
    card.pop_back();
  }
  std::size_t at = card.size();
  for (std::size_t i = card.size(); i-- > 0;) {
    const bool line_start = i == 0 || card[i - 1] == '\n';
    if (line_start && i + 4 <= card.size() && (card[i] | 0x20) == 'e' &&
        (card[i + 1] | 0x20) == 'n' && (card[i + 2] | 0x20) == 'd' && card[i + 3] == ':') {
      at = i;
      break;
    }
  }
  const std::string line = std::string(kServerPositionProperty) + ":" + position + "\r\n";
  card.insert(card.begin() + static_cast<std::ptrdiff_t>(at), line.begin(), line.end());
  card.push_back('\r');
  card.push_back('\n');
  return card;
}

void Describe(ICards& cards, std::int32_t index, DedupeCard* card) {
  std::shared_ptr<ICardPreview> preview;
  if (FAILED(cards.ItemPreview(index, &preview)) || !preview) return;
  std::u16string value;
  preview->get_FileAs(&value);
  card->file_as = Utf16ToUtf8(value);
  value.clear();
  preview->get_FullName(&value);
  card->full_name = Utf16ToUtf8(value);
}

// Loads one side; 0 with the cards, else the exit status after a message.
// `cut_off` is set when cards without END:VCARD were left out (warned).
int Load(ICardConverter& library, const std::string& argument, const GlobalOptions& global,
         std::shared_ptr<ICards>* cards, std::int32_t* count, bool* cut_off) {
  InputFile input;
  std::string error;
  const InputFile::OpenResult opened = input.Open(argument, &error);
  if (opened == InputFile::OpenResult::kCancelled) return kExitCancelled;
  if (opened == InputFile::OpenResult::kUnreadable) {
    PrintError(input.name(), error);
    return kExitInput;
  }
  ProgressBar progress(global);
  progress.Start(ProgressBar::Phase::kLoading);
  const HRESULT status = library.LoadFile(Utf8ToUtf16(input.path()), 0, false, &progress, cards);
  progress.Clear();
  if (Interrupted()) return kExitCancelled;
  WarnCutOff(global, input.name(), progress.skipped());
  if (progress.skipped() > 0) *cut_off = true;
  *count = 0;
  if (SUCCEEDED(status) && *cards && SUCCEEDED((*cards)->get_Count(count)) && *count > 0) {
    return kExitOk;
  }
  if (input.IsBlank()) {
    PrintWarning(global, input.name(), "empty, no cards");
    return kExitIncomplete;
  }
  PrintError(input.name(), NoCardsReason(status), FAILED(status) ? status : E_GENERIC_FAILURE);
  return kExitInput;
}

// The cards without a REV line.
std::int32_t CountWithoutRev(ICards& cards, std::int32_t count) {
  std::int32_t undated = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    std::vector<std::uint8_t> bytes;
    if (FAILED(cards.Item(i, &bytes))) continue;
    std::string text(bytes.begin(), bytes.end());
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (text.find("\nREV:") == std::string::npos && text.find("\nREV;") == std::string::npos) {
      ++undated;
    }
  }
  return undated;
}

}  // namespace

CLI::App* AddDedupeCommand(CLI::App& app, DedupeOptions* options) {
  CLI::App* command = app.add_subcommand(
      "dedupe", "Resolve duplicates between client cards and optional server cards");
  command->add_option("--client", options->client, "The client's vCard file; - is standard input")
      ->required();
  command->add_option("--server", options->server, "The server's vCard file");
  command
      ->add_option("--method", options->method,
                   "newest (default: the newest REV wins) or keep-original (a card already on "
                   "the server is kept)")
      ->check(CLI::IsMember({"newest", "keep-original"}));
  command->add_option("-o,--output", options->output,
                      "Write the cards into this .vcf file instead of standard output");
  command->footer(kExamples);
  return command;
}

namespace {

// The usage checks; false after the message.
bool CheckDedupeUsage(const DedupeOptions& options, const GlobalOptions& global) {
  if (!options.output.empty() && options.output != "-" &&
      !RequireVCardOutput({}, options.output, false, "dedupe", false)) {
    return false;
  }
  return KeepsJsonApart(global, options.output, "dedupe") &&
         ReadsStandardInputOnce({options.client, options.server}, "dedupe");
}

// What a run found: the counts, the cards of each result set and the text
// to write.
struct DedupeResult {
  std::int32_t client_count = 0, server_count = 0;
  std::int32_t add_count = 0, overwrite_count = 0, duplicates = 0;
  std::vector<DedupeCard> adds, overwrites;
  std::vector<std::uint8_t> text;
  bool resolved = false;  // false when the run stopped before resolution ended
};

// Loads both sides and resolves their duplicates; the exit status so far.
int Resolve(ICardConverter& library, const DedupeOptions& options, const GlobalOptions& global,
            DedupeResult* result) {
  std::shared_ptr<ICards> client;
  bool cut_off = false;
  int loaded = Load(library, options.client, global, &client, &result->client_count, &cut_off);
  if (loaded != kExitOk) return loaded;

  // An empty server file leaves nothing to compare with; that is worth a
  // warning and exit 1, not a stop.
  int exit_status = kExitOk;
  std::vector<std::uint8_t> server_bytes;
  if (!options.server.empty()) {
    std::shared_ptr<ICards> server;
    loaded = Load(library, options.server, global, &server, &result->server_count, &cut_off);
    if (loaded == kExitCancelled || loaded == kExitInput) return loaded;
    exit_status = loaded;
    if (server) server->GetAllItems(&server_bytes);
  }

  if (cut_off) exit_status = WorseExit(exit_status, kExitIncomplete);
  const EDRMethod method = options.method == "keep-original" ? drmKeepOriginal : drmNewest;
  if (method == drmNewest) {
    // Newest compares REV dates; a card without one is always added.
    const std::int32_t undated = CountWithoutRev(*client, result->client_count);
    if (undated > 0) {
      PrintWarning(global, DisplayName(options.client),
                   std::to_string(undated) + (undated == 1 ? " card has" : " cards have") +
                       " no REV, so --method newest adds them whatever the server holds; "
                       "--method keep-original compares them by content");
    }
  }
  std::shared_ptr<ICards> to_add, to_overwrite;
  const bool with_server = !server_bytes.empty();
  const HRESULT status =
      library.DR(Variant(client), with_server ? Variant(server_bytes) : Variant(), Variant(),
                 method, &to_add, with_server ? &to_overwrite : nullptr, &result->duplicates);
  if (Interrupted()) return kExitCancelled;
  if (FAILED(status)) {
    PrintError({}, "cannot resolve duplicates", status);
    return kExitInput;
  }

  if (to_add && SUCCEEDED(to_add->get_Count(&result->add_count))) {
    to_add->GetAllItems(&result->text);
    std::vector<std::uint8_t>& text = result->text;
    if (!text.empty() && text.back() != '\n') text.insert(text.end(), {'\r', '\n'});
    for (std::int32_t i = 0; i < result->add_count; ++i) {
      DedupeCard card;
      Describe(*to_add, i, &card);
      result->adds.push_back(std::move(card));
    }
  }
  if (to_overwrite && SUCCEEDED(to_overwrite->get_Count(&result->overwrite_count))) {
    for (std::int32_t i = 0; i < result->overwrite_count; ++i) {
      DedupeCard card;
      std::u16string tag;
      to_overwrite->Tag(i, &tag);
      card.position = OneBased(tag);
      Describe(*to_overwrite, i, &card);
      std::vector<std::uint8_t> bytes;
      to_overwrite->Item(i, &bytes);
      const std::vector<std::uint8_t> marked = MarkPosition(std::move(bytes), card.position);
      result->text.insert(result->text.end(), marked.begin(), marked.end());
      result->overwrites.push_back(std::move(card));
    }
  }
  result->resolved = true;
  return exit_status;
}

// The summary's counts and its JSON details.
void Summarise(const DedupeOptions& options, const DedupeResult& result, JobSummary* summary) {
  summary->counts = {{"read", "cards read", result.client_count},
                     {"serverCards", "server cards", result.server_count},
                     {"toAdd", "to add", result.add_count},
                     {"toOverwrite", "to overwrite", result.overwrite_count},
                     {"clientDuplicates", "client duplicates", result.duplicates}};
  summary->details = [&options, &result](JsonWriter& json) {
    json.Member("method", options.method);
    json.Key("cardsToAdd").BeginArray();
    for (const DedupeCard& card : result.adds) {
      json.BeginObject().Member("fileAs", card.file_as).Member("fullName", card.full_name);
      json.EndObject();
    }
    json.EndArray();
    json.Key("cardsToOverwrite").BeginArray();
    for (const DedupeCard& card : result.overwrites) {
      json.BeginObject();
      json.Key("serverPosition");
      json.Number(static_cast<std::int64_t>(std::strtoll(card.position.c_str(), nullptr, 10)));
      json.Member("fileAs", card.file_as).Member("fullName", card.full_name);
      json.EndObject();
    }
    json.EndArray();
  };
}

// Writes the cards to the output (standard output unless -o names a file;
// nothing there under --json); the exit status after it.
int WriteCards(const DedupeOptions& options, const GlobalOptions& global,
               const std::vector<std::uint8_t>& text, JobSummary* summary, int exit_status) {
  const bool to_stdout = options.output.empty() || options.output == "-";
  if (text.empty() || (to_stdout && global.json)) return exit_status;
  std::string error;
  const WriteResult result =
      to_stdout ? WriteStdout(text, &error) : WriteFileReplacing(options.output, text, &error);
  if (result == WriteResult::kCancelled) return kExitCancelled;
  if (result == WriteResult::kFailed) {
    PrintError(to_stdout ? "standard output" : options.output, "cannot write: " + error);
    return WorseExit(exit_status, kExitOutput);
  }
  if (!to_stdout) summary->files.push_back(options.output);
  return exit_status;
}

}  // namespace

int RunDedupe(const DedupeOptions& options, const GlobalOptions& global) {
  if (!CheckDedupeUsage(options, global)) return kExitUsage;
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status);
  if (!library) return kExitInput;

  JobSummary summary;
  summary.command = "dedupe";
  summary.output = options.output;
  DedupeResult result;
  int exit_status = Resolve(*library, options, global, &result);
  if (result.resolved) {
    Summarise(options, result, &summary);
    exit_status = WriteCards(options, global, result.text, &summary, exit_status);
  }
  summary.exit_status = exit_status;
  if (exit_status == kExitCancelled) PrintError({}, "cancelled; no output written");
  ReportSummary(summary, global);
  return exit_status;
}

}  // namespace velmora::cli
