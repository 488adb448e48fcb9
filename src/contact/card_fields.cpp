#include "contact/card_fields.h"

#include <iterator>

namespace velmora::contact {
namespace {

constexpr std::uint32_t kTextList = fkText | fkStructured;

// The vocabulary in table order. X-PHONETIC-MIDDLE-NAME (57) is listed before
// X-PHONETIC-LAST-NAME (56); look-ups by code scan in this order.
constexpr PropertyDef kRows[] = {
    {0, "ADR", kTextList, 0},
    {2, "BDAY", fkDate, 2},
    {3, "BEGIN", fkStructural, 3},
    {4, "CATEGORIES", kTextList, 4},
    {5, "CLASS", fkEnumerated, 5},
    {6, "EMAIL", fkText, 6},
    {7, "END", fkStructural, 7},
    {8, "FBURL", fkUri, 8},
    {9, "FN", fkText, 9},
    {10, "IMPP", fkText, 10},
    {11, "N", kTextList, 11},
    {12, "NICKNAME", fkText, 12},
    {13, "X-MAIDENNAME", fkText, 13},
    {14, "NOTE", fkText, 14},
    {15, "ORG", kTextList, 15},
    {16, "PHOTO", fkUri | fkBinary, 16},
    {17, "PRODID", fkStructural | fkIdentifier, 17},
    {18, "REV", fkDate, 18},
    {19, "ROLE", fkText, 19},
    {20, "TEL", fkText, 20},
    {21, "TITLE", fkText, 21},
    {22, "UID", fkUniqueId, 22},
    {23, "URL", fkUri, 23},
    {24, "VERSION", fkStructural, 24},
    {25, "X-ABDATE", fkDate, 25},
    {26, "X-ABLABEL", fkText, 26},
    {27, "X-ABRELATEDNAMES", fkText, 27},
    {28, "X-AIM", fkText, 10},
    {29, "X-GADUGADU", fkText, 10},
    {30, "X-GOOGLE-TALK", fkText, 10},
    {31, "X-GTALK", fkText, 10},
    {32, "X-ICQ", fkText, 10},
    {33, "X-JABBER", fkText, 10},
    {34, "X-MS-ANNIVERSARY", fkDate, 25},
    {35, "X-MS-ASSISTANT", fkText, 27},
    {36, "X-MS-CHILD", kTextList, 36},
    {37, "X-MS-IMADDRESS", fkText, 10},
    {38, "X-MS-INTERESTS", fkText, 38},
    {39, "X-MS-MANAGER", fkText, 27},
    {40, "X-MS-OL-DEFAULT-POSTAL-ADDRESS", fkEnumerated, 40},
    {41, "X-MS-SPOUSE", fkText, 27},
    {42, "X-MS-TEL", fkText, 20},
    {43, "X-MS-TEXT", fkText, 43},
    {44, "X-MSN", fkText, 10},
    {45, "X-OUTL-ANNIVERSARY", fkDate, 25},
    {46, "X-OUTL-ASSISTANTNAME", fkText, 27},
    {47, "X-OUTL-CATEGORIES", kTextList, 4},
    {48, "X-OUTL-CLASS", fkEnumerated, 5},
    {49, "X-OUTL-IFBADDRESS", fkUri, 8},
    {50, "X-OUTL-IMADDRESS", fkText, 10},
    {51, "X-OUTL-MANAGERNAME", fkText, 27},
    {52, "X-OUTL-NMALIAS", fkText, 52},
    {53, "X-OUTL-NMSERVER", fkUri, 53},
    {54, "X-OUTL-SPOUSE", fkText, 27},
    {55, "X-PHONETIC-FIRST-NAME", fkText, 55},
    {57, "X-PHONETIC-MIDDLE-NAME", fkText, 57},
    {56, "X-PHONETIC-LAST-NAME", fkText, 56},
    {58, "X-QQ", fkText, 10},
    {59, "X-SKYPE-SEX", fkEnumerated, 63},
    {60, "X-SKYPE", fkText, 10},
    {61, "X-SKYPE-USERNAME", fkText, 10},
    {62, "X-SOCIALPROFILE", fkText, 62},
    {63, "X-WAB-GENDER", fkEnumerated, 63},
    {64, "X-YAHOO", fkText, 10},
    {65, "X-ZORVA-OL-ACCOUNT", fkText, 65},
    {66, "X-ZORVA-OL-BILLING-INFORMATION", fkText, 66},
    {67, "X-ZORVA-OL-GOVERNMENT-ID-NUMBER", fkText, 67},
    {68, "X-ZORVA-OL-KEYWORD", fkText, 68},
    {69, "X-ZORVA-OL-LOCATION", fkText, 69},
    {70, "X-ZORVA-OL-LOCATION-EX", fkText, 70},
    {71, "X-ZORVA-OL-MILEAGE", fkText, 71},
    {72, "X-ZORVA-OL-ORGANIZATIONAL-ID-NUMBER", fkText, 72},
    {73, "X-ZORVA-OL-PREFERRED-BY", fkText, 73},
    {74, "X-ZORVA-OL-SCHOOL", fkText, 74},
    {75, "X-ZORVA-OL-YOMI-COMPANY", fkText, 75},
    {76, "X-ZORVA-CUSTOM-FIELD", fkText, 76},
};

constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The longest name in the table; longer names cannot match.
constexpr std::size_t kMaxNameLength = 64;

// ASCII case-insensitive equality of a table name and a name read.
bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace

std::size_t CCardFields::SlotOf(std::string_view name) {
  // Length, first, middle and last letter, case folded: enough to spread the
  // table's names (many share "X-" and their ending) over the slots.
  const std::size_t n = name.size();
  std::size_t h = n;
  h = h * 31 + static_cast<unsigned char>(AsciiUpper(name[0]));
  h = h * 31 + static_cast<unsigned char>(AsciiUpper(name[n / 2]));
  h = h * 31 + static_cast<unsigned char>(AsciiUpper(name[n - 1]));
  return h & (kSlotCount - 1);
}

CCardFields::CCardFields() {
  static_assert(std::size(kRows) < kSlotCount / 2, "keep the name table sparse");
  for (const PropertyDef& row : kRows) {
    std::size_t slot = SlotOf(row.name);
    while (by_name_[slot] != nullptr) slot = (slot + 1) & (kSlotCount - 1);
    by_name_[slot] = &row;
  }
}

const CCardFields& CCardFields::Get() {
  static const CCardFields fields;
  return fields;
}

std::span<const PropertyDef> CCardFields::rows() const {
  return std::span<const PropertyDef>(kRows);
}

const PropertyDef* CCardFields::FindByName(std::string_view name) const {
  if (name.empty() || name.size() > kMaxNameLength) return nullptr;
  for (std::size_t slot = SlotOf(name);; slot = (slot + 1) & (kSlotCount - 1)) {
    const PropertyDef* row = by_name_[slot];
    if (row == nullptr) return nullptr;
    if (EqualsNoCase(row->name, name)) return row;
  }
}

const PropertyDef* CCardFields::FindByName(std::u16string_view name) const {
  // Property names are ASCII: any other character cannot match.
  if (name.size() > kMaxNameLength) return nullptr;
  char narrow[kMaxNameLength];
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] >= 0x80) return nullptr;
    narrow[i] = static_cast<char>(name[i]);
  }
  return FindByName(std::string_view(narrow, name.size()));
}

