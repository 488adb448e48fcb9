// printf-style formatting into UTF-16, checked by argument type.
//
// The format is UTF-8 text with printf conversions (flags, width, precision,
// length modifiers are accepted and ignored where they do not apply). Each
// argument is rendered by its own type, so a wrong conversion letter cannot
// read garbage: "%d" with a string prints the string, "%s" with a number
// prints the number. Integer conversions d i u x X o c, floating e E f F g G,
// strings s S; "%%" is a percent sign. Missing arguments print nothing.
//
// Strings may be UTF-16 (char16_t) or 8-bit (char). 8-bit text is read as
// UTF-8 when it is valid UTF-8, else in the ANSI code page.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace velmora {

class FormatArg {
 public:
  enum class Kind { kSigned, kUnsigned, kDouble, kText8, kText16, kChar16 };

  template <std::signed_integral T>
  FormatArg(T v) : kind_(Kind::kSigned), i_(v) {}
  template <std::unsigned_integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char16_t>) FormatArg(T v)
      : kind_(Kind::kUnsigned), u_(v) {}
  FormatArg(bool v) : kind_(Kind::kSigned), i_(v ? 1 : 0) {}
  FormatArg(char16_t c) : kind_(Kind::kChar16), u_(c) {}
  FormatArg(double v) : kind_(Kind::kDouble), d_(v) {}
  FormatArg(float v) : kind_(Kind::kDouble), d_(v) {}
  FormatArg(const char* s) : kind_(Kind::kText8), s8_(s ? s : "") {}
  FormatArg(std::string_view s) : kind_(Kind::kText8), s8_(s) {}
  FormatArg(const std::string& s) : kind_(Kind::kText8), s8_(s) {}
  FormatArg(const char16_t* s) : kind_(Kind::kText16), s16_(s ? s : u"") {}
  FormatArg(std::u16string_view s) : kind_(Kind::kText16), s16_(s) {}
  FormatArg(const std::u16string& s) : kind_(Kind::kText16), s16_(s) {}
  template <typename E>
  requires std::is_enum_v<E> FormatArg(E e)
      : FormatArg(static_cast<std::underlying_type_t<E>>(e)) {}

  Kind kind() const { return kind_; }
  std::int64_t as_signed() const { return i_; }
  std::uint64_t as_unsigned() const { return u_; }
  double as_double() const { return d_; }
  std::string_view text8() const { return s8_; }
  std::u16string_view text16() const { return s16_; }

 private:
  Kind kind_;
  union {
    std::int64_t i_;
    std::uint64_t u_;
    double d_;
  };
  std::string_view s8_;
  std::u16string_view s16_;
};

// Appends the formatted text to `out`, stopping once `out` holds `max_units`
// code units (the text is cut there).
void FormatInto(std::u16string& out, std::string_view format, std::span<const FormatArg> args,
                std::size_t max_units = std::u16string::npos);

template <typename... Args>
std::u16string Format(std::string_view format, const Args&... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
  std::u16string out;
  FormatInto(out, format, std::span<const FormatArg>(list, sizeof...(Args)));
  return out;
}

// The same, as UTF-8.
template <typename... Args>
std::string FormatUtf8(std::string_view format, const Args&... args);

std::string Utf16ToUtf8Text(std::u16string_view text);

template <typename... Args>
std::string FormatUtf8(std::string_view format, const Args&... args) {
  return Utf16ToUtf8Text(Format(format, args...));
}

}  // namespace velmora
