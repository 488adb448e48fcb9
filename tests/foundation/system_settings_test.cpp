#include "foundation/system_settings.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace velmora::settings {
namespace {

TEST(SystemSettingsTest, AnsiCodePageFollowsTheLocaleLanguage) {
  const std::pair<const char*, int> cases[] = {
      {"C", 1252},           {"POSIX", 1252},       {"en_US.UTF-8", 1252}, {"de_DE.UTF-8", 1252},
      {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},       {"pl_PL.UTF-8", 1250}, {"cs_CZ", 1250},
      {"el_GR.UTF-8", 1253}, {"tr_TR", 1254},       {"he_IL", 1255},       {"ar_EG.UTF-8", 1256},
      {"lt_LT", 1257},       {"vi_VN", 1258},       {"th_TH.UTF-8", 874},  {"ja_JP.UTF-8", 932},
      {"zh_CN.UTF-8", 936},  {"zh_SG", 936},        {"zh_TW.UTF-8", 950},  {"zh_HK", 950},
      {"ko_KR.EUC-KR", 949}, {"sr_RS@latin", 1250}, {"sr_RS", 1251},       {"", 1252},
  };
  for (const auto& [locale, code_page] : cases) {
    EXPECT_EQ(AnsiCodePageForLocale(locale), code_page) << locale;
  }
}

TEST(SystemSettingsTest, ListSeparatorFollowsTheDecimalSeparator) {
  const std::pair<const char*, const char16_t*> cases[] = {
      {"C", u","},           {"en_US.UTF-8", u","}, {"de_DE.UTF-8", u";"}, {"fr_FR", u";"},
      {"ru_RU.UTF-8", u";"}, {"ja_JP", u","},       {"en_GB", u","},       {"pt_BR", u";"},
  };
  for (const auto& [locale, separator] : cases) {
    EXPECT_EQ(ListSeparatorForLocale(locale), separator) << locale;
  }
}

TEST(SystemSettingsTest, OverridesWinAndCanBeUndone) {
  test::ScopedSettings pinned;
  pinned.AnsiCodePage(932).ListSeparator(u";").TimeZone("Asia/Tokyo");
  EXPECT_EQ(AnsiCodePage(), 932);
  EXPECT_EQ(ListSeparator(), u";");
  EXPECT_EQ(TimeZoneId(), "Asia/Tokyo");
  // Undoing an override falls back to the environment, which is never empty.
  OverrideListSeparator({});
  EXPECT_FALSE(ListSeparator().empty());
  OverrideAnsiCodePage(0);
  EXPECT_GT(AnsiCodePage(), 0);
}

}  // namespace
}  // namespace velmora::settings
