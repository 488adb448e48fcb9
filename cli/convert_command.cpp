#include "convert_command.h"

#include <cstdint>
#include <memory>

#include <velmora/card_converter.h>
#include <velmora/unicode.h>

#include <unistd.h>

#include "converter_session.h"
#include "input_file.h"
#include "interrupt.h"
#include "output_file.h"
#include "output_format.h"
#include "progress_bar.h"
#include "summary.h"
#include "target_charset.h"

namespace velmora::cli {
namespace {

constexpr char kExamples[] = R"(Examples:
  velmora convert contacts.vcf -o contacts-3.0.vcf
  velmora convert old.vcf --vcard-version 2.1 --charset windows-1252 -o phone.vcf
  velmora convert a.vcf b.vcf --dedupe newest -o merged.vcf
  velmora convert contacts.vcf --split --vcard-version 2.1 -o cards/
  cat contacts.vcf | velmora convert - -o - > out.vcf

Several inputs are read in order and written as one file. With --split every
contact goes into a file of its own in the OUTPUT folder, named after the
contact ("Doe, John.vcf", "Doe, John[1].vcf", ...). -o FILE replaces an
existing FILE whole, or leaves it as it was when the run fails or is
cancelled. Cards left out by --max or --dedupe count as skipped (exit 1).)";

struct Job {
  double version = 3.0;
  TargetCharset charset;
  EDRMethod dr = drmNone;
};

struct Totals {
  std::int64_t read = 0;
  std::int64_t written = 0;
  std::int64_t copied = 0;
  std::int64_t skipped = 0;
  std::int64_t errors = 0;
};

EDRMethod MethodFromName(const std::string& name) {
  if (name == "newest") return drmNewest;
  if (name == "keep-original") return drmKeepOriginal;
  return drmNone;
}

void AppendCards(std::vector<std::uint8_t>* to, const std::vector<std::uint8_t>& cards) {
  if (cards.empty()) return;
  if (!to->empty() && to->back() != '\n') {
    to->push_back('\r');
    to->push_back('\n');
  }
  to->insert(to->end(), cards.begin(), cards.end());
}

// Converted text ends without a line break after its last card.
void EndWithLineBreak(std::vector<std::uint8_t>* text) {
  if (!text->empty() && text->back() != '\n') {
    text->push_back('\r');
    text->push_back('\n');
  }
}

// The message for an input the library could not load.
int ReportUnloadable(const InputFile& input, HRESULT status, const GlobalOptions& global) {
  if (input.IsBlank()) {
    PrintWarning(global, input.name(), "empty, nothing to convert");
    return kExitIncomplete;
  }
  if (status == E_GENERIC_FAILURE) {
    PrintError(input.name(), "not a vCard file: no complete card (BEGIN:VCARD to END:VCARD)",
               status);
  } else {
    std::string what = "cannot read";
    if (const std::string meaning = StatusMeaning(status); !meaning.empty()) {
      what += ": " + meaning;
    }
    PrintError(input.name(), what, status);
  }
  return kExitInput;
}

class Converter {
 public:
  Converter(const ConvertOptions& options, const GlobalOptions& global, const Job& job,
            ICardConverter& library)
      : options_(options), global_(global), job_(job), library_(library), progress_(global) {}

  int Run(std::vector<InputFile>& inputs, JobSummary* summary);

 private:
  int Convert(std::vector<InputFile>& inputs);
  int LoadAll(std::vector<InputFile>& inputs, std::vector<std::vector<std::uint8_t>>* buffers);
  void JoinBuffers(std::vector<std::vector<std::uint8_t>>* buffers);
  int Deduplicate(std::vector<std::vector<std::uint8_t>>* buffers);
  int Split(const std::vector<std::vector<std::uint8_t>>& buffers);
  int Write(const std::vector<std::vector<std::uint8_t>>& buffers);
  std::int64_t CountCards(const std::string& path);
  int Cancelled();

