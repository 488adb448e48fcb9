#include "csv/csv_headers.h"

#include <algorithm>
#include <set>
#include <string>

#include "csv/csv_header_table.h"
#include "foundation/text_util.h"

namespace velmora::csv {
namespace {

constexpr char kBuildLabel[] = "CCsvHeaders.CCsvHeaders";
constexpr char kListLabel[] = "CCsvHeaders.GetHeaderList";
constexpr char kHeadersLabel[] = "CCsvHeaders.GetHeaders";
constexpr char kNameLabel[] = "CCsvHeaders.BuildHeaderName";

constexpr std::size_t kOutlookListSize = 92;
constexpr std::u16string_view kIndexedSeparator = u" %d - ";

// Catalogue keys are upper-cased in the letters a to z only, so that every
// build of the library matches names the same way.
std::u16string UpperAscii(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return out;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::uint32_t DialectBit(ECsvType type) {
  switch (type) {
    case vlmcsvOutlook:
      return kCsvDialectOutlook;
    case vlmcsvOutlook365v1:
      return kCsvDialectOutlook365v1;
    case vlmcsvGoogle:
      return kCsvDialectGoogle;
    case vlmcsvNokia:
      return kCsvDialectNokia;
    case vlmcsvOutlook365v2:
      return kCsvDialectOutlook365v2;
    case vlmcsvGoogle2:
      return kCsvDialectGoogle2;
    default:
      return 0;
  }
}

bool IsOutlookDialect(ECsvType type) {
  return type == vlmcsvOutlook || type == vlmcsvOutlook365v1 || type == vlmcsvOutlook365v2;
}

}  // namespace

CCsvHeaders::CCsvHeaders(CLog& log) : log_(log), locales_(log) {
  BuildEntries();
  BuildIndexes();
  BuildLists();
}

void CCsvHeaders::BuildEntries() {
  const auto plain = CsvPlainHeaderRows();
  const auto grouped = CsvGroupedHeaderRows();
  entries_.reserve(plain.size() + grouped.size());
  const auto text = [](const char16_t* s) { return s ? std::u16string(s) : std::u16string(); };
  for (const CsvPlainHeaderRow& row : plain) {
    CCsvHeader& entry = entries_.emplace_back();
    entry.Code = row.code;
    entry.Type = row.type;
    entry.Dialects = row.dialects;
    entry.Name = text(row.name);
    entry.NameAlt = text(row.name_alt);
    entry.NameGoogle = text(row.name_google);
    entry.NameNokia = text(row.name_nokia);
  }
  for (const CsvGroupedHeaderRow& row : grouped) {
    CCsvHeader& entry = entries_.emplace_back();
    entry.Code = row.code;
    entry.Type = row.type;
    entry.Dialects = kCsvDialectGoogle;
    entry.NameFormat = row.name_format;
    entry.Name = text::ReplaceAll(entry.NameFormat, u" %d ", u" * ");
    const std::size_t p = entry.NameFormat.find(kIndexedSeparator);
    if (p != std::u16string::npos && p > 0 &&
        p + kIndexedSeparator.size() < entry.NameFormat.size()) {
      entry.GroupName = entry.NameFormat.substr(0, p);
      entry.GroupPropName = entry.NameFormat.substr(p + kIndexedSeparator.size());
    }
  }
  // Google's later layout reuses entries under names of its own.
  for (const CsvGoogle2ListRow& row : CsvGoogle2PlainCodes()) {
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const CCsvHeader& e) { return e.Code == row.code; });
    log_.LogAssert(entry != entries_.end(), kBuildLabel, __LINE__);
    if (entry == entries_.end()) continue;
    entry->Dialects |= kCsvDialectGoogle2;
    if (entry->Name != row.name) entry->NameGoogle2 = row.name;
  }
  for (const std::uint32_t group : CsvGoogle2Groups()) {
    for (CCsvHeader& entry : entries_) {
      if (!entry.IsGroupped() || entry.GroupCode() != group) continue;
      entry.Dialects |= kCsvDialectGoogle2;
      // Its type column is called "Label" there.
      if (entry.GroupPropCode() == csvgpType) entry.NameGoogle2 = entry.GroupName + u" * - Label";
    }
  }
}

