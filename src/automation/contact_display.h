// Display strings of contact data shared by the contact objects and the card
// previews: the note on one line, addresses as text, joined lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contact/contact_list_items.h"

namespace velmora::automation {

// `body` trimmed, every CR LF then every other CR and LF turned into a
// space; cut to `max_chars` units when that is 1 or more (never inside a
// surrogate pair).
std::u16string BodyAsSingleString(std::u16string_view body, int max_chars);

// Street, City, State, PostalCode and Country, each trimmed, the empty ones
// left out, joined by `delimiter` (", " when empty); when the result holds a
// CR LF pair every CR LF, LF and CR becomes one space.
std::u16string AddressToString(const contact::ContactAddress& address,
                               std::u16string_view delimiter);

// OfficeLocation, a space and Street; else whichever is not empty.
std::u16string StreetAndOfficeLocation(const contact::ContactAddress& address);

// True when the seven components are all empty after trimming.
bool IsAddressBlank(const contact::ContactAddress& address);

// Joins the elements, each trimmed, the empty ones left out, with the user's
// list separator (trimmed) and one space.
std::u16string JoinWithListSeparator(const std::vector<std::u16string>& elements);

}  // namespace velmora::automation
