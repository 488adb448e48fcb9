#include "contact/card_tools.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora::contact {
namespace {

using test::CapturedLog;

SystemTime Fields(int y, int mo, int d, int h, int mi, int s) {
  return SystemTime{y, mo, 0, d, h, mi, s};
}

TEST(CardToolsTest, Cases) {
  for (const test::FileCase& c : test::ReadCases("contact/data/card_tools.txt")) {
    SCOPED_TRACE(c.name);
    if (c.Has("trim")) {
      CapturedLog capture;
      const std::string& text = c["trim"];
      EXPECT_EQ(TrimStringA(capture.log, text.data(), static_cast<std::int64_t>(text.size())),
                c["expect"]);
      EXPECT_EQ(capture.Problems(), 0);
      continue;
    }
    if (c.Has("photo")) {
      const std::string& bytes = c["photo"];
      EXPECT_EQ(test::U8(DetectPhotoExt(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        bytes.size(), nullptr)),
                c["expect"]);
      continue;
    }
    SystemTime t;
    ASSERT_EQ(std::sscanf(c["date time"].c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day,
                          &t.hour, &t.minute, &t.second),
              6);
    CapturedLog capture;
    EXPECT_EQ(DateTime2Str(capture.log, t, c.Has("utc"), c.Has("to utc"), c.Has("compact")),
              c["expect"]);
  }
}

TEST(CardToolsTest, DateTime2StrFailedConversionIsLoggedAndEmpty) {
  CapturedLog capture;
  EXPECT_EQ(DateTime2Str(capture.log, Fields(2024, 13, 1, 0, 0, 0), false, true, true), "");
  EXPECT_TRUE(capture.Has("in CardTools.DateTime2Str: LocalToUtc\n"));
  EXPECT_EQ(DateTime2Str(capture.log, Fields(2024, 2, 1, 25, 0, 0), true, false, true), "");
  EXPECT_TRUE(capture.Has("in CardTools.DateTime2Str: UtcToLocal\n"));
}

TEST(CardToolsTest, DateTime2StrOfAutomationDate) {
  CapturedLog capture;
  double date = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(Fields(2020, 3, 4, 5, 6, 7), &date));
  EXPECT_EQ(DateTime2Str(capture.log, date, true, true, false), "2020-03-04T05:06:07Z");
  EXPECT_EQ(DateTime2Str(capture.log, date, false, true, true), "20200304T040607Z");
  EXPECT_EQ(DateTime2Str(capture.log, 1e12, false, true, true), "");
  EXPECT_TRUE(capture.Has("in CardTools.DateTime2Str: VariantTimeToSystemTime"));
}

TEST(CardToolsTest, DateTextTakesTheCalendarDate) {
  double date = 0;
  ASSERT_TRUE(SystemTimeToVariantTime(Fields(1999, 12, 31, 23, 59, 0), &date));
  EXPECT_EQ(Date2Str(date, true), "19991231");
  EXPECT_EQ(Date2Str(date, false), "1999-12-31");
  EXPECT_EQ(Date2Str(2.0, false), "1900-01-01");
  EXPECT_EQ(Date2Str(1e12, false), "");
}

TEST(CardToolsTest, DetectPhotoExtWarnsWithTheFirstBytes) {
  CapturedLog capture;
  const std::uint8_t tiff_be[] = {'M', 'M', 0x00, 0x2A};
  EXPECT_EQ(DetectPhotoExt(tiff_be, sizeof tiff_be, &capture.log), u"");
  EXPECT_TRUE(
      capture.Has("in CardTools.DetectPhotoExt: cant detect image type; data starts with "
                  "{0x4d, 0x4d, 0x0, 0x2a}\n"));

  std::vector<std::uint8_t> long_data(40, 0xAB);
  EXPECT_EQ(DetectPhotoExt(long_data.data(), long_data.size(), &capture.log), u"");
  std::string sixteen = "{0xab";
  for (int i = 1; i < 16; ++i) sixteen += ", 0xab";
  EXPECT_TRUE(capture.Has("data starts with " + sixteen + "}\n"));

  EXPECT_EQ(DetectPhotoExt(nullptr, 10, &capture.log), u"");
  EXPECT_TRUE(capture.Has("data starts with {}\n"));

  const std::uint8_t png[] = {0x89, 'P', 'N', 'G'};
  const int warnings = capture.Count("cant detect");
  EXPECT_EQ(DetectPhotoExt(png, sizeof png, &capture.log), u"PNG");
  EXPECT_EQ(capture.Count("cant detect"), warnings);
}

TEST(CardToolsTest, TrimStringABadArguments) {
  CapturedLog capture;
  EXPECT_EQ(TrimStringA(capture.log, nullptr, 5), "");
  EXPECT_EQ(TrimStringA(capture.log, "abc", 0), "");
  EXPECT_EQ(TrimStringA(capture.log, "abc", -2), "");
  EXPECT_EQ(capture.Count("in CardTools.TrimStringA: "), 3);
  EXPECT_EQ(TrimStringA(capture.log, " abc ", 3), "ab");  // length bounds the text
}

TEST(CardToolsTest, AddressEmptiness) {
  ContactAddress address;
  address.Types = u"WORK";
  address.ABLabel = u"label";
  EXPECT_TRUE(IsAddressEmpty(address));
  std::u16string ContactAddress::*components[] = {
      &ContactAddress::PostOfficeBox, &ContactAddress::OfficeLocation, &ContactAddress::Street,
      &ContactAddress::City,          &ContactAddress::State,          &ContactAddress::PostalCode,
      &ContactAddress::Country};
  for (auto component : components) {
    ContactAddress one;
    one.*component = u"x";
    EXPECT_FALSE(IsAddressEmpty(one));
  }
}

TEST(CardToolsTest, SensitivityWords) {
  std::string read;
  for (const char16_t* word :
       {u"CONFIDENTIAL", u"confidential", u"Private", u"PUBLIC", u"PERSONAL", u""}) {
    read += std::to_string(SensitivityFromWord(word));
  }
  EXPECT_EQ(read, "332000");
  std::string written;
  for (int s : {3, 2, 1, 0, 9}) {
    written += test::U8(SensitivityToWord(static_cast<EContactSensitivity>(s))) + "|";
  }
  EXPECT_EQ(written, "CONFIDENTIAL|PRIVATE||||");
}

}  // namespace
}  // namespace velmora::contact
