// The optional arguments of the object model: a value that is either
// missing or of one of a few kinds. Methods check the kind they accept and
// answer E_INVALIDARG with a log line naming the argument otherwise
// ("vSupEncFilename must be BSTR or Missing"), so a caller that passes the
// wrong kind, as a dynamically typed binding may, gets a clear status.
#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <velmora/object.h>

namespace velmora {

class Variant {
 public:
  enum class Kind {
    kMissing,
    kString,   // std::u16string
    kInt32,    // std::int32_t
    kUInt32,   // std::uint32_t
    kDouble,   // double
    kBool,     // bool
    kBytes,    // std::vector<std::uint8_t>
    kStrings,  // std::vector<std::u16string>
    kObject,   // std::shared_ptr<IObject>
  };

  // Missing.
  Variant() = default;
  Variant(std::u16string value) : value_(std::move(value)) {}
  Variant(const char16_t* value) : value_(std::u16string(value ? value : u"")) {}
  Variant(std::int32_t value) : value_(value) {}
  Variant(std::uint32_t value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(bool value) : value_(value) {}
  Variant(std::vector<std::uint8_t> value) : value_(std::move(value)) {}
  Variant(std::vector<std::u16string> value) : value_(std::move(value)) {}
  Variant(std::shared_ptr<IObject> value) : value_(std::move(value)) {}
  template <typename T>
  requires std::derived_from<T, IObject> Variant(std::shared_ptr<T> value)
      : value_(std::shared_ptr<IObject>(std::move(value))) {}
  // 8-bit text would otherwise silently become a bool: convert it with
  // Utf8ToUtf16 (velmora/unicode.h) first.
  Variant(const char*) = delete;

  static Variant Missing() { return Variant(); }

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool is_missing() const { return kind() == Kind::kMissing; }

  // The value when the variant holds that kind, else null.
  const std::u16string* string() const { return std::get_if<std::u16string>(&value_); }
  const std::int32_t* int32() const { return std::get_if<std::int32_t>(&value_); }
  const std::uint32_t* uint32() const { return std::get_if<std::uint32_t>(&value_); }
  const double* real() const { return std::get_if<double>(&value_); }
  const bool* boolean() const { return std::get_if<bool>(&value_); }
  const std::vector<std::uint8_t>* bytes() const {
    return std::get_if<std::vector<std::uint8_t>>(&value_);
  }
  const std::vector<std::u16string>* strings() const {
    return std::get_if<std::vector<std::u16string>>(&value_);
  }
  const std::shared_ptr<IObject>* object() const {
    return std::get_if<std::shared_ptr<IObject>>(&value_);
  }

 private:
  // The alternatives in the order of Kind.
  std::variant<std::monostate, std::u16string, std::int32_t, std::uint32_t, double, bool,
               std::vector<std::uint8_t>, std::vector<std::u16string>, std::shared_ptr<IObject>>
      value_;
};

}  // namespace velmora
