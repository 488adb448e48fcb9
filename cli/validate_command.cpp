#include "validate_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <velmora/card_converter.h>
#include <velmora/unicode.h>

#include <fcntl.h>
#include <unistd.h>

#include "block_count.h"
#include "converter_session.h"
#include "input_file.h"
#include "interrupt.h"
#include "json_writer.h"
#include "progress_bar.h"

namespace velmora::cli {
namespace {

constexpr char kExamples[] = R"(Examples:
  velmora validate contacts.vcf
  velmora validate *.vcf || echo "some files are not vCard"
  velmora --json validate a.vcf b.vcf

A file is valid when it holds at least one complete card (BEGIN:VCARD to
END:VCARD). A valid file whose text ends inside a card (no END:VCARD) is
named with the cards left out. Exit 0 when every file is valid and whole, 1
when cards were left out, 3 when a file is not valid.)";

struct Validity {
  std::string file;
  bool valid = false;
  std::string reason;
  std::int32_t cut_off = 0;  // cards left out: the text ended before END:VCARD
};

// Why the library found no complete card in a file.
std::string Reason(const InputFile& input) {
  const int fd = open(input.path().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string("cannot read: ") + std::strerror(errno);
  close(fd);
  if (input.IsBlank()) return "empty";
  return "no complete card (BEGIN:VCARD to END:VCARD)";
}

}  // namespace

CLI::App* AddValidateCommand(CLI::App& app, ValidateOptions* options) {
  CLI::App* command = app.add_subcommand("validate", "Check that files hold vCard cards");
  command->add_option("FILE", options->files, "vCard files; - is standard input")->required();
  command->footer(kExamples);
  return command;
}

int RunValidate(const ValidateOptions& options, const GlobalOptions& global) {
  if (!ReadsStandardInputOnce(options.files, "validate")) return kExitUsage;
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status);
  if (!library) return kExitInput;

  ProgressBar progress(global);
  std::vector<Validity> results;
  for (const std::string& argument : options.files) {
    Validity result;
    InputFile input;
    const InputFile::OpenResult opened = input.Open(argument, &result.reason);
    result.file = input.name();
    if (opened == InputFile::OpenResult::kCancelled || Interrupted()) break;
    if (opened == InputFile::OpenResult::kOk) {
      bool valid = false;
      progress.Start(ProgressBar::Phase::kCounting);
      CardCount blocks;
      const bool counted = CountCardBlocks(*library, input.path(), &progress, &blocks);
      progress.Clear();
      if (counted) {
        valid = blocks.cards > 0;
        if (valid) result.cut_off = blocks.cut_off;
      } else {
        library->IsCardFileValid(Utf8ToUtf16(input.path()), &valid);
      }
      result.valid = valid;
      if (!valid) result.reason = Reason(input);
      if (valid && !counted) {
        // A valid file may still lose cards that lack their END:VCARD.
        progress.Start(ProgressBar::Phase::kCounting);
        std::int32_t file_errors = 0, count = 0;
        library->CountFilesContacts({Utf8ToUtf16(input.path())}, &file_errors, 0, &progress,
                                    &count);
        progress.Clear();
        result.cut_off = progress.skipped();
      }
    }
    results.push_back(std::move(result));
  }
  const auto invalid =
      std::count_if(results.begin(), results.end(), [](const Validity& v) { return !v.valid; });
  const bool any_cut_off =
      std::any_of(results.begin(), results.end(), [](const Validity& v) { return v.cut_off > 0; });
  int exit_status = invalid > 0 ? kExitInput : any_cut_off ? kExitIncomplete : kExitOk;
  if (Interrupted()) {
    PrintError({}, "cancelled");
    exit_status = kExitCancelled;
  }

  if (global.json) {
    JsonWriter json;
    json.BeginObject().Member("command", "validate").Member("exit", exit_status);
    json.Member("cancelled", exit_status == kExitCancelled);
    json.Key("files").BeginArray();
    for (const Validity& result : results) {
      json.BeginObject().Member("file", result.file).Member("valid", result.valid);
      if (!result.valid) json.Member("reason", result.reason);
      if (result.valid) json.Member("cutOff", result.cut_off);
      json.EndObject();
    }
    json.EndArray();
    json.Key("valid").Number(static_cast<std::int64_t>(results.size()) - invalid);
    json.Key("invalid").Number(static_cast<std::int64_t>(invalid));
    json.EndObject();
    std::fputs(json.str().c_str(), stdout);
    return exit_status;
  }
  for (const Validity& result : results) {
    if (result.valid && result.cut_off > 0) {
      std::printf("valid    %s: but %d %s no END:VCARD (cut off?) and %s left out\n",
                  result.file.c_str(), result.cut_off,
                  result.cut_off == 1 ? "card has" : "cards have",
                  result.cut_off == 1 ? "is" : "are");
    } else if (result.valid) {
      std::printf("valid    %s\n", result.file.c_str());
    } else {
      std::printf("invalid  %s: %s\n", result.file.c_str(), result.reason.c_str());
    }
  }
  return exit_status;
}

}  // namespace velmora::cli
