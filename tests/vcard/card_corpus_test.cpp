// Byte-exact round trips over the third-party vCard files: every item's text
// comes back exactly as it stands in the file (rejected lines left out), and
// reading that text again gives the same item.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "vcard/card_doc.h"
#include "vcard/card_line_reader.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

using test::CapturedLog;
using test::Dump;

// True when the bytes the item leaves out between its properties (and
// before its BEGIN, for the file as a whole) are lines the reader rejects:
// reading them alone gives no property.
bool OnlyRejectedLines(std::string_view gap) {
  if (gap.empty()) return true;
  CLog quiet;
  const std::string text(gap);
  CardParamArena arena(quiet);
  CardParserLL parser(quiet, arena, text.c_str() + text.size());
  const char* cursor = text.c_str();
  CCardDocItemProp prop(quiet);
  return !parser.GetNextProp(cursor, prop);
}

// Checks that the raw texts of the item's properties lie in order inside its
// span and that only rejected lines fall between them.
void ExpectSpansInOrder(const CCardDocItem& item) {
  std::vector<const CCardDocItemProp*> props{&item.begin_prop()};
  for (const auto& prop : item.props()) props.push_back(&prop);
  if (!item.IsCutOff()) props.push_back(&item.end_prop());
  const char* at = item.start();
  for (const CCardDocItemProp* prop : props) {
    const CardSlice raw = prop->raw_text_slice();
    ASSERT_GE(raw.start, at);
    EXPECT_TRUE(OnlyRejectedLines(std::string_view(at, raw.start - at)))
        << std::string_view(at, raw.start - at);
    at = raw.end();
  }
  EXPECT_EQ(at, item.start() + item.length());
}

std::vector<std::filesystem::path> CorpusFiles(const char* folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(test::CorpusDir() / folder)) {
    if (entry.path().extension() == ".vcf") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class CorpusTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CorpusTest, ItemsComeBackByteForByte) {
  const auto files = CorpusFiles(GetParam());
  ASSERT_FALSE(files.empty());
  int items = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    CapturedLog captured;
    CCardDoc doc(captured.log);
    const HRESULT result = doc.LoadFromFile(file);
    EXPECT_GE(result, -1);
    const std::string_view content = doc.content();
    for (const auto& item : doc.items()) {
      ++items;
      const std::string text = item->ToString();
      const std::string_view span(item->start(), static_cast<std::size_t>(item->length()));
      ASSERT_GE(item->start(), content.data());
      ASSERT_LE(item->start() + item->length(), content.data() + content.size());
      ExpectSpansInOrder(*item);
      if (text.size() == span.size()) {
        EXPECT_EQ(text, span);
      }

      // Reading the item's text again gives the same item.
      CapturedLog again_log;
      CCardDoc again(again_log.log);
      ASSERT_EQ(again.LoadFromString(text.c_str()), LoadResult::kComplete) << text;
      ASSERT_EQ(again.GetItemCount(), 1);
      EXPECT_EQ(again.GetItem(0)->ToString(), text);
      EXPECT_EQ(Dump(*again.GetItem(0)), Dump(*item));
      EXPECT_EQ(again.GetItem(0)->GetVersion(), item->GetVersion());

      // Decoding every value must not disturb anything.
      std::u16string value;
      for (const auto& prop : item->props()) prop.GetDecodedValue(value);
    }
  }
  EXPECT_GT(items, 0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTest,
                         ::testing::Values("vcard21", "vcard30", "vcard40", "vcard-malformed"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

// Files without rejected lines: the items together are the whole file, from
// the first BEGIN to the end. The files with rejected lines are known.
TEST(Corpus, CleanFilesAreCoveredCompletely) {
  std::vector<std::string> with_rejected_lines;
  int clean = 0;
  for (const char* folder : {"vcard21", "vcard30", "vcard40"}) {
    for (const auto& file : CorpusFiles(folder)) {
      SCOPED_TRACE(file.string());
      CapturedLog captured;
      CCardDoc doc(captured.log);
      ASSERT_EQ(doc.LoadFromFile(file), S_OK);
      if (captured.Has("Line has no ':'") || captured.Has("Prop name is empty") ||
          captured.Has("Searching BEGIN")) {
        with_rejected_lines.push_back(file.filename().string());
        continue;
      }
      ++clean;
      std::string all;
      for (const auto& item : doc.items()) all += item->ToString();
      const std::string_view content = doc.content();
      const std::size_t first = content.find_first_not_of(" \t\r\n");
      EXPECT_EQ(all, content.substr(first));
    }
  }
  EXPECT_GT(clean, 70);
  // A wrapped 2.1 ADR without folding, a lone CR inside a value.
  EXPECT_EQ(with_rejected_lines,
            (std::vector<std::string>{"aosp_v21_adr_multiple_line.vcf", "tb_export.vcf"}));
}

TEST(Corpus, PhotoWithCrCrLfLineBreaks) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  ASSERT_EQ(doc.LoadFromFile(test::CorpusDir() / "vcard30" / "ezvcard_John_Doe_IPHONE.vcf"), S_OK);
  const CCardDocItemProp* photo = doc.GetItem(0)->FindProp("PHOTO");
  ASSERT_NE(photo, nullptr);
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(photo->GetDecodedBinaryValue(bytes));
  EXPECT_GT(bytes.size(), 30000u);
  EXPECT_EQ(bytes[0], 0xFF);  // a JPEG
  EXPECT_EQ(bytes[1], 0xD8);
  EXPECT_EQ(captured.Problems(), 0) << captured.Text();
}

TEST(Corpus, KnownFiles) {
  struct Known {
    const char* file;
    int result;
    int items;
    bool utf8;
  };
  const Known known[] = {
      {"vcard-malformed/fk_Empty_bom_only.vcf", -1, 0, false},
      {"vcard-malformed/eds_vcard_8.vcf", -1, 0, false},  // no END:VCARD
      {"vcard-malformed/eds_vcard_9.vcf", -1, 0, false},  // truncated mid-card
      // A BEGIN that no AGENT opens cuts the parent off; each inner card is one.
      {"vcard-malformed/aosp_v21_nest.vcf", 1, 3, false},
      // "END:VCARDBEGIN:VCARD" reads as two lines: two cards.
      {"vcard-malformed/vcardlib_utf16le_bom_concatenated.vcf", 0, 2, true},
      {"vcard30/roundcube_utf-16_sample.vcf", 0, 1, true},
      {"vcard21/fk_utf-8_bom.vcf", 0, 1, true},
      {"vcard21/fk_ansi_German_windows-1252.vcf", 0, 1, false},
  };
  for (const Known& k : known) {
    SCOPED_TRACE(k.file);
    CapturedLog captured;
    CCardDoc doc(captured.log);
    EXPECT_EQ(doc.LoadFromFile(test::CorpusDir() / k.file), k.result);
    EXPECT_EQ(doc.GetItemCount(), k.items);
    if (k.items > 0) {
      EXPECT_EQ(doc.ContentIsUtf8(), k.utf8);
    }
  }
}

}  // namespace
}  // namespace velmora::vcard
