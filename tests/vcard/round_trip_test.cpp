// Cards read and written back: parse -> write -> parse must give the same
// record, for every card in the corpus and for hand-made ones, in both
// versions and in the charsets the text fits.
#include <algorithm>

#include <gtest/gtest.h>

#include "contact/card_names.h"
#include "contact/card_tools.h"
#include "foundation/char_converter.h"
#include "support/test_env.h"
#include "vcard/card_export.h"
#include "vcard/card_parser.h"
#include "vcard/record_dump.h"

namespace velmora {
namespace {

using test::DumpList;
using test::U8;

struct Collector : ICardParserConsumer {
  std::vector<ContactRecord> records;
  bool OnParsedItem(const ContactRecord& r, const CCardDocItem&) override {
    records.push_back(r);
    return true;
  }
};

std::string DateTime(double date) {
  SystemTime st;
  if (IsEmptyDate(date) || !VariantTimeToSystemTime(date, &st)) return "-";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", st.year, st.month, st.day,
                st.hour, st.minute, st.second);
  return buffer;
}

// Every field a record carries from one vCard to the next, one per line.
// Groups are left out (the writer numbers its own "item" groups) and so is
// what describes the source text rather than the contact.
std::string Dump(ContactRecord r, bool with_email_types = true) {
  auto clear_groups = [](auto& list) {
    for (auto& element : list) element.Group.clear();
  };
  clear_groups(r.Addresses), clear_groups(r.Phones), clear_groups(r.Emails);
  clear_groups(r.Impps), clear_groups(r.RelatedNames), clear_groups(r.SocialProfiles);
  clear_groups(r.Urls), clear_groups(r.Dates), clear_groups(r.CustomFields);
  // The writer drops the quotes of quoted type words (TYPE="work,voice").
  auto unquote_types = [](auto& list) {
    for (auto& element : list) std::erase(element.Types, u'"');
  };
  unquote_types(r.Addresses), unquote_types(r.Phones), unquote_types(r.Emails);
  unquote_types(r.Urls), unquote_types(r.Dates), unquote_types(r.RelatedNames);
  std::erase_if(r.Addresses, [](const ContactAddress& a) { return IsAddressEmpty(a); });
  if (!with_email_types) {
    for (auto& e : r.Emails) e.Types.clear(), e.AddressType.clear();
  }
  if (r.PhotoExt == u"JPG") r.PhotoExt = u"JPEG";
  if (r.PhotoExt == u"TIF") r.PhotoExt = u"TIFF";
  // Several PREF e-mails swap places on each trip (each goes to the front).
  std::stable_sort(r.Emails.begin(), r.Emails.end(),
                   [](const ContactEmail& a, const ContactEmail& b) { return a.Value < b.Value; });
  std::string out;
  auto line = [&](const char* name, std::string value) {
    // Line breaks come back as CR LF; other control characters as spaces.
    std::string normal;
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') continue;
      normal.push_back(c == '\r' ? '\n' : (c > 0 && c < 0x20 && c != '\n' && c != '\t') ? ' ' : c);
    }
    if (!normal.empty()) out += std::string(name) + "=" + normal + "\n";
  };
  line("name", test::DumpName(r));
  line("phonetic",
       U8(r.PhoneticFirstName + u"|" + r.PhoneticMiddleName + u"|" + r.PhoneticLastName));
  // FN is written as the name composed from N (FormattedName when N is empty).
  line("fullname", U8(ComposeFullName(r)));
  line("nick", U8(r.NickName)), line("maiden", U8(r.MaidenName));
  line("role", U8(r.Profession)), line("org", U8(r.CompanyName + u"|" + r.Department));
  line("title", U8(r.JobTitle)), line("note", U8(r.Body));
  line("bday", test::DumpDate(r.Birthday));
  line("adr", DumpList(r.Addresses)), line("tel", DumpList(r.Phones));
  line("email", DumpList(r.Emails)), line("impp", DumpList(r.Impps));
  line("related", DumpList(r.RelatedNames)), line("social", DumpList(r.SocialProfiles));
  line("url", DumpList(r.Urls)), line("dates", DumpList(r.Dates));
  line("custom", DumpList(r.CustomFields));
  // Categories are written trimmed.
  std::string categories = U8(r.Categories);
  for (std::size_t at; (at = categories.find(", ")) != std::string::npos;)
    categories.erase(at + 1, 1);
  line("categories", categories);
  line("nm", U8(r.NetMeetingServer + u"|" + r.NetMeetingAlias));
  line("fburl", U8(r.InternetFreeBusyAddress));
  line("rev", DateTime(r.LastModificationTime));
  line("user", U8(r.User1 + u"|" + r.User2 + u"|" + r.User3 + u"|" + r.User4));
  line("outlook",
       U8(r.Hobby + u"|" + r.Account + u"|" + r.BillingInformation + u"|" + r.GovernmentIDNumber +
          u"|" + r.Keyword + u"|" + r.Location + u"|" + r.LocationEx + u"|" + r.Mileage + u"|" +
          r.OrganizationalIDNumber + u"|" + r.School + u"|" + r.YomiCompany));
  line("class", std::to_string(r.Sensitivity)), line("gender", std::to_string(r.Gender));
  line("mailing", std::to_string(r.SelectedMailingAddress));
  line("photo", r.Photo.empty() ? "" : std::to_string(r.Photo.size()) + " " + U8(r.PhotoExt));
  line("uid", U8(r.UID));
  return out;
}

