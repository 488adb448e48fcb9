#include "automation/card_loader.h"

#include <algorithm>

#include "foundation/code_page.h"
#include "vcard/card_parser.h"

namespace velmora::automation {
namespace {

constexpr char kLoadLabel[] = "CComCardConverter.LoadFrom";

// Follows the cards of a load: reports each to the caller's callback and
// passes its cancel on to the parser.
class LoadProgress final : public vcard::ICardParserConsumer {
 public:
  LoadProgress(ICardConverterProgress* progress, const std::vector<std::string>* cards)
      : progress_(progress), cards_(cards) {}

  bool OnParsedItem(const contact::ContactRecord&, const vcard::CCardDocItem&) override {
    return true;
  }
  bool OnCollectedItem(const vcard::CCardDocItem&) override {
    ++handled_;
    if (progress_ == nullptr) return true;
    return Report();
  }

  void add_file_error() { ++file_errors_; }
  // Cards cut off by the end of their text count as skipped, and the caller
  // hears of them at once.
  void AddCutOff(std::int32_t count) {
    skipped_ += count;
    if (progress_ != nullptr) Report();
  }
  bool cancelled() const { return cancelled_; }

 private:
  ICardConverterProgress* progress_;
  bool Report() {
    const auto kept = static_cast<std::int32_t>(cards_->size());
    progress_->OnCardConverterProgress(handled_, handled_, kept, skipped_, file_errors_);
    if (progress_->IsCardConverterCancelled()) cancelled_ = true;
    return !cancelled_;
  }

  const std::vector<std::string>* cards_;
  std::int32_t handled_ = 0;
  std::int32_t skipped_ = 0;
  std::int32_t file_errors_ = 0;
  bool cancelled_ = false;
};

// The value of X-ZORVA-SOURCE: the path with 3.0 escapes; the parameter
// list names UTF-8 when the path is not ASCII.
std::string SourceLine(const std::filesystem::path& file) {
  const std::string& path = file.native();
  std::string line = "X-ZORVA-SOURCE";
  if (!codepage::IsAscii(path)) line += ";CHARSET=UTF-8";
  line.push_back(':');
  for (char c : path) {
    if (c == '\\' || c == ',' || c == ';') line.push_back('\\');
    if (c == '\r' || c == '\n') c = ' ';
    line.push_back(c);
  }
  line += "\r\n";
  return line;
}

// A card cut off by the end of the file (an interrupted copy, a cut mail
// attachment) is left out; the reader logged it without the file's name.
void NoteCutOff(CLog& log, vcard::CCardDoc& doc, const std::filesystem::path& file,
                LoadProgress& progress) {
  const std::int32_t cut = doc.incomplete_items();
  if (cut == 0) return;
  log.LogWarning(kLoadLabel, S_FALSE, "%d card(s) without END:VCARD left out of %s", cut,
                 file.empty() ? std::string("memory") : file.native());
  progress.AddCutOff(cut);
}

bool IsLineStart(const std::string& text, std::size_t at) {
  return at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r';
}

}  // namespace

void AddSourceProperty(std::string& card, const std::filesystem::path& file) {
  // The last line that starts with "END:" (any case) closes the card.
  std::size_t at = std::string::npos;
  for (std::size_t i = card.size(); i-- > 0;) {
    if (i + 4 <= card.size() && IsLineStart(card, i) && (card[i] == 'E' || card[i] == 'e') &&
        (card[i + 1] == 'N' || card[i + 1] == 'n') && (card[i + 2] == 'D' || card[i + 2] == 'd') &&
        card[i + 3] == ':') {
      at = i;
      break;
    }
  }
  if (at == std::string::npos) return;
  card.insert(at, SourceLine(file));
}

HRESULT LoadCardsFrom(CConverterContext& context, const CardLoadRequest& request,
                      std::vector<std::string>* cards) {
  CLog& log = context.log();
  if (request.source != csrcFile && request.source != csrcMemory && request.source != csrcFiles) {
    log.LogError(kLoadLabel, E_GENERIC_FAILURE, "Invalid eSrc = %d", request.source);
    return E_GENERIC_FAILURE;
  }
  vcard::CCardParser parser(log, context.charsets());
  LoadProgress progress(request.progress, cards);
  vcard::ParseOptions options{
      .mode = vcard::ParseMode::kCollect, .consumer = &progress, .texts = cards};
  // Only the texts are kept: each item goes once collected.
  parser.document().set_keep_items(false);

  const auto remaining = [&]() -> std::int32_t {
    if (request.max_contacts <= 0) return 0;
    return request.max_contacts - static_cast<std::int32_t>(cards->size());
  };

  if (request.source == csrcMemory) {
    if (request.memory.size() > static_cast<std::size_t>(vcard::CCardDoc::kMaxContentLength)) {
      log.LogError(kLoadLabel, HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE),
                   "vCard text of %u bytes is too large", request.memory.size());
      return HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE);
    }
    options.maximum = remaining();
    const vcard::LoadResult loaded = parser.LoadMemory(
        request.memory.data(), static_cast<std::int32_t>(request.memory.size()), options);
    if (!progress.cancelled()) NoteCutOff(log, parser.document(), {}, progress);
    if (progress.cancelled()) return S_FALSE;
    return loaded == vcard::LoadResult::kNoItem ? vcard::LoadResultStatus(loaded) : S_OK;
  }

  HRESULT first_failure = S_OK;
  bool any_loaded = false;
  for (const std::filesystem::path& file : request.files) {
    if (request.max_contacts > 0 && remaining() <= 0) break;
    options.maximum = remaining();
    const std::size_t before = cards->size();
    const HRESULT loaded = parser.LoadFile(file, options);
    if (!progress.cancelled()) NoteCutOff(log, parser.document(), file, progress);
    if (FAILED(loaded)) {
      log.LogError(kLoadLabel, loaded, "Cant load file %s", file.native());
      if (first_failure == S_OK) first_failure = loaded;
      progress.add_file_error();
    } else {
      any_loaded = true;
    }
    if (request.add_source_prop) {
      for (std::size_t i = before; i < cards->size(); ++i) AddSourceProperty((*cards)[i], file);
    }
    if (progress.cancelled()) return S_FALSE;
  }
  return any_loaded || first_failure == S_OK ? S_OK : first_failure;
}

