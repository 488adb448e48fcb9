#include "csv/csv_header_index_builder.h"

#include <string>

#include <velmora/enums.h>

namespace velmora::csv {
namespace {

constexpr char kLabel[] = "CCsvHeaderIndexBuilder.new_Index4Type";

std::u16string Number(std::uint32_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// "%d.*": the group's instances.
std::u16string GroupKey(std::uint32_t group) { return Number(group) + u".*"; }
// "%d.*.%s": the group's instances of one type.
std::u16string TypeKey(std::uint32_t group, std::u16string_view type) {
  return GroupKey(group).append(1, u'.').append(type);
}
// "%d.%d.%s": what one instance of one type was given.
std::u16string InstanceKey(std::uint32_t group, int instance, std::u16string_view type) {
  return Number(group)
      .append(1, u'.')
      .append(Number(static_cast<std::uint32_t>(instance)))
      .append(1, u'.')
      .append(type);
}

}  // namespace

int CCsvHeaderIndexBuilder::new_Index4Type(std::uint32_t code, std::u16string_view type,
                                           int instance, int* group_instance) {
  const std::uint32_t group = code >> 24;
  const bool spans_columns = group == csvgAddress || group == csvgOrganization;
  std::u16string instance_key;
  if (spans_columns) {
    log_.LogAssert(instance >= 1, kLabel, __LINE__);
    instance_key = InstanceKey(group, instance, type);
    if (const auto it = remembered_.find(instance_key); it != remembered_.end()) {
      if (group_instance != nullptr) *group_instance = it->second.group_instance;
      return it->second.index;
    }
  }
  const int number = ++counters_[GroupKey(group)];
  const int index = counters_[TypeKey(group, type)]++;
  if (spans_columns) remembered_.emplace(std::move(instance_key), Remembered{index, number});
  if (group_instance != nullptr) *group_instance = number;
  return index;
}

}  // namespace velmora::csv
