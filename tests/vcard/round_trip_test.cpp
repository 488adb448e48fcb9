// Cards read and written back: parse -> write -> parse must give the same
// record, for every card in the corpus and for hand-made ones, in both
// versions and in the charsets the text fits. The corpus sweep also checks
// what the parser and the converter do with each file.
#include <algorithm>

#include <gtest/gtest.h>

#include "contact/card_names.h"
#include "contact/card_tools.h"
#include "foundation/char_converter.h"
#include "foundation/code_page.h"
#include "support/record_dump.h"
#include "support/test_env.h"
#include "vcard/card_export.h"
#include "vcard/card_parser.h"
#include "vcard/conversion_pipeline.h"
#include "vcard/vcard_test_support.h"

namespace velmora::vcard {
namespace {

using test::DumpContact;
using test::U8;

class RoundTripTest : public ::testing::Test {
 protected:
  RoundTripTest() : charsets_(log_, test::SourceDir() / "data" / "supportedEncodings.txt") {}

  std::vector<contact::ContactRecord> Parse(std::string_view bytes) { return Load(bytes).records; }

  // Parses with the source texts and charsets the converter asks for; checks
  // that each item gives one record whose source is the item's text, and
  // passes the document's result out.
  test::RecordCollector Load(std::string_view bytes, int* result = nullptr) {
    CCardParser parser(log_, &charsets_);
    test::RecordCollector collector;
    auto doc = parser.NewDocument();
    const int loaded = static_cast<int>(parser.LoadMemory(
        *doc, bytes.data(), static_cast<std::int32_t>(bytes.size()),
        {.consumer = &collector, .keep_source_text = true, .collect_charsets = true}));
    EXPECT_TRUE(loaded == 0 || loaded == 1 || loaded == -1) << loaded;
    EXPECT_EQ(static_cast<int>(collector.records.size()), parser.count());
    EXPECT_EQ(parser.count(), doc->GetItemCount());
    for (std::size_t i = 0; i < collector.records.size(); ++i) {
      EXPECT_EQ(collector.records[i].SourceText, collector.texts[i]);
    }
    if (result) *result = loaded;
    return collector;
  }

  std::string Write(const contact::ContactRecord& r, int version, int code_page = 65001,
                    std::string_view charset = "utf-8") {
    CCardExport exporter(log_);
    const char* text = nullptr;
    std::size_t length = 0;
    EXPECT_EQ(exporter.ExportContact(&r, version, code_page, charset, &text, &length), S_OK);
    return text ? std::string(text, length) : std::string();
  }

  CLog log_;
  CCharConverter charsets_;
};

TEST_F(RoundTripTest, CorpusSweep) {
  CCardConverter converter(log_, charsets_, "PRODID:-//Test//EN");
  int cards = 0, files = 0;
  for (const char* folder : {"vcard21", "vcard30", "vcard40", "vcard-malformed"}) {
    for (const auto& entry : std::filesystem::directory_iterator(test::CorpusDir() / folder)) {
      SCOPED_TRACE(entry.path().filename().string());
      const std::string bytes = test::ReadFile(entry.path());
      int loaded = 0;
      const auto records = Load(bytes, &loaded).records;
      ++files;
      for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "card " << i);
        const std::string written = Write(records[i], 30);
        const auto again = Parse(written);
        ASSERT_EQ(again.size(), 1u) << written;
        // The first e-mail without types is written as PREF,INTERNET, so
        // types are compared from the second trip on.
        EXPECT_EQ(DumpContact(again[0], false), DumpContact(records[i], false)) << written;
        const auto third = Parse(Write(again[0], 30));
        ASSERT_EQ(third.size(), 1u);
        EXPECT_EQ(DumpContact(third[0]), DumpContact(again[0]));
        ++cards;
      }
      // The converter decides most copies without parsing; its decisions
      // must match what the parsed records say.
      if (bytes.empty() || bytes[0] == '\0') continue;
      for (int version : {21, 30}) {
        SCOPED_TRACE(version);
        int copyable = 0;
        for (const contact::ContactRecord& r : records) {
          // A UTF-8 target takes only well-formed UTF-8 bytes as they stand.
          copyable += r.Version == version && r.SourceCopyable &&
                      (r.Charsets == "utf-8" || r.Charsets == "UTF-8") &&
                      codepage::IsValidUtf8(r.SourceText);
        }
        std::string text;
        std::vector<std::string> list;
        int converted = -1, copied = -1, errors = -1;
        const HRESULT result = converter.ConvertMemory(bytes, version, 65001, "utf-8", &text, &list,
                                                       &converted, &copied, &errors);
        if (loaded < 0) {
          EXPECT_EQ(result, loaded);
          continue;
        }
        EXPECT_EQ(copied, copyable);
        EXPECT_EQ(converted + copied + errors, static_cast<int>(records.size()));
      }
    }
  }
  EXPECT_GT(files, 80);
  EXPECT_GT(cards, 100);
}

