#include "vcard/multi_value.h"

namespace velmora::vcard {
namespace {

constexpr char kLabel[] = "CCardDocItemProp::GetDecodedMultiValue";

}  // namespace

void SplitMultiValue(CLog& log, std::u16string_view text, bool split_on_commas, int min_count,
                     std::vector<std::u16string>& list) {
  // The strings already in the list are refilled, so that a caller splitting
  // value after value into the same list keeps their room.
  std::size_t count = 0;
  auto next_component = [&]() -> std::u16string& {
    if (count == list.size()) list.emplace_back();
    std::u16string& component = list[count++];
    component.clear();
    return component;
  };
  auto is_stop = [split_on_commas](char16_t c) {
    return c == u';' || c == u'\\' || (split_on_commas && c == u',');
  };
  std::u16string* current = &next_component();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (true) {
    // Characters up to the next separator or backslash are copied as a run.
    std::size_t stop = i;
    while (stop < n && !is_stop(text[stop])) ++stop;
    current->append(text.substr(i, stop - i));
    if (stop == n) break;
    i = stop + 1;
    if (text[stop] != u'\\') {
      current = &next_component();
      continue;
    }
    if (i == n) {
      current->push_back(u'\\');  // a trailing backslash stays
      break;
    }
    const char16_t escaped = text[i];
    if (escaped == u';' || escaped == u'\\' || (split_on_commas && escaped == u',')) {
      current->push_back(escaped);
      ++i;
      continue;
    }
    log.LogError(kLabel, E_GENERIC_FAILURE, "unexpected escaped sequence(\"\\%c\")", escaped);
    current->push_back(u'\\');  // the next character is read as usual
  }
  list.resize(count);
  while (static_cast<int>(list.size()) < min_count) list.emplace_back();
}

}  // namespace velmora::vcard
