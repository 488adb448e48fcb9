#include "text_width.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "utf8_decode.h"

namespace velmora::cli {
namespace {

// Decodes the code point at `text[*i]` and advances; an invalid byte counts
// as one replacement character.
std::uint32_t NextCodePoint(std::string_view text, std::size_t* i) {
  const Utf8CodePoint code = DecodeUtf8At(text, *i);
  *i += code.length;
  return code.value;
}

int CellsOf(std::uint32_t code) {
  if ((code >= 0x0300 && code <= 0x036F) || (code >= 0x200B && code <= 0x200F) ||
      (code >= 0xFE00 && code <= 0xFE0F)) {
    return 0;
  }
  if ((code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
      (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
      (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
      (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x1F300 && code <= 0x1F64F) ||
      (code >= 0x20000 && code <= 0x3FFFD)) {
    return 2;
  }
  return 1;
}

}  // namespace

std::size_t DisplayWidth(std::string_view text) {
  std::size_t cells = 0;
  for (std::size_t i = 0; i < text.size();) cells += CellsOf(NextCodePoint(text, &i));
  return cells;
}

std::string FitToWidth(std::string_view text, std::size_t width) {
  std::string out;
  std::size_t cells = 0;
  const std::size_t full = DisplayWidth(text);
  const std::size_t room = full > width ? (width > 0 ? width - 1 : 0) : width;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const std::uint32_t code = NextCodePoint(text, &i);
    const int need = CellsOf(code);
    if (cells + need > room) break;
    cells += need;
    if (code < 0x20 || code == 0x7F) {
      out += ' ';
    } else {
      out.append(text.substr(start, i - start));
    }
  }
  if (full > width && width > 0) out += "\xE2\x80\xA6";  // …
  return out;
}

std::string FitToWidthFromEnd(std::string_view text, std::size_t width) {
  if (DisplayWidth(text) <= width) return FitToWidth(text, width);
  // Drop whole code points from the front until the rest and "…" fit.
  std::size_t start = 0;
  while (start < text.size() && DisplayWidth(text.substr(start)) + 1 > width) {
    NextCodePoint(text, &start);
  }
  return "\xE2\x80\xA6" + FitToWidth(text.substr(start), width);
}

std::string PadToWidth(std::string_view text, std::size_t width) {
  std::string out(text);
  const std::size_t cells = DisplayWidth(text);
  if (cells < width) out.append(width - cells, ' ');
  return out;
}

void PrintColumns(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& cells : rows) {
    if (widths.size() < cells.size()) widths.resize(cells.size(), 0);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(cells[c]));
    }
  }
  for (const auto& cells : rows) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      line += c + 1 == cells.size() ? cells[c] : PadToWidth(cells[c], widths[c]) + "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    line += '\n';
    std::fputs(line.c_str(), stdout);
  }
}

}  // namespace velmora::cli
