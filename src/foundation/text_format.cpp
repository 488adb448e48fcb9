#include "foundation/text_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "foundation/code_page.h"

namespace velmora {
namespace {

struct Spec {
  std::string flags;
  int width = -1;
  int precision = -1;
  char conversion = 0;
};

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool IsLength(char c) {
  return c == 'h' || c == 'l' || c == 'L' || c == 'q' || c == 'j' || c == 'z' || c == 't' ||
         c == 'I';
}

class Writer {
 public:
  Writer(std::u16string& out, std::size_t max) : out_(out), max_(max) {}
  bool full() const { return out_.size() >= max_; }
  void Put(char16_t c) {
    if (!full()) out_.push_back(c);
  }
  void Put(std::u16string_view s) {
    if (full()) return;
    out_.append(s.substr(0, max_ - out_.size()));
  }
  void PutAscii(std::string_view s) {
    for (char c : s) Put(static_cast<char16_t>(static_cast<unsigned char>(c)));
  }
  // Pads `s` to the field width, on the left unless the '-' flag is given.
  void Field(const Spec& spec, std::u16string_view s) {
    const std::size_t width = spec.width > 0 ? static_cast<std::size_t>(spec.width) : 0;
    const bool left = spec.flags.find('-') != std::string::npos;
    const std::size_t pad = width > s.size() ? width - s.size() : 0;
    if (!left)
      for (std::size_t i = 0; i < pad; ++i) Put(u' ');
    Put(s);
    if (left)
      for (std::size_t i = 0; i < pad; ++i) Put(u' ');
  }

 private:
  std::u16string& out_;
  std::size_t max_;
};

// Numbers go through the C library with the same flags, width and precision.
template <typename T>
void PrintNumber(Writer& w, const Spec& spec, const char* length, char conversion, T value) {
  char fmt[64];
  int len = std::snprintf(fmt, sizeof fmt, "%%%s", spec.flags.substr(0, 8).c_str());
  if (spec.width >= 0) len += std::snprintf(fmt + len, sizeof fmt - len, "%d", spec.width);
  if (spec.precision >= 0) len += std::snprintf(fmt + len, sizeof fmt - len, ".%d", spec.precision);
  std::snprintf(fmt + len, sizeof fmt - len, "%s%c", length, conversion);
  char buffer[512];
  int n = std::snprintf(buffer, sizeof buffer, fmt, value);
  if (n < 0) return;
  w.PutAscii(std::string_view(
      buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1)));
}

void PrintText(Writer& w, const Spec& spec, std::u16string_view s) {
  if (spec.precision >= 0 && static_cast<std::size_t>(spec.precision) < s.size()) {
    s = s.substr(0, static_cast<std::size_t>(spec.precision));
  }
  w.Field(spec, s);
}

std::u16string Decode8Bit(std::string_view s) {
  return codepage::ToUtf16(codepage::IsValidUtf8(s) ? codepage::kUtf8 : codepage::kAnsi, s);
}

void PrintArg(Writer& w, const Spec& spec, const FormatArg& arg) {
  const char c = spec.conversion;
  const bool integer_conv =
      c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X' || c == 'o' || c == 'c';
  const bool float_conv =
      c == 'e' || c == 'E' || c == 'f' || c == 'F' || c == 'g' || c == 'G' || c == 'a' || c == 'A';
  switch (arg.kind()) {
    case FormatArg::Kind::kText8:
      PrintText(w, spec, Decode8Bit(arg.text8()));
      return;
    case FormatArg::Kind::kText16:
      PrintText(w, spec, arg.text16());
      return;
    case FormatArg::Kind::kChar16: {
      const char16_t ch = static_cast<char16_t>(arg.as_unsigned());
      if (c == 'c' || c == 's' || c == 'S') {
        PrintText(w, spec, std::u16string_view(&ch, 1));
      } else {
        PrintNumber(w, spec, "ll", integer_conv ? (c == 'c' ? 'u' : c) : 'u',
                    static_cast<unsigned long long>(ch));
      }
      return;
    }
    case FormatArg::Kind::kSigned:
    case FormatArg::Kind::kUnsigned: {
      const bool is_signed = arg.kind() == FormatArg::Kind::kSigned;
      if (c == 'c') {
        const char16_t ch = static_cast<char16_t>(arg.as_unsigned());
        PrintText(w, spec, std::u16string_view(&ch, 1));
      } else if (float_conv) {
        PrintNumber(w, spec, "", c,
                    is_signed ? static_cast<double>(arg.as_signed())
                              : static_cast<double>(arg.as_unsigned()));
      } else if (c == 'x' || c == 'X' || c == 'o' || c == 'u') {
        // Unsigned conversions of a negative 32-bit value show its 32 bits,
        // as "0x%X" of a status does.
        unsigned long long v = arg.as_unsigned();
        if (is_signed && arg.as_signed() < 0 && arg.as_signed() >= INT32_MIN) {
          v = static_cast<std::uint32_t>(arg.as_signed());
        }
        PrintNumber(w, spec, "ll", c, v);
      } else if (is_signed) {
        PrintNumber(w, spec, "ll", 'd', static_cast<long long>(arg.as_signed()));
      } else {
        PrintNumber(w, spec, "ll", 'u', static_cast<unsigned long long>(arg.as_unsigned()));
      }
      return;
    }
    case FormatArg::Kind::kDouble:
      if (float_conv) {
        PrintNumber(w, spec, "", c, arg.as_double());
      } else if (integer_conv && c != 'c') {
        PrintNumber(w, spec, "ll", c == 'u' || c == 'x' || c == 'X' || c == 'o' ? c : 'd',
                    static_cast<long long>(arg.as_double()));
      } else {
        PrintNumber(w, spec, "", 'g', arg.as_double());
      }
      return;
  }
}

}  // namespace

