// Workbooks the library writes, as Python's openpyxl (.xlsx, .xlsm) or
// xlrd (.xls) reads them: readers that share no code with ours.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace velmora::test {

// A written workbook as Python's openpyxl or xlrd reads it: "[Sheet]" and
// one "A1=<kind>:<value>" line per non-empty cell (openpyxl's data types,
// xlrd's cell types: 1 text), or the Python error.
inline std::string PythonDump(const char* module, const std::filesystem::path& file) {
  static constexpr char kScript[] = R"(
import sys
kind, path, out = sys.argv[1], sys.argv[2], []
try:
    if kind == 'openpyxl':
        import openpyxl
        book = openpyxl.load_workbook(path)
        for sheet in book.worksheets:
            out.append('[' + sheet.title + ']')
            for row in sheet.iter_rows():
                out += ['%s=%s:%s' % (c.coordinate, c.data_type, c.value) for c in row if c.value is not None]
    else:
        import xlrd
        book = xlrd.open_workbook(path, ragged_rows=True)
        for sheet in book.sheets():
            out.append('[' + sheet.name + ']')
            for r in range(sheet.nrows):
                for c in range(sheet.row_len(r)):
                    cell = sheet.cell(r, c)
                    if cell.ctype != 0:
                        out.append('%s=%d:%s' % (xlrd.formula.cellname(r, c), cell.ctype, cell.value))
except Exception as e:
    out = ['error: %s: %s' % (type(e).__name__, e)]
sys.stdout.buffer.write('\n'.join(out).encode('utf-8'))
)";
  TempDir dir;
  const std::filesystem::path script = dir / "dump.py", output = dir / "out.txt";
  WriteFile(script, kScript);
  const std::string command = std::string("'") + VELMORA_TEST_PYTHON + "' '" + script.string() +
                              "' " + module + " '" + file.string() + "' > '" + output.string() +
                              "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return ReadFile(output);
}

}  // namespace velmora::test
