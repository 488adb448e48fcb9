// Dialect autodetection: the shipped Outlook locales written as their own
// exports, the real exports of the corpus, the dialect rules on header
// rows, and reading no more of a file than its first two rows.
#include "csv/csv_autodetect.h"

#include <string>
#include <vector>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "csv/csv_content.h"
#include "csv/csv_encoding.h"
#include "csv_test_support.h"
#include "foundation/code_page.h"
#include "support/case_file.h"

namespace velmora::csv {
namespace {

using test::U8;

// A catalogue with the shipped Outlook locales, and an engine over it.
class Autodetect : public test::CsvTest {
 protected:
  Autodetect() : CsvTest(true) {}

  CsvDetection Detect(std::string_view bytes, bool detect_locale = true) {
    const std::filesystem::path file = dir_ / "in.csv";
    test::WriteFile(file, bytes);
    return DetectFile(file, detect_locale);
  }
  CsvDetection DetectFile(const std::filesystem::path& file, bool detect_locale = true) {
    CsvDetection found;
    EXPECT_EQ(csv_.AutodetectCsvFile(file, detect_locale, &found), S_OK) << file;
    return found;
  }
  std::vector<std::u16string> Names(ECsvType type, int variant) const {
    std::vector<std::u16string> names;
    for (const CCsvHeader* entry : headers_.GetHeaderList(type, variant)) {
      names.push_back(CCsvHeaders::GetName(*entry, type));
    }
    return names;
  }
  ECsvType TypeOf(const std::vector<std::u16string>& names, bool* custom) const {
    return DetectCsvTypeByCodes(headers_, FindHeaderCodes(headers_, names).codes, custom);
  }

