#include "contact/contact_list_items.h"

#include <gtest/gtest.h>

#include "contact/contact_test_util.h"

namespace velmora {
namespace {

TEST(ContactListItemsTest, TypeTokens) {
  const struct {
    const char16_t* types;
    const char16_t* token;
    bool expected;
  } cases[] = {
      {u"WORK", u"WORK", true},      {u"home,work", u"WORK", true},
      {u"HOME, WORK ", u"work", true}, {u"WORKS", u"WORK", false},
      {u"X-WORK", u"WORK", false},   {u"", u"WORK", false},
      {u",,WORK,", u"WORK", true},   {u"HOME", u"", false},
      {u"PREF;WORK", u"WORK", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasTypeToken(c.types, c.token), c.expected)
        << test::U8(c.types) << " / " << test::U8(c.token);
  }
}

TEST(ContactListItemsTest, RelatedNameLabelTexts) {
  const char16_t* const expected[] = {
      u"",
      u"_$!<Assistant>!$_", u"_$!<Brother>!$_", u"_$!<Child>!$_",  u"_$!<Father>!$_",
      u"_$!<Friend>!$_",    u"_$!<Manager>!$_", u"_$!<Mother>!$_", u"_$!<Parent>!$_",
      u"_$!<Partner>!$_",   u"_$!<Sister>!$_",  u"_$!<Spouse>!$_", u"REFERRED_BY",
  };
  for (int i = 0; i <= 12; ++i) {
    const auto label = static_cast<EContactRelatedName>(i);
    EXPECT_EQ(RelatedNameLabelText(label), expected[i]) << i;
    ContactRelatedName name;
    if (i > 0) {
      // The label text selects the same index again.
      SetRelatedNameLabel(name, expected[i]);
      EXPECT_EQ(name.Label, label) << i;
      EXPECT_EQ(RelatedNameLabelText(name), expected[i]);
    }
  }
  EXPECT_EQ(RelatedNameLabelText(static_cast<EContactRelatedName>(13)), u"");
  EXPECT_EQ(RelatedNameLabelText(static_cast<EContactRelatedName>(-1)), u"");
}

TEST(ContactListItemsTest, OtherLabelsKeepTheirText) {
  ContactRelatedName name;
  SetRelatedNameLabel(name, u"_$!<spouse>!$_");
  EXPECT_EQ(name.Label, vlmcrnSpouse);
  SetRelatedNameLabel(name, u"Godmother");
  EXPECT_EQ(name.Label, vlmcrnOther);
  EXPECT_EQ(name.LabelOther, u"Godmother");
  EXPECT_EQ(RelatedNameLabelText(name), u"Godmother");
  EXPECT_EQ(RelatedNameLabelDisplay(name), u"Godmother");
  SetRelatedNameLabel(name, u"_$!<Manager>!$_");
  EXPECT_EQ(name.Label, vlmcrnManager);
  EXPECT_TRUE(name.LabelOther.empty());

  ContactRelatedName referred;
  referred.Label = vlmcrnReferredBy;
  EXPECT_EQ(RelatedNameLabelText(referred), u"REFERRED_BY");
  EXPECT_EQ(RelatedNameLabelDisplay(referred), u"Referred by");

  ContactRelatedName unknown;
  unknown.Label = static_cast<EContactRelatedName>(40);
  unknown.LabelOther = u"kept";
  EXPECT_EQ(RelatedNameLabelText(unknown), u"kept");
}

}  // namespace
}  // namespace velmora
