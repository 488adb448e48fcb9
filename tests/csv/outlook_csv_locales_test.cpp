// Loading the localised Outlook header sets: the shipped file, and files
// broken in each way the loader guards against.
#include "csv/outlook_csv_locales.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "csv/csv_headers.h"
#include "csv_test_support.h"
#include "support/case_file.h"
#include "support/test_env.h"

namespace velmora::csv {
namespace {

using test::CapturedLog;
using test::U8;

constexpr char kBom[] = "\xEF\xBB\xBF";
const char* const kFixed[] = {"LID", "CODE_PAGE", "CODE_PAGE_DISPLAY_NAME", "DISPLAY_NAME",
                              "DISPLAY_NAME_SHORT"};
const char* const kValueWords[] = {
    "Private::False",        "Private::True",        "Gender::Unspecified",
    "Gender::Female",        "Gender::Male",         "Priority::Low",
    "Priority::Normal",      "Priority::High",       "Sensitivity::Normal",
    "Sensitivity::Personal", "Sensitivity::Private", "Sensitivity::Confidential"};

std::filesystem::path ShippedFile() {
  return test::SourceDir() / "data" / "supportedOutlookHeaders.csv";
}

// The built-in catalogue, for the columns of locale files.
const CCsvHeaders& Catalogue() {
  static CapturedLog captured;
  static const CCsvHeaders headers(captured.log);
  return headers;
}

// A locale file: every required column, then one row per map of cells.
// Cells not given are "<column>@<LID>" (CODE_PAGE: 1252); a cell given as
// "-" is left empty. Columns in `drop` are left out.
class LocaleFile {
 public:
  explicit LocaleFile(const CCsvHeaders& headers) {
    for (const char* name : kFixed) columns_.push_back(name);
    for (const CCsvHeader* entry : headers.GetHeaderList(vlmcsvOutlook, 0)) {
      columns_.push_back(U8(entry->Name));
    }
    for (const char* name : kValueWords) columns_.push_back(name);
  }
  LocaleFile& Drop(const std::string& column) {
    columns_.erase(std::find(columns_.begin(), columns_.end(), column));
    return *this;
  }
  LocaleFile& Row(std::map<std::string, std::string> cells) {
    rows_.push_back(std::move(cells));
    return *this;
  }
  std::string Text(const std::string& prefix = kBom) const {
    std::string out = prefix;
    Line(out, columns_);
    for (const auto& row : rows_) {
      std::vector<std::string> cells;
      const std::string lid = row.count("LID") ? row.at("LID") : "";
      for (const std::string& column : columns_) {
        const auto it = row.find(column);
        if (it != row.end()) {
          cells.push_back(it->second == "-" ? "" : it->second);
        } else if (column == "CODE_PAGE") {
          cells.push_back("1252");
        } else {
          cells.push_back(column + "@" + lid);
        }
      }
      Line(out, cells);
    }
    return out;
  }

 private:
  static void Line(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out += ',';
      out += '"';
      for (char c : cells[i]) out += (c == '"') ? std::string("\"\"") : std::string(1, c);
      out += '"';
    }
    out += "\r\n";
  }

  std::vector<std::string> columns_;
  std::vector<std::map<std::string, std::string>> rows_;
};

struct Fixture {
  CapturedLog captured;
  CCsvHeaders headers{captured.log};
  test::TempDir dir;

