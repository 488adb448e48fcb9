// Numbers the instances of Google's grouped columns per type word: the
// second "Home" e-mail of a contact is index 1 of type "Home", whatever its
// group instance. One builder serves one contact (one row, one header row).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "foundation/log.h"

namespace velmora::csv {

class CCsvHeaderIndexBuilder {
 public:
  explicit CCsvHeaderIndexBuilder(CLog& log) : log_(log) {}

  // The 0-based index of group instance `instance` of `code`'s group among
  // the instances carrying `type`. An address or organisation instance
  // spans several columns, so each of its columns gets the index its first
  // one got (`instance` must be 1 or more there); for the other groups each
  // call counts a new instance. `group_instance` (may be null) receives the
  // 1-based number of that instance among all instances of the group, the
  // number a Google column written for it carries.
  int new_Index4Type(std::uint32_t code, std::u16string_view type, int instance,
                     int* group_instance = nullptr);

 private:
  struct Remembered {
    int index;
    int group_instance;
  };

  CLog& log_;
  std::unordered_map<std::u16string, int> counters_;           // "%d.*" and "%d.*.%s"
  std::unordered_map<std::u16string, Remembered> remembered_;  // "%d.%d.%s"
};

}  // namespace velmora::csv
