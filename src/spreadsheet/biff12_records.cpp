#include "spreadsheet/biff12_records.h"

#include <cstring>

#include "foundation/text_format.h"

namespace velmora::spreadsheet::biff12 {

bool RecordBody::Take(std::size_t bytes) {
  if (failed_ || bytes > body_.size() - at_) {
    failed_ = true;
    return false;
  }
  return true;
}

std::uint8_t RecordBody::U8() {
  if (!Take(1)) return 0;
  return static_cast<std::uint8_t>(body_[at_++]);
}

std::uint16_t RecordBody::U16() {
  if (!Take(2)) return 0;
  const auto b = reinterpret_cast<const unsigned char*>(body_.data() + at_);
  at_ += 2;
  return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t RecordBody::U32() {
  const std::uint32_t low = U16();
  return low | static_cast<std::uint32_t>(U16()) << 16;
}

double RecordBody::Double() {
  if (!Take(8)) return 0;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(body_[at_ + i]);
  at_ += 8;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::u16string RecordBody::WideString(std::uint32_t max_units, bool nullable) {
  const std::uint32_t count = U32();
  if (failed_ || (nullable && count == 0xFFFFFFFFu)) return {};
  if (count > max_units || !Take(std::size_t{count} * 2)) {
    failed_ = true;
    return {};
  }
  std::u16string text(count, u'\0');
  for (std::uint32_t i = 0; i < count; ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(body_[at_ + 2 * i]) |
                                    static_cast<unsigned char>(body_[at_ + 2 * i + 1]) << 8);
  }
  at_ += std::size_t{count} * 2;
  return text;
}

void RecordBody::Skip(std::size_t bytes) {
  if (Take(bytes)) at_ += bytes;
}

bool RecordStream::Feed(std::string_view piece) {
  if (!ok_) return false;
  if (pending_ > 0 && pending_ >= buffer_.size() / 2) {
    buffer_.erase(0, pending_);
    pending_ = 0;
  }
  buffer_.append(piece);
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data());
  const std::size_t size = buffer_.size();
  for (;;) {
    std::size_t at = pending_;
    if (at >= size) break;
    // The type: one byte, or two when the first has its high bit set.
    std::uint32_t type = bytes[at] & 0x7F;
    if (bytes[at++] & 0x80) {
      if (at >= size) break;
      type |= static_cast<std::uint32_t>(bytes[at] & 0x7F) << 7;
      if (bytes[at++] & 0x80) {
        ok_ = false;
        error_ = "damaged record type";
        return false;
      }
    }
    // The size: up to four bytes.
    std::uint32_t length = 0;
    int i = 0;
    bool complete = false;
    for (; i < 4 && at < size; ++i) {
      const unsigned char b = bytes[at++];
      length |= static_cast<std::uint32_t>(b & 0x7F) << (7 * i);
      if ((b & 0x80) == 0) {
        complete = true;
        break;
      }
    }
    if (!complete) {
      if (i == 4) {
        ok_ = false;
        error_ = "damaged record size";
        return false;
      }
      break;  // the size continues in the next piece
    }
    if (length > max_record_) {
      ok_ = false;
      error_ = FormatUtf8("record %u of %u bytes is larger than the limit", type, length);
      return false;
    }
    if (length > size - at) break;
    if (!handler_(type, std::string_view(buffer_.data() + at, length))) {
      ok_ = false;
      return false;
    }
    pending_ = at + length;
  }
  return true;
}

}  // namespace velmora::spreadsheet::biff12
