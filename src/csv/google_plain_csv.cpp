#include "csv/google_plain_csv.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "csv/csv_autodetect.h"
#include "csv/csv_header_index_builder.h"
#include "csv/google_mvalue.h"
#include "csv/google_plain_name.h"
#include "foundation/system_settings.h"

namespace velmora::csv {
namespace {

constexpr char kLabel[] = "CCsv.PlainGoogleCsv";
constexpr std::uint32_t kGroupMembership = 102;

// The columns of one group instance ("Address 2 - ...").
struct Instance {
  std::uint32_t group = 0;
  int number = 0;
  std::size_t first_column = 0;
  std::size_t type_column = SIZE_MAX;  // Type, or for IM Service
  std::vector<std::pair<std::size_t, const CCsvHeader*>> properties;
};

// One plain column: group, type word, index for the type, property.
struct Key {
  std::uint32_t group;
  std::u16string type;
  int index;
  std::uint32_t property;  // the property's catalogue code
  auto operator<=>(const Key&) const = default;
};

// A single quote would end the quoted type word of a plain name early.
std::u16string TypeWord(std::u16string word) {
  std::replace(word.begin(), word.end(), u'\'', u'\u2019');
  return word;
}

const std::u16string& CellAt(const CsvRow& row, std::size_t column) {
  static const std::u16string kEmpty;
  return column < row.size() ? row[column] : kEmpty;
}

class Plainer {
 public:
  Plainer(const CCsvHeaders& headers, std::int32_t flags)
      : headers_(headers), log_(headers.log()), flags_(flags) {}

  HRESULT Run(CsvCellsTable& cells) {
    if (cells.size() < 2) return S_FALSE;
    const CsvRow& header = cells.front();
    const std::vector<std::uint32_t> codes = FindHeaderCodes(headers_, header).codes;
    bool changed = (flags_ & pcfDecodeGroupMembership) != 0 && DecodeGroupMembership(cells, codes);
    FindInstances(header, codes);
    if (instances_.empty()) return changed ? S_OK : S_FALSE;

    std::vector<std::map<Key, std::vector<std::u16string>>> values(cells.size());
    for (std::size_t r = 1; r < cells.size(); ++r) CollectRow(cells[r], values[r]);
    if ((flags_ & pcfSortByType) != 0) {
      for (auto& [group, keys] : keys_) std::sort(keys.begin(), keys.end());
    }
    Rewrite(cells, values);
    return S_OK;
  }

 private:
  bool DecodeGroupMembership(CsvCellsTable& cells, const std::vector<std::uint32_t>& codes) {
    const auto at = std::find(codes.begin(), codes.end(), kGroupMembership);
    if (at == codes.end()) return false;
    const std::size_t column = static_cast<std::size_t>(at - codes.begin());
    const std::u16string separator = settings::ListSeparator();
    bool changed = false;
    for (std::size_t r = 1; r < cells.size(); ++r) {
      if (column >= cells[r].size() || cells[r][column].empty()) continue;
      std::u16string decoded = DecodeGoogleGroupMembership(log_, cells[r][column], separator);
      if (decoded == cells[r][column]) continue;
      cells[r][column] = std::move(decoded);
      changed = true;
    }
    return changed;
  }

  // Sorts the grouped columns into instances; the others are kept.
  void FindInstances(const CsvRow& header, const std::vector<std::uint32_t>& codes) {
    std::map<std::pair<std::uint32_t, int>, std::size_t> by_number;
    grouped_.assign(header.size(), false);
    for (std::size_t c = 0; c < codes.size(); ++c) {
      if (codes[c] <= kCsvHeaderMaxPlain) continue;
      const CCsvHeader* entry = headers_.FindHeaderByCode(codes[c]);
      if (entry == nullptr) {
        log_.LogAssert(false, kLabel, __LINE__);
        continue;
      }
      const int number = static_cast<int>(CsvHeaderIndex(codes[c]));
      if (number < 1 || entry->GroupName.empty() || entry->GroupPropName.empty()) {
        log_.LogError(kLabel, 0, "Unsupported groupped google header (%s)", header[c]);
        continue;
      }
      grouped_[c] = true;
      const std::uint32_t group = entry->GroupCode();
      auto [it, fresh] = by_number.try_emplace({group, number}, instances_.size());
      if (fresh) instances_.push_back({group, number, c, SIZE_MAX, {}});
      Instance& instance = instances_[it->second];
      if (entry->GroupPropCode() == csvgpType && group == csvgIM) continue;  // no place for it
      const bool names_type = group == csvgIM ? entry->GroupPropCode() == csvgpIMService
                                              : entry->GroupPropCode() == csvgpType;
      if (names_type) {
        instance.type_column = c;
      } else {
        instance.properties.emplace_back(c, entry);
      }
      if (first_column_.try_emplace(group, c).second) keys_[group];
    }
  }

