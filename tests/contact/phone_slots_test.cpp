#include "contact/phone_slots.h"

#include <vector>

#include <gtest/gtest.h>

#include "contact/contact_record.h"
#include "support/case_file.h"
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

// The cases of tests/contact/data/phone_slots.txt.
TEST(PhoneSlotsTest, SlotsWithTheirFallBacks) {
  for (const test::FileCase& c : test::ReadCases("contact/data/phone_slots.txt")) {
    SCOPED_TRACE(c.name);
    ContactRecord record;
    for (const std::string& phone : c.All("phone")) {
      const std::size_t bar = phone.find('|'), label = phone.find('|', bar + 1);
      record.Phones.push_back(
          Phone(test::U16(phone.substr(0, bar)), test::U16(phone.substr(bar + 1, label - bar - 1)),
                label == std::string::npos ? u"" : test::U16(phone.substr(label + 1))));
    }
    EXPECT_EQ(DumpTelephoneSlots(record), c["slots"]);
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
