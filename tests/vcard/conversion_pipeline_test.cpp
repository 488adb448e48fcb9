#include "vcard/conversion_pipeline.h"

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "support/test_env.h"

namespace velmora::vcard {
namespace {

const char kCopyable30[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;John;;;\r\nFN:John Doe\r\nX-UNKNOWN:kept\r\n"
    "END:VCARD\r\n";
const char kCard21[] =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Smith;Jane\r\nTEL;HOME:123\r\nEND:VCARD\r\n";

class CardConverterTest : public ::testing::Test {
 protected:
  CardConverterTest()
      : charsets_(log_, test::SourceDir() / "data" / "supportedEncodings.txt"),
        converter_(log_, charsets_, "PRODID:-//Test//EN") {}

  HRESULT Memory(std::string_view source, int version = 30, int code_page = 65001,
                 std::string_view iso = "utf-8",
                 const CCardConverter::Progress& progress = nullptr) {
    return converter_.ConvertMemory(source, version, code_page, iso, &text_, &list_, &converted_,
                                    &copied_, &errors_, progress);
  }
  HRESULT File(const std::filesystem::path& src, const std::filesystem::path& dst,
               bool skip_copy = false, int version = 30, int code_page = 65001,
               std::string_view iso = "utf-8") {
    return converter_.ConvertFile(src, version, code_page, iso, dst, skip_copy, &converted_,
                                  &copied_, &errors_);
  }
  std::string Counts() const {
    return std::to_string(converted_) + "/" + std::to_string(copied_) + "/" +
           std::to_string(errors_);
  }

  CLog log_;
  CCharConverter charsets_;
  CCardConverter converter_;
  test::TempDir dir_;
  std::string text_;
  std::vector<std::string> list_;
  int converted_ = -1, copied_ = -1, errors_ = -1;
};

// The cases of tests/vcard/data/converter_memory.txt: what is in the target
// form is copied, the rest converted.
TEST_F(CardConverterTest, Memory) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/converter_memory.txt")) {
    SCOPED_TRACE(c.name);
    converted_ = copied_ = errors_ = -1;
    EXPECT_EQ(Memory(c["input"], c.Number("version"), c["charset"] == "windows-1252" ? 1252 : 65001,
                     c["charset"]),
              c.Number("result"));
    EXPECT_EQ(Counts(), c["counts"]);
  }
}

TEST_F(CardConverterTest, JoinsCardsWithExactlyOneLineBreak) {
  ASSERT_EQ(Memory(std::string(kCard21) + kCard21 + kCopyable30), S_OK);
  ASSERT_EQ(list_.size(), 3u);
  // Converted cards lose their trailing line break; a copied card keeps its own.
  EXPECT_TRUE(list_[0].ends_with("END:VCARD"));
  EXPECT_EQ(list_[2], kCopyable30);
  EXPECT_EQ(text_, list_[0] + "\r\n" + list_[1] + "\r\n" + list_[2]);
  EXPECT_NE(list_[0].find("PRODID:-//Test//EN\r\n"), std::string::npos);
}

TEST_F(CardConverterTest, CountsCardsTheWriterRefuses) {
  // UTF-16 cannot be written as 8-bit vCard text: every card is refused.
  EXPECT_EQ(Memory(std::string(kCard21) + kCard21 + kCopyable30, 30, 1200, "utf-16"), S_FALSE);
  EXPECT_EQ(Counts(), "0/0/3");
  EXPECT_TRUE(text_.empty());
}

TEST_F(CardConverterTest, ProgressCanStopTheRun) {
  int calls = 0;
  auto stop_after_first = [&](int, int, int) { return ++calls < 1; };
  EXPECT_EQ(Memory(std::string(kCard21) + kCard21, 30, 65001, "utf-8", stop_after_first), 1);
  EXPECT_EQ(Counts(), "1/0/0");
  EXPECT_EQ(list_.size(), 1u);

  test::WriteFile(dir_ / "in.vcf", std::string(kCard21) + kCard21);
  calls = 0;
  EXPECT_EQ(converter_.ConvertFile(dir_ / "in.vcf", 30, 65001, "utf-8", dir_ / "out.vcf", false,
                                   &converted_, &copied_, &errors_, stop_after_first),
            1);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.vcf"));
}

TEST_F(CardConverterTest, FileCases) {
  const auto src = dir_ / "in.vcf";
  const auto dst = dir_ / "out.vcf";
  struct Case {
    const char* name;
    std::string source;
    bool skip_copy;
    bool same_file;
    HRESULT result;
    const char* counts;
    const char* destination;  // expected content, "=" for the source, null for none
  };
  const Case cases[] = {
      {"converted and written", kCard21, false, false, S_OK, "1/0/0", nullptr},
      {"copied as a file", kCopyable30, false, false, S_OK, "0/1/0", "="},
      {"copy skipped", kCopyable30, true, false, S_FALSE, "0/1/0", nullptr},
      {"same file left alone", kCopyable30, false, true, S_OK, "0/1/0", "="},
      {"missing END", std::string(kCard21) + "BEGIN:VCARD\r\nN:x\r\n", false, false, 1, "1/0/0",
       nullptr},
      {"empty file", "", false, false, -1, "0/0/0", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dst);
    test::WriteFile(src, c.source);
    // A relative path to the same file still counts as the same file.
    const auto target = c.same_file ? std::filesystem::relative(src) : dst;
    EXPECT_EQ(File(src, target, c.skip_copy), c.result);
    EXPECT_EQ(Counts(), c.counts);
    if (c.same_file) {
      EXPECT_EQ(test::ReadFile(src), c.source);
    } else if (c.destination == nullptr) {
      EXPECT_EQ(std::filesystem::exists(dst), c.result == S_OK);
    } else {
      EXPECT_EQ(test::ReadFile(dst), c.source);
    }
  }
  test::WriteFile(src, kCard21);
  ASSERT_EQ(File(src, dst), S_OK);
  const std::string written = test::ReadFile(dst);
  EXPECT_TRUE(written.starts_with("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
  EXPECT_TRUE(written.ends_with("END:VCARD"));
}

}  // namespace
}  // namespace velmora::vcard
