#include "csv/csv_encoding.h"

#include <string>

#include <gtest/gtest.h>

#include "support/case_file.h"

namespace velmora {
namespace {

// The cases of tests/csv/data/encoding.txt.
TEST(CsvEncoding, Cases) {
  for (const test::FileCase& c : test::ReadCases("csv/data/encoding.txt")) {
    SCOPED_TRACE(c.name);
    if (c.Has("code page")) {
      const CsvEncodingGuess guess = DetectCsvEncoding(c["bytes"]);
      EXPECT_EQ(guess.code_page, c.Number("code page"));
      EXPECT_EQ(guess.mark_length, static_cast<std::size_t>(c.Number("mark")));
    }
    for (const char* key : {"yes", "no"}) {
      for (const std::string& bytes : c.All(key)) {
        std::string hex;
        for (unsigned char b : bytes) hex += std::to_string(b) + " ";
        EXPECT_EQ(CsvLooksLikeUtf8(bytes), key[0] == 'y') << hex;
      }
    }
  }
}

}  // namespace
}  // namespace velmora