class RoundTripTest : public ::testing::Test {
 protected:
  RoundTripTest() : charsets_(log_, test::SourceDir() / "data" / "supportedEncodings.txt") {}

  std::vector<ContactRecord> Parse(std::string_view bytes) {
    CCardParser parser(log_, &charsets_);
    Collector collector;
    parser.SetConsumer(&collector);
    auto doc = parser.NewDocument();
    doc->Load(bytes.data(), static_cast<std::int32_t>(bytes.size()),
              CCardDoc::LoadFlagDecodeContent, &parser);
    return std::move(collector.records);
  }

  std::string Write(const ContactRecord& r, int version, int code_page = 65001,
                    std::string_view charset = "utf-8") {
    CCardExport exporter(log_);
    const char* text = nullptr;
    std::size_t length = 0;
    EXPECT_EQ(exporter.ExportContact(&r, version, code_page, charset, &text, &length), S_OK);
    return text ? std::string(text, length) : std::string();
  }

  CLog log_;
  CCharConverter charsets_;
};

TEST_F(RoundTripTest, CorpusCardsSurviveWritingAsVersion30) {
  int cards = 0;
  for (const char* folder : {"vcard21", "vcard30", "vcard40", "vcard-malformed"}) {
    for (const auto& entry : std::filesystem::directory_iterator(test::CorpusDir() / folder)) {
      const auto records = Parse(test::ReadFile(entry.path()));
      for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(entry.path().filename().string() + " #" + std::to_string(i));
        const std::string written = Write(records[i], 30);
        const auto again = Parse(written);
        ASSERT_EQ(again.size(), 1u) << written;
        // The first e-mail without types is written as PREF,INTERNET, so
        // types are compared from the second trip on.
        EXPECT_EQ(Dump(again[0], false), Dump(records[i], false)) << written;
        const auto third = Parse(Write(again[0], 30));
        ASSERT_EQ(third.size(), 1u);
        EXPECT_EQ(Dump(third[0]), Dump(again[0]));
        ++cards;
      }
    }
  }
  EXPECT_GT(cards, 100);
}

// A card with every property kind both versions carry.
ContactRecord FullRecord() {
  ContactRecord r;
  r.FirstName = u"Jürgen", r.MiddleName = u"Q", r.LastName = u"Müller-Łoś";
  r.Title = u"Dr.", r.Suffix = u"Jr.";
  r.FormattedName = u"Dr. Jürgen Q Müller-Łoś Jr.";
  r.NickName = u"Jü", r.CompanyName = u"Acme; Inc.", r.Department = u"R&D";
  r.JobTitle = u"Chief, Tester", r.Profession = u"Engineer";
  r.Body = u"Line one\r\nLine two: 100% = done\\ok";
  r.Birthday = 29221.0;  // 1980-01-01
  r.Phones = {{u"WORK", u"+49 30 1234", "", u""},
              {u"CELL", u"+49 170 5", "", u""},
              {u"", u"555-RADIO", "", u"Radio"}};
  r.Emails = {{u"INTERNET", u"SMTP", u"j@example.com", "", u""},
              {u"HOME", u"", u"home@example.org", "", u""}};
  r.Addresses = {{u"WORK", "", u"", u"PO 1", u"Suite 5", u"Straße 1", u"Berlin", u"BE", u"10115",
                  u"Deutschland"}};
  r.Urls = {{u"https://example.com/a,b", u"WORK", "", u""}};
  r.Impps = {{u"", u"skype", u"skype", u"jq.skype", "", u""}};
  r.RelatedNames = {{u"Anna", u"", "", vlmcrnSpouse, u""}, {u"Bob", u"", "", vlmcrnManager, u""}};
  r.Categories = u"Work,Friends";
  r.LastModificationTime = 45000.5;
  r.UID = u"{abc-123}";
  r.Sensitivity = vlmcsPrivate;
  r.Gender = vlmcgFemale;
  r.User1 = u"custom one";
  r.Hobby = u"chess";
  r.Photo = {0x89, 'P', 'N', 'G', 0, 1, 2, 3, 0xFF, 0xFE, 0x0D, 0x0A};
  r.PhotoExt = u"PNG";
  return r;
}

