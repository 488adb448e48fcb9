#include "contact/phone_slots.h"

#include <vector>

#include <gtest/gtest.h>

#include "contact/contact_record.h"
#include "support/case_file.h"
#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora::contact {
namespace {

using test::Phone;

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

TEST(PhoneSlotsTest, CategoriesAndSlots) {
  for (const test::FileCase& c : test::ReadCases("contact/data/phone_slots.txt")) {
    SCOPED_TRACE(c.name);
    if (c.Has("category")) {
      EXPECT_EQ(ClassifyPhone(Phone(u"1", test::U16(c["types"]), test::U16(c["label"]))),
                c.Number("category"));
      continue;
    }
    ContactRecord record;
    for (const std::string& phone : c.All("phone")) {
      const std::size_t bar = phone.find('|'), label = phone.find('|', bar + 1);
      record.Phones.push_back(
          Phone(test::U16(phone.substr(0, bar)), test::U16(phone.substr(bar + 1, label - bar - 1)),
                label == std::string::npos ? u"" : test::U16(phone.substr(label + 1))));
    }
    EXPECT_EQ(test::DumpTelephoneSlots(record), c["slots"]);
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
}  // namespace velmora::contact