  test::TempDir dir_;
};

std::u16string Join(const std::vector<std::u16string>& names, std::u16string_view separator) {
  std::u16string row;
  for (const std::u16string& name : names) {
    if (!row.empty()) row += separator;
    row += name;
  }
  return row;
}

// Every shipped locale's header row, written as that Outlook writes it (its
// ANSI code page) and as UTF-8 with a mark, is recognised with its LID.
// Locales whose names are all English are found without locale detection
// too, and then have no LID.
TEST_F(Autodetect, ShippedLocalesAreRecognisedInTheirOwnEncodings) {
  ASSERT_EQ(headers_.LocaleCount(), 11);
  for (int i = 0; i < headers_.LocaleCount(); ++i) {
    const COutlookCsvLocale& locale = *headers_.Locale(i);
    std::vector<std::u16string> names;
    for (int h = 0; h < locale.HeaderCount(); ++h) names.push_back(locale.HeaderName(h));
    // Quoted names, then a data row.
    std::u16string text(1, u'"');
    text.append(Join(names, u"\",\"")).append(u"\"\r\nDr.,Ann");
    text.append(names.size() - 2, u',').append(u"\r\n");
    const bool english = FindHeaderCodes(headers_, names).unknown_count == 0;
    struct Encoding {
      int code_page;
      std::string mark;
    };
    for (const Encoding& encoding :
         {Encoding{locale.Codepage, ""}, Encoding{65001, "\xEF\xBB\xBF"}}) {
      SCOPED_TRACE(U8(locale.LID) + " in " + std::to_string(encoding.code_page));
      const std::string bytes = encoding.mark + codepage::FromUtf16(encoding.code_page, text);
      const CsvDetection found = Detect(bytes);
      EXPECT_EQ(found.type, vlmcsvOutlook);
      EXPECT_EQ(U8(found.lid), english ? "" : U8(locale.LID));
      const int expected_cp = encoding.mark.empty() ? (english ? 0 : locale.Codepage) : 65001;
      EXPECT_EQ(found.encoding_cp, expected_cp);
      EXPECT_EQ(found.header_row, names);
      EXPECT_FALSE(found.empty);
      EXPECT_FALSE(found.has_custom_headers);
      EXPECT_EQ(Detect(bytes, false).type, english ? vlmcsvOutlook : vlmcsvUnknown);
    }
  }
}

TEST_F(Autodetect, CorpusExports) {
  for (const test::FileCase& c : test::ReadCases("csv/data/corpus_dialects.txt")) {
    SCOPED_TRACE(c.name);
    const CsvDetection found = DetectFile(test::CorpusDir() / c.name);
    EXPECT_EQ(found.type, test::CsvTypeNamed(c["dialect"]));
    EXPECT_EQ(U8(found.separator), c.Has("separator") ? c["separator"] : ",");
    EXPECT_EQ(U8(found.lid), c.Has("lid") ? c["lid"] : "");
    EXPECT_EQ(found.encoding_cp, c.Number("code page"));
    EXPECT_EQ(found.has_custom_headers, c.Has("custom"));
    EXPECT_FALSE(found.empty);
  }
}

TEST_F(Autodetect, DialectRules) {
  for (const test::FileCase& c : test::ReadCases("csv/data/dialect_rules.txt")) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> list = test::Split(c["list"], " ");
    std::vector<std::u16string> names = Names(test::CsvTypeNamed(list[0]), std::stoi(list[1]));
    for (const std::string& name : c.All("add")) names.push_back(test::U16(name));
    for (const std::string& name : c.All("drop")) std::erase(names, test::U16(name));
    bool custom = !c.Has("custom");
    EXPECT_EQ(TypeOf(names, &custom), test::CsvTypeNamed(c["dialect"]));
    EXPECT_EQ(custom, c.Has("custom"));
  }
}

TEST_F(Autodetect, ShortTexts) {
  for (const test::FileCase& c : test::ReadCases("csv/data/autodetect_text.txt")) {
    SCOPED_TRACE(c.name);
    if (c.Has("file")) {
      const CsvDetection found = Detect(c["file"]);
      EXPECT_EQ(found.type, vlmcsvUnknown);
      EXPECT_EQ(U8(found.separator), c["separator"]);
      EXPECT_EQ(U8(found.headers), c["headers"]);
      EXPECT_EQ(found.empty, c.Has("empty"));
    }
    if (c.Has("prefix")) {
      CCsvContent content(captured_.log);
      const std::string& bytes = c["bytes"];
      const std::string_view prefix = std::string_view(bytes).substr(0, c.Number("prefix"));
      ASSERT_EQ(
          content.LoadPrefix(prefix, prefix.size() == bytes.size(), DetectCsvEncoding(bytes), 1252),
          S_OK);
      EXPECT_EQ(U8(content.text()), c["text"]);
      EXPECT_EQ(content.IsPartial(), c.Has("partial"));
    }
    for (const std::string& line : c.All("locale")) {
      SCOPED_TRACE(line);
      const std::vector<std::string> parts = test::Split(line, " => ");
      const std::vector<std::u16string> names = test::Split16(parts[0], "|");
      const std::uint32_t first_code = headers_.FindCodeByName(test::U16(parts[2]));
      CsvDetection found;
      ASSERT_EQ(csv_.AutodetectCsvNames(names, true, &found), S_OK);
      EXPECT_EQ(U8(found.lid), parts[1]);
      ASSERT_EQ(found.codes.size(), names.size());
      EXPECT_EQ(found.codes.front(), first_code);

      found = Detect("\xEF\xBB\xBF" + U8(Join(names, u",")) + "\r\n");
      EXPECT_EQ(U8(found.lid), parts[1]);
      ASSERT_FALSE(found.codes.empty());
      EXPECT_EQ(found.codes.front(), first_code);

      ASSERT_EQ(csv_.AutodetectCsvNames(names, false, &found), S_OK);
      EXPECT_EQ(found.lid, u"");
    }
    for (const std::string& line : c.All("rows")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      CsvCellsTable cells;
      EXPECT_EQ(csv_.ParseLeadingRows(test::U16(parts[0]), parts[1] == "partial", 2, u",", &cells),
                parts[2] == "final")
          << line;
      EXPECT_EQ(cells.size(), std::stoul(parts[3])) << line;
    }
  }
  EXPECT_FALSE(captured_.Has("missed end quote"));
  // A recognised file with its header row only is empty.
  const std::string google = U8(Join(Names(vlmcsvGoogle, 2), u","));
  EXPECT_TRUE(Detect(google + "\r\n").empty);
  EXPECT_FALSE(Detect(google + "\r\nAnn\r\n").empty);
}

// Only the first rows are decoded, but the encoding is judged on every
// byte, and rows longer than the first slice are read whole.
TEST_F(Autodetect, ReadsTheFirstRowsOfLargeFiles) {
  const std::string google = U8(Join(Names(vlmcsvGoogle, 2), u","));
  const std::string filler(300000, 'x');
  // 200 KB of short lines: slices end inside it.
  std::string lines;
  for (int i = 0; i < 200; ++i) lines.append(1000, 'y').append("\r\n");
  struct Case {
    const char* what;
    std::string bytes;
    int encoding_cp;
    bool empty;
  };
  const Case kCases[] = {
      {"UTF-8 far behind", google + "\r\n" + filler + "\r\nZo\xC3\xAB\r\n", 65001, false},
      {"bad UTF-8 far behind", google + "\r\nZo\xC3\xAB\r\n" + filler + "\xE9\r\n", 0, false},
      {"a long quoted note in row 2", google + "\r\n\"" + lines + filler + "\"\r\nnext\r\n", 0,
       false},
      {"a long header row", google + "," + filler + "\r\n", 0, true},
      {"a header cell with line breaks", "\"" + lines + filler + "\"," + google + "\r\n", 0, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const CsvDetection found = Detect(c.bytes);
    EXPECT_EQ(found.type, vlmcsvGoogle);
    EXPECT_EQ(found.encoding_cp, c.encoding_cp);
    EXPECT_EQ(found.empty, c.empty);
  }
  EXPECT_FALSE(captured_.Has("missed end quote")) << captured_.Text();
}

TEST_F(Autodetect, UnreadableFiles) {
  CsvDetection found;
  EXPECT_EQ(csv_.AutodetectCsvFile(dir_ / "missing.csv", true, &found),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(captured_.Has("CCsvContent.LoadFromFile"));
  EXPECT_EQ(csv_.AutodetectCsvFile(dir_.path(), true, &found),
            HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED));
  EXPECT_EQ(csv_.AutodetectCsvFile("", true, &found), E_INVALIDARG);
  EXPECT_EQ(found.type, vlmcsvUnknown);
  EXPECT_TRUE(found.separator.empty());
}

// Header codes by one localised Outlook: repeated names take the next
// code of that name; without a LID only Outlook's own names count.
TEST_F(Autodetect, OutlookHeaderCodes) {
  // The third "Titre" has no code left; case does not tell names apart.
  const std::vector<std::u16string> french = {u"Titre", u"Prénom", u"TITRE", u"Inconnu", u"titre"};
  const CsvHeaderCodes row = FindOutlookHeaderCodes(headers_, french, u"1036", true);
  EXPECT_EQ(row.codes, (std::vector<std::uint32_t>{1, 2, 8, 0, 0}));
  EXPECT_EQ(row.known_count, 3);
  EXPECT_EQ(row.unknown_count, 2);
  EXPECT_EQ(U8(row.known_names),
            "\"Titre\" (Title)\n\"Prénom\" (First Name)\n\"TITRE\" (Job Title)");
  EXPECT_EQ(U8(row.unknown_names), "Inconnu\ntitre");

  const std::vector<std::u16string> mixed = {u"first name", u"Group Membership",
                                             u"E-mail 1 - Value"};
  const CsvHeaderCodes english = FindOutlookHeaderCodes(headers_, mixed, u"", false);
  EXPECT_EQ(english.codes,
            (std::vector<std::uint32_t>{headers_.FindCodeByName(u"First Name"), 0, 0}));
  EXPECT_EQ(FindHeaderCodes(headers_, mixed).unknown_count, 0);

  EXPECT_TRUE(FindOutlookHeaderCodes(headers_, mixed, u"9999", false).codes.empty());
  EXPECT_TRUE(captured_.Has("Invalid locale(9999)"));
}

// The UTF-8 test gives the same verdict whatever pieces the content comes
// in, a sequence cut between two pieces included.
TEST(CsvUtf8Test, PiecesGiveTheVerdictOfTheWhole) {
  const std::string kTexts[] = {"plain ascii only",
                                "Zo\xC3\xAB and \xE2\x82\xAC and \xF0\x9F\x98\x80",
                                "caf\xC3\xA9 then bad \xE9 byte", "cut \xE2\x82",
                                std::string("\xC3\xA9 then \0 then \xE9", 16)};
  for (const std::string& text : kTexts) {
    const bool expected = CsvLooksLikeUtf8(text);
    for (std::size_t split = 0; split <= text.size(); ++split) {
      CsvUtf8Test test;
      const std::size_t used = test.Feed(std::string_view(text).substr(0, split), false);
      if (!test.done()) test.Feed(std::string_view(text).substr(used), true);
      EXPECT_EQ(test.looks_like_utf8(), expected) << text << " split at " << split;
    }
  }
  EXPECT_TRUE(CsvLooksLikeUtf8(kTexts[1]));
  EXPECT_TRUE(CsvLooksLikeUtf8(kTexts[4]));  // read up to the zero byte
}

}  // namespace
}  // namespace velmora::csv