void CCsvHeaders::BuildIndexes() {
  for (CCsvHeader& entry : entries_) {
    by_code_[CsvHeaderKey(entry.Code)] = &entry;
    if (entry.IsGroupped()) {
      const bool fresh = by_name_format_.emplace(UpperAscii(entry.NameFormat), &entry).second;
      log_.LogAssert(fresh, kBuildLabel, __LINE__);
      if (!entry.NameGoogle2.empty()) {
        const std::u16string format = text::ReplaceAll(entry.NameGoogle2, u" * ", u" %d ");
        const bool label_fresh = by_name_format_.emplace(UpperAscii(format), &entry).second;
        log_.LogAssert(label_fresh, kBuildLabel, __LINE__);
      }
      CsvHeaderList& group = by_group_[entry.Code & 0xFF000000u];
      group.push_back(&entry);
      entry.Group = &group;
      continue;
    }
    std::vector<std::u16string> keys;
    for (const std::u16string* name :
         {&entry.Name, &entry.NameAlt, &entry.NameGoogle, &entry.NameNokia, &entry.NameGoogle2}) {
      if (name->empty()) continue;
      std::u16string key = UpperAscii(*name);
      if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
      auto [it, fresh] = by_name_.emplace(key, &entry);
      if (!fresh) {
        log_.LogAssert(false, kBuildLabel, __LINE__);
        it->second = &entry;
      }
      keys.push_back(std::move(key));
    }
  }
}

CsvHeaderList CCsvHeaders::ListFromCodes(std::span<const std::uint32_t> codes,
                                         std::uint32_t dialect, int line) const {
  CsvHeaderList list;
  for (const std::uint32_t code : codes) {
    const CCsvHeader* entry = FindHeaderByCode(code);
    log_.LogAssert(entry != nullptr, kBuildLabel, line);
    if (entry != nullptr) list.push_back(entry);
  }
  const auto expected =
      std::count_if(entries_.begin(), entries_.end(),
                    [dialect](const CCsvHeader& e) { return e.Dialects & dialect; });
  log_.LogAssert(static_cast<std::size_t>(expected) == list.size(), kBuildLabel, line);
  return list;
}

void CCsvHeaders::BuildLists() {
  for (const CCsvHeader& entry : entries_) {
    if (entry.Dialects & kCsvDialectOutlook) outlook_.push_back(&entry);
  }
  log_.LogAssert(outlook_.size() == kOutlookListSize, kBuildLabel, __LINE__);
  outlook365v1_ = ListFromCodes(CsvOutlook365v1Codes(), kCsvDialectOutlook365v1, __LINE__);
  outlook365v2_ = ListFromCodes(CsvOutlook365v2Codes(), kCsvDialectOutlook365v2, __LINE__);
  nokia_ = ListFromCodes(CsvNokiaCodes(), kCsvDialectNokia, __LINE__);
  for (const CsvGoogleListRow& row : CsvGooglePlainCodes()) {
    const CCsvHeader* entry = FindHeaderByCode(row.code);
    log_.LogAssert(entry != nullptr, kBuildLabel, __LINE__);
    if (entry == nullptr) continue;
    google_plain_.push_back(entry);
    if (row.is_default) google_default_.push_back(entry);
  }
  google_full_ = google_plain_;
  for (const CCsvHeader& entry : entries_) {
    if (entry.IsGroupped()) google_full_.push_back(&entry);
  }
  for (const CsvGoogle2ListRow& row : CsvGoogle2PlainCodes()) {
    const CCsvHeader* entry = FindHeaderByCode(row.code);
    if (entry == nullptr) continue;  // asserted when the entries were built
    google2_plain_.push_back(entry);
    if (row.is_default) google2_default_.push_back(entry);
  }
  google2_full_ = google2_plain_;
  for (const std::uint32_t group : CsvGoogle2Groups()) {
    const auto it = by_group_.find(group << 24);
    if (it != by_group_.end())
      google2_full_.insert(google2_full_.end(), it->second.begin(), it->second.end());
  }
}

const CCsvHeader* CCsvHeaders::FindHeaderByCode(std::uint32_t code) const {
  if (code == 0) return nullptr;
  const auto it = by_code_.find(CsvHeaderKey(code));
  return it == by_code_.end() ? nullptr : it->second;
}

