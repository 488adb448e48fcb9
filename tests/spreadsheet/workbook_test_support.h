// Workbooks built by the tests: zip packages from named parts (for hostile
// and edge-case packages no writer would make), a minimal .xlsx around one
// sheet's XML, the corpus folder of workbooks, and a compact dump of a
// sheet's cells.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include "spreadsheet/workbook.h"
#include "support/python_workbook.h"
#include "support/test_env.h"

namespace velmora::test {

inline std::filesystem::path WorkbookCorpus() { return CorpusDir() / "spreadsheets"; }

struct ZipPart {
  std::string name;
  std::string bytes;
};

// The parts as a zip package (deflated unless `level` is 0).
inline std::string ZipOf(const std::vector<ZipPart>& parts, int level = Z_DEFAULT_COMPRESSION) {
  TempDir dir;
  const std::filesystem::path file = dir / "package.zip";
  zipFile zip = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
  EXPECT_NE(zip, nullptr);
  for (const ZipPart& part : parts) {
    EXPECT_EQ(zipOpenNewFileInZip64(zip, part.name.c_str(), nullptr, nullptr, 0, nullptr, 0,
                                    nullptr, level == 0 ? 0 : Z_DEFLATED, level, 1),
              ZIP_OK);
    EXPECT_EQ(zipWriteInFileInZip(zip, part.bytes.data(), static_cast<unsigned>(part.bytes.size())),
              ZIP_OK);
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
  return ReadFile(file);
}

// What a minimal .xlsx holds: one sheet's <sheetData> content, shared
// strings, the number format of each cell format (s="0", s="1", ...) and
// custom format codes ("164:yyyy-mm-dd").
struct XlsxRecipe {
  std::string sheet_data{};
  std::vector<std::string> shared{};
  std::vector<int> cell_formats = {0};
  std::vector<std::string> custom_formats{};
  bool date1904 = false;
  std::string sheet_name = "Sheet1";
};

inline std::vector<ZipPart> XlsxParts(const XlsxRecipe& recipe) {
  const std::string ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  std::string styles = "<styleSheet " + ns + "><numFmts>";
  for (const std::string& custom : recipe.custom_formats) {
    const std::size_t colon = custom.find(':');
    styles += "<numFmt numFmtId=\"" + custom.substr(0, colon) + "\" formatCode=\"" +
              custom.substr(colon + 1) + "\"/>";
  }
  styles += "</numFmts><cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs><cellXfs>";
  for (const int id : recipe.cell_formats)
    styles += "<xf numFmtId=\"" + std::to_string(id) + "\"/>";
  styles += "</cellXfs></styleSheet>";
  std::string strings = "<sst " + ns + ">";
  for (const std::string& s : recipe.shared) strings += "<si><t>" + s + "</t></si>";
  strings += "</sst>";
  return {
      {"[Content_Types].xml", "<Types/>"},
      {"_rels/.rels", "<Relationships><Relationship Id=\"r1\" Type=\"" + rel +
                          "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", "<workbook " + ns + " xmlns:r=\"" + rel + "\"><workbookPr date1904=\"" +
                              (recipe.date1904 ? "1" : "0") + "\"/><sheets><sheet name=\"" +
                              recipe.sheet_name +
                              "\" sheetId=\"1\" r:id=\"s1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       "<Relationships><Relationship Id=\"s1\" Type=\"" + rel +
           "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"st\" Type=\"" + rel +
           "/styles\" Target=\"styles.xml\"/><Relationship Id=\"ss\" Type=\"" + rel +
           "/sharedStrings\" Target=\"/xl/sharedStrings.xml\"/></Relationships>"},
      {"xl/styles.xml", styles},
      {"xl/sharedStrings.xml", strings},
      {"xl/worksheets/sheet1.xml",
       "<worksheet " + ns + "><sheetData>" + recipe.sheet_data + "</sheetData></worksheet>"},
  };
}

inline std::string XlsxOf(const XlsxRecipe& recipe) { return ZipOf(XlsxParts(recipe)); }

// "A1=s:text B2=n:1.5 C3=d:44197 D1=b:1 E1=e:7 F1=blank", cells in order.
inline std::string DumpSheet(const spreadsheet::WorkbookSheet& sheet) {
  std::string out;
  for (const spreadsheet::WorkbookSheet::Cell& cell : sheet.cells()) {
    if (!out.empty()) out += ' ';
    std::string ref;
    for (std::uint32_t c = cell.col + 1; c > 0; c = (c - 1) / 26) {
      ref.insert(ref.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    out += ref + std::to_string(cell.row + 1) + '=';
    char number[64];
    std::snprintf(number, sizeof number, "%.15g", cell.number);
    switch (cell.type) {
      case spreadsheet::XlsCellType::kNumber:
        out += (cell.is_date ? "d:" : "n:") + std::string(number);
        break;
      case spreadsheet::XlsCellType::kString:
        out += "s:" + U8(sheet.StringOf(cell));
        break;
      case spreadsheet::XlsCellType::kBoolean:
        out += "b:" + std::to_string(cell.index);
        break;
      case spreadsheet::XlsCellType::kError:
        out += "e:" + std::to_string(cell.index);
        break;
      default:
        out += "blank";
    }
  }
  return out;
}

}  // namespace velmora::test
