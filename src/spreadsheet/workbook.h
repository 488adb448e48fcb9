// A workbook: the one interface through which the CSV engine reads and
// writes spreadsheet files. The kind follows the file's extension; one
// backend per format stands behind it:
//
//   .xlsx, .xlsm   read: minizip and expat (xlsx_reader.h)
//                  write: libxlsxwriter (xlsx_writer.h)
//   .xlsb          read: BIFF12 records from the zip package (xlsb_reader.h)
//                  write: refused
//   .xls           read: freexl, with our own pass over the records freexl
//                  leaves out (xls_reader.h)
//                  write: BIFF8 records in a libgsf compound file
//                  (xls_writer.h)
//
// A failed call leaves a message for ErrorMessage() (narrow text, in
// English), which callers pass on to their users and logs.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "spreadsheet/excel_date.h"
#include "spreadsheet/workbook_content.h"
#include "spreadsheet/workbook_limits.h"
#include "spreadsheet/workbook_sheet.h"

namespace velmora::spreadsheet {

// The kinds of workbook by extension; the values are those of the file
// kinds the converter reports.
enum class WorkbookKind { kNone = 0, kXls = 1, kXlsx = 2, kXlsm = 3, kXlsb = 4 };

// By the text after the last '.', ignoring ASCII case; kNone for any other.
WorkbookKind WorkbookKindOf(std::u16string_view file_name);
WorkbookKind WorkbookKindOfFile(const std::filesystem::path& file);

// The message for saving a .xlsb workbook, which is refused.
inline constexpr char kXlsbWriteRefused[] = "Writing .xlsb is not supported; save as .xlsx";

class Workbook {
 public:
  explicit Workbook(WorkbookKind kind, const WorkbookLimits& limits = {});
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  WorkbookKind kind() const { return kind_; }

  // Reads every sheet of the file. False (with the message) when the file
  // cannot be read, is damaged or reaches a limit; the workbook then holds
  // no sheets.
  bool Load(const std::filesystem::path& file);
  // Reads only the sheet at `index`, which becomes sheet 0. A workbook
  // without sheets loads as such; an index past its sheets fails.
  bool LoadSheet(const std::filesystem::path& file, int index);
  // The same from a buffer (zip kinds only: .xls needs a file).
  bool LoadBytes(std::string_view bytes, int index = kAllSheets);

  int SheetCount() const { return static_cast<int>(content_.sheets.size()); }
  // Null outside 0 .. SheetCount() - 1.
  WorkbookSheet* GetSheet(int index);

  const std::string& ErrorMessage() const { return error_; }

  DateSystem date_system() const { return content_.date_system; }
  // Unpacks a date number in the workbook's date system; false when the
  // number is no date.
  bool DateUnpack(double value, DateParts* parts) const;

  // Writing. A new sheet, or null (with the message) for a name the format
  // refuses (empty, too long, with []:*?/\, or taken).
  WorkbookSheet* AddSheet(std::u16string_view name);
  // Writes a string cell; false (with the message) outside the format's
  // rows and columns or for a text longer than its cells hold.
  bool WriteStr(WorkbookSheet* sheet, int row, int col, std::u16string_view text);
  // Writes the sheets added to `file` through a temporary file and a
  // rename, so an existing file is replaced whole or not at all. .xlsb is
  // refused with kXlsbWriteRefused.
  bool Save(const std::filesystem::path& file);

 private:
  bool Fail(std::string message);
  bool LoadFrom(const std::filesystem::path* file, std::string_view bytes, int index);

  WorkbookKind kind_;
  WorkbookLimits limits_;
  WorkbookContent content_;
  std::string error_;
};

}  // namespace velmora::spreadsheet
