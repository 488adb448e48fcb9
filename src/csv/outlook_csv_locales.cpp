#include "csv/outlook_csv_locales.h"

#include <array>
#include <climits>

#include "csv/csv.h"
#include "csv/csv_content.h"
#include "foundation/text_util.h"

namespace velmora::csv {
namespace {

constexpr char kLoadLabel[] = "CCsvHeaders.LoadOutlookLocales";

// The columns every locale row needs beside the header translations; the
// value words in the order COutlookCsvLocale keeps them.
enum FixedColumn { kLid, kCodePage, kCodePageDisplayName, kDisplayName, kDisplayNameShort };
constexpr std::array<const char16_t*, 5> kFixedColumns = {
    u"LID", u"CODE_PAGE", u"CODE_PAGE_DISPLAY_NAME", u"DISPLAY_NAME", u"DISPLAY_NAME_SHORT"};
constexpr std::array<const char16_t*, COutlookCsvLocale::kValueWordCount> kValueWordColumns = {
    u"Private::False",        u"Private::True",        u"Gender::Unspecified",
    u"Gender::Female",        u"Gender::Male",         u"Priority::Low",
    u"Priority::Normal",      u"Priority::High",       u"Sensitivity::Normal",
    u"Sensitivity::Personal", u"Sensitivity::Private", u"Sensitivity::Confidential"};

// A decimal number as C's strtol reads it: leading white space and a sign
// allowed, digits up to the first other character, 0 without any. Saturates
// instead of overflowing.
std::int64_t ReadDecimal(std::u16string_view s) {
  std::size_t i = 0;
  while (i < s.size() && text::IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  std::int64_t value = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
    if (value < INT64_MAX / 16) value = value * 10 + (s[i] - u'0');
  }
  return negative ? -value : value;
}

std::u16string Join(const std::vector<std::u16string>& names, std::u16string_view separator) {
  std::u16string out;
  for (const std::u16string& name : names) {
    if (!out.empty()) out += separator;
    out += name;
  }
  return out;
}

constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

// Header-row names (trimmed, case ignored) to column numbers; a repeated
// name means its last column.
class ColumnIndex {
 public:
  explicit ColumnIndex(const CsvRow& header) {
    for (std::size_t i = 0; i < header.size(); ++i) {
      const std::u16string_view name = text::Trim(header[i]);
      if (!name.empty()) columns_[text::ToUpper(name)] = i;
    }
  }
  // kNoColumn when the header row lacks `name`.
  std::size_t Find(std::u16string_view name) const {
    const auto it = columns_.find(text::ToUpper(name));
    return it == columns_.end() ? kNoColumn : it->second;
  }