const PropertyDef* CCardFields::FindByCode(std::int32_t code) const {
  for (const PropertyDef& row : kRows) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

void CCardFields::BuildFieldFilter(CLog& log, FieldFilter& filter, bool add_related,
                                   std::span<const std::int32_t> codes) const {
  filter.clear();
  for (std::int32_t code : codes) {
    if (code == prop::kEndOfList) break;
    const PropertyDef* row = FindByCode(code);
    if (row == nullptr) {
      log.LogError("CCardFields.BuildFieldFilter", E_INVALIDARG, "No field with code = %d", code);
      continue;
    }
    filter.insert(row->code);
    log.LogDetail("BuildFieldFilter", "Add %s", row->name);
    if (add_related) BuildFieldFilter_AddRelated(log, filter, *row);
  }
}

void CCardFields::BuildFieldFilter(CLog& log, FieldFilter& filter, bool add_related,
                                   const std::int32_t* codes) const {
  if (codes == nullptr) {
    filter.clear();
    log.LogAssert(false, "CCardFields.BuildFieldFilter", __LINE__);
    return;
  }
  std::size_t count = 0;
  while (codes[count] != prop::kEndOfList) ++count;
  BuildFieldFilter(log, filter, add_related, std::span<const std::int32_t>(codes, count));
}

void CCardFields::BuildFieldFilter_AddRelated(CLog& log, FieldFilter& filter,
                                              const PropertyDef& row) const {
  // Walk up to the family head, adding each head on the way.
  const PropertyDef* current = &row;
  while (current->family != current->code) {
    if (filter.count(current->family) != 0) return;
    const PropertyDef* super = FindByCode(current->family);
    if (super == nullptr) {
      log.LogError("CCardFields.BuildFieldFilter_AddRelated", E_INVALIDARG,
                   "No field with code = %d", current->family);
      return;
    }
    filter.insert(super->code);
    log.LogDetail("BuildFieldFilter_AddRelated", "AddSuper %s", super->name);
    current = super;
  }
  // Then the head's other members.
  for (const PropertyDef& member : kRows) {
    if (member.family != current->code || member.code == current->code) continue;
    if (filter.count(member.code) != 0) continue;
    filter.insert(member.code);
    log.LogDetail("BuildFieldFilter_AddRelated", "AddRelated %s", member.name);
  }
}

void BuildPreviewFilter(CLog& log, FieldFilter& filter) {
  CCardFields::Get().BuildFieldFilter(log, filter, true, kPreviewFilterCodes);
}

}  // namespace velmora::contact
