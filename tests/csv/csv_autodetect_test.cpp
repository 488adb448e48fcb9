// Dialect autodetection: the shipped Outlook locales written as their own
// exports, the real exports of the corpus, the dialect rules on header
// rows, and reading no more of a file than its first two rows.
#include "csv/csv_autodetect.h"

#include <string>
#include <vector>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "csv/csv.h"
#include "csv/csv_content.h"
#include "csv/csv_encoding.h"
#include "csv/csv_headers.h"
#include "foundation/code_page.h"
#include "support/test_env.h"
#include "vcard/vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::TempDir;

using test::U8;

// A catalogue with the shipped Outlook locales, and an engine over it.
class Autodetect : public ::testing::Test {
 protected:
  Autodetect() : headers_(captured_.log), csv_(captured_.log, &headers_) {
    EXPECT_EQ(
        headers_.LoadOutlookLocales(test::SourceDir() / "data" / "supportedOutlookHeaders.csv"),
        S_OK);
  }

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

  CapturedLog captured_;
  CCsvHeaders headers_;
  CCsv csv_;
  TempDir dir_;
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

// The real exports: the dialect a person would name, or unknown for
// layouts the catalogue does not know.
TEST_F(Autodetect, CorpusExports) {
  struct Case {
    const char* file;
    ECsvType type;
    const char* separator;
    const char* lid;
    int encoding_cp;
    bool custom;
  };
  // German exports of other programs share enough names with German
  // Outlook for its locale to be chosen, yet they are no Outlook layout. The
  // damaged German Outlook file lost its umlauts: its locale is found, but
  // the columns with damaged names are missing, so no dialect is complete.
  const Case kCases[] = {
      {"csv-outlook/fk_outlook_desktop_contoso.csv", vlmcsvOutlook, ",", "", 0, false},
      {"csv-outlook/horde_outlook_bug_6311.csv", vlmcsvOutlook, ",", "", 0, false},
      {"csv-outlook/horde_outlook_bug_6370.csv", vlmcsvOutlook, ",", "", 0, false},
      {"csv-outlook/horde_outlook_bug_6372.csv", vlmcsvOutlook, ",", "", 0, false},
      {"csv-outlook/horde_pear_outlook_legacy.csv", vlmcsvOutlook, ",", "", 0, false},
      {"csv-outlook/roundcube_outlook.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-outlook365/fk_google_created_outlook.csv", vlmcsvOutlook365v1, ",", "", 65001, true},
      {"csv-outlook365/fk_outlook365_web.csv", vlmcsvOutlook365v2, ",", "", 65001, false},
      {"csv-outlook-localised/tine20_outlook2007_de_mojibake.csv", vlmcsvUnknown, ",", "1031",
       65001, false},
      {"csv-google-old/fk_google_old.csv", vlmcsvGoogle, ",", "", 65001, true},
      {"csv-google-old/roundcube_gmail.csv", vlmcsvGoogle, ",", "", 0, false},
      {"csv-google-old/horde_pear_gmail_2005.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/fk_noheader.csv", vlmcsvUnknown, ",", "", 65001, false},
      {"csv-other/fk_thunderbird_de_utf8.csv", vlmcsvUnknown, ",", "1031", 65001, false},
      {"csv-other/fk_thunderbird_de_windows-1252.csv", vlmcsvUnknown, ",", "1031", 1252, false},
      {"csv-other/fk_thunderbird_en_bom_invalid_bday.csv", vlmcsvUnknown, ",", "", 65001, false},
      {"csv-other/fk_windows_live_mail_de.csv", vlmcsvUnknown, ";", "1031", 65001, false},
      {"csv-other/horde_pear_kaddressbook.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/horde_pear_palm_noheader.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/horde_pear_wab_outlook_express.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/horde_pear_yahoo.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/roundcube_all.csv", vlmcsvUnknown, ",", "", 65001, false},
      {"csv-other/roundcube_tb_plain.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/tb_csv_no_header.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/tb_csv_semicolon.csv", vlmcsvUnknown, ";", "", 0, false},
      {"csv-other/tb_export.csv", vlmcsvUnknown, ",", "", 65001, false},
      {"csv-other/tb_export_tab.txt", vlmcsvUnknown, "\t", "", 65001, false},
      {"csv-other/tb_quote.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/tb_shiftjis_addressbook.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/tb_tab_comma_mixed.csv", vlmcsvUnknown, ",", "", 0, false},
      {"csv-other/tb_utf16le_bom_addressbook.csv", vlmcsvUnknown, ",", "", 1200, false},
      {"csv-other/tine20_macos_addressbook_de.tsv", vlmcsvUnknown, "\t", "1031", 65001, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    const CsvDetection found = DetectFile(test::CorpusDir() / c.file);
    EXPECT_EQ(found.type, c.type);
    EXPECT_EQ(U8(found.separator), c.separator);
    EXPECT_EQ(U8(found.lid), c.lid);
    EXPECT_EQ(found.encoding_cp, c.encoding_cp);
    EXPECT_EQ(found.has_custom_headers, c.custom);
    EXPECT_FALSE(found.empty);
  }
}

TEST_F(Autodetect, DialectRules) {
  const std::vector<std::u16string> outlook = Names(vlmcsvOutlook, 0);
  const std::vector<std::u16string> google = Names(vlmcsvGoogle, 2);
  const std::vector<std::u16string> google2 = Names(vlmcsvGoogle2, 1);
  auto with = [](std::vector<std::u16string> names, std::initializer_list<const char16_t*> more) {
    for (const char16_t* name : more) names.emplace_back(name);
    return names;
  };
  auto without = [](std::vector<std::u16string> names, std::u16string_view name) {
    std::erase(names, std::u16string(name));
    return names;
  };
  struct Case {
    const char* what;
    std::vector<std::u16string> names;
    ECsvType type;
    bool custom;
  };
  const Case kCases[] = {
      {"the Outlook columns", outlook, vlmcsvOutlook, false},
      {"Outlook and two more", with(outlook, {u"Foo", u"Given Name"}), vlmcsvOutlook, true},
      // Notes is no Outlook365 v1 column: what is left is a v1 row with extras.
      {"Outlook less Notes", without(outlook, u"Notes"), vlmcsvOutlook365v1, true},
      {"Outlook less First Name", without(outlook, u"First Name"), vlmcsvUnknown, false},
      {"Outlook365 v2 holds v1", Names(vlmcsvOutlook365v2, 0), vlmcsvOutlook365v2, false},
      {"Outlook365 v1", Names(vlmcsvOutlook365v1, 0), vlmcsvOutlook365v1, false},
      {"Nokia", Names(vlmcsvNokia, 0), vlmcsvNokia, false},
      {"Google defaults", google, vlmcsvGoogle, false},
      {"Google and a grouped column", with(google, {u"E-mail 1 - Value"}), vlmcsvGoogle, false},
      {"Google and a foreign column", with(google, {u"Company"}), vlmcsvGoogle, true},
      {"Google and an unknown column", with(google, {u"Xyzzy"}), vlmcsvGoogle, true},
      {"Google less Group Membership", without(google, u"Group Membership"), vlmcsvUnknown, false},
      // Google's later layout: its own names for the shared columns, File
      // As and Labels instead of Group Membership.
      {"Google2 fixed columns", google2, vlmcsvGoogle2, false},
      {"Google2 defaults", Names(vlmcsvGoogle2, 2), vlmcsvGoogle2, false},
      {"Google2 and its blocks",
       with(google2, {u"E-mail 1 - Label", u"E-mail 1 - Value", u"Address 1 - Extended Address",
                      u"IM 1 - Service", u"Custom Field 1 - Label"}),
       vlmcsvGoogle2, false},
      {"Google2 and an earlier block", with(google2, {u"Organization 1 - Name"}), vlmcsvGoogle2,
       true},
      {"Google2 and a foreign column", with(google2, {u"Business Fax"}), vlmcsvGoogle2, true},
      {"Google2 less Labels", without(google2, u"Labels"), vlmcsvUnknown, false},
      {"Google2 less File As", without(google2, u"File As"), vlmcsvUnknown, false},
      {"Google2 less Photo", without(google2, u"Photo"), vlmcsvGoogle2, false},
      {"Google2 with Group Membership", with(google2, {u"Group Membership"}), vlmcsvGoogle, true},
      // Both layouts at once: the earlier is tried first.
      {"Google defaults and Google2's",
       with(google, {u"Labels", u"File As", u"Additional Name Yomi"}), vlmcsvGoogle, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    bool custom = !c.custom;
    EXPECT_EQ(TypeOf(c.names, &custom), c.type);
    EXPECT_EQ(custom, c.custom);
  }
}

TEST_F(Autodetect, SeparatorsAndShortFiles) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* separator;
    const char* headers;
    bool empty;
  };
  const Case kCases[] = {
      {"semicolons", "Name;E-mail\r\nAnn;a@x\r\n", ";", "\"Name\",\"E-mail\"", false},
      // A quoted ";" keeps the semicolon split at one column.
      {"tabs after a semicolon", "\"a;b\"\tc\r\nd\te\r\n", "\t", "\"a;b\",\"c\"", false},
      {"one word", "Name", "", "Name", false},
      {"nothing", "", "", "", true},
      {"blank lines", "\r\n\r\n", "", "", true},
      {"quoted comma", "\"Last, First\",Note\r\n", ",", "\"Last, First\",\"Note\"", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const CsvDetection found = Detect(c.bytes);
    EXPECT_EQ(found.type, vlmcsvUnknown);
    EXPECT_EQ(U8(found.separator), c.separator);
    EXPECT_EQ(U8(found.headers), c.headers);
    EXPECT_EQ(found.empty, c.empty);
  }
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

// The locale choice, on names alone and on the same names as a UTF-8 file:
// a locale must explain more names than English does; the one leaving
// fewest unexplained wins, the first loaded among equals.
TEST_F(Autodetect, LocaleChoice) {
  struct Case {
    std::vector<std::u16string> names;
    const char* lid;
    const char* first_code_name;  // the English name of the first column's code
  };
  const Case kCases[] = {
      {{u"Vorname", u"Nachname", u"Firma"}, "1031", "First Name"},
      {{u"Prénom", u"Titre", u"Titre", u"Xyzzy"}, "1036", "First Name"},
      {{u"Suffix", u"Xyzzy"}, "", "Suffix"},           // German explains no more than English
      {{u"First Name", u"Suffix"}, "", "First Name"},  // English: no locale is tried
      {{u"Initialen", u"Xyzzy"}, "1031", "Initials"},  // German = Dutch: German is loaded first
      {{u"名", u"姓"}, "1041", "First Name"},          // Japanese before Chinese
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(U8(c.names.front()));
    const std::uint32_t first_code = headers_.FindCodeByName(Utf8ToUtf16(c.first_code_name));
    CsvDetection found;
    ASSERT_EQ(csv_.AutodetectCsvNames(c.names, true, &found), S_OK);
    EXPECT_EQ(U8(found.lid), c.lid);
    ASSERT_EQ(found.codes.size(), c.names.size());
    EXPECT_EQ(found.codes.front(), first_code);

    found = Detect("\xEF\xBB\xBF" + U8(Join(c.names, u",")) + "\r\n");
    EXPECT_EQ(U8(found.lid), c.lid);
    ASSERT_FALSE(found.codes.empty());
    EXPECT_EQ(found.codes.front(), first_code);

    ASSERT_EQ(csv_.AutodetectCsvNames(c.names, false, &found), S_OK);
    EXPECT_EQ(found.lid, u"");
  }
}

// A prefix ends after its last whole line, in the file's own units.
TEST(CsvContentPrefix, CutsAtLineEnds) {
  struct Case {
    const char* what;
    std::string bytes;
    std::size_t prefix;
    std::u16string text;
    bool partial;
  };
  const std::string le(
      "\xFF\xFE"
      "a\0\n\0b\0\n\0c\0",
      12);
  const std::string be(
      "\xFE\xFF"
      "\0a\0\n\0b\0\n\0c",
      12);
  const Case kCases[] = {
      {"8-bit", "ab\r\ncd\r\nef", 7, u"ab\r\n", true},
      {"8-bit, cut just after a line", "ab\r\ncd\r\nef", 8, u"ab\r\ncd\r\n", true},
      {"no line end yet", "abcdef\r\n", 5, u"", true},
      {"all of it", "ab\r\ncd", 100, u"ab\r\ncd", false},
      {"UTF-16LE", le, 9, u"a\n", true},
      {"UTF-16BE", be, 10, u"a\nb\n", true},
      {"UTF-16BE whole", be, 12, u"a\nb\nc", false},
  };
  CapturedLog captured;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    CCsvContent content(captured.log);
    const std::string_view prefix = std::string_view(c.bytes).substr(0, c.prefix);
    ASSERT_EQ(content.LoadPrefix(prefix, prefix.size() == c.bytes.size(),
                                 DetectCsvEncoding(c.bytes), 1252),
              S_OK);
    EXPECT_EQ(content.text(), c.text);
    EXPECT_EQ(content.IsPartial(), c.partial);
  }
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

// The first two rows of a slice are final only once a line break follows
// the second inside it.
TEST(CsvLeadingRows, FinalOnlyWhenTheSecondRowEnded) {
  struct Case {
    std::u16string text;
    bool partial;
    bool final_rows;
    std::size_t rows;
  };
  const Case kCases[] = {
      {u"a\r\nb\r\nc", true, true, 2},   {u"a\r\nb", true, false, 2},
      {u"a\r\nb", false, true, 2},       {u"a\r\n\"b\r\nc", true, false, 2},
      {u"\"a\r\nb\r\n", true, false, 1}, {u"", true, false, 0},
  };
  CapturedLog captured;
  const CCsv csv(captured.log);
  for (const Case& c : kCases) {
    SCOPED_TRACE(U8(c.text));
    CsvCellsTable cells;
    EXPECT_EQ(csv.ParseLeadingRows(c.text, c.partial, 2, u",", &cells), c.final_rows);
    EXPECT_EQ(cells.size(), c.rows);
  }
  EXPECT_FALSE(captured.Has("missed end quote"));
}

}  // namespace
}  // namespace velmora
