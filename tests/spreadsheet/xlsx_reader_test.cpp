// The .xlsx/.xlsm reader: every kind of cell the XML can hold, packages no
// writer would make (missing parts, bad references, limits reached, zip
// bombs, document type declarations), and the corpus workbooks.
#include "spreadsheet/xlsx_reader.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "spreadsheet/workbook.h"
#include "spreadsheet/workbook_test_support.h"

namespace velmora::spreadsheet {
namespace {

using test::XlsxRecipe;

// The one sheet of a package as a dump, or "!" and the error.
std::string Read(const std::string& package, const WorkbookLimits& limits = {}) {
  Workbook book(WorkbookKind::kXlsx, limits);
  if (!book.LoadBytes(package)) return "!" + book.ErrorMessage();
  return book.SheetCount() == 0 ? "" : test::DumpSheet(*book.GetSheet(0));
}

TEST(XlsxReader, EveryKindOfCell) {
  XlsxRecipe recipe{.shared = {"a", "b_x000D_c", "x&lt;y"},
                    .cell_formats = {0, 14, 164, 2},
                    .custom_formats = {"164:[h]:mm"}};
  recipe.sheet_data =
      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c><c r=\"B1\" t=\"str\"><f>1</f><v>s</v></c>"
      "<c r=\"C1\" t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r><rPh><t>ph</t></rPh></is>"
      "</c><c r=\"D1\" t=\"b\"><v>1</v></c><c r=\"E1\" t=\"e\"><v>#N/A</v></c>"
      "<c r=\"F1\" t=\"e\"><v>#SPILL!</v></c></row>"
      "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>44197</v></c><c r=\"B3\" s=\"2\"><v>0.5</v></c>"
      "<c r=\"C3\" s=\"3\"><v>1.5</v></c><c r=\"D3\" s=\"1\"/><c r=\"E3\" t=\"d\"><v>2021-01-02"
      "T03:04:05</v></c><c r=\"F3\" s=\"9\"><v>-2</v></c></row>"
      "<row><c><v>7</v></c><c t=\"s\"><v>2</v></c></row>";
  EXPECT_EQ(Read(test::XlsxOf(recipe)),
            "A1=s:b\rc B1=s:s C1=s:inline D1=b:1 E1=e:42 F1=e:255 A3=d:44197 B3=d:0.5 C3=n:1.5 "
            "D3=blank E3=d:44198.1278356481 F3=n:-2 A4=n:7 B4=s:x<y");
  recipe.date1904 = true;
  recipe.sheet_data = "<row><c t=\"d\"><v>2021-01-01</v></c><c t=\"d\"><v>12:00:00</v></c></row>";
  EXPECT_EQ(Read(test::XlsxOf(recipe)), "A1=d:42735 B1=d:0.5");
}

TEST(XlsxReader, DamagedAndHostilePackagesFail) {
  const struct {
    const char* what;
    std::string sheet_data;
    const char* error;
  } kCases[] = {
      {"bad reference", "<row><c r=\"AAAA1\"><v>1</v></c></row>", "invalid cell reference AAAA1"},
      {"row too far", "<row r=\"1048577\"/>", "invalid row number"},
      {"no such string", "<row><c t=\"s\"><v>5</v></c></row>",
       "A1: shared string 5 does not exist"},
      {"no number", "<row><c><v>1,5</v></c></row>", "A1: 1,5 is not a number"},
      {"malformed", "<row><c>", "XML error"},
  };
  for (const auto& c : kCases) {
    EXPECT_THAT(Read(test::XlsxOf({.sheet_data = c.sheet_data})), ::testing::HasSubstr(c.error))
        << c.what;
  }
  auto parts = test::XlsxParts({});
  parts[6].bytes =
      "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
      "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&e;</t></is></c></row></sheetData>"
      "</worksheet>";
  EXPECT_THAT(Read(test::ZipOf(parts)), ::testing::HasSubstr("document type declaration"));
  parts.pop_back();
  EXPECT_THAT(Read(test::ZipOf(parts)),
              ::testing::HasSubstr("missing part xl/worksheets/sheet1.xml"));
  EXPECT_THAT(Read("PK\x03\x04 not really"), ::testing::HasSubstr("not a zip package"));
}

TEST(XlsxReader, LimitsStopTheRead) {
  XlsxRecipe recipe{
      .sheet_data = "<row><c t=\"s\"><v>1</v></c><c><v>1</v></c><c><v>2</v></c></row>",
      .shared = {"0123456789abc", "b", "c"}};
  const std::string package = test::XlsxOf(recipe);
  EXPECT_EQ(Read(package, {.max_cells = 2}), "!more than 2 cells in xl/worksheets/sheet1.xml");
  EXPECT_EQ(Read(package, {.max_strings = 2}),
            "!more than 2 shared strings in xl/sharedStrings.xml");
  EXPECT_EQ(Read(package, {.max_string_length = 10}),
            "!shared string too long in xl/sharedStrings.xml");
  EXPECT_THAT(Read(package, {.max_part_bytes = 100}),
              ::testing::HasSubstr("is larger than 100 bytes"));
  // A zip bomb: megabytes of one byte, which deflate shrinks a thousandfold.
  recipe.sheet_data = std::string(8 << 20, ' ');
  EXPECT_THAT(Read(test::XlsxOf(recipe)),
              ::testing::HasSubstr("beyond the compression ratio limit (a zip bomb?)"));
}

}  // namespace
}  // namespace velmora::spreadsheet
