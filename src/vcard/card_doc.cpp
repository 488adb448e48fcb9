#include "vcard/card_doc.h"

#include <cstring>
#include <memory>

#include "foundation/file_system.h"
#include "foundation/text_util.h"
#include "vcard/card_keyword.h"
#include "vcard/card_line_reader.h"

namespace velmora::vcard {
namespace {

constexpr char kLoadLabel[] = "CCardDoc.Load";
constexpr char kFileLabel[] = "CCardDoc.LoadFromFile";

// The numbers Load's assertion lines carry, one per kind of refused call.
enum LoadAssertion : int {
  kNoBuffer = 1,              // no buffer given
  kUncountedLength = 3,       // a negative length for text that is not zero-terminated
  kUncountedOwnedLength = 4,  // the same for a string taken over
  kLengthBeyondBuffer = 5,    // a length past the end of the string taken over
};

// NAME:VCARD, the value trimmed.
bool IsVcardKeyword(const CCardDocItemProp& prop, std::string_view name) {
  return KeywordEquals(prop.name(), name) && KeywordEquals(text::Trim(prop.raw_value()), "VCARD");
}

}  // namespace

CCardDoc::CCardDoc(CLog& log, const CharsetPairs& extra_charsets)
    : log_(log), charsets_(extra_charsets), params_(log) {}

CCardDoc::~CCardDoc() { Clear(); }

void CCardDoc::Clear() {
  // Last first, as the items were read; the objects themselves need no
  // destruction and go with their pools.
  while (!items_.empty()) items_.pop_back();
  item_pool_.Reset();
  prop_pool_.Reset();
  params_.Clear();
  std::string().swap(storage_);
  length_ = 0;
  content_is_utf8_ = false;
  incomplete_items_ = 0;
}

LoadResult CCardDoc::Load(const char* buffer, std::int32_t length, const LoadOptions& options) {
  Clear();
  if (buffer == nullptr) {
    log_.LogAssert(false, kLoadLabel, kNoBuffer);
    return LoadResult::kNoItem;
  }
  std::size_t size;
  if (length < 0) {
    if (!options.zero_terminated) {
      log_.LogAssert(false, kLoadLabel, kUncountedLength);
      return LoadResult::kNoItem;
    }
    size = std::strlen(buffer);
  } else if (options.zero_terminated) {
    size = strnlen(buffer, static_cast<std::size_t>(length));
  } else {
    size = static_cast<std::size_t>(length);
  }
  if (!FitsContentLimit(size)) return LoadResult::kNoItem;
  storage_.assign(buffer, size);
  length_ = static_cast<std::int32_t>(size);
  return Parse(options);
}

LoadResult CCardDoc::Load(std::string&& buffer, std::int32_t length, const LoadOptions& options) {
  Clear();
  std::size_t size;
  if (length < 0) {
    if (!options.zero_terminated) {
      log_.LogAssert(false, kLoadLabel, kUncountedOwnedLength);
      return LoadResult::kNoItem;
    }
    size = strnlen(buffer.data(), buffer.size());
  } else if (static_cast<std::size_t>(length) > buffer.size()) {
    log_.LogAssert(false, kLoadLabel, kLengthBeyondBuffer);
    return LoadResult::kNoItem;
  } else {
    size = static_cast<std::size_t>(length);
  }
  if (!FitsContentLimit(size)) return LoadResult::kNoItem;
  storage_ = std::move(buffer);
  storage_.resize(size);
  length_ = static_cast<std::int32_t>(size);
  return Parse(options);
}

bool CCardDoc::FitsContentLimit(std::size_t size) const {
  if (size <= static_cast<std::size_t>(kMaxContentLength)) return true;
  log_.LogError(kLoadLabel, HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE),
                "Content too large(%d bytes)", size);
  return false;
}