namespace {

// Counts the items of each file and reports the running total.
class CountProgress final : public vcard::ICardParserConsumer {
 public:
  explicit CountProgress(ICardConverterProgress* progress) : progress_(progress) {}

  bool OnParsedItem(const contact::ContactRecord&, const vcard::CCardDocItem&) override {
    return true;
  }
  bool OnCollectedItem(const vcard::CCardDocItem&) override {
    ++in_file_;
    return Report();
  }

  // Cards cut off by the end of their file are reported as skipped.
  void AddCutOff(std::int32_t count) {
    if (count == 0) return;
    skipped_ += count;
    Report();
  }

  void StartFile(std::int32_t earlier, std::int32_t file_errors) {
    earlier_ = earlier;
    file_errors_ = file_errors;
    in_file_ = 0;
  }
  bool cancelled() const { return cancelled_; }

 private:
  bool Report() {
    if (progress_ == nullptr) return true;
    progress_->OnCardConverterProgress(0, earlier_ + in_file_, 0, skipped_, file_errors_);
    if (progress_->IsCardConverterCancelled()) cancelled_ = true;
    return !cancelled_;
  }

  ICardConverterProgress* progress_;
  std::int32_t skipped_ = 0;
  std::int32_t earlier_ = 0;
  std::int32_t in_file_ = 0;
  std::int32_t file_errors_ = 0;
  bool cancelled_ = false;
};

}  // namespace

HRESULT CountCardsOfFiles(CConverterContext& context,
                          const std::vector<std::filesystem::path>& files,
                          std::int32_t max_contacts, ICardConverterProgress* progress,
                          std::int32_t* count, std::int32_t* file_errors) {
  *count = 0;
  *file_errors = 0;
  vcard::CCardParser parser(context.log(), context.charsets());
  CountProgress counter(progress);
  parser.document().set_keep_items(false);
  HRESULT last = S_OK;
  for (const std::filesystem::path& file : files) {
    counter.StartFile(*count, *file_errors);
    const HRESULT loaded =
        parser.LoadFile(file, {.mode = vcard::ParseMode::kCollect,
                               .consumer = &counter,
                               .maximum = max_contacts > 0 ? max_contacts - *count : 0});
    if (!counter.cancelled()) counter.AddCutOff(parser.document().incomplete_items());
    if (FAILED(loaded)) {
      ++*file_errors;
      last = loaded;
    } else {
      *count += parser.count();
      last = S_OK;
    }
    if (counter.cancelled() || (max_contacts > 0 && *count >= max_contacts)) return S_FALSE;
  }
  return last;
}

namespace {

// Stops the load at the first complete item.
class FirstItem final : public vcard::ICardParserConsumer {
 public:
  bool OnParsedItem(const contact::ContactRecord&, const vcard::CCardDocItem&) override {
    return false;
  }
  bool OnCollectedItem(const vcard::CCardDocItem&) override {
    found_ = true;
    return false;
  }
  bool found() const { return found_; }

 private:
  bool found_ = false;
};

}  // namespace

bool IsCardFileValid(CConverterContext& context, const std::filesystem::path& file) {
  vcard::CCardParser parser(context.log(), context.charsets());
  FirstItem first;
  const HRESULT loaded =
      parser.LoadFile(file, {.mode = vcard::ParseMode::kCollect, .consumer = &first});
  return SUCCEEDED(loaded) && first.found();
}

}  // namespace velmora::automation
