#include "csv/csv_headers.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv_test_support.h"
#include "support/case_file.h"

namespace velmora::csv {
namespace {

using CsvHeaders = test::CsvTest;
using test::U16;
using test::U8;

std::vector<std::uint32_t> Codes(const CsvHeaderList& list) {
  std::vector<std::uint32_t> codes;
  for (const CCsvHeader* entry : list) codes.push_back(entry->Code);
  return codes;
}

// Each dialect list holds exactly the entries whose mask has its bit.
TEST_F(CsvHeaders, ListsMatchTheDialectMasks) {
  const std::pair<ECsvType, int> lists[] = {{vlmcsvOutlook, 0},
                                            {vlmcsvOutlook365v1, 0},
                                            {vlmcsvOutlook365v2, 0},
                                            {vlmcsvNokia, 0},
                                            {vlmcsvGoogle, 1}};
  for (const auto& [type, variant] : lists) {
    SCOPED_TRACE(type);
    const CsvHeaderList& list = headers_.GetHeaderList(type, variant);
    std::set<std::uint32_t> listed;
    for (const CCsvHeader* entry : list) {
      EXPECT_TRUE(CCsvHeaders::IsSupported(*entry, type)) << entry->Code;
      EXPECT_TRUE(listed.insert(entry->Code).second) << "twice: " << entry->Code;
    }
    std::size_t with_bit = 0;
    for (const CCsvHeader& entry : headers_.entries()) {
      with_bit += CCsvHeaders::IsSupported(entry, type) && !entry.IsGroupped();
    }
    EXPECT_EQ(with_bit, list.size());
  }
}

TEST_F(CsvHeaders, ListOrders) {
  std::vector<std::uint32_t> outlook;
  for (std::uint32_t code = 1; code <= 92; ++code) outlook.push_back(code);
  EXPECT_EQ(Codes(headers_.GetHeaderList(vlmcsvOutlook, 0)), outlook);
  EXPECT_EQ(Codes(headers_.GetHeaderList(vlmcsvOutlook365v1, 0)),
            (std::vector<std::uint32_t>{2,  3,  4,  58, 61, 64, 38, 39, 32, 33, 41, 43, 45, 16,
                                        19, 20, 21, 22, 23, 26, 27, 28, 29, 9,  12, 13, 14, 15}));
  EXPECT_EQ(Codes(headers_.GetHeaderList(vlmcsvOutlook, 2)),
            Codes(headers_.GetHeaderList(vlmcsvOutlook365v1, 0)));
  // Full: the plain list, then every grouped entry in catalogue order.
  const std::vector<std::uint32_t> full = Codes(headers_.GetHeaderList(vlmcsvGoogle, 0));
  const std::vector<std::uint32_t> plain = Codes(headers_.GetHeaderList(vlmcsvGoogle, 1));
  ASSERT_EQ(full.size(), 65u);
  EXPECT_TRUE(std::equal(plain.begin(), plain.end(), full.begin()));
  EXPECT_EQ(full[27], 0x01000000u);
  EXPECT_EQ(full[30], 0x02000002u);  // IM's Service comes before its Value
  EXPECT_EQ(full[64], 0x0C000001u);
}

// Every name of every plain entry, in every spelling and case, leads back
// to the entry; grouped entries are found through their formats.
TEST_F(CsvHeaders, EveryNameFindsItsCode) {
  for (const CCsvHeader& entry : headers_.entries()) {
    SCOPED_TRACE(U8(entry.Name));
    EXPECT_EQ(headers_.FindHeaderByCode(entry.Code), &entry);
    if (entry.IsGroupped()) {
      const std::u16string name = entry.GroupName + u" 7 - " + entry.GroupPropName;
      EXPECT_EQ(headers_.FindCodeByName(name), entry.Code | 0x700u);
      EXPECT_EQ(entry.Name, entry.GroupName + u" * - " + entry.GroupPropName);
      continue;
    }
    for (const std::u16string* name :
         {&entry.Name, &entry.NameAlt, &entry.NameGoogle, &entry.NameNokia}) {
      if (name->empty()) continue;
      EXPECT_EQ(headers_.FindCodeByName(*name), entry.Code) << U8(*name);
      std::u16string lower = *name;
      for (char16_t& c : lower) c = (c >= u'A' && c <= u'Z') ? c + 32 : c;
      EXPECT_EQ(headers_.FindCodeByName(lower), entry.Code) << U8(lower);
    }
  }
}

TEST_F(CsvHeaders, NameCases) {
  for (const test::FileCase& c : test::ReadCases("csv/data/header_names.txt")) {
    SCOPED_TRACE(c.name);
    for (const std::string& line : c.All("find")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      EXPECT_EQ(headers_.FindCodeByName(U16(parts[0])), std::stoul(parts[1], nullptr, 0)) << line;
    }
    for (const std::string& line : c.All("parse")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      std::u16string format;
      std::uint32_t index = 0;
      EXPECT_EQ(CCsvHeaders::ParseIndexedName(U16(parts[0]), &format, &index), parts[1] != "none")
          << line;
      if (parts[1] == "none") continue;
      EXPECT_EQ(U8(format), parts[1]) << line;
      EXPECT_EQ(index, std::stoul(parts[2])) << line;
    }
    for (const std::string& line : c.All("build")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      const std::vector<std::string> key = test::Split(parts[0], " ");
      EXPECT_EQ(U8(headers_.BuildHeaderName(std::stoul(key[0], nullptr, 0),
                                            test::CsvTypeNamed(key[1]), u"")),
                parts[1])
          << line;
    }
    for (const std::string& line : c.All("list")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      const std::vector<std::string> key = test::Split(parts[0], " ");
      const int asserts = captured_.Count("ASSERT failed");
      EXPECT_EQ(headers_.GetHeaderList(test::CsvTypeNamed(key[0]), std::stoi(key[1])).size(),
                std::stoul(parts[1]))
          << line;
      EXPECT_EQ(captured_.Count("ASSERT failed") - asserts, parts.size() > 2 ? 1 : 0) << line;
    }
    for (const std::string& line : c.All("order")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      std::vector<std::string> words = test::Split(parts[0], " ");
      const ECsvType type = test::CsvTypeNamed(words[0]);
      std::vector<std::uint32_t> codes;
      for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] != "-") codes.push_back(std::stoul(words[i], nullptr, 0));
      }
      headers_.GetHeaders(codes, type, false);
      std::string out;
      for (const std::uint32_t code : codes) out += std::to_string(code) + " ";
      std::string want;
      for (const std::string& word : test::Split(parts[1], " ")) {
        if (word != "-") want += std::to_string(std::stoul(word, nullptr, 0)) + " ";
      }
      EXPECT_EQ(out, want) << line;
    }
    for (const std::string& line : c.All("dialect")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      const std::vector<std::string> key = test::Split(parts[0], " ");
      const std::uint32_t code = std::stoul(key[0]);
      const ECsvType type = test::CsvTypeNamed(key[1]);
      const CCsvHeader* entry = headers_.FindHeaderByCode(code);
      ASSERT_NE(entry, nullptr) << line;
      EXPECT_EQ(U8(CCsvHeaders::GetName(*entry, type)), parts[1]) << line;
      EXPECT_EQ(U8(CCsvHeaders::GetAltName(*entry, type)), parts[2]) << line;
      EXPECT_EQ(U8(headers_.BuildHeaderName(code, type, u"")), parts[3]) << line;
    }
  }
  EXPECT_EQ(captured_.Problems(), 3);  // the three refused lists
}

