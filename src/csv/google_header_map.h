// Mapping CSV header rows between dialects: which destination column each
// source column fills (MapCsvHeaders), and where each source column goes in
// a Google table (MapCsvHeaders2Google). Plain Google names ("Phone 'Work'
// 2") are resolved through one decision table shared by both directions
// (docs/csv_google.md shows it).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <velmora/status.h>

#include "csv/csv_headers.h"

namespace velmora::csv {

// For each source column the destination column it fills (-1: none of its
// own) and, for the columns left over, the destination "Notes" column they
// are appended to (-1: none). E_INVALIDARG for an empty list;
// E_GENERIC_FAILURE, logged, for a Google source or destination that is
// not plain.
HRESULT MapCsvHeaders(const CCsvHeaders& headers, std::span<const std::u16string> source,
                      std::span<const std::u16string> destination,
                      std::vector<std::int32_t>* src2dst,
                      std::vector<std::int32_t>* src_append2dst);

// Where each source column goes in a Google table.
struct GoogleDestination {
  std::int32_t code = 0;  // 0: nowhere; grouped codes carry their instance
  std::u16string type;    // the type word of the group instance
  std::int32_t index4type = 0;
  bool append = false;  // the value is appended to the column `code` names
};

// E_INVALIDARG for an empty list; E_GENERIC_FAILURE, logged, for a Google
// source that is not plain.
HRESULT MapCsvHeaders2Google(const CCsvHeaders& headers, std::span<const std::u16string> source,
                             std::int32_t flags, std::vector<GoogleDestination>* destination);

}  // namespace velmora::csv
