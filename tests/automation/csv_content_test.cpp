// Step-by-step CSV import through the object model, as an application does
// it: the converter loads a CsvContent, which parses into CsvCells, whose
// rows become a Cards collection.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/automation_test_support.h"
#include "support/case_file.h"
#include "support/temp_dir.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

std::shared_ptr<ICsvContent> FromText(ICardConverter& converter, std::string_view text,
                                      std::int32_t code_page = 1252) {
  std::shared_ptr<ICsvContent> content;
  EXPECT_EQ(converter.LoadCsvContentFromMemory(Bytes(text), code_page, &content), S_OK);
  return content;
}

std::shared_ptr<ICsvCells> ParseText(ICardConverter& converter, std::string_view text,
                                     const Variant& flags = {}, const Variant& lid = {}) {
  std::shared_ptr<ICsvCells> cells;
  EXPECT_EQ(FromText(converter, text)->Parse2(&cells, -1, 0, flags, {}, {}, lid), S_OK);
  return cells;
}

// The header codes of every column, as hexadecimal text.
std::string Codes(ICsvCells& cells) {
  std::string out;
  for (std::int32_t col = 0; col < Get(cells, &ICsvCells::get_ColCount); ++col) {
    std::int32_t code = 0;
    EXPECT_EQ(cells.get_HeaderCode(col, &code), S_OK);
    char text[16];
    std::snprintf(text, sizeof text, "%s%X", col ? " " : "", static_cast<unsigned>(code));
    out += text;
  }
  return out;
}

// The separator found, and names read through the locale given to Parse2
// (which files have which is the CSV tests' concern: CsvCorpus,
// Autodetect.CorpusExports).
TEST(CsvContentObjects, SeparatorAndLocalisedHeaders) {
  const auto converter = NewCsvConverter();
  const std::string text = "Vorname;Nachname;Hobbys\r\nAnn;Lee;\r\n";
  EXPECT_EQ(Get(*FromText(*converter, text), &ICsvContent::AutoDetectSeparator), u";");
  std::shared_ptr<ICsvCells> cells;
  ASSERT_EQ(
      FromText(*converter, text)->Parse2(&cells, -1, 0, {}, Variant(u";"), {}, Variant(u"1031")),
      S_OK);
  EXPECT_EQ(Codes(*cells), "2 4 0");
  EXPECT_EQ(Get(*cells, &ICsvCells::EmptyHeadersCount), 1);
}

// The settings, as put alone and as given to Parse2: the steps of
// tests/automation/data/csv_settings.txt.
TEST(CsvContentObjects, SettingsAndParseArguments) {
  const auto converter = NewCsvConverter(u"CsvSettings");
  const auto content = FromText(*converter, "a,b\r\n");
  const auto state = [&] {
    return U8(Get(*content, &ICsvContent::get_Separators) + u"|" +
              Get(*content, &ICsvContent::get_Quote) + u"|" +
              Get(*content, &ICsvContent::get_OutlookLID)) +
           "|" + std::to_string(Get(*content, &ICsvContent::get_ParseFlags));
  };
  EXPECT_EQ(state(), ",|\"||15");
  const auto arg = [](const FileCase& c, const char* key) {
    return c.Has(key) ? VariantOf(c[key]) : Variant();
  };
  for (const FileCase& c : ReadCases("automation/data/csv_settings.txt")) {
    SCOPED_TRACE(c.name);
    const std::string& call = c["call"];
    std::shared_ptr<ICsvCells> cells;
    const HRESULT status =
        call == "parse"   ? content->Parse2(&cells, -1, 0, arg(c, "flags"), arg(c, "separators"),
                                            arg(c, "quote"), arg(c, "lid"))
        : call == "quote" ? content->put_Quote(U16(c["value"]))
        : call == "separators" ? content->put_Separators(U16(c["value"]))
        : call == "lid"        ? content->put_OutlookLID(U16(c["value"]))
                               : content->put_ParseFlags(c.Number("value"));
    EXPECT_EQ(status, StatusNamed(c["status"]));
    EXPECT_EQ(state(), c["state"]);
  }
  ExpectLogged("CsvSettings", "csv",
               {"cant find locale(9999)", "vParseFlags must be LONG or Missing",
                "vSeparators must be BSTR or Missing", "vQuote must be BSTR or Missing",
                "vOutlookLID must be BSTR or Missing"});
}

