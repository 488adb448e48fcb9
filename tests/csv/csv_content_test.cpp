#include "csv/csv_content.h"

#include <string>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "support/test_env.h"
#include "vcard/vcard_test_support.h"

namespace velmora {
namespace {

using namespace std::string_literals;
using test::CapturedLog;

const std::uint8_t* Bytes(const std::string& s) {
  return reinterpret_cast<const std::uint8_t*>(s.data());
}

HRESULT Load(CCsvContent& content, const std::string& bytes, int code_page) {
  return content.LoadFromMemory(Bytes(bytes), static_cast<std::int32_t>(bytes.size()), code_page);
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  int default_code_page;
  std::u16string text;
  int code_page;
  int detected;
  int bad_symbols;  // zero units reported, 0 for none
};

// The same name in the encodings address books write; the expected texts
// are the characters the bytes stand for in each encoding's table.
const DecodeCase kDecodeCases[] = {
    {"UTF-8 with mark", "\xEF\xBB\xBFRen\xC3\xA9,\xD0\x9F", 1252, u"René,П", 65001, 65001, 0},
    {"UTF-8 without mark", "Ren\xC3\xA9", 1252, u"René", 65001, 65001, 0},
    {"UTF-16LE with mark", "\xFF\xFER\0\xE9\0,\0\x1F\x04"s, 1252, u"Ré,П", 1200, 1200, 0},
    {"UTF-16BE with mark", "\xFE\xFF\0R\0\xE9\0,\x04\x1F"s, 1252, u"Ré,П", 1201, 1201, 0},
    {"UTF-16LE without mark", "a\0b\0"s, 1252, u"ab", 1200, 1200, 0},
    {"UTF-16BE without mark", "\0a\0b"s, 1252, u"ab", 1201, 1201, 0},
    {"ASCII is left to the code page", "a,b", 1251, u"a,b", 1251, 0, 0},
    {"windows-1252", "Ren\xE9", 1252, u"René", 1252, 0, 0},
    {"windows-1251", "\xCF\xF0\xE8", 1251, u"При", 1251, 0, 0},
    {"Shift_JIS", "\x93\xFA\x96\x7B", 932, u"日本", 932, 0, 0},
    {"ANSI code page for 0", "Ren\xE9", 0, u"René", test::kTestAnsiCodePage, 0, 0},
    {"ANSI code page for negative", "Ren\xE9", -7, u"René", test::kTestAnsiCodePage, 0, 0},
    {"one byte", "x", 1252, u"x", 1252, 0, 0},
    {"zero byte in 8-bit text", "ab\0c"s, 1252, u"ab c", 1252, 0, 1},
    {"zero bytes after a UTF-8 mark", "\xEF\xBB\xBF\0a\0"s, 1252, u" a ", 65001, 65001, 2},
    {"zero unit in UTF-16LE",
     "\xFF\xFE"
     "a\0\0\0b\0"s,
     1252, u"a b", 1200, 1200, 1},
    {"zero unit in UTF-16BE", "\xFE\xFF\0a\0\0\0b"s, 1252, u"a b", 1201, 1201, 1},
    {"UTF-8 test stops at a zero byte", "\xC3\xA9\0\xE9"s, 1252, u"é \uFFFD", 65001, 65001, 1},
};

TEST(CsvContent, DecodesEveryEncoding) {
  for (const DecodeCase& c : kDecodeCases) {
    CapturedLog log;
    CCsvContent content(log.log);
    ASSERT_EQ(Load(content, c.bytes, c.default_code_page), S_OK) << c.name;
    EXPECT_EQ(Utf16ToUtf8(content.text()), Utf16ToUtf8(c.text)) << c.name;
    EXPECT_EQ(content.TextLength(), static_cast<std::int32_t>(c.text.size())) << c.name;
    EXPECT_EQ(content.Codepage(), c.code_page) << c.name;
    EXPECT_EQ(content.CodepageDetected(), c.detected) << c.name;
    EXPECT_EQ(content.HasRawBytes(), c.detected == 0) << c.name;
    if (c.bad_symbols > 0) {
      EXPECT_EQ(log.Count("in CCsvContent.LoadFromFile: Content contains unencoded binary data(" +
                          std::to_string(c.bad_symbols) +
                          " bad symbols)! It cannot be imported correctly.\n"),
                1)
          << c.name;
    }
    EXPECT_EQ(log.Problems(), c.bad_symbols > 0 ? 1 : 0) << c.name << log.Text();
  }
}

TEST(CsvContent, OddUtf16ByteIsDroppedWithAWarning) {
  CapturedLog log;
  CCsvContent content(log.log);
  ASSERT_EQ(Load(content,
                 "\xFF\xFE"
                 "a\0b"s,
                 1252),
            S_OK);
  EXPECT_EQ(content.text(), u"a");
  EXPECT_TRUE(log.Has("War[-1] in CCsvContent.LoadFromFile: UTF-16 content has an odd byte"));
}

TEST(CsvContent, CallerBufferIsNotModified) {
  // Zeros are replaced in a copy; the kept raw bytes are that copy.
  const std::pair<std::string, std::u16string> cases[] = {
      {"\xFE\xFF\0a\0\0"s, u"a "},
      {"\xEF\xBB\xBF\xC3\xA9\0"s, u"é "},
      {"\xCF\xE8\0\xE8"s, u"Ïè è"},
  };
  for (const auto& [original, text] : cases) {
    CapturedLog log;
    CCsvContent content(log.log);
    std::string buffer = original;
    ASSERT_EQ(Load(content, buffer, 1252), S_OK);
    EXPECT_EQ(buffer, original);
    EXPECT_EQ(content.text(), text);
  }
  CapturedLog log;
  CCsvContent content(log.log);
  std::string buffer = "\xCF\xE8\0\xE8"s;
  ASSERT_EQ(Load(content, buffer, 1252), S_OK);
  buffer.assign(buffer.size(), 'x');
  EXPECT_TRUE(content.SetCodepage(1251));
  EXPECT_EQ(content.text(), u"Пи и");
}

TEST(CsvContent, BadArgumentsLeaveTheContentEmpty) {
  CapturedLog log;
  CCsvContent content(log.log);
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

TEST(CsvContent, SetCodepageDecodesTheRawBytesAgain) {
  CapturedLog log;
  CCsvContent content(log.log);
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
}

TEST(CsvContent, RecognisedEncodingIsReadOnly) {
  CapturedLog log;
  CCsvContent content(log.log);
  ASSERT_EQ(Load(content, "Ren\xC3\xA9", 1252), S_OK);
  EXPECT_FALSE(content.SetCodepage(1252));
  EXPECT_EQ(content.text(), u"René");
  EXPECT_EQ(content.Codepage(), 65001);
  EXPECT_EQ(log.Problems(), 0);
}

TEST(CsvContent, LoadsFiles) {
  test::TempDir dir;
  CapturedLog log;
  CCsvContent content(log.log);

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
}

TEST(CsvContent, FileFailuresAreLoggedWithTheirStep) {
  test::TempDir dir;
  CapturedLog log;
  CCsvContent content(log.log);
  ASSERT_EQ(Load(content, "stale", 1252), S_OK);

  EXPECT_EQ(content.LoadFromFile(dir / "missing.csv", 1252),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(content.text().empty());
  EXPECT_TRUE(log.Has("Err[0x80070002] in CCsvContent.LoadFromFile: File.Create\n"));

  EXPECT_EQ(content.LoadFromFile(dir.path(), 1252), HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED));
  EXPECT_TRUE(log.Has("Err[0x80070005] in CCsvContent.LoadFromFile: File.Create\n"));
}

}  // namespace
}  // namespace velmora
