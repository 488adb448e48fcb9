// Plain names of Google's grouped columns: one column per group, type word,
// instance of that type and property, such as "E-mail 'Home'" or
// "Address 'Work' 2 Street". The grammar: the group name; optionally a
// space and the type word in single quotes; optionally a space and the
// 1-based instance number; optionally a space and the property, left out
// when it is "Value". The "Type" property has no plain column: its words
// name the others.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "csv/csv_headers.h"

namespace velmora::csv {

// The plain name of grouped column `code` (its value or another non-Type
// property) for `type` and the 0-based `index` of that type: the number is
// written when it is 1 or more, or always with `force_first_index`. An
// unsuitable code or a negative index is logged as an assertion and gives
// an empty name.
std::u16string BuildGooglePlainName(const CCsvHeaders& headers, std::uint32_t code,
                                    std::u16string_view type, int index, bool force_first_index);

struct GooglePlainName {
  const CCsvHeader* value = nullptr;  // the entry of the named property
  // The group's Type entry; for IM its Service entry, since the quoted word
  // of an IM column is the service.
  const CCsvHeader* type_entry = nullptr;
  std::u16string type;
  int index = 1;  // 1-based; 1 when none is written
};

// Reads a plain name back; false when it does not follow the grammar or
// names no property of a known group.
bool ParseGooglePlainName(const CCsvHeaders& headers, std::u16string_view name,
                          GooglePlainName* parsed);

}  // namespace velmora::csv
