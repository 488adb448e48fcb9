#include "contact/card_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "contact/contact_test_util.h"
#include "foundation/text_util.h"

namespace velmora {
namespace {

struct Row {
  int code;
  const char* name;
  unsigned flags;
  int family;
};

// The vocabulary, row by row in table order.
const Row kExpected[] = {
    {0, "ADR", 6, 0}, {2, "BDAY", 16, 2}, {3, "BEGIN", 1, 3}, {4, "CATEGORIES", 6, 4},
    {5, "CLASS", 32, 5}, {6, "EMAIL", 2, 6}, {7, "END", 1, 7}, {8, "FBURL", 128, 8},
    {9, "FN", 2, 9}, {10, "IMPP", 2, 10}, {11, "N", 6, 11}, {12, "NICKNAME", 2, 12},
    {13, "X-MAIDENNAME", 2, 13}, {14, "NOTE", 2, 14}, {15, "ORG", 6, 15}, {16, "PHOTO", 384, 16},
    {17, "PRODID", 9, 17}, {18, "REV", 16, 18}, {19, "ROLE", 2, 19}, {20, "TEL", 2, 20},
    {21, "TITLE", 2, 21}, {22, "UID", 64, 22}, {23, "URL", 128, 23}, {24, "VERSION", 1, 24},
    {25, "X-ABDATE", 16, 25}, {26, "X-ABLABEL", 2, 26}, {27, "X-ABRELATEDNAMES", 2, 27},
    {28, "X-AIM", 2, 10}, {29, "X-GADUGADU", 2, 10}, {30, "X-GOOGLE-TALK", 2, 10},
    {31, "X-GTALK", 2, 10}, {32, "X-ICQ", 2, 10}, {33, "X-JABBER", 2, 10},
    {34, "X-MS-ANNIVERSARY", 16, 25}, {35, "X-MS-ASSISTANT", 2, 27}, {36, "X-MS-CHILD", 6, 36},
    {37, "X-MS-IMADDRESS", 2, 10}, {38, "X-MS-INTERESTS", 2, 38}, {39, "X-MS-MANAGER", 2, 27},
    {40, "X-MS-OL-DEFAULT-POSTAL-ADDRESS", 32, 40}, {41, "X-MS-SPOUSE", 2, 27},
    {42, "X-MS-TEL", 2, 20}, {43, "X-MS-TEXT", 2, 43}, {44, "X-MSN", 2, 10},
    {45, "X-OUTL-ANNIVERSARY", 16, 25}, {46, "X-OUTL-ASSISTANTNAME", 2, 27},
    {47, "X-OUTL-CATEGORIES", 6, 4}, {48, "X-OUTL-CLASS", 32, 5}, {49, "X-OUTL-IFBADDRESS", 128, 8},
    {50, "X-OUTL-IMADDRESS", 2, 10}, {51, "X-OUTL-MANAGERNAME", 2, 27},
    {52, "X-OUTL-NMALIAS", 2, 52}, {53, "X-OUTL-NMSERVER", 128, 53}, {54, "X-OUTL-SPOUSE", 2, 27},
    {55, "X-PHONETIC-FIRST-NAME", 2, 55}, {57, "X-PHONETIC-MIDDLE-NAME", 2, 57},
    {56, "X-PHONETIC-LAST-NAME", 2, 56}, {58, "X-QQ", 2, 10}, {59, "X-SKYPE-SEX", 32, 63},
    {60, "X-SKYPE", 2, 10}, {61, "X-SKYPE-USERNAME", 2, 10}, {62, "X-SOCIALPROFILE", 2, 62},
    {63, "X-WAB-GENDER", 32, 63}, {64, "X-YAHOO", 2, 10}, {65, "X-ZORVA-OL-ACCOUNT", 2, 65},
    {66, "X-ZORVA-OL-BILLING-INFORMATION", 2, 66}, {67, "X-ZORVA-OL-GOVERNMENT-ID-NUMBER", 2, 67},
    {68, "X-ZORVA-OL-KEYWORD", 2, 68}, {69, "X-ZORVA-OL-LOCATION", 2, 69},
    {70, "X-ZORVA-OL-LOCATION-EX", 2, 70}, {71, "X-ZORVA-OL-MILEAGE", 2, 71},
    {72, "X-ZORVA-OL-ORGANIZATIONAL-ID-NUMBER", 2, 72}, {73, "X-ZORVA-OL-PREFERRED-BY", 2, 73},
    {74, "X-ZORVA-OL-SCHOOL", 2, 74}, {75, "X-ZORVA-OL-YOMI-COMPANY", 2, 75},
    {76, "X-ZORVA-CUSTOM-FIELD", 2, 76},
};

using test::LogCapture;

std::set<int> Codes(const FieldFilter& filter) {
  return std::set<int>(filter.begin(), filter.end());
}

TEST(CardFieldsTest, RowsMatchTheVocabularyInOrder) {
  const auto rows = CCardFields::Get().rows();
  ASSERT_EQ(rows.size(), std::size(kExpected));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(kExpected[i].name);
    EXPECT_EQ(rows[i].code, kExpected[i].code);
    EXPECT_EQ(rows[i].name, kExpected[i].name);
    EXPECT_EQ(rows[i].flags, kExpected[i].flags);
    EXPECT_EQ(rows[i].family, kExpected[i].family);
  }
}

TEST(CardFieldsTest, EveryRowIsFoundByNameInAnyCaseAndByCode) {
  const CCardFields& fields = CCardFields::Get();
  for (const Row& row : kExpected) {
    SCOPED_TRACE(row.name);
    std::string lower = row.name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const PropertyDef* by_name = fields.FindByName(std::string_view(row.name));
    ASSERT_NE(by_name, nullptr);
    EXPECT_EQ(by_name->code, row.code);
    EXPECT_EQ(fields.FindByName(std::string_view(lower)), by_name);
    EXPECT_EQ(fields.FindByName(text::AsciiToUtf16(lower)), by_name);
    EXPECT_EQ(fields.FindByCode(row.code), by_name);
  }
}

TEST(CardFieldsTest, UnknownNamesAndCodesFindNothing) {
  const CCardFields& fields = CCardFields::Get();
  EXPECT_EQ(fields.FindByCode(1), nullptr);
  EXPECT_EQ(fields.FindByCode(77), nullptr);
  EXPECT_EQ(fields.FindByCode(-1), nullptr);
  EXPECT_EQ(fields.FindByName(std::string_view("LABEL")), nullptr);
  EXPECT_EQ(fields.FindByName(std::string_view("")), nullptr);
  EXPECT_EQ(fields.FindByName(std::string_view("TEL ")), nullptr);
  EXPECT_EQ(fields.FindByName(std::u16string_view(u"T\u00c9L")), nullptr);
  EXPECT_EQ(fields.FindByName(std::u16string(100, u'A')), nullptr);
}

TEST(CardFieldsTest, KindFlagHelper) {
  const PropertyDef* adr = CCardFields::Get().FindByCode(prop::ADR);
  EXPECT_TRUE(adr->Has(fkText | fkStructured));
  EXPECT_FALSE(adr->Has(fkStructural));
  EXPECT_TRUE(CCardFields::Get().FindByCode(prop::PRODID)->Has(fkStructural));
}

struct FilterCase {
  const char* what;
  std::vector<int> codes;
  bool add_related;
  std::set<int> expected;
};

const std::set<int> kImCodes = {10, 28, 29, 30, 31, 32, 33, 37, 44, 50, 58, 60, 61, 64};

TEST(CardFieldsTest, FilterExpansions) {
  const FilterCase cases[] = {
      {"X-AIM related", {28, -1}, true, kImCodes},
      {"IMPP related", {10, -1}, true, kImCodes},
      {"X-AIM alone", {28, -1}, false, {28}},
      {"TEL related", {20, -1}, true, {20, 42}},
      {"X-MS-TEL related", {42, -1}, true, {20, 42}},
      {"N related", {11, -1}, true, {11}},
      {"anniversary", {34, -1}, true, {25, 34, 45}},
      {"manager", {51, -1}, true, {27, 35, 39, 41, 46, 51, 54}},
      {"gender", {59, -1}, true, {59, 63}},
      {"categories", {47, -1}, true, {4, 47}},
      {"class", {5, -1}, true, {5, 48}},
      {"free-busy", {49, -1}, true, {8, 49}},
      {"unknown skipped", {1, 9, 99, -1}, true, {9}},
      {"stops at -1", {9, -1, 14}, false, {9}},
      {"empty list", {-1}, true, {}},
  };
  for (const FilterCase& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture capture;
    FieldFilter filter = {99, 100};  // emptied first
    CCardFields::Get().BuildFieldFilter(capture.log(), filter, c.add_related, c.codes.data());
    EXPECT_EQ(Codes(filter), c.expected);
  }
}

TEST(CardFieldsTest, SpanFormStopsAtEndWithoutTerminator) {
  LogCapture capture;
  FieldFilter filter;
  const std::int32_t codes[] = {9, 14};
  CCardFields::Get().BuildFieldFilter(capture.log(), filter, false, std::span(codes));
  EXPECT_EQ(Codes(filter), (std::set<int>{9, 14}));
}

TEST(CardFieldsTest, UnknownCodeIsLoggedAndTheRestProcessed) {
  LogCapture capture;
  FieldFilter filter;
  const std::int32_t codes[] = {1, 20, -1};
  CCardFields::Get().BuildFieldFilter(capture.log(), filter, true, codes);
  EXPECT_TRUE(capture.Contains("in CCardFields.BuildFieldFilter: No field with code = 1\n"));
  EXPECT_TRUE(capture.Contains("in BuildFieldFilter: Add TEL\n"));
  EXPECT_TRUE(capture.Contains("AddRelated X-MS-TEL\n"));
  EXPECT_EQ(Codes(filter), (std::set<int>{20, 42}));
}

TEST(CardFieldsTest, RelatedStepLogsSuperAndRelatedOnce) {
  LogCapture capture;
  FieldFilter filter;
  // X-GTALK after X-AIM finds its family head already present.
  const std::int32_t codes[] = {28, 31, -1};
  CCardFields::Get().BuildFieldFilter(capture.log(), filter, true, codes);
  EXPECT_EQ(Codes(filter), kImCodes);
  EXPECT_EQ(capture.Count("AddSuper IMPP\n"), 1);
  EXPECT_EQ(capture.Count("AddRelated X-GTALK\n"), 1);
  EXPECT_EQ(capture.Count("AddRelated X-AIM\n"), 0);
  EXPECT_EQ(capture.Count("AddRelated "), 12);
  EXPECT_EQ(capture.Count("Add X-GTALK\n"), 1);
}

TEST(CardFieldsTest, NullCodeListIsAnAssertion) {
  LogCapture capture;
  FieldFilter filter = {5};
  CCardFields::Get().BuildFieldFilter(capture.log(), filter, true,
                                      static_cast<const std::int32_t*>(nullptr));
  EXPECT_TRUE(filter.empty());
  EXPECT_TRUE(capture.Contains("ASSERT failed in line"));
}

TEST(CardFieldsTest, PreviewFilterAdmitsItsFamiliesAndNothingElse) {
  LogCapture capture;
  FieldFilter filter;
  BuildPreviewFilter(capture.log(), filter);
  std::set<int> expected = kImCodes;
  expected.insert({0, 6, 9, 11, 14, 15, 20, 21, 26, 42});
  EXPECT_EQ(Codes(filter), expected);
  EXPECT_FALSE(capture.Contains("No field"));
}

}  // namespace
}  // namespace velmora
