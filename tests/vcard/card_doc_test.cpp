#include "vcard/card_doc.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

using test::CapturedLog;
using test::Card;

TEST(CardDoc, ItemKeepsItsPropertiesInOrder) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  const std::string text =
      "BEGIN:VCARD\r\nVERSION:2.1\r\nitem1.TEL;TYPE=HOME:123\r\nTEL;HOME;VOICE:45\r\n"
      "END:VCARDX\r\nX-A;;:v\r\nEND:VCARD\r\n";
  ASSERT_EQ(doc.LoadFromString(text.c_str()), LoadResult::kComplete);
  const CCardDocItem* item = doc.GetItem(0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(test::Dump(*item),
            "|VERSION||2.1\nitem1.|TEL|TYPE=HOME|123\n|TEL|=HOME;=VOICE|45\n"
            "|END||VCARDX\n|X-A|=;=|v\n");
  EXPECT_EQ(item->begin_prop().name(), "BEGIN");
  EXPECT_EQ(item->end_prop().name(), "END");
  EXPECT_EQ(item->begin_prop().item(), nullptr);
  for (const auto& prop : item->props()) {
    EXPECT_EQ(prop.item(), item);
    for (const auto& param : prop.params()) EXPECT_EQ(param.property(), &prop);
  }
  EXPECT_EQ(item->start(), doc.content().data());
  EXPECT_EQ(item->length(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(item->ToString(), text);
}

TEST(CardDoc, ToStringLeavesRejectedLinesOut) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  const std::string text =
      "\r\n  BEGIN:VCARD\r\nVERSION:3.0\r\nno colon here\r\nFN:A\r\n  \r\n"
      "END:VCARD\r\n\r\n  BEGIN:VCARD\r\nEND:VCARD";
  ASSERT_EQ(doc.LoadFromString(text.c_str()), LoadResult::kComplete);
  ASSERT_EQ(doc.GetItemCount(), 2);
  // From BEGIN up to the first non-blank character after END:VCARD. The
  // blank line after FN:A starts with a space and so continues its value.
  EXPECT_EQ(test::Visible(doc.GetItem(0)->ToString()),
            "BEGIN:VCARD<CR><LF>VERSION:3.0<CR><LF>FN:A<CR><LF>  <CR><LF>"
            "END:VCARD<CR><LF><CR><LF>  ");
  EXPECT_EQ(doc.GetItem(1)->ToString(), "BEGIN:VCARD\r\nEND:VCARD");
  EXPECT_EQ(doc.GetItem(0)->length(),
            static_cast<std::int32_t>(text.find("BEGIN", 10) - text.find("BEGIN")));
}

struct Collector : ICardLoadProgress {
  bool OnCardLoaded(const CCardDocItem& item) override {
    texts.push_back(item.ToString());
    return true;
  }
  std::vector<std::string> texts;
};

// The state machine over tests/vcard/data/doc_load.txt; each document is
// loaded twice, keeping its items and handing them out one by one: both
// loads must give the same result, items and log lines.
TEST(CardDoc, LoadCases) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/doc_load.txt")) {
    SCOPED_TRACE(c.name);
    const std::string& input = c["input"];
    for (const bool keep : {true, false}) {
      SCOPED_TRACE(keep ? "kept" : "dropped");
      CapturedLog captured;
      CCardDoc doc(captured.log);
      doc.set_keep_items(keep);
      Collector seen;
      EXPECT_EQ(
          static_cast<int>(doc.LoadFromMemory(input.data(), static_cast<std::int32_t>(input.size()),
                                              false, keep ? nullptr : &seen)),
          c.Number("result"));
      EXPECT_EQ(keep ? doc.GetItemCount() : static_cast<int>(seen.texts.size()), c.Number("items"));
      if (!keep) {
        EXPECT_EQ(doc.GetItemCount(), 0);
      } else if (c.Number("items") == 0) {
        EXPECT_TRUE(doc.content().empty());
      }
      for (const std::string& message : c.All("logged")) {
        EXPECT_EQ(captured.Count(message), 1) << message << "\n" << captured.Text();
      }
      EXPECT_EQ(captured.Problems(), c.Number("problems")) << captured.Text();
      if (c.Has("version") && keep) {
        // Asked twice: the second answer comes from what the first found.
        EXPECT_DOUBLE_EQ(doc.GetItem(0)->GetVersion(), std::stod(c["version"]));
        EXPECT_DOUBLE_EQ(doc.GetItem(0)->GetVersion(), std::stod(c["version"]));
      }
    }
  }
}

