#include "foundation/supported_encodings.h"

#include <gtest/gtest.h>

#include "foundation/char_converter.h"
#include "foundation/code_page.h"
#include "support/case_file.h"
#include "support/log_capture.h"
#include "support/test_env.h"

namespace velmora {
namespace {

std::string Dump(const CSupportedEncodingsList& list) {
  std::string out;
  for (const auto& e : list.entries()) {
    out += Utf16ToUtf8Text(e.display_name) + "|" + Utf16ToUtf8Text(e.charset) + "|" +
           std::to_string(e.code_page) + (e.visible ? "" : "|h") + (e.system_locale ? "|sys" : "") +
           "\n";
  }
  return out;
}

constexpr char kBuiltIns[] = "UTF-8|utf-8|65001\n<System Locale>||-1|sys\n";

TEST(SupportedEncodingsTest, ReadsTheFileGrammar) {
  test::TempDir dir;
  for (const test::FileCase& c : test::ReadCases("foundation/data/supported_encodings.txt")) {
    SCOPED_TRACE(c.name);
    test::WriteFile(dir / "enc.txt", c["content"]);
    CLog log;
    CSupportedEncodingsList list(log, dir / "enc.txt");
    EXPECT_EQ(list.load_result(), c.Number("result"));
    EXPECT_EQ(Dump(list), std::string(kBuiltIns) + c["entries"]);
  }
}

TEST(SupportedEncodingsTest, MissingFileKeepsTheBuiltInsAndLogsOnce) {
  test::TempDir dir;
  test::CapturedLog captured;
  CSupportedEncodingsList list(captured.log, dir / "missing.txt");
  EXPECT_EQ(list.load_result(), HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Dump(list), kBuiltIns);
  EXPECT_EQ(captured.Count("Err[0x80070002] in CSupportedEncodingsList::CSupportedEncodingsList: "
                           "FAILED LoadSupportedEncodings( \"" +
                           (dir / "missing.txt").string() + "\" )"),
            1);
  EXPECT_EQ(captured.Problems(), 1) << captured.Text();
}

TEST(CharConverterTest, IndexesTheShippedList) {
  CLog log;
  CCharConverter converter(log, test::SourceDir() / "data" / "supportedEncodings.txt");
  ASSERT_EQ(converter.list().load_result(), S_OK);
  EXPECT_EQ(converter.IsoNameByCodePage(65001), u"utf-8");
  EXPECT_EQ(converter.IsoNameByCodePage(1251), u"windows-1251");
  EXPECT_EQ(converter.IsoNameByCodePage(-1), u"");
  EXPECT_EQ(converter.IsoNameByCodePage(4242), u"");
  ASSERT_NE(converter.FindByCharset(u"Shift_JIS"), nullptr);
  EXPECT_EQ(converter.FindByCharset(u"SHIFT_JIS")->code_page, 932);
  ASSERT_NE(converter.FindByDisplayName(u"cyrillic (koi8-r)"), nullptr);
  EXPECT_EQ(converter.FindByDisplayName(u"cyrillic (koi8-r)")->code_page, 20866);
  EXPECT_EQ(converter.FindByCharset(u"x-unknown"), nullptr);

  const auto pairs = converter.DocumentCharsetPairs();
  ASSERT_FALSE(pairs.empty());
  EXPECT_EQ(pairs.front(), (std::pair<std::string, int>("utf-8", 65001)));
  for (const auto& [name, code_page] : pairs) {
    EXPECT_GT(code_page, 0);
    // Every shipped code page must be one the platform converts.
    EXPECT_TRUE(codepage::IsKnown(code_page) || code_page == 28606) << name;
  }
}

}  // namespace
}  // namespace velmora
