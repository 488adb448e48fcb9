#include "convert_command.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <thread>

#include <velmora/card_converter.h>
#include <velmora/unicode.h>

#include <sys/stat.h>
#include <unistd.h>

#include "block_conversion.h"
#include "card_blocks.h"
#include "conversion_report.h"
#include "converter_session.h"
#include "csv_input.h"
#include "csv_output.h"
#include "file_lists.h"
#include "input_file.h"
#include "interrupt.h"
#include "output_file.h"
#include "output_format.h"
#include "progress_bar.h"
#include "summary.h"
#include "target_charset.h"
#include "temporary_folder.h"
#include "workbook_input.h"
#include "workbook_output.h"

namespace velmora::cli {
namespace {

constexpr char kExamples[] = R"(Examples:
  velmora convert contacts.vcf -o contacts-3.0.vcf
  velmora convert old.vcf --vcard-version 2.1 --charset windows-1252 -o phone.vcf
  velmora convert a.vcf b.vcf --dedupe newest -o merged.vcf
  velmora convert contacts.vcf --split --vcard-version 2.1 -o cards/
  cat contacts.vcf | velmora convert - -o - > out.vcf
  velmora convert contacts.vcf -o contacts.csv --csv-dialect google
  velmora convert contacts.vcf -o kontakte.csv --locale 1031 --encoding windows-1252
  velmora convert outlook-export.csv -o contacts.vcf
  velmora convert contacts.vcf --to csv -o - | velmora convert - -o back.vcf
  velmora convert contacts.vcf -o contacts.xlsx --csv-dialect google
  velmora convert book.xlsx --sheet Contacts -o contacts.vcf

Each input is read as vCard when a line of it starts with BEGIN:VCARD (or it
is named .vcf), else as CSV, whose address book (Outlook, Outlook365,
Google, Nokia), separator, encoding and Outlook language are recognised from
its header row; --from, --separator, --input-encoding and --input-locale
say otherwise. A workbook (.xls, .xlsx, .xlsm, .xlsb, by its name) is read
as such a CSV file would be: its first sheet holding a data row, or the
sheet --sheet names (by name, else by position from 1). The output format
is --to, else the OUTPUT's extension (.vcf, .csv, .xls, .xlsx); standard
output takes vCard unless --to says otherwise. CSV is written as Outlook's
by default, in UTF-8 with a byte-order mark; a workbook holds the same rows
as text cells in one sheet named Contacts.

Several inputs are read in order and written as one file. With --split every
contact goes into a file of its own in the OUTPUT folder, named after the
contact ("Doe, John.vcf", "Doe, John[1].vcf", ...). -o FILE replaces an
existing FILE whole, or leaves it as it was when the run fails or is
cancelled. Cards left out by --max or --dedupe count as skipped (exit 1).)";

struct Job {
  OutputFormat format = OutputFormat::kVCard;
  double version = 3.0;
  TargetCharset charset;
  EDRMethod dr = drmNone;
  CsvReadOptions csv_input;
  CsvWriteOptions csv_output;
};

struct Totals {
  std::int64_t read = 0;
  std::int64_t written = 0;
  std::int64_t copied = 0;
  std::int64_t skipped = 0;
  std::int64_t errors = 0;
};

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

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

// The message for an input the library could not load; `why` receives it.
int ReportUnloadable(const InputFile& input, HRESULT status, const GlobalOptions& global,
                     std::string* why) {
  if (input.IsBlank()) {
    PrintWarning(global, input.name(), "empty, nothing to convert");
    return kExitIncomplete;
  }
  *why = NoCardsReason(status);
  PrintError(input.name(), *why, status);
  return kExitInput;
}

class Converter {
 public:
  Converter(const ConvertOptions& options, const GlobalOptions& global, const Job& job,
            ICardConverter& library)
      : options_(options), global_(global), job_(job), library_(library), progress_(global) {}

  int Run(std::vector<InputFile>& inputs, JobSummary* summary);
  const ConversionReport& report() const { return report_; }
  // An input that could not even be opened (its error was said).
  void AddFailedInput(const std::string& name, const std::string& why) {
    report_.AddFailedFile(name, why);
    ++failed_inputs_;
  }

