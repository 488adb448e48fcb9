// One worksheet held in memory: its name and its cells, each a number (with
// whether its format shows a date), a string, a boolean, an error code or a
// blank (formatted but without a value). The readers fill it while they
// stream a file; a sheet being written collects string cells.
//
// Rows and columns are 0-based. Cells are kept sparse, sorted by row and
// column once Finish has run; strings shared by many cells are held once
// by the workbook and referred to by index.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::spreadsheet {

enum class XlsCellType : std::uint8_t { kEmpty, kNumber, kString, kBoolean, kBlank, kError };

// What one sheet may hold (the limits of the format being written).
struct SheetBounds {
  std::uint32_t rows = 1048576;
  std::uint32_t columns = 16384;
  std::uint32_t string_length = 32767;  // UTF-16 units
};

class WorkbookSheet {
 public:
  struct Cell {
    std::uint32_t row = 0;
    std::uint32_t col = 0;
    XlsCellType type = XlsCellType::kEmpty;
    bool is_date = false;
    bool own_string = false;  // the string is the sheet's own, not a shared one
    std::uint32_t index = 0;  // string index, boolean or error code
    double number = 0;
  };

  explicit WorkbookSheet(std::u16string name,
                         std::shared_ptr<const std::vector<std::u16string>> shared_strings = {});

  const std::u16string& name() const { return name_; }

  // Filling, in any order; a later cell at the same place replaces an
  // earlier one. `index` must be below the shared strings' count.
  void SetNumber(std::uint32_t row, std::uint32_t col, double value, bool is_date);
  void SetSharedString(std::uint32_t row, std::uint32_t col, std::uint32_t index);
  void SetString(std::uint32_t row, std::uint32_t col, std::u16string text);
  void SetBoolean(std::uint32_t row, std::uint32_t col, bool value);
  void SetError(std::uint32_t row, std::uint32_t col, int code);
  void SetBlank(std::uint32_t row, std::uint32_t col);
  std::size_t size() const { return cells_.size(); }

  // Sorts the cells and settles the used range; run after filling and
  // before any query.
  void Finish();

  // The used range: rows first_row() .. last_row() - 1 and columns
  // first_col() .. last_col() - 1 of the cells held (blanks included);
  // all 0 for a sheet without cells.
  int first_row() const { return first_row_; }
  int last_row() const { return last_row_; }
  int first_col() const { return first_col_; }
  int last_col() const { return last_col_; }
  // One past the last column holding a cell in `row`; first_col() when the
  // row holds none.
  int RowEnd(int row) const;

  XlsCellType CellType(int row, int col) const;
  // The text of a string cell; of a number cell its text in the General
  // format (empty when it has none: a non-finite number); else empty.
  std::u16string ReadStr(int row, int col) const;
  double ReadNum(int row, int col) const;
  bool ReadBool(int row, int col) const;
  int ReadError(int row, int col) const;
  bool IsDate(int row, int col) const;

  // Writing: a string cell, refused (false, with the reason in `error`)
  // outside `bounds` or when longer than its string limit.
  bool WriteStr(int row, int col, std::u16string_view text, const SheetBounds& bounds,
                std::string* error);

  // The cells of one row, sorted by column; none outside the used range.
  std::span<const Cell> RowCells(int row) const;

  // The cells, sorted (after Finish), and the text of a string cell.
  const std::vector<Cell>& cells() const { return cells_; }
  const std::u16string& StringOf(const Cell& cell) const;

 private:
  const Cell* Find(int row, int col) const;
  Cell& Add(std::uint32_t row, std::uint32_t col, XlsCellType type);

  std::u16string name_;
  std::shared_ptr<const std::vector<std::u16string>> shared_;
  std::vector<std::u16string> own_;
  std::vector<Cell> cells_;
  // Where each row of the used range starts in cells_ (one more entry for
  // the end), so a lookup searches one row only.
  std::vector<std::uint32_t> row_starts_;
  bool sorted_ = true;
  int first_row_ = 0, last_row_ = 0, first_col_ = 0, last_col_ = 0;
};

}  // namespace velmora::spreadsheet