TEST(CsvContentObjects, ParseResults) {
  const auto converter = NewCsvConverter();
  const auto optional = [](const FileCase& c, const char* key) {
    return c.Has(key) ? Variant(U16(c[key])) : Variant();
  };
  for (const FileCase& c : ReadCases("automation/data/csv_parse_results.txt")) {
    SCOPED_TRACE(c.name);
    const bool ok = c["status"] == "ok";
    std::shared_ptr<ICsvCells> cells;
    ASSERT_EQ(FromText(*converter, c["text"])
                  ->Parse(&cells, c.Number("max rows", -1), 0,
                          c.Has("flags") ? Variant(c.Number("flags")) : Variant(),
                          optional(c, "separators"), optional(c, "quote")),
              ok ? S_OK : S_NO_CONTENT);
    if (!ok) {
      EXPECT_FALSE(cells);
      continue;
    }
    std::u16string text;
    ASSERT_EQ(cells->CellsToString(Variant(u"|"), &text), S_OK);
    EXPECT_EQ(U8(text), c["table"]);
    EXPECT_EQ(Get(*cells, &ICsvCells::get_HasHeaderRow), c["header"] == "yes");
  }
}

// Reading a table: cells of short and long rows, header codes put and
// found again, names, and the bounds of every index.
TEST(CsvContentObjects, CellsAndHeaderCodes) {
  const auto converter = NewCsvConverter();
  // Without the forcing flag the long row keeps its cells beyond the header.
  const auto cells =
      ParseText(*converter, "First Name,Last Name,Bogus\r\nAnn\r\nBob,Ray,x,extra\r\n", Variant(1));
  ASSERT_TRUE(cells);
  EXPECT_EQ(Get(*cells, &ICsvCells::get_RowCount), 3);
  EXPECT_EQ(Get(*cells, &ICsvCells::EmptyHeadersCount), 1);
  EXPECT_EQ(Codes(*cells), "2 4 0");

  std::u16string text;
  const auto cell = [&](std::int32_t row, std::int32_t col) {
    text = u"unset";
    return cells->Cell(row, col, &text) == S_OK ? U8(text) : "<refused>";
  };
  const auto name = [&](std::int32_t col) {
    return cells->HeaderName(col, &text) == S_OK ? U8(text) : "<refused>";
  };
  // The short row's missing cell is empty.
  EXPECT_EQ(cell(1, 2) + "|" + cell(2, 2) + "|" + name(0) + "|" + name(2), "|x|First Name|");
  for (const auto& [row, col] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {2, 3}}) {
    EXPECT_EQ(cell(row, col), "<refused>") << row << "," << col;
  }
  std::vector<std::u16string> cells_of_row;
  ASSERT_EQ(cells->row(2, &cells_of_row), S_OK);
  EXPECT_EQ(cells_of_row, (std::vector<std::u16string>{u"Bob", u"Ray", u"x", u"extra"}));
  EXPECT_EQ(cells->row(3, &cells_of_row), E_INVALIDARG);
  // Codes put: unknown ones and a plain code with an instance are refused.
  EXPECT_EQ(cells->put_HeaderCode(2, 0x12345678), E_INVALIDARG);
  EXPECT_EQ(cells->put_HeaderCode(2, 0x00000202), E_INVALIDARG);
  EXPECT_EQ(cells->put_HeaderCode(3, 2), E_INVALIDARG);
  EXPECT_EQ(Codes(*cells), "2 4 0");
  ASSERT_EQ(cells->put_HeaderCode(2, 0x01000201), S_OK);
  EXPECT_EQ(name(2), "E-mail 2 - Value");
  ASSERT_EQ(cells->put_HeaderCode(0, 0), S_OK);
  EXPECT_EQ(Codes(*cells), "0 4 1000201");
  EXPECT_EQ(Get(*cells, &ICsvCells::EmptyHeadersCount), 1);
  ASSERT_EQ(cells->ResetHeaders(), S_OK);
  EXPECT_EQ(Codes(*cells), "2 4 0");
}

