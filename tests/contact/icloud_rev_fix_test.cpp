#include "contact/icloud_rev_fix.h"

#include <gtest/gtest.h>

#include "support/log_capture.h"

namespace velmora::contact {
namespace {

SystemTime At(int y, int mo, int d, int h, int mi = 0) { return SystemTime{y, mo, 0, d, h, mi}; }

constexpr char16_t kProdId[] = u"-//Apple Inc.//iCloud Web Address Book 2010B09//EN";

TEST(ICloudRevFix, PacificTimeBecomesUtc) {
  CLog log;
  SystemTime summer = At(2024, 7, 1, 12, 30);  // PDT, UTC-7
  EXPECT_TRUE(iCloudWebAddressBook_REV_Fix(log, kProdId, summer));
  EXPECT_EQ(summer, At(2024, 7, 1, 19, 30));
  SystemTime winter = At(2024, 1, 1, 20);  // PST, UTC-8: past midnight in UTC
  EXPECT_TRUE(
      iCloudWebAddressBook_REV_Fix(log, u"-//Apple Inc.//iCloud Web Address Book 1", winter));
  EXPECT_EQ(winter, At(2024, 1, 2, 4));
}

TEST(ICloudRevFix, OtherProductsStayUntouched) {
  CLog log;
  for (const char16_t* prodid :
       {u"", u"-//Apple Inc.//Mac OS X 10.9//EN", u"-//Apple Inc.//iCloud Web Address",
        u"x-//Apple Inc.//iCloud Web Address Book"}) {
    SystemTime t = At(2024, 7, 1, 12);
    EXPECT_FALSE(iCloudWebAddressBook_REV_Fix(log, prodid, t));
    EXPECT_EQ(t, At(2024, 7, 1, 12));
  }
}

TEST(ICloudRevFix, FailedConversionIsLoggedAndLeavesTheTime) {
  test::CapturedLog captured;
  SystemTime bad = At(2024, 13, 1, 12);
  EXPECT_FALSE(iCloudWebAddressBook_REV_Fix(captured.log, kProdId, bad));
  EXPECT_EQ(bad, At(2024, 13, 1, 12));
  EXPECT_TRUE(
      captured.Has("in CardTools.iCloudWebAddressBook_REV_Fix: TzSpecificLocalTimeToSystemTime"))
      << captured.Text();
}

}  // namespace
}  // namespace velmora::contact
