// The small rules of the OOXML packages: cell references, the "_xHHHH_"
// escapes both ways, and part names resolved from relationship targets.
#include "spreadsheet/ooxml_text.h"

#include <string>

#include <gtest/gtest.h>

#include "spreadsheet/ooxml_package.h"
#include "support/test_env.h"

namespace velmora::spreadsheet {
namespace {

using test::U16;
using test::U8;

TEST(OoxmlText, CellReferences) {
  const struct {
    const char* reference;
    std::uint32_t row, col;  // 0-based; row -1 for a refused reference
  } kCases[] = {
      {"A1", 0, 0},
      {"b12", 11, 1},
      {"Z9", 8, 25},
      {"AA1", 0, 26},
      {"XFD1048576", 1048575, 16383},
      {"XFE1", ~0u, 0},
      {"A1048577", ~0u, 0},
      {"A0", ~0u, 0},
      {"1", ~0u, 0},
      {"A", ~0u, 0},
      {"AAAA1", ~0u, 0},
      {"A1x", ~0u, 0},
  };
  for (const auto& c : kCases) {
    std::uint32_t row = ~0u, col = 0;
    const bool parsed = ParseCellReference(c.reference, &row, &col);
    EXPECT_EQ(parsed, c.row != ~0u) << c.reference;
    if (parsed) {
      EXPECT_EQ(std::make_pair(row, col), std::make_pair(c.row, c.col)) << c.reference;
    }
  }
}

TEST(OoxmlText, EscapesBothWays) {
  const struct {
    const char* stored;
    const char* text;
  } kCases[] = {
      {"a_x000D__x000A_b", "a\r\nb"},
      {"_x005F_x000D_", "_x000D_"},
      {"_x00e9_", "é"},
      {"_x12_", "_x12_"},
      {"_xZZZZ_", "_xZZZZ_"},
      {"plain_x", "plain_x"},
  };
  for (const auto& c : kCases) EXPECT_EQ(U8(UnescapeOoxml(U16(c.stored))), c.text) << c.stored;
  for (const char* text : {"_x000D_", "a_x0041_b_x0042_", "_x00", "x_y"}) {
    EXPECT_EQ(U8(UnescapeOoxml(EscapeOoxmlLookalikes(U16(text)))), text);
  }
}

TEST(OoxmlPackage, PartNamesFromTargets) {
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "worksheets/sheet1.xml"),
            "xl/worksheets/sheet1.xml");
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "/xl/styles.xml"), "xl/styles.xml");
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "../docProps/./app.xml"), "docProps/app.xml");
  EXPECT_EQ(ResolvePartName("", "xl/workbook.xml"), "xl/workbook.xml");
  EXPECT_EQ(ResolvePartName("a.xml", "../../../b.xml"), "b.xml");
}

}  // namespace
}  // namespace velmora::spreadsheet
