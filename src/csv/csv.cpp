#include "csv/csv.h"

#include <algorithm>

#include "csv/csv_space.h"

namespace velmora::csv {
namespace {

// The number of the parser's assertion line: no table to fill.
constexpr int kNoCellTable = 1;

constexpr char kParseLabel[] = "CCsv.ParseCells";

// Row flags, gathered while one source line is read.
constexpr unsigned kRowWhiteSpace = 1;  // blanks before a cell or after a quote
constexpr unsigned kRowSeparator = 2;
constexpr unsigned kRowValue = 4;  // a cell with a value, quoted or not
constexpr unsigned kRowQuoted = 8;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Google marks the default value of a multi-value cell with a leading "* "
// and joins values with " ::: "; the blanks belong to the markers, so such
// a cell must not be trimmed.
bool StartsWithGroupMarker(std::u16string_view cell) {
  if (cell.size() < 2) return false;
  std::size_t stars = 0;
  while (stars < cell.size() && cell[stars] == u'*') ++stars;
  return stars > 0 && stars < cell.size() && cell[stars] == u' ';
}

bool EndsWithMultiValueMarker(std::u16string_view cell) {
  if (cell.size() < 5 || cell.back() != u' ') return false;
  std::size_t i = cell.size() - 1;
  std::size_t colons = 0;
  while (i > 0 && cell[i - 1] == u':') {
    --i;
    ++colons;
  }
  return colons >= 3 && i > 0 && cell[i - 1] == u' ';
}

bool IsBlankCellText(std::u16string_view cell) {
  return std::all_of(cell.begin(), cell.end(), [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
  });
}

// One pass over the text; see CCsv::ParseCells.
class CellParser {
 public:
  CellParser(CLog& log, std::u16string_view text, CsvCellsTable& cells, std::int32_t flags,
             int max_rows, int skip_first_rows, std::u16string_view separators, char16_t quote,
             bool partial = false)
      : log_(log),
        text_(text),
        cells_(cells),
        flags_(flags),
        max_rows_(max_rows > 0 ? static_cast<std::size_t>(max_rows) : 0),
        skip_left_(std::max(skip_first_rows, 0)),
        separators_(separators.empty() ? std::u16string_view(u",") : separators),
        quote_(quote == 0 ? u'"' : quote),
        partial_(partial) {}

  // Whether parsing stopped at the row limit with text left after it.
  bool stopped_inside() const { return stopped_inside_; }

  void Run() {
    bool after_separator = false;
    while (p_ < text_.size() || after_separator) {
      after_separator = false;
      std::u16string cell = ReadCell();
      if (column_ == 0) {
        // Rows are usually as wide as the previous one: one allocation
        // instead of a growing vector that moves its cells several times.
        const std::size_t width = cells_.empty() ? 0 : cells_.back().size();
        cells_.emplace_back().reserve(width);
      }
      cells_.back().push_back(std::move(cell));
      if (p_ < text_.size() && IsSeparator(text_[p_])) {
        ++p_;
        ++column_;
        row_flags_ |= kRowSeparator;
        after_separator = true;
        continue;
      }
      if (!FinishRow()) {
        stopped_inside_ = p_ < text_.size();
        return;
      }
      if (p_ < text_.size()) {
        // At a line break: CR LF counts once.
        if (text_[p_] == u'\r' && p_ + 1 < text_.size() && text_[p_ + 1] == u'\n') ++p_;
        ++p_;
        ++source_row_;
        column_ = 0;
        row_flags_ = 0;
      }
    }
  }

 private:
  bool IsSeparator(char16_t c) const {
    if (separators_.size() == 1) return c == separators_.front();
    return separators_.find(c) != std::u16string_view::npos;
  }
  bool IsStop(char16_t c) const { return c == u'\r' || c == u'\n' || IsSeparator(c); }
  // Blanks around cells are skipped, except a blank that separates cells:
  // skipping it would join two cells or drop an empty one, shifting every
  // later cell of a tab-separated row into the wrong column.
  bool IsSkippable(char16_t c) const { return IsBlank(c) && !IsSeparator(c); }
  std::size_t FindStop(std::size_t from) const {
    while (from < text_.size() && !IsStop(text_[from])) ++from;
    return from;
  }

  std::u16string ReadCell() {
    const std::size_t start = p_;
    while (p_ < text_.size() && IsSkippable(text_[p_])) ++p_;
    if (p_ > start) row_flags_ |= kRowWhiteSpace;
    if (p_ == text_.size()) return {};
    const char16_t c = text_[p_];
    if (IsStop(c)) {
      if (IsSeparator(c)) row_flags_ |= kRowSeparator;
      return {};
    }
    if (c != quote_) {
      row_flags_ |= kRowValue;
      p_ = FindStop(p_);
      const std::u16string_view cell = text_.substr(start, p_ - start);
      if (StartsWithGroupMarker(cell) || EndsWithMultiValueMarker(cell)) {
        return std::u16string(cell);
      }
      return std::u16string(TrimCsvSpace(cell));
    }
    row_flags_ |= kRowValue | kRowQuoted;
    return ReadQuotedCell();
  }

