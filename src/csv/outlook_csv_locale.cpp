#include "csv/outlook_csv_locale.h"

#include "foundation/text_util.h"

namespace velmora::csv {

void COutlookCsvLocale::AddHeader(std::u16string name, std::uint32_t code) {
  const int position = static_cast<int>(headers_.size());
  Header header;
  header.code = code;
  auto [it, first] = by_name_.try_emplace(text::ToUpper(name), position);
  chain_last_.push_back(position);
  if (!first) {
    // Append to the chain: its head records where the chain ends.
    int& last = chain_last_[static_cast<std::size_t>(it->second)];
    header.previous = last;
    headers_[static_cast<std::size_t>(last)].next = position;
    last = position;
  }
  header.name = std::move(name);
  headers_.push_back(std::move(header));
  by_code_.try_emplace(code, position);
}

std::uint32_t COutlookCsvLocale::FindHeaderCode(std::u16string_view name, int sub_index) const {
  const auto it = by_name_.find(text::ToUpper(name));
  if (it == by_name_.end()) return 0;
  return HeaderCode(it->second, sub_index);
}

std::u16string COutlookCsvLocale::FindHeaderName(std::uint32_t code) const {
  const auto it = by_code_.find(code);
  return it == by_code_.end() ? std::u16string()
                              : headers_[static_cast<std::size_t>(it->second)].name;
}

std::u16string COutlookCsvLocale::HeaderName(int index) const {
  if (index < 0 || index >= HeaderCount()) return {};
  return headers_[static_cast<std::size_t>(index)].name;
}

int COutlookCsvLocale::HeaderCodeCount(int index) const {
  if (index < 0 || index >= HeaderCount()) return 0;
  int count = 0;
  for (int i = index; i >= 0; i = headers_[static_cast<std::size_t>(i)].next) ++count;
  return count;
}

std::uint32_t COutlookCsvLocale::HeaderCode(int index, int sub_index) const {
  if (index < 0 || index >= HeaderCount() || sub_index < 0) return 0;
  int i = index;
  for (; sub_index > 0 && i >= 0; --sub_index) i = headers_[static_cast<std::size_t>(i)].next;
  return i < 0 ? 0 : headers_[static_cast<std::size_t>(i)].code;
}

std::u16string COutlookCsvLocale::Word(std::size_t first, std::size_t count, int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= count) return {};
  return value_words_[first + static_cast<std::size_t>(index)];
}

}  // namespace velmora::csv
