#include "contact/icloud_rev_fix.h"

#include <gtest/gtest.h>

#include "foundation/module_info.h"
#include "support/test_env.h"

namespace velmora::contact {
namespace {

SystemTime At(int y, int mo, int d, int h, int mi = 0) {
  SystemTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  return t;
}

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
  CLog log;
  log.Init(ThisModule(), u"icloud", u"VelmoraTests", u"Contact", loglDetail, true);
  SystemTime bad = At(2024, 13, 1, 12);
  EXPECT_FALSE(iCloudWebAddressBook_REV_Fix(log, kProdId, bad));
  EXPECT_EQ(bad, At(2024, 13, 1, 12));
  const std::string text = test::ReadFile(log.log_path());
  EXPECT_NE(text.find("in CardTools.iCloudWebAddressBook_REV_Fix: TzSpecificLocalTimeToSystemTime"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace velmora::contact
