#include "vcard/multi_value.h"

namespace velmora {
namespace {

constexpr char kLabel[] = "CCardDocItemProp::GetDecodedMultiValue";

}  // namespace

void SplitMultiValue(CLog& log, std::u16string_view text, bool split_on_commas,
                     int min_count, std::vector<std::u16string>& list) {
  list.clear();
  std::u16string current;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c == u'\\' && i + 1 < n) {
      const char16_t next = text[i + 1];
      if (next == u';' || next == u'\\' || (split_on_commas && next == u',')) {
        current.push_back(next);
        ++i;
        continue;
      }
      log.LogError(kLabel, E_GENERIC_FAILURE, "unexpected escaped sequence(\"\\%c\")",
                   next);
      current.push_back(c);
      continue;
    }
    if (c == u';' || (split_on_commas && c == u',')) {
      list.push_back(std::move(current));
      current.clear();
      continue;
    }
    current.push_back(c);
  }
  list.push_back(std::move(current));
  while (static_cast<int>(list.size()) < min_count) list.emplace_back();
}

}  // namespace velmora