// The table back as text, and the separator argument of those calls: the
// cases of tests/automation/data/csv_table_text.txt.
TEST(CsvContentObjects, TableAsText) {
  const auto converter = NewCsvConverter(u"CsvText");
  const auto cells = ParseText(*converter, "h1,h2\r\n\"a;1\",b\r\nc,d,e\r\n", Variant(1));
  ASSERT_TRUE(cells);
  for (const FileCase& c : ReadCases("automation/data/csv_table_text.txt")) {
    SCOPED_TRACE(c.name);
    const Variant separator = c.Has("separator") ? VariantOf(c["separator"]) : Variant();
    const std::int32_t index = c.Number("index");
    const bool ex = c.Has("lines"), lines = c.Number("lines") != 0;
    std::u16string text;
    const HRESULT status =
        c["call"] == "row"   ? (ex ? cells->RowToStringEx(index, separator, lines, &text)
                                   : cells->RowToString(index, separator, &text))
        : c["call"] == "col" ? (ex ? cells->ColToStringEx(index, separator, lines, &text)
                                   : cells->ColToString(index, separator, &text))
        : ex                 ? cells->CellsToStringEx(separator, lines, &text)
                             : cells->CellsToString(separator, &text);
    EXPECT_EQ(status, StatusNamed(c["status"]));
    EXPECT_EQ(U8(text), c.Has("text") ? c["text"] : "");
  }
  ExpectLogged("CsvText", "csv",
               {"CComCsvCells.RowToStringEx: vSeparator must be BSTR(len=1) or Missing",
                "CComCsvCells.ColToStringEx: vSeparator must be BSTR(len=1) or Missing",
                "CComCsvCells.CellsToStringEx: vSeparator must be BSTR(len=1) or Missing"});
}

// The full names of a collection's cards, joined by "|".
std::string FullNames(const std::shared_ptr<ICards>& cards) {
  std::string names;
  for (std::int32_t i = 0; i < Count(cards); ++i) {
    std::shared_ptr<ICardPreview> preview;
    EXPECT_EQ(cards->ItemPreview(i, &preview), S_OK);
    if (i > 0) names += '|';
    names += U8(Get(*preview, &ICardPreview::get_FullName));
  }
  return names;
}

