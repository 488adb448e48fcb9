// The name rules shared by the writers, the previews and the file savers:
// the full name, the file-as name and the splitting of a formatted name
// into its parts.
#pragma once

#include <string>
#include <string_view>

#include "contact/contact_record.h"

namespace velmora::contact {

// The five parts of a personal name (N without its order).
struct NameParts {
  std::u16string Title;
  std::u16string FirstName;
  std::u16string MiddleName;
  std::u16string LastName;
  std::u16string Suffix;

  bool operator==(const NameParts&) const = default;
};

// Title, first, middle, last name and suffix, the non-empty ones joined by
// single spaces; the formatted name when all are empty; trimmed at both ends.
std::u16string ComposeFullName(const NameParts& parts, std::u16string_view formatted_name);
std::u16string ComposeFullName(const ContactRecord& record);

// The name a contact is filed (and saved) under:
//   "Last, First Middle" when there is a last name; else "First Middle";
//   else the middle name, else the suffix; else the parts split from the
//   formatted name by the same steps; else the company name.
std::u16string ComposeFileAsName(const NameParts& parts, std::u16string_view formatted_name,
                                 std::u16string_view company_name);
std::u16string ComposeFileAsName(const ContactRecord& record);

// Splits a formatted name at white space (space, TAB, CR, LF). A leading
// title word ("Dr.", "Mrs", "Prof." ...) becomes the Title and suffix words
// ("Jr.", "III" ...) the Suffix; of the other words the first is the given
// name, the last the family name and those between the middle name.
NameParts SplitFormattedName(std::u16string_view formatted_name);

}  // namespace velmora::contact