TEST(CardDoc, DroppedItemsReuseTheirSlots) {
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    text += Card(i % 2 ? "3.0" : "2.1", "item1.TEL;TYPE=HOME,\r\n WORK;X-N=" + std::to_string(i) +
                                            ":" + std::to_string(i) +
                                            "\r\nNOTE;ENCODING=QUOTED-PRINTABLE:a=\r\nb\r\n");
  }
  struct Values : ICardLoadProgress {
    bool OnCardLoaded(const CCardDocItem& item) override {
      std::string line = item.ToString();
      for (const CCardDocItemProp& prop : item.props()) {
        for (const CCardDocItemPropParam& param : prop.params()) {
          line.append("|").append(param.GetName()).append("=").append(param.GetValue());
        }
        std::u16string value;
        prop.GetDecodedValue(value);
        line.append("|").append(value.begin(), value.end());
      }
      lines.push_back(line);
      return true;
    }
    std::vector<std::string> lines;
  };
  CapturedLog captured;
  Values kept, dropped;
  CCardDoc keeping(captured.log);
  ASSERT_EQ(
      keeping.LoadFromMemory(text.data(), static_cast<std::int32_t>(text.size()), true, &kept),
      LoadResult::kComplete);
  CCardDoc dropping(captured.log);
  dropping.set_keep_items(false);
  ASSERT_EQ(
      dropping.LoadFromMemory(text.data(), static_cast<std::int32_t>(text.size()), true, &dropped),
      LoadResult::kComplete);
  ASSERT_EQ(kept.lines.size(), 3000u);
  EXPECT_EQ(kept.lines, dropped.lines);
  EXPECT_NE(kept.lines[7].find("|TYPE=HOME,WORK|X-N=7|7|"), std::string::npos) << kept.lines[7];
  EXPECT_EQ(dropping.GetItemCount(), 0);
}

TEST(CardDoc, ArgumentsAndFlags) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  const std::string text = Card("2.1", "FN:x\r\n");
  EXPECT_EQ(doc.Load(static_cast<const char*>(nullptr), 5), LoadResult::kNoItem);
  EXPECT_EQ(doc.Load(text.c_str(), -1), LoadResult::kNoItem);
  EXPECT_EQ(doc.Load(std::string(text), -1), LoadResult::kNoItem);
  EXPECT_EQ(captured.Count("ASSERT failed in line"), 3) << captured.Text();

  EXPECT_EQ(doc.Load(text.c_str(), -1, {.zero_terminated = true}), LoadResult::kComplete);
  EXPECT_EQ(doc.content(), text);
  // With a length, zero termination still ends the copy at the terminator.
  const std::string with_zero = text + std::string("\0garbage", 8);
  EXPECT_EQ(doc.Load(with_zero.c_str(), static_cast<std::int32_t>(with_zero.size()),
                     {.zero_terminated = true}),
            LoadResult::kComplete);
  EXPECT_EQ(doc.content(), text);
  EXPECT_EQ(doc.Load(std::string(with_zero), -1, {.zero_terminated = true}), LoadResult::kComplete);
  EXPECT_EQ(doc.content(), text);
  // Only a part of the buffer.
  EXPECT_EQ(doc.Load(text.c_str(), 10), LoadResult::kNoItem);

  std::string owned = text + "trailing bytes";
  const char* data = owned.data();
  EXPECT_EQ(doc.Load(std::move(owned), static_cast<std::int32_t>(text.size())),
            LoadResult::kComplete);
  EXPECT_EQ(doc.content().data(), data);  // parsed in place, not copied
  EXPECT_EQ(doc.content(), text);
  // Longer than the buffer.
  EXPECT_EQ(doc.Load(std::string(text), 1000), LoadResult::kNoItem);

  doc.Clear();
  EXPECT_EQ(doc.GetItemCount(), 0);
  EXPECT_TRUE(doc.content().empty());
  EXPECT_EQ(doc.GetItem(0), nullptr);
}

