// A small writer of JSON text for the machine-readable output (--json):
// objects, arrays, strings, numbers and booleans, commas placed for the
// caller.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of the current object.
  JsonWriter& Key(std::string_view name);
  // UTF-8 text; invalid sequences become U+FFFD.
  JsonWriter& String(std::string_view value);
  JsonWriter& Number(std::int64_t value);
  JsonWriter& Number(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  // Key and value in one call.
  template <typename T>
  JsonWriter& Member(std::string_view name, const T& value) {
    Key(name);
    return Value(value);
  }

  // The text so far, followed by a line break when the document is done.
  std::string str() const;

 private:
  JsonWriter& Value(std::string_view value) { return String(value); }
  JsonWriter& Value(const std::string& value) { return String(value); }
  JsonWriter& Value(const char* value) { return String(value); }
  JsonWriter& Value(bool value) { return Bool(value); }
  JsonWriter& Value(int value) { return Number(static_cast<std::int64_t>(value)); }
  JsonWriter& Value(std::int64_t value) { return Number(value); }
  JsonWriter& Value(double value) { return Number(value); }

  void BeforeValue();
  void AppendQuoted(std::string_view value);

  std::string text_;
  // One entry per open object or array: whether it has a member yet.
  std::vector<bool> open_;
  bool after_key_ = false;
};

}  // namespace velmora::cli
