#include "support/case_file.h"

#include <cctype>
#include <sstream>
#include <utility>

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace velmora::test {
namespace {

std::string Unescape(const std::string& text, const std::string& where) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (const char c = text[++i]) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case '0':
        out += '\0';
        break;
      case '\\':
        out += '\\';
        break;
      case 'x':
        if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
          out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
          i += 2;
          break;
        }
        [[fallthrough]];
      default:
        ADD_FAILURE() << where << ": unknown escape \\" << c;
    }
  }
  return out;
}

// The non-empty pieces of `line` between TABs.
std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  while (start < line.size()) {
    std::size_t end = line.find('\t', start);
    if (end == std::string::npos) end = line.size();
    if (end > start) cells.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return cells;
}

}  // namespace

const std::string& FileCase::operator[](const std::string& key) const {
  for (const auto& [k, value] : values) {
    if (k == key) return value;
  }
  ADD_FAILURE() << name << ": no " << key;
  static const std::string kNone;
  return kNone;
}

int FileCase::Number(const std::string& key, int fallback) const {
  for (const auto& [k, value] : values) {
    if (k == key) return std::stoi(value);
  }
  return fallback;
}

std::vector<std::string> FileCase::All(const std::string& key) const {
  std::vector<std::string> all;
  for (const auto& [k, value] : values) {
    if (k == key) all.push_back(value);
  }
  return all;
}

std::vector<FileCase> ReadCases(const std::filesystem::path& relative) {
  const std::filesystem::path path = SourceDir() / "tests" / relative;
  std::istringstream in(ReadFile(path));
  std::vector<FileCase> cases;
  std::vector<std::string> columns;  // of the open table; empty in block form
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string where = relative.string() + ":" + std::to_string(number);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '@') {
      columns = Cells(line.substr(1));
      for (std::string& column : columns) {
        column.erase(0, column.find_first_not_of(' '));
        column.erase(column.find_last_not_of(' ') + 1);
      }
      if (columns.empty()) ADD_FAILURE() << where << ": a table without columns";
      continue;
    }
    if (line.front() == '[' && line.back() == ']') {
      columns.clear();
      cases.push_back({line.substr(1, line.size() - 2), {}});
      continue;
    }
    if (!columns.empty()) {
      const std::vector<std::string> cells = Cells(line);
      if (cells.size() != columns.size()) {
        ADD_FAILURE() << where << ": " << cells.size() << " cells for " << columns.size()
                      << " columns: " << line;
        continue;
      }
      FileCase row{where, {}};
      for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] == "-") continue;
        const std::string value = cells[i] == "\"\"" ? "" : Unescape(cells[i], where);
        if (columns[i] == "[name]") {
          row.name = value;
        } else {
          row.values.emplace_back(columns[i], value);
        }
      }
      cases.push_back(std::move(row));
      continue;
    }
    const std::size_t colon = line.find(':');
    if (cases.empty() || colon == std::string::npos) {
      ADD_FAILURE() << where << ": not a case line: " << line;
      continue;
    }
    // One space after the colon separates; any further ones belong to the value.
    const std::size_t start = colon + 1 + (line.compare(colon + 1, 1, " ") == 0);
    cases.back().values.emplace_back(line.substr(0, colon), Unescape(line.substr(start), where));
  }
  EXPECT_FALSE(cases.empty()) << path;
  return cases;
}

}  // namespace velmora::test