TEST(CardDoc, LoadFromFile) {
  test::TempDir dir;
  CapturedLog captured;
  CCardDoc doc(captured.log);
  const std::string text = Card("3.0", "FN:x\r\n");
  test::WriteFile(dir / "a.vcf", "\xEF\xBB\xBF" + text);
  EXPECT_EQ(doc.LoadFromFile(dir / "a.vcf"), S_OK);
  EXPECT_EQ(doc.GetItemCount(), 1);
  EXPECT_TRUE(doc.ContentIsUtf8());
  EXPECT_EQ(doc.content(), text);
  EXPECT_EQ(doc.file_name(), dir / "a.vcf");

  EXPECT_EQ(doc.LoadFromFile(dir / "missing.vcf"), HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(doc.GetItemCount(), 0);
  EXPECT_TRUE(captured.Has("in CCardDoc.LoadFromFile: File.Create")) << captured.Text();
  EXPECT_EQ(doc.LoadFromFile(dir.path()), HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED));

  // Beyond a 32-bit length: refused before anything is read (a sparse file).
  const auto huge = dir / "huge.vcf";
  test::WriteFile(huge, "BEGIN:VCARD\r\n");
  std::filesystem::resize_file(huge, 0x80000000ull);
  EXPECT_EQ(doc.LoadFromFile(huge), HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE));
  EXPECT_TRUE(captured.Has("Err[0x800700DF] in CCardDoc.LoadFromFile: File.GetSize"))
      << captured.Text();
  EXPECT_EQ(doc.GetItemCount(), 0);

  // The file name appears in the binary-content message.
  test::WriteFile(dir / "bin.vcf", std::string("BEGIN:VCARD\r\nFN:\0\0\r\nEND:VCARD\r\n", 31));
  EXPECT_EQ(doc.LoadFromFile(dir / "bin.vcf"), S_OK);
  EXPECT_TRUE(captured.Has("bin.vcf) contains unencoded binary data(2 bad symbols)"))
      << captured.Text();
  EXPECT_EQ(doc.GetItem(0)->FindProp("FN")->raw_value(), "  ");

  // The other loads forget the file name.
  EXPECT_EQ(doc.LoadFromString(text.c_str()), LoadResult::kComplete);
  EXPECT_TRUE(doc.file_name().empty());
}

TEST(CardDoc, ReloadReplacesEverything) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string_view("BEGIN:VCARD\nEND:VCARD")) {
    utf16.push_back(c);
    utf16.push_back('\0');
  }
  ASSERT_EQ(doc.LoadFromMemory(utf16.data(), static_cast<std::int32_t>(utf16.size()), true),
            LoadResult::kComplete);
  EXPECT_TRUE(doc.ContentIsUtf8());
  EXPECT_EQ(doc.content(), "BEGIN:VCARD\nEND:VCARD");
  const std::string text = Card("2.1", "") + Card("2.1", "");
  ASSERT_EQ(doc.LoadFromString(text.c_str()), LoadResult::kComplete);
  EXPECT_EQ(doc.GetItemCount(), 2);
  EXPECT_FALSE(doc.ContentIsUtf8());
}

TEST(CardDoc, JoinedFilesReadAsTheirCards) {
  CapturedLog captured;
  CCardDoc doc(captured.log);
  // A card cut off by the next one ends where the next begins; its text
  // gets the END it lacked, so that it reads back on its own.
  const std::string cut = "BEGIN:VCARD\r\nN:A\r\nTEL:1\r\n";
  const std::string text = cut + "BEGIN:VCARD\r\nN:B\r\nEND:VCARDBEGIN:VCARD\r\nN:C\r\nEND:VCARD";
  ASSERT_EQ(doc.LoadFromString(text.c_str()), LoadResult::kStopped);
  ASSERT_EQ(doc.GetItemCount(), 3);
  EXPECT_TRUE(doc.GetItem(0)->IsCutOff());
  EXPECT_EQ(doc.GetItem(0)->GetPropCount(), 2);
  EXPECT_EQ(doc.GetItem(0)->length(), static_cast<std::int32_t>(cut.size()));
  EXPECT_EQ(doc.GetItem(0)->ToString(), cut + "END:VCARD\r\n");
  EXPECT_EQ(doc.GetItem(1)->ToString(), "BEGIN:VCARD\r\nN:B\r\nEND:VCARD");
  EXPECT_EQ(doc.GetItem(1)->end_prop().raw_value(), "VCARD");
  EXPECT_EQ(doc.GetItem(2)->ToString(), "BEGIN:VCARD\r\nN:C\r\nEND:VCARD");
  EXPECT_EQ(captured.Count("Error - no END:VCARD"), 1);

  // Two UTF-16 exports joined: the second mark sits before its BEGIN.
  std::string utf16;
  for (const std::u16string_view part : {u"\uFEFFBEGIN:VCARD\r\nN:A\r\nEND:VCARD\r\n",
                                         u"\uFEFFBEGIN:VCARD\r\nN:B\r\nEND:VCARD\r\n"}) {
    for (char16_t c : part) {
      utf16.push_back(static_cast<char>(c & 0xFF));
      utf16.push_back(static_cast<char>(c >> 8));
    }
  }
  ASSERT_EQ(doc.LoadFromMemory(utf16.data(), static_cast<std::int32_t>(utf16.size()), true),
            LoadResult::kComplete);
  ASSERT_EQ(doc.GetItemCount(), 2);
  EXPECT_EQ(doc.GetItem(1)->ToString(), "BEGIN:VCARD\r\nN:B\r\nEND:VCARD\r\n");
}

}  // namespace
}  // namespace velmora::vcard
