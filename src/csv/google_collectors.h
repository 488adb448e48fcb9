// Google's grouped columns of one row, gathered per group and instance
// while a row is imported, then applied to the contact in group order.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "contact/contact_record.h"
#include "foundation/log.h"

namespace velmora::csv {

// Appends a "Header: value" line to `notes` (CR LF between lines), keeping
// a value that has no field of its own; nothing for an empty value.
void AddNoteLine(std::u16string& notes, std::u16string_view header, std::u16string_view value);

class GoogleCollectors {
 public:
  // Stores the cell of grouped column `code` (group, instance, property),
  // whose header reads `name`.
  void Collect(std::uint32_t code, std::u16string_view name, std::u16string value);

  // Adds what was collected to `contact`: e-mails, IMs, phones, addresses,
  // organisations, relations, external IDs, websites, calendar links,
  // events, custom fields and jots, each from its type words. Values with
  // no field of their own become "Header: value" lines of `extra_notes`.
  void Apply(CLog& log, contact::ContactRecord& contact, std::u16string& extra_notes) const;

  bool empty() const { return entries_.empty(); }

 private:
  // One group instance: its Type (property 0) and the other properties.
  struct Entry {
    std::array<std::u16string, 18> properties;  // by ECsvHeaderGroupProp
    std::array<std::u16string, 18> names;       // their headers
  };
  // (group, instance) in order.
  std::map<std::pair<std::uint32_t, std::uint32_t>, Entry> entries_;
};

}  // namespace velmora::csv
