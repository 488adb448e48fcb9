#include "foundation/supported_encodings.h"

#include <gtest/gtest.h>

#include "foundation/char_converter.h"
#include "foundation/code_page.h"
#include "foundation/file_system.h"
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
  struct Case {
    const char* content;
    HRESULT result;
    const char* entries;  // after the built-ins
  };
  const Case cases[] = {
      {"Cyrillic (Windows)|windows-1251|1251|\r\n", S_OK, "Cyrillic (Windows)|windows-1251|1251\n"},
      {"Western|iso-8859-1|28591|hidden", S_OK, "Western|iso-8859-1|28591|h\n"},
      {"Western|iso-8859-1|28591", S_OK, "Western|iso-8859-1|28591\n"},
      {"A|a|1|NO\nB|b|2|False\nC|c|3|0\nD|d|4|yes\nE|e|5| h ", S_OK,
       "A|a|1|h\nB|b|2|h\nC|c|3|h\nD|d|4\nE|e|5|h\n"},
      // Empty fields do not count: the visibility moves into the code page.
      {"Shift||932|", S_FALSE, ""},
      {"  Spaced  |  x-sp  |  1250  \n\n\r\nNext|n|1251", S_OK, "Spaced|x-sp|1250\nNext|n|1251\n"},
      // A repeated code page (the built-in UTF-8 too) is skipped quietly.
      {"Again|utf8|65001\nW|w|1252\nW2|w2|1252", S_OK, "W|w|1252\n"},
      // Bad lines are counted and skipped; the rest is read.
      {"Bad|x|abc\nOnly|two\nGood|g|1253\n|||\n", 3, "Good|g|1253\n"},
      {"", S_OK, ""},
      // An empty first line ends the file.
      {"\r\nLost|l|1250", S_OK, ""},
      // Numbers read as atoi does: a sign and leading digits.
      {"Sign|s| +1257x", S_OK, "Sign|s|1257\n"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    test::WriteFile(dir / "enc.txt", c.content);
    CLog log;
    CSupportedEncodingsList list(log, dir / "enc.txt");
    EXPECT_EQ(list.load_result(), c.result);
    EXPECT_EQ(Dump(list), std::string(kBuiltIns) + c.entries);
  }
}

TEST(SupportedEncodingsTest, MissingFileKeepsTheBuiltInsAndLogsOnce) {
  test::TempDir dir;
  files::OverrideAppDataFolder(dir.path());
  {
    CLog log;
    log.Init(ModuleInfo{}, u"enc", u"Zorva", u"VCF", 1, true);
    CSupportedEncodingsList list(log, dir / "missing.txt");
    EXPECT_EQ(list.load_result(), HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Dump(list), kBuiltIns);
  }
  files::OverrideAppDataFolder(test::SandboxDir() / "appdata");
  const std::string errors = test::ReadFile(dir / "Zorva" / "VCF" / "enc.err");
  EXPECT_NE(errors.find("Err[0x80070002] in CSupportedEncodingsList::CSupportedEncodingsList: "
                        "FAILED LoadSupportedEncodings( \"" +
                        (dir / "missing.txt").string() + "\" )"),
            std::string::npos);
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
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
