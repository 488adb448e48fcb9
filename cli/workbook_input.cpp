#include "workbook_input.h"

#include <memory>

#include <velmora/unicode.h>

#include "interrupt.h"

namespace velmora::cli {
namespace {

// "cannot read: <the reader's message>", or the status's meaning.
std::string CannotRead(const std::u16string& xls_error, HRESULT status) {
  std::string why = Utf16ToUtf8(xls_error);
  if (why.empty()) why = StatusMeaning(status);
  return "cannot read" + (why.empty() ? std::string() : ": " + why);
}

// "1 'Contacts', 2 'Hidden'", for the message about a missing sheet.
std::string SheetList(const std::vector<SheetFacts>& sheets) {
  std::string list;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    list += (i == 0 ? "" : ", ") + std::to_string(i + 1) + " '" + sheets[i].name + "'";
  }
  return list;
}

// The table parsed again from its CSV text with the header names of the
// Outlook language `lid`: the cells of a workbook carry the language the
// library found, and only a parse takes another one.
HRESULT ReparseInLocale(ICardConverter& library, ICsvCells& cells, const std::string& lid,
                        std::shared_ptr<ICsvCells>* reparsed) {
  std::u16string text;
  HRESULT status = cells.CellsToString(Variant(), &text);
  if (FAILED(status)) return status;
  const std::string utf8 = Utf16ToUtf8(text);
  std::shared_ptr<ICsvContent> content;
  status = library.LoadCsvContentFromMemory(std::vector<std::uint8_t>(utf8.begin(), utf8.end()),
                                            65001, &content);
  if (FAILED(status) || !content) return FAILED(status) ? status : E_GENERIC_FAILURE;
  return content->Parse2(reparsed, -1, 0, Variant(), Variant(u","), Variant(),
                         Variant(Utf8ToUtf16(lid)));
}

}  // namespace

std::string WorkbookKind(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (const char* kind : {"xls", "xlsx", "xlsm", "xlsb"}) {
    if (extension == kind) return extension;
  }
  return {};
}

bool IsWorkbookInput(const InputFile& input, const std::string& from) {
  return from != "vcard" && !input.is_stdin() && !WorkbookKind(input.path()).empty();
}

int DetectWorkbook(ICardConverter& library, const std::string& path,
                   std::vector<SheetFacts>* sheets, std::string* error, HRESULT* status) {
  sheets->clear();
  std::u16string xls_error;
  std::vector<std::u16string> names, headers, lids;
  std::vector<bool> empty, custom;
  std::vector<ECsvType> types;
  HRESULT result = E_GENERIC_FAILURE;
  const HRESULT called = library.AutodetectXls(Utf8ToUtf16(path), &xls_error, &names, &empty,
                                               &headers, &types, &lids, &custom, &result, true);
  if (FAILED(called) || FAILED(result)) {
    *status = FAILED(result) ? result : called;
    *error = CannotRead(xls_error, *status);
    return kExitInput;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    SheetFacts sheet;
    sheet.name = Utf16ToUtf8(names[i]);
    sheet.empty = empty[i];
    sheet.type = types[i];
    sheet.locale = Utf16ToUtf8(lids[i]);
    sheet.custom_headers = custom[i];
    sheet.headers = Utf16ToUtf8(headers[i]);
    sheets->push_back(std::move(sheet));
  }
  *status = S_OK;
  return kExitOk;
}

std::int32_t CountSheetRows(ICardConverter& library, const std::string& path, int index) {
  std::shared_ptr<ICsvCells> cells;
  HRESULT result = E_GENERIC_FAILURE;
  std::int32_t rows = 0;
  if (FAILED(library.LoadXlsCells(Utf8ToUtf16(path), index, &cells, nullptr, nullptr, nullptr,
                                  false, nullptr, nullptr, nullptr, nullptr, &result)) ||
      FAILED(result) || !cells || FAILED(cells->get_RowCount(&rows))) {
    return 0;
  }
  return rows > 0 ? rows - 1 : 0;
}

