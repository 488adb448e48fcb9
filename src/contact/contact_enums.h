// Enumerations of the contact model. The E-prefixed ones carry the values of
// the automation type library; the slot and category numberings index the
// record's derived views.
#pragma once

#include <cstdint>

#include <velmora/enums.h>

namespace velmora::contact {

// EContactAddress, EContactSensitivity, EContactGender and
// EContactRelatedName are the object model's, in <velmora/enums.h>.

// The kinds of "URL by kind".
enum EContactUrlKind : std::int32_t {
  urlkPersonal = 1,
  urlkBusiness = 2,
};

// The category a phone falls into by its types and label (0: a phone kept
// under a label of its own). CSV import calls these the phone kinds.
enum EPhoneCategory : std::int32_t {
  phcNone = 0,
  phcAssistant = 1,
  phcCallback = 2,
  phcCar = 3,
  phcCompanyMain = 4,
  phcGoogleVoice = 5,
  phcHomeFax = 6,
  phcHome = 7,
  phcIsdn = 8,
  phcMain = 9,
  phcMobile = 10,
  phcIPhone = 11,
  phcWorkMobile = 12,
  phcHomeMobile = 13,
  phcOtherFax = 14,
  phcOther = 15,
  phcPager = 16,
  phcRadio = 17,
  phcTelex = 18,
  phcTtyTdd = 19,
  phcWorkFax = 20,
  phcWork = 21,
};
inline constexpr int kPhoneCategoryCount = 22;  // 0 to 21

// The nineteen telephone slots, in the order of the contact object's
// telephone properties.
enum ETelephoneSlot : std::int32_t {
  tsBusiness = 0,
  tsBusiness2 = 1,
  tsBusinessFax = 2,
  tsHome = 3,
  tsHome2 = 4,
  tsHomeFax = 5,
  tsMobile = 6,
  tsCar = 7,
  tsPager = 8,
  tsISDN = 9,
  tsPrimary = 10,
  tsOther = 11,
  tsOtherFax = 12,
  tsAssistant = 13,
  tsCompanyMain = 14,
  tsCallback = 15,
  tsRadio = 16,
  tsTTYTDD = 17,
  tsTelex = 18,
};
inline constexpr int kTelephoneSlotCount = 19;

// The five related-name slots.
enum ERelatedNameSlot : std::int32_t {
  rnsManager = 0,
  rnsAssistant = 1,
  rnsSpouse = 2,
  rnsChildren = 3,
  rnsReferredBy = 4,
};
inline constexpr int kRelatedNameSlotCount = 5;

}  // namespace velmora::contact
