#include "csv_input.h"

#include <memory>

#include <velmora/unicode.h>

#include "interrupt.h"
#include "target_charset.h"

namespace velmora::cli {

std::string ShortHeaders(const std::string& headers) {
  constexpr std::size_t kShown = 100;
  if (headers.size() <= kShown) return headers;
  std::size_t columns = 1;
  for (std::size_t at = headers.find("\",\""); at != std::string::npos;
       at = headers.find("\",\"", at + 3)) {
    ++columns;
  }
  const std::size_t cut = headers.rfind("\",\"", kShown);
  return headers.substr(0, cut == std::string::npos ? kShown : cut + 1) + ",... (" +
         std::to_string(columns) + " columns)";
}

bool IsCsvInput(const InputFile& input, const std::string& from) {
  if (!from.empty()) return from == "csv";
  if (input.HasVCardBegin() || input.IsBlank()) return false;
  const std::string& name = input.name();
  const std::size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension != "vcf" && extension != "vcard";
}

const char* DialectName(ECsvType type) {
  switch (type) {
    case vlmcsvOutlook:
      return "outlook";
    case vlmcsvOutlook365v2:
      return "outlook365";
    case vlmcsvOutlook365v1:
      return "outlook365-v1";
    case vlmcsvNokia:
      return "nokia";
    case vlmcsvGoogle:
      return "google";
    case vlmcsvGoogle2:
      return "google2";
    default:
      return "unknown";
  }
}

std::string SeparatorName(const std::string& separator) {
  if (separator.empty()) return "none";
  return separator == "\t" ? "tab" : separator;
}

std::string EncodingName(int code_page) {
  switch (code_page) {
    case 0:
      return "system";
    case 65001:
      return "utf-8";
    case 1200:
      return "utf-16";
    case 1201:
      return "utf-16be";
    default: {
      TargetCharset charset;
      return FindCharsetByCodePage(code_page, &charset) ? charset.label : std::to_string(code_page);
    }
  }
}

HRESULT DetectCsv(ICardConverter& library, const std::string& path, CsvFacts* facts) {
  std::u16string separator, headers, lid;
  std::int32_t code_page = 0;
  *facts = CsvFacts();
  const HRESULT status =
      library.AutodetectCsv3(Utf8ToUtf16(path), &facts->empty, &separator, &headers, &code_page,
                             &lid, &facts->custom_headers, &facts->type);
  facts->separator = Utf16ToUtf8(separator);
  facts->headers = Utf16ToUtf8(headers);
  facts->code_page = code_page;
  facts->locale = Utf16ToUtf8(lid);
  return status;
}

int ReadCsvCards(ICardConverter& library, const InputFile& input, const CsvReadOptions& options,
                 ProgressBar& progress, CsvCards* result) {
  *result = CsvCards();
  CsvFacts& facts = result->facts;
  HRESULT status = DetectCsv(library, input.path(), &facts);
  if (FAILED(status)) {
    return CsvReadFailed(result, CannotRead(status), status);
  }
  if (!options.separator.empty()) facts.separator = options.separator;
  if (!options.locale.empty()) facts.locale = options.locale;
  if (facts.type == vlmcsvUnknown && !options.any_dialect) {
    return CsvReadFailed(
        result, "not a vCard file, nor CSV of a known address book (header row: " +
                    ShortHeaders(facts.headers) + "; separator: " + SeparatorName(facts.separator) +
                    "); --from csv --csv-dialect outlook reads the columns it knows anyway");
    return kExitInput;
  }

  std::shared_ptr<ICsvContent> content;
  const int code_page =
      options.code_page != CsvReadOptions::kDetected ? options.code_page : facts.code_page;
  status = library.LoadCsvContent(Utf8ToUtf16(input.path()), code_page, &content);
  if (FAILED(status)) {
    return CsvReadFailed(result, CannotRead(status), status);
  }
  std::shared_ptr<ICsvCells> cells;
  const std::u16string separator = Utf8ToUtf16(facts.separator.empty() ? "," : facts.separator);
  status = content->Parse2(&cells, -1, 0, Variant(), Variant(separator), Variant(),
                           Variant(Utf8ToUtf16(facts.locale)));
  if (FAILED(status)) {
    return CsvReadFailed(result, "cannot read the rows", status);
  }
  if (status != S_OK) return kExitOk;  // no rows at all
  std::int32_t rows = 0;
  cells->get_RowCount(&rows);
  return ConvertCellRows(*cells, rows, {}, progress, result);
}

int CsvReadFailed(CsvCards* result, std::string what, HRESULT status) {
  result->error = std::move(what);
  result->status = status;
  return kExitInput;
}

int ConvertCellRows(ICsvCells& cells, std::int32_t rows, const std::string& source,
                    ProgressBar& progress, CsvCards* result) {
  result->rows = rows - 1;
  std::shared_ptr<ICards> cards;
  progress.Start(ProgressBar::Phase::kLoading, result->rows);
  HRESULT status = cells.ConvertRows(&result->empties, &result->errors, &cards, &progress);
  progress.Clear();
  if (Interrupted()) return kExitCancelled;
  if (status == E_GENERIC_FAILURE) {
    return CsvReadFailed(result, "no column " + (source.empty() ? "" : "of " + source + " ") +
                                     "is a contact field the converter knows (header row: " +
                                     ShortHeaders(result->facts.headers) + ")");
  }
  if (FAILED(status)) return CsvReadFailed(result, "cannot convert the rows", status);
  if (cards) {
    cards->GetAllItems(&result->vcards);
    cards->get_Count(&result->cards);
  }
  return kExitOk;
}

}  // namespace velmora::cli
