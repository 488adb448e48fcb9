#include "vcard/card_export.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/automation_date.h"
#include "foundation/module_info.h"
#include "vcard/base64_encoder.h"
#include "vcard/qp_encoder.h"
#include "vcard/value_unescape.h"
#include "vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::Visible;

constexpr char kTestProdId[] = "PRODID:-//Velmora Tests//EN";

double Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  SystemTime st;
  st.year = year;
  st.month = month;
  st.day = day;
  st.hour = hour;
  st.minute = minute;
  st.second = second;
  double date = 0;
  EXPECT_TRUE(SystemTimeToVariantTime(st, &date));
  return date;
}

std::string Export(CCardExport& exporter, const ContactRecord& record, int version,
                   int code_page = 65001, std::string_view charset = "UTF-8") {
  const char* text = nullptr;
  std::size_t length = 0;
  EXPECT_EQ(S_OK, exporter.ExportContact(&record, version, code_page, charset, &text,
                                         &length));
  if (text == nullptr) return {};
  EXPECT_EQ('\0', text[length]);
  return std::string(text, length);
}

std::string Export(const ContactRecord& record, int version, int code_page = 65001,
                   std::string_view charset = "UTF-8") {
  CapturedLog log;
  CCardExport exporter(log.log, kTestProdId);
  return Export(exporter, record, version, code_page, charset);
}

// The body of a written card: the lines between VERSION (or PRODID) and END.
std::string Body(const std::string& card) {
  std::size_t start = card.find("VERSION:");
  start = card.find("\r\n", start) + 2;
  if (card.compare(start, 7, "PRODID:") == 0) start = card.find("\r\n", start) + 2;
  const std::size_t end = card.rfind("END:VCARD");
  return card.substr(start, end - start);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Empty when equal; else the first differing lines, CR and LF made visible.
std::string LineDiff(const std::string& expected, const std::string& actual) {
  if (expected == actual) return {};
  const auto want = Lines(expected);
  const auto got = Lines(actual);
  std::string out;
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const std::string w = i < want.size() ? want[i] : "<missing>";
    const std::string g = i < got.size() ? got[i] : "<missing>";
    if (w == g) continue;
    out += "line " + std::to_string(i + 1) + "\n  expected: " + Visible(w) +
           "\n  actual:   " + Visible(g) + "\n";
    if (out.size() > 2000) break;
  }
  if (out.empty()) out = "line ends differ:\n" + Visible(actual);
  return out;
}

