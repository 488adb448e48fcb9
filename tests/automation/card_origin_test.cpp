// Cards read from UTF-16 files or UTF-8 files with a byte-order mark keep
// their origin through every path that hands card text on: the Cards
// collection (preview, contact), ConvertMemory, SaveMemory2 and DR.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "automation/automation_test_support.h"

namespace velmora::test {
namespace {

// "Łukasz" and "Zoë" in UTF-8.
constexpr char kFamily[] = "\xC5\x81ukasz";
constexpr char kGiven[] = "Zo\xC3\xAB";

enum class Form { kUtf8Bom, kUtf16LeBom, kUtf16Le, kUtf16BeBom, kUtf16Be };

std::string Encode(Form form, const std::string& utf8) {
  if (form == Form::kUtf8Bom) return "\xEF\xBB\xBF" + utf8;
  const std::u16string text = Utf8ToUtf16(utf8);
  const bool le = form == Form::kUtf16LeBom || form == Form::kUtf16Le;
  std::string out;
  if (form == Form::kUtf16LeBom) out = "\xFF\xFE";
  if (form == Form::kUtf16BeBom) out = "\xFE\xFF";
  for (char16_t unit : text) {
    const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
    out.push_back(le ? lo : hi);
    out.push_back(le ? hi : lo);
  }
  return out;
}

struct OriginCase {
  Form form;
  const char* version;
  const char* charset_param;  // a CHARSET that the origin overrides
};

// Loads the card in the form `c` names and hands it on every path.
void CheckOrigin(ICardConverter& converter, const OriginCase& c) {
  TempDir dir;
  const std::string card = std::string("BEGIN:VCARD\r\nVERSION:") + c.version + "\r\nN" +
                           c.charset_param + ":" + kFamily + ";" + kGiven +
                           ";;;\r\nTEL:555\r\nEND:VCARD\r\n";
  WriteFile(dir / "card.vcf", Encode(c.form, card));
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(converter.LoadFile(U16(dir / "card.vcf"), 0, false, nullptr, &cards), S_OK);
  const std::string name = std::string(kGiven) + " " + kFamily;

  std::shared_ptr<ICardPreview> preview;
  ASSERT_EQ(cards->ItemPreview(0, &preview), S_OK);
  EXPECT_EQ(U8(Get(*preview, &ICardPreview::get_FullName)), name) << "preview";
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(cards->ItemContact(0, &contact), S_OK);
  EXPECT_EQ(U8(Get(*contact, &ICardContact::get_LastName)), kFamily) << "contact";

  const std::vector<std::uint8_t> all = Get(*cards, &ICards::GetAllItems);
  // The same text in UTF-8 and, for 2.1 in windows-1250, as 0xA3 ("Ł").
  const std::string n_utf8 = std::string("N:") + kFamily + ";" + kGiven + ";;;\r\n";
  Converted out = ConvertText(converter, Text(all));
  ASSERT_EQ(out.status, S_OK);
  EXPECT_TRUE(Has(out.text, n_utf8)) << out.text;
  out = ConvertText(converter, Text(all), 2.1, 1250);
  ASSERT_EQ(out.status, S_OK);
  EXPECT_TRUE(
      Has(out.text, "N;CHARSET=windows-1250;ENCODING=QUOTED-PRINTABLE:=A3ukasz;Zo=EB;;;\r\n"))
      << out.text;

  const Saved s = SaveCards(converter, Text(all), dir / "out", true, drmKeepOriginal);
  ASSERT_EQ(s.status, S_OK);
  ASSERT_EQ(s.names.size(), 1u);
  EXPECT_TRUE(Has(ReadFile(U8(s.names[0])), n_utf8));

  std::shared_ptr<ICards> to_add;
  ASSERT_EQ(converter.DR(Variant(std::static_pointer_cast<IObject>(cards)), Variant(), Variant(),
                         drmNewest, &to_add, nullptr, nullptr),
            S_OK);
  ASSERT_TRUE(to_add);
  ASSERT_EQ(to_add->ItemContact(0, &contact), S_OK);
  EXPECT_EQ(U8(Get(*contact, &ICardContact::get_LastName)), kFamily) << "DR";
}

TEST(CardOriginTest, EveryPathDecodesTheCardAsItWasRead) {
  const OriginCase kCases[] = {
      {Form::kUtf8Bom, "2.1", ""}, {Form::kUtf16LeBom, "2.1", ";CHARSET=windows-1252"},
      {Form::kUtf16Le, "3.0", ""}, {Form::kUtf16BeBom, "3.0", ";CHARSET=windows-1252"},
      {Form::kUtf16Be, "2.1", ""},
  };
  const auto converter = NewConverter();
  for (const OriginCase& c : kCases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.form)) + " " + c.version);
    CheckOrigin(*converter, c);
  }
}

