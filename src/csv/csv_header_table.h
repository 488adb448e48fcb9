// The built-in CSV header tables: every column the converter reads or
// writes, the column order of each dialect, and the type words offered for
// Google's grouped columns. Data only; CCsvHeaders builds its indexes from
// these.
#pragma once

#include <cstdint>
#include <span>

#include <velmora/enums.h>

namespace velmora::csv {

struct CsvPlainHeaderRow {
  std::uint32_t code;
  const char16_t* name;
  const char16_t* name_google;  // null: no name of its own
  const char16_t* name_nokia;
  const char16_t* name_alt;
  ECsvHeaderType type;
  std::uint32_t dialects;  // kCsvDialect* bits
};

struct CsvGroupedHeaderRow {
  std::uint32_t code;  // instance bits zero
  const char16_t* name_format;
  ECsvHeaderType type;
};

struct CsvGoogleListRow {
  std::uint32_t code;
  bool is_default;  // also in Google's short default list
};

// A fixed column of Google's later layout: the entry it shares, its name
// there, and whether detection needs it.
struct CsvGoogle2ListRow {
  std::uint32_t code;
  const char16_t* name;
  bool is_default;
};

// In catalogue order.
std::span<const CsvPlainHeaderRow> CsvPlainHeaderRows();
std::span<const CsvGroupedHeaderRow> CsvGroupedHeaderRows();

// Column orders; Outlook's is the catalogue order of its entries.
std::span<const std::uint32_t> CsvOutlook365v1Codes();
std::span<const std::uint32_t> CsvOutlook365v2Codes();
std::span<const std::uint32_t> CsvNokiaCodes();
std::span<const CsvGoogleListRow> CsvGooglePlainCodes();
// Google's later layout: its fixed columns in order, and its groups
// (ECsvHeaderGroup) in the order their numbered blocks follow them.
std::span<const CsvGoogle2ListRow> CsvGoogle2PlainCodes();
std::span<const std::uint32_t> CsvGoogle2Groups();

// The type words of a group (ECsvHeaderGroup); empty for groups without
// any and for codes outside 1 to 12.
std::span<const char16_t* const> CsvGroupKnownTypes(std::uint32_t group);

}  // namespace velmora::csv