ContactRecord FullRecord() {
  ContactRecord r;
  r.FirstName = u"Anna";
  r.MiddleName = u"Maria";
  r.LastName = u"Müller";
  r.Title = u"Dr.";
  r.Suffix = u"Jr.";
  r.PhoneticFirstName = u"ANNA";
  r.PhoneticMiddleName = u"MARIA";
  r.PhoneticLastName = u"MYULLER";
  r.FormattedName = u"not used while the name parts are set";
  r.NickName = u"Annie";
  r.MaidenName = u"Schmidt";
  r.CompanyName = u"Zorva; Ltd";
  r.Department = u"R\\D";
  r.JobTitle = u"Engineer, Senior";
  r.Body = u"Line one\r\nLine two";
  r.Phones = {{u"WORK,VOICE", u"+49 30 1234", "", u""},
              {u"CELL", u"+49 170 555", "", u""},
              {u"", u"+49 30 9999", "", u"Radio"},
              {u"", u"12345", "", u"Telex"},
              {u"VOICE", u"+1 555 0100", "g7", u"Assistant"},
              {u"HOME", u"", "", u""}};
  ContactAddress work;
  work.Types = u"WORK";
  work.Street = u"Hauptstraße 5";
  work.City = u"Berlin";
  work.PostalCode = u"10115";
  work.Country = u"Germany";
  ContactAddress home{u"HOME", "", u"Summer house", u"PO 7", u"Apt 3", u"Seeweg 1",
                      u"Potsdam", u"BB", u"14467", u"Germany"};
  ContactAddress empty;
  empty.Types = u"OTHER";
  r.Addresses = {work, home, empty};
  r.SelectedMailingAddress = vlmcaBusiness;
  r.Urls = {{u"https://example.com/anna", u"WORK", "", u""},
            {u"https://blog.example.com", u"", "", u"_$!<HomePage>!$_"}};
  r.Profession = u"Physicist";
  r.Birthday = Date(1980, 5, 17);
  r.Emails = {{u"", u"", u"anna@example.com", "", u""},
              {u"WORK", u"", u"a.mueller@work.example", "", u""},
              {u"", u"X400", u"X400:xyz", "", u""},
              {u"", u"", u"", "", u""},
              {u"", u"smtp", u"smtp-user", "", u"Other"}};
  r.Impps = {{u"", u"skype", u"skype", u"anna.m", "", u""},
             {u"HOME", u"jabber", u"xmpp", u"anna@jabber.org", "", u"Chat"},
             {u"", u"IM Address", u"x-apple", u"anna@icloud.com", "", u""},
             {u"", u"Matrix", u"matrix", u"@anna:example.org", "", u""},
             {u"", u"aim", u"aim", u"  ", "", u""}};
  r.Dates = {{Date(2005, 6, 20), u"", "", kAnniversaryLabel},
             {Date(2010, 9, 1), u"OTHER", "", u"Graduation"},
             {0.0, u"", "", u"Empty"}};
  r.RelatedNames = {{u"Boss Person", u"", "", vlmcrnManager, u""},
                    {u"Sue", u"", "", vlmcrnSpouse, u""},
                    {u"Kid One", u"", "", vlmcrnChild, u""},
                    {u"Ref Erral", u"", "", vlmcrnReferredBy, u""},
                    {u"Pal", u"", "", vlmcrnOther, u"Buddy"},
                    {u"Nobody", u"", "", vlmcrnOther, u""},
                    {u"", u"", "", vlmcrnFriend, u""},
                    {u"Ann Assist", u"", "", vlmcrnAssistant, u""}};
  r.NetMeetingServer = u"nm.example.com";
  r.NetMeetingAlias = u"anna";
  r.InternetFreeBusyAddress = u"https://fb.example.com/anna";
  r.Categories = u"Business,Friends, VIP";
  r.LastModificationTime = Date(2024, 7, 1, 12, 30, 45);  // CEST
  r.UID = u"{1234-ABCD-ef}";
  r.Sensitivity = vlmcsPrivate;
  r.User1 = u"Custom one";
  r.User2 = u" \t";
  r.User3 = u"Custom three";
  r.CustomFields = {{u"Value A", u"", "", u"Field A"}, {u"Value B", u"X-KIND", "", u""}};
  r.Hobby = u"Chess";
  r.Gender = vlmcgFemale;
  r.SocialProfiles = {{u"https://twitter.com/anna", u"", u"twitter", "", u""},
                      {u"anna.li", u"anna", u"linkedin", "", u"LinkedIn"}};
  r.Account = u"ACC-1";
  r.Mileage = u"120 km";
  r.School = u"TU Berlin";
  r.YomiCompany = u"ゾルバ";
  r.Photo = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (int i = 0; i < 52; ++i) r.Photo.push_back(static_cast<std::uint8_t>(i));
  r.PhotoExt = u"PNG";
  return r;
}

// Golden files live in tests/vcard/data/. To add a case: build its record in
// a function above, add a row here, write the expected card by hand (CR LF
// line ends, bytes in the row's code page) and run the test: a mismatch
// prints the differing lines.
struct GoldenCase {
  const char* file;
  ContactRecord (*record)();
  int version;
  int code_page;
  const char* charset;
};

const GoldenCase kGoldenCases[] = {
    {"export_full.30.vcf", FullRecord, 30, 65001, "UTF-8"},
    {"export_full.21.vcf", FullRecord, 21, 65001, "UTF-8"},
};

TEST(CardExportTest, GoldenFiles) {
  for (const GoldenCase& c : kGoldenCases) {
    SCOPED_TRACE(c.file);
    const std::string expected =
        test::ReadFile(test::SourceDir() / "tests/vcard/data" / c.file);
    ASSERT_FALSE(expected.empty());
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    const std::string actual =
        Export(exporter, c.record(), c.version, c.code_page, c.charset);
    EXPECT_EQ("", LineDiff(expected, actual));
    // Only the 2.1 card drops the IMPP it cannot represent.
    EXPECT_EQ(c.version == 21 ? 1 : 0,
              log.Count("Cant Save IMPP(X-SERVICE-TYPE=?, Protocol=?) in vCard2.1"));
  }
}

