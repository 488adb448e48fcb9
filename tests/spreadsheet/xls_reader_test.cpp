// The .xls reader: freexl's cells with the ones our own pass adds, which
// for BIFF5 must agree with the workbook read from the records alone.
#include "spreadsheet/xls_reader.h"

#include <cstring>
#include <string>

#include <gsf/gsf.h>
#include <gtest/gtest.h>

#include "spreadsheet/workbook.h"
#include "spreadsheet/workbook_test_support.h"

namespace velmora::spreadsheet {
namespace {

std::string Dump(const WorkbookContent& content) {
  std::string out;
  for (const auto& sheet : content.sheets) {
    out.append(test::U8(sheet->name())).append(": ").append(test::DumpSheet(*sheet)).append("\n");
  }
  return out;
}

std::string Le(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
  return out;
}
std::string Rec(std::uint16_t id, const std::string& body) {
  return Le(id, 2) + Le(body.size(), 2) + body;
}
std::string Double(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return Le(bits, 8);
}
// A cell record's row, column and format.
std::string At(int row, int col, int xf) { return Le(row, 2) + Le(col, 2) + Le(xf, 2); }

// A BIFF8 workbook in a compound file: one sheet of `cells` records, cell
// formats 15 (General), 16 (built-in date 14), 17 (custom "hh:mm"), one
// shared string "text".
void WriteBiff8(const std::filesystem::path& file, const std::string& cells, bool date1904) {
  const std::string bof = Le(0x0600, 2) + Le(5, 2) + std::string(12, '\0');
  std::string globals =
      Rec(0x0809, bof) + Rec(0x0042, Le(1200, 2)) + Rec(0x0022, Le(date1904 ? 1 : 0, 2));
  const std::string font = Le(200, 2) + std::string(4, '\0') + Le(400, 2) + std::string(6, '\0') +
                           std::string("\x05\0Arial", 7);
  for (int i = 0; i < 4; ++i) globals += Rec(0x0031, font);
  globals += Rec(0x041E, Le(164, 2) + Le(5, 2) + std::string("\0hh:mm", 6));
  const std::string tail = std::string(14, '\0');
  for (int i = 0; i < 15; ++i) globals += Rec(0x00E0, Le(0, 2) + Le(0, 2) + Le(0xFFF5, 2) + tail);
  for (const int format : {0, 14, 164}) {
    globals += Rec(0x00E0, Le(0, 2) + Le(format, 2) + Le(1, 2) + tail);
  }
  const std::size_t boundsheet = globals.size() + 4;
  globals += Rec(0x0085, Le(0, 4) + Le(0, 2) + std::string("\x01\0S", 3));
  globals += Rec(0x00FC, Le(1, 4) + Le(1, 4) + Le(4, 2) + std::string("\0text", 5));
  globals += Rec(0x000A, "");
  globals.replace(boundsheet, 4, Le(globals.size(), 4));
  // freexl sizes its cells by DIMENSIONS and refuses the file when a cell
  // lies outside.
  const std::string dimensions = Rec(0x0200, Le(0, 4) + Le(3, 4) + Le(0, 2) + Le(6, 2) + Le(0, 2));
  const std::string stream = globals +
                             Rec(0x0809, Le(0x0600, 2) + Le(0x10, 2) + std::string(12, '\0')) +
                             dimensions + cells + Rec(0x000A, "");
  gsf_init();
  GsfOutput* out = gsf_output_stdio_new(file.c_str(), nullptr);
  ASSERT_NE(out, nullptr);
  GsfOutfile* ole = gsf_outfile_msole_new(out);
  GsfOutput* child = gsf_outfile_new_child(ole, "Workbook", FALSE);
  gsf_output_write(child, stream.size(), reinterpret_cast<const guint8*>(stream.data()));
  gsf_output_close(child);
  gsf_output_close(GSF_OUTPUT(ole));
  g_object_unref(child);
  g_object_unref(ole);
  g_object_unref(out);
}

TEST(XlsReader, EveryKindOfCellFromTheRecords) {
  const std::string cells =
      Rec(0x0203, At(0, 0, 15) + Double(1.5)) + Rec(0x027E, At(0, 1, 16) + Le(44197 << 2 | 2, 4)) +
      Rec(0x00BD, At(0, 2, 17) + Le(0x3FE00000, 4) + Le(15, 2) + Le(7 << 2 | 2, 4) + Le(3, 2)) +
      Rec(0x0205, At(1, 0, 15) + std::string("\x01\0", 2)) +
      Rec(0x0205, At(1, 1, 15) + std::string("\x07\x01", 2)) +
      Rec(0x0006, At(1, 2, 15) + std::string("\0\0\0\0\0\0\xFF\xFF", 8) + std::string(6, '\0')) +
      Rec(0x0207, Le(4, 2) + std::string("\0calc", 5)) +
      Rec(0x0006,
          At(1, 3, 15) + std::string("\x01\0\x01\0\0\0\xFF\xFF", 8) + std::string(6, '\0')) +
      Rec(0x0006,
          At(1, 4, 15) + std::string("\x02\0\x2A\0\0\0\xFF\xFF", 8) + std::string(6, '\0')) +
      Rec(0x0006, At(1, 5, 16) + Double(44197.75) + std::string(6, '\0')) +
      Rec(0x00FD, At(2, 0, 15) + Le(0, 4));
  for (const bool date1904 : {false, true}) {
    test::TempDir dir;
    WriteBiff8(dir / "cells.xls", cells, date1904);
    Workbook book(WorkbookKind::kXls);
    ASSERT_TRUE(book.Load(dir / "cells.xls")) << book.ErrorMessage();
    EXPECT_EQ(book.date_system(), date1904 ? DateSystem::k1904 : DateSystem::k1900);
    EXPECT_EQ(test::DumpSheet(*book.GetSheet(0)),
              "A1=n:1.5 B1=d:44197 C1=d:0.5 D1=n:7 A2=b:1 B2=e:7 C2=s:calc D2=b:1 E2=e:42 "
              "F2=d:44197.75 A3=s:text");
    EXPECT_EQ(test::PythonDump("xlrd", dir / "cells.xls"),
              "[S]\nA1=2:1.5\nB1=3:44197.0\nC1=3:0.5\nD1=2:7.0\nA2=4:1\nB2=5:7\nC2=1:calc\n"
              "D2=4:1\nE2=5:42\nF2=3:44197.75\nA3=1:text");
  }
}

TEST(XlsReader, Biff5ThroughFreexlAndFromTheRecordsAgree) {
  const std::filesystem::path file = test::WorkbookCorpus() / "calamine_malformed_format.xls";
  WorkbookContent with_freexl, records_only;
  std::string error;
  ASSERT_TRUE(ReadXls(file, kAllSheets, {}, &with_freexl, &error)) << error;
  ASSERT_TRUE(ReadXlsRecords(file, kAllSheets, {}, &records_only, &error)) << error;
  EXPECT_EQ(Dump(with_freexl), Dump(records_only));
  EXPECT_EQ(with_freexl.sheets.at(0)->size(), 683u);
  EXPECT_FALSE(ReadXlsRecords(test::WorkbookCorpus() / "calamine_date.xls", kAllSheets, {},
                              &records_only, &error));
}

TEST(XlsReader, AddsBooleansFormulaResultsAndExactDates) {
  WorkbookContent content;
  std::string error;
  ASSERT_TRUE(
      ReadXls(test::WorkbookCorpus() / "calamine_issues.xls", kAllSheets, {}, &content, &error));
  EXPECT_EQ(Dump(content),
            "datatypes: A1=n:1 A2=n:1.5 A3=s:ab A4=b:0 A5=s:test A6=d:42663\n"
            "Sheet1: A2=n:0\n"
            "issue2: A1=n:1 B1=s:a A2=n:2 B2=s:b A3=n:3 B3=s:c\n"
            "issue5: A1=n:0.5\n"
            "issue6: A1=n:1 A2=n:2 A3=s:ab A4=b:0\n");
  ASSERT_TRUE(ReadXls(test::WorkbookCorpus() / "calamine_date.xls", 0, {}, &content, &error));
  EXPECT_EQ(Dump(content),
            "Sheet1: A1=d:44197 B1=n:15 A2=d:44198 B2=n:16 A3=d:10.6320601851852 B3=n:17\n");
  EXPECT_FALSE(ReadXls(test::WorkbookCorpus() / "calamine_issues.xls", 0, {.max_cells = 5},
                       &content, &error));
  EXPECT_EQ(error, "more than 5 cells");
}

}  // namespace
}  // namespace velmora::spreadsheet
