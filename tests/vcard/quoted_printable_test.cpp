#include "vcard/quoted_printable.h"

#include <string>

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(QuotedPrintable, Extent) {
  const struct {
    std::string text;
    std::size_t value_length;
    std::size_t cursor;
  } cases[] = {
      {"a=\r\nb\r\nX", 5, 7}, {"a=\rb\rX", 4, 5},   {"a=\nb\nX", 4, 5}, {"=41=42\r\nX", 6, 8},
      {"abc", 3, 3},          {"abc=", 4, 4},  // '=' right before the end of the text
      {"abc=4", 5, 5},                         // '=' with one more character
      {"abc=\r", 5, 5},       {"=\r\n=\r\n", 6, 6}, {"", 0, 0},
  };
  for (const auto& c : cases) {
    const char* cursor = nullptr;
    const char* end =
        QuotedPrintableExtent(c.text.c_str(), c.text.c_str() + c.text.size(), &cursor);
    EXPECT_EQ(static_cast<std::size_t>(end - c.text.c_str()), c.value_length) << c.text;
    EXPECT_EQ(static_cast<std::size_t>(cursor - c.text.c_str()), c.cursor) << c.text;
  }
}

}  // namespace
}  // namespace velmora
