#include "json_writer.h"

#include <cstdio>

#include "utf8_decode.h"

namespace velmora::cli {

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
    const Utf8CodePoint code = DecodeUtf8At(value, i);
    if (!code.valid) {
      text_ += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    const std::size_t length = code.length;
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
