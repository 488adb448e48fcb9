#include "contact/contact_record.h"

#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora::contact {
namespace {

using test::Address;
using test::DumpRelatedNameSlots;
using test::DumpTelephoneSlots;
using test::Phone;
using test::Related;
using test::Url;

// Fields away from their defaults (the clear test sets every text itself).
ContactRecord FilledRecord() {
  ContactRecord r;
  r.Version = 30;
  r.ProdId = "-//Test//EN";
  r.Charsets = "utf-8";
  r.IsSkypeCard = true;
  r.SourceCopyable = false;
  r.SourceText = "BEGIN:VCARD";
  r.FirstName = u"Ann";
  r.Birthday = 36000.0;
  r.Addresses = {Address(u"Main St", u"WORK")};
  r.SelectedMailingAddress = vlmcaBusiness;
  r.Phones = {Phone(u"1", u"WORK")};
  r.Emails = {ContactEmail{u"INTERNET", u"SMTP", u"a@b.c", "item1", u""}};
  r.Impps = {ContactImpp{u"", u"aim", u"aim", u"ann", "", u""}};
  r.RelatedNames = {Related(u"Bob", vlmcrnManager)};
  r.SocialProfiles = {ContactSocialProfile{u"x", u"ann", u"", "", u""}};
  r.Urls = {Url(u"http://a", u"WORK")};
  r.Dates = {ContactDate{40000.0, u"", "", kAnniversaryLabel}};
  r.LastModificationTime = 41000.5;
  r.CustomFields = {ContactCustomField{u"v", u"", "", u""}};
  r.Sensitivity = vlmcsPrivate;
  r.Gender = vlmcgMale;
  r.Photo = {1, 2, 3};
  return r;
}

// A cleared record equals a new one, keeps the room of its texts and lists
// for the next card, and rebuilds its views from scratch.
TEST(ContactRecordTest, ClearMakesANewRecordAndKeepsItsRoom) {
  ContactRecord r = FilledRecord();
  const std::u16string long_text(100, u'x');
  for (auto [name, field] : test::kTextFields) r.*field = long_text;
  r.Phones.assign(10, Phone(u"1", u"WORK"));
  ASSERT_EQ(r.TelephoneSlot(tsBusiness), u"1");  // builds the caches
  ASSERT_EQ(r.RelatedNameSlot(rnsManager), u"Bob");
  r.Clear();
  const ContactRecord fresh;
  for (auto [name, field] : test::kTextFields) {
    SCOPED_TRACE(name);
    EXPECT_TRUE((r.*field).empty());
    EXPECT_GE((r.*field).capacity(), long_text.size());
  }
  EXPECT_EQ(
      std::tie(r.Version, r.ProdId, r.Charsets, r.IsSkypeCard, r.SourceCopyable, r.SourceText,
               r.Birthday, r.SelectedMailingAddress, r.LastModificationTime, r.Sensitivity,
               r.Gender, r.Photo),
      std::tie(fresh.Version, fresh.ProdId, fresh.Charsets, fresh.IsSkypeCard, fresh.SourceCopyable,
               fresh.SourceText, fresh.Birthday, fresh.SelectedMailingAddress,
               fresh.LastModificationTime, fresh.Sensitivity, fresh.Gender, fresh.Photo));
  EXPECT_TRUE(r.Addresses.empty() && r.Phones.empty() && r.Emails.empty() && r.Impps.empty() &&
              r.RelatedNames.empty() && r.SocialProfiles.empty() && r.Urls.empty() &&
              r.Dates.empty() && r.CustomFields.empty());
  EXPECT_GE(r.Phones.capacity(), 10u);
  // The picture is not kept.
  EXPECT_EQ(r.Photo.capacity(), 0u);
  EXPECT_EQ(DumpRelatedNameSlots(r), "||||");
  r.Phones = {Phone(u"2", u"HOME")};
  EXPECT_EQ(DumpTelephoneSlots(r), "Home=2");
}

TEST(ContactRecordTest, CopyTakesFieldsButNotCaches) {
  ContactRecord original = FilledRecord();
  ASSERT_EQ(original.TelephoneSlot(tsBusiness), u"1");
  ContactRecord copy = original;
  EXPECT_EQ(copy.FirstName, u"Ann");
  EXPECT_EQ(copy.Photo, original.Photo);
  EXPECT_EQ(copy.Emails, original.Emails);
  // The copy builds its views from its own lists.
  copy.Phones = {Phone(u"2", u"HOME")};
  EXPECT_EQ(DumpTelephoneSlots(copy), "Home=2");
  EXPECT_EQ(DumpTelephoneSlots(original), "Business=1");

  ContactRecord assigned;
  assigned.Phones = {Phone(u"9", u"CAR")};
  ASSERT_EQ(DumpTelephoneSlots(assigned), "Car=9");
  assigned = original;
  assigned.Phones.push_back(Phone(u"3", u"PAGER"));
  EXPECT_EQ(DumpTelephoneSlots(assigned), "Business=1; Pager=3");

  ContactRecord moved = std::move(assigned);
  moved.Phones = {Phone(u"4", u"ISDN")};
  EXPECT_EQ(DumpTelephoneSlots(moved), "ISDN=4");
}

TEST(ContactRecordTest, InvalidateCachesRebuildsViews) {
  ContactRecord r;
  r.Phones = {Phone(u"1", u"WORK")};
  r.RelatedNames = {Related(u"Al", vlmcrnAssistant)};
  ASSERT_EQ(DumpTelephoneSlots(r), "Business=1");
  ASSERT_EQ(DumpRelatedNameSlots(r), "|Al|||");
  r.Phones.push_back(Phone(u"2", u"WORK"));
  r.RelatedNames.push_back(Related(u"Sue", vlmcrnSpouse));
  EXPECT_EQ(DumpTelephoneSlots(r), "Business=1");  // still the cached view
  r.InvalidateCaches();
  EXPECT_EQ(DumpTelephoneSlots(r), "Business=1; Business2=2");
  EXPECT_EQ(DumpRelatedNameSlots(r), "|Al|Sue||");
}

TEST(ContactRecordTest, DateRule) {
  const std::pair<double, bool> cases[] = {
      {0.0, true},      {949633.0, true},  {949998.0, true}, {1.0, false},
      {36526.0, false}, {949633.5, false}, {-1.0, false},
  };
  for (auto [date, empty] : cases) EXPECT_EQ(IsEmptyDate(date), empty) << date;
}

TEST(ContactRecordTest, EmailsByPosition) {
  ContactRecord r;
  r.Emails = {ContactEmail{u"", u"SMTP", u"one@x", "", u""},
              ContactEmail{u"", u"", u"two@x", "", u""}};
  std::u16string seen;
  for (int n : {-5, 0, 1, 2, 3}) seen += r.Email(n) + u"/" + r.EmailAddressType(n) + u";";
  EXPECT_EQ(seen, u"/;/;one@x/SMTP;two@x/;/;");
}

TEST(ContactRecordTest, AnniversaryIsTheFirstNonEmptyLabelledDate) {
  ContactRecord r;
  EXPECT_EQ(r.Anniversary(), 0.0);
  r.Dates = {ContactDate{30000.0, u"", "", u"_$!<Other>!$_"},
             ContactDate{949998.0, u"", "", kAnniversaryLabel},
             ContactDate{31000.0, u"", "", u"_$!<anniversary>!$_"},
             ContactDate{32000.0, u"", "", kAnniversaryLabel}};
  EXPECT_EQ(r.Anniversary(), 31000.0);
}

// "first|second" as its two parts.
std::pair<std::u16string, std::u16string> Pair(const std::string& text) {
  const std::size_t bar = text.find('|');
  return {test::U16(text.substr(0, bar)), test::U16(text.substr(bar + 1))};
}

TEST(ContactRecordTest, AddressByKind) {
  for (const test::FileCase& c : test::ReadCases("contact/data/address_kinds.txt")) {
    SCOPED_TRACE(c.name);
    ContactRecord r;
    for (const std::string& address : c.All("address")) {
      auto [street, types] = Pair(address);
      r.Addresses.push_back(Address(street, types));
    }
    EXPECT_EQ(test::DumpAddressKinds(r), c["kinds"]);
  }
  ContactRecord r;
  r.Addresses = {Address(u"A", u"")};
  EXPECT_EQ(r.AddressByKind(vlmcaNone), nullptr);
  EXPECT_EQ(r.AddressByKind(static_cast<EContactAddress>(7)), nullptr);
}

TEST(ContactRecordTest, UrlByKind) {
  for (const test::FileCase& c : test::ReadCases("contact/data/url_kinds.txt")) {
    SCOPED_TRACE(c.name);
    ContactRecord r;
    for (const std::string& url : c.All("url")) {
      auto [value, types] = Pair(url);
      r.Urls.push_back(Url(value, types));
    }
    EXPECT_EQ(test::DumpUrlKinds(r), c["kinds"]);
  }
  ContactRecord r;
  r.Urls = {Url(u"x", u"")};
  EXPECT_EQ(r.UrlByKind(static_cast<EContactUrlKind>(0)), nullptr);
}

TEST(ContactRecordTest, RelatedNameSlots) {
  for (const test::FileCase& c : test::ReadCases("contact/data/related_slots.txt")) {
    SCOPED_TRACE(c.name);
    ContactRecord r;
    for (const std::string& related : c.All("related")) {
      auto [name, label] = Pair(related);
      r.RelatedNames.push_back(
          Related(name, static_cast<EContactRelatedName>(std::stoi(test::U8(label)))));
    }
    EXPECT_EQ(DumpRelatedNameSlots(r), c["slots"]);
  }
}

TEST(ContactRecordTest, ChildrenUseTheUserListSeparator) {
  test::ScopedSettings settings;
  settings.ListSeparator(u";");
  ContactRecord r;
  r.RelatedNames = {Related(u"Kim", vlmcrnChild), Related(u"Lou", vlmcrnChild)};
  EXPECT_EQ(r.RelatedNameSlot(rnsChildren), u"Kim;Lou");
  EXPECT_TRUE(r.RelatedNameSlot(5).empty());
  EXPECT_TRUE(r.RelatedNameSlot(-1).empty());
}

TEST(ContactRecordTest, NetMeetingNames) {
  ContactRecord r;
  EXPECT_EQ(r.NetMeetingNames(), u"");
  r.NetMeetingServer = u"srv";
  EXPECT_EQ(r.NetMeetingNames(), u"callto://srv/");
  r.NetMeetingAlias = u"me";
  EXPECT_EQ(r.NetMeetingNames(), u"callto://srv/me");

  for (const test::FileCase& c : test::ReadCases("contact/data/net_meeting.txt")) {
    SCOPED_TRACE(c.name);
    r.SetNetMeetingNames(test::U16(c["names"]));
    EXPECT_EQ(test::U8(r.NetMeetingServer + u"|" + r.NetMeetingAlias), c["split"]);
  }
}

}  // namespace
}  // namespace velmora::contact