int ChooseSheet(const std::vector<SheetFacts>& sheets, const std::string& wanted) {
  if (wanted.empty()) {
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      if (!sheets[i].empty) return static_cast<int>(i);
    }
    return sheets.empty() ? -1 : 0;
  }
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (sheets[i].name == wanted) return static_cast<int>(i);
  }
  if (wanted.size() > 9 || wanted.find_first_not_of("0123456789") != std::string::npos) return -1;
  const int number = std::stoi(wanted);
  return number >= 1 && static_cast<std::size_t>(number) <= sheets.size() ? number - 1 : -1;
}

int ReadWorkbookCards(ICardConverter& library, const InputFile& input,
                      const CsvReadOptions& options, ProgressBar& progress, CsvCards* result,
                      std::string* sheet) {
  *result = CsvCards();
  std::vector<SheetFacts> sheets;
  HRESULT status = S_OK;
  if (DetectWorkbook(library, input.path(), &sheets, &result->error, &status) != kExitOk) {
    result->status = status;
    return kExitInput;
  }
  const int index = ChooseSheet(sheets, options.sheet);
  if (index < 0 && !options.sheet.empty()) {
    return CsvReadFailed(result, "no sheet '" + options.sheet + "'; " +
                                     (sheets.empty() ? "the workbook has no sheets"
                                                     : "its sheets are " + SheetList(sheets)));
  }
  if (index < 0) return kExitOk;  // no sheet: no rows
  if (sheet != nullptr) *sheet = sheets[index].name;

  std::shared_ptr<ICsvCells> cells;
  std::u16string xls_error, lid, headers;
  bool custom = false, empty = true;
  ECsvType type = vlmcsvUnknown;
  HRESULT loaded = E_GENERIC_FAILURE;
  status = library.LoadXlsCells(Utf8ToUtf16(input.path()), index, &cells, &xls_error, nullptr,
                                &empty, true, &type, &lid, &custom, &headers, &loaded);
  if (FAILED(status) || FAILED(loaded) || !cells) {
    const HRESULT failure = FAILED(loaded) ? loaded : FAILED(status) ? status : E_GENERIC_FAILURE;
    return CsvReadFailed(result, CannotRead(xls_error, failure), failure);
  }
  CsvFacts& facts = result->facts;
  facts.type = type;
  facts.headers = Utf16ToUtf8(headers);
  facts.locale = Utf16ToUtf8(lid);
  facts.custom_headers = custom;
  facts.empty = empty;
  std::int32_t rows = 0;
  cells->get_RowCount(&rows);
  if (rows == 0) return kExitOk;  // an empty sheet
  if (facts.type == vlmcsvUnknown && !options.any_dialect) {
    return CsvReadFailed(
        result,
        "sheet '" + sheets[index].name +
            "' is not a table of a known address book (header row: " + ShortHeaders(facts.headers) +
            "); --from csv --csv-dialect outlook reads the columns it knows "
            "anyway");
  }
  if (!options.locale.empty() && options.locale != facts.locale) {
    facts.locale = options.locale;
    std::shared_ptr<ICsvCells> reparsed;
    status = ReparseInLocale(library, *cells, facts.locale, &reparsed);
    if (FAILED(status) || !reparsed) return CsvReadFailed(result, "cannot read the rows", status);
    cells = std::move(reparsed);
    cells->get_RowCount(&rows);
  }
  return ConvertCellRows(*cells, rows, "sheet '" + sheets[index].name + "'", progress, result);
}

int ReadTableCards(ICardConverter& library, const InputFile& input, const std::string& from,
                   const CsvReadOptions& options, ProgressBar& progress, CsvCards* result) {
  return IsWorkbookInput(input, from) ? ReadWorkbookCards(library, input, options, progress, result)
                                      : ReadCsvCards(library, input, options, progress, result);
}

}  // namespace velmora::cli
