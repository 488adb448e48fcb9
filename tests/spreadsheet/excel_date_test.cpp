// Date numbers in both date systems: the phantom 29th of February 1900,
// times alone, rounding to the second, the ends of the range, and packing
// back. Expected fields as a spreadsheet program shows the numbers.
#include "spreadsheet/excel_date.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace velmora::spreadsheet {
namespace {

struct Case {
  double value;
  DateSystem system;
  DateParts parts;
};

constexpr DateSystem k1900 = DateSystem::k1900;
constexpr DateSystem k1904 = DateSystem::k1904;

TEST(ExcelDate, UnpacksAndPacksBothSystems) {
  const Case kCases[] = {
      {1, k1900, {1900, 1, 1}},
      {59, k1900, {1900, 2, 28}},
      {60, k1900, {1900, 2, 29}},
      {61, k1900, {1900, 3, 1}},
      {44197, k1900, {2021, 1, 1}},
      {42735, k1904, {2021, 1, 1}},
      {1, k1904, {1904, 1, 2}},
      {10.632060185185185, k1900, {1900, 1, 10, 15, 10, 10}},
      {10.632060185185185, k1904, {1904, 1, 11, 15, 10, 10}},
      {0.5, k1900, {0, 0, 0, 12, 0, 0}},
      {0.5, k1904, {0, 0, 0, 12, 0, 0}},
      {2958465, k1900, {9999, 12, 31}},
      {2957003, k1904, {9999, 12, 31}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.value);
    DateParts parts;
    ASSERT_TRUE(UnpackDateNumber(c.value, c.system, &parts));
    EXPECT_EQ(parts, c.parts);
    double packed = -1;
    ASSERT_TRUE(PackDateNumber(c.parts, c.system, &packed));
    EXPECT_NEAR(packed, c.value, 0.5 / 86400);
  }
}

TEST(ExcelDate, RoundsToTheSecondAndCarriesIntoTheNextDay) {
  DateParts parts;
  ASSERT_TRUE(UnpackDateNumber(44197.999999, k1900, &parts));
  EXPECT_EQ(parts, (DateParts{2021, 1, 2, 0, 0, 0}));
  ASSERT_TRUE(UnpackDateNumber(0.999999999, k1900, &parts));
  EXPECT_EQ(parts, (DateParts{1900, 1, 1, 0, 0, 0}));
}

TEST(ExcelDate, RefusesWhatIsNoDate) {
  DateParts parts;
  for (const double value :
       {-1.0, 2958466.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(UnpackDateNumber(value, k1900, &parts)) << value;
  }
  EXPECT_FALSE(UnpackDateNumber(2957004, k1904, &parts));
  double value = 0;
  EXPECT_FALSE(PackDateNumber({1903, 12, 31}, k1904, &value));
  // The first day is 1 in the 1900 system, 0 in the 1904 one.
  EXPECT_FALSE(PackDateNumber({1899, 12, 31}, k1900, &value));
  EXPECT_TRUE(PackDateNumber({1904, 1, 1}, k1904, &value) && value == 0);
  EXPECT_FALSE(PackDateNumber({2021, 4, 31}, k1900, &value));
  EXPECT_FALSE(PackDateNumber({1900, 2, 29}, k1904, &value));
  EXPECT_FALSE(PackDateNumber({2021, 1, 1, 24, 0, 0}, k1900, &value));
}

}  // namespace
}  // namespace velmora::spreadsheet
