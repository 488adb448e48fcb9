// A strict reader of JSON text for checking the command's --json output:
// anything that is not one well-formed JSON value fails.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::clitest {

struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<JsonValue> array;
  // Members in document order; a repeated name is an error of the reader.
  std::vector<std::pair<std::string, JsonValue>> object;

  // The member `name`; a null value when there is none.
  const JsonValue& operator[](const std::string& name) const;
  const JsonValue& operator[](std::size_t index) const;
  bool Has(const std::string& name) const;
  std::size_t size() const { return kind == Kind::kArray ? array.size() : object.size(); }
};

// The value of `text` (surrounding white space allowed), or nothing with
// `error` set.
std::optional<JsonValue> ParseJson(const std::string& text, std::string* error);

}  // namespace velmora::clitest