// Cards of a UTF-16 file and of a windows-1252 file joined into one buffer:
// each keeps its own origin.
TEST(CardOriginJoinTest, JoinedCardsOfDifferentOriginsKeepTheirOwn) {
  TempDir dir;
  WriteFile(dir / "a.vcf",
            Encode(Form::kUtf16LeBom, std::string("BEGIN:VCARD\r\nVERSION:2.1\r\nN:") + kFamily +
                                          ";;;;\r\nEND:VCARD\r\n"));
  WriteFile(dir / "b.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN:M\xFCller;;;;\r\nEND:VCARD\r\n");
  std::shared_ptr<ICardConverter> converter = NewConverter();
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(
      converter->LoadFiles({U16(dir / "a.vcf"), U16(dir / "b.vcf")}, 0, false, nullptr, &cards),
      S_OK);
  const Converted out = ConvertText(*converter, Text(Get(*cards, &ICards::GetAllItems)));
  ASSERT_EQ(out.status, S_OK);
  EXPECT_TRUE(Has(out.text, std::string("N:") + kFamily + ";;;;\r\n")) << out.text;
  EXPECT_TRUE(Has(out.text, "N:M\xC3\xBCller;;;;\r\n")) << out.text;
  EXPECT_EQ(out.converted, 2);
}

// Duplicates are found on the cards as given: two Cyrillic names that a
// windows-1252 target turns into the same question marks stay two contacts.
TEST(SaveDuplicatesTest, KeysOnTheInputNotOnTheConvertedCards) {
  TempDir dir;
  const std::string cards = Card("\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2", "") +
                            Card("\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2", "") +
                            Card("\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2", "");
  std::shared_ptr<ICardConverter> converter = NewConverter();
  const Saved s =
      SaveCards(*converter, cards, dir.path(), false, drmKeepOriginal, 2.1, nullptr, 1252, u"");
  ASSERT_EQ(s.status, S_OK);
  EXPECT_EQ(std::tuple(s.saved, s.skipped_dups, s.names.size()), std::tuple(2, 1, 2u));
}

// An explicitly empty charset name writes no CHARSET parameter; a missing
// one names the code page's charset.
TEST(TargetCharsetTest, EmptyIsoNameWritesNoCharsetParameter) {
  std::shared_ptr<ICardConverter> converter = NewConverter();
  const std::string card = Card("M\xC3\xBCller", "J\xC3\xB6rg");
  Converted c = ConvertText(*converter, card, 2.1, 1252, Variant(std::u16string()));
  EXPECT_TRUE(c.status == S_OK && !Has(c.text, "CHARSET") &&
              Has(c.text, "N;ENCODING=QUOTED-PRINTABLE:M=FCller;J=F6rg;;;\r\n"))
      << c.text;
  c = ConvertText(*converter, card, 2.1, 1252);
  EXPECT_TRUE(Has(c.text, "N;CHARSET=windows-1252;ENCODING=QUOTED-PRINTABLE:M=FCller")) << c.text;

  std::vector<std::uint8_t> out;
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(converter->CreateCardContact(&contact), S_OK);
  contact->put_LastName(u"M\u00FCller");
  ASSERT_EQ(contact->GenerateCard(2.1, 1252, Variant(std::u16string()), &out), S_OK);
  EXPECT_TRUE(!Has(Text(out), "CHARSET") &&
              Has(Text(out), "N;ENCODING=QUOTED-PRINTABLE:M=FCller;;;;\r\n"))
      << Text(out);
}

// A type holding ':' or ';' cannot stand bare: 3.0 quotes it, 2.1 leaves it
// out; the number survives either way.
TEST(TargetCharsetTest, UnsafeTypesAreQuotedIn30AndLeftOutOf21) {
  std::shared_ptr<ICardConverter> converter = NewConverter();
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(converter->CreateCardContact(&contact), S_OK);
  contact->put_LastName(u"Doe");
  ASSERT_EQ(contact->AddTelephoneEx(u"555", Variant(u"WORK,A:B;C")), S_OK);
  std::vector<std::uint8_t> out;
  ASSERT_EQ(contact->GenerateCard(2.1, 65001, Variant(), &out), S_OK);
  EXPECT_TRUE(Has(Text(out), "\r\nTEL;CHARSET=utf-8;WORK:555\r\n")) << Text(out);
  ASSERT_EQ(contact->GenerateCard(3.0, 65001, Variant(), &out), S_OK);
  EXPECT_TRUE(Has(Text(out), "\r\nTEL;TYPE=WORK;TYPE=\"A:B;C\":555\r\n")) << Text(out);
}

// Two paths that differ only in case are two files: converting one into the
// other writes the other.
TEST(ConvertFileTest, PathsDifferingInCaseAreDifferentFiles) {
  TempDir dir;
  WriteFile(dir / "A.vcf", Card("Doe", "John"));
  std::shared_ptr<ICardConverter> converter = NewConverter();
  std::int32_t converted = 0, copied = 0, errors = 0;
  EXPECT_EQ(converter->ConvertFile(U16(dir / "A.vcf"), U16(dir / "a.vcf"), &converted, &copied,
                                   &errors, 3.0, 65001, Variant(), false),
            S_OK);
  EXPECT_EQ(copied, 1);
  EXPECT_EQ(ReadFile(dir / "a.vcf"), Card("Doe", "John"));
}

}  // namespace
}  // namespace velmora::test
