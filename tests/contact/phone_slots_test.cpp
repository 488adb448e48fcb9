#include "contact/phone_slots.h"

#include <vector>

#include <gtest/gtest.h>

#include "contact/contact_record.h"
#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora {
namespace {

using test::DumpTelephoneSlots;
using test::Phone;

struct ClassifyCase {
  const char16_t* types;
  const char16_t* label;
  EPhoneCategory expected;
};

TEST(PhoneSlotsTest, ClassifiesByTypesThenLabel) {
  const ClassifyCase cases[] = {
      // Fax first, whatever else is there.
      {u"WORK,FAX", u"", phcWorkFax},
      {u"fax,home", u"", phcHomeFax},
      {u"FAX", u"Radio", phcOtherFax},
      {u"FAX,WORK,HOME", u"", phcWorkFax},
      // Cell phones.
      {u"CELL,IPHONE", u"", phcIPhone},
      {u"CELL,WORK,IPHONE", u"", phcIPhone},
      {u"CELL, WORK", u"", phcWorkMobile},
      {u"HOME,CELL", u"", phcHomeMobile},
      {u"cell", u"", phcMobile},
      {u"CELL,VOICE", u"Assistant", phcMobile},
      // Pager, car, ISDN.
      {u"PAGER,WORK", u"", phcPager},
      {u"CAR", u"", phcCar},
      {u"ISDN", u"", phcIsdn},
      {u"PAGER,CAR", u"", phcPager},
      // Without a label, by the remaining types.
      {u"WORK,VOICE", u"", phcWork},
      {u"HOME", u"", phcHome},
      {u"WORK,HOME", u"", phcWork},
      {u"MAIN", u"", phcMain},
      {u"PREF", u"", phcMain},
      {u"COMPANYMAIN", u"", phcCompanyMain},
      {u"VOICE", u"", phcOther},
      {u"", u"", phcOther},
      {u"WORKS", u"", phcOther},  // tokens, not substrings
      // With a label, by the label alone.
      {u"WORK", u"Google Voice", phcGoogleVoice},
      {u"", u"grand_central", phcGoogleVoice},
      {u"", u"assistant", phcAssistant},
      {u"", u"Callback", phcCallback},
      {u"", u"Company", phcCompanyMain},
      {u"", u"Company Main", phcCompanyMain},
      {u"", u"Radio", phcRadio},
      {u"", u"TELEX", phcTelex},
      {u"", u"TTY/TDD", phcTtyTdd},
      {u"HOME", u"Main", phcMain},
      {u"HOME", u"Holiday house", phcNone},
  };
  for (const ClassifyCase& c : cases) {
    SCOPED_TRACE(test::U8(c.types) + " / " + test::U8(c.label));
    EXPECT_EQ(ClassifyPhone(Phone(u"1", c.types, c.label)), c.expected);
  }
}

TEST(PhoneSlotsTest, TypesOfEveryCategoryClassifyBackToIt) {
  for (int i = 1; i < kPhoneCategoryCount; ++i) {
    const auto category = static_cast<EPhoneCategory>(i);
    std::u16string_view types, label;
    ASSERT_TRUE(PhoneTypesOfCategory(category, &types, &label)) << i;
    EXPECT_EQ(ClassifyPhone(Phone(u"1", std::u16string(types), std::u16string(label))), category)
        << i;
  }
  EXPECT_FALSE(PhoneTypesOfCategory(phcNone, nullptr, nullptr));
  EXPECT_FALSE(PhoneTypesOfCategory(static_cast<EPhoneCategory>(22), nullptr, nullptr));
}

struct SlotCase {
  const char* what;
  std::vector<ContactPhone> phones;
  const char* expected;
};

TEST(PhoneSlotsTest, SlotsWithTheirFallBacks) {
  const SlotCase cases[] = {
      {"iPhone only fills Mobile", {Phone(u"1", u"CELL,IPHONE")}, "Mobile=1"},
      {"voice without label is Other", {Phone(u"1", u"VOICE")}, "Other=1"},
      {"two work phones, third in no slot",
       {Phone(u"1", u"WORK"), Phone(u"2", u"WORK,VOICE"), Phone(u"3", u"WORK")},
       "Business=1; Business2=2"},
      {"two home phones", {Phone(u"1", u"HOME"), Phone(u"2", u"HOME")}, "Home=1; Home2=2"},
      {"plain cell wins over iPhone",
       {Phone(u"1", u"CELL,IPHONE"), Phone(u"2", u"CELL")},
       "Mobile=2"},
      {"work cell becomes Mobile, not Business2",
       {Phone(u"1", u"WORK"), Phone(u"2", u"CELL,WORK")},
       "Business=1; Mobile=2"},
      {"second work cell becomes Business2",
       {Phone(u"1", u"CELL,WORK"), Phone(u"2", u"CELL,WORK")},
       "Business2=2; Mobile=1"},
      {"work cell is Business2 when Mobile is taken",
       {Phone(u"1", u"CELL"), Phone(u"2", u"CELL,WORK"), Phone(u"3", u"WORK")},
       "Business=3; Business2=2; Mobile=1"},
      {"home cell becomes Mobile",
       {Phone(u"1", u"CELL,HOME"), Phone(u"2", u"HOME")},
       "Home=2; Mobile=1"},
      {"second home cell becomes Home2",
       {Phone(u"1", u"CELL,HOME"), Phone(u"2", u"CELL,HOME")},
       "Home2=2; Mobile=1"},
      {"home cell is Home2 when Mobile is an iPhone",
       {Phone(u"1", u"CELL,HOME"), Phone(u"2", u"CELL,IPHONE")},
       "Home2=1; Mobile=2"},
      {"Home2 keeps the second home phone",
       {Phone(u"1", u"HOME"), Phone(u"2", u"HOME"), Phone(u"3", u"CELL"),
        Phone(u"4", u"CELL,HOME")},
       "Home=1; Home2=2; Mobile=3"},
      {"iPhone before work and home cells",
       {Phone(u"1", u"CELL,HOME"), Phone(u"2", u"CELL,WORK"), Phone(u"3", u"CELL,IPHONE")},
       "Business2=2; Home2=1; Mobile=3"},
      {"Google Voice fills an empty Other", {Phone(u"1", u"", u"Google Voice")}, "Other=1"},
      {"Other keeps its own phone",
       {Phone(u"1", u"", u"GRAND_CENTRAL"), Phone(u"2", u"VOICE")},
       "Other=2"},
      {"labelled kinds",
       {Phone(u"1", u"", u"Assistant"), Phone(u"2", u"", u"Company"), Phone(u"3", u"", u"Callback"),
        Phone(u"4", u"", u"Radio"), Phone(u"5", u"", u"TTY/TDD"), Phone(u"6", u"", u"Telex"),
        Phone(u"7", u"", u"Main")},
       "Primary=7; Assistant=1; CompanyMain=2; Callback=3; Radio=4; TTYTDD=5; Telex=6"},
      {"typed kinds",
       {Phone(u"1", u"WORK,FAX"), Phone(u"2", u"HOME,FAX"), Phone(u"3", u"FAX"),
        Phone(u"4", u"CAR"), Phone(u"5", u"PAGER"), Phone(u"6", u"ISDN"), Phone(u"7", u"PREF")},
       "BusinessFax=1; HomeFax=2; Car=4; Pager=5; ISDN=6; Primary=7; OtherFax=3"},
      {"own label takes no slot", {Phone(u"1", u"", u"Boat")}, ""},
      {"no phones", {}, ""},
  };
  for (const SlotCase& c : cases) {
    SCOPED_TRACE(c.what);
    ContactRecord record;
    record.Phones = c.phones;
    EXPECT_EQ(DumpTelephoneSlots(record), c.expected);
  }
}

TEST(PhoneSlotsTest, OutOfRangeSlotIsEmpty) {
  ContactRecord record;
  record.Phones = {Phone(u"1", u"WORK")};
  EXPECT_TRUE(record.TelephoneSlot(-1).empty());
  EXPECT_TRUE(record.TelephoneSlot(kTelephoneSlotCount).empty());
  EXPECT_EQ(record.TelephoneSlot(tsBusiness), u"1");
}

TEST(PhoneSlotsTest, CategoriesFollowTheList) {
  ContactRecord record;
  record.Phones = {Phone(u"1", u"WORK"), Phone(u"2", u"", u"Boat"), Phone(u"3", u"CELL")};
  EXPECT_EQ(record.PhoneCategories(), (std::vector<EPhoneCategory>{phcWork, phcNone, phcMobile}));
}

}  // namespace
}  // namespace velmora
