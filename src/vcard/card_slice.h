// A slice of a vCard document's content: where a piece of text starts in the
// document's one content buffer and how many bytes it spans. The reader never
// copies names, parameters or values; it records slices, which stay valid
// until the document is cleared, reloaded or destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora::vcard {

struct CardSlice {
  const char* start = nullptr;
  std::int32_t length = 0;

  CardSlice() = default;
  CardSlice(const char* begin, const char* end)
      : start(begin), length(static_cast<std::int32_t>(end - begin)) {}

  bool empty() const { return length <= 0; }
  const char* end() const { return start + length; }
  std::string_view view() const {
    return start ? std::string_view(start, static_cast<std::size_t>(length)) : std::string_view();
  }
};

}  // namespace velmora::vcard
