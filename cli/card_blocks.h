// Reading a vCard file in blocks of whole cards, so that a conversion holds
// a few blocks in memory rather than the whole file, and independent blocks
// can be converted on several cores.
//
// A block ends only where the library's reader would end a card anyway:
// before a BEGIN:VCARD line that follows an END:VCARD line closing a card
// (blank lines may sit between), when that END line is not the continuation
// of a quoted-printable soft line break and does not close a card embedded
// by an AGENT property. Where that cannot be told for sure, the block goes
// on: a larger block is always correct, a wrong cut never.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

// Follows the lines of vCard text and remembers the last place a block may
// end. Lines may arrive in pieces: Feed takes the text as it grows.
class CardBoundaryScanner {
 public:
  // Scans text[scanned()..) up to the last complete line; `at_end` when no
  // more text will come (the last line then needs no line break).
  void Feed(std::string_view text, bool at_end);
  // The offset of the last line start where a block may end; 0: none yet.
  std::size_t last_cut() const { return last_cut_; }
  std::size_t scanned() const { return scanned_; }
  // After the block [0, cut) was taken away: offsets now count from `cut`.
  void Shift(std::size_t cut);

 private:
  void Line(std::string_view line, std::size_t start);

  std::size_t scanned_ = 0;
  std::size_t last_cut_ = 0;
  int depth_ = 0;                     // cards open: 1 a card, more for AGENT cards
  bool after_empty_agent_ = false;    // the last line was "AGENT:" with no value
  bool previous_soft_break_ = false;  // the last line ended with '='
  bool closed_here_ = false;          // the last non-blank line closed a top-level card cleanly
};

// The blocks of one file. The first bytes tell whether it can be read in
// blocks at all: UTF-16 and a UTF-8 byte-order mark apply to the whole text,
// so such files are converted whole.
class CardBlockReader {
 public:
  explicit CardBlockReader(std::size_t block_bytes) : block_bytes_(block_bytes) {}
  ~CardBlockReader();
  CardBlockReader(const CardBlockReader&) = delete;
  CardBlockReader& operator=(const CardBlockReader&) = delete;

  // Opens `path` and reads its first bytes; `error` receives the reason of
  // a failure.
  bool Open(const std::string& path, std::string* error);
  // False when the file starts with a byte-order mark or looks like UTF-16.
  bool plain() const { return plain_; }

  enum class Result { kBlock, kEnd, kFailed };
  // The next block of whole cards, at least the block size unless the file
  // ends first (the last block is the rest of the file, whatever it holds).
  Result Next(std::vector<std::uint8_t>* block, std::string* error);
  // True once the block given last ends the file.
  bool at_end() const { return eof_ && buffer_.empty(); }

 private:
  bool Fill(std::string* error);

  std::size_t block_bytes_;
  int fd_ = -1;
  bool plain_ = true;
  bool eof_ = false;
  std::vector<std::uint8_t> buffer_;
  CardBoundaryScanner scanner_;
};

}  // namespace velmora::cli
