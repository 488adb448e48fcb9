#include "csv/google_mvalue.h"

#include <algorithm>

#include "foundation/system_settings.h"
#include "foundation/text_util.h"

namespace velmora::csv {
namespace {

constexpr char kDecodeLabel[] = "CCsv.DecodeGoogleMValue";
constexpr std::u16string_view kSeparator = u" ::: ";

// Removes one colon from every run of a space, four or more colons and a
// space.
void UnescapeSeparators(std::u16string& item) {
  std::size_t at = 0;
  while ((at = item.find(u" ::::", at)) != std::u16string::npos) {
    std::size_t end = at + 1;
    while (end < item.size() && item[end] == u':') ++end;
    if (end < item.size() && item[end] == u' ') {
      item.erase(at + 1, 1);
      at = end - 1;
    } else {
      at = end;
    }
  }
}

// Adds one colon to every run of a space, three or more colons and a
// space, so that no value holds the separator.
void EscapeSeparators(std::u16string& item) {
  std::size_t at = 0;
  while ((at = item.find(u" :::", at)) != std::u16string::npos) {
    std::size_t end = at + 1;
    while (end < item.size() && item[end] == u':') ++end;
    if (end < item.size() && item[end] == u' ') {
      item.insert(at + 1, 1, u':');
      ++end;
    }
    at = end;
  }
}

// Google's own group of every contact: "My Contacts", or "myContacts" in
// later exports.
bool IsMyContacts(std::u16string_view item) {
  return text::EqualsAsciiNoCase(item, std::u16string_view(u"My Contacts")) ||
         text::EqualsAsciiNoCase(item, std::u16string_view(u"myContacts"));
}

// `list` cut at any of `separators`; empty parts are dropped.
std::vector<std::u16string> SplitList(std::u16string_view list, std::u16string_view separators,
                                      bool trim) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = list.find_first_of(separators, start);
    std::u16string_view part =
        list.substr(start, end == std::u16string_view::npos ? end : end - start);
    if (trim) part = text::Trim(part);
    if (!part.empty()) parts.emplace_back(part);
    if (end == std::u16string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

void DecodeGoogleMValue(CLog& log, std::u16string_view text, std::vector<std::u16string>& items,
                        bool skip_empty, int* default_index) {
  items.clear();
  int found_default = -1;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(kSeparator, start);
    std::u16string item(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    if (!(skip_empty && item.empty())) {
      UnescapeSeparators(item);
      std::size_t stars = 0;
      while (stars < item.size() && item[stars] == u'*') ++stars;
      if (stars > 0 && stars < item.size() && item[stars] == u' ') {
        if (stars == 1) {
          item.erase(0, 2);
          if (found_default < 0) {
            found_default = static_cast<int>(items.size());
          } else {
            log.LogError(kDecodeLabel, 0, "two default values in:\n%s", text);
          }
        } else {
          item.erase(0, 1);
        }
      }
      items.push_back(std::move(item));
    }
    if (end == std::u16string_view::npos) break;
    start = end + kSeparator.size();
  }
  if (default_index != nullptr) *default_index = found_default;
}

const std::u16string& GoogleTypeWordOf(const std::vector<std::u16string>& types, std::size_t k) {
  static const std::u16string kNone;
  if (types.size() == 1) return types.front();
  return k < types.size() ? types[k] : kNone;
}

std::u16string EncodeGoogleValue(std::u16string_view value, bool is_sub_value) {
  std::u16string item(value);
  if (is_sub_value) EscapeSeparators(item);
  std::size_t stars = 0;
  while (stars < item.size() && item[stars] == u'*') ++stars;
  if (stars > 0 && stars < item.size() && item[stars] == u' ') item.insert(0, 1, u'*');
  return item;
}

std::u16string EncodeGoogleMValue(const std::vector<std::u16string>& items, int default_index) {
  std::u16string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += kSeparator;
    if (static_cast<int>(i) == default_index) text += u"* ";
    text += EncodeGoogleValue(items[i], true);
  }
  return text;
}

std::u16string EncodeGoogleMValue2(std::u16string_view list, std::u16string_view separators,
                                   bool trim, int default_index) {
  return EncodeGoogleMValue(SplitList(list, separators, trim), default_index);
}

std::u16string Categories2GroupMembership(std::u16string_view categories,
                                          std::u16string_view separators, bool trim,
                                          bool ensure_my_contacts, int default_index) {
  std::u16string chosen(separators);
  if (chosen.empty()) chosen = settings::ListSeparator();
  if (chosen.empty()) chosen = u";,";
  std::vector<std::u16string> parts = SplitList(categories, chosen, trim);
  if (ensure_my_contacts &&
      std::none_of(parts.begin(), parts.end(), [](const std::u16string& part) {
        return text::EqualsAsciiNoCase(part, std::u16string_view(u"My Contacts"));
      })) {
    if (default_index < 0 || default_index >= static_cast<int>(parts.size())) {
      default_index = static_cast<int>(parts.size());
    }
    parts.emplace_back(u"My Contacts");
  }
  return EncodeGoogleMValue(parts, default_index);
}

std::u16string DecodeGoogleLabels(std::u16string_view text, std::u16string_view list_separator) {
  std::u16string categories;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(kSeparator, start);
    std::u16string item(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    UnescapeSeparators(item);
    std::size_t stars = 0;
    while (stars < item.size() && item[stars] == u'*') ++stars;
    // "* x" is a system group, "** x" a label that begins with "* ".
    if (stars > 0 && stars < item.size() && item[stars] == u' ') item.erase(0, stars == 1 ? 2 : 1);
    if (!item.empty() && !IsMyContacts(item)) {
      if (!categories.empty()) categories += list_separator;
      categories += item;
    }
    if (end == std::u16string_view::npos) break;
    start = end + kSeparator.size();
  }
  return categories;
}

std::u16string Categories2GoogleLabels(std::u16string_view categories,
                                       std::u16string_view separators) {
  std::u16string chosen(separators);
  if (chosen.empty()) chosen = settings::ListSeparator();
  if (chosen.empty()) chosen = u";,";
  std::u16string text;
  for (const std::u16string& part : SplitList(categories, chosen, true)) {
    if (IsMyContacts(part)) continue;
    if (!text.empty()) text += kSeparator;
    if (text::EqualsAsciiNoCase(part, std::u16string_view(u"starred"))) {
      text += u"* starred";
    } else {
      text += EncodeGoogleValue(part, true);
    }
  }
  if (!text.empty()) text += kSeparator;
  text += u"* myContacts";
  return text;
}

std::u16string DecodeGoogleGroupMembership(CLog& log, std::u16string_view text,
                                           std::u16string_view list_separator) {
  std::vector<std::u16string> items;
  int default_index = -1;
  DecodeGoogleMValue(log, text, items, true, &default_index);
  if (default_index > 0) {
    std::rotate(items.begin(), items.begin() + default_index, items.begin() + default_index + 1);
  }
  std::u16string categories;
  for (const std::u16string& item : items) {
    if (IsMyContacts(item)) continue;
    if (!categories.empty()) categories += list_separator;
    categories += item;
  }
  return categories;
}

}  // namespace velmora::csv
