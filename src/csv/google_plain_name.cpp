#include "csv/google_plain_name.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace velmora::csv {
namespace {

constexpr char kBuildLabel[] = "CCsv.BuildGooglePlainName";
constexpr std::uint32_t kImServiceCode = 0x02000002;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// After a part of the name: the end, or one space and then more text.
// Advances `at` past the space; false when the grammar is broken.
bool NextPart(std::u16string_view name, std::size_t& at) {
  if (at == name.size()) return true;
  if (name[at] != u' ' || at + 1 == name.size() || name[at + 1] == u' ') return false;
  ++at;
  return true;
}

// The group named by the name's beginning: the first prefix, left to right,
// ending before a space or at the end, that names a group. Null when none
// does or the group has no entries.
const CsvHeaderList* FindGroupPrefix(const CCsvHeaders& headers, std::u16string_view name,
                                     std::size_t* length) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool last = i + 1 == name.size();
    if (name[i] != u' ' && !last) continue;
    if (name[i] == u' ' && i == 0) return nullptr;
    const std::size_t end = name[i] == u' ' ? i : name.size();
    if (const CsvHeaderList* group = headers.FindGroupByName(name.substr(0, end))) {
      *length = end;
      return group->empty() ? nullptr : group;
    }
  }
  return nullptr;
}

}  // namespace

std::u16string BuildGooglePlainName(const CCsvHeaders& headers, std::uint32_t code,
                                    std::u16string_view type, int index, bool force_first_index) {
  const CCsvHeader* entry = code > kCsvHeaderMaxPlain ? headers.FindHeaderByCode(code) : nullptr;
  if (entry == nullptr || entry->GroupName.empty() || entry->GroupPropName.empty() ||
      entry->GroupPropName == u"Type" || index < 0) {
    headers.log().LogAssert(false, kBuildLabel, __LINE__);
    return {};
  }
  std::u16string name = entry->GroupName;
  if (!type.empty()) name.append(u" '").append(type).append(u"'");
  if (force_first_index || index >= 1) {
    const std::string digits = std::to_string(index + 1);
    name.append(1, u' ').append(digits.begin(), digits.end());
  }
  if (entry->GroupPropName != u"Value") name.append(1, u' ').append(entry->GroupPropName);
  return name;
}

bool ParseGooglePlainName(const CCsvHeaders& headers, std::u16string_view name,
                          GooglePlainName* parsed) {
  *parsed = GooglePlainName();
  std::size_t at = 0;
  const CsvHeaderList* group = FindGroupPrefix(headers, name, &at);
  if (group == nullptr) return false;
  std::u16string_view property = u"Value";
  if (at < name.size()) {
    if (!NextPart(name, at)) return false;
    if (name[at] == u'\'') {
      const std::size_t close = name.find(u'\'', at + 1);
      if (close == std::u16string_view::npos || close == at + 1) return false;
      parsed->type = name.substr(at + 1, close - at - 1);
      at = close + 1;
      if (!NextPart(name, at)) return false;
    }
    if (at < name.size() && IsDigit(name[at])) {
      std::size_t end = at;
      long long index = 0;
      while (end < name.size() && IsDigit(name[end])) {
        index = std::min<long long>(index * 10 + (name[end] - u'0'), 1LL << 31);
        ++end;
      }
      if (index < 1 || index > INT32_MAX) return false;
      parsed->index = static_cast<int>(index);
      at = end;
      if (!NextPart(name, at)) return false;
    }
    const std::u16string_view rest = name.substr(at);
    if (!rest.empty()) {
      if (IsSpace(rest.front()) || IsSpace(rest.back())) return false;
      property = rest;
    }
  }
  for (const CCsvHeader* entry : *group) {
    if (entry->GroupPropName == property && property != u"Type") parsed->value = entry;
    if (entry->GroupPropName == u"Type") parsed->type_entry = entry;
  }
  if (parsed->value != nullptr && parsed->value->GroupCode() == (kImServiceCode >> 24)) {
    parsed->type_entry = headers.FindHeaderByCode(kImServiceCode);
  }
  if (parsed->value == nullptr || parsed->type_entry == nullptr) {
    *parsed = GooglePlainName();
    return false;
  }
  return true;
}

}  // namespace velmora::csv