  HRESULT Load(const std::string& bytes) {
    test::WriteFile(dir / "headers.csv", bytes);
    return headers.LoadOutlookLocales(dir / "headers.csv");
  }
};

TEST(OutlookCsvLocales, ShippedFile) {
  Fixture f;
  ASSERT_EQ(f.headers.LoadOutlookLocales(ShippedFile()), S_OK);
  const char* const lids[] = {"1033", "1031", "1036", "1040", "1043", "1049",
                              "1041", "1045", "2052", "1028", "3082"};
  ASSERT_EQ(f.headers.LocaleCount(), 11);
  for (int i = 0; i < 11; ++i) {
    const COutlookCsvLocale* locale = f.headers.Locale(i);
    ASSERT_NE(locale, nullptr);
    EXPECT_EQ(U8(locale->LID), lids[i]);
    EXPECT_EQ(locale->HeaderCount(), 92);
    EXPECT_EQ(f.headers.FindLocale(locale->LID), locale);
    // Every column's code in Outlook order.
    for (int h = 0; h < 92; ++h) EXPECT_EQ(locale->HeaderCode(h, 0), h + 1u) << lids[i];
  }
  EXPECT_TRUE(!f.headers.Locale(11) && !f.headers.Locale(-1) && !f.headers.FindLocale(u"") &&
              !f.headers.FindLocale(u"1034"));

  const COutlookCsvLocale& english = *f.headers.FindLocale(u"1033");
  EXPECT_EQ(english.Codepage, 1252);
  EXPECT_EQ(U8(english.DisplayName + u"|" + english.PrivateValue(true) + u"|" +
               english.SensitivityValue(vlmcsConfidential) + u"|" + english.SensitivityValue(4) +
               u"|" + english.GenderValue(-1) + u"|" + english.FindHeaderName(92) + u"|" +
               english.FindHeaderName(93)),
            "English (United States)|True|Confidential|||Web Page|");

  // French writes "Titre" for Title and Job Title: told apart by position
  // (found by name in Autodetect.OutlookHeaderCodes).
  const COutlookCsvLocale& french = *f.headers.FindLocale(u"1036");
  EXPECT_EQ(std::to_string(french.FindHeaderCode(u"Titre", -1)) + " " +
                std::to_string(french.HeaderCodeCount(0)) +
                std::to_string(french.HeaderCodeCount(7)) + " " +
                std::to_string(french.HeaderCode(0, 1)) + std::to_string(french.HeaderCode(7, 1)),
            "0 21 80");
  EXPECT_EQ(french.FindHeaderName(8), u"Titre");
  EXPECT_EQ(french.GenderValue(vlmcgFemale), u"Féminin");
  EXPECT_EQ(f.headers.BuildHeaderName(8, vlmcsvOutlook, u"1036"), u"Titre");
  EXPECT_EQ(f.headers.BuildHeaderName(38, vlmcsvOutlook365v2, u"1036"), u"Téléphone (domicile)");
  EXPECT_EQ(f.headers.BuildHeaderName(38, vlmcsvNokia, u"1036"), u"Home Phone");

  // Partial rows are completed from English.
  const COutlookCsvLocale& spanish = *f.headers.FindLocale(u"3082");
  EXPECT_EQ(spanish.FindHeaderName(10), u"Business Street 2");
  EXPECT_EQ(spanish.FindHeaderCode(u"Business Street 2"), 10u);
  EXPECT_EQ(f.headers.FindLocale(u"1031")->GenderValue(vlmcgFemale), u"Female");
  EXPECT_EQ(f.headers.FindLocale(u"1031")->PrivateValue(false), u"Aus");
  EXPECT_TRUE(f.captured.Has("Auto-initalized (from english):\n\tBusiness Street 2, "));
  EXPECT_FALSE(f.captured.Has("skipping"));

  // A code outside the Outlook list has no localised name.
  EXPECT_EQ(f.headers.BuildHeaderName(123, vlmcsvOutlook365v2, u"1036"), u"IMAddress");
  EXPECT_TRUE(
      f.captured.Has("in CCsvHeaders.BuildHeaderName: no header \"IMAddress\" in "
                     "supportedOutlookHeaders.csv::1036"));
}

TEST(OutlookCsvLocales, SameNameChainAndValueWords) {
  Fixture f;
  LocaleFile file(f.headers);
  file.Row({{"LID", "x-test"},
            {"Home Phone", "W"},
            {"Home Phone 2", "w"},
            {"Title", "-"},
            {"Gender::Female", "  "},
            {"Priority::High", " Haut "}});
  ASSERT_EQ(f.Load(file.Text()), S_OK);
  const COutlookCsvLocale& locale = *f.headers.FindLocale(u"X-TEST");
  std::string codes;
  for (const auto& [name, sub] : {std::pair{u"W", 0}, {u"W", 1}, {u"W", 2}, {u"Title", 0}}) {
    codes += std::to_string(locale.FindHeaderCode(name, sub)) + " ";
  }
  EXPECT_EQ(codes + std::to_string(locale.HeaderCodeCount(37)) +
                std::to_string(locale.HeaderCodeCount(38)),
            "38 39 0 1 21");
  EXPECT_EQ(U8(locale.HeaderName(38) + u"|" + locale.FindHeaderName(1) + u"|" +
               locale.GenderValue(vlmcgFemale) + u"|" + locale.PriorityValue(vlmciHigh) + u"|" +
               locale.PriorityValue(vlmciLow)),
            "w|Title|Female|Haut|Priority::Low@x-test");
  EXPECT_TRUE(f.captured.Has("Auto-initalized (from english):\n\tTitle, Gender::Female\n"));
}

TEST(OutlookCsvLocales, ColumnsFoundByTrimmedNameInAnyOrderAndCase) {
  Fixture f;
  LocaleFile file(f.headers);
  file.Row({{"LID", "1"}});
  std::string text = file.Text();
  // Rename the LID column " lid " and add an unknown column and a later
  // "LID" column that wins.
  text.replace(text.find("\"LID\""), 5, "\" lid \"");
  text.replace(text.find("\r\n"), 2, ",\"Extra\",\"LID\"\r\n");
  text.replace(text.rfind("\r\n"), 2, ",\"x\",\"2\"\r\n");
  ASSERT_EQ(f.Load(text), S_OK);
  EXPECT_EQ(f.headers.LocaleCount(), 1);
  EXPECT_NE(f.headers.FindLocale(u"2"), nullptr);
}

TEST(OutlookCsvLocales, BrokenFiles) {
  const std::map<std::string, HRESULT> statuses = {
      {"ok", S_OK}, {"false", S_FALSE}, {"failed", E_GENERIC_FAILURE}};
  for (const test::FileCase& c : test::ReadCases("csv/data/broken_locales.txt")) {
    SCOPED_TRACE(c.name);
    std::string bytes;
    if (c.Has("bytes")) {
      bytes = c["bytes"];
    } else {
      LocaleFile file(Catalogue());
      for (const std::string& column : c.All("drop")) file.Drop(column);
      for (const std::string& row : c.All("row")) {
        std::map<std::string, std::string> cells;
        for (const std::string& cell : test::Split(row, "; ")) {
          if (!cell.empty())
            cells[cell.substr(0, cell.find('='))] = cell.substr(cell.find('=') + 1);
        }
        file.Row(cells);
      }
      bytes = file.Text(c.Has("mark") ? "" : kBom);
    }
    Fixture f;
    EXPECT_EQ(f.Load(bytes), statuses.at(c["status"]));
    EXPECT_EQ(f.headers.LocaleCount(), c.Number("locales"));
    for (const std::string& message : c.All("logged")) {
      EXPECT_TRUE(f.captured.Has(message)) << message << "\n" << f.captured.Text();
    }
  }
}

TEST(OutlookCsvLocales, UnicodeEncodingsAndSeparators) {
  const std::string utf8 = LocaleFile(Catalogue()).Row({{"LID", "1"}, {"Title", "Титул"}}).Text("");
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char16_t unit : Utf8ToUtf16(utf8)) {
    le += static_cast<char>(unit & 0xFF);
    le += static_cast<char>(unit >> 8);
    be += static_cast<char>(unit >> 8);
    be += static_cast<char>(unit & 0xFF);
  }
  std::string semicolons = std::string(kBom) + utf8;
  for (char& c : semicolons) c = (c == ',') ? ';' : c;
  for (const std::string& bytes : {le, be, semicolons}) {
    Fixture f;
    ASSERT_EQ(f.Load(bytes), S_OK) << f.captured.Text();
    EXPECT_EQ(f.headers.FindLocale(u"1")->FindHeaderCode(u"титул"), 1u);
  }
}

