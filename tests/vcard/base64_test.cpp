#include "vcard/base64.h"

#include <string>

#include <gtest/gtest.h>

namespace velmora::vcard {
namespace {

TEST(Base64, CapacityAndMeasuring) {
  std::uint8_t two[2] = {0, 0};
  std::int32_t size = 2;
  EXPECT_FALSE(Base64Decode("QUJD", 4, two, &size));
  EXPECT_EQ(size, 3);  // the whole length is reported
  EXPECT_EQ(two[0], 'A');
  EXPECT_EQ(two[1], 'B');

  size = 100;
  EXPECT_FALSE(Base64Decode("QUJDRA==", 8, nullptr, &size));
  EXPECT_EQ(size, 4);
  EXPECT_FALSE(Base64Decode("QUJD", 4, two, nullptr));
  size = 5;
  EXPECT_TRUE(Base64Decode(nullptr, 4, two, &size));
  EXPECT_EQ(size, 0);
}

TEST(Base64, ExtentStopsInsideItsText) {
  // Every prefix of a multi-line value, each time followed by the end of the
  // text: the scan must stop at the terminator and never pass it.
  const std::string value = "\r\n  QUJD\r\n  REVG\r\n  Rw==\r\n\r\nTEL:1\r\n";
  for (std::size_t n = 0; n <= value.size(); ++n) {
    const std::string text = value.substr(0, n);
    const char* cursor = nullptr;
    const char* end = Base64Extent(text.c_str(), text.c_str() + text.size(), &cursor);
    EXPECT_LE(end, text.c_str() + n);
    EXPECT_LE(cursor, text.c_str() + n);
    EXPECT_GE(end, text.c_str());
  }
  const char* cursor = nullptr;
  const char* end = Base64Extent(value.c_str(), value.c_str() + value.size(), &cursor);
  EXPECT_EQ(std::string(value.c_str(), end), "\r\n  QUJD\r\n  REVG\r\n  Rw==");
  EXPECT_EQ(std::string(cursor), "\r\nTEL:1\r\n");
}

TEST(Base64, ExtentOfLongLines) {
  const std::string data(64, 'Q');
  std::string text = data + "\r\n" + data + "\r\nTEL:1\r\n";
  const char* cursor = nullptr;
  const char* end = Base64Extent(text.c_str(), text.c_str() + text.size(), &cursor);
  EXPECT_EQ(std::string(text.c_str(), end), data + "\r\n" + data);
  EXPECT_EQ(std::string(cursor), "TEL:1\r\n");

  // Data after padding ends the value; on the first line it gives nothing.
  text = std::string(40, 'A') + "==" + std::string(30, 'B') + "\r\n";
  end = Base64Extent(text.c_str(), text.c_str() + text.size(), &cursor);
  EXPECT_EQ(end, text.c_str());
  EXPECT_EQ(cursor, text.c_str());

  // A character outside the alphabet deep inside a long first line.
  text = std::string(37, 'A') + "!" + std::string(30, 'B');
  end = Base64Extent(text.c_str(), text.c_str() + text.size(), &cursor);
  EXPECT_EQ(end, text.c_str());
  // Bytes from 0x80 are outside the alphabet too.
  text = "\r\n " + std::string(20, 'A') + "\xC3\xA9" + std::string(20, 'A') + "\r\n";
  end = Base64Extent(text.c_str(), text.c_str() + text.size(), &cursor);
  EXPECT_EQ(end, text.c_str());
}

}  // namespace
}  // namespace velmora::vcard
