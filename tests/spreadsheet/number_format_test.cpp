// Which number formats show dates, and numbers in the General format.
#include "spreadsheet/number_format.h"

#include <cmath>

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace velmora::spreadsheet {
namespace {

TEST(NumberFormat, TellsDateFormats) {
  const struct {
    const char16_t* code;
    bool date;
  } kCases[] = {
      {u"yyyy\\-mm\\-dd", true}, {u"[hh]:mm:ss", true},      {u"[h]", true},
      {u"d/m/yy h:mm", true},    {u"[$-409]mmmm d", true},   {u"General", false},
      {u"0.00", false},          {u"#,##0 \"days\"", false}, {u"[Red]0;[Blue]-0", false},
      {u"0\\d", false},          {u"_(* #,##0_)", false},    {u"@", false},
      {u"0.00E+00", false},      {u"\"unterminated", false}, {u"[", false},
  };
  for (const auto& c : kCases) EXPECT_EQ(IsDateFormatCode(c.code), c.date) << test::U8(c.code);
  for (const int id : {14, 17, 22, 27, 36, 45, 47, 50, 58}) EXPECT_TRUE(IsBuiltInDateFormat(id));
  for (const int id : {0, 1, 13, 23, 26, 37, 44, 48, 49, 59, 164}) {
    EXPECT_FALSE(IsBuiltInDateFormat(id)) << id;
  }
}

TEST(NumberFormat, GeneralText) {
  const struct {
    double value;
    const char16_t* text;
  } kCases[] = {
      {0, u"0"},
      {-0.0, u"0"},
      {1, u"1"},
      {1.5, u"1.5"},
      {-2.25, u"-2.25"},
      {4915112345678, u"4915112345678"},
      {0.1 + 0.2, u"0.3"},
      {1e20, u"1E+20"},
      {1.5e-10, u"1.5E-10"},
      {123456789.123456789, u"123456789.123457"},
      {std::nan(""), u""},
  };
  for (const auto& c : kCases) EXPECT_EQ(GeneralNumberText(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace velmora::spreadsheet