TEST(OutlookCsvLocales, FailuresBeforeReading) {
  Fixture f;
  EXPECT_EQ(f.headers.LoadOutlookLocales(""), E_INVALIDARG);
  EXPECT_TRUE(f.captured.Has("in CCsvHeaders.LoadOutlookLocales: empty filename"));
  const HRESULT missing = f.headers.LoadOutlookLocales(f.dir / "none.csv");
  EXPECT_TRUE(FAILED(missing));
  EXPECT_TRUE(f.captured.Has("content.LoadFromFile( " + (f.dir / "none.csv").string() + " )"));
  // An empty file reads as nothing at all: not Unicode.
  EXPECT_EQ(f.Load(""), E_GENERIC_FAILURE);
}

// Every load starts from an empty table: a failed reload leaves none.
TEST(OutlookCsvLocales, ReloadReplacesTheTable) {
  Fixture f;
  ASSERT_EQ(f.headers.LoadOutlookLocales(ShippedFile()), S_OK);
  ASSERT_EQ(f.headers.LocaleCount(), 11);
  LocaleFile file(f.headers);
  ASSERT_EQ(f.Load(file.Row({{"LID", "1033"}}).Text()), S_OK);
  EXPECT_EQ(f.headers.LocaleCount(), 1);
  EXPECT_EQ(f.headers.FindLocale(u"1033")->FindHeaderName(1), u"Title@1033");
  EXPECT_EQ(f.headers.FindLocale(u"1036"), nullptr);
  LocaleFile skipped(f.headers);
  EXPECT_EQ(f.Load(skipped.Row({{"LID", "-"}}).Text()), E_GENERIC_FAILURE);
  EXPECT_EQ(f.headers.LocaleCount(), 0);
  EXPECT_EQ(f.headers.BuildHeaderName(1, vlmcsvOutlook, u"1033"), u"Title");
}

}  // namespace
}  // namespace velmora::csv
