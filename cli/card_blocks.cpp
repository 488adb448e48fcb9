#include "card_blocks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace velmora::cli {
namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Upper(text[i]) != prefix[i]) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

// "BEGIN:VCARD" or "END:VCARD" in the plainest form (any case, blanks
// around the value): the only form a block boundary is trusted to.
bool IsVcardLine(std::string_view line, std::string_view keyword) {
  if (!StartsWithNoCase(line, keyword) || line.size() <= keyword.size() ||
      line[keyword.size()] != ':') {
    return false;
  }
  const std::string_view value = Trim(line.substr(keyword.size() + 1));
  return value.size() == 5 && StartsWithNoCase(value, "VCARD");
}

// "AGENT:" (parameters allowed) with no value: a 2.1 card embedded on the
// lines that follow.
bool IsEmptyAgent(std::string_view line) {
  if (!StartsWithNoCase(line, "AGENT") || line.size() == 5) return false;
  if (line[5] != ':' && line[5] != ';') return false;
  const std::size_t colon = line.find(':');
  return colon != std::string_view::npos && Trim(line.substr(colon + 1)).empty();
}

}  // namespace

void CardBoundaryScanner::Feed(std::string_view text, bool at_end) {
  while (scanned_ < text.size()) {
    const void* found = std::memchr(text.data() + scanned_, '\n', text.size() - scanned_);
    std::size_t end;
    std::size_t next;
    if (found != nullptr) {
      end = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
      next = end + 1;
    } else if (at_end) {
      end = next = text.size();
    } else {
      return;  // the rest of the line is still to come
    }
    std::string_view line = text.substr(scanned_, end - scanned_);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Line(line, scanned_);
    scanned_ = next;
  }
}

void CardBoundaryScanner::Line(std::string_view line, std::size_t start) {
  if (Trim(line).empty()) {
    previous_soft_break_ = false;
    return;  // blank lines between cards change nothing
  }
  if (IsBlankChar(line.front())) {
    // A folded continuation: an END line it continues was no END after all.
    if (closed_here_) depth_ = 1;
    closed_here_ = false;
  } else if (IsVcardLine(line, "BEGIN")) {
    if (depth_ == 0) {
      if (closed_here_ && start > 0) last_cut_ = start;
      depth_ = 1;
    } else if (after_empty_agent_) {
      ++depth_;
    } else {
      depth_ = 1;  // the card before was cut off; this one starts anew
    }
    closed_here_ = false;
  } else if (IsVcardLine(line, "END")) {
    // After a soft line break the END line may be part of a value: the card
    // is then taken as closed, but no block may end after it.
    closed_here_ = depth_ == 1 && !previous_soft_break_;
    if (depth_ > 0) --depth_;
  } else {
    closed_here_ = false;
  }
  after_empty_agent_ = IsEmptyAgent(line);
  previous_soft_break_ = line.back() == '=';
}

void CardBoundaryScanner::Shift(std::size_t cut) {
  scanned_ -= cut;
  last_cut_ = 0;
}

CardBlockReader::~CardBlockReader() {
  if (fd_ >= 0) close(fd_);
}

bool CardBlockReader::Open(const std::string& path, std::string* error) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    *error = std::strerror(errno);
    return false;
  }
  if (!Fill(error)) return false;
  // The marks the library's reader looks for at the start of the text.
  const auto* b = reinterpret_cast<const unsigned char*>(buffer_.data());
  if (buffer_.size() >= 2) {
    plain_ = !((buffer_.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) ||
               (b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF) ||
               (b[0] != 0 && b[1] == 0) || (b[0] == 0 && b[1] != 0));
  }
  return true;
}

bool CardBlockReader::Fill(std::string* error) {
  // Reads in steps of a quarter block (at least 64 KB), straight into the
  // buffer's end.
  const std::size_t step = std::max<std::size_t>(block_bytes_ / 4, 64u << 10);
  const std::size_t had = buffer_.size();
  buffer_.resize(had + step);
  std::size_t got = 0;
  while (got < step) {
    const ssize_t n = read(fd_, buffer_.data() + had + got, step - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      buffer_.resize(had + got);
      *error = std::strerror(errno);
      return false;
    }
    if (n == 0) {
      eof_ = true;
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  buffer_.resize(had + got);
  return true;
}

CardBlockReader::Result CardBlockReader::Next(std::vector<std::uint8_t>* block,
                                              std::string* error) {
  block->clear();
  for (;;) {
    scanner_.Feed(std::string_view(reinterpret_cast<const char*>(buffer_.data()), buffer_.size()),
                  eof_);
    if (scanner_.last_cut() >= block_bytes_ || eof_) break;
    if (!Fill(error)) return Result::kFailed;
  }
  if (buffer_.empty()) return Result::kEnd;
  // Past the last place a block may end there is less than a card: at the
  // end of the file that rest goes with the block unless the block is full.
  const std::size_t cut =
      !eof_ || scanner_.last_cut() >= block_bytes_ ? scanner_.last_cut() : buffer_.size();
  if (cut == buffer_.size()) {
    block->swap(buffer_);
    buffer_.clear();
    scanner_.Shift(block->size());
    return Result::kBlock;
  }
  // The block keeps the buffer; the few bytes after the cut move.
  std::vector<std::uint8_t> rest(buffer_.begin() + static_cast<std::ptrdiff_t>(cut), buffer_.end());
  block->swap(buffer_);
  block->resize(cut);
  buffer_ = std::move(rest);
  scanner_.Shift(cut);
  return Result::kBlock;
}

}  // namespace velmora::cli