bool CCsvHeaders::ParseIndexedName(std::u16string_view name, std::u16string* format,
                                   std::uint32_t* index) {
  const std::size_t dash = name.find(u" - ");
  if (dash == std::u16string_view::npos || dash + 3 >= name.size()) return false;
  std::size_t digits = dash;
  while (digits > 0 && IsDigit(name[digits - 1])) --digits;
  // One space before the digits, a non-space before it.
  if (digits == dash || digits < 2 || name[digits - 1] != u' ' || name[digits - 2] == u' ') {
    return false;
  }
  std::uint32_t value = 0;  // wraps; only the low 16 bits reach a code
  for (std::size_t i = digits; i < dash; ++i) value = value * 10 + (name[i] - u'0');
  if (format != nullptr) {
    format->assign(name.substr(0, digits - 1));
    format->append(kIndexedSeparator);
    format->append(name.substr(dash + 3));
  }
  if (index != nullptr) *index = value;
  return true;
}

const CCsvHeader* CCsvHeaders::FindHeaderByName(std::u16string_view name) const {
  const auto it = by_name_.find(UpperAscii(name));
  return it == by_name_.end() ? nullptr : it->second;
}

std::uint32_t CCsvHeaders::FindCodeByName(std::u16string_view name) const {
  if (const CCsvHeader* entry = FindHeaderByName(name)) return entry->Code;
  std::u16string format;
  std::uint32_t index = 0;
  if (!ParseIndexedName(name, &format, &index)) return 0;
  const auto it = by_name_format_.find(UpperAscii(format));
  return it == by_name_format_.end() ? 0 : CsvHeaderWithIndex(it->second->Code, index);
}

const CsvHeaderList* CCsvHeaders::FindGroupByName(std::u16string_view group_name) const {
  std::u16string format(group_name);
  format += u" %d - Type";
  const auto it = by_name_format_.find(UpperAscii(format));
  return it == by_name_format_.end() ? nullptr : it->second->Group;
}

const CsvHeaderList& CCsvHeaders::GetHeaderList(ECsvType type, int variant) const {
  switch (type) {
    case vlmcsvOutlook:
      if (variant == 0 || variant == 1) return outlook_;
      if (variant == 2) return outlook365v1_;
      break;
    case vlmcsvGoogle:
      if (variant == 0) return google_full_;
      if (variant == 1) return google_plain_;
      if (variant == 2) return google_default_;
      break;
    case vlmcsvNokia:
      return nokia_;
    case vlmcsvOutlook365v1:
      return outlook365v1_;
    case vlmcsvOutlook365v2:
      return outlook365v2_;
    case vlmcsvGoogle2:
      if (variant == 0) return google2_full_;
      if (variant == 1) return google2_plain_;
      if (variant == 2) return google2_default_;
      break;
    default:
      break;
  }
  log_.LogAssert(false, kListLabel, __LINE__);
  return empty_;
}

const CsvHeaderList* CCsvHeaders::OutputList(ECsvType type) const {
  switch (type) {
    case vlmcsvOutlook:
      return &outlook_;
    case vlmcsvGoogle:
      return &google_plain_;
    case vlmcsvNokia:
      return &nokia_;
    case vlmcsvOutlook365v1:
      return &outlook365v1_;
    case vlmcsvOutlook365v2:
      return &outlook365v2_;
    case vlmcsvGoogle2:
      return &google2_plain_;
    default:
      return nullptr;
  }
}

void CCsvHeaders::GetHeaders(std::vector<std::uint32_t>& codes, ECsvType type, bool add_all) const {
  const CsvHeaderList* list = OutputList(type);
  log_.LogAssert(list != nullptr, kHeadersLabel, __LINE__);
  if (list == nullptr) list = &empty_;
  std::set<std::uint32_t> wanted(codes.begin(), codes.end());
  if (add_all) {
    for (const CCsvHeader* entry : *list) wanted.insert(entry->Code);
  }
  codes.clear();
  codes.reserve(wanted.size());
  for (const CCsvHeader* entry : *list) {
    if (wanted.erase(entry->Code) != 0) codes.push_back(entry->Code);
  }
  const std::size_t rest = codes.size();
  codes.insert(codes.end(), wanted.begin(), wanted.end());
  if (type == vlmcsvGoogle2) {
    // Its blocks in its group order, each group's instances in turn, the
    // columns of an instance in catalogue order; anything else after them.
    std::stable_sort(codes.begin() + static_cast<std::ptrdiff_t>(rest), codes.end(),
                     [this](std::uint32_t a, std::uint32_t b) {
                       return Google2BlockKey(a) < Google2BlockKey(b);
                     });
  }
}