LoadResult CCardDoc::Parse(const LoadOptions& options) {
  if (options.decode_content) {
    if (!DecodeCardContent(log_, storage_, length_, file_name_, content_is_utf8_)) {
      Clear();
      return LoadResult::kNoItem;
    }
  }
  ICardLoadProgress* const progress = options.progress;
  const std::int32_t replaced = ReplaceControlChars(storage_.data(), length_);
  if (replaced > 0) {
    log_.LogInfo(kLoadLabel, "Found & fixed %d control(unprintable) char(s)", replaced);
  }

  CardParserLL parser(log_, params_, storage_.data() + length_);
  const char* cursor = storage_.data();
  CCardDocItemProp prop(log_);
  bool stopped = false;
  bool missing_end = false;  // the text ended inside a card
  bool cut_off = false;      // a card ended without END, where the next began
  std::int32_t delivered = 0;
  const char* const end = storage_.data() + length_;
  for (;;) {
    if (stopped || missing_end) break;
    // A byte-order mark at the start of a line marks the card that follows
    // as UTF-8: files joined by cat, cards this library handed on.
    const char* line = cursor;
    while (line < end && (*line == '\r' || *line == '\n')) ++line;
    const bool marked = StartsWithUtf8Mark(line, end);
    if (marked) cursor = line + 3;
    if (!parser.GetNextProp(cursor, prop)) break;
    if (!KeywordEquals(prop.name(), "BEGIN")) {
      log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "Searching BEGIN: unexpected PROP(%s)",
                    prop.name());
      continue;
    }
    const std::string_view begin_value = text::Trim(prop.raw_value());
    if (!KeywordEquals(begin_value, "VCARD")) {
      log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "BEGIN: unknown value(%s)", begin_value);
      continue;
    }
    CCardDocItem* item = item_pool_.Emplace(log_, this, prop);
    item->utf8_mark_ = marked;
    // The properties are read straight into their places in the pool.
    CCardDocItemProp* run = nullptr;
    std::size_t count = 0;
    bool complete = false;
    bool ends_here = false;
    // Cards embedded by 2.1 AGENT values ("AGENT:" and BEGIN:VCARD on the
    // next line) are read as properties of the card around them.
    int agent_depth = 0;
    bool after_empty_agent = false;
    for (;;) {
      CCardDocItemProp* slot =
          ::new (static_cast<void*>(prop_pool_.Append(run, count))) CCardDocItemProp(log_);
      if (!parser.GetNextProp(cursor, *slot)) {
        prop_pool_.Unappend();
        break;
      }
      if (IsVcardKeyword(*slot, "BEGIN")) {
        if (after_empty_agent) {
          ++agent_depth;
        } else {
          // Another card begins: this one was cut off. It ends here and the
          // BEGIN line is read again as the start of the next.
          cursor = slot->line_;
          prop_pool_.Unappend();
          ends_here = true;
          break;
        }
      } else if (KeywordEquals(slot->name(), "END")) {
        const std::string_view end_value = text::Trim(slot->raw_value());
        if (KeywordEquals(end_value, "VCARD")) {
          if (agent_depth == 0) {
            const CCardDocItemProp end = *slot;
            prop_pool_.Unappend();
            item->Complete(run, static_cast<std::int32_t>(count), end);
            complete = true;
            break;
          }
          --agent_depth;
        } else {
          log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "END: unknown  value(\"%s\")", end_value);
        }
      }
      after_empty_agent =
          KeywordEquals(slot->name(), "AGENT") && text::Trim(slot->raw_value()).empty();
      slot->item_ = item;
      item->NoteProp(*slot);
      ++count;
    }
    if (!complete) {
      log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "Error - no END:VCARD");
      if (!ends_here) {
        // The item and its properties are dropped with the pools' next reset.
        ++incomplete_items_;
        missing_end = true;
        break;
      }
      item->CompleteCutOff(run, static_cast<std::int32_t>(count));
      cut_off = true;
    }
    items_.emplace_back(item);
    ++delivered;
    if (progress != nullptr && !progress->OnCardLoaded(*item)) stopped = true;
    if (!keep_items_) {
      // Handled: the pools' slots serve the next item.
      items_.clear();
      item_pool_.Reset();
      prop_pool_.Reset();
      params_.Clear();
    }
  }
  if (delivered == 0) {
    const std::int32_t incomplete = incomplete_items_;
    Clear();
    incomplete_items_ = incomplete;
    return LoadResult::kNoItem;
  }
  return stopped || missing_end || cut_off ? LoadResult::kStopped : LoadResult::kComplete;
}

HRESULT CCardDoc::LoadFromFile(const std::filesystem::path& file, ICardLoadProgress* progress) {
  Clear();
  file_name_ = file;
  std::string buffer;
  const HRESULT status =
      files::ReadWholeFile(file, buffer, static_cast<std::uint64_t>(kMaxContentLength));
  if (FAILED(status)) {
    log_.LogError(kFileLabel, status, files::ReadFailureStep(status));
    return status;
  }
  const auto size = static_cast<std::int32_t>(buffer.size());
  return LoadResultStatus(
      Load(std::move(buffer), size,
           {.zero_terminated = true, .decode_content = true, .progress = progress}));
}

LoadResult CCardDoc::LoadFromMemory(const char* buffer, std::int32_t length, bool decode_content,
                                    ICardLoadProgress* progress) {
  Clear();
  file_name_.clear();
  return Load(buffer, length, {.decode_content = decode_content, .progress = progress});
}

LoadResult CCardDoc::LoadFromString(const char* text, ICardLoadProgress* progress) {
  Clear();
  file_name_.clear();
  return Load(text, -1, {.zero_terminated = true, .progress = progress});
}

int CCardDoc::CodepageToFromCharset(std::string_view charset) const {
  return charsets_.CodepageFromCharset(log_, charset);
}

std::string CCardDoc::CodepageToFromCharset(int code_page) const {
  return charsets_.CharsetFromCodepage(log_, code_page);
}

}  // namespace velmora::vcard