// Rows to vCards: the From and Count rules, empty rows and progress.
TEST(CsvContentObjects, ConvertRowsRanges) {
  const auto converter = NewCsvConverter(u"CsvRows");
  // Row 2 has cells but no content.
  const auto cells =
      ParseText(*converter, "First Name,Last Name\r\nAnn,Lee\r\n,\r\nBob,Ray\r\nCid,Poe\r\n");
  // From, count, status, the full names made, the empty rows met.
  const std::tuple<std::int32_t, std::int32_t, HRESULT, const char*, std::int32_t> kCases[] = {
      {-1, -1, S_OK, "Ann Lee|Bob Ray|Cid Poe", 1},
      {1, 1, S_OK, "Ann Lee", 0},
      {2, 1, S_NO_CONTENT, "", 1},
      {2, 2, S_OK, "Bob Ray", 1},
      {3, 100, S_OK, "Bob Ray|Cid Poe", 0},
      {0, -1, E_INVALIDARG, "", 0},  // the header row
      {5, -1, E_INVALIDARG, "", 0},
  };
  for (const auto& [from, count, status, names, expected_empties] : kCases) {
    SCOPED_TRACE(std::to_string(from) + "+" + std::to_string(count));
    std::int32_t empties = -1, errors = -1;
    std::shared_ptr<ICards> cards;
    EXPECT_EQ(cells->ConvertRows(&empties, &errors, &cards, nullptr, from, count), status);
    EXPECT_EQ(FullNames(cards), names);
    EXPECT_EQ(std::pair(empties, errors), std::pair(expected_empties, 0));
  }

  RecordingProgress all;
  std::int32_t empties = 0, errors = 0;
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(cells->ConvertRows(&empties, &errors, &cards, &all), S_OK);
  using Call = std::array<std::int32_t, 5>;
  EXPECT_EQ(all.calls, (std::vector<Call>{
                           {1, 4, 1, 0, 0}, {2, 4, 1, 1, 0}, {3, 4, 2, 1, 0}, {4, 4, 3, 1, 0}}));
  RecordingProgress cancel(2);
  EXPECT_EQ(cells->ConvertRows(&empties, &errors, &cards, &cancel), S_NO_CONTENT);
  EXPECT_FALSE(cards);
  EXPECT_EQ(cancel.calls.size(), 2u);
  EXPECT_EQ(empties, 1);  // the counts so far are still given

  // A header row alone has no rows to convert.
  const auto header_only = ParseText(*converter, "First Name,Last Name\r\n");
  EXPECT_EQ(header_only->ConvertRows(&empties, &errors, &cards), S_NO_CONTENT);
  EXPECT_EQ(header_only->ConvertRows(&empties, &errors, &cards, nullptr, 1), E_INVALIDARG);

  // Without a header row nothing is known until the caller names columns;
  // row 0 is then a data row.
  const auto plain = ParseText(*converter, "Ann,Lee\r\nBob,Ray\r\n", Variant(0));
  EXPECT_EQ(plain->ConvertRows(&empties, &errors, &cards), E_GENERIC_FAILURE);
  ExpectLogged("CsvRows", "csv", {"CComCsvCells.ConvertRows: No (known) headers"});
  ASSERT_EQ(plain->put_HeaderCode(0, 2), S_OK);
  ASSERT_EQ(plain->put_HeaderCode(1, 4), S_OK);
  ASSERT_EQ(plain->ConvertRows(&empties, &errors, &cards, nullptr, 0), S_OK);
  EXPECT_EQ(FullNames(cards), "Ann Lee|Bob Ray");
}

// Google's grouped columns flattened, then the codes found again.
TEST(CsvContentObjects, PlainingGoogleColumns) {
  const auto converter = NewCsvConverter();
  const auto cells =
      ParseText(*converter,
                "Name,E-mail 1 - Type,E-mail 1 - Value\r\nAnn Lee,* Home,a@x.org ::: b@y.org\r\n");
  EXPECT_EQ(Codes(*cells), "5D 1000100 1000101");
  bool changed = false;
  ASSERT_EQ(cells->PlainCsv(&changed), S_OK);
  EXPECT_TRUE(changed);
  // Flattened names (GoogleColumns.PlainsASmallTable) are no catalogue
  // names: only "Name" keeps a code.
  EXPECT_EQ(Codes(*cells), "5D 0 0");
  EXPECT_EQ(cells->PlainCsvEx(pcfDefault, &changed), S_FALSE);
  EXPECT_FALSE(changed);

  const auto plain = ParseText(*converter, "a,b\r\n", Variant(0));
  changed = true;
  EXPECT_EQ(plain->PlainCsv(&changed), E_ILLEGAL_METHOD_CALL);
  EXPECT_FALSE(changed);
}

