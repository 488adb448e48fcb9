// Case tables kept as text files beside the tests that run them, so that a
// table reads as data and one runner serves all of its rows.
//
// A file holds cases in two forms. Block form: a line "[name]" opens a case
// and lines "key: value" follow (a key may repeat). Table form, one case a
// line: a line "@ key1<TAB>key2..." opens a table, and each following line up
// to the next "[name]" or "@" line is a case whose cells, separated by one or
// more TABs, are the values of those keys. A cell "-" leaves its key out and a
// cell "" is an empty value (write \x2D or \x22\x22 for those texts, and a
// first cell starting with '#', '[' or '@' with that character as \xHH); a key
// heading several columns gives several values. A column headed [name] names
// the cases, otherwise a case is named by its file and line
// ("vcard/data/value_texts.txt:42"). A row with another number of cells than
// the header fails the test.
//
// Values are one line each; \r \n \t \0 \\ and \xHH stand for their bytes, so
// that line breaks, TABs and any byte can be written. Blank lines and lines
// starting with '#' are skipped in both forms.
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
