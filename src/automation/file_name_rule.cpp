#include "automation/file_name_rule.h"

#include <string>
#include <system_error>

#include "automation/argument_checks.h"
#include "foundation/code_page.h"

namespace velmora::automation {
namespace {

// Linux takes 255 bytes per name; this leaves room for a number and the
// extension.
constexpr std::size_t kMaxNameBytes = 200;

bool IsReservedCharacter(char16_t c) {
  switch (c) {
    case u'\\':
    case u'/':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
      return true;
    default:
      return c < 0x20;
  }
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

// "con" or "nul" alone or followed by '.'.
bool IsReservedDeviceName(std::u16string_view name) {
  if (name.size() < 3 || (name.size() > 3 && name[3] != u'.')) return false;
  const char16_t a = AsciiLower(name[0]), b = AsciiLower(name[1]), c = AsciiLower(name[2]);
  return (a == u'c' && b == u'o' && c == u'n') || (a == u'n' && b == u'u' && c == u'l');
}

// Cuts `name` so that its UTF-8 form fits kMaxNameBytes, never inside a
// surrogate pair.
void LimitLength(std::u16string& name) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size();
    const std::size_t size = pair ? 4 : c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
    if (bytes + size > kMaxNameBytes) {
      name.resize(i);
      return;
    }
    bytes += size;
    if (pair) ++i;
  }
}

}  // namespace

std::u16string SafeFileName(std::u16string_view base_name, bool bracket_style) {
  std::u16string name;
  name.reserve(base_name.size());
  for (std::size_t i = 0; i < base_name.size(); ++i) {
    char16_t c = base_name[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < base_name.size() && base_name[i + 1] == u'\n') ++i;
      name.push_back(u' ');
      continue;
    }
    if (IsReservedCharacter(c) || (!bracket_style && (c == u'[' || c == u']'))) c = u'_';
    name.push_back(c);
  }
  if (IsReservedDeviceName(name)) name[2] = u'_';
  LimitLength(name);
  return name;
}

std::filesystem::path MakeFilePath(const std::filesystem::path& folder,
                                   std::u16string_view base_name, bool numbering,
                                   std::u16string_view extension, bool bracket_style,
                                   FileNameCounter* counter) {
  const std::u16string name = SafeFileName(base_name, bracket_style);
  const auto numbered = [&](int number) {
    if (number == 0) return name;
    const std::u16string digits = codepage::ToUtf16(codepage::kUtf8, std::to_string(number));
    return name + (bracket_style ? u"[" : u"(") + digits + (bracket_style ? u"]" : u")");
  };
  int number = 0;
  if (numbering) {
    if (counter != nullptr) number = (*counter)[name];
    // The bound only guards against a folder that answers "exists" forever.
    for (; number < 1000000; ++number) {
      // Any entry of that name (a folder too) makes the name taken.
      std::error_code ec;
      if (!std::filesystem::exists(
              folder / PathFromUtf16(numbered(number) + std::u16string(extension)), ec)) {
        break;
      }
    }
    if (counter != nullptr) (*counter)[name] = number + 1;
  }
  return folder / PathFromUtf16(numbered(number) + std::u16string(extension));
}

}  // namespace velmora::automation