// Undetected bytes can be decoded again; a recognised encoding is fixed.
// Cells already parsed keep their text.
TEST(CsvContentObjects, CodepageOfTheContent) {
  const auto converter = NewCsvConverter();
  const auto content = FromText(*converter, "Name\r\nJos\xE9\r\n", 1252);
  std::shared_ptr<ICsvCells> before;
  ASSERT_EQ(content->Parse(&before), S_OK);
  const auto state = [&] {
    return U8(Get(*content, &ICsvContent::get_Content).substr(6)) + "|" +
           std::to_string(Get(*content, &ICsvContent::get_ContentLength)) + "|" +
           std::to_string(Get(*content, &ICsvContent::get_Codepage)) + "|" +
           std::to_string(Get(*content, &ICsvContent::get_CodepageDetected)) +
           (Get(*content, &ICsvContent::get_IsCodepageReadOnly) ? "|ro" : "|rw");
  };
  EXPECT_EQ(state(), "Jos\u00E9\r\n|12|1252|0|rw");
  EXPECT_EQ(content->put_Codepage(1251), S_OK);
  EXPECT_EQ(state(), "Jos\u0439\r\n|12|1251|0|rw");
  EXPECT_EQ(content->put_Codepage(99999), E_INVALIDARG);
  EXPECT_EQ(state(), "Jos\u0439\r\n|12|1251|0|rw");
  std::u16string cell;
  ASSERT_EQ(before->Cell(1, 0, &cell), S_OK);
  EXPECT_EQ(U8(cell), "Jos\u00E9");

  // A recognised encoding (UTF-16 with a byte-order mark) cannot be changed.
  std::shared_ptr<ICsvContent> utf16;
  ASSERT_EQ(converter->LoadCsvContentFromMemory({0xFF, 0xFE, 'N', 0}, 1252, &utf16), S_OK);
  EXPECT_TRUE(Get(*utf16, &ICsvContent::get_IsCodepageReadOnly));
  EXPECT_EQ(utf16->put_Codepage(1252), S_NO_CONTENT);
}

TEST(CsvContentObjects, LoadingFailures) {
  TempDir dir;
  const fs::path empty = dir / "empty.csv";
  WriteFile(empty, "");
  std::shared_ptr<ICsvContent> content;
  const auto converter = NewCsvConverter();
  EXPECT_EQ(converter->LoadCsvContent(U16(dir / "missing.csv"), 0, &content),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(content);

  // An empty file gives an empty content that parses into nothing.
  ASSERT_EQ(converter->LoadCsvContent(U16(empty), 0, &content), S_NO_CONTENT);
  ASSERT_TRUE(content);
  EXPECT_EQ(Get(*content, &ICsvContent::get_ContentLength), 0);
  std::shared_ptr<ICsvCells> cells;
  EXPECT_EQ(content->Parse(&cells), S_NO_CONTENT);
  EXPECT_FALSE(cells);
  std::u16string separator = u"x";
  EXPECT_EQ(content->AutoDetectSeparator(&separator), S_NO_CONTENT);
  EXPECT_EQ(separator, u"");
}

// Content and cells outlive their converter and count as live objects.
TEST(CsvContentObjects, OutliveTheConverter) {
  const std::int32_t before = LiveObjectCount();
  {
    auto converter = NewCsvConverter();
    std::shared_ptr<ICsvContent> content = FromText(*converter, "First Name\r\nAnn\r\n");
    std::shared_ptr<ICsvCells> cells;
    ASSERT_EQ(content->Parse(&cells), S_OK);
    EXPECT_EQ(LiveObjectCount(), before + 3);
    converter.reset();
    content.reset();
    std::int32_t empties = 0, errors = 0;
    std::shared_ptr<ICards> cards;
    ASSERT_EQ(cells->ConvertRows(&empties, &errors, &cards), S_OK);
    EXPECT_EQ(FullNames(cards), "Ann");
  }
  EXPECT_EQ(LiveObjectCount(), before);
}

}  // namespace
}  // namespace velmora::test