TEST_F(RoundTripTest, BothVersionsCarryEveryField) {
  const ContactRecord original = FullRecord();
  for (int version : {21, 30}) {
    SCOPED_TRACE(version);
    const auto parsed = Parse(Write(original, version));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(Dump(parsed[0]), Dump(original));
    EXPECT_EQ(parsed[0].Photo, original.Photo);
    // 2.1 -> 3.0 -> 2.1 as well.
    const auto back = Parse(Write(Parse(Write(parsed[0], 51 - version))[0], version));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(Dump(back[0]), Dump(original));
  }
}

TEST_F(RoundTripTest, TextSurvivesEachCharsetItFits) {
  struct Case {
    int code_page;
    const char* charset;
    std::u16string name;
  };
  const Case cases[] = {
      {1252, "windows-1252", u"Zoë Ærøskøbing"},
      {1251, "windows-1251", u"Иван Петров"},
      {1250, "windows-1250", u"Łukasz Żółć"},
      {932, "shift_jis", u"山田 太郎"},
      {51932, "euc-jp", u"山田 太郎"},
      {936, "gb2312", u"张 伟"},
      {950, "big5", u"陳 大文"},
      {20866, "koi8-r", u"Иван Петров"},
      {28597, "iso-8859-7", u"Νίκος Παππάς"},
      {65001, "utf-8", u"Zoë 山田 😀"},
  };
  for (const Case& c : cases) {
    for (int version : {21, 30}) {
      SCOPED_TRACE(std::string(c.charset) + " " + std::to_string(version));
      ContactRecord r;
      r.FirstName = c.name.substr(0, c.name.find(u' '));
      r.LastName = c.name.substr(c.name.find(u' ') + 1);
      r.Body = c.name + u"\r\n" + c.name;
      r.Categories = c.name;
      const auto parsed = Parse(Write(r, version, c.code_page, c.charset));
      ASSERT_EQ(parsed.size(), 1u);
      EXPECT_EQ(U8(parsed[0].FirstName + u" " + parsed[0].LastName), U8(c.name));
      EXPECT_EQ(U8(parsed[0].Body), U8(r.Body));
      EXPECT_EQ(U8(parsed[0].Categories), U8(c.name));
    }
  }
}

TEST_F(RoundTripTest, DocumentedChangesOnTheFirstTrip) {
  ContactRecord r;
  r.LastName = u"Doe";
  r.Emails = {{u"", u"", u"a@example.com", "", u""}, {u"", u"", u"plain", "", u""}};
  r.Photo = {0xFF, 0xD8, 0xFF, 0xE0};
  r.PhotoExt = u"JPG";
  r.Addresses = {{u"HOME", "", u"Home", u"", u"", u"", u"", u"", u"", u""}};
  const auto parsed = Parse(Write(r, 30));
  ASSERT_EQ(parsed.size(), 1u);
  // The first e-mail is marked preferred, addresses with an at sign internet.
  EXPECT_EQ(DumpList(parsed[0].Emails), "a@example.com|PREF,INTERNET|SMTP||; plain||||");
  // Image types are normalised; blank addresses are not written.
  EXPECT_EQ(U8(parsed[0].PhotoExt), "JPEG");
  EXPECT_TRUE(parsed[0].Addresses.empty());
}

}  // namespace
}  // namespace velmora
