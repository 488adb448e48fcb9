#include "contact/phone_slots.h"

#include <cstddef>

#include "foundation/text_util.h"

namespace velmora::contact {
namespace {

bool LabelIs(std::u16string_view label, std::u16string_view word) {
  return text::EqualsNoCase(label, word);
}

// Types and label per category, indexed by EPhoneCategory.
struct CategoryTypes {
  std::u16string_view types;
  std::u16string_view label;
};
constexpr CategoryTypes kCategoryTypes[kPhoneCategoryCount] = {
    {u"", u""},              // phcNone
    {u"", u"Assistant"},     // phcAssistant
    {u"", u"Callback"},      // phcCallback
    {u"CAR", u""},           // phcCar
    {u"", u"Company"},       // phcCompanyMain
    {u"", u"Google Voice"},  // phcGoogleVoice
    {u"HOME,FAX", u""},      // phcHomeFax
    {u"HOME", u""},          // phcHome
    {u"ISDN", u""},          // phcIsdn
    {u"MAIN,PREF", u""},     // phcMain
    {u"CELL", u""},          // phcMobile
    {u"CELL,IPHONE", u""},   // phcIPhone
    {u"CELL,WORK", u""},     // phcWorkMobile
    {u"CELL,HOME", u""},     // phcHomeMobile
    {u"FAX", u""},           // phcOtherFax
    {u"VOICE", u""},         // phcOther
    {u"PAGER", u""},         // phcPager
    {u"", u"Radio"},         // phcRadio
    {u"", u"Telex"},         // phcTelex
    {u"", u"TTY/TDD"},       // phcTtyTdd
    {u"WORK,FAX", u""},      // phcWorkFax
    {u"WORK", u""},          // phcWork
};

// The index of the n-th (0-based) phone of `category`, or npos.
std::size_t FindPhone(const std::vector<EPhoneCategory>& categories, EPhoneCategory category,
                      int nth) {
  for (std::size_t i = 0; i < categories.size(); ++i) {
    if (categories[i] == category && nth-- == 0) return i;
  }
  return static_cast<std::size_t>(-1);
}

}  // namespace

EPhoneCategory ClassifyPhone(const ContactPhone& phone) {
  const std::u16string_view types = phone.Types;
  auto has = [types](std::u16string_view token) { return HasTypeToken(types, token); };
  if (has(u"FAX")) {
    if (has(u"WORK")) return phcWorkFax;
    if (has(u"HOME")) return phcHomeFax;
    return phcOtherFax;
  }
  if (has(u"CELL")) {
    if (has(u"IPHONE")) return phcIPhone;
    if (has(u"WORK")) return phcWorkMobile;
    if (has(u"HOME")) return phcHomeMobile;
    return phcMobile;
  }
  if (has(u"PAGER")) return phcPager;
  if (has(u"CAR")) return phcCar;
  if (has(u"ISDN")) return phcIsdn;

  const std::u16string_view label = phone.ABLabel;
  if (label.empty()) {
    if (has(u"WORK")) return phcWork;
    if (has(u"HOME")) return phcHome;
    if (has(u"MAIN") || has(u"PREF")) return phcMain;
    if (has(u"COMPANYMAIN")) return phcCompanyMain;
    return phcOther;
  }
  if (LabelIs(label, u"Google Voice") || LabelIs(label, u"GRAND_CENTRAL")) return phcGoogleVoice;
  if (LabelIs(label, u"Assistant")) return phcAssistant;
  if (LabelIs(label, u"Callback")) return phcCallback;
  if (LabelIs(label, u"Company") || LabelIs(label, u"Company Main")) return phcCompanyMain;
  if (LabelIs(label, u"Radio")) return phcRadio;
  if (LabelIs(label, u"Telex")) return phcTelex;
  if (LabelIs(label, u"TTY/TDD")) return phcTtyTdd;
  if (LabelIs(label, u"Main")) return phcMain;
  return phcNone;
}

bool PhoneTypesOfCategory(EPhoneCategory category, std::u16string_view* types,
                          std::u16string_view* label) {
  const int index = static_cast<int>(category);
  if (index <= phcNone || index >= kPhoneCategoryCount) return false;
  if (types != nullptr) *types = kCategoryTypes[index].types;
  if (label != nullptr) *label = kCategoryTypes[index].label;
  return true;
}

void BuildTelephoneSlots(const std::vector<ContactPhone>& phones,
                         const std::vector<EPhoneCategory>& categories, TelephoneSlots& slots) {
  for (auto& slot : slots) slot.clear();
  auto fill = [&](int slot, EPhoneCategory category, int nth) {
    std::size_t i = FindPhone(categories, category, nth);
    if (i < phones.size()) slots[slot] = phones[i].Value;
  };

  // Slot, category, 0 for the first phone of the category, 1 for the second.
  struct SlotSource {
    ETelephoneSlot slot;
    EPhoneCategory category;
    int nth;
  };
  static constexpr SlotSource kSources[] = {
      {tsBusiness, phcWork, 0},
      {tsBusiness2, phcWork, 1},
      {tsBusinessFax, phcWorkFax, 0},
      {tsHome, phcHome, 0},
      {tsHome2, phcHome, 1},
      {tsHomeFax, phcHomeFax, 0},
      {tsMobile, phcMobile, 0},
      {tsCar, phcCar, 0},
      {tsPager, phcPager, 0},
      {tsISDN, phcIsdn, 0},
      {tsPrimary, phcMain, 0},
      {tsOther, phcOther, 0},
      {tsOtherFax, phcOtherFax, 0},
      {tsAssistant, phcAssistant, 0},
      {tsCompanyMain, phcCompanyMain, 0},
      {tsCallback, phcCallback, 0},
      {tsRadio, phcRadio, 0},
      {tsTTYTDD, phcTtyTdd, 0},
      {tsTelex, phcTelex, 0},
  };
  for (const SlotSource& source : kSources) fill(source.slot, source.category, source.nth);

  // Fall-backs. A mobile taken from the work or home cell phones is not
  // offered again as Business2 or Home2.
  EPhoneCategory mobile_from = phcMobile;
  if (slots[tsMobile].empty()) {
    for (EPhoneCategory category : {phcIPhone, phcWorkMobile, phcHomeMobile}) {
      fill(tsMobile, category, 0);
      if (!slots[tsMobile].empty()) {
        mobile_from = category;
        break;
      }
    }
  }
  if (slots[tsOther].empty()) fill(tsOther, phcGoogleVoice, 0);
  if (slots[tsHome2].empty()) fill(tsHome2, phcHomeMobile, mobile_from == phcHomeMobile ? 1 : 0);
  if (slots[tsBusiness2].empty())
    fill(tsBusiness2, phcWorkMobile, mobile_from == phcWorkMobile ? 1 : 0);
}

}  // namespace velmora::contact
