// The converter's spreadsheet methods: argument checks and statuses, a
// sheet loaded as CSV cells, sheets described, and workbooks written from
// CSV text and from cards.
#include <filesystem>
#include <string>
#include <vector>

#include <velmora/velmora.h>

#include <gtest/gtest.h>

#include "automation/automation_test_support.h"

namespace velmora::automation {
namespace {

using test::U16;
using test::U8;

std::u16string Corpus(const char* name) { return U16(test::CorpusDir() / "spreadsheets" / name); }

// LoadXlsCells with every output asked for.
struct Sheet {
  HRESULT status, result = 7;
  std::shared_ptr<ICsvCells> cells;
  std::u16string error, name, lid, headers;
  bool empty = true, custom = true;
  ECsvType type = vlmcsvUnknown;
};
Sheet LoadSheet(ICardConverter& c, const std::u16string& file, std::int32_t sheet = 0,
                bool detect = true, const Variant& flags = {}) {
  Sheet s;
  s.status = c.LoadXlsCells(file, sheet, &s.cells, &s.error, &s.name, &s.empty, detect, &s.type,
                            &s.lid, &s.custom, &s.headers, &s.result, flags);
  return s;
}

TEST(XlsConverter, StatusesAndArgumentChecks) {
  const auto converter = test::NewConverter(u"XlsChecks", u"x");
  EXPECT_EQ(LoadSheet(*converter, Corpus("calamine_date.xlsx"), 0, true, Variant(u"15")).status,
            E_INVALIDARG);
  for (const char16_t* name : {u"", u"contacts.csv"}) {
    const Sheet s = LoadSheet(*converter, name);
    EXPECT_EQ(std::pair(s.status, s.result), std::pair(S_NO_CONTENT, E_INVALIDARG));
  }
  const Sheet missing = LoadSheet(*converter, Corpus("calamine_date.xlsx"), 4);
  EXPECT_EQ(std::pair(missing.status, missing.result), std::pair(S_NO_CONTENT, E_GENERIC_FAILURE));
  EXPECT_EQ(U8(missing.error), "no sheet 4: the workbook has 1");
  EXPECT_EQ(missing.cells, nullptr);
  test::ExpectLogged("XlsChecks", "x",
                     {"vXlsFlags must be LONG or Missing", "Cant load sheet[4] from file("});
}

TEST(XlsConverter, WritesCsvTextAndCards) {
  const auto converter = test::NewCsvConverter(u"XlsSave");
  test::TempDir dir;
  HRESULT result = 7;
  std::u16string error;
  const std::u16string file = U16(dir / "text.xlsx");
  EXPECT_EQ(converter->SaveCsvContent2Xls(file, u"S", u"a,b", u",", &error, &result, Variant(u"1")),
            E_INVALIDARG);
  ASSERT_EQ(converter->SaveCsvContent2Xls(file, u"S", u"a;b\r\n\"c;d\";;e", u";", &error, &result),
            S_OK);
  EXPECT_EQ(result, S_OK);
  const Sheet sheet = LoadSheet(*converter, file, 0, false, Variant(std::int32_t{0}));
  ASSERT_EQ(sheet.status, S_OK);
  std::u16string text;
  ASSERT_EQ(sheet.cells->CellsToString(Variant(u";"), &text), S_OK);
  EXPECT_EQ(U8(text), "a;b\r\n\"c;d\";;e");
  EXPECT_EQ(converter->SaveCsvContent2Xls(U16(dir / "t.xlsb"), u"S", u"a", u",", &error, &result),
            S_NO_CONTENT);
  EXPECT_EQ(result, E_NOTIMPL);
  EXPECT_EQ(U8(error), "Writing .xlsb is not supported; save as .xlsx");

  const std::vector<std::uint8_t> card = test::Bytes(test::Card("Doe", "Jane"));
  std::int32_t saved = -1, skipped = -1, dups = -1, errors = -1;
  auto save = [&](const char16_t* ext, ECsvType type, const char16_t* lid,
                  const std::vector<std::uint8_t>& cards) {
    return converter->SaveMemoryXLS(cards, U16(dir.path()), u"contacts", ext, u"Contacts", type,
                                    lid, &text, &error, &saved, &skipped, &dups, &errors, &result);
  };
  EXPECT_EQ(save(u".csv", vlmcsvOutlook, u"", card), E_INVALIDARG);
  EXPECT_EQ(save(u".xlsx", vlmcsvNokia, u"", card), E_INVALIDARG);
  EXPECT_EQ(save(u".xlsx", vlmcsvOutlook, u"9999", card), E_INVALIDARG);
  EXPECT_EQ(save(u".xlsx", vlmcsvOutlook, u"", test::Bytes("not a card")), S_NO_CONTENT);
  EXPECT_EQ(result, E_GENERIC_FAILURE);
  // Both formats; a taken name is numbered. The sheet reads back as the card.
  test::WriteFile(dir / "contacts.XLSX", "taken");
  for (const char16_t* ext : {u".XLSX", u".xls"}) {
    SCOPED_TRACE(U8(ext));
    ASSERT_EQ(save(ext, vlmcsvOutlook, u"1031", card), S_OK);
    EXPECT_EQ(text, U16(dir / ("contacts" + std::string(ext[1] == 'X' ? "[1]" : "") + U8(ext))));
    EXPECT_EQ(saved, 1);
    const Sheet written = LoadSheet(*converter, text);
    ASSERT_EQ(written.status, S_OK);
    EXPECT_EQ(std::pair(written.type, written.lid),
              std::pair(vlmcsvOutlook, std::u16string(u"1031")));
    std::shared_ptr<ICards> cards;
    ASSERT_EQ(written.cells->ConvertRows(&dups, &errors, &cards), S_OK);
    const std::string back = test::Text(test::Get(*cards, &ICards::GetAllItems));
    EXPECT_TRUE(test::Has(back, "N:Doe;Jane;;;")) << back;
  }
  test::ExpectLogged(
      "XlsSave", "csv",
      {"vCsvParseFlags must be LONG or Missing", "Invalid DstExt = .csv", "Invalid eDstType = 3",
       "Invalid DstLocale = 9999", "no CSV Contacts after Parse",
       "Writing .xlsb is not supported; save as .xlsx"});
}

TEST(XlsConverter, LoadsASheetAsCells) {
  const auto converter = test::NewConverter();
  Sheet s = LoadSheet(*converter, Corpus("calamine_header-row.xlsx"));
  ASSERT_EQ(std::pair(s.status, s.result), std::pair(S_OK, S_OK));
  EXPECT_EQ(U8(s.name + u"|" + s.headers), "Sheet1|\"\",\"\",\"Note 1\"");
  EXPECT_FALSE(s.empty);
  // The header, the five empty rows below it, two rows cut to its width.
  EXPECT_EQ(test::Get(*s.cells, &ICsvCells::get_RowCount), 8);
  std::u16string text;
  ASSERT_EQ(s.cells->CellsToString(Variant(), &text), S_OK);
  EXPECT_EQ(U8(text),
            ",,Note 1\r\n\r\n\r\n\r\n\r\n\r\nColumns,Column A,Column B\r\nput data here,1,2");

  s = LoadSheet(*converter, Corpus("calamine_header-row.xlsx"), 0, false,
                Variant(std::int32_t{xlsfSkipAnyEmptyRows}));
  ASSERT_EQ(s.status, S_OK);
  ASSERT_EQ(s.cells->CellsToString(Variant(), &text), S_OK);
  EXPECT_EQ(U8(text), ",,Note 1\r\nColumns,Column A,Column B,Column C\r\nput data here,1,2,3");
  EXPECT_FALSE(test::Get(*s.cells, &ICsvCells::get_HasHeaderRow));
}

TEST(XlsConverter, DescribesSheets) {
  const auto converter = test::NewConverter();
  std::vector<std::u16string> names, headers, lids;
  std::vector<bool> empties, custom;
  std::vector<ECsvType> types;
  HRESULT result = 7;
  ASSERT_EQ(converter->AutodetectXls(Corpus("calamine_any_sheets.xlsb"), nullptr, &names, &empties,
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
}  // namespace velmora::automation