 private:
  int Convert(std::vector<InputFile>& inputs);
  // Every input loaded whole, then written: what CSV, --split, --dedupe and
  // --max need.
  int ConvertWhole(std::vector<InputFile>& inputs);
  // Plain vCard files into one vCard output: read, converted and written
  // block by block on --jobs threads, in memory that does not grow with the
  // input. The same bytes, counts and messages as the whole-file way.
  bool CanStream(const std::vector<InputFile>& inputs) const;
  int Stream(std::vector<InputFile>& inputs);
  int StreamInput(const InputFile& input, BlockConversion& blocks, int exit_status);
  // What a block of the input gave: counted, reported, written.
  struct InputProgress {
    std::int64_t cards = 0;  // read so far: the events' card numbers go on from here
    std::int64_t handled = 0;
    std::int32_t cut_off = 0;
    bool written = false;  // some of its cards are in the output
  };
  void TakeBlock(BlockConversion& blocks, const InputFile& input, InputProgress* so_far);
  int FinishStream();
  int LoadAll(std::vector<InputFile>& inputs, std::vector<std::vector<std::uint8_t>>* buffers);
  void JoinBuffers(std::vector<std::vector<std::uint8_t>>* buffers);
  int Deduplicate(std::vector<std::vector<std::uint8_t>>* buffers);
  int Split(const std::vector<std::vector<std::uint8_t>>& buffers);
  int Write(const std::vector<std::vector<std::uint8_t>>& buffers);
  int WriteCsv(std::vector<std::vector<std::uint8_t>>* buffers);
  int LoadCsv(const InputFile& input, std::int64_t* remaining,
              std::vector<std::vector<std::uint8_t>>* buffers);
  // An input that could not be read: the job goes on without it unless
  // --fail-fast; returns the exit status so far.
  int InputFailed(const std::string& name, const std::string& why, int exit_status);
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
  // Whether each buffer holds cards made from CSV rows: those are new cards,
  // written even when already in the target version and charset.
  std::vector<bool> from_csv_;
  // The inputs each buffer's cards come from, for the report.
  std::vector<ConversionReport::Segments> segments_;
  ConversionReport report_;
  int failed_inputs_ = 0;
  std::string last_csv_error_;
  // Where --split writes: the OUTPUT folder, or a private one for a dry run.
  std::string folder_;
  TemporaryFolder dry_run_folder_;
  bool folder_created_ = false;
  // Streaming: the output as it grows, and why it could not be written.
  StreamedOutput stream_;
  bool stream_opened_ = false;
  std::string stream_failure_;  // the message, printed once the job is done
  std::string stream_failure_at_;
  std::int32_t stream_jobs_ = 1;
  bool stream_any_cards_ = false;
};

int Converter::InputFailed(const std::string& name, const std::string& why, int exit_status) {
  report_.AddFailedFile(name, why);
  ++failed_inputs_;
  return WorseExit(exit_status, options_.fail_fast ? kExitInput : kExitIncomplete);
}

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
  folder_ = options_.dry_run ? dry_run_folder_.path() : options_.output;
  report_.set_charset(job_.format == OutputFormat::kCsv ? job_.csv_output.encoding.label
                                                        : job_.charset.label);
  report_.set_keep_entries(options_.verbose || options_.dry_run || !options_.report.empty());
  library_.put_ConversionReport(&report_);
  const int exit_status = Convert(inputs);
  library_.put_ConversionReport(nullptr);
  progress_.Clear();
  if (options_.dry_run) files_written_.clear();  // they were in the private folder

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
    if (IsWorkbookInput(input, Lower(options_.from)) || IsCsvInput(input, Lower(options_.from))) {
      const int loaded = LoadCsv(input, &remaining, buffers);
      if (loaded == kExitCancelled) return loaded;
      exit_status = WorseExit(exit_status, loaded == kExitInput ? kExitOk : loaded);
      if (loaded == kExitInput) {
        exit_status = InputFailed(input.name(), last_csv_error_, exit_status);
        if (exit_status == kExitInput) return exit_status;
      }
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
    report_.AddCutOff(input.name(), cut_off);
    totals_.read += cut_off;
    totals_.skipped += cut_off;
    std::int32_t count = 0;
    if (FAILED(status) || !cards || FAILED(cards->get_Count(&count)) || count == 0) {
      std::string why;
      const int problem =
          ReportUnloadable(input, FAILED(status) ? status : E_GENERIC_FAILURE, global_, &why);
      if (problem == kExitInput) {
        exit_status = InputFailed(input.name(), why, exit_status);
        if (exit_status == kExitInput) return exit_status;
      } else {
        exit_status = WorseExit(exit_status, problem);
      }
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
    from_csv_.push_back(false);
    segments_.push_back({{input.name(), count}});
  }
  return exit_status;
}

// A CSV input's rows as vCards, at most --max of them (`remaining`).
int Converter::LoadCsv(const InputFile& input, std::int64_t* remaining,
                       std::vector<std::vector<std::uint8_t>>* buffers) {
  CsvCards read;
  // Import events name the row of this file.
  report_.SetSources({{input.name(), 0}});
  const int status =
      ReadTableCards(library_, input, Lower(options_.from), job_.csv_input, progress_, &read);
  if (status == kExitInput) {
    PrintError(input.name(), read.error, read.status);
    last_csv_error_ = read.error;
  }
  if (status != kExitOk) return status;
  totals_.read += read.cards + read.errors;
  totals_.errors += read.errors;
  if (read.errors > 0) {
    PrintWarning(
        global_, input.name(),
        std::to_string(read.errors) + (read.errors == 1 ? " row" : " rows") + " could not be read");
  }
  if (read.cards == 0) {
    if (read.errors == 0)
      PrintWarning(global_, input.name(), "no contact in it, nothing to convert");
    return kExitIncomplete;
  }
  if (options_.max > 0 && read.cards > *remaining) {
    // Only the first cards are kept; the rest count as skipped.
    std::shared_ptr<ICards> kept;
    library_.LoadMemory(read.vcards, static_cast<std::int32_t>(*remaining), nullptr, &kept);
    read.vcards.clear();
    if (kept) kept->GetAllItems(&read.vcards);
    totals_.skipped += read.cards - *remaining;
    read.cards = static_cast<std::int32_t>(*remaining);
  }
  if (options_.max > 0) *remaining -= read.cards;
  buffers->push_back(std::move(read.vcards));
  counts_.push_back(read.cards);
  from_csv_.push_back(true);
  segments_.push_back({{input.name(), read.cards}});
  return kExitOk;
}

// The cards of every input as one buffer, for duplicates across inputs.
void Converter::JoinBuffers(std::vector<std::vector<std::uint8_t>>* buffers) {
  std::vector<std::uint8_t> all;
  std::int32_t count = 0;
  for (std::size_t i = 0; i < buffers->size(); ++i) {
    AppendCards(&all, (*buffers)[i]);
    count += counts_[i];
  }
  ConversionReport::Segments segments;
  for (const ConversionReport::Segments& part : segments_) {
    segments.insert(segments.end(), part.begin(), part.end());
  }
  buffers->assign(1, std::move(all));
  counts_.assign(1, count);
  segments_.assign(1, std::move(segments));
  from_csv_.assign(1,
                   std::all_of(from_csv_.begin(), from_csv_.end(), [](bool csv) { return csv; }));
}

// Duplicates across every input: resolved on the cards as read, so the
// counts of the conversion that follows are those of the cards kept.
int Converter::Deduplicate(std::vector<std::vector<std::uint8_t>>* buffers) {
  JoinBuffers(buffers);
  std::vector<std::uint8_t> all = std::move(buffers->front());
  const bool from_csv = from_csv_.front();
  buffers->clear();
  counts_.clear();
  from_csv_.clear();
  segments_.assign(1, {});  // the kept cards no longer line up with the inputs
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
  from_csv_.push_back(from_csv);
  return kExitOk;
}

int Converter::Split(const std::vector<std::vector<std::uint8_t>>& buffers) {
  const std::string& folder = folder_;
  folder_created_ = !options_.dry_run && !IsFolder(folder) && access(folder.c_str(), F_OK) != 0;
  int exit_status = kExitOk;
  for (std::size_t i = 0; i < buffers.size(); ++i) {
    report_.SetSources(segments_[i]);
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
    report_.SetSources(segments_[i]);
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
    totals_.written += converted + (from_csv_[i] ? copied : 0);
    totals_.copied += from_csv_[i] ? 0 : copied;
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
  if (options_.dry_run) return kExitOk;
  std::string error;
  if (options_.output != "-" && !MakeParentFolders(options_.output, &error)) {
    PrintError(options_.output, "cannot create its folder: " + error + "; nothing written");
    totals_.errors += totals_.written + totals_.copied;
    totals_.written = 0;
    totals_.copied = 0;
    return kExitOutput;
  }
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

// CSV: the library writes every card (and leaves out duplicates) in one call.
int Converter::WriteCsv(std::vector<std::vector<std::uint8_t>>* buffers) {
  JoinBuffers(buffers);
  if (buffers->front().empty()) {
    if (totals_.read > 0) PrintError({}, "no card could be converted; nothing written");
    return kExitIncomplete;
  }
  if (options_.split && !options_.dry_run) {
    folder_created_ = !IsFolder(folder_) && access(folder_.c_str(), F_OK) != 0;
  }
  report_.SetSources(segments_.front());
  CsvWriteResult result;
  const int status =
      IsWorkbookFormat(job_.format)
          ? WriteWorkbookCards(library_, buffers->front(), counts_.front(), options_.output,
                               job_.format, job_.dr, job_.csv_output, !options_.dry_run, progress_,
                               &result)
          : WriteCsvCards(library_, buffers->front(), counts_.front(),
                          options_.split ? folder_ : options_.output, options_.split, job_.dr,
                          job_.csv_output, !options_.dry_run, progress_, &result);
  files_written_ = std::move(result.files);
  if (status == kExitCancelled) return status;
  totals_.written += result.saved;
  totals_.skipped += result.skipped;
  totals_.errors += result.errors;
  return status;
}

bool Converter::CanStream(const std::vector<InputFile>& inputs) const {
  if (job_.format != OutputFormat::kVCard || options_.split || job_.dr != drmNone ||
      options_.max > 0 || inputs.empty()) {
    return false;
  }
  for (const InputFile& input : inputs) {
    const std::string from = Lower(options_.from);
    if (IsWorkbookInput(input, from) || IsCsvInput(input, from)) return false;
    // Files that cannot be opened, UTF-16 and byte-order marks: the
    // whole-file way says and does what such inputs need.
    CardBlockReader reader(64 << 10);
    std::string error;
    if (!reader.Open(input.path(), &error) || !reader.plain()) return false;
  }
  return true;
}

int Converter::Stream(std::vector<InputFile>& inputs) {
  // No more workers than blocks: each opens a converter of its own.
  std::int64_t total = 0;
  for (const InputFile& input : inputs) {
    struct stat info {};
    if (stat(input.path().c_str(), &info) == 0) total += info.st_size;
  }
  const std::int64_t block = std::max<std::int64_t>(options_.block_size, 1);
  int jobs = options_.jobs > 0
                 ? options_.jobs
                 : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  jobs = static_cast<int>(std::min<std::int64_t>(jobs, total / block + 1));
  stream_jobs_ = jobs;
  BlockConversion blocks(jobs, {job_.version, job_.charset.code_page, job_.charset.iso_name},
                         [] { return Interrupted(); });
  const GlobalOptions& global = global_;
  if (!blocks.Start([&global] {
        HRESULT status = S_OK;
        return OpenConverter(global, &status);
      })) {
    return kExitInput;
  }
  progress_.Start(ProgressBar::Phase::kConverting);
  int exit_status = kExitOk;
  for (const InputFile& input : inputs) {
    exit_status = StreamInput(input, blocks, exit_status);
    if (exit_status == kExitCancelled || exit_status == kExitInput) return exit_status;
  }
  progress_.Clear();
  // Every input failed: nothing to convert.
  if (!stream_any_cards_ && failed_inputs_ > 0) return kExitInput;
  return WorseExit(exit_status, FinishStream());
}

// One input's blocks, converted and written in turn; returns the exit
// status so far.
int Converter::StreamInput(const InputFile& input, BlockConversion& blocks, int exit_status) {
  CardBlockReader reader(static_cast<std::size_t>(std::max<std::int64_t>(options_.block_size, 1)));
  std::string error;
  InputProgress so_far;
  bool read = reader.Open(input.path(), &error);
  while (read && !Interrupted()) {
    std::vector<std::uint8_t> block;
    const CardBlockReader::Result next = reader.Next(&block, &error);
    if (next != CardBlockReader::Result::kBlock) {
      read = next == CardBlockReader::Result::kEnd;
      break;
    }
    blocks.Submit(std::move(block), reader.at_end());
    // A few blocks ahead of the writer keep every worker busy.
    while (blocks.pending() >= 2 * static_cast<std::size_t>(stream_jobs_)) {
      TakeBlock(blocks, input, &so_far);
    }
  }
  while (blocks.pending() > 0) TakeBlock(blocks, input, &so_far);
  if (Interrupted()) return kExitCancelled;
  if (!read) {
    PrintError(input.name(), "cannot read: " + error);
    return InputFailed(input.name(), "cannot read: " + error, exit_status);
  }
  WarnCutOff(global_, input.name(), so_far.cut_off);
  report_.AddCutOff(input.name(), so_far.cut_off);
  totals_.read += so_far.cut_off;
  totals_.skipped += so_far.cut_off;
  if (so_far.cards > 0) return exit_status;
  std::string why;
  const int problem = ReportUnloadable(input, E_GENERIC_FAILURE, global_, &why);
  if (problem == kExitInput) return InputFailed(input.name(), why, exit_status);
  return WorseExit(exit_status, problem);
}

void Converter::TakeBlock(BlockConversion& blocks, const InputFile& input, InputProgress* so_far) {
  ConvertedBlock done = blocks.Take();
  if (Interrupted()) return;
  so_far->cards += done.cards;
  so_far->cut_off += done.cut_off;
  totals_.read += done.cards;
  if (done.cards == 0) return;
  stream_any_cards_ = true;
  const std::int32_t handled = done.converted + done.copied + done.errors;
  if (FAILED(done.status)) {
    PrintError({}, "cannot convert the cards", done.status);
    totals_.errors += handled;
    return;
  }
  report_.SetSources({{input.name(), static_cast<std::int32_t>(so_far->handled + handled)}});
  for (const RecordedEvent& event : done.events) {
    report_.OnConversionEvent(event.event, static_cast<std::int32_t>(so_far->handled + event.card),
                              event.name, event.what, event.count);
  }
  so_far->handled += handled;
  totals_.written += done.converted;
  totals_.copied += done.copied;
  totals_.errors += done.errors;
  progress_.OnCardConverterProgress(
      static_cast<std::int32_t>(totals_.written + totals_.copied + totals_.errors), 0,
      static_cast<std::int32_t>(totals_.written), static_cast<std::int32_t>(totals_.copied),
      static_cast<std::int32_t>(totals_.errors));
  if (done.text.empty() || options_.dry_run || !stream_failure_.empty()) return;
  std::string error;
  if (!stream_opened_) {
    if (options_.output != "-" && !MakeParentFolders(options_.output, &error)) {
      stream_failure_ = "cannot create its folder: " + error + "; nothing written";
      stream_failure_at_ = options_.output;
      return;
    }
    if (!stream_.Open(options_.output, &error)) {
      stream_failure_ = "cannot write: " + error + "; nothing written";
      return;
    }
    stream_opened_ = true;
  }
  // The library joins the cards of one call with a line break, so the
  // blocks of one input are joined the same way; an input's first cards
  // start on a line of their own.
  static const std::uint8_t kLineBreak[] = {'\r', '\n'};
  const bool line_break = so_far->written || (stream_.size() > 0 && stream_.last_byte() != '\n');
  so_far->written = true;
  if ((line_break && !stream_.Write(kLineBreak, 2, &error)) ||
      !stream_.Write(done.text.data(), done.text.size(), &error)) {
    stream_failure_ = "cannot write: " + error + "; nothing written";
    stream_.Discard();
  }
}

// The end of a streamed job: the last line break, then the output replaces
// its target, or the reason it could not.
int Converter::FinishStream() {
  if (totals_.written + totals_.copied == 0) {
    // Nothing to write: the reasons (empty inputs) were given already.
    if (totals_.read > 0) PrintError({}, "no card could be converted; nothing written");
    return kExitIncomplete;
  }
  if (options_.dry_run) return kExitOk;
  std::string error;
  static const std::uint8_t kLineBreak[] = {'\r', '\n'};
  if (stream_failure_.empty() && stream_.last_byte() != '\n' &&
      !stream_.Write(kLineBreak, 2, &error)) {
    stream_failure_ = "cannot write: " + error + "; nothing written";
  }
  if (stream_failure_.empty()) {
    const WriteResult result = stream_.Commit(&error);
    if (result == WriteResult::kCancelled) return kExitCancelled;
    if (result == WriteResult::kOk) {
      if (options_.output != "-") files_written_.push_back(options_.output);
      return kExitOk;
    }
    stream_failure_ = "cannot write: " + error + "; nothing written";
  }
  stream_.Discard();
  PrintError(!stream_failure_at_.empty() ? stream_failure_at_
             : options_.output == "-"    ? "standard output"
                                         : options_.output,
             stream_failure_);
  // The cards were converted but none reached the output.
  totals_.errors += totals_.written + totals_.copied;
  totals_.written = 0;
  totals_.copied = 0;
  return kExitOutput;
}

// Every job runs the same way: LoadFile reads each vCard input (byte-order
// marks, UTF-16 and charsets handled as for any file) and the CSV objects
// each CSV input; ConvertMemory, SaveMemory2 or SaveMemoryCSV2 writes the
// cards, and the command writes the result through a temporary file.
// (ConvertFile is not used: it leaves the last line of a file without
// its line break and writes nothing at all when the last card of the input
// lacks END:VCARD.)
int Converter::Convert(std::vector<InputFile>& inputs) {
  int exit_status = CanStream(inputs) ? Stream(inputs) : ConvertWhole(inputs);
  if (exit_status == kExitCancelled) return Cancelled();
  if (exit_status == kExitInput) return exit_status;
  if (totals_.written + totals_.copied == 0 && exit_status == kExitOk) {
    exit_status = kExitIncomplete;
  }
  if (totals_.skipped > 0 || totals_.errors > 0) {
    exit_status = WorseExit(exit_status, kExitIncomplete);
  }
  return exit_status;
}

int Converter::ConvertWhole(std::vector<InputFile>& inputs) {
  std::vector<std::vector<std::uint8_t>> buffers;
  int exit_status = LoadAll(inputs, &buffers);
  if (exit_status == kExitCancelled || exit_status == kExitInput) return exit_status;
  // Every input failed: nothing to convert.
  if (buffers.empty() && failed_inputs_ > 0) return kExitInput;
  const bool csv = IsTableFormat(job_.format);
  if (job_.dr != drmNone && (options_.split || csv)) {
    // SaveMemory2 and SaveMemoryCSV2 resolve the duplicates themselves,
    // among the cards of one call.
    JoinBuffers(&buffers);
  } else if (job_.dr != drmNone) {
    exit_status = WorseExit(exit_status, Deduplicate(&buffers));
    if (exit_status == kExitInput) return exit_status;
  }
  const int written = csv ? WriteCsv(&buffers) : options_.split ? Split(buffers) : Write(buffers);
  if (written == kExitCancelled) return written;
  return WorseExit(exit_status, written);
}

}  // namespace

CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions* options) {
  CLI::App* command =
      app.add_subcommand("convert",
                         "Convert vCard, CSV and workbook files to vCard 2.1 or 3.0, "
                         "CSV, .xls or .xlsx");
  command
      ->add_option("INPUT", options->inputs,
                   "vCard, CSV or workbook files, read in order; - is standard input")
      ->required();
  command
      ->add_option("-o,--output", options->output,
                   "Output file, - for standard output, or the folder for --split")
      ->required();
  command->add_option("--from", options->from, "Input format: vcard or csv (default: by content)")
      ->check(CLI::IsMember({"vcard", "csv"}, CLI::ignore_case));
  command
      ->add_option("--to", options->to,
                   "Output format: vcard, csv, xls or xlsx; default: from the OUTPUT "
                   "extension")
      ->check(CLI::IsMember({"vcard", "csv", "xls", "xlsx"}, CLI::ignore_case));
  command->add_option("--vcard-version", options->version, "vCard: 2.1 or 3.0 (default 3.0)")
      ->check(CLI::IsMember({"2.1", "3.0"}));
  CLI::Option* charset =
      command->add_option("--charset", options->charset,
                          "vCard: charset by name, e.g. windows-1252 or \"Cyrillic (Windows)\" "
                          "(default utf-8; see 'velmora encodings')");
  CLI::Option* code_page = command->add_option("--codepage", options->code_page,
                                               "vCard: charset by code page, e.g. 1252");
  charset->excludes(code_page);
  command->add_option("--separator", options->separator,
                      "CSV input: the separator, e.g. ';' or tab (default: detected)");
  command->add_option("--input-encoding", options->input_encoding,
                      "CSV input: the charset of text that is not UTF-8 or UTF-16 "
                      "(default: the Outlook language's, else the system's)");
  command->add_option("--input-locale", options->input_locale,
                      "CSV input: the Outlook language of the header row, by LID, e.g. 1031 "
                      "(default: detected; see 'velmora locales')");
  command->add_option("--sheet", options->sheet,
                      "Workbook input: the sheet to read, by name or number from 1 (default: "
                      "the first holding a data row)");
  command
      ->add_option("--csv-dialect", options->csv_dialect,
                   "CSV and workbook output: outlook (default), outlook365, google (Google's "
                   "earlier layout) or google2 (Google Contacts' current one); with --from csv "
                   "also reads an input of no known address book")
      ->check(CLI::IsMember({"outlook", "outlook365", "google", "google2"}, CLI::ignore_case));
  command->add_option("--locale", options->locale,
                      "CSV and workbook output: the Outlook language of names and words, by LID, "
                      "e.g. 1031");
  command->add_option("--encoding", options->encoding,
                      "CSV output: utf-8 (default), utf-16, utf-16be, a charset name or a "
                      "code page");
  command->add_flag("--no-bom", options->no_bom, "CSV output: no byte-order mark");
  command->add_flag("--split", options->split, "Write one file per contact into the OUTPUT folder");
  command
      ->add_option("--dedupe", options->dedupe,
                   "Leave out duplicate contacts: none (default), newest (the newest REV "
                   "wins), keep-original")
      ->check(CLI::IsMember({"none", "newest", "keep-original"}));
  command->add_option("--max", options->max, "Convert at most N cards (0: all)")
      ->check(CLI::NonNegativeNumber);
  command->add_option("--input-charset", options->input_charset,
                      "vCard input: the charset of 2.1 values that name none (default: UTF-8 "
                      "when they are, else the system's)");
  command->add_flag("-r,--recursive", options->recursive,
                    "A folder INPUT: the .vcf files of its subfolders too");
  command->add_flag("--clean", options->clean,
                    "--split: remove the folder's files of the output format first");
  command->add_option("--report", options->report,
                      "Write every loss (card by card) to this JSON file");
  command->add_flag("-v,--verbose", options->verbose, "List every loss on standard error");
  command->add_flag("--strict", options->strict, "Exit 1 when anything was lost");
  command->add_flag("--dry-run", options->dry_run,
                    "Convert without writing anything, and list what would be lost");
  command->add_flag("--fail-fast", options->fail_fast,
                    "Stop at the first input that cannot be read (default: go on)");
  command
      ->add_option("-j,--jobs", options->jobs,
                   "Threads converting a large vCard input block by block (default: one per core)")
      ->check(CLI::NonNegativeNumber);
  command
      ->add_option("--block-size", options->block_size,
                   "Bytes of whole cards each of those threads converts at a time (default 2 MiB)")
      ->check(CLI::PositiveNumber);
  command->footer(kExamples);
  return command;
}

namespace {

// The options that belong to the other output format, named for the error.
std::string OptionsOfTheOtherFormat(const ConvertOptions& options, bool csv_output) {
  std::vector<std::string> given;
  if (csv_output) {
    if (!options.version.empty()) given.push_back("--vcard-version");
    if (!options.charset.empty()) given.push_back("--charset");
    if (options.code_page != ConvertOptions::kNoCodePage) given.push_back("--codepage");
  } else {
    // --csv-dialect also serves a CSV input read with --from csv.
    if (!options.csv_dialect.empty() && Lower(options.from) != "csv") {
      given.push_back("--csv-dialect");
    }
    if (!options.locale.empty()) given.push_back("--locale");
    if (!options.encoding.empty()) given.push_back("--encoding");
    if (options.no_bom) given.push_back("--no-bom");
  }
  std::string names;
  for (const std::string& name : given) names += (names.empty() ? "" : ", ") + name;
  return names;
}

// The separator of --separator: one character, or "tab".
bool SeparatorFromOption(const std::string& text, std::string* separator) {
  if (text == "tab" || text == "\\t") {
    *separator = "\t";
  } else if (text.size() == 1 && text[0] != '"' && text[0] != '\r' && text[0] != '\n') {
    *separator = text;
  } else {
    return false;
  }
  return true;
}

// Checks an Outlook LID against the loaded locales.
bool IsKnownLocale(ICardConverter& library, const std::string& lid) {
  std::shared_ptr<ICsvOutlookLocale> locale;
  std::u16string found;
  return SUCCEEDED(library.get_CsvOutlookLocalesItem(Variant(Utf8ToUtf16(lid)), &locale)) &&
         locale && SUCCEEDED(locale->get_LID(&found)) && !found.empty();
}

// The CSV settings of the command line; false after a usage error.
bool CsvSettings(const ConvertOptions& options, Job* job) {
  if (!options.separator.empty() &&
      !SeparatorFromOption(options.separator, &job->csv_input.separator)) {
    PrintUsageError("--separator takes one character, or tab", "convert");
    return false;
  }
  if (!options.input_encoding.empty()) {
    CsvEncoding encoding;
    if (!FindCsvEncoding(options.input_encoding, &encoding)) {
      PrintUsageError("unknown encoding '" + options.input_encoding +
                          "'; 'velmora encodings' lists the supported ones",
                      "convert");
      return false;
    }
    job->csv_input.code_page = encoding.code_page;
  }
  job->csv_input.locale = options.input_locale;
  job->csv_input.sheet = options.sheet;
  job->csv_input.any_dialect = Lower(options.from) == "csv" && !options.csv_dialect.empty();
  if (!options.csv_dialect.empty()) {
    CsvDialectByName(Lower(options.csv_dialect), &job->csv_output.dialect);
  }
  job->csv_output.locale = options.locale;
  if (!options.locale.empty() && job->csv_output.dialect != vlmcsvOutlook) {
    PrintUsageError("--locale is for Outlook CSV only (--csv-dialect outlook)", "convert");
    return false;
  }
  if (!options.encoding.empty() && !FindCsvEncoding(options.encoding, &job->csv_output.encoding)) {
    PrintUsageError(
        "unknown encoding '" + options.encoding + "'; 'velmora encodings' lists the supported ones",
        "convert");
    return false;
  }
  job->csv_output.byte_order_mark = !options.no_bom;
  return true;
}

}  // namespace

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
  job.format = ChooseOutputFormat(options.to, options.output, options.split);
  if (job.format == OutputFormat::kNotYet) {
    PrintError(options.output, kWorkbookNotSupported);
    return kExitUsage;
  }
  if (job.format == OutputFormat::kUnknown) {
    PrintUsageError("cannot tell the format of '" + options.output +
                        "' from its name; name it .vcf, .csv, .xls or .xlsx, or give --to",
                    "convert");
    return kExitUsage;
  }
  const bool csv_output = IsTableFormat(job.format);
  if (const std::string other = OptionsOfTheOtherFormat(options, csv_output); !other.empty()) {
    PrintUsageError(other + (csv_output ? " only for vCard output" : " only for CSV output"),
                    "convert");
    return kExitUsage;
  }
  if (!CsvSettings(options, &job)) return kExitUsage;
  if (IsWorkbookFormat(job.format) &&
      (options.split || !options.encoding.empty() || options.no_bom)) {
    PrintUsageError(options.split ? "--split writes vCard or CSV files, not workbooks"
                                  : "--encoding and --no-bom are for CSV output only",
                    "convert");
    return kExitUsage;
  }
  if (options.split && options.output == "-") {
    PrintUsageError("--split needs a folder as OUTPUT, not standard output", "convert");
    return kExitUsage;
  }
  if (!KeepsJsonApart(global, options.output, "convert") ||
      !ReadsStandardInputOnce(options.inputs, "convert")) {
    return kExitUsage;
  }

