#include "spreadsheet/workbook_sheet.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "foundation/text_format.h"
#include "spreadsheet/number_format.h"

namespace velmora::spreadsheet {
namespace {

bool Before(const WorkbookSheet::Cell& a, const WorkbookSheet::Cell& b) {
  return a.row != b.row ? a.row < b.row : a.col < b.col;
}

const std::u16string kNoText;

}  // namespace

WorkbookSheet::WorkbookSheet(std::u16string name,
                             std::shared_ptr<const std::vector<std::u16string>> shared_strings)
    : name_(std::move(name)), shared_(std::move(shared_strings)) {}

WorkbookSheet::Cell& WorkbookSheet::Add(std::uint32_t row, std::uint32_t col, XlsCellType type) {
  Cell cell;
  cell.row = row;
  cell.col = col;
  cell.type = type;
  if (!cells_.empty() && !Before(cells_.back(), cell)) sorted_ = false;
  cells_.push_back(cell);
  return cells_.back();
}

void WorkbookSheet::SetNumber(std::uint32_t row, std::uint32_t col, double value, bool is_date) {
  Cell& cell = Add(row, col, XlsCellType::kNumber);
  cell.number = value;
  cell.is_date = is_date;
}

void WorkbookSheet::SetSharedString(std::uint32_t row, std::uint32_t col, std::uint32_t index) {
  Add(row, col, XlsCellType::kString).index = index;
}

void WorkbookSheet::SetString(std::uint32_t row, std::uint32_t col, std::u16string text) {
  Cell& cell = Add(row, col, XlsCellType::kString);
  cell.own_string = true;
  cell.index = static_cast<std::uint32_t>(own_.size());
  own_.push_back(std::move(text));
}

void WorkbookSheet::SetBoolean(std::uint32_t row, std::uint32_t col, bool value) {
  Add(row, col, XlsCellType::kBoolean).index = value ? 1 : 0;
}

void WorkbookSheet::SetError(std::uint32_t row, std::uint32_t col, int code) {
  Add(row, col, XlsCellType::kError).index = static_cast<std::uint32_t>(code);
}

void WorkbookSheet::SetBlank(std::uint32_t row, std::uint32_t col) {
  Add(row, col, XlsCellType::kBlank);
}

void WorkbookSheet::Finish() {
  if (!sorted_) {
    // Stable, so that of two cells at one place the later one is last.
    std::stable_sort(cells_.begin(), cells_.end(), Before);
    auto kept = cells_.begin();
    for (auto it = cells_.begin(); it != cells_.end(); ++it) {
      if (std::next(it) != cells_.end() && !Before(*it, *std::next(it))) continue;
      *kept++ = *it;
    }
    cells_.erase(kept, cells_.end());
    sorted_ = true;
  }
  first_row_ = last_row_ = first_col_ = last_col_ = 0;
  row_starts_.clear();
  if (cells_.empty()) return;
  std::uint32_t min_col = std::numeric_limits<std::uint32_t>::max(), max_col = 0;
  for (const Cell& cell : cells_) {
    min_col = std::min(min_col, cell.col);
    max_col = std::max(max_col, cell.col);
  }
  first_row_ = static_cast<int>(cells_.front().row);
  last_row_ = static_cast<int>(cells_.back().row) + 1;
  first_col_ = static_cast<int>(min_col);
  last_col_ = static_cast<int>(max_col) + 1;
  row_starts_.assign(static_cast<std::size_t>(last_row_ - first_row_) + 1, 0);
  std::size_t at = 0;
  for (std::size_t r = 0; r + 1 < row_starts_.size(); ++r) {
    row_starts_[r] = static_cast<std::uint32_t>(at);
    while (at < cells_.size() && cells_[at].row == first_row_ + r) ++at;
  }
  row_starts_.back() = static_cast<std::uint32_t>(cells_.size());
}

std::span<const WorkbookSheet::Cell> WorkbookSheet::RowCells(int row) const {
  if (row < first_row_ || row >= last_row_) return {};
  const std::size_t r = static_cast<std::size_t>(row - first_row_);
  return std::span<const Cell>(cells_).subspan(row_starts_[r], row_starts_[r + 1] - row_starts_[r]);
}

const WorkbookSheet::Cell* WorkbookSheet::Find(int row, int col) const {
  if (col < 0) return nullptr;
  const std::span<const Cell> cells = RowCells(row);
  const auto it =
      std::lower_bound(cells.begin(), cells.end(), static_cast<std::uint32_t>(col),
                       [](const Cell& cell, std::uint32_t wanted) { return cell.col < wanted; });
  return it == cells.end() || it->col != static_cast<std::uint32_t>(col) ? nullptr : &*it;
}

int WorkbookSheet::RowEnd(int row) const {
  const std::span<const Cell> cells = RowCells(row);
  return cells.empty() ? first_col_ : static_cast<int>(cells.back().col) + 1;
}

XlsCellType WorkbookSheet::CellType(int row, int col) const {
  const Cell* cell = Find(row, col);
  return cell == nullptr ? XlsCellType::kEmpty : cell->type;
}

const std::u16string& WorkbookSheet::StringOf(const Cell& cell) const {
  if (cell.type != XlsCellType::kString) return kNoText;
  if (cell.own_string) return own_[cell.index];
  return shared_ && cell.index < shared_->size() ? (*shared_)[cell.index] : kNoText;
}

std::u16string WorkbookSheet::ReadStr(int row, int col) const {
  const Cell* cell = Find(row, col);
  if (cell == nullptr) return {};
  if (cell->type == XlsCellType::kNumber) return GeneralNumberText(cell->number);
  return StringOf(*cell);
}

double WorkbookSheet::ReadNum(int row, int col) const {
  const Cell* cell = Find(row, col);
  return cell != nullptr && cell->type == XlsCellType::kNumber ? cell->number : 0;
}

bool WorkbookSheet::ReadBool(int row, int col) const {
  const Cell* cell = Find(row, col);
  return cell != nullptr && cell->type == XlsCellType::kBoolean && cell->index != 0;
}

int WorkbookSheet::ReadError(int row, int col) const {
  const Cell* cell = Find(row, col);
  return cell != nullptr && cell->type == XlsCellType::kError ? static_cast<int>(cell->index) : 0;
}

bool WorkbookSheet::IsDate(int row, int col) const {
  const Cell* cell = Find(row, col);
  return cell != nullptr && cell->type == XlsCellType::kNumber && cell->is_date;
}

bool WorkbookSheet::WriteStr(int row, int col, std::u16string_view text, const SheetBounds& bounds,
                             std::string* error) {
  if (row < 0 || col < 0 || static_cast<std::uint32_t>(row) >= bounds.rows ||
      static_cast<std::uint32_t>(col) >= bounds.columns) {
    *error = FormatUtf8("cell [%d,%d] is outside the sheet's %u rows and %u columns", row, col,
                        bounds.rows, bounds.columns);
    return false;
  }
  if (text.size() > bounds.string_length) {
    *error = FormatUtf8("text of %u characters is longer than the cell limit of %u",
                        static_cast<unsigned>(text.size()), bounds.string_length);
    return false;
  }
  SetString(static_cast<std::uint32_t>(row), static_cast<std::uint32_t>(col), std::u16string(text));
  return true;
}

}  // namespace velmora::spreadsheet
