// Workbooks to vCards: 20,000 generated Outlook contacts saved as .xlsx and
// as .xls by the converter, then each read into a cells table, imported
// row by row and written as vCard 3.0; beside reading the workbooks alone.
//
//   velmora_bench --benchmark_filter=Workbook --benchmark_min_time=0.5
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <velmora/velmora.h>

#include <benchmark/benchmark.h>

#include "card_corpus.h"
#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_headers.h"
#include "csv/csv_import.h"
#include "foundation/log.h"
#include "spreadsheet/workbook.h"

namespace velmora::bench {
namespace {

constexpr int kCards = 20000;

// The two workbooks, written once into a temporary folder removed at exit.
struct Workbooks {
  std::filesystem::path folder;
  std::filesystem::path xlsx, xls;

  Workbooks() {
    char pattern[] = "/tmp/velmora-bench-XXXXXX";
    folder = ::mkdtemp(pattern);
    const std::string all = MakeCardCorpus({40u << 20, 0, 20240101, CardVersions::kMixed});
    std::size_t end = 0;
    for (int i = 0; i < kCards; ++i) end = all.find("END:VCARD\r\n", end) + 11;
    const std::vector<std::uint8_t> cards(all.begin(), all.begin() + static_cast<long>(end));
    const auto converter = CreateCardConverter();
    converter->Init(u"", Variant(Utf8ToUtf16(VELMORA_SOURCE_DIR "/data/supportedEncodings.txt")),
                    Variant(), false);
    for (const char16_t* ext : {u".xlsx", u".xls"}) {
      std::u16string file, error;
      std::int32_t saved = 0, skipped = 0, dups = 0, errors = 0;
      HRESULT result = E_GENERIC_FAILURE;
      converter->SaveMemoryXLS(cards, Utf8ToUtf16(folder.string()), u"contacts", ext, u"Contacts",
                               vlmcsvOutlook, u"", &file, &error, &saved, &skipped, &dups, &errors,
                               &result);
      (ext[4] == u'x' ? xlsx : xls) = Utf16ToUtf8(file);
    }
  }
  ~Workbooks() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

const Workbooks& Files() {
  static const Workbooks files;
  return files;
}

void ReadOnly(benchmark::State& state, const std::filesystem::path& file) {
  std::size_t cells = 0;
  for (auto _ : state) {
    spreadsheet::Workbook book(spreadsheet::WorkbookKindOfFile(file));
    if (!book.Load(file)) state.SkipWithError(book.ErrorMessage().c_str());
    cells = book.SheetCount() > 0 ? book.GetSheet(0)->size() : 0;
  }
  state.counters["cells"] = static_cast<double>(cells);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCards));
}

// The workbook to vCards, as LoadXlsCells and ConvertRows do it.
void ToVCards(benchmark::State& state, const std::filesystem::path& file) {
  CLog log;
  csv::CCsvHeaders headers(log);
  const csv::CCsv csv(log, &headers);
  std::vector<std::string> cards;
  std::size_t rows = 0;
  for (auto _ : state) {
    csv::CsvCellsTable cells;
    csv::XlsSheetInfo info;
    std::u16string error;
    if (FAILED(csv.LoadXlsCells(file, 0, &cells, &info, true, xlsfDefault, -1, &error))) {
      state.SkipWithError("load failed");
      break;
    }
    const std::vector<std::uint32_t> codes = csv::FindHeaderCodes(headers, cells.front()).codes;
    csv::CsvRowsRequest request;
    request.codes = codes;
    request.names = cells.front();
    request.from = 1;
    request.count = cells.size() - 1;
    int empties = 0, errors = 0;
    cards.clear();
    csv::ConvertCsvRows(csv, cells, request, &cards, &empties, &errors);
    rows = cells.size() - 1;
  }
  state.counters["cards"] = static_cast<double>(cards.size());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows));
}

void BM_Workbook_XlsxToVCard30(benchmark::State& state) { ToVCards(state, Files().xlsx); }
void BM_Workbook_XlsToVCard30(benchmark::State& state) { ToVCards(state, Files().xls); }
void BM_Workbook_ReadXlsx(benchmark::State& state) { ReadOnly(state, Files().xlsx); }
void BM_Workbook_ReadXls(benchmark::State& state) { ReadOnly(state, Files().xls); }

BENCHMARK(BM_Workbook_XlsxToVCard30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workbook_XlsToVCard30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workbook_ReadXlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Workbook_ReadXls)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