TEST_F(CsvHeaders, GroupedUnknownAndUnlocalisedNamesAreBuilt) {
  for (ECsvType type : {vlmcsvGoogle, vlmcsvOutlook, vlmcsvNokia}) {
    EXPECT_EQ(headers_.BuildHeaderName(0x01000201, type, u"1036"), u"E-mail 2 - Value");
    EXPECT_EQ(headers_.BuildHeaderName(0x0400FF0A, type, u""), u"Address 255 - Extended Address");
    EXPECT_EQ(headers_.BuildHeaderName(0, type, u""), u"");
    EXPECT_EQ(headers_.BuildHeaderName(129, type, u""), u"");
    EXPECT_EQ(headers_.BuildHeaderName(0x0D000100, type, u""), u"");
  }
  EXPECT_EQ(headers_.FindHeaderByCode(0), nullptr);
  EXPECT_EQ(headers_.FindHeaderByCode(0x01000000)->Code, 0x01000000u);
  EXPECT_EQ(headers_.FindHeaderByCode(0x01123401)->Code, 0x01000001u);
  EXPECT_FALSE(captured_.Has("Err"));
  // Without locales every LID is unknown: logged, and English is written.
  EXPECT_EQ(headers_.BuildHeaderName(8, vlmcsvOutlook, u"1036"), u"Job Title");
  EXPECT_TRUE(
      captured_.Has("in CCsvHeaders.BuildHeaderName: no locale \"1036\" in "
                    "supportedOutlookHeaders.csv"));
  // Other dialects never look a locale up.
  EXPECT_EQ(headers_.BuildHeaderName(1, vlmcsvGoogle, u"9999"), u"Name Prefix");
  EXPECT_EQ(headers_.BuildHeaderName(1, vlmcsvNokia, u"9999"), u"Title");
  EXPECT_EQ(captured_.Count("no locale"), 1);
}

