#include "vcard/card_export.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <velmora/version.h>

#include <gtest/gtest.h>

#include "foundation/automation_date.h"
#include "support/case_file.h"
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
  const SystemTime st{year, month, 0, day, hour, minute, second};
  double date = 0;
  EXPECT_TRUE(SystemTimeToVariantTime(st, &date));
  return date;
}

std::string Export(CCardExport& exporter, const ContactRecord& record, int version,
                   int code_page = 65001, std::string_view charset = "UTF-8") {
  const char* text = nullptr;
  std::size_t length = 0;
  EXPECT_EQ(S_OK, exporter.ExportContact(&record, version, code_page, charset, &text, &length));
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

// The body of a written card: the lines between VERSION (or PRODID) and END,
// less the empty N and FN lines every 3.0 card carries.
std::string Body(const std::string& card) {
  std::size_t start = card.find("VERSION:");
  start = card.find("\r\n", start) + 2;
  if (card.compare(start, 7, "PRODID:") == 0) start = card.find("\r\n", start) + 2;
  if (card.compare(start, 13, "N:;;;;\r\nFN:\r\n") == 0) start += 13;
  const std::size_t end = card.rfind("END:VCARD");
  return card.substr(start, end - start);
}

// The last line of a body, without its line end.
std::string LastLine(std::string body) {
  if (body.ends_with("\r\n")) body.resize(body.size() - 2);
  const std::size_t at = body.rfind("\r\n");
  return at == std::string::npos ? body : body.substr(at + 2);
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
  ContactAddress home{u"HOME",     "",         u"Summer house", u"PO 7",  u"Apt 3",
                      u"Seeweg 1", u"Potsdam", u"BB",           u"14467", u"Germany"};
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
    const std::string expected = test::ReadFile(test::SourceDir() / "tests/vcard/data" / c.file);
    ASSERT_FALSE(expected.empty());
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    const std::string actual = Export(exporter, c.record(), c.version, c.code_page, c.charset);
    EXPECT_EQ(expected, actual);
    // Only the 2.1 card drops the IMPP it cannot represent.
    EXPECT_EQ(c.version == 21 ? 1 : 0,
              log.Count("Cant Save IMPP(X-SERVICE-TYPE=?, Protocol=?) in vCard2.1"));
  }
}

TEST(CardExportTest, EmptyRecordAndDefaults) {
  const ContactRecord empty;
  EXPECT_EQ("BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD\r\n", Export(empty, 21));
  EXPECT_EQ(
      "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Velmora Tests//EN\r\nN:;;;;\r\nFN:\r\n"
      "END:VCARD\r\n",
      Export(empty, 30));
  CapturedLog log;
  CCardExport exporter(log.log);
  // The default names the library's major and minor version.
  const std::string version = VersionString();
  const std::string expected =
      "PRODID:-//Zorva Corporation//Lumbrix " + version.substr(0, version.rfind('.')) + "//EN";
  EXPECT_EQ(expected, exporter.prodid_line());
  const std::string card = Export(exporter, empty, 40);
  EXPECT_EQ(0u, card.find(std::string("BEGIN:VCARD\r\nVERSION:3.0\r\n") + expected + "\r\n"));
  EXPECT_EQ(1, log.Count("Unsupported version 40; writing 3.0"));
  EXPECT_TRUE(log.Has("CCardExport.addVERSION"));
  // A given line keeps its text (a trailing line end is not doubled).
  EXPECT_EQ("PRODID:-//Other//EN", CCardExport(log.log, "PRODID:-//Other//EN\r\n").prodid_line());
}

// "a|b|c" as its parts, in UTF-16.
std::vector<std::u16string> Parts(const std::string& text) {
  std::vector<std::u16string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t bar = text.find('|', start);
    parts.push_back(test::U16(text.substr(start, bar - start)));
    if (bar == std::string::npos) return parts;
    start = bar + 1;
  }
}