  const ConvertOptions& options_;
  const GlobalOptions& global_;
  const Job& job_;
  ICardConverter& library_;
  ProgressBar progress_;
  Totals totals_;
  std::vector<std::string> files_written_;
  // The number of cards of each buffer, for the progress bar.
  std::vector<std::int32_t> counts_;
  bool folder_created_ = false;
};

int Converter::Cancelled() {
  progress_.Clear();
  // Files of --split written before the cancel are new files (the library
  // never overwrites in that mode), so removing them restores the folder.
  for (const std::string& file : files_written_) unlink(file.c_str());
  if (folder_created_) rmdir(options_.output.c_str());
  files_written_.clear();
  PrintError({}, "cancelled; no output written");
  return kExitCancelled;
}

int Converter::Run(std::vector<InputFile>& inputs, JobSummary* summary) {
  const int exit_status = Convert(inputs);
  progress_.Clear();

  summary->exit_status = exit_status;
  summary->counts = {{"read", "cards read", totals_.read},
                     {"written", "written", totals_.written},
                     {"copied", "copied", totals_.copied},
                     {"skipped", "skipped", totals_.skipped},
                     {"errors", "errors", totals_.errors}};
  summary->files = files_written_;
  return exit_status;
}

std::int64_t Converter::CountCards(const std::string& path) {
  progress_.Start(ProgressBar::Phase::kCounting);
  std::int32_t file_errors = 0, count = 0;
  library_.CountFilesContacts({Utf8ToUtf16(path)}, &file_errors, 0, &progress_, &count);
  return count;
}

// Every input through LoadFile: the cards of each file (byte-order marks and
// UTF-16 already undone), at most --max of them in all.
int Converter::LoadAll(std::vector<InputFile>& inputs,
                       std::vector<std::vector<std::uint8_t>>* buffers) {
  int exit_status = kExitOk;
  std::int64_t remaining = options_.max;
  for (InputFile& input : inputs) {
    if (options_.max > 0 && remaining == 0) {
      // Beyond --max: only counted, for the summary.
      const std::int64_t beyond = CountCards(input.path());
      if (Interrupted()) return kExitCancelled;
      totals_.read += beyond;
      totals_.skipped += beyond;
      continue;
    }
    progress_.Start(ProgressBar::Phase::kLoading);
    std::shared_ptr<ICards> cards;
    const HRESULT status = library_.LoadFile(
        Utf8ToUtf16(input.path()), options_.max > 0 ? static_cast<std::int32_t>(remaining) : 0,
        false, &progress_, &cards);
    progress_.Clear();
    if (Interrupted()) return kExitCancelled;
    const std::int32_t cut_off = progress_.skipped();
    WarnCutOff(global_, input.name(), cut_off);
    totals_.read += cut_off;
    totals_.skipped += cut_off;
    std::int32_t count = 0;
    if (FAILED(status) || !cards || FAILED(cards->get_Count(&count)) || count == 0) {
      const int problem =
          ReportUnloadable(input, FAILED(status) ? status : E_GENERIC_FAILURE, global_);
      if (problem == kExitInput) return problem;
      exit_status = WorseExit(exit_status, problem);
      continue;
    }
    totals_.read += count;
    if (options_.max > 0) {
      remaining -= count;
      if (remaining == 0) {
        const std::int64_t all = CountCards(input.path());
        if (Interrupted()) return kExitCancelled;
        if (all > count) {
          totals_.read += all - count;
          totals_.skipped += all - count;
        }
      }
    }
    std::vector<std::uint8_t> bytes;
    cards->GetAllItems(&bytes);
    buffers->push_back(std::move(bytes));
    counts_.push_back(count);
  }
  return exit_status;
}

// The cards of every input as one buffer, for duplicates across inputs.
void Converter::JoinBuffers(std::vector<std::vector<std::uint8_t>>* buffers) {
  std::vector<std::uint8_t> all;
  std::int32_t count = 0;
  for (std::size_t i = 0; i < buffers->size(); ++i) {
    AppendCards(&all, (*buffers)[i]);
    count += counts_[i];
  }
  buffers->assign(1, std::move(all));
  counts_.assign(1, count);
}

// Duplicates across every input: resolved on the cards as read, so the
// counts of the conversion that follows are those of the cards kept.
int Converter::Deduplicate(std::vector<std::vector<std::uint8_t>>* buffers) {
  JoinBuffers(buffers);
  std::vector<std::uint8_t> all = std::move(buffers->front());
  buffers->clear();
  counts_.clear();
  if (all.empty()) return kExitOk;
  std::shared_ptr<ICards> to_add;
  std::int32_t duplicates = 0;
  const HRESULT status = library_.DR(Variant(std::move(all)), Variant(), Variant(), job_.dr,
                                     &to_add, nullptr, &duplicates);
  if (FAILED(status)) {
    PrintError({}, "cannot resolve duplicates", status);
    return kExitInput;
  }
  totals_.skipped += duplicates;
  std::vector<std::uint8_t> kept;
  std::int32_t count = 0;
  if (to_add) {
    to_add->GetAllItems(&kept);
    to_add->get_Count(&count);
  }
  buffers->push_back(std::move(kept));
  counts_.push_back(count);
  return kExitOk;
}

int Converter::Split(const std::vector<std::vector<std::uint8_t>>& buffers) {
  const std::string& folder = options_.output;
  folder_created_ = !IsFolder(folder) && access(folder.c_str(), F_OK) != 0;
  int exit_status = kExitOk;
  for (std::size_t i = 0; i < buffers.size(); ++i) {
    const std::vector<std::uint8_t>& buffer = buffers[i];
    if (buffer.empty()) continue;
    progress_.Start(ProgressBar::Phase::kSaving, counts_[i]);
    std::int32_t saved = 0, skipped_all = 0, skipped_dups = 0, io_errors = 0, errors = 0;
    std::vector<std::u16string> names;
    const HRESULT status = library_.SaveMemory2(buffer, Utf8ToUtf16(folder), u"", false, &saved,
                                                &skipped_all, &skipped_dups, &io_errors, &errors,
                                                job_.version, job_.charset.code_page,
                                                job_.charset.iso_name, job_.dr, &progress_, &names);
    progress_.Clear();
    for (const std::u16string& name : names) files_written_.push_back(Utf16ToUtf8(name));
    if (Interrupted()) return kExitCancelled;
    totals_.written += saved;
    totals_.skipped += skipped_all;
    totals_.errors += errors;  // a card whose file failed is among them
    if (io_errors > 0 || (FAILED(status) && saved == 0 && errors == 0)) {
      std::string what = "cannot write " + std::to_string(io_errors > 0 ? io_errors : 1) +
                         (io_errors == 1 ? " file" : " files");
      if (const std::string meaning = StatusMeaning(status); !meaning.empty()) {
        what += ": " + meaning;
      }
      PrintError(folder, what, FAILED(status) ? status : S_OK);
      exit_status = WorseExit(exit_status, kExitOutput);
    }
  }
  return exit_status;
}

int Converter::Write(const std::vector<std::vector<std::uint8_t>>& buffers) {
  std::vector<std::uint8_t> text;
  for (std::size_t i = 0; i < buffers.size(); ++i) {
    const std::vector<std::uint8_t>& buffer = buffers[i];
    if (buffer.empty()) continue;
    progress_.Start(ProgressBar::Phase::kConverting, counts_[i]);
    std::int32_t converted = 0, copied = 0, errors = 0;
    std::vector<std::uint8_t> out;
    const HRESULT status =
        library_.ConvertMemory(buffer, &converted, &copied, &errors, job_.version,
                               job_.charset.code_page, job_.charset.iso_name, &out, &progress_);
    progress_.Clear();
    if (Interrupted()) return kExitCancelled;
    if (FAILED(status)) {
      PrintError({}, "cannot convert the cards", status);
      totals_.errors += converted + copied + errors;
      continue;
    }
    totals_.written += converted;
    totals_.copied += copied;
    totals_.errors += errors;
    if (text.empty()) {
      text = std::move(out);  // the first (often only) input: no second copy
    } else {
      AppendCards(&text, out);
    }
  }
  if (text.empty()) {
    // Nothing to write: the reasons (empty inputs) were given already.
    if (totals_.read > 0) PrintError({}, "no card could be converted; nothing written");
    return kExitIncomplete;
  }
  EndWithLineBreak(&text);
  std::string error;
  const WriteResult result = options_.output == "-"
                                 ? WriteStdout(text, &error)
                                 : WriteFileReplacing(options_.output, text, &error);
  if (result == WriteResult::kCancelled) return kExitCancelled;
  if (result == WriteResult::kFailed) {
    PrintError(options_.output == "-" ? "standard output" : options_.output,
               "cannot write: " + error + "; nothing written");
    // The cards were converted but none reached the output.
    totals_.errors += totals_.written + totals_.copied;
    totals_.written = 0;
    totals_.copied = 0;
    return kExitOutput;
  }
  if (options_.output != "-") files_written_.push_back(options_.output);
  return kExitOk;
}

// Every job runs the same way: LoadFile reads each input (byte-order marks,
// UTF-16 and charsets handled as for any file), ConvertMemory or SaveMemory2
// writes the cards, and the command writes the result through a temporary
// file. (ConvertFile is not used: it leaves the last line of a file without
// its line break and writes nothing at all when the last card of the input
// lacks END:VCARD.)
int Converter::Convert(std::vector<InputFile>& inputs) {
  std::vector<std::vector<std::uint8_t>> buffers;
  int exit_status = LoadAll(inputs, &buffers);
  if (exit_status == kExitCancelled) return Cancelled();
  if (exit_status == kExitInput) return exit_status;
  if (job_.dr != drmNone && options_.split) {
    // SaveMemory2 resolves the duplicates itself, among the cards of one call.
    JoinBuffers(&buffers);
  } else if (job_.dr != drmNone) {
    exit_status = WorseExit(exit_status, Deduplicate(&buffers));
    if (exit_status == kExitInput) return exit_status;
  }
  const int written = options_.split ? Split(buffers) : Write(buffers);
  if (written == kExitCancelled) return Cancelled();
  exit_status = WorseExit(exit_status, written);
  if (totals_.written + totals_.copied == 0 && exit_status == kExitOk) {
    exit_status = kExitIncomplete;
  }
  if (totals_.skipped > 0 || totals_.errors > 0) {
    exit_status = WorseExit(exit_status, kExitIncomplete);
  }
  return exit_status;
}

}  // namespace

CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions* options) {
  CLI::App* command =
      app.add_subcommand("convert", "Convert vCard files to vCard 2.1 or 3.0 in a chosen charset");
  command->add_option("INPUT", options->inputs, "vCard files, read in order; - is standard input")
      ->required();
  command
      ->add_option("-o,--output", options->output,
                   "Output file, - for standard output, or the folder for --split")
      ->required();
  command
      ->add_option("--to", options->to,
                   "Output format: vcard (csv, xls and xlsx are not supported yet); "
                   "default: from the OUTPUT extension")
      ->check(CLI::IsMember({"vcard", "csv", "xls", "xlsx"}, CLI::ignore_case));
  command->add_option("--vcard-version", options->version, "2.1 or 3.0 (default 3.0)")
      ->check(CLI::IsMember({"2.1", "3.0"}));
  CLI::Option* charset = command->add_option(
      "--charset", options->charset,
      "Charset of the output by name, e.g. windows-1252 or \"Cyrillic (Windows)\" "
      "(default utf-8; see 'velmora encodings')");
  CLI::Option* code_page = command->add_option("--codepage", options->code_page,
                                               "Charset of the output by code page, e.g. 1252");
  charset->excludes(code_page);
  command->add_flag("--split", options->split, "Write one file per contact into the OUTPUT folder");
  command
      ->add_option("--dedupe", options->dedupe,
                   "Leave out duplicate contacts: none (default), newest (the newest REV "
                   "wins), keep-original")
      ->check(CLI::IsMember({"none", "newest", "keep-original"}));
  command->add_option("--max", options->max, "Convert at most N cards (0: all)")
      ->check(CLI::NonNegativeNumber);
  command->footer(kExamples);
  return command;
}

