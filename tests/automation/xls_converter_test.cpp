// The converter's spreadsheet methods: argument checks and statuses, a
// sheet loaded as CSV cells, sheets described, workbooks written from CSV
// text and from cards, and the round trip of the corpus contacts through
// .xlsx and .xls for the Outlook and Google dialects.
#include <filesystem>
#include <string>
#include <vector>

#include <velmora/velmora.h>

#include <gtest/gtest.h>

#include "automation/automation_test_support.h"

namespace velmora {
namespace {

using test::U16;
using test::U8;

std::u16string Corpus(const char* name) { return U16(test::CorpusDir() / "spreadsheets" / name); }

TEST(XlsConverter, StatusesAndArgumentChecks) {
  const auto fresh = CreateCardConverter();
  HRESULT result = 7;
  std::shared_ptr<ICsvCells> cells;
  EXPECT_EQ(fresh->LoadXlsCells(u"a.xlsx", 0, &cells, nullptr, nullptr, nullptr, true, nullptr,
                                nullptr, nullptr, nullptr, &result),
            E_GENERIC_FAILURE);
  EXPECT_EQ(fresh->AutodetectXls(u"a.xlsx", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, &result),
            E_GENERIC_FAILURE);
  EXPECT_EQ(result, 7);

  const auto converter = test::NewConverter(u"XlsChecks", u"x");
  EXPECT_EQ(
      converter->LoadXlsCells(Corpus("calamine_date.xlsx"), 0, &cells, nullptr, nullptr, nullptr,
                              true, nullptr, nullptr, nullptr, nullptr, &result, Variant(u"15")),
      E_INVALIDARG);
  EXPECT_EQ(converter->LoadXlsCells(u"a.xlsx", 0, &cells, nullptr, nullptr, nullptr, true, nullptr,
                                    nullptr, nullptr, nullptr, nullptr),
            E_INVALIDARG);
  for (const char16_t* name : {u"", u"contacts.csv"}) {
    EXPECT_EQ(converter->LoadXlsCells(name, 0, &cells, nullptr, nullptr, nullptr, true, nullptr,
                                      nullptr, nullptr, nullptr, &result),
              S_NO_CONTENT);
    EXPECT_EQ(result, E_INVALIDARG);
  }
  std::u16string error;
  EXPECT_EQ(converter->LoadXlsCells(Corpus("calamine_date.xlsx"), 4, &cells, &error, nullptr,
                                    nullptr, true, nullptr, nullptr, nullptr, nullptr, &result),
            S_NO_CONTENT);
  EXPECT_EQ(result, E_GENERIC_FAILURE);
  EXPECT_EQ(U8(error), "no sheet 4: the workbook has 1");
  EXPECT_EQ(cells, nullptr);
  const std::string log = test::LogText("XlsChecks", "x");
  EXPECT_NE(log.find("vXlsFlags must be LONG or Missing"), std::string::npos);
  EXPECT_NE(log.find("Cant load sheet[4] from file("), std::string::npos);
}

TEST(XlsConverter, LoadsASheetAsCells) {
  const auto converter = test::NewConverter();
  std::shared_ptr<ICsvCells> cells;
  std::u16string name, headers;
  bool empty = true;
  HRESULT result = 7;
  ASSERT_EQ(converter->LoadXlsCells(Corpus("calamine_header-row.xlsx"), 0, &cells, nullptr, &name,
                                    &empty, true, nullptr, nullptr, nullptr, &headers, &result),
            S_OK);
  EXPECT_EQ(result, S_OK);
  EXPECT_EQ(name, u"Sheet1");
  EXPECT_FALSE(empty);
  EXPECT_EQ(U8(headers), "\"\",\"\",\"Note 1\"");
  std::int32_t rows = 0;
  ASSERT_EQ(cells->get_RowCount(&rows), S_OK);
  EXPECT_EQ(rows, 8);  // the header, the five empty rows below it, two rows cut to its width
  std::u16string text;
  ASSERT_EQ(cells->CellsToString(Variant(), &text), S_OK);
  EXPECT_EQ(U8(text),
            ",,Note 1\r\n\r\n\r\n\r\n\r\n\r\nColumns,Column A,Column B\r\nput data here,1,2");

  ASSERT_EQ(converter->LoadXlsCells(Corpus("calamine_header-row.xlsx"), 0, &cells, nullptr, nullptr,
                                    nullptr, false, nullptr, nullptr, nullptr, nullptr, &result,
                                    Variant(std::int32_t{xlsfSkipAnyEmptyRows})),
            S_OK);
  ASSERT_EQ(cells->CellsToString(Variant(), &text), S_OK);
  EXPECT_EQ(U8(text), ",,Note 1\r\nColumns,Column A,Column B,Column C\r\nput data here,1,2,3");
  bool header_row = true;
  EXPECT_EQ(cells->get_HasHeaderRow(&header_row), S_OK);
  EXPECT_FALSE(header_row);
}

TEST(XlsConverter, DescribesSheets) {
  const auto converter = test::NewConverter();
  std::vector<std::u16string> names, headers, lids;
  std::vector<bool> empties, custom;
  std::vector<ECsvType> types;
  HRESULT result = 7;
  ASSERT_EQ(converter->AutodetectXls(Corpus("calamine_any_sheets.xlsx"), nullptr, &names, &empties,
                                     &headers, &types, &lids, &custom, &result),
            S_OK);
  EXPECT_EQ(result, S_OK);
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(names[3], u"Chart");
  EXPECT_EQ(empties, (std::vector<bool>{false, true, true, true}));
  EXPECT_EQ(headers[0], u"\"1\",\"2\"");
  EXPECT_EQ(types, std::vector<ECsvType>(4, vlmcsvUnknown));
  std::u16string error;
  EXPECT_EQ(converter->AutodetectXls(Corpus("missing.xlsb"), &error, &names, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, &result),
            S_NO_CONTENT);
  EXPECT_EQ(result, E_GENERIC_FAILURE);
  EXPECT_EQ(U8(error), "cannot open the file: No such file or directory");
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace velmora
