#include "contact/card_fields.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/text_util.h"
#include "support/case_file.h"
#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora::contact {
namespace {

using test::CapturedLog;

std::set<int> Codes(const FieldFilter& filter) {
  return std::set<int>(filter.begin(), filter.end());
}

// Lookups by name in any case, in both text widths, and by code, over the
// whole vocabulary: every row is found, and only that row.
TEST(CardFieldsTest, EveryRowIsFoundByNameInAnyCaseAndByCode) {
  const CCardFields& fields = CCardFields::Get();
  ASSERT_GT(fields.rows().size(), 70u);
  for (const PropertyDef& row : fields.rows()) {
    const std::string name(row.name);
    SCOPED_TRACE(name);
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_EQ(fields.FindByName(std::string_view(name)), &row);
    EXPECT_EQ(fields.FindByName(std::string_view(lower)), &row);
    EXPECT_EQ(fields.FindByName(text::AsciiToUtf16(lower)), &row);
    EXPECT_EQ(fields.FindByCode(row.code), &row);
  }
}

TEST(CardFieldsTest, UnknownNamesAndCodesFindNothing) {
  const CCardFields& fields = CCardFields::Get();
  for (int code : {1, 77, -1}) EXPECT_EQ(fields.FindByCode(code), nullptr) << code;
  for (const char* name : {"LABEL", "", "TEL "}) {
    EXPECT_EQ(fields.FindByName(std::string_view(name)), nullptr) << name;
  }
  EXPECT_EQ(fields.FindByName(std::u16string_view(u"T\u00c9L")), nullptr);
  EXPECT_EQ(fields.FindByName(std::u16string(100, u'A')), nullptr);
}

const std::set<int> kImCodes = {10, 28, 29, 30, 31, 32, 33, 37, 44, 50, 58, 60, 61, 64};

TEST(CardFieldsTest, FilterExpansions) {
  for (const test::FileCase& c : test::ReadCases("contact/data/field_filters.txt")) {
    SCOPED_TRACE(c.name);
    std::vector<std::int32_t> codes;
    std::istringstream in(c["codes"]);
    for (int code; in >> code;) codes.push_back(code);
    CapturedLog capture;
    FieldFilter filter = {99, 100};  // emptied first
    CCardFields::Get().BuildFieldFilter(capture.log, filter, c.Has("related"), codes.data());
    std::string built;
    for (int code : Codes(filter)) {
      if (!built.empty()) built += ' ';
      built += std::to_string(code);
    }
    EXPECT_EQ(built, c["filter"]);
  }
}

TEST(CardFieldsTest, SpanFormStopsAtEndWithoutTerminator) {
  CapturedLog capture;
  FieldFilter filter;
  const std::int32_t codes[] = {9, 14};
  CCardFields::Get().BuildFieldFilter(capture.log, filter, false, std::span(codes));
  EXPECT_EQ(Codes(filter), (std::set<int>{9, 14}));
}

TEST(CardFieldsTest, UnknownCodeIsLoggedAndTheRestProcessed) {
  CapturedLog capture;
  FieldFilter filter;
  const std::int32_t codes[] = {1, 20, -1};
  CCardFields::Get().BuildFieldFilter(capture.log, filter, true, codes);
  EXPECT_TRUE(capture.Has("in CCardFields.BuildFieldFilter: No field with code = 1\n"));
  EXPECT_TRUE(capture.Has("in BuildFieldFilter: Add TEL\n"));
  EXPECT_TRUE(capture.Has("AddRelated X-MS-TEL\n"));
  EXPECT_EQ(Codes(filter), (std::set<int>{20, 42}));
}

TEST(CardFieldsTest, RelatedStepLogsSuperAndRelatedOnce) {
  CapturedLog capture;
  FieldFilter filter;
  // X-GTALK after X-AIM finds its family head already present.
  const std::int32_t codes[] = {28, 31, -1};
  CCardFields::Get().BuildFieldFilter(capture.log, filter, true, codes);
  EXPECT_EQ(Codes(filter), kImCodes);
  EXPECT_EQ(capture.Count("AddSuper IMPP\n"), 1);
  EXPECT_EQ(capture.Count("AddRelated X-GTALK\n"), 1);
  EXPECT_EQ(capture.Count("AddRelated X-AIM\n"), 0);
  EXPECT_EQ(capture.Count("AddRelated "), 12);
  EXPECT_EQ(capture.Count("Add X-GTALK\n"), 1);
}

TEST(CardFieldsTest, NullCodeListIsAnAssertion) {
  CapturedLog capture;
  FieldFilter filter = {5};
  CCardFields::Get().BuildFieldFilter(capture.log, filter, true,
                                      static_cast<const std::int32_t*>(nullptr));
  EXPECT_TRUE(filter.empty());
  EXPECT_TRUE(capture.Has("ASSERT failed in line"));
}

TEST(CardFieldsTest, PreviewFilterAdmitsItsFamiliesAndNothingElse) {
  CapturedLog capture;
  FieldFilter filter;
  BuildPreviewFilter(capture.log, filter);
  std::set<int> expected = kImCodes;
  expected.insert({0, 6, 9, 11, 14, 15, 20, 21, 26, 42});
  EXPECT_EQ(Codes(filter), expected);
  EXPECT_FALSE(capture.Has("No field"));
}

}  // namespace
}  // namespace velmora::contact
