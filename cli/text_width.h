// Column widths of UTF-8 text on a terminal, for the aligned tables.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

// The cells `text` takes: wide East Asian characters take two, combining
// marks none.
std::size_t DisplayWidth(std::string_view text);
// `text` cut to at most `width` cells, ending in "…" when it was cut;
// control characters become spaces.
std::string FitToWidth(std::string_view text, std::size_t width);
// The same keeping the end of `text` ("…ample/contacts.vcf"), for paths.
std::string FitToWidthFromEnd(std::string_view text, std::size_t width);
// `text` followed by spaces up to `width` cells.
std::string PadToWidth(std::string_view text, std::size_t width);

// Prints rows of cells on standard output, each column as wide as its
// widest cell, two spaces apart, without trailing blanks.
void PrintColumns(const std::vector<std::vector<std::string>>& rows);

}  // namespace velmora::cli
