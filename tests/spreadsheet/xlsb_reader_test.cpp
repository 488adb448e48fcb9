// The .xlsb reader: BIFF12 records of every cell kind, records split over
// the pieces the zip inflates, and damaged or hostile packages.
#include "spreadsheet/xlsb_reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "spreadsheet/biff12_records.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/workbook_test_support.h"

namespace velmora::spreadsheet {
namespace {

std::string U32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
std::string Wide(std::u16string_view text) {
  std::string out = U32(static_cast<std::uint32_t>(text.size()));
  for (const char16_t c : text) out += {static_cast<char>(c), static_cast<char>(c >> 8)};
  return out;
}
// One record: the type in one or two bytes, the size in up to four.
std::string Record(std::uint32_t type, const std::string& body) {
  std::string out;
  out += static_cast<char>((type & 0x7F) | (type > 0x7F ? 0x80 : 0));
  if (type > 0x7F) out += static_cast<char>(type >> 7);
  std::uint32_t size = static_cast<std::uint32_t>(body.size());
  do {
    out += static_cast<char>((size & 0x7F) | (size > 0x7F ? 0x80 : 0));
    size >>= 7;
  } while (size > 0);
  return out + body;
}
std::string Cell(std::uint32_t col, std::uint32_t style) { return U32(col) + U32(style); }

// A package of one sheet holding `sheet_records`, cell format 1 a date.
std::string XlsbOf(const std::string& sheet_records, bool date1904 = false) {
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  const std::string styles = Record(44, std::string("\xA4\x00", 2) + Wide(u"dd/mm/yyyy")) +
                             Record(617, U32(2)) + Record(47, std::string(16, '\0')) +
                             Record(47, std::string("\0\0\xA4\0", 4) + std::string(12, '\0')) +
                             Record(618, "");
  return test::ZipOf({
      {"_rels/.rels", "<Relationships><Relationship Id=\"r\" Type=\"" + rel +
                          "/officeDocument\" Target=\"xl/workbook.bin\"/></Relationships>"},
      {"xl/workbook.bin", Record(153, U32(date1904 ? 1 : 0)) +
                              Record(156, U32(0) + U32(1) + Wide(u"s1") + Wide(u"Data"))},
      {"xl/_rels/workbook.bin.rels",
       "<Relationships><Relationship Id=\"s1\" Type=\"" + rel +
           "/worksheet\" Target=\"worksheets/sheet1.bin\"/><Relationship Id=\"st\" Type=\"" + rel +
           "/styles\" Target=\"styles.bin\"/><Relationship Id=\"ss\" Type=\"" + rel +
           "/sharedStrings\" Target=\"sharedStrings.bin\"/></Relationships>"},
      {"xl/styles.bin", styles},
      {"xl/sharedStrings.bin",
       Record(19, '\0' + Wide(u"shared")) + Record(19, '\x01' + Wide(u"rich") + U32(0))},
      {"xl/worksheets/sheet1.bin", sheet_records},
  });
}

std::string Read(const std::string& package, const WorkbookLimits& limits = {}) {
  Workbook book(WorkbookKind::kXlsb, limits);
  if (!book.LoadBytes(package)) return "!" + book.ErrorMessage();
  return test::DumpSheet(*book.GetSheet(0));
}

TEST(XlsbReader, EveryKindOfCell) {
  const std::string rows =
      Record(0, U32(0)) + Record(1, Cell(0, 0)) + Record(2, Cell(1, 0) + U32(0x3FF00000u)) +
      Record(2, Cell(2, 0) + U32(1503)) + Record(3, Cell(3, 0) + '\x07') +
      Record(4, Cell(4, 0) + '\x01') +
      Record(5, Cell(5, 1) + std::string("\0\0\0\0\xA0\x94\xE5\x40", 8)) +
      Record(6, Cell(6, 0) + Wide(u"a_x000D_b")) + Record(7, Cell(7, 0) + U32(1)) +
      Record(0, U32(2)) + Record(8, Cell(0, 0) + Wide(u"f") + std::string(6, '\0')) +
      Record(9, Cell(1, 0) + std::string("\0\0\0\0\0\0\xF8\x3F", 8)) +
      Record(10, Cell(2, 0) + '\0') + Record(11, Cell(3, 0) + '\x2A') + Record(300, "ignored");
  EXPECT_EQ(Read(XlsbOf(rows)),
            "A1=blank B1=n:1 C1=n:3.75 D1=e:7 E1=b:1 F1=d:44197 G1=s:a\rb H1=s:rich A3=s:f "
            "B3=n:1.5 C3=b:0 D3=e:42");
  Workbook book(WorkbookKind::kXlsb);
  ASSERT_TRUE(book.LoadBytes(XlsbOf("", true)));
  EXPECT_EQ(book.date_system(), DateSystem::k1904);
  EXPECT_EQ(test::U8(book.GetSheet(0)->name()), "Data");
}

TEST(XlsbReader, RecordsSplitAcrossPiecesAreWhole) {
  std::vector<std::string> seen;
  biff12::RecordStream stream(1000, [&seen](std::uint32_t type, std::string_view body) {
    seen.push_back(std::to_string(type) + ":" + std::string(body));
    return true;
  });
  const std::string records = Record(617, "abc") + Record(6, std::string(200, 'x')) + Record(1, "");
  for (const char c : records) ASSERT_TRUE(stream.Feed(std::string_view(&c, 1)));
  EXPECT_TRUE(stream.Finish());
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "617:abc");
  EXPECT_EQ(seen[1].size(), 202u);
  EXPECT_EQ(seen[2], "1:");
}

TEST(XlsbReader, DamagedAndHostilePartsFail) {
  const struct {
    std::string sheet;
    const char* error;
  } kCases[] = {
      {Record(0, U32(0)) + Record(6, Cell(0, 0) + U32(99)), "damaged cell in row 1"},
      {Record(0, U32(0)) + Record(7, Cell(0, 0) + U32(2)), "shared string 2 does not exist"},
      {Record(0, U32(1048576)), "invalid row 1048576"},
      {Record(0, U32(0)) + Record(1, Cell(16384, 0)), "invalid cell in row 1"},
      {Record(0, U32(0)).substr(0, 3), "part ends inside a record"},
      {"\x81\x81\x01", "damaged record type"},
      {std::string("\x06\xFF\xFF\xFF\xFF\x01", 6), "damaged record size"},
      {Record(6, std::string(3 << 20, 'x')), "record 6 of 3145728 bytes is larger than the limit"},
  };
  for (const auto& c : kCases) {
    const std::string got = Read(XlsbOf(c.sheet));
    EXPECT_EQ(got.rfind(std::string("!").append(c.error), 0), 0u) << got;
  }
  EXPECT_EQ(Read(XlsbOf(Record(0, U32(0)) + Record(1, Cell(0, 0)) + Record(1, Cell(1, 0))),
                 {.max_cells = 1}),
            "!more than 1 cells in xl/worksheets/sheet1.bin");
}

}  // namespace
}  // namespace velmora::spreadsheet
