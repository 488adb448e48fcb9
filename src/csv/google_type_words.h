// The words Google's CSV files use for the types of phones and the services
// of instant-messaging addresses, read on import and written on export.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "contact/contact_enums.h"

namespace velmora::csv {

// The phone kind of a Google phone type word (ASCII case ignored); Other for
// no word, phcNone for a word of no kind.
contact::EPhoneCategory GooglePhoneKind(std::u16string_view word);
// The word Google writes for a phone kind; empty for phcNone.
std::u16string_view GooglePhoneWord(contact::EPhoneCategory kind);

// Google's relation words for the related-name labels Assistant (1) to
// Spouse (11), in label order.
std::span<const char16_t* const> GoogleRelationWords();

struct GoogleImService {
  std::u16string_view word;
  std::u16string_view service_type;
  std::u16string_view protocol;
};
// The service of a Google service word (ASCII case ignored); null when the
// word is none of the twelve.
const GoogleImService* FindGoogleImService(std::u16string_view word);
// The word for an address's service type and protocol: the table's word,
// else the service type itself.
std::u16string GoogleImServiceWord(std::u16string_view service_type, std::u16string_view protocol);

}  // namespace velmora::csv
