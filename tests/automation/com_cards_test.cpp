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
  for (std::int32_t index : {-1, 3}) {
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
  ASSERT_EQ(c1, c2);
  EXPECT_NE(static_cast<IObject*>(c1.get()), static_cast<IObject*>(p1.get()));
  // Edits stay in the cached object and never reach the bytes.
  ASSERT_EQ(c1->put_FirstName(u"Anna"), S_OK);
  std::vector<std::uint8_t> bytes;
  ASSERT_EQ(cards->Item(0, &bytes), S_OK);
  EXPECT_FALSE(Has(Text(bytes), "Anna"));
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
    fields += U8(Get(*preview, get)) + "\n";
  }
  EXPECT_EQ(fields,
            "Doe, John Q\nDr John Q Doe Jr\n1 Main St Springfield IL 12345 USA, Shelbyville\n"
            "john@acme.example, jd@home.example\n+1 555 0100, +1 555 0199\nAcme\nBoss\n"
            "line one line two\n");
  EXPECT_TRUE(Has(U8(Get(*preview, &ICardPreview::get_IMPPs)), "john@jabber.example"));
  EXPECT_EQ(Text(Get(*preview, &ICardPreview::get_vCard)), card);
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
  EXPECT_EQ(Get(*preview, &ICardPreview::get_Emails), u"a@x.example; b@x.example");
}

TEST(Cards, GetAllItemsTrimsAndJoins) {
  auto converter = NewConverter();
  const std::string a = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nEND:VCARD";
  const std::string b = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:B\r\nEND:VCARD";
  auto cards = LoadText(*converter, a + "\r\n" + b + "\r\n\r\n" + a + "\r\n");
  const std::string all = Text(Get(*cards, &ICards::GetAllItems));
  EXPECT_EQ(all, a + "\r\n" + b + "\r\n" + a);
  // The collection loads back from its own output.
  EXPECT_EQ(Count(LoadText(*converter, all)), 3);
}

}  // namespace
}  // namespace velmora::test
