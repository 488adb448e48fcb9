// One column of the CSV header catalogue: its header code, value type, the
// dialects that use it and its names in each of them.
//
// Plain columns have codes 1 to 128. Google's numbered columns ("E-mail 2 -
// Value") are grouped: bits 24 to 31 of the code hold the group, bits 8 to 23
// the 1-based instance, bits 0 to 7 the group property. A catalogue entry
// keeps the instance bits zero; a column's code carries them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <velmora/enums.h>

namespace velmora::csv {

// The dialect bits of CCsvHeader::Dialects. Outlook365 v1 is bit 1 and v2
// bit 4: v2 came later.
inline constexpr std::uint32_t kCsvDialectOutlook = 1;
inline constexpr std::uint32_t kCsvDialectOutlook365v1 = 2;
inline constexpr std::uint32_t kCsvDialectGoogle = 4;
inline constexpr std::uint32_t kCsvDialectNokia = 8;
inline constexpr std::uint32_t kCsvDialectOutlook365v2 = 16;
// Google's later layout; it shares most columns with the earlier one under
// other names.
inline constexpr std::uint32_t kCsvDialectGoogle2 = 32;

// The instance bits of a grouped code, and the widest plain code.
inline constexpr std::uint32_t kCsvHeaderIndexMask = 0x00FFFF00;
inline constexpr std::uint32_t kCsvHeaderMaxPlain = 0x00FFFFFF;

// The catalogue key of a column code: the code without its instance bits.
constexpr std::uint32_t CsvHeaderKey(std::uint32_t code) { return code & ~kCsvHeaderIndexMask; }
// The instance number carried in a grouped code.
constexpr std::uint32_t CsvHeaderIndex(std::uint32_t code) {
  return (code & kCsvHeaderIndexMask) >> 8;
}
// A grouped code with its instance bits set to `index` (low 16 bits kept).
constexpr std::uint32_t CsvHeaderWithIndex(std::uint32_t code, std::uint32_t index) {
  return CsvHeaderKey(code) | ((index << 8) & kCsvHeaderIndexMask);
}

struct CCsvHeader;
using CsvHeaderList = std::vector<const CCsvHeader*>;

struct CCsvHeader {
  std::uint32_t Code = 0;
  ECsvHeaderType Type = cftUnknown;
  std::uint32_t Dialects = 0;  // kCsvDialect* bits
  // Grouped entries: the name with "%d" for the instance ("E-mail %d - Type").
  std::u16string NameFormat;
  // The Outlook (English) name; for grouped entries the format with " * "
  // for the instance ("E-mail * - Type").
  std::u16string Name;
  std::u16string NameAlt;     // a second spelling accepted on import
  std::u16string NameGoogle;  // when Google's name differs from Name
  std::u16string NameNokia;   // when Nokia's name differs from Name
  // The name in Google's later layout when it differs from Name; for
  // grouped entries in the form of Name ("E-mail * - Label").
  std::u16string NameGoogle2;
  std::u16string GroupName;      // grouped: "E-mail"
  std::u16string GroupPropName;  // grouped: "Type", "Value", "Street" ...
  // Grouped: every catalogue entry of the same group, in catalogue order.
  const CsvHeaderList* Group = nullptr;

  bool IsGroupped() const { return Code > kCsvHeaderMaxPlain; }
  std::uint32_t GroupCode() const { return Code >> 24; }
  std::int32_t GroupPropCode() const {
    return IsGroupped() ? static_cast<std::int32_t>(Code & 0xFF) : csvgpNone;
  }
};

}  // namespace velmora::csv
