#include "csv/google_header_map.h"

#include <algorithm>
#include <set>

#include <velmora/enums.h>

#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_header_index_builder.h"
#include "csv/google_plain_name.h"
#include "foundation/text_util.h"

namespace velmora::csv {
namespace {

constexpr char kMapLabel[] = "CCsv.MapCsvHeaders";
constexpr char kResolveLabel[] = "CCsv.MapCsvHeaders_ResolvePlained";
constexpr char kToGoogleLabel[] = "CCsv.MapCsvHeaders2Google";
constexpr std::uint32_t kNotes = 78;

// Where a plain (Outlook, Outlook365, Nokia) column lives in Google's
// layout. Either a plain Google column (`plain`), or a group property with
// a type word; `nth` tells the columns of one group, property and type
// apart (Business Phone is the first "Work" phone, Business Phone 2 the
// second); `block` is the address or organisation instance all the columns
// of one Outlook address share. `append` names the column whose Google
// destination this one's value is appended to.
struct MapRow {
  std::uint32_t code;
  std::uint32_t plain;
  std::uint32_t group;
  std::int32_t property;
  const char16_t* type;
  int nth;
  int block;
  std::uint32_t append;
};

constexpr std::uint32_t kEmail = csvgEmail, kIM = csvgIM, kPhone = csvgPhone,
                        kAddress = csvgAddress, kOrg = csvgOrganization, kRelation = csvgRelation,
                        kExternalId = csvgExternalID, kWebsite = csvgWebsite,
                        kCalendar = csvgCalendarLink, kEvent = csvgEvent, kCustom = csvgCustomField,
                        kJot = csvgJot;

// clang-format off
constexpr MapRow kRows[] = {
    // Organisation: Google's organisations carry no type word.
    {6, 0, kOrg, csvgpOrgName, u"", 0, 1, 0},
    {7, 0, kOrg, csvgpOrgDepartment, u"", 0, 1, 0},
    {8, 0, kOrg, csvgpOrgTitle, u"", 0, 1, 0},
    {124, 0, kOrg, csvgpOrgYomiName, u"", 0, 1, 0},
    {79, 0, kOrg, csvgpOrgLocation, u"", 0, 1, 0},
    // Addresses: Street 2 is the extended address, Street 3 joins the street.
    {9, 0, kAddress, csvgpAdrStreet, u"Work", 0, 1, 0},
    {10, 0, kAddress, csvgpAdrNeighborhood, u"Work", 0, 1, 0},
    {11, 0, kAddress, csvgpAdrStreet, u"Work", 0, 1, 9},
    {12, 0, kAddress, csvgpAdrCity, u"Work", 0, 1, 0},
    {13, 0, kAddress, csvgpAdrState, u"Work", 0, 1, 0},
    {14, 0, kAddress, csvgpAdrPostalCode, u"Work", 0, 1, 0},
    {15, 0, kAddress, csvgpAdrCountry, u"Work", 0, 1, 0},
    {54, 0, kAddress, csvgpAdrPOBox, u"Work", 0, 1, 0},
    {16, 0, kAddress, csvgpAdrStreet, u"Home", 0, 2, 0},
    {17, 0, kAddress, csvgpAdrNeighborhood, u"Home", 0, 2, 0},
    {18, 0, kAddress, csvgpAdrStreet, u"Home", 0, 2, 16},
    {19, 0, kAddress, csvgpAdrCity, u"Home", 0, 2, 0},
    {20, 0, kAddress, csvgpAdrState, u"Home", 0, 2, 0},
    {21, 0, kAddress, csvgpAdrPostalCode, u"Home", 0, 2, 0},
    {22, 0, kAddress, csvgpAdrCountry, u"Home", 0, 2, 0},
    {70, 0, kAddress, csvgpAdrPOBox, u"Home", 0, 2, 0},
    {23, 0, kAddress, csvgpAdrStreet, u"Other", 0, 3, 0},
    {24, 0, kAddress, csvgpAdrNeighborhood, u"Other", 0, 3, 0},
    {25, 0, kAddress, csvgpAdrStreet, u"Other", 0, 3, 23},
    {26, 0, kAddress, csvgpAdrCity, u"Other", 0, 3, 0},
    {27, 0, kAddress, csvgpAdrState, u"Other", 0, 3, 0},
    {28, 0, kAddress, csvgpAdrPostalCode, u"Other", 0, 3, 0},
    {29, 0, kAddress, csvgpAdrCountry, u"Other", 0, 3, 0},
    {81, 0, kAddress, csvgpAdrPOBox, u"Other", 0, 3, 0},
    // Phones, by Google's phone type words.
    {30, 0, kPhone, csvgpValue, u"Assistant", 0, 0, 0},
    {31, 0, kPhone, csvgpValue, u"Work Fax", 0, 0, 0},
    {32, 0, kPhone, csvgpValue, u"Work", 0, 0, 0},
    {33, 0, kPhone, csvgpValue, u"Work", 1, 0, 0},
    {34, 0, kPhone, csvgpValue, u"Callback", 0, 0, 0},
    {35, 0, kPhone, csvgpValue, u"Car", 0, 0, 0},
    {36, 0, kPhone, csvgpValue, u"Company Main", 0, 0, 0},
    {37, 0, kPhone, csvgpValue, u"Home Fax", 0, 0, 0},
    {38, 0, kPhone, csvgpValue, u"Home", 0, 0, 0},
    {39, 0, kPhone, csvgpValue, u"Home", 1, 0, 0},
    {40, 0, kPhone, csvgpValue, u"ISDN", 0, 0, 0},
    {41, 0, kPhone, csvgpValue, u"Mobile", 0, 0, 0},
    {112, 0, kPhone, csvgpValue, u"Mobile", 1, 0, 0},
    {118, 0, kPhone, csvgpValue, u"Mobile", 2, 0, 0},
    {42, 0, kPhone, csvgpValue, u"Other Fax", 0, 0, 0},
    {43, 0, kPhone, csvgpValue, u"Other", 0, 0, 0},
    {44, 0, kPhone, csvgpValue, u"Pager", 0, 0, 0},
    {45, 0, kPhone, csvgpValue, u"Main", 0, 0, 0},
    {46, 0, kPhone, csvgpValue, u"Radio", 0, 0, 0},
    {47, 0, kPhone, csvgpValue, u"TTY/TDD", 0, 0, 0},
    {48, 0, kPhone, csvgpValue, u"Telex", 0, 0, 0},
    // E-mail: Outlook's three have no type of their own.
    {58, 0, kEmail, csvgpValue, u"Other", 0, 0, 0},
    {61, 0, kEmail, csvgpValue, u"Other", 1, 0, 0},
    {64, 0, kEmail, csvgpValue, u"Other", 2, 0, 0},
    {107, 0, kEmail, csvgpValue, u"Other", 3, 0, 0},
    {113, 0, kEmail, csvgpValue, u"Home", 0, 0, 0},
    {119, 0, kEmail, csvgpValue, u"Work", 0, 0, 0},
    // Instant messaging: the type word of an IM column is its service.
    {123, 0, kIM, csvgpValue, u"", 0, 0, 0},
    // Web pages.
    {92, 0, kWebsite, csvgpValue, u"Work", 0, 0, 0},
    {115, 0, kWebsite, csvgpValue, u"Home Page", 0, 0, 0},
    {109, 0, kWebsite, csvgpValue, u"Other", 0, 0, 0},
    // People.
    {51, 0, kRelation, csvgpValue, u"Assistant", 0, 0, 0},
    {76, 0, kRelation, csvgpValue, u"Manager", 0, 0, 0},
    {87, 0, kRelation, csvgpValue, u"Spouse", 0, 0, 0},
    {85, 0, kRelation, csvgpValue, u"Referred By", 0, 0, 0},
    {56, 0, kRelation, csvgpValue, u"Child", 0, 0, 0},
    // Dates, identifiers, free-busy, keywords and user fields.
    {50, 0, kEvent, csvgpValue, u"Anniversary", 0, 0, 0},
    {49, 0, kExternalId, csvgpValue, u"Account", 0, 0, 0},
    {80, 0, kExternalId, csvgpValue, u"Organization", 0, 0, 0},
    {72, 0, kCalendar, csvgpValue, u"Free Busy", 0, 0, 0},
    {73, 0, kJot, csvgpValue, u"Keywords", 0, 0, 0},
    {88, 0, kJot, csvgpValue, u"User", 0, 0, 0},
    {89, 0, kJot, csvgpValue, u"User", 1, 0, 0},
    {90, 0, kJot, csvgpValue, u"User", 2, 0, 0},
    {91, 0, kJot, csvgpValue, u"User", 3, 0, 0},
    {68, 0, kCustom, csvgpValue, u"Government ID Number", 0, 0, 0},
    {125, 0, kCustom, csvgpValue, u"Schools", 0, 0, 0},
    // Plain Google columns.
    {55, 102, 0, 0, nullptr, 0, 0, 0},
    // Nokia's extra columns are kept in the notes, as import keeps them.
    {103, kNotes, 0, 0, nullptr, 0, 0, kNotes}, {104, kNotes, 0, 0, nullptr, 0, 0, kNotes},
    {105, kNotes, 0, 0, nullptr, 0, 0, kNotes}, {106, kNotes, 0, 0, nullptr, 0, 0, kNotes},
    {108, kNotes, 0, 0, nullptr, 0, 0, kNotes}, {110, kNotes, 0, 0, nullptr, 0, 0, kNotes},
    {111, kNotes, 0, 0, nullptr, 0, 0, kNotes}, {114, kNotes, 0, 0, nullptr, 0, 0, kNotes},
    {116, kNotes, 0, 0, nullptr, 0, 0, kNotes}, {117, kNotes, 0, 0, nullptr, 0, 0, kNotes},
    {120, kNotes, 0, 0, nullptr, 0, 0, kNotes}, {121, kNotes, 0, 0, nullptr, 0, 0, kNotes},
    {122, kNotes, 0, 0, nullptr, 0, 0, kNotes},
};
// clang-format on

const MapRow* RowOf(std::uint32_t code) {
  for (const MapRow& row : kRows) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

// The plain column a parsed plain name stands for, among those not `used`
// yet: the `index`-th of its type, else the first free one of its type,
// else the first free "Other" one. 0 when there is none.
std::uint32_t ResolvePlainName(const GooglePlainName& name, const std::set<std::uint32_t>& used) {
  const std::uint32_t group = name.value->GroupCode();
  const std::int32_t property = name.value->GroupPropCode();
  std::u16string_view type = name.type.empty() ? u"Other" : std::u16string_view(name.type);
  auto pick = [&](std::u16string_view wanted, int nth) -> std::uint32_t {
    std::uint32_t first_free = 0;
    for (const MapRow& row : kRows) {
      if (row.group != group || row.property != property || row.append != 0) continue;
      const bool any_type = row.type[0] == u'\0';
      if (!any_type && !text::EqualsAsciiNoCase(std::u16string_view(row.type), wanted)) continue;
      if (used.count(row.code) != 0) continue;
      if (row.nth == nth) return row.code;
      if (first_free == 0) first_free = row.code;
    }
    return first_free;
  };
  if (const std::uint32_t code = pick(type, name.index - 1)) return code;
  return pick(u"Other", -1);
}

// Codes for the plain names of a Google header row; false when the row
// still has grouped columns.
bool ResolvePlained(const CCsvHeaders& headers, std::span<const std::u16string> names,
                    std::vector<std::uint32_t>& codes) {
  if (std::any_of(codes.begin(), codes.end(),
                  [](std::uint32_t c) { return c > kCsvHeaderMaxPlain; })) {
    return false;
  }
  std::set<std::uint32_t> used(codes.begin(), codes.end());
  for (std::size_t i = 0; i < codes.size(); ++i) {
    GooglePlainName name;
    if (codes[i] != 0 || !ParseGooglePlainName(headers, names[i], &name)) continue;
    codes[i] = ResolvePlainName(name, used);
    if (codes[i] == 0) {
      headers.log().LogError(
          kResolveLabel, 0, "SUPPORT of SRC HEADER(%d) NOT IMPLEMENTED: 0x%x", i,
          CsvHeaderWithIndex(name.value->Code, static_cast<std::uint32_t>(name.index)));
      continue;
    }
    used.insert(codes[i]);
  }
  return true;
}

// The header codes of `names`, Google plain names resolved; false (logged
// under `label`) for a Google row that is not plain.
bool CodesOf(const CCsvHeaders& headers, std::span<const std::u16string> names, const char* label,
             std::vector<std::uint32_t>& codes) {
  const CCsv csv(headers.log(), &headers);
  CsvDetection found;
  csv.AutodetectCsvNames(names, true, &found);
  codes = std::move(found.codes);
  if (found.type != vlmcsvGoogle || ResolvePlained(headers, names, codes)) return true;
  headers.log().LogError(label, E_GENERIC_FAILURE, "Google csv must be plained first");
  return false;
}

bool IsPair(std::uint32_t a, std::uint32_t b) {
  static constexpr std::uint32_t kPairs[][2] = {{58, 107}, {61, 113}, {64, 119}, {102, 55}};
  return std::any_of(std::begin(kPairs), std::end(kPairs), [&](const std::uint32_t(&p)[2]) {
    return (a == p[0] && b == p[1]) || (a == p[1] && b == p[0]);
  });
}

}  // namespace

HRESULT MapCsvHeaders(const CCsvHeaders& headers, std::span<const std::u16string> source,
                      std::span<const std::u16string> destination,
                      std::vector<std::int32_t>* src2dst,
                      std::vector<std::int32_t>* src_append2dst) {
  if (source.empty() || destination.empty()) return E_INVALIDARG;
  std::vector<std::uint32_t> src_codes, dst_codes;
  if (!CodesOf(headers, source, kMapLabel, src_codes) ||
      !CodesOf(headers, destination, kMapLabel, dst_codes)) {
    return E_GENERIC_FAILURE;
  }
  std::vector<std::int32_t> map(source.size(), -1), append(source.size(), -1);
  std::vector<bool> used(destination.size(), false);
  // Each pass gives every source column still unmapped the first free
  // destination column `fits` accepts.
  auto pass = [&](auto fits) {
    for (std::size_t s = 0; s < source.size(); ++s) {
      if (map[s] >= 0) continue;
      for (std::size_t d = 0; d < destination.size(); ++d) {
        if (used[d] || !fits(s, d)) continue;
        map[s] = static_cast<std::int32_t>(d);
        used[d] = true;
        break;
      }
    }
  };
  pass([&](std::size_t s, std::size_t d) {
    return src_codes[s] != 0 && src_codes[s] == dst_codes[d];
  });
  pass([&](std::size_t s, std::size_t d) {
    return dst_codes[d] != 0 && IsPair(src_codes[s], dst_codes[d]);
  });
  pass([&](std::size_t s, std::size_t d) { return source[s] == destination[d]; });
  const auto notes = std::find(dst_codes.begin(), dst_codes.end(), kNotes);
  if (notes != dst_codes.end()) {
    const std::size_t d = static_cast<std::size_t>(notes - dst_codes.begin());
    used[d] = true;
    for (std::size_t s = 0; s < source.size(); ++s) {
      if (map[s] < 0) append[s] = static_cast<std::int32_t>(d);
    }
  }
  if (src2dst != nullptr) *src2dst = std::move(map);
  if (src_append2dst != nullptr) *src_append2dst = std::move(append);
  return S_OK;
}

HRESULT MapCsvHeaders2Google(const CCsvHeaders& headers, std::span<const std::u16string> source,
                             std::int32_t flags, std::vector<GoogleDestination>* destination) {
  if (source.empty() || destination == nullptr) return E_INVALIDARG;
  const CCsv csv(headers.log(), &headers);
  CsvDetection found;
  csv.AutodetectCsvNames(source, true, &found);
  const bool google = found.type == vlmcsvGoogle;
  if (google && std::any_of(found.codes.begin(), found.codes.end(),
                            [](std::uint32_t c) { return c > kCsvHeaderMaxPlain; })) {
    headers.log().LogError(kToGoogleLabel, E_GENERIC_FAILURE, "Google csv must be plained first");
    return E_GENERIC_FAILURE;
  }
  CCsvHeaderIndexBuilder builder(headers.log());
  std::set<std::int32_t> taken;
  std::int32_t united_child = 0;
  // A grouped destination: the group instance for `type` (address and
  // organisation instances shared by their columns).
  auto grouped = [&](std::uint32_t code, std::u16string_view type, int instance,
                     GoogleDestination& out) {
    int number = 0;
    out.index4type = builder.new_Index4Type(code, type, instance, &number);
    out.code =
        static_cast<std::int32_t>(CsvHeaderWithIndex(code, static_cast<std::uint32_t>(number)));
    out.type = type;
  };
  std::vector<GoogleDestination> result(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::uint32_t code = found.codes[i];
    GoogleDestination& out = result[i];
    const CCsvHeader* entry = code == 0 ? nullptr : headers.FindHeaderByCode(code);
    GooglePlainName plain;
    const MapRow* row = RowOf(code);
    if (code > kCsvHeaderMaxPlain) {
      out.code = static_cast<std::int32_t>(code);  // a grouped column outside a Google table
    } else if (entry != nullptr && CCsvHeaders::IsSupported(*entry, vlmcsvGoogle)) {
      out.code = static_cast<std::int32_t>(code);
    } else if (google && code == 0 && ParseGooglePlainName(headers, source[i], &plain)) {
      const bool child = plain.value->GroupCode() == csvgRelation && plain.type == u"Child";
      if (child && (flags & pcfUniteChild) != 0 && united_child != 0) {
        out = {united_child, plain.type, 0, true};
        continue;
      }
      grouped(plain.value->Code, plain.type, plain.index, out);
      if (child) united_child = out.code;
    } else if (row != nullptr && row->plain != 0) {
      out.code = static_cast<std::int32_t>(row->plain);
      out.append = row->append != 0;
    } else if (row != nullptr) {
      const MapRow& target = row->append != 0 ? *RowOf(row->append) : *row;
      const std::uint32_t group_code =
          (target.group << 24) | static_cast<std::uint32_t>(target.property);
      grouped(group_code, target.type, target.block, out);
      out.append = row->append != 0;
    }
    if (out.code != 0 && !out.append && !taken.insert(out.code).second) out.append = true;
  }
  *destination = std::move(result);
  return S_OK;
}

}  // namespace velmora::csv
