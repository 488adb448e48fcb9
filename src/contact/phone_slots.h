// Phone categories and the nineteen telephone slots that Outlook-style
// consumers (the contact object, CSV export) read from a phone list.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "contact/contact_enums.h"
#include "contact/contact_list_items.h"

namespace velmora::contact {

using TelephoneSlots = std::array<std::u16string, kTelephoneSlotCount>;

// The category of one phone, from its Types tokens and its ABLabel.
// phcNone marks a phone kept under a label of its own.
EPhoneCategory ClassifyPhone(const ContactPhone& phone);

// The Types and ABLabel that give a phone of `category` (so that
// ClassifyPhone of such a phone returns `category`). False for phcNone and
// unknown values.
bool PhoneTypesOfCategory(EPhoneCategory category, std::u16string_view* types,
                          std::u16string_view* label);

// Fills the slots from the phones and their categories (one per phone, in
// list order), with the Mobile, Other, Home2 and Business2 fall-backs.
void BuildTelephoneSlots(const std::vector<ContactPhone>& phones,
                         const std::vector<EPhoneCategory>& categories, TelephoneSlots& slots);

}  // namespace velmora::contact