TEST_F(CsvHeaders, GetHeadersAddAll) {
  std::vector<std::uint32_t> codes = {0x01000101, 123, 5};
  headers_.GetHeaders(codes, vlmcsvOutlook, true);
  ASSERT_EQ(codes.size(), 94u);
  EXPECT_EQ(codes[0], 1u);
  EXPECT_EQ(codes[91], 92u);
  EXPECT_EQ(codes[92], 123u);
  EXPECT_EQ(codes[93], 0x01000101u);
  // Google adds its plain list only, not the grouped columns.
  codes = {};
  headers_.GetHeaders(codes, vlmcsvGoogle, true);
  EXPECT_EQ(codes, Codes(headers_.GetHeaderList(vlmcsvGoogle, 1)));
  EXPECT_FALSE(captured_.Has("ASSERT"));
  // An unknown dialect is an assertion; the codes still come out, ascending.
  codes = {9, 3, 9};
  headers_.GetHeaders(codes, vlmcsvUnknown, true);
  EXPECT_EQ(codes, (std::vector<std::uint32_t>{3, 9}));
  EXPECT_TRUE(captured_.Has("ASSERT failed"));
}

TEST_F(CsvHeaders, GroupsAndKnownTypes) {
  const CsvHeaderList* address = headers_.FindGroupByName(u"ADDRESS");
  ASSERT_NE(address, nullptr);
  ASSERT_EQ(address->size(), 9u);
  EXPECT_EQ(address->front()->Code, 0x04000000u);
  EXPECT_EQ(address->back()->Group, address);
  EXPECT_EQ(address->back()->GroupCode(), static_cast<std::uint32_t>(csvgAddress));
  EXPECT_EQ(address->back()->GroupPropCode(), csvgpAdrNeighborhood);
  EXPECT_EQ(headers_.FindGroupByName(u"Calendar Link")->size(), 2u);
  EXPECT_EQ(headers_.FindGroupByName(u"Nothing"), nullptr);
  EXPECT_EQ(headers_.FindGroupByName(u""), nullptr);
  const CCsvHeader& title = *headers_.FindHeaderByCode(1);
  EXPECT_EQ(title.GroupPropCode(), csvgpNone);
  EXPECT_EQ(title.Group, nullptr);

  // Each group's first known type word, by group code ("-": none).
  const char* const kFirstTypes[] = {
      "-",       "Home",    "Aim",       "Assistant",   "Home", "-",       "Assistant",
      "Account", "Profile", "Free Busy", "Anniversary", "-",    "Keywords"};
  for (const CCsvHeader& entry : headers_.entries()) {
    const auto types = CCsvHeaders::GetKnownTypes(entry);
    EXPECT_EQ(types.empty() ? "-" : U8(types.front()), kFirstTypes[entry.GroupCode()])
        << U8(entry.Name);
  }
}

}  // namespace
}  // namespace velmora::csv