 private:
  std::unordered_map<std::u16string, std::size_t> columns_;
};

// The row's cell at `column`; empty when the row is shorter.
std::u16string_view Cell(const CsvRow& row, std::size_t column) {
  return column < row.size() ? std::u16string_view(row[column]) : std::u16string_view();
}

}  // namespace

void COutlookCsvLocales::Clear() {
  by_lid_.clear();
  locales_.clear();
}

const COutlookCsvLocale* COutlookCsvLocales::Find(std::u16string_view lid) const {
  if (lid.empty()) return nullptr;
  const auto it = by_lid_.find(text::ToUpper(lid));
  return it == by_lid_.end() ? nullptr : it->second;
}

const COutlookCsvLocale* COutlookCsvLocales::At(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return locales_[static_cast<std::size_t>(index)].get();
}

HRESULT COutlookCsvLocales::Load(const std::filesystem::path& path, const CsvHeaderList& outlook) {
  Clear();
  if (path.empty()) {
    log_.LogError(kLoadLabel, E_INVALIDARG, "empty filename");
    return E_INVALIDARG;
  }

  CCsvContent content(log_);
  const HRESULT loaded = content.LoadFromFile(path, 0);
  if (loaded < 0) {
    log_.LogError(kLoadLabel, loaded, "content.LoadFromFile( %s )", path.u16string());
    return loaded;
  }
  const int code_page = content.Codepage();
  if (code_page != 1200 && code_page != 1201 && code_page != 65000 && code_page != 65001) {
    log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "content is not unicode");
    return E_GENERIC_FAILURE;
  }
  CCsv csv(log_);
  const std::u16string separator = csv.AutoDetectSeparator(content.text());
  if (separator.empty()) {
    log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "cant detect separator");
    return E_GENERIC_FAILURE;
  }
  CsvCellsTable cells;
  const HRESULT parsed = csv.ParseCells(content.text(), &cells, csvpDefault, -1, 0, separator);
  if (parsed < 0) {
    log_.LogError(kLoadLabel, parsed, "ParseCells");
    return parsed;
  }
  if (cells.empty() || cells.front().empty()) {
    log_.LogInfo(kLoadLabel, "empty");
    return S_FALSE;
  }
  if (cells.size() == 1) {
    log_.LogInfo(kLoadLabel, "no data rows");
    return S_FALSE;
  }

  // Columns are looked up once; rows are then read by position.
  const ColumnIndex columns(cells.front());
  std::vector<std::u16string> missing;
  std::vector<std::size_t> header_columns;
  for (const CCsvHeader* header : outlook) {
    header_columns.push_back(columns.Find(header->Name));
    if (header_columns.back() == kNoColumn) missing.push_back(header->Name);
  }
  std::array<std::size_t, kFixedColumns.size()> fixed_columns{};
  for (std::size_t i = 0; i < kFixedColumns.size(); ++i) {
    fixed_columns[i] = columns.Find(kFixedColumns[i]);
    if (fixed_columns[i] == kNoColumn) missing.emplace_back(kFixedColumns[i]);
  }
  std::array<std::size_t, kValueWordColumns.size()> word_columns{};
  for (std::size_t i = 0; i < kValueWordColumns.size(); ++i) {
    word_columns[i] = columns.Find(kValueWordColumns[i]);
    if (word_columns[i] == kNoColumn) missing.emplace_back(kValueWordColumns[i]);
  }
  if (!missing.empty()) {
    log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "Missing Headers:\n%s", Join(missing, u","));
    return E_GENERIC_FAILURE;
  }

  for (std::size_t r = 1; r < cells.size(); ++r) {
    const CsvRow& row = cells[r];
    const int row_number = static_cast<int>(r);
    const std::u16string_view lid = Cell(row, fixed_columns[kLid]);
    if (lid.empty()) {
      log_.LogWarning(kLoadLabel, 0, "skipping %d row, coz LID is empty", row_number);
      continue;
    }
    if (Find(lid) != nullptr) {
      log_.LogWarning(kLoadLabel, 0, "skipping %d row, coz LID is duplicate", row_number);
      continue;
    }
    const std::u16string_view code_page_text = Cell(row, fixed_columns[kCodePage]);
    const std::int64_t row_code_page = ReadDecimal(code_page_text);
    if (row_code_page < 0 || row_code_page > INT32_MAX) {
      log_.LogWarning(kLoadLabel, 0, "skipping %d row, coz CodePage(%s) is invalid", row_number,
                      code_page_text);
      continue;
    }
    if (row_code_page == 65000 || row_code_page == 65001 || row_code_page == 1200 ||
        row_code_page == 1201) {
      log_.LogWarning(kLoadLabel, 0, "skipping %d row, coz CodePage(%s) must be ansi(not unicode)",
                      row_number, code_page_text);
      continue;
    }

    auto locale = std::make_unique<COutlookCsvLocale>();
    locale->LID = std::u16string(lid);
    locale->Codepage = static_cast<std::int32_t>(row_code_page);
    locale->CodepageDisplayName = Cell(row, fixed_columns[kCodePageDisplayName]);
    locale->DisplayName = Cell(row, fixed_columns[kDisplayName]);
    locale->DisplayNameShort = Cell(row, fixed_columns[kDisplayNameShort]);
    if (locale->CodepageDisplayName.empty()) {
      log_.LogWarning(kLoadLabel, 0, "CodePageDiplayName  is empty for %d row", row_number);
    }
    if (locale->DisplayName.empty()) {
      log_.LogWarning(kLoadLabel, 0, "DisplayName is empty for %d row", row_number);
    }
    if (locale->DisplayNameShort.empty()) {
      log_.LogWarning(kLoadLabel, 0, "DisplayNameShort is empty for %d row", row_number);
    }

    std::vector<std::u16string> auto_initialised;
    for (std::size_t h = 0; h < outlook.size(); ++h) {
      const CCsvHeader* header = outlook[h];
      const std::u16string_view name = Cell(row, header_columns[h]);
      if (name.empty()) {
        auto_initialised.push_back(header->Name);
        locale->AddHeader(header->Name, header->Code);
      } else {
        locale->AddHeader(std::u16string(name), header->Code);
      }
    }
    COutlookCsvLocale::ValueWords words;
    for (std::size_t i = 0; i < kValueWordColumns.size(); ++i) {
      const std::u16string_view column = kValueWordColumns[i];
      words[i] = text::Trim(Cell(row, word_columns[i]));
      if (words[i].empty()) {
        words[i] = column.substr(column.find(u"::") + 2);
        auto_initialised.emplace_back(column);
      }
    }
    locale->SetValueWords(std::move(words));
    if (!auto_initialised.empty()) {
      log_.LogInfo(kLoadLabel, "Auto-initalized (from english):\n%s",
                   Join(auto_initialised, u", "));
    }
    by_lid_.emplace(text::ToUpper(locale->LID), locale.get());
    locales_.push_back(std::move(locale));
  }

  if (locales_.empty()) {
    log_.LogError(kLoadLabel, E_GENERIC_FAILURE, "no usable locale rows");
    return E_GENERIC_FAILURE;
  }
  return S_OK;
}

}  // namespace velmora::csv