int RunConvert(const ConvertOptions& options, const GlobalOptions& global) {
  Job job;
  job.version = options.version == "2.1" ? 2.1 : 3.0;
  job.dr = MethodFromName(options.dedupe);
  job.charset = DefaultCharset();
  if (!options.charset.empty() && !FindCharsetByName(options.charset, &job.charset)) {
    PrintUsageError(
        "unknown charset '" + options.charset + "'; 'velmora encodings' lists the supported ones",
        "convert");
    return kExitUsage;
  }
  if (options.code_page != ConvertOptions::kNoCodePage &&
      !FindCharsetByCodePage(options.code_page, &job.charset)) {
    PrintUsageError("unknown code page " + std::to_string(options.code_page) +
                        "; 'velmora encodings' lists the supported ones",
                    "convert");
    return kExitUsage;
  }
  if (!RequireVCardOutput(options.to, options.output, options.split, "convert", true)) {
    return kExitUsage;
  }
  if (options.split && options.output == "-") {
    PrintUsageError("--split needs a folder as OUTPUT, not standard output", "convert");
    return kExitUsage;
  }
  if (global.json && options.output == "-") {
    PrintUsageError("--json and -o - cannot both use standard output", "convert");
    return kExitUsage;
  }
  int stdin_inputs = 0;
  for (const std::string& input : options.inputs) stdin_inputs += input == "-" ? 1 : 0;
  if (stdin_inputs > 1) {
    PrintUsageError("standard input (-) can be read only once", "convert");
    return kExitUsage;
  }

  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status);
  if (!library) return kExitInput;

  JobSummary summary;
  summary.command = "convert";
  summary.output = options.output;
  summary.details = [&](JsonWriter& json) {
    json.Member("format", "vcard");
    json.Member("version", options.version);
    json.Member("charset", job.charset.label);
    json.Member("codePage", job.charset.code_page);
  };

  std::vector<InputFile> inputs(options.inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    std::string error;
    const InputFile::OpenResult opened = inputs[i].Open(options.inputs[i], &error);
    if (opened == InputFile::OpenResult::kCancelled) {
      PrintError({}, "cancelled; no output written");
      summary.exit_status = kExitCancelled;
      ReportSummary(summary, global);
      return kExitCancelled;
    }
    if (opened == InputFile::OpenResult::kUnreadable) {
      PrintError(inputs[i].name(), error);
      summary.exit_status = kExitInput;
      ReportSummary(summary, global);
      return kExitInput;
    }
  }

  Converter converter(options, global, job, *library);
  const int exit_status = converter.Run(inputs, &summary);
  ReportSummary(summary, global);
  return exit_status;
}

}  // namespace velmora::cli
