#include "contact/contact_list_items.h"

#include <string>

#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora::contact {
namespace {

TEST(ContactListItemsTest, TypeTokens) {
  const struct {
    const char16_t* types;
    const char16_t* token;
    bool expected;
  } cases[] = {
      {u"WORK", u"WORK", true},    {u"home,work", u"WORK", true}, {u"HOME, WORK ", u"work", true},
      {u"WORKS", u"WORK", false},  {u"X-WORK", u"WORK", false},   {u"", u"WORK", false},
      {u",,WORK,", u"WORK", true}, {u"HOME", u"", false},         {u"PREF;WORK", u"WORK", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasTypeToken(c.types, c.token), c.expected)
        << test::U8(c.types) << " / " << test::U8(c.token);
  }
}

// Every label's text reads back as the same label; out-of-range labels have
// no text.
TEST(ContactListItemsTest, RelatedNameLabelsRoundTrip) {
  EXPECT_EQ(RelatedNameLabelText(static_cast<EContactRelatedName>(0)), u"");
  for (int i = 1; i <= 12; ++i) {
    const auto label = static_cast<EContactRelatedName>(i);
    const std::u16string text(RelatedNameLabelText(label));
    EXPECT_FALSE(text.empty()) << i;
    ContactRelatedName name;
    SetRelatedNameLabel(name, text);
    EXPECT_EQ(name.Label, label) << i;
    EXPECT_EQ(RelatedNameLabelText(name), text);
  }
  EXPECT_EQ(RelatedNameLabelText(vlmcrnChild), u"_$!<Child>!$_");
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

  const ContactRelatedName referred{{}, {}, {}, vlmcrnReferredBy, {}};
  EXPECT_EQ(RelatedNameLabelText(referred), u"REFERRED_BY");
  EXPECT_EQ(RelatedNameLabelDisplay(referred), u"Referred by");

  const ContactRelatedName unknown{{}, {}, {}, static_cast<EContactRelatedName>(40), u"kept"};
  EXPECT_EQ(RelatedNameLabelText(unknown), u"kept");
}

}  // namespace
}  // namespace velmora::contact