std::uint64_t CCsvHeaders::Google2BlockKey(std::uint32_t code) const {
  const CCsvHeader* entry = FindHeaderByCode(code);
  if (entry == nullptr || !entry->IsGroupped() || !IsSupported(*entry, vlmcsvGoogle2)) {
    return std::uint64_t{1} << 48;  // after the blocks, in ascending order
  }
  const auto groups = CsvGoogle2Groups();
  const auto rank = std::find(groups.begin(), groups.end(), entry->GroupCode()) - groups.begin();
  const auto& members = *entry->Group;
  const auto position = std::find(members.begin(), members.end(), entry) - members.begin();
  return static_cast<std::uint64_t>(rank) << 32 | std::uint64_t{CsvHeaderIndex(code)} << 8 |
         static_cast<std::uint64_t>(position);
}

std::u16string CCsvHeaders::BuildHeaderName(std::uint32_t code, ECsvType type,
                                            std::u16string_view lid) const {
  const CCsvHeader* entry = FindHeaderByCode(code);
  if (entry == nullptr) return {};
  if (entry->IsGroupped()) {
    const std::u16string format = type == vlmcsvGoogle2 && !entry->NameGoogle2.empty()
                                      ? text::ReplaceAll(entry->NameGoogle2, u" * ", u" %d ")
                                      : entry->NameFormat;
    return text::ReplaceAll(format, u"%d",
                            text::AsciiToUtf16(std::to_string(CsvHeaderIndex(code))));
  }
  if (type == vlmcsvGoogle && !entry->NameGoogle.empty()) return entry->NameGoogle;
  if (type == vlmcsvGoogle2 && !entry->NameGoogle2.empty()) return entry->NameGoogle2;
  if (!IsOutlookDialect(type) || lid.empty()) return entry->Name;
  const COutlookCsvLocale* locale = FindLocale(lid);
  if (locale == nullptr) {
    log_.LogError(kNameLabel, E_GENERIC_FAILURE, "no locale \"%s\" in supportedOutlookHeaders.csv",
                  lid);
    return entry->Name;
  }
  std::u16string name = locale->FindHeaderName(entry->Code);
  if (name.empty()) {
    log_.LogError(kNameLabel, E_GENERIC_FAILURE,
                  "no header \"%s\" in supportedOutlookHeaders.csv::%s", entry->Name, lid);
    return entry->Name;
  }
  return name;
}

bool CCsvHeaders::IsSupported(const CCsvHeader& entry, ECsvType type) {
  return (entry.Dialects & DialectBit(type)) != 0;
}

const std::u16string& CCsvHeaders::GetName(const CCsvHeader& entry, ECsvType type) {
  if (type == vlmcsvGoogle && !entry.NameGoogle.empty()) return entry.NameGoogle;
  if (type == vlmcsvNokia && !entry.NameNokia.empty()) return entry.NameNokia;
  if (type == vlmcsvGoogle2 && !entry.NameGoogle2.empty()) return entry.NameGoogle2;
  return entry.Name;
}

const std::u16string& CCsvHeaders::GetAltName(const CCsvHeader& entry, ECsvType type) {
  static const std::u16string kNone;
  if (type == vlmcsvGoogle || type == vlmcsvGoogle2) return kNone;
  if (type == vlmcsvNokia && !entry.NameNokia.empty()) return kNone;
  return entry.NameAlt;
}

std::span<const char16_t* const> CCsvHeaders::GetKnownTypes(const CCsvHeader& entry) {
  if (!entry.IsGroupped()) return {};
  return CsvGroupKnownTypes(entry.GroupCode());
}

HRESULT CCsvHeaders::LoadOutlookLocales(const std::filesystem::path& path) {
  return locales_.Load(path, outlook_);
}

}  // namespace velmora::csv
