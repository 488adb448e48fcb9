// Loading CSV bytes: recognising and decoding the encoding, choosing another
// code page, and the failures of files and arguments.
#include "csv/csv_content.h"

#include <string>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "csv/csv_encoding.h"
#include "support/case_file.h"
#include "support/test_env.h"
#include "vcard/vcard_test_support.h"

namespace velmora::csv {
namespace {

using namespace std::string_literals;

// A content loading into a captured log.
class CsvContent : public ::testing::Test {
 protected:
  test::CapturedLog log;
  CCsvContent content{log.log};
};

const std::uint8_t* Bytes(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.data());
}

HRESULT Load(CCsvContent& content, const std::string& bytes, int code_page) {
  return content.LoadFromMemory(Bytes(bytes), static_cast<std::int32_t>(bytes.size()), code_page);
}

TEST(CsvContentCases, DecodesEveryEncoding) {
  for (const test::FileCase& c : test::ReadCases("csv/data/decode.txt")) {
    SCOPED_TRACE(c.name);
    test::CapturedLog log;
    CCsvContent content(log.log);
    // Zeros are replaced in a copy: the caller's bytes stay as they were.
    const std::string bytes = c["bytes"];
    ASSERT_EQ(Load(content, bytes, c.Number("default")), S_OK);
    EXPECT_EQ(bytes, c["bytes"]);
    EXPECT_EQ(Utf16ToUtf8(content.text()), c["text"]);
    EXPECT_EQ(content.TextLength(), static_cast<std::int32_t>(Utf8ToUtf16(c["text"]).size()));
    EXPECT_EQ(content.Codepage(), c.Number("code page"));
    EXPECT_EQ(content.CodepageDetected(), c.Number("detected"));
    EXPECT_EQ(content.HasRawBytes(), c.Number("detected") == 0);
    const int bad = c.Number("bad");
    if (bad > 0) {
      EXPECT_EQ(
          log.Count("in CCsvContent.LoadFromFile: Content contains unencoded binary data(" +
                    std::to_string(bad) + " bad symbols)! It cannot be imported correctly.\n"),
          1);
    }
    for (const std::string& warning : c.All("warned")) EXPECT_TRUE(log.Has(warning)) << warning;
    EXPECT_EQ(log.Problems(), (bad > 0 ? 1 : 0) + static_cast<int>(c.All("warned").size()))
        << log.Text();
  }
}

TEST_F(CsvContent, BadArgumentsLeaveTheContentEmpty) {
  ASSERT_EQ(Load(content, "Ren\xE9", 1252), S_OK);
  EXPECT_EQ(content.LoadFromMemory(nullptr, 3, 1252), E_INVALIDARG);
  EXPECT_TRUE(content.text().empty());
  EXPECT_FALSE(content.HasRawBytes());
  EXPECT_EQ(content.Codepage(), 0);

  const std::string bytes = "abc";
  EXPECT_EQ(content.LoadFromMemory(Bytes(bytes), 0, 1252), E_INVALIDARG);
  EXPECT_EQ(content.LoadFromMemory(Bytes(bytes), -1, 1252), E_INVALIDARG);
  EXPECT_EQ(log.Count("ASSERT failed in line"), 3);

  // 28602 would be ISO-8859-12, which was never published.
  EXPECT_EQ(content.LoadFromMemory(Bytes(bytes), 3, 28602), E_INVALIDARG);
  EXPECT_TRUE(log.Has("CCsvContent.LoadFromMemory: Unknown code page(28602)"));
  EXPECT_TRUE(content.text().empty());
}

TEST_F(CsvContent, SetCodepageDecodesTheRawBytesAgain) {
  ASSERT_EQ(Load(content, "\xCF\xF0\xE8", 1252), S_OK);
  EXPECT_EQ(content.text(), u"Ïðè");

  EXPECT_TRUE(content.SetCodepage(1251));
  EXPECT_EQ(content.text(), u"При");
  EXPECT_EQ(content.Codepage(), 1251);
  EXPECT_EQ(content.CodepageDetected(), 0);
  EXPECT_TRUE(content.SetCodepage(1251));
  EXPECT_EQ(content.text(), u"При");

  EXPECT_FALSE(content.SetCodepage(28602));
  EXPECT_TRUE(log.Has("CCsvContent.SetCodepage: Unknown code page(28602)"));
  EXPECT_EQ(content.text(), u"При");
  EXPECT_EQ(content.Codepage(), 1251);

  EXPECT_TRUE(content.SetCodepage(0));
  EXPECT_EQ(content.Codepage(), test::kTestAnsiCodePage);
  EXPECT_EQ(content.text(), u"Ïðè");
  EXPECT_TRUE(content.HasRawBytes());

  // The kept raw bytes are the content's own copy.
  std::string buffer = "\xCF\xE8\0\xE8"s;
  ASSERT_EQ(Load(content, buffer, 1252), S_OK);
  buffer.assign(buffer.size(), 'x');
  EXPECT_TRUE(content.SetCodepage(1251));
  EXPECT_EQ(content.text(), u"Пи и");
}

TEST_F(CsvContent, RecognisedEncodingIsReadOnly) {
  ASSERT_EQ(Load(content, "Ren\xC3\xA9", 1252), S_OK);
  EXPECT_FALSE(content.SetCodepage(1252));
  EXPECT_EQ(content.text(), u"René");
  EXPECT_EQ(content.Codepage(), 65001);
  EXPECT_EQ(log.Problems(), 0);
}

TEST_F(CsvContent, LoadsFilesAndLogsFailuresWithTheirStep) {
  test::TempDir dir;

  test::WriteFile(dir / "utf16.csv",
                  "\xFF\xFE"
                  "a\0,\0b\0"s);
  EXPECT_EQ(content.LoadFromFile(dir / "utf16.csv", 1252), S_OK);
  EXPECT_EQ(content.text(), u"a,b");
  EXPECT_EQ(content.CodepageDetected(), 1200);

  test::WriteFile(dir / "empty.csv", "");
  EXPECT_EQ(content.LoadFromFile(dir / "empty.csv", 1252), S_NO_CONTENT);
  EXPECT_TRUE(content.text().empty());
  EXPECT_FALSE(content.HasRawBytes());
  EXPECT_EQ(log.Problems(), 0);

  // Failures name their step.
  ASSERT_EQ(Load(content, "stale", 1252), S_OK);

  EXPECT_EQ(content.LoadFromFile(dir / "missing.csv", 1252),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(content.text().empty());
  EXPECT_TRUE(log.Has("Err[0x80070002] in CCsvContent.LoadFromFile: File.Create\n"));

  EXPECT_EQ(content.LoadFromFile(dir.path(), 1252), HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED));
  EXPECT_TRUE(log.Has("Err[0x80070005] in CCsvContent.LoadFromFile: File.Create\n"));
}

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
}  // namespace velmora::csv