void FormatInto(std::u16string& out, std::string_view format, std::span<const FormatArg> args,
                std::size_t max_units) {
  Writer w(out, max_units);
  std::size_t next_arg = 0;
  std::size_t i = 0;
  auto take_int = [&]() -> int {
    if (next_arg >= args.size()) return -1;
    const FormatArg& a = args[next_arg++];
    return a.kind() == FormatArg::Kind::kSigned     ? static_cast<int>(a.as_signed())
           : a.kind() == FormatArg::Kind::kUnsigned ? static_cast<int>(a.as_unsigned())
                                                    : -1;
  };
  while (i < format.size() && !w.full()) {
    // Copy literal text up to the next '%', decoding it as UTF-8.
    std::size_t pct = format.find('%', i);
    if (pct != i) {
      std::string_view literal = format.substr(i, pct == std::string_view::npos ? pct : pct - i);
      if (codepage::IsAscii(literal)) {
        w.PutAscii(literal);
      } else {
        w.Put(codepage::ToUtf16(codepage::kUtf8, literal));
      }
      if (pct == std::string_view::npos) break;
      i = pct;
    }
    const std::size_t start = i++;
    Spec spec;
    while (i < format.size() && IsFlag(format[i])) spec.flags.push_back(format[i++]);
    if (i < format.size() && format[i] == '*') {
      spec.width = take_int();
      ++i;
    } else {
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        spec.width = (spec.width < 0 ? 0 : spec.width) * 10 + (format[i++] - '0');
        if (spec.width > 4096) spec.width = 4096;
      }
    }
    if (i < format.size() && format[i] == '.') {
      ++i;
      spec.precision = 0;
      if (i < format.size() && format[i] == '*') {
        spec.precision = take_int();
        ++i;
      } else {
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
          spec.precision = spec.precision * 10 + (format[i++] - '0');
          if (spec.precision > 4096) spec.precision = 4096;
        }
      }
    }
    while (i < format.size() && IsLength(format[i])) {
      // Microsoft's I64 / I32 length prefixes.
      if (format[i] == 'I' && format.substr(i, 3) == "I64")
        i += 2;
      else if (format[i] == 'I' && format.substr(i, 3) == "I32")
        i += 2;
      ++i;
    }
    if (i >= format.size()) {
      w.PutAscii(format.substr(start));
      break;
    }
    spec.conversion = format[i++];
    switch (spec.conversion) {
      case '%':
        w.Put(u'%');
        break;
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'o':
      case 'c':
      case 'e':
      case 'E':
      case 'f':
      case 'F':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
      case 's':
      case 'S':
        if (next_arg < args.size()) PrintArg(w, spec, args[next_arg++]);
        break;
      default:
        // Not a conversion: keep the text as it stands.
        w.PutAscii(format.substr(start, i - start));
        break;
    }
  }
}

std::string Utf16ToUtf8Text(std::u16string_view text) {
  return codepage::FromUtf16(codepage::kUtf8, text);
}

}  // namespace velmora