TEST(CardExportTest, EmptyRecord) {
  const ContactRecord empty;
  EXPECT_EQ("BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD\r\n", Export(empty, 21));
  EXPECT_EQ(
      "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Velmora Tests//EN\r\nN:;;;;\r\nFN:\r\n"
      "END:VCARD\r\n",
      Export(empty, 30));
  // Blank names count as none; the 3.0 N line then has empty components.
  ContactRecord blank;
  blank.FirstName = u"  ";
  blank.Suffix = u"\t";
  EXPECT_EQ("", Body(Export(blank, 21)));
  EXPECT_EQ("N:;;;;\r\nFN:\r\n", Body(Export(blank, 30)));
}

TEST(CardExportTest, DefaultProdIdAndVersion) {
  CapturedLog log;
  CCardExport exporter(log.log);
  const ModuleInfo& module = ThisModule();
  char expected[96];
  std::snprintf(expected, sizeof(expected),
                "PRODID:-//Zorva Corporation//Lumbrix %d.%d//EN", module.version[0],
                module.version[1]);
  EXPECT_EQ(expected, exporter.prodid_line());
  const ContactRecord empty;
  const std::string card = Export(exporter, empty, 40);
  EXPECT_EQ(0u, card.find(std::string("BEGIN:VCARD\r\nVERSION:3.0\r\n") + expected + "\r\n"));
  EXPECT_EQ(1, log.Count("Unsupported version 40; writing 3.0"));
  EXPECT_TRUE(log.Has("CCardExport.addVERSION"));
  // A given line keeps its text (a trailing line end is not doubled).
  CCardExport custom(log.log, "PRODID:-//Other//EN\r\n");
  EXPECT_EQ("PRODID:-//Other//EN", custom.prodid_line());
}

ContactRecord WithPhone(std::u16string label, std::u16string types = u"") {
  ContactRecord r;
  r.Phones.push_back({std::move(types), u"555", "", std::move(label)});
  return r;
}

