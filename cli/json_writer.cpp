#include "json_writer.h"

#include <cstdio>

namespace velmora::cli {
namespace {

// The length of the valid UTF-8 sequence at `s[i]`, or 0.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  std::size_t length;
  std::uint32_t code;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
    code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    code = c & 0x07;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and values above U+10FFFF.
  if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
      (code >= 0xD800 && code <= 0xDFFF)) {
    return 0;
  }
  return length;
}

}  // namespace

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!open_.empty()) {
    if (open_.back()) text_ += ',';
    open_.back() = true;
  }
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  text_ += '{';
  open_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  text_ += '}';
  if (!open_.empty()) open_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  text_ += '[';
  open_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  text_ += ']';
  if (!open_.empty()) open_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  AppendQuoted(name);
  text_ += ':';
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view value) {
  BeforeValue();
  AppendQuoted(value);
  return *this;
}

void JsonWriter::AppendQuoted(std::string_view value) {
  text_ += '"';
  for (std::size_t i = 0; i < value.size();) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    const std::size_t length = Utf8SequenceLength(value, i);
    if (length == 0) {
      text_ += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (length > 1) {
      text_.append(value.substr(i, length));
      i += length;
      continue;
    }
    switch (c) {
      case '"':
        text_ += "\\\"";
        break;
      case '\\':
        text_ += "\\\\";
        break;
      case '\n':
        text_ += "\\n";
        break;
      case '\r':
        text_ += "\\r";
        break;
      case '\t':
        text_ += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          text_ += escape;
        } else {
          text_ += static_cast<char>(c);
        }
    }
    ++i;
  }
  text_ += '"';
}

JsonWriter& JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  BeforeValue();
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", value);
  text_ += buffer;
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
  return *this;
}

std::string JsonWriter::str() const { return open_.empty() ? text_ + "\n" : text_; }

}  // namespace velmora::cli