  std::u16string ReadQuotedCell() {
    std::u16string cell;
    ++p_;  // the opening quote
    for (;;) {
      const std::size_t q = text_.find(quote_, p_);
      if (q == std::u16string_view::npos) {
        cell.append(text_.substr(p_));
        p_ = text_.size();
        // At the end of a text that goes on, the quote may close later.
        if (!partial_) log_.LogWarning(kParseLabel, 0, "missed end quote");
        return cell;
      }
      cell.append(text_.substr(p_, q - p_));
      p_ = q + 1;
      if (p_ < text_.size() && text_[p_] == quote_) {
        cell.push_back(quote_);
        ++p_;
        continue;
      }
      break;
    }
    const std::size_t after_quote = p_;
    while (p_ < text_.size() && IsSkippable(text_[p_])) ++p_;
    if (p_ < text_.size() && !IsStop(text_[p_])) {
      // Text after the closing quote, as in "ab" cd: kept rather than lost.
      log_.LogWarning(kParseLabel, 0, "other value after quoted value");
      const std::size_t end = FindStop(p_ + 1);
      cell.append(TrimCsvSpaceRight(text_.substr(after_quote, end - after_quote)));
      p_ = end;
    } else if (p_ > after_quote) {
      row_flags_ |= kRowWhiteSpace;
    }
    return cell;
  }

  bool IsBlankRow(const CsvRow& row) const {
    if (row_flags_ == 0) return (flags_ & csvpSkipEmptyLines) != 0;
    if (row_flags_ == kRowWhiteSpace) return (flags_ & csvpSkipWhiteSpaceLines) != 0;
    if ((flags_ & (csvpSkipEmptyCellsRows | csvpSkipWhiteSpaceRows)) == 0) return false;
    for (const std::u16string& cell : row) {
      const bool blank = cell.empty()
                             ? (flags_ & csvpSkipEmptyCellsRows) != 0
                             : (flags_ & csvpSkipWhiteSpaceRows) != 0 && IsBlankCellText(cell);
      if (!blank) return false;
    }
    return true;
  }

  // Drops the cells of a data row that have no header; without the force
  // flag only empty ones, so that no value is lost silently.
  void FitToHeader(CsvRow& row) const {
    const std::size_t width = cells_.front().size();
    const bool force = (flags_ & csvpHeaderRowForce) == csvpHeaderRowForce;
    for (std::size_t i = row.size(); i-- > width;) {
      if (!row[i].empty()) {
        if (!force) continue;
        log_.LogWarning(kParseLabel, 0, "discarding non empty cell[%d,%d] without header: \"%s\"",
                        source_row_, i, row[i]);
      }
      row.erase(row.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }

  // Decides the fate of the row just read; false when parsing is done.
  bool FinishRow() {
    CsvRow& row = cells_.back();
    if (IsBlankRow(row)) {
      cells_.pop_back();
    } else if (skip_left_ > 0) {
      --skip_left_;
      cells_.pop_back();
    } else if ((flags_ & csvpHeaderRow) != 0 && cells_.size() >= 2) {
      FitToHeader(row);
    }
    return max_rows_ == 0 || cells_.size() < max_rows_;
  }

  CLog& log_;
  std::u16string_view text_;
  CsvCellsTable& cells_;
  const std::int32_t flags_;
  const std::size_t max_rows_;
  int skip_left_;
  const std::u16string_view separators_;
  const char16_t quote_;
  const bool partial_;

  std::size_t p_ = 0;
  bool stopped_inside_ = false;
  std::size_t column_ = 0;
  std::size_t source_row_ = 0;
  unsigned row_flags_ = 0;
};

}  // namespace

CCsv::CCsv(CLog& log, const CCsvHeaders* headers) : log_(log), headers_(headers) {}

HRESULT CCsv::ParseCells(std::u16string_view text, CsvCellsTable* cells, std::int32_t flags,
                         int max_rows, int skip_first_rows, std::u16string_view separators,
                         char16_t quote) const {
  if (cells == nullptr) {
    log_.LogAssert(false, kParseLabel, kNoCellTable);
    return E_INVALIDARG;
  }
  cells->clear();
  if (text.empty()) return S_NO_CONTENT;
  CellParser(log_, text, *cells, flags, max_rows, skip_first_rows, separators, quote).Run();
  return S_OK;
}

bool CCsv::ParseLeadingRows(std::u16string_view text, bool partial, int max_rows,
                            std::u16string_view separator, CsvCellsTable* cells) const {
  cells->clear();
  if (text.empty()) return !partial;
  CellParser parser(log_, text, *cells, csvpDefault, max_rows, 0, separator, u'"', partial);
  parser.Run();
  return !partial || parser.stopped_inside();
}

std::u16string CCsv::AutoDetectSeparator(std::u16string_view text) const {
  static constexpr char16_t kCandidates[] = {u',', u';', u'\t'};
  if (text.empty()) return {};
  std::size_t candidate = 0;
  CsvCellsTable cells;
  for (;;) {
    const char16_t separator = kCandidates[candidate];
    ParseCells(text, &cells, csvpDefault, 2, 0, std::u16string_view(&separator, 1));
    const std::size_t width = MaxColumnCount(cells);
    if (width == 0) return {};
    if (width != 1) return std::u16string(1, separator);
    // One column: look in the first cell for the next candidate it holds.
    const std::u16string& first = cells.front().front();
    do {
      if (++candidate == std::size(kCandidates)) return {};
    } while (first.find(kCandidates[candidate]) == std::u16string::npos);
  }
}

}  // namespace velmora::csv
