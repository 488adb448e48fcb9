// The Cards collection and the card previews.
#include "automation/automation_test_support.h"

namespace velmora::test {
namespace {

TEST(Cards, IndexAndPointerChecks) {
  auto converter = NewConverter();
  auto cards = LoadText(*converter, Card("A", "Ann") + Card("B", "Bob") + Card("C", "Cid"));
  std::vector<std::uint8_t> bytes;
  std::shared_ptr<ICardPreview> preview;
  std::shared_ptr<ICardContact> contact;
  std::u16string tag = u"x";
  for (std::int32_t index : {-1, 3, 1000}) {
    EXPECT_EQ(cards->Item(index, &bytes), E_INVALIDARG) << index;
    EXPECT_EQ(cards->ItemPreview(index, &preview), E_INVALIDARG) << index;
    EXPECT_EQ(cards->ItemContact(index, &contact), E_INVALIDARG) << index;
    EXPECT_EQ(cards->Tag(index, &tag), E_INVALIDARG) << index;
  }
  EXPECT_EQ(cards->get_Count(nullptr), E_INVALIDARG);
  EXPECT_EQ(cards->Item(0, nullptr), E_INVALIDARG);
  EXPECT_EQ(cards->ItemPreview(0, nullptr), E_INVALIDARG);
  EXPECT_EQ(cards->ItemContact(0, nullptr), E_INVALIDARG);
  EXPECT_EQ(cards->GetAllItems(nullptr), E_INVALIDARG);
  // A collection from a load has no tags.
  EXPECT_EQ(cards->Tag(0, &tag), S_OK);
  EXPECT_EQ(tag, u"");
  ASSERT_EQ(cards->Item(1, &bytes), S_OK);
  EXPECT_EQ(Text(bytes), Card("B", "Bob"));
}

TEST(Cards, PreviewAndContactAreCachedPerIndex) {
  auto converter = NewConverter();
  auto cards = LoadText(*converter, Card("A", "Ann") + Card("B", "Bob"));
  std::shared_ptr<ICardPreview> p1, p2, p3;
  ASSERT_EQ(cards->ItemPreview(0, &p1), S_OK);
  ASSERT_EQ(cards->ItemPreview(0, &p2), S_OK);
  ASSERT_EQ(cards->ItemPreview(1, &p3), S_OK);
  EXPECT_EQ(p1, p2);
  EXPECT_NE(p1, p3);
  std::shared_ptr<ICardContact> c1, c2;
  ASSERT_EQ(cards->ItemContact(0, &c1), S_OK);
  ASSERT_EQ(cards->ItemContact(0, &c2), S_OK);
  EXPECT_EQ(c1, c2);
  EXPECT_NE(static_cast<IObject*>(c1.get()), static_cast<IObject*>(p1.get()));
  // Edits stay in the cached object and never reach the bytes.
  ASSERT_EQ(c1->put_FirstName(u"Anna"), S_OK);
  std::u16string name;
  ASSERT_EQ(c2->get_FirstName(&name), S_OK);
  EXPECT_EQ(name, u"Anna");
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(cards->Item(0, &bytes), S_OK);
  EXPECT_EQ(Text(bytes).find("Anna"), std::string::npos);
}

TEST(CardPreview, FieldsOfAFullCard) {
  auto converter = NewConverter();
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;John;Q;Dr;Jr\r\nFN:Dr John Q Doe Jr\r\n"
      "ORG:Acme;Sales\r\nTITLE:Boss\r\n"
      "ADR;TYPE=WORK:;;1 Main St;Springfield;IL;12345;USA\r\n"
      "ADR;TYPE=HOME:;; ;Shelbyville;;;\r\n"
      "EMAIL;TYPE=INTERNET:john@acme.example\r\nEMAIL:jd@home.example\r\n"
      "TEL;TYPE=WORK:+1 555 0100\r\nTEL;TYPE=CELL:+1 555 0199\r\n"
      "IMPP:xmpp:john@jabber.example\r\n"
      "NOTE:line one\\nline two\r\nBDAY:1970-01-01\r\nEND:VCARD\r\n";
  auto cards = LoadText(*converter, card);
  std::shared_ptr<ICardPreview> preview;
  ASSERT_EQ(cards->ItemPreview(0, &preview), S_OK);
  std::string fields;
  for (auto get :
       {&ICardPreview::get_FileAs, &ICardPreview::get_FullName, &ICardPreview::get_Addresses,
        &ICardPreview::get_Emails, &ICardPreview::get_Phones, &ICardPreview::get_Company,
        &ICardPreview::get_JobTitle, &ICardPreview::get_Notes}) {
    std::u16string value;
    ASSERT_EQ(((*preview).*get)(&value), S_OK);
    fields += U8(value) + "\n";
  }
  EXPECT_EQ(fields,
            "Doe, John Q\nDr John Q Doe Jr\n1 Main St Springfield IL 12345 USA, Shelbyville\n"
            "john@acme.example, jd@home.example\n+1 555 0100, +1 555 0199\nAcme\nBoss\n"
            "line one line two\n");
  std::u16string impps;
  ASSERT_EQ(preview->get_IMPPs(&impps), S_OK);
  EXPECT_NE(impps.find(u"john@jabber.example"), std::u16string::npos) << U8(impps);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(preview->get_vCard(&bytes), S_OK);
  EXPECT_EQ(Text(bytes), card);
  EXPECT_EQ(preview->get_FileAs(nullptr), E_INVALIDARG);
}

TEST(CardPreview, ListsUseTheUserListSeparator) {
  ScopedSettings settings;
  settings.ListSeparator(u" ; ");
  auto converter = NewConverter();
  auto cards =
      LoadText(*converter, Card("Doe", "John", "", "EMAIL:a@x.example\r\nEMAIL:b@x.example\r\n"));
  std::shared_ptr<ICardPreview> preview;
  ASSERT_EQ(cards->ItemPreview(0, &preview), S_OK);
  std::u16string emails;
  ASSERT_EQ(preview->get_Emails(&emails), S_OK);
  EXPECT_EQ(emails, u"a@x.example; b@x.example");
}

TEST(Cards, GetAllItemsTrimsAndJoins) {
  auto converter = NewConverter();
  const std::string a = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nEND:VCARD";
  const std::string b = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:B\r\nEND:VCARD";
  const std::string c = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:C\r\nEND:VCARD";
  auto cards = LoadText(*converter, a + "\r\n" + b + "\r\n\r\n" + c + "\r\n");
  std::vector<std::uint8_t> all;
  ASSERT_EQ(cards->GetAllItems(&all), S_OK);
  EXPECT_EQ(Text(all), a + "\r\n" + b + "\r\n" + c);
  // The collection loads back from its own output.
  EXPECT_EQ(Count(LoadText(*converter, Text(all))), 3);
}

}  // namespace
}  // namespace velmora::test
