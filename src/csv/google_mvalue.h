// Google's multi-value cells: several values in one cell, joined by " ::: ",
// the default one marked with a leading "* ". A literal leading "* " is
// written "** ", and a literal " ::: " inside a value gets one colon more
// (" :::: ").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/log.h"

namespace velmora::csv {

// Splits `text` into its values, undoing the escapes. With `skip_empty`
// empty values are dropped. `default_index` (may be null) receives the
// position of the default value in `items`, or -1. A second default is
// logged as an error and loses its mark; the first stays the default.
void DecodeGoogleMValue(CLog& log, std::u16string_view text, std::vector<std::u16string>& items,
                        bool skip_empty, int* default_index = nullptr);

// The inverse: `items` joined by " ::: ", escaped, the item at
// `default_index` (-1: none) marked. DecodeGoogleMValue gives the items
// back, except that a leading or trailing space next to a separator
// belongs to the separator.
std::u16string EncodeGoogleMValue(const std::vector<std::u16string>& items, int default_index);

// The type word of the `k`-th value of a group instance whose Type cell
// decoded to `types`: one word types every value, several type the values
// in turn, and values beyond them have none.
const std::u16string& GoogleTypeWordOf(const std::vector<std::u16string>& types, std::size_t k);

// One value made safe for a multi-value cell: a leading "* " (or "** ",
// ...) gets one more star; as a sub-value (one of several in a cell) a
// space, three or more colons and a space also get one more colon.
std::u16string EncodeGoogleValue(std::u16string_view value, bool is_sub_value);

// `list` split at any character of `separators` (each part trimmed with
// `trim`; empty parts dropped), then encoded as EncodeGoogleMValue does.
std::u16string EncodeGoogleMValue2(std::u16string_view list, std::u16string_view separators,
                                   bool trim, int default_index);

// A "Group Membership" cell from categories split at any of `separators`
// (empty: the user's list separator, or ";," when that is empty). With
// `ensure_my_contacts` Google's "My Contacts" is added when missing, and is
// the default when `default_index` names no part.
std::u16string Categories2GroupMembership(std::u16string_view categories,
                                          std::u16string_view separators, bool trim,
                                          bool ensure_my_contacts, int default_index);

// The categories a Google "Group Membership" cell stands for, as import
// reads them: its values without Google's own group of every contact ("My
// Contacts", or "myContacts" in later exports; ASCII case ignored), the
// default first, joined by `list_separator`.
std::u16string DecodeGoogleGroupMembership(CLog& log, std::u16string_view text,
                                           std::u16string_view list_separator);

// Google's later "Labels" cell: the contact's labels joined by " ::: ",
// system groups written with "* " ("* myContacts", "* starred"). Import
// drops myContacts (every contact is in it) and reads any other system
// group as a category of its name; the labels are joined by
// `list_separator`.
std::u16string DecodeGoogleLabels(std::u16string_view text, std::u16string_view list_separator);
// The "Labels" cell of categories split at any of `separators` (empty: as
// Categories2GroupMembership): the category "starred" (ASCII case ignored)
// as the system group "* starred", the others as labels, then
// "* myContacts"; a category naming My Contacts is not repeated.
std::u16string Categories2GoogleLabels(std::u16string_view categories,
                                       std::u16string_view separators);

}  // namespace velmora::csv
