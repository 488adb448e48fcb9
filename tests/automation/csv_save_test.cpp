// Saving cards as CSV files through the converter: byte-exact files per
// dialect, encodings and marks, file naming, argument checks, and a failed
// save that leaves the old file alone.
#include <filesystem>
#include <string>
#include <vector>

#include <velmora/velmora.h>

#include <gtest/gtest.h>

#include "automation/automation_test_support.h"
#include "support/case_file.h"

namespace velmora::automation {
namespace {

using test::Bytes;
using test::U16;

// Two hand-made contacts: a full English one and a German one.
constexpr char kCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;Marie;Dr.;\r\nFN:Dr. Ann Marie Lee\r\n"
    "ORG:Acme, Inc.;Research\r\nTITLE:Chemist\r\nTEL;TYPE=WORK:+1 555 0100\r\n"
    "TEL;TYPE=CELL:+1 555 0101\r\nEMAIL;TYPE=INTERNET,WORK,PREF:ann@acme.example\r\n"
    "ADR;TYPE=WORK:;;1 Main St;Springfield;IL;62701;USA\r\nBDAY:1980-02-29\r\n"
    "CATEGORIES:Work,Friends\r\nNOTE:Says \"hi\"\\, often\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Müller;Jörg;;;\r\nFN:Jörg Müller\r\n"
    "TEL;TYPE=HOME:030 1234\r\nX-WAB-GENDER:2\r\nEND:VCARD\r\n";

struct Saved {
  HRESULT status = E_GENERIC_FAILURE;
  std::int32_t saved = -1, skipped = -1, dups = -1, errors = -1, io_errors = -1;
  std::vector<std::u16string> files;
};

Saved Save(ICardConverter& converter, const std::string& cards, const std::filesystem::path& dir,
           ECsvType type, std::u16string_view lid, bool single, ECsvEncodingType encoding,
           std::int32_t code_page, bool signature = true, EDRMethod dr = drmNone) {
  Saved s;
  s.status = converter.SaveMemoryCSV2(
      Bytes(cards), U16(dir), u"contacts", type, std::u16string(lid), single, &s.saved, &s.skipped,
      &s.dups, &s.errors, &s.io_errors, &s.files, signature, true, encoding, code_page, dr);
  return s;
}

// The files a test compares with, in tests/data/csv_export/.
std::string Expected(const char* name) {
  return test::ReadFile(test::SourceDir() / "tests" / "data" / "csv_export" / name);
}

// The rows of tests/automation/data/csv_save_files.txt: byte-exact files,
// or the marks and line ends of each encoding.
TEST(CsvSave, FilesPerDialectAndEncoding) {
  const auto converter = test::NewCsvConverter();
  for (const test::FileCase& c : test::ReadCases("automation/data/csv_save_files.txt")) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const Saved s = Save(*converter, kCards, dir.path(), static_cast<ECsvType>(c.Number("type")),
                         c.Has("lid") ? U16(c["lid"]) : u"", true,
                         static_cast<ECsvEncodingType>(c.Number("encoding")), c.Number("code page"),
                         c.Number("mark", 1) != 0);
    ASSERT_EQ(s.status, S_OK);
    EXPECT_EQ(s.saved, 2);
    ASSERT_EQ(s.files.size(), 1u);
    const std::string bytes = test::ReadFile(dir / "contacts.csv");
    if (c.Has("file")) {
      EXPECT_EQ(bytes, Expected(c["file"].c_str()));
      continue;
    }
    EXPECT_EQ(bytes.substr(0, c["start"].size()), c["start"]);
    // The header line and the line between the two contacts: exactly two.
    const std::string& end = c["line end"];
    EXPECT_EQ(test::CountOf(bytes, end), 2 + test::CountOf(bytes, end + end));
  }
  // Windows-1252 holds the German letters as single bytes.
  test::TempDir dir;
  Save(*converter, kCards, dir.path(), vlmcsvOutlook, u"1031", true, vlmcetMultibyte, 1252);
  EXPECT_TRUE(test::Has(test::ReadFile(dir / "contacts.csv"), "M\xFCller"));
}

TEST(CsvSave, OneFilePerContactAndDuplicates) {
  const auto converter = test::NewCsvConverter();
  test::TempDir dir;
  const std::string cards = std::string(kCards) + kCards;
  const Saved s = Save(*converter, cards, dir.path(), vlmcsvOutlook, u"", false, vlmcetMultibyte,
                       65001, true, drmKeepOriginal);
  ASSERT_EQ(s.status, S_OK);
  EXPECT_EQ(std::tuple(s.saved, s.skipped, s.dups, s.errors), std::tuple(2, 2, 2, 0));
  EXPECT_EQ(test::ListFolder(dir.path()),
            (std::vector<std::string>{"Lee, Ann Marie.csv", "Müller, Jörg.csv"}));
  // Each file holds the header line and one row.
  EXPECT_EQ(test::CountOf(test::ReadFile(dir / "Müller, Jörg.csv"), "\r\n"), 1);
}

TEST(CsvSave, ArgumentsAndFailures) {
  const auto converter = test::NewCsvConverter(u"CsvSave");
  test::TempDir dir;
  const auto status = [&](const std::string& cards, ECsvType type, const char16_t* lid,
                          std::int32_t code_page) {
    return Save(*converter, cards, dir.path(), type, lid, true, vlmcetMultibyte, code_page).status;
  };
  EXPECT_EQ(status(kCards, vlmcsvNokia, u"", 65001), E_INVALIDARG);
  EXPECT_EQ(status(kCards, vlmcsvOutlook, u"9999", 65001), E_INVALIDARG);
  EXPECT_EQ(status(kCards, vlmcsvOutlook, u"", 12345), E_INVALIDARG);
  EXPECT_EQ(status("", vlmcsvOutlook, u"", 65001), E_INVALIDARG);
  EXPECT_EQ(status("no cards here", vlmcsvOutlook, u"", 65001), E_GENERIC_FAILURE);
  test::ExpectLogged(
      "CsvSave", "csv",
      {"Invalid eDstType = 3", "Invalid DstLocale = 9999", "no CSV Contacts after Parse"});
}

// Files that cannot be written whole (a file size limit stands in for a
// full disk): the old file stays as it was, no partial file is left, and
// every file counts as an I/O error.
TEST(CsvSave, FailedSaveKeepsTheOldFile) {
  const auto converter = test::NewCsvConverter();
  test::TempDir dir;
  test::WriteFile(dir / "contacts.csv", "old");
  Saved single, each;
  {
    test::FileSizeLimit limit(512);
    single = Save(*converter, kCards, dir.path(), vlmcsvOutlook, u"", true, vlmcetMultibyte, 65001);
    each = Save(*converter, kCards, dir.path(), vlmcsvOutlook, u"", false, vlmcetMultibyte, 65001);
  }
  EXPECT_TRUE(FAILED(single.status)) << single.status;
  EXPECT_EQ(std::tuple(single.saved, single.io_errors, each.saved, each.io_errors),
            std::tuple(0, 1, 0, 2));
  EXPECT_EQ(test::ReadFile(dir / "contacts.csv"), "old");
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"contacts.csv"});
}

}  // namespace
}  // namespace velmora::automation