// The record of a case of tests/vcard/data/export_cases.txt.
ContactRecord CaseRecord(const test::FileCase& c) {
  const std::map<std::string, std::u16string ContactRecord::*> texts = {
      {"FirstName", &ContactRecord::FirstName},
      {"Suffix", &ContactRecord::Suffix},
      {"FormattedName", &ContactRecord::FormattedName},
      {"Body", &ContactRecord::Body},
      {"UID", &ContactRecord::UID},
      {"Categories", &ContactRecord::Categories},
      {"photo ext", &ContactRecord::PhotoExt}};
  ContactRecord r;
  for (const auto& [key, value] : c.values) {
    if (const auto text = texts.find(key); text != texts.end())
      r.*(text->second) = test::U16(value);
    const std::vector<std::u16string> p = Parts(value);
    if (key == "phone") r.Phones.push_back({p.at(0), p.at(1), "", p.at(2)});
    if (key == "email") r.Emails.push_back({p.at(0), p.at(1), p.at(2), "", u""});
    if (key == "impp") r.Impps.push_back({u"", p.at(0), p.at(1), p.at(2), "", u""});
    if (key == "url") r.Urls.push_back({p.at(0), u"", "", p.at(1)});
    if (key == "address") {
      ContactAddress& address = r.Addresses.emplace_back();
      address.Types = p.at(0), address.Street = p.at(1), address.City = p.at(2);
    }
    if (key == "mailing") r.SelectedMailingAddress = static_cast<EContactAddress>(std::stoi(value));
    if (key == "photo") r.Photo.assign(value.begin(), value.end());
    if (key == "rev") {
      int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
      EXPECT_EQ(std::sscanf(value.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6);
      r.LastModificationTime = Date(y, mo, d, h, mi, s);
    }
  }
  return r;
}

TEST(CardExportTest, WriterRules) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/export_cases.txt")) {
    SCOPED_TRACE(c.name);
    test::ScopedSettings settings;
    if (c.Has("time zone")) settings.TimeZone(c["time zone"]);
    if (c.Has("list separator")) settings.ListSeparator(test::U16(c["list separator"]));
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    const std::string body =
        Body(Export(exporter, CaseRecord(c), c.Number("version"), c.Number("code page", 65001),
                    c.Has("charset") ? c["charset"] : "UTF-8"));
    EXPECT_EQ(c.Has("body") ? c["body"] : c["last line"], c.Has("body") ? body : LastLine(body));
    for (const std::string& message : c.All("logged")) EXPECT_EQ(1, log.Count(message));
    EXPECT_EQ(static_cast<int>(c.All("logged").size()), log.Problems()) << log.Text();
  }
}

TEST(CardExportTest, ItemCounterRestartsPerContact) {
  ContactRecord r;
  r.Phones.push_back({u"", u"1", "", u"Radio"});
  CapturedLog log;
  CCardExport exporter(log.log, kTestProdId);
  EXPECT_EQ(Body(Export(exporter, r, 30)), Body(Export(exporter, r, 30)));
  EXPECT_EQ("item1.TEL:1\r\nitem1.X-ABLABEL:Radio\r\n", Body(Export(exporter, r, 30)));
}

TEST(CardExportTest, ShiftJisBackslashTrailByteRoundTrips) {
  // "ソ" is 0x83 0x5C in Shift_JIS: its trail byte is escaped like a
  // backslash, and the reader's unescaping gives the bytes back.
  ContactRecord r;
  r.FormattedName = u"ソ,1";
  const std::string line = LastLine(Body(Export(r, 30, 932, "")));
  EXPECT_EQ("FN:\x83\x5C\x5C\\,1", line);
  std::string unescaped;
  UnfoldAndUnescape(line.substr(3), true, true, true, unescaped);
  EXPECT_EQ("\x83\x5C,1", unescaped);
}

