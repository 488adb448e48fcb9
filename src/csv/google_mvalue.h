// Google's multi-value cells: several values in one cell, joined by " ::: ",
// the default one marked with a leading "* ". A literal leading "* " is
// written "** ", and a literal " ::: " inside a value gets one colon more
// (" :::: ").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/log.h"

namespace velmora {

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

// The categories a Google "Group Membership" cell stands for, as import
// reads them: its values without Google's own group of every contact ("My
// Contacts", or "myContacts" in later exports; ASCII case ignored), the
// default first, joined by `list_separator`.
std::u16string DecodeGoogleGroupMembership(CLog& log, std::u16string_view text,
                                           std::u16string_view list_separator);

}  // namespace velmora