// The lines of a card, sorted.
std::vector<std::string> SortedLines(const std::string& card) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < card.size(); start = end + 2) {
    end = std::min(card.find("\r\n", start), card.size());
    lines.push_back(card.substr(start, end - start));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The writer's golden cards (every property kind) read back and written
// again in their version give the same bytes; the 2.1 IM properties come
// back in the reader's order, so that card is compared line by line.
TEST_F(RoundTripTest, GoldenCardsWriteBackUnchanged) {
  CCardExport exporter(log_, "PRODID:-//Velmora Tests//EN");
  for (const int version : {30, 21}) {
    SCOPED_TRACE(version);
    const std::string golden = test::ReadFile(test::SourceDir() / "tests/vcard/data" /
                                              ("export_full." + std::to_string(version) + ".vcf"));
    const auto parsed = Parse(golden);
    ASSERT_EQ(parsed.size(), 1u);
    const char* text = nullptr;
    std::size_t length = 0;
    ASSERT_EQ(exporter.ExportContact(&parsed[0], version, 65001, "UTF-8", &text, &length), S_OK);
    const std::string written(text, length);
    if (version == 30) {
      EXPECT_EQ(written, golden);
    }
    EXPECT_EQ(SortedLines(written), SortedLines(golden));
  }
}

TEST_F(RoundTripTest, TextSurvivesEachCharsetItFits) {
  struct Case {
    int code_page;
    const char* charset;
    std::u16string name;
  };
  const Case cases[] = {
      {1252, "windows-1252", u"Zoë Ærøskøbing"},
      {1251, "windows-1251", u"Иван Петров"},
      {1250, "windows-1250", u"Łukasz Żółć"},
      {932, "shift_jis", u"山田 太郎"},
      {51932, "euc-jp", u"山田 太郎"},
      {936, "gb2312", u"张 伟"},
      {950, "big5", u"陳 大文"},
      {20866, "koi8-r", u"Иван Петров"},
      {28597, "iso-8859-7", u"Νίκος Παππάς"},
      {65001, "utf-8", u"Zoë 山田 😀"},
  };
  for (const Case& c : cases) {
    for (int version : {21, 30}) {
      SCOPED_TRACE(std::string(c.charset) + " " + std::to_string(version));
      contact::ContactRecord r;
      r.FirstName = c.name.substr(0, c.name.find(u' '));
      r.LastName = c.name.substr(c.name.find(u' ') + 1);
      r.Body = c.name + u"\r\n" + c.name;
      r.Categories = c.name;
      const auto parsed = Parse(Write(r, version, c.code_page, c.charset));
      ASSERT_EQ(parsed.size(), 1u);
      EXPECT_EQ(U8(parsed[0].FirstName + u" " + parsed[0].LastName + u"/" + parsed[0].Body + u"/" +
                   parsed[0].Categories),
                U8(c.name + u"/" + r.Body + u"/" + c.name));
    }
  }
}

TEST_F(RoundTripTest, DocumentedChangesOnTheFirstTrip) {
  contact::ContactRecord r;
  r.LastName = u"Doe";
  r.Emails = {{u"", u"", u"a@example.com", "", u""}, {u"", u"", u"plain", "", u""}};
  r.Photo = {0xFF, 0xD8, 0xFF, 0xE0};
  r.PhotoExt = u"JPG";
  r.Addresses = {{u"HOME", "", u"Home", u"", u"", u"", u"", u"", u"", u""}};
  const auto parsed = Parse(Write(r, 30));
  ASSERT_EQ(parsed.size(), 1u);
  // The first e-mail is marked preferred, addresses with an at sign internet.
  EXPECT_EQ(test::DumpList(parsed[0].Emails), "a@example.com|PREF,INTERNET|SMTP||; plain||||");
  // Image types are normalised; blank addresses are not written.
  EXPECT_EQ(U8(parsed[0].PhotoExt) + std::to_string(parsed[0].Addresses.size()), "JPEG0");
}

}  // namespace
}  // namespace velmora::vcard