TEST(CardExportTest, BadArgumentsFailAndLeaveTheExporterUsable) {
  ContactRecord r;
  r.FormattedName = u"x";
  CapturedLog log;
  CCardExport exporter(log.log, kTestProdId);
  for (int code_page : {12345, 1200, 1201, -5}) {
    const char* text = "untouched";
    std::size_t length = 99;
    EXPECT_EQ(E_GENERIC_FAILURE, exporter.ExportContact(&r, 30, code_page, "", &text, &length));
    EXPECT_EQ(nullptr, text);
    EXPECT_EQ(0u, length);
    EXPECT_EQ(1, log.Count("Cannot write vCard in code page " + std::to_string(code_page)));
    EXPECT_EQ("FN:x", LastLine(Body(Export(exporter, r, 30))));
  }
  const char* text = nullptr;
  std::size_t length = 0;
  EXPECT_EQ(E_GENERIC_FAILURE, exporter.ExportContact(nullptr, 30, 65001, "", &text, &length));
  EXPECT_EQ(E_GENERIC_FAILURE, exporter.ExportContact(&r, 30, 65001, "", nullptr, &length));
  EXPECT_EQ(6, log.Count("CCardExport.ExportContact"));
  // The length is optional.
  EXPECT_EQ(S_OK, exporter.ExportContact(&r, 21, 65001, "", &text, nullptr));
  EXPECT_STREQ("BEGIN:VCARD\r\nVERSION:2.1\r\nFN:x\r\nEND:VCARD\r\n", text);
}

TEST(CardExportTest, Encoders) {
  const std::string a63(63, 'a'), a64(64, 'a'), a65(65, 'a');
  const std::pair<std::string, std::string> qp[] = {
      {"", ""},
      {"=\t\x7f\x80\xff", "=3D\t=7F=80=FF"},
      {a63 + " ", a63 + " "},              // space at column 64: copied
      {a64 + "\tb", a64 + "=09=\r\nb"},    // at column 65: encoded
      {a65 + "bc", a65 + "=\r\nbc"},       // soft break at 65
      {a63 + "\xe9z", a63 + "=E9=\r\nz"},  // an escape may pass 65
      {std::string(130, 'x'), std::string(65, 'x') + "=\r\n" + std::string(65, 'x') + "=\r\n"},
  };
  for (const auto& [input, expected] : qp) {
    std::string out = "keep:";
    EncodeQuotedPrintable(input, out);
    EXPECT_EQ("keep:" + expected, out) << Visible(input);
  }
  const std::pair<std::string, std::string> base64[] = {
      {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
      {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\xff\xfe\x00", 3), "//4A"},
  };
  for (const auto& [input, expected] : base64) {
    std::string out;
    ASSERT_TRUE(Base64Encode(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), 76,
                             "\r\n ", out));
    EXPECT_EQ(expected, out);
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

TEST(CardExportTest, BufferGrowsInSteps) {
  CapturedLog log;
  CCardExport small(log.log, kTestProdId, 1000);
  EXPECT_EQ(1000u, small.buffer_capacity());
  // Below 256: the default.
  EXPECT_EQ(CCardExport::kBufferStep, CCardExport(log.log, kTestProdId, 100).buffer_capacity());
  ContactRecord r;
  r.Photo.assign(200000, 0x41);
  const std::string card = Export(small, r, 30);
  const std::size_t capacity = small.buffer_capacity();
  EXPECT_EQ(0u, (capacity - 1000) % CCardExport::kBufferStep);
  EXPECT_GE(capacity, card.size() + 1);
  EXPECT_LT(capacity, card.size() + 1 + CCardExport::kBufferStep);
  // The buffer is kept for the next, smaller contact.
  r.Photo.clear();
  EXPECT_EQ("", Body(Export(small, r, 30)));
  EXPECT_EQ(capacity, small.buffer_capacity());
}

}  // namespace
}  // namespace velmora
