// What a workbook being read may cost, so that a hostile or damaged file
// fails with a message instead of exhausting memory or time. The defaults
// leave room for any address book (a million rows of a hundred columns
// stays well inside them).
#pragma once

#include <cstdint>

namespace velmora::spreadsheet {

struct WorkbookLimits {
  // Bytes one part of a zip package may inflate to, and all parts read
  // for one load together.
  std::uint64_t max_part_bytes = std::uint64_t{1} << 30;
  std::uint64_t max_total_bytes = std::uint64_t{2} << 30;
  // Inflated bytes per compressed byte. Spreadsheet XML compresses about
  // 10 to 1, and even very repetitive sheets stay below 200 to 1; a part
  // of one repeated byte (a zip bomb) reaches 1000 to 1. The first
  // `ratio_free_bytes` of a part are not held to it.
  std::uint32_t max_ratio = 400;
  std::uint64_t ratio_free_bytes = std::uint64_t{1} << 20;
  // Entries of a zip package, and bytes of a binary workbook stream.
  std::uint32_t max_zip_entries = 65536;
  std::uint64_t max_stream_bytes = std::uint64_t{1} << 30;
  // Cells of all sheets read in one load, shared strings, sheets, and the
  // length of one string in UTF-16 units.
  std::uint64_t max_cells = 50'000'000;
  std::uint32_t max_strings = 20'000'000;
  std::uint32_t max_sheets = 10000;
  std::uint32_t max_string_length = 1u << 20;
};

}  // namespace velmora::spreadsheet
