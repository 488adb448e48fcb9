// A vCard document: the content being read (one buffer, always followed by a
// zero byte) and the items found in it, in content order.
//
// Reading never fails loudly: lines that cannot be read are logged with their
// reason and skipped, and reading goes on with the next line. Every name,
// parameter and value of every item is a slice of the content buffer, so the
// items (and everything taken from them) live exactly as long as the
// document's current content: until Clear, the next load or destruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/status.h>

#include "foundation/log.h"
#include "vcard/card_block_pool.h"
#include "vcard/card_charset_table.h"
#include "vcard/card_content_decoding.h"
#include "vcard/card_doc_item.h"
#include "vcard/card_item_ptr.h"
#include "vcard/card_load_progress.h"
#include "vcard/card_param_arena.h"

namespace velmora::vcard {

// How a load ended.
enum class LoadResult : int {
  kComplete = 0,  // at least one item was read, and the text to its end
  kStopped = 1,   // at least one item, but the callback stopped loading or a card had no END:VCARD
  kNoItem = -1,   // no item was read (bad arguments included)
};

// How a load reads the bytes it is given.
struct LoadOptions {
  // The text ends at its first zero byte; a negative length means it runs
  // to that byte.
  bool zero_terminated = false;
  // Byte-order marks and UTF-16 are decoded, and zero bytes replaced, first.
  bool decode_content = false;
  // Told of each item as soon as it is complete; may be null.
  ICardLoadProgress* progress = nullptr;
};

// A load's result as the status the file load returns: S_OK, S_FALSE, or -1
// (a failure) for no item.
constexpr HRESULT LoadResultStatus(LoadResult result) { return static_cast<HRESULT>(result); }

class CCardDoc {
 public:
  static constexpr std::int32_t kMaxContentLength = kMaxCardContentLength;

  // `extra_charsets` go after the built-in charsets (see CCardCharsetTable).
  explicit CCardDoc(CLog& log, const CharsetPairs& extra_charsets = {});
  ~CCardDoc();
  CCardDoc(const CCardDoc&) = delete;
  CCardDoc& operator=(const CCardDoc&) = delete;

  // Reads `length` bytes of `buffer` (a copy is made; with
  // `zero_terminated` it stops at the first zero byte).
  LoadResult Load(const char* buffer, std::int32_t length, const LoadOptions& options = {});
  // The same, taking `buffer` over instead of copying it: its first `length`
  // bytes are the content.
  LoadResult Load(std::string&& buffer, std::int32_t length, const LoadOptions& options = {});

  // Reads a whole file and loads it zero-terminated with its content
  // decoded, parsing the read buffer itself. A file that cannot be read
  // gives its status (logged under "CCardDoc.LoadFromFile"; a file beyond
  // kMaxContentLength bytes gives HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE))
  // and leaves the document empty; otherwise Load's result as a status
  // (LoadResultStatus).
  HRESULT LoadFromFile(const std::filesystem::path& file, ICardLoadProgress* progress = nullptr);
  // Copies and loads bytes, decoding BOMs and UTF-16 when `decode_content`.
  LoadResult LoadFromMemory(const char* buffer, std::int32_t length, bool decode_content,
                            ICardLoadProgress* progress = nullptr);
  // Copies and loads zero-terminated text.
  LoadResult LoadFromString(const char* text, ICardLoadProgress* progress = nullptr);

  // Destroys the items (last first) and frees the content.
  void Clear();

  // With false, each item is dropped as soon as the load callback has
  // handled it, so a load holds one item's properties at a time instead of
  // the whole file's: for callers that consume the items as they come
  // (conversion, collecting texts, counting). The load's result is the same;
  // the document is left without items. Default true.
  void set_keep_items(bool keep) { keep_items_ = keep; }

  int GetItemCount() const { return static_cast<int>(items_.size()); }
  const CCardDocItem* GetItem(int index) const {
    return index >= 0 && index < GetItemCount() ? items_[index].get() : nullptr;
  }
  const std::vector<CardItemPtr>& items() const { return items_; }

  // The file given to LoadFromFile; emptied by the other loads.
  const std::filesystem::path& file_name() const { return file_name_; }
  // True when loading stripped a UTF-8 byte-order mark or turned UTF-16 into
  // UTF-8: every value is then UTF-8, whatever its CHARSET says.
  bool ContentIsUtf8() const { return content_is_utf8_; }
  // The cards of the last load that were cut off (no END:VCARD before the
  // text ended) and so left out.
  std::int32_t incomplete_items() const { return incomplete_items_; }
  // The content as the reader saw it (after decoding and control-character
  // replacement); empty after Clear or a load that found no item.
  std::string_view content() const {
    return std::string_view(storage_.data(), static_cast<std::size_t>(length_));
  }

  // The code page of a CHARSET value (-1 and a warning when unknown), and the
  // charset name of a code page (empty and a warning when unknown).
  int CodepageToFromCharset(std::string_view charset) const;
  std::string CodepageToFromCharset(int code_page) const;

  CLog& log() const { return log_; }

 private:
  // False, with a log line, for content beyond kMaxContentLength bytes.
  bool FitsContentLimit(std::size_t size) const;
  // Takes storage_ (the content; the string's terminator is the zero byte
  // that ends the text) through decoding, control characters and parsing.
  LoadResult Parse(const LoadOptions& options);

  CLog& log_;
  CCardCharsetTable charsets_;
  std::filesystem::path file_name_;
  std::string storage_;
  std::int32_t length_ = 0;
  bool content_is_utf8_ = false;
  bool keep_items_ = true;
  std::int32_t incomplete_items_ = 0;
  // Items, their properties and parameters live in pools owned here; the
  // pools keep their blocks for the next load.
  CardParamArena params_;
  CardBlockPool<CCardDocItemProp> prop_pool_{16384};
  CardBlockPool<CCardDocItem> item_pool_{1024};
  std::vector<CardItemPtr> items_;
};

}  // namespace velmora::vcard
