// SaveMemory and SaveMemory2: one file per card or one file in total, the
// file names, the counters, duplicates and write failures.
#include <sys/stat.h>
#include <unistd.h>

#include "automation/automation_test_support.h"
#include "support/case_file.h"

namespace velmora::test {
namespace {

using Paths = std::vector<std::string>;

TEST(CardSaver, OneFilePerCardWithNumbering) {
  TempDir dir;
  auto converter = NewConverter();
  const std::string cards = Card("Doe", "John") + Card("Doe", "John") + Card("Roe", "Jane");
  RecordingProgress progress;
  const Saved s = SaveCards(*converter, cards, dir.path() / "out", false, drmNone, 2.1, &progress);
  ASSERT_EQ(s.status, S_OK);
  EXPECT_EQ(std::tuple(s.saved, s.skipped_all + s.skipped_dups + s.io_errors + s.errors),
            std::tuple(3, 0));
  EXPECT_EQ(ListFolder(dir.path() / "out"),
            (Paths{"Doe, John.vcf", "Doe, John[1].vcf", "Roe, Jane.vcf"}));
  ASSERT_EQ(s.names.size(), 3u);
  EXPECT_EQ(s.names[1], U16(dir.path() / "out" / "Doe, John[1].vcf"));
  EXPECT_TRUE(
      ReadFile(dir.path() / "out" / "Doe, John.vcf").starts_with("BEGIN:VCARD\r\nVERSION:2.1\r\n"));
  ASSERT_EQ(progress.calls.size(), 3u);
  EXPECT_EQ(progress.calls[2], (std::array<std::int32_t, 5>{3, 3, 3, 0, 0}));
}

TEST(CardSaver, FileNameRules) {
  auto converter = NewConverter(u"SaveNames", u"names");
  for (const FileCase& c : ReadCases("automation/data/save_file_names.txt")) {
    TempDir dir;
    const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n" + c["properties"] + "END:VCARD\r\n";
    ASSERT_EQ(SaveCards(*converter, card, dir.path(), false).status, S_OK) << c.name;
    EXPECT_EQ(ListFolder(dir.path()), Paths{c["file"]}) << c.name;
  }
  // A name of fewer than five components is logged.
  EXPECT_TRUE(Has(LogText("SaveNames", "names"), "Invalid N filed:"));
  // Long names are cut to 200 bytes, so that a number and ".vcf" still fit
  // the file system's 255, and never inside a character: U+1F600 and the
  // last high surrogate's U+10FFFD each take two UTF-16 units.
  std::string emoji, plane16;
  for (int i = 0; i < 60; ++i) emoji += "\xF0\x9F\x98\x80", plane16 += "\xF4\x8F\xBF\xBD";
  const std::pair<std::string, std::string> long_names[] = {
      {std::string(400, 'x'), std::string(200, 'x') + ".vcf"},
      {emoji, emoji.substr(0, 200) + ".vcf"},
      {plane16, plane16.substr(0, 200) + ".vcf"},
  };
  for (const auto& [family, file] : long_names) {
    TempDir dir;
    ASSERT_EQ(SaveCards(*converter, Card(family, ""), dir.path(), false).status, S_OK);
    EXPECT_EQ(ListFolder(dir.path()), Paths{file});
  }
}

TEST(CardSaver, OneFileInTotal) {
  TempDir dir;
  auto converter = NewConverter();
  const std::string cards = Card("Doe", "John") + Card("Roe", "Jane");
  const Saved s = SaveCards(*converter, cards, dir.path(), true);
  ASSERT_EQ(std::pair(s.status, s.saved), std::pair(S_OK, 2));
  EXPECT_EQ(ListFolder(dir.path()), Paths{"all.vcf"});
  EXPECT_EQ(s.names, std::vector<std::u16string>{U16(dir.path() / "all.vcf")});
  const std::string text = ReadFile(dir.path() / "all.vcf");
  EXPECT_EQ(text.size() - 2, text.rfind("\r\n"));
  EXPECT_EQ(Count(LoadText(*converter, text)), 2);

  // An existing file is kept; the next one is numbered.
  ASSERT_EQ(SaveCards(*converter, cards, dir.path(), true).status, S_OK);
  EXPECT_EQ(ListFolder(dir.path()), (Paths{"all.vcf", "all[1].vcf"}));
}

TEST(CardSaver, DuplicatesAreSkippedAndCounted) {
  TempDir dir;
  auto converter = NewConverter();
  const std::string cards = Card("Doe", "John", "20190101T000000Z") +
                            Card("Roe", "Jane", "20190101T000000Z") +
                            Card("DOE", "JOHN", "20200101T000000Z");
  for (bool single : {false, true}) {
    TempDir out;
    const Saved s = SaveCards(*converter, cards, out.path(), single, drmNewest);
    ASSERT_EQ(s.status, S_OK);
    EXPECT_EQ(std::tuple(s.saved, s.skipped_all, s.skipped_dups, s.errors), std::tuple(2, 1, 1, 0));
    if (!single) {
      EXPECT_EQ(ListFolder(out.path()), (Paths{"DOE, JOHN.vcf", "Roe, Jane.vcf"}));
    } else {
      EXPECT_FALSE(Has(ReadFile(out.path() / "all.vcf"), "N:Doe;John"));
    }
  }
  // Without resolution every card is written.
  const Saved all = SaveCards(*converter, cards, dir.path(), false, drmNone);
  EXPECT_EQ(std::tuple(all.saved, all.skipped_all), std::tuple(3, 0));
  // SaveMemory reports the cards skipped in all, and the files it wrote.
  TempDir other;
  std::int32_t saved = 0, skipped = 0, errors = 0;
  std::vector<std::u16string> names;
  ASSERT_EQ(converter->SaveMemory(Bytes(cards), U16(other.path()), u"x", false, &saved, &skipped,
                                  &errors, 3.0, 65001, Variant(), drmKeepOriginal, nullptr, &names),
            S_OK);
  EXPECT_EQ(std::tuple(saved, skipped, errors, names.size()), std::tuple(2, 1, 0, 2u));
}

TEST(CardSaver, CancelStopsAfterTheCurrentCard) {
  TempDir dir;
  auto converter = NewConverter();
  const std::string cards = Card("A", "Ann") + Card("B", "Bob") + Card("C", "Cid");
  RecordingProgress cancel(1);
  const Saved s = SaveCards(*converter, cards, dir.path() / "per", false, drmNone, 3.0, &cancel);
  EXPECT_EQ(std::tuple(s.status, s.saved), std::tuple(S_FALSE, 1));
  EXPECT_EQ(ListFolder(dir.path() / "per"), Paths{"A, Ann.vcf"});

  RecordingProgress cancel_single(2);
  const Saved one =
      SaveCards(*converter, cards, dir.path() / "one", true, drmNone, 3.0, &cancel_single);
  EXPECT_EQ(std::tuple(one.status, one.saved), std::tuple(S_FALSE, 2));
  const std::string text = ReadFile(dir.path() / "one" / "all.vcf");
  EXPECT_TRUE(Has(text, "Bob") && !Has(text, "Cid")) << text;
}

// Folders that cannot be written or made: every file (and the folder) is an
// I/O error, and files that failed alike give one log line.
TEST(CardSaver, WriteFailuresCountIoErrors) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "ro");
  ::chmod((dir.path() / "ro").c_str(), 0555);
  WriteFile(dir / "file", "x");
  const HRESULT denied = HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED);
  const HRESULT not_found = HRESULT_FROM_WIN32(win32::ERROR_PATH_NOT_FOUND);
  const struct {
    const char* module;
    std::filesystem::path folder;
    HRESULT status;
    std::int32_t io_errors;  // one file per card; the folder counts too
    const char* step;
  } kRows[] = {{"ro", dir.path() / "ro", denied, 2, "CreateFile failed"},
               {"made", dir.path() / "file" / "sub", not_found, 3, "EnsureDirectory"}};
  const std::string cards = Card("A", "Ann") + Card("B", "Bob");
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.module);
    if (row.status == denied && ::geteuid() == 0) continue;  // root may write anywhere
    auto converter = NewConverter(u"SaveFailures", U16(std::string(row.module)));
    const Saved s = SaveCards(*converter, cards, row.folder, false);
    EXPECT_EQ(std::tuple(s.status, s.saved, s.io_errors, s.errors),
              std::tuple(row.status, 0, row.io_errors, 2));
    EXPECT_TRUE(s.names.empty());
    const Saved single = SaveCards(*converter, cards, row.folder, true);
    EXPECT_EQ(std::tuple(single.status, single.saved, single.io_errors),
              std::tuple(row.status, 0, 1));
    const std::string log = LogText("SaveFailures", row.module);
    EXPECT_GT(CountOf(log, row.step), 0) << log;
    EXPECT_EQ(CountOf(log, "CreateFile failed"), 1) << log;
    EXPECT_EQ(CountOf(log, "CreateFile(" + (row.folder / "all.vcf").string() + ") failed"), 1);
  }
  ::chmod((dir.path() / "ro").c_str(), 0755);
}

TEST(CardSaver, NamesTakenByFoldersAreNumberedToo) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "all.vcf");
  std::filesystem::create_directory(dir.path() / "A, Ann.vcf");
  auto converter = NewConverter();
  ASSERT_EQ(SaveCards(*converter, Card("A", "Ann"), dir.path(), true).status, S_OK);
  ASSERT_EQ(SaveCards(*converter, Card("A", "Ann"), dir.path(), false).status, S_OK);
  EXPECT_EQ(ListFolder(dir.path()),
            (Paths{"A, Ann.vcf", "A, Ann[1].vcf", "all.vcf", "all[1].vcf"}));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "all.vcf"));
}

}  // namespace
}  // namespace velmora::test
