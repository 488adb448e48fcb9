// Case tables kept as text files beside the tests that run them, so that a
// table reads as data and one runner serves all of its rows.
//
// A file holds cases, each opened by a line "[name]" and followed by lines
// "key: value" (a key may repeat). Values are one line each; \r \n \t \0 \\ and \xHH stand for
// their bytes, so that line breaks and any byte can be written. Blank lines
// and lines starting with '#' are skipped.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

struct FileCase {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;

  // The first value of `key`; a missing key fails the test and gives "".
  const std::string& operator[](const std::string& key) const;
  // The first value as a number; a missing key gives `fallback`.
  int Number(const std::string& key, int fallback = 0) const;
  bool Has(const std::string& key) const { return !All(key).empty(); }
  // Every value of `key`, in file order.
  std::vector<std::string> All(const std::string& key) const;
};

// The cases of tests/<folder>/data/<file>; a file that cannot be read or
// has a line outside the format fails the test.
std::vector<FileCase> ReadCases(const std::filesystem::path& relative);

}  // namespace velmora::test