  if (!options.input_charset.empty()) {
    TargetCharset input;
    if (!FindCharsetByName(options.input_charset, &input) || input.code_page <= 0) {
      PrintUsageError("unknown charset '" + options.input_charset +
                          "'; 'velmora encodings' lists the supported ones",
                      "convert");
      return kExitUsage;
    }
    // Read by the library when it first decodes a value.
    setenv("VELMORA_VCARD21_CODEPAGE", std::to_string(input.code_page).c_str(), 1);
  }
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status, true);
  if (!library) return kExitInput;
  for (const std::string* lid : {&options.locale, &options.input_locale}) {
    if (!lid->empty() && !IsKnownLocale(*library, *lid)) {
      PrintUsageError("unknown Outlook locale '" + *lid + "'; 'velmora locales' lists them",
                      "convert");
      return kExitUsage;
    }
  }

  Converter converter(options, global, job, *library);
  JobSummary summary;
  summary.command = "convert";
  summary.output = options.output;
  summary.details = [&](JsonWriter& json) {
    if (IsWorkbookFormat(job.format)) {
      json.Member("format", job.format == OutputFormat::kXls ? "xls" : "xlsx");
      json.Member("dialect", DialectName(job.csv_output.dialect));
      json.Member("locale", job.csv_output.locale);
    } else if (csv_output) {
      json.Member("format", "csv");
      json.Member("dialect", DialectName(job.csv_output.dialect));
      json.Member("locale", job.csv_output.locale);
      json.Member("encoding", job.csv_output.encoding.label);
      json.Member("byteOrderMark", job.csv_output.byte_order_mark);
    } else {
      json.Member("format", "vcard");
      json.Member("version", job.version == 2.1 ? "2.1" : "3.0");
      json.Member("charset", job.charset.label);
      json.Member("codePage", job.charset.code_page);
    }
    json.Member("dryRun", options.dry_run);
    converter.report().AddCounts(json);
  };

  std::vector<InputFile> inputs;
  const std::vector<std::string> arguments = ExpandFolders(options.inputs, options.recursive);
  for (const std::string& argument : arguments) {
    if (arguments.size() > 1 && IsSameFile(argument, options.output)) {
      // Say "*.vcf -o all.vcf" twice: the second run must not merge all.vcf
      // into itself.
      PrintWarning(global, argument, "is also the output; left out");
      continue;
    }
    InputFile input;
    std::string error;
    const InputFile::OpenResult opened = input.Open(argument, &error);
    if (opened == InputFile::OpenResult::kCancelled) {
      PrintError({}, "cancelled; no output written");
      summary.exit_status = kExitCancelled;
      ReportSummary(summary, global);
      return kExitCancelled;
    }
    if (opened == InputFile::OpenResult::kUnreadable) {
      PrintError(input.name(), error);
      if (options.fail_fast) {
        summary.exit_status = kExitInput;
        ReportSummary(summary, global);
        return kExitInput;
      }
      converter.AddFailedInput(input.name(), error);
      continue;
    }
    inputs.push_back(std::move(input));
  }
  if (options.split && options.clean && !options.dry_run) {
    CleanFolder(options.output, csv_output ? ".csv" : ".vcf", global);
  } else if (options.split && !options.dry_run) {
    WarnAboutFilesInFolder(options.output, csv_output ? ".csv" : ".vcf", global);
  }

  int exit_status = converter.Run(inputs, &summary);
  const ConversionReport& report = converter.report();
  if (options.strict && !report.empty()) exit_status = WorseExit(exit_status, kExitIncomplete);
  summary.exit_status = exit_status;
  if ((options.verbose || options.dry_run) && !global.quiet && !global.json) report.PrintList();
  ReportSummary(summary, global);
  if (!global.quiet && !global.json) {
    if (const std::string line = report.SummaryLine(); !line.empty()) {
      std::fputs(("velmora: lost: " + line + "\n").c_str(), stderr);
    }
    if (options.dry_run) std::fputs("velmora: dry run: nothing was written\n", stderr);
  }
  if (!options.report.empty()) {
    const std::string text = report.Json("convert");
    std::string error;
    if (WriteFileReplacing(options.report, std::vector<std::uint8_t>(text.begin(), text.end()),
                           &error) != WriteResult::kOk) {
      PrintError(options.report, "cannot write the report: " + error);
      exit_status = WorseExit(exit_status, kExitOutput);
    }
  }
  return exit_status;
}

}  // namespace velmora::cli