  void Add(std::map<Key, std::vector<std::u16string>>& row_values, Key key, std::u16string value) {
    auto& keys = keys_[key.group];
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    row_values[std::move(key)].push_back(std::move(value));
  }

  void CollectRow(const CsvRow& row, std::map<Key, std::vector<std::u16string>>& row_values) {
    CCsvHeaderIndexBuilder builder(log_);
    std::vector<std::u16string> types, items;
    for (const Instance& instance : instances_) {
      types.clear();
      if (instance.type_column != SIZE_MAX) {
        DecodeGoogleMValue(log_, CellAt(row, instance.type_column), types, false);
      }
      const bool spans = instance.group == csvgAddress || instance.group == csvgOrganization;
      if (spans) {
        const std::u16string type = TypeWord(types.empty() ? u"" : types.front());
        int index = -1;
        for (const auto& [column, entry] : instance.properties) {
          const std::u16string& cell = CellAt(row, column);
          if (cell.empty()) continue;
          if (index < 0) index = builder.new_Index4Type(entry->Code, type, instance.number);
          Add(row_values, {instance.group, type, index, entry->Code}, cell);
        }
        continue;
      }
      for (const auto& [column, entry] : instance.properties) {
        DecodeGoogleMValue(log_, CellAt(row, column), items, true);
        for (std::size_t k = 0; k < items.size(); ++k) {
          const std::u16string type = TypeWord(GoogleTypeWordOf(types, k));
          if ((flags_ & pcfUniteChild) != 0 && instance.group == csvgRelation && type == u"Child") {
            Add(row_values, {instance.group, type, 0, entry->Code}, std::move(items[k]));
            continue;
          }
          const int index = builder.new_Index4Type(entry->Code, type, instance.number);
          Add(row_values, {instance.group, type, index, entry->Code}, std::move(items[k]));
        }
      }
    }
  }

  void Rewrite(CsvCellsTable& cells,
               const std::vector<std::map<Key, std::vector<std::u16string>>>& values) {
    // The layout: a source column, or a plain key.
    struct Slot {
      std::size_t column = SIZE_MAX;
      const Key* key = nullptr;
    };
    std::vector<Slot> layout;
    const CsvRow& header = cells.front();
    CsvRow new_header;
    for (std::size_t c = 0; c < header.size(); ++c) {
      if (!grouped_[c]) {
        layout.push_back({c, nullptr});
        new_header.push_back(header[c]);
        continue;
      }
      for (const auto& [group, first] : first_column_) {
        if (first != c) continue;
        for (const Key& key : keys_[group]) {
          layout.push_back({SIZE_MAX, &key});
          new_header.push_back(BuildGooglePlainName(headers_, key.property, key.type, key.index,
                                                    (flags_ & pcfForce1stIndex) != 0));
        }
      }
    }
    for (std::size_t r = 1; r < cells.size(); ++r) {
      CsvRow& row = cells[r];
      CsvRow plain;
      plain.reserve(layout.size());
      for (const Slot& slot : layout) {
        if (slot.key == nullptr) {
          plain.push_back(CellAt(row, slot.column));
          continue;
        }
        const auto it = values[r].find(*slot.key);
        if (it == values[r].end()) {
          plain.emplace_back();
        } else {
          plain.push_back(it->second.size() == 1 ? it->second.front()
                                                 : EncodeGoogleMValue(it->second, -1));
        }
      }
      // Cells without a header stay behind the new columns.
      for (std::size_t c = header.size(); c < row.size(); ++c) plain.push_back(std::move(row[c]));
      row = std::move(plain);
    }
    cells.front() = std::move(new_header);
  }

  const CCsvHeaders& headers_;
  CLog& log_;
  const std::int32_t flags_;
  std::vector<Instance> instances_;
  std::vector<bool> grouped_;
  std::map<std::uint32_t, std::size_t> first_column_;  // group: its first column
  std::map<std::uint32_t, std::vector<Key>> keys_;     // group: its plain columns
};

}  // namespace

HRESULT PlainGoogleCsv(const CCsvHeaders& headers, CsvCellsTable& cells, std::int32_t flags) {
  return Plainer(headers, flags).Run(cells);
}

}  // namespace velmora::csv
