#include "contact/card_names.h"

#include "foundation/text_util.h"

namespace velmora::contact {
namespace {

constexpr std::u16string_view kTitles[] = {
    u"Dr.", u"Dr", u"Miss", u"Mr.", u"Mr", u"Mrs.", u"Mrs", u"Ms.", u"Ms", u"Prof.", u"Prof",
};
constexpr std::u16string_view kSuffixes[] = {
    u"I", u"II", u"III", u"Jr.", u"Jr", u"Sr.", u"Sr",
};

template <std::size_t N>
bool IsOneOf(std::u16string_view word, const std::u16string_view (&words)[N]) {
  for (std::u16string_view candidate : words) {
    if (text::EqualsNoCase(word, candidate)) return true;
  }
  return false;
}

bool IsNameSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

void AppendWord(std::u16string& text, std::u16string_view word) {
  if (!text.empty()) text.push_back(u' ');
  text.append(word);
}

// Steps 1 to 3 of the file-as rule; empty when the parts give nothing.
std::u16string FileAsFromParts(const NameParts& parts) {
  std::u16string result;
  if (!parts.LastName.empty()) {
    result = parts.LastName;
    if (!parts.FirstName.empty()) {
      result.append(u", ");
      result.append(parts.FirstName);
    }
    if (!parts.MiddleName.empty()) {
      result.push_back(u' ');
      result.append(parts.MiddleName);
    }
  } else if (!parts.FirstName.empty()) {
    result = parts.FirstName;
    if (!parts.MiddleName.empty()) {
      result.push_back(u' ');
      result.append(parts.MiddleName);
    }
  } else if (!parts.MiddleName.empty()) {
    result = parts.MiddleName;
  } else if (!parts.Suffix.empty()) {
    result = parts.Suffix;
  }
  return result;
}

NameParts PartsOf(const ContactRecord& record) {
  return NameParts{record.Title, record.FirstName, record.MiddleName, record.LastName,
                   record.Suffix};
}

}  // namespace

std::u16string ComposeFullName(const NameParts& parts, std::u16string_view formatted_name) {
  std::u16string joined;
  for (const std::u16string* part :
       {&parts.Title, &parts.FirstName, &parts.MiddleName, &parts.LastName, &parts.Suffix}) {
    if (!part->empty()) AppendWord(joined, *part);
  }
  if (joined.empty()) joined.assign(formatted_name);
  return std::u16string(text::Trim(joined));
}

std::u16string ComposeFullName(const ContactRecord& record) {
  return ComposeFullName(PartsOf(record), record.FormattedName);
}

std::u16string ComposeFileAsName(const NameParts& parts, std::u16string_view formatted_name,
                                 std::u16string_view company_name) {
  std::u16string result = FileAsFromParts(parts);
  if (!result.empty()) return result;
  if (!formatted_name.empty()) {
    // A formatted name made only of a title (or of white space) gives no
    // parts; the company name is used then rather than an empty name.
    result = FileAsFromParts(SplitFormattedName(formatted_name));
    if (!result.empty()) return result;
  }
  return std::u16string(company_name);
}

std::u16string ComposeFileAsName(const ContactRecord& record) {
  return ComposeFileAsName(PartsOf(record), record.FormattedName, record.CompanyName);
}

NameParts SplitFormattedName(std::u16string_view formatted_name) {
  NameParts parts;
  bool first_word = true;
  std::size_t pos = 0;
  while (pos < formatted_name.size()) {
    while (pos < formatted_name.size() && IsNameSpace(formatted_name[pos])) ++pos;
    std::size_t end = pos;
    while (end < formatted_name.size() && !IsNameSpace(formatted_name[end])) ++end;
    if (end == pos) break;
    const std::u16string_view word = formatted_name.substr(pos, end - pos);
    pos = end;

    const bool is_first = first_word;
    first_word = false;
    if (is_first && IsOneOf(word, kTitles)) {
      parts.Title.assign(word);
      continue;
    }
    if (IsOneOf(word, kSuffixes)) {
      // Several suffix words ("Jr. III") are all kept.
      AppendWord(parts.Suffix, word);
      continue;
    }
    if (parts.FirstName.empty()) {
      // A name of one word is taken as the given name.
      parts.FirstName.assign(word);
      continue;
    }
    // The previous family-name word moves to the end of the middle name.
    if (!parts.LastName.empty()) AppendWord(parts.MiddleName, parts.LastName);
    parts.LastName.assign(word);
  }
  return parts;
}

}  // namespace velmora::contact