TEST(CardExportTest, PhonesByLabel) {
  struct Case {
    const char16_t* label;
    const char16_t* types;
    const char* v21;
    const char* v30;
  };
  const Case cases[] = {
      {u"", u"HOME, VOICE ,", "TEL;HOME;VOICE:555\r\n", "TEL;TYPE=HOME;TYPE=VOICE:555\r\n"},
      {u"Radio", u"", "X-MS-TEL;RADIO:555\r\n",
       "item1.TEL:555\r\nitem1.X-ABLABEL:Radio\r\n"},
      {u"telex", u"", "EMAIL;TLX:555\r\n", "item1.TEL:555\r\nitem1.X-ABLABEL:telex\r\n"},
      {u"TTY/TDD", u"WORK", "X-MS-TEL;TTYTDD;WORK:555\r\n",
       "item1.TEL;TYPE=WORK:555\r\nitem1.X-ABLABEL:TTY/TDD\r\n"},
      {u"Company", u"", "X-MS-TEL;COMPANY:555\r\n",
       "item1.TEL:555\r\nitem1.X-ABLABEL:Company\r\n"},
      {u"Callback", u"", "X-MS-TEL;CALLBACK:555\r\n",
       "item1.TEL:555\r\nitem1.X-ABLABEL:Callback\r\n"},
      {u"Google Voice", u"CELL", "TEL;CELL:555\r\n",
       "item1.TEL;TYPE=CELL:555\r\nitem1.X-ABLABEL:Google Voice\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Visible(c.v21));
    const ContactRecord r = WithPhone(c.label, c.types);
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    EXPECT_EQ(c.v21, Body(Export(exporter, r, 21, 1252, "")));
    EXPECT_EQ(std::string("N:;;;;\r\nFN:\r\n") + c.v30,
              Body(Export(exporter, r, 30, 1252, "")));
    const bool unknown = std::u16string_view(c.label) == u"Google Voice";
    EXPECT_EQ(unknown ? 1 : 0, log.Count("Unknown ABLabel = \"Google Voice\""));
  }
}

TEST(CardExportTest, NoteLineBreakAndEscapes) {
  ContactRecord r;
  r.Body = u"a\r\nb\rc\nd, e; f\\g";
  EXPECT_EQ("NOTE;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab=0Dc=0Ad, e; f\\g\r\n",
            Body(Export(r, 21, 1252, "")));
  EXPECT_EQ("N:;;;;\r\nFN:\r\nNOTE:a\\nb\\nc\\nd\\, e; f\\\\g\r\n",
            Body(Export(r, 30, 1252, "")));
  // A note of only white space and line breaks is not written.
  r.Body = u" \r\n\t";
  EXPECT_EQ("", Body(Export(r, 21)));
}

TEST(CardExportTest, QuotedPrintableLineRule) {
  struct Case {
    std::string input;
    std::string expected;
  };
  const std::string a63(63, 'a');
  const std::string a64(64, 'a');
  const std::string a65(65, 'a');
  const Case cases[] = {
      {"", ""},
      {"plain text!", "plain text!"},
      {"=\t\x7f\x80\xff", "=3D\t=7F=80=FF"},
      {a63 + " ", a63 + " "},                            // space at column 64: copied
      {a64 + " ", a64 + "=20=\r\n"},                     // at column 65: encoded
      {a64 + "\tb", a64 + "=09=\r\nb"},
      {a65 + "bc", a65 + "=\r\nbc"},                     // soft break at 65
      {a63 + "\xe9z", a63 + "=E9=\r\nz"},                // an escape may pass 65
      {std::string(130, 'x'), std::string(65, 'x') + "=\r\n" + std::string(65, 'x') + "=\r\n"},
  };
  for (const Case& c : cases) {
    std::string out = "keep:";
    EncodeQuotedPrintable(c.input, out);
    EXPECT_EQ("keep:" + c.expected, out) << Visible(c.input);
  }
  // Through the writer: the NOTE of 64 letters and a trailing space.
  ContactRecord r;
  r.Body = std::u16string(64, u'a') + u" ";
  EXPECT_EQ("NOTE;ENCODING=QUOTED-PRINTABLE:" + a64 + "=20=\r\n\r\n",
            Body(Export(r, 21, 1252, "")));
}

TEST(CardExportTest, EmailTypes) {
  struct Case {
    const char16_t* types;
    const char16_t* address_type;
    const char16_t* value;
    bool first;
    const char* v21;
    const char* v30;
  };
  const Case cases[] = {
      {u"", u"", u"a@b.c", true, "EMAIL;PREF;INTERNET:a@b.c",
       "EMAIL;TYPE=PREF;TYPE=INTERNET:a@b.c"},
      {u"", u"", u"a@b.c", false, "EMAIL;INTERNET:a@b.c", "EMAIL;TYPE=INTERNET:a@b.c"},
      {u"", u"", u"@abc", false, "EMAIL:@abc", "EMAIL:@abc"},
      {u"", u"SMTP", u"nobody", false, "EMAIL;INTERNET:nobody", "EMAIL;TYPE=INTERNET:nobody"},
      {u"", u"EX", u"a@b.c", true, "EMAIL;PREF:a@b.c", "EMAIL;TYPE=PREF:a@b.c"},
      {u"HOME", u"SMTP", u"a@b.c", true, "EMAIL;HOME:a@b.c", "EMAIL;TYPE=HOME:a@b.c"},
  };
  for (const Case& c : cases) {
    ContactRecord r;
    if (!c.first) r.Emails.push_back({u"", u"", u"first@x.y", "", u""});
    r.Emails.push_back({c.types, c.address_type, c.value, "", u""});
    const std::string v21 = Body(Export(r, 21, 1252, ""));
    const std::string v30 = Body(Export(r, 30, 1252, ""));
    EXPECT_EQ(c.v21, Lines(v21).back());
    EXPECT_EQ(c.v30, Lines(v30).back());
  }
}

TEST(CardExportTest, CharsetParameter) {
  struct Case {
    int version;
    const char* charset;
    const char* fn_line;
  };
  const Case cases[] = {
      {30, "UTF-8", "FN:Jo"},           {30, "utf-8", "FN:Jo"},
      {21, "UTF-8", "FN;CHARSET=UTF-8:Jo"}, {30, "", "FN:Jo"},
      {21, "", "FN:Jo"},                {30, "ISO-8859-1", "FN;CHARSET=ISO-8859-1:Jo"},
  };
  ContactRecord r;
  r.FormattedName = u"Jo";
  for (const Case& c : cases) {
    const auto lines = Lines(Body(Export(r, c.version, 65001, c.charset)));
    EXPECT_EQ(c.fn_line, lines.back()) << c.version << " " << c.charset;
  }
}

TEST(CardExportTest, ItemCounterRestartsPerContact) {
  ContactRecord r;
  r.Phones.push_back({u"", u"1", "", u"Radio"});
  r.Urls.push_back({u"http://x", u"", "", u"Blog"});
  const std::string expected =
      "item1.TEL:1\r\nitem1.X-ABLABEL:Radio\r\nitem2.URL:http://x\r\n"
      "item2.X-ABLABEL:Blog\r\n";
  CapturedLog log;
  CCardExport exporter(log.log, kTestProdId);
  EXPECT_EQ("N:;;;;\r\nFN:\r\n" + expected, Body(Export(exporter, r, 30)));
  EXPECT_EQ("N:;;;;\r\nFN:\r\n" + expected, Body(Export(exporter, r, 30)));
  // 2.1 phones carry no group, so the URL is the first labelled element.
  EXPECT_EQ("X-MS-TEL;RADIO;CHARSET=UTF-8:1\r\nitem1.URL;CHARSET=UTF-8:http://x\r\n"
            "item1.X-ABLABEL;CHARSET=UTF-8:Blog\r\n",
            Body(Export(exporter, r, 21)));
}

TEST(CardExportTest, CategoriesAsList) {
  ContactRecord r;
  r.Categories = u"Work, Inc.;Friends;; a\\b ";
  test::ScopedSettings settings;
  settings.ListSeparator(u";");
  // 3.0: one list value, commas inside a category escaped.
  EXPECT_EQ("N:;;;;\r\nFN:\r\nCATEGORIES:Work\\, Inc.,Friends,a\\\\b\r\n",
            Body(Export(r, 30, 1252, "")));
  // 2.1 keeps the stored text.
  EXPECT_EQ("X-OUTL-CATEGORIES:Work, Inc.;Friends;; a\\b \r\n",
            Body(Export(r, 21, 1252, "")));
  // Separators only: nothing to write.
  r.Categories = u";;";
  EXPECT_EQ("N:;;;;\r\nFN:\r\n", Body(Export(r, 30, 1252, "")));
}

TEST(CardExportTest, ImppIn21) {
  struct Case {
    const char16_t* service;
    const char16_t* protocol;
    const char* property;  // null: not written
  };
  const Case cases[] = {
      {u"IM Address", u"x-apple", "X-MS-IMADDRESS"}, {u"AIM", u"aim", "X-AIM"},
      {u"gadugadu", u"x-apple", "X-GADUGADU"},      {u"googletalk", u"XMPP", "X-GTALK"},
      {u"icq", u"aim", "X-ICQ"},                     {u"jabber", u"xmpp", "X-JABBER"},
      {u"msn", u"msnim", "X-MSN"},                   {u"yahoo", u"ymsgr", "X-YAHOO"},
      {u"qq", u"x-apple", "X-QQ"},                   {u"skype", u"skype", "X-SKYPE"},
      {u"skype", u"xmpp", nullptr},                  {u"", u"", nullptr},
  };
  for (const Case& c : cases) {
    ContactRecord r;
    r.Impps.push_back({u"", c.service, c.protocol, u"me", "", u""});
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    const std::string body = Body(Export(exporter, r, 21, 1252, ""));
    EXPECT_EQ(c.property ? std::string(c.property) + ":me\r\n" : "", body);
    EXPECT_EQ(c.property ? 0 : 1, log.Count("in vCard2.1"));
  }
}

TEST(CardExportTest, UidCharsetRule) {
  ContactRecord r;
  for (auto [uid, expected] : {std::pair{u"{ab-09-CD}", "UID:{ab-09-CD}"},
                               std::pair{u"a b", "UID;CHARSET=x:a b"},
                               std::pair{u"a_b", "UID;CHARSET=x:a_b"}}) {
    r.UID = uid;
    EXPECT_EQ(expected, Lines(Body(Export(r, 21, 1252, "x"))).back());
  }
}

TEST(CardExportTest, DefaultPostalAddress) {
  ContactRecord r;
  ContactAddress home;
  home.Types = u"HOME";
  home.City = u"X";
  r.Addresses = {home};
  struct Case {
    EContactAddress selected;
    const char* written;
    int warnings;
  };
  const Case cases[] = {{vlmcaHome, "1", 0},
                        {vlmcaBusiness, "0", 0},  // no business address
                        {vlmcaOther, "0", 0},
                        {static_cast<EContactAddress>(7), "0", 1}};
  for (const Case& c : cases) {
    r.SelectedMailingAddress = c.selected;
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    EXPECT_EQ(std::string("ADR;HOME:;;;X;;;\r\nX-MS-OL-DEFAULT-POSTAL-ADDRESS:") +
                  c.written + "\r\n",
              Body(Export(exporter, r, 21, 1252, "")));
    EXPECT_EQ(c.warnings, log.Count("Unknown SelectedMailingAddress = 7"));
  }
  // Without a written address there is no default line.
  r.Addresses = {ContactAddress{}};
  EXPECT_EQ("", Body(Export(r, 21, 1252, "")));
}

TEST(CardExportTest, CodePages) {
  struct Case {
    int code_page;
    const char* charset;
    std::u16string name;
    int version;
    std::string fn_line;
  };
  const Case cases[] = {
      {1251, "windows-1251", u"Иван", 30, "FN;CHARSET=windows-1251:\xC8\xE2\xE0\xED"},
      {1251, "windows-1251", u"Иван", 21,
       "FN;CHARSET=windows-1251;ENCODING=QUOTED-PRINTABLE:=C8=E2=E0=ED"},
      {932, "Shift_JIS", u"山田", 30, "FN;CHARSET=Shift_JIS:\x8E\x52\x93\x63"},
      {28591, "ISO-8859-1", u"Zoë", 30, "FN;CHARSET=ISO-8859-1:Zo\xEB"},
      {28591, "ISO-8859-1", u"Zoë", 21, "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Zo=EB"},
      // Characters the code page lacks become '?'.
      {28591, "ISO-8859-1", u"Ж", 30, "FN;CHARSET=ISO-8859-1:?"},
      // Code page 0 is the ANSI code page (1252 in the tests).
      {0, "", u"Zoë", 30, "FN:Zo\xEB"},
  };
  for (const Case& c : cases) {
    ContactRecord r;
    r.FormattedName = c.name;
    const auto lines = Lines(Body(Export(r, c.version, c.code_page, c.charset)));
    EXPECT_EQ(c.fn_line, lines.back()) << c.code_page << " " << c.version;
  }
}

TEST(CardExportTest, ShiftJisBackslashTrailByteRoundTrips) {
  // "ソ" is 0x83 0x5C in Shift_JIS: its trail byte is escaped like a
  // backslash, and the reader's unescaping gives the bytes back.
  ContactRecord r;
  r.FormattedName = u"ソ,1";
  const auto lines = Lines(Body(Export(r, 30, 932, "")));
  EXPECT_EQ("FN:\x83\x5C\x5C\\,1", lines.back());
  std::string unescaped;
  UnfoldAndUnescape(lines.back().substr(3), true, true, true, unescaped);
  EXPECT_EQ("\x83\x5C,1", unescaped);
}

TEST(CardExportTest, UnknownCodePageFails) {
  ContactRecord r;
  r.FormattedName = u"x";
  for (int code_page : {12345, 1200, 1201, -5}) {
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    const char* text = "untouched";
    std::size_t length = 99;
    EXPECT_EQ(E_GENERIC_FAILURE, exporter.ExportContact(&r, 30, code_page, "", &text,
                                                        &length));
    EXPECT_EQ(nullptr, text);
    EXPECT_EQ(0u, length);
    EXPECT_EQ(1, log.Count("Cannot write vCard in code page " + std::to_string(code_page)));
    EXPECT_TRUE(log.Has("CCardExport.ExportContact"));
    // The exporter stays usable.
    EXPECT_EQ("FN:x", Lines(Body(Export(exporter, r, 30))).back());
  }
}

TEST(CardExportTest, MissingArguments) {
  CapturedLog log;
  CCardExport exporter(log.log, kTestProdId);
  ContactRecord r;
  const char* text = nullptr;
  std::size_t length = 0;
  EXPECT_EQ(E_GENERIC_FAILURE, exporter.ExportContact(nullptr, 30, 65001, "", &text, &length));
  EXPECT_EQ(E_GENERIC_FAILURE, exporter.ExportContact(&r, 30, 65001, "", nullptr, &length));
  EXPECT_EQ(2, log.Count("CCardExport.ExportContact"));
  // The length is optional.
  EXPECT_EQ(S_OK, exporter.ExportContact(&r, 21, 65001, "", &text, nullptr));
  EXPECT_STREQ("BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD\r\n", text);
}

TEST(CardExportTest, Base64Encoder) {
  struct Case {
    std::string input;
    std::string expected;
  };
  const Case cases[] = {
      {"", ""},          {"f", "Zg=="},         {"fo", "Zm8="},
      {"foo", "Zm9v"},   {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"}, {std::string("\xff\xfe\x00", 3), "//4A"},
  };
  for (const Case& c : cases) {
    std::string out;
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.input.data());
    ASSERT_TRUE(Base64Encode(data, c.input.size(), 76, "\r\n ", out));
    EXPECT_EQ(c.expected, out);
  }
  // Folding: a break after every full line, none after the last.
  const std::vector<std::uint8_t> bytes(114, 0);  // 152 characters, 2 lines
  std::string out;
  ASSERT_TRUE(Base64Encode(bytes.data(), bytes.size(), 76, "|", out));
  EXPECT_EQ(std::string(76, 'A') + "|" + std::string(76, 'A'), out);
  EXPECT_EQ(out.size(), Base64EncodedSize(114, 76, 1));
  out.clear();
  ASSERT_TRUE(Base64Encode(bytes.data(), 58, 76, "|", out));
  EXPECT_EQ(std::string(76, 'A') + "|AA==", out);
  EXPECT_FALSE(Base64Encode(nullptr, 3, 76, "|", out));
}

TEST(CardExportTest, PhotoFolding) {
  ContactRecord r;
  r.Photo.assign(114, 0xFF);  // 152 base64 characters: two full lines
  r.PhotoExt = u"JPEG";
  const std::string line(76, '/');
  EXPECT_EQ("PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n " + line + "\r\n " + line + "\r\n\r\n",
            Body(Export(r, 21)));
  // Without a type word the signature decides; unknown bytes get no TYPE.
  r.Photo = {'G', 'I', 'F', '8'};
  r.PhotoExt.clear();
  EXPECT_EQ("PHOTO;ENCODING=BASE64;TYPE=GIF:\r\n R0lGOA==\r\n\r\n", Body(Export(r, 21)));
  r.Photo = {1, 2, 3};
  EXPECT_EQ("PHOTO;ENCODING=BASE64:\r\n AQID\r\n\r\n", Body(Export(r, 21)));
}

TEST(CardExportTest, BufferGrowsInSteps) {
  CapturedLog log;
  CCardExport small(log.log, kTestProdId, 1000);
  EXPECT_EQ(1000u, small.buffer_capacity());
  CCardExport tiny(log.log, kTestProdId, 100);  // below 256: the default
  EXPECT_EQ(CCardExport::kBufferStep, tiny.buffer_capacity());

  ContactRecord r;
  EXPECT_EQ(1000u, (Export(small, r, 30), small.buffer_capacity()));
  r.Photo.assign(200000, 0x41);
  const std::string card = Export(small, r, 30);
  const std::size_t capacity = small.buffer_capacity();
  EXPECT_EQ(0u, (capacity - 1000) % CCardExport::kBufferStep);
  EXPECT_GE(capacity, card.size() + 1);
  EXPECT_LT(capacity, card.size() + 1 + CCardExport::kBufferStep);
  // The buffer is kept for the next, smaller contact.
  r.Photo.clear();
  EXPECT_EQ("N:;;;;\r\nFN:\r\n", Body(Export(small, r, 30)));
  EXPECT_EQ(capacity, small.buffer_capacity());
}

TEST(CardExportTest, RevIsUtc) {
  ContactRecord r;
  r.LastModificationTime = Date(2024, 1, 15, 0, 30, 0);  // CET: the day before in UTC
  EXPECT_EQ("REV:20240114T233000Z\r\n", Body(Export(r, 21)));
  test::ScopedSettings settings;
  settings.TimeZone("UTC");
  EXPECT_EQ("REV:2024-01-15T00:30:00Z", Lines(Body(Export(r, 30))).back());
}

}  // namespace
}  // namespace velmora
