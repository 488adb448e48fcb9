#include "vcard/card_export.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <velmora/version.h>

#include <gtest/gtest.h>

#include "foundation/automation_date.h"
#include "support/case_file.h"
#include "support/record_dump.h"
#include "vcard/base64.h"
#include "vcard/value_unescape.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

using test::CapturedLog;

constexpr char kTestProdId[] = "PRODID:-//Velmora Tests//EN";

std::string Export(CCardExport& exporter, const contact::ContactRecord& record, int version,
                   int code_page = 65001, std::string_view charset = "UTF-8") {
  const char* text = nullptr;
  std::size_t length = 0;
  EXPECT_EQ(S_OK, exporter.ExportContact(&record, version, code_page, charset, &text, &length));
  if (text == nullptr) return {};
  EXPECT_EQ('\0', text[length]);
  return std::string(text, length);
}

std::string Export(const contact::ContactRecord& record, int version, int code_page = 65001,
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

TEST(CardExportTest, EmptyRecordAndDefaults) {
  const contact::ContactRecord empty;
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

// "a|b|c" as its parts, in UTF-16, with empty ones up to `count`.
std::vector<std::u16string> Parts(const std::string& text, std::size_t count = 10) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (std::size_t bar; (bar = text.find('|', start)) != std::string::npos; start = bar + 1) {
    parts.push_back(test::U16(text.substr(start, bar - start)));
  }
  parts.push_back(test::U16(text.substr(start)));
  parts.resize(std::max(parts.size(), count));
  return parts;
}

// "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss" (local time) as a date; "" as none.
double DateOf(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (text.empty()) return 0.0;
  EXPECT_GE(std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 3) << text;
  return test::Date(y, mo, d, h, mi, s);
}

// The record a case describes (the keys are listed in
// tests/vcard/data/export_cases.txt).
contact::ContactRecord CaseRecord(const test::FileCase& c) {
  contact::ContactRecord r;
  for (const auto& [key, value] : c.values) {
    for (const auto& [name, field] : test::kTextFields) {
      if (key == name) r.*field = test::U16(value);
    }
    const std::vector<std::u16string> p = Parts(value);
    const std::string first(value.substr(0, value.find('|')));
    if (key == "phone") r.Phones.push_back({p[0], p[1], "", p[2]});
    if (key == "email") r.Emails.push_back({p[0], p[1], p[2], "", p[3]});
    if (key == "impp") r.Impps.push_back({p[0], p[1], p[2], p[3], "", p[4]});
    if (key == "url") r.Urls.push_back({p[1], p[0], "", p[2]});
    if (key == "address")
      r.Addresses.push_back({p[0], "", p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]});
    if (key == "date") r.Dates.push_back({DateOf(first), p[1], "", p[2]});
    if (key == "related") {
      r.RelatedNames.push_back(
          {p[0], u"", "", static_cast<EContactRelatedName>(std::stoi(test::U8(p[1]))), p[2]});
    }
    if (key == "custom") r.CustomFields.push_back({p[0], p[1], "", p[2]});
    if (key == "social") r.SocialProfiles.push_back({p[0], p[1], p[2], "", p[3]});
    if (key == "mailing") r.SelectedMailingAddress = static_cast<EContactAddress>(std::stoi(value));
    if (key == "sensitivity") r.Sensitivity = static_cast<EContactSensitivity>(std::stoi(value));
    if (key == "gender") r.Gender = static_cast<EContactGender>(std::stoi(value));
    if (key == "birthday") r.Birthday = DateOf(value);
    if (key == "rev") r.LastModificationTime = DateOf(value);
    if (key == "photo") r.Photo.assign(value.begin(), value.end());
  }
  return r;
}

// The golden cards of the record in tests/vcard/data/export_full.txt. To
// change one, edit the record or the expected card (CR LF line ends) and run
// the test: a mismatch prints the differing lines.
TEST(CardExportTest, GoldenFiles) {
  const contact::ContactRecord record =
      CaseRecord(test::ReadCases("vcard/data/export_full.txt").at(0));
  for (const int version : {30, 21}) {
    SCOPED_TRACE(version);
    const std::string expected =
        test::ReadFile(test::SourceDir() / "tests/vcard/data" /
                       ("export_full." + std::to_string(version) + ".vcf"));
    ASSERT_FALSE(expected.empty());
    CapturedLog log;
    CCardExport exporter(log.log, kTestProdId);
    EXPECT_EQ(expected, Export(exporter, record, version));
    // Only the 2.1 card drops the IMPP it cannot represent.
    EXPECT_EQ(version == 21 ? 1 : 0,
              log.Count("Cant Save IMPP(X-SERVICE-TYPE=?, Protocol=?) in vCard2.1"));
  }
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

TEST(CardExportTest, ShiftJisBackslashTrailByteRoundTrips) {
  // "ソ" is 0x83 0x5C in Shift_JIS: its trail byte is escaped like a
  // backslash, and the reader's unescaping gives the bytes back.
  contact::ContactRecord r;
  r.FormattedName = u"ソ,1";
  const std::string line = LastLine(Body(Export(r, 30, 932, "")));
  EXPECT_EQ("FN:\x83\x5C\x5C\\,1", line);
  std::string unescaped;
  UnfoldAndUnescape(line.substr(3), true, true, true, unescaped);
  EXPECT_EQ("\x83\x5C,1", unescaped);
}

TEST(CardExportTest, BadArgumentsFailAndLeaveTheExporterUsable) {
  contact::ContactRecord r;
  r.FormattedName = u"x";
  CapturedLog log;
  CCardExport exporter(log.log, kTestProdId);
  for (int code_page : {12345, 1200, 1201, -5}) {
    const char* text = "untouched";
    std::size_t length = 99;
    EXPECT_EQ(E_GENERIC_FAILURE, exporter.ExportContact(&r, 30, code_page, "", &text, &length));
    EXPECT_TRUE(text == nullptr && length == 0);
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

TEST(CardExportTest, Base64Folding) {
  // The encoders over a table: tests/vcard/data/value_texts.txt.
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
  contact::ContactRecord r;
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
}  // namespace velmora::vcard
