// Loading, counting and validating card files through the converter.
#include "automation/automation_test_support.h"

namespace velmora::test {
namespace {

std::string ItemText(const std::shared_ptr<ICards>& cards, int index) {
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(cards->Item(index, &bytes), S_OK);
  return Text(bytes);
}

TEST(CardLoader, LoadFileProgressMaxContactsAndCancel) {
  auto converter = NewConverter();
  const auto file = U16(CorpusDir() / "vcard21" / "ezvcard_John_Doe_ANDROID.vcf");
  std::shared_ptr<ICards> cards;
  RecordingProgress progress;
  ASSERT_EQ(converter->LoadFile(file, 0, false, &progress, &cards), S_OK);
  ASSERT_EQ(Count(cards), 6);
  // One call per card: handled, known, kept, skipped, file errors.
  ASSERT_EQ(progress.calls.size(), 6u);
  EXPECT_EQ(progress.calls[0], (std::array<std::int32_t, 5>{1, 1, 1, 0, 0}));
  EXPECT_EQ(progress.calls[5], (std::array<std::int32_t, 5>{6, 6, 6, 0, 0}));

  ASSERT_EQ(converter->LoadFile(file, 2, false, nullptr, &cards), S_OK);
  EXPECT_EQ(Count(cards), 2);
  RecordingProgress cancel(3);
  ASSERT_EQ(converter->LoadFile(file, 0, false, &cancel, &cards), S_FALSE);
  EXPECT_EQ(Count(cards), 3);
  EXPECT_EQ(cancel.calls.size(), 3u);
}

TEST(CardLoader, LoadFilesCountsFailedFilesAndGoesOn) {
  TempDir dir;
  auto converter = NewConverter();
  const std::vector<std::u16string> files = {
      U16(CorpusDir() / "vcard30" / "ezvcard_John_Doe_IPHONE.vcf"), U16(dir / "missing.vcf"),
      U16(CorpusDir() / "vcard21" / "kcontacts_vcard10.vcf")};
  std::shared_ptr<ICards> cards;
  RecordingProgress progress;
  ASSERT_EQ(converter->LoadFiles(files, 0, false, &progress, &cards), S_OK);
  EXPECT_EQ(Count(cards), 6);
  ASSERT_EQ(progress.calls.size(), 6u);
  EXPECT_EQ(progress.calls[0], (std::array<std::int32_t, 5>{1, 1, 1, 0, 0}));
  EXPECT_EQ(progress.calls[1], (std::array<std::int32_t, 5>{2, 2, 2, 0, 1}));  // a file missing

  // MaxContacts spans the files.
  ASSERT_EQ(converter->LoadFiles(files, 2, false, nullptr, &cards), S_OK);
  EXPECT_EQ(Count(cards), 2);

  // Only failing files: the first failure, no collection.
  EXPECT_EQ(converter->LoadFiles({U16(dir / "missing.vcf")}, 0, false, nullptr, &cards),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(cards);
}

TEST(CardLoader, AddSourcePropNamesTheFile) {
  TempDir dir;
  WriteFile(dir / "one.vcf", Card("Doe", "John") + Card("Roe", "Jane"));
  auto converter = NewConverter();
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(converter->LoadFile(U16(dir / "one.vcf"), 0, true, nullptr, &cards), S_OK);
  ASSERT_EQ(Count(cards), 2);
  const std::string expected = "X-ZORVA-SOURCE:" + (dir / "one.vcf").string() + "\r\nEND:VCARD";
  EXPECT_TRUE(Has(ItemText(cards, 1), expected)) << ItemText(cards, 1);
  // The card still reads as the same contact.
  std::shared_ptr<ICardPreview> preview;
  ASSERT_EQ(cards->ItemPreview(1, &preview), S_OK);
  EXPECT_EQ(Get(*preview, &ICardPreview::get_FullName), u"Jane Roe");
}

TEST(CardLoader, LoadMemory) {
  auto converter = NewConverter();
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(converter->LoadMemory(Bytes(Card("Doe", "John") + "junk\r\n" + Card("Roe", "Jane")), 0,
                                  nullptr, &cards),
            S_OK);
  EXPECT_EQ(Count(cards), 2);
  ASSERT_EQ(
      converter->LoadMemory(Bytes(Card("Doe", "John") + Card("Roe", "Jane")), 1, nullptr, &cards),
      S_OK);
  EXPECT_EQ(Count(cards), 1);
  EXPECT_EQ(converter->LoadMemory(Bytes("no cards here"), 0, nullptr, &cards), E_GENERIC_FAILURE);
  EXPECT_FALSE(cards);
}

TEST(CardLoader, CountFilesContacts) {
  TempDir dir;
  auto converter = NewConverter();
  const std::vector<std::u16string> files = {
      U16(CorpusDir() / "vcard21" / "ezvcard_John_Doe_ANDROID.vcf"), U16(dir / "missing.vcf"),
      U16(CorpusDir() / "vcard21" / "kcontacts_vcard10.vcf")};
  std::int32_t file_errors = -1, count = -1;
  RecordingProgress progress;
  // The last file loaded: status 0.
  ASSERT_EQ(converter->CountFilesContacts(files, &file_errors, 0, &progress, &count), S_OK);
  EXPECT_EQ(std::pair(count, file_errors), std::pair(11, 1));
  ASSERT_EQ(progress.calls.size(), 11u);
  EXPECT_EQ(progress.calls[5], (std::array<std::int32_t, 5>{0, 6, 0, 0, 0}));
  EXPECT_EQ(progress.calls[6], (std::array<std::int32_t, 5>{0, 7, 0, 0, 1}));

  // The last file failed: its status.
  EXPECT_EQ(converter->CountFilesContacts({files[0], files[1]}, &file_errors, 0, nullptr, &count),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(std::pair(count, file_errors), std::pair(6, 1));

  EXPECT_EQ(converter->CountFilesContacts(files, &file_errors, 4, nullptr, &count), S_FALSE);
  EXPECT_EQ(count, 4);

  RecordingProgress cancel(2);
  EXPECT_EQ(converter->CountFilesContacts(files, &file_errors, 0, &cancel, &count), S_FALSE);
  EXPECT_EQ(count, 2);

  // A card cut off by the end of its file is no contact: progress shows it skipped.
  const std::filesystem::path cut = dir / "cut.vcf";
  WriteFile(cut, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:B\r\n");
  RecordingProgress seen;
  ASSERT_EQ(converter->CountFilesContacts({U16(cut)}, &file_errors, 0, &seen, &count), S_OK);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(seen.calls.back(), (std::array<std::int32_t, 5>{0, 1, 0, 1, 0}));
}

}  // namespace
}  // namespace velmora::test
