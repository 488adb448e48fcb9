// CSV to vCard: about 20 MB of generated Outlook CSV loaded, split,
// imported row by row and written as vCard 3.0, beside reading the same
// contacts as vCards and writing them anew.
//
//   velmora_bench --benchmark_filter=CsvImport --benchmark_min_time=0.5
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_content.h"
#include "csv/csv_headers.h"
#include "csv/csv_import.h"
#include "csv_corpus.h"
#include "foundation/char_converter.h"
#include "foundation/log.h"
#include "vcard/conversion_pipeline.h"

namespace velmora::bench {
namespace {

const std::string& Csv() {
  static const std::string text = MakeCsvCorpus({20u << 20, false, 20240101});
  return text;
}

// CSV text to vCards; the number of rows read.
std::size_t CsvToVCards(CLog& log, const csv::CCsvHeaders& headers, const std::string& text,
                        std::vector<std::string>& cards) {
  csv::CCsvContent content(log);
  content.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(text.data()),
                         static_cast<std::int32_t>(text.size()), 0);
  const csv::CCsv csv(log, &headers);
  csv::CsvCellsTable cells;
  csv.ParseCells(content.text(), &cells);
  const std::vector<std::uint32_t> codes = csv::FindHeaderCodes(headers, cells.front()).codes;
  csv::CsvRowsRequest request;
  request.codes = codes;
  request.from = 1;
  request.count = cells.size() - 1;
  int empties = 0, errors = 0;
  csv::ConvertCsvRows(csv, cells, request, &cards, &empties, &errors);
  return cells.size() - 1;
}

void BM_CsvImport_CsvToVCard30(benchmark::State& state) {
  CLog log;
  csv::CCsvHeaders headers(log);
  std::vector<std::string> cards;
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = CsvToVCards(log, headers, Csv(), cards);
    benchmark::DoNotOptimize(cards.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Csv().size()));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows));
  state.counters["cards"] = static_cast<double>(cards.size());
}

// The import and the writing alone, on cells split once.
void BM_CsvImport_RowsToVCard30(benchmark::State& state) {
  CLog log;
  csv::CCsvHeaders headers(log);
  csv::CCsvContent content(log);
  content.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(Csv().data()),
                         static_cast<std::int32_t>(Csv().size()), 0);
  const csv::CCsv csv(log, &headers);
  csv::CsvCellsTable cells;
  csv.ParseCells(content.text(), &cells);
  const std::vector<std::uint32_t> codes = csv::FindHeaderCodes(headers, cells.front()).codes;
  csv::CsvRowsRequest request;
  request.codes = codes;
  request.from = 1;
  request.count = cells.size() - 1;
  std::vector<std::string> cards;
  int empties = 0, errors = 0;
  for (auto _ : state) {
    csv::ConvertCsvRows(csv, cells, request, &cards, &empties, &errors);
    benchmark::DoNotOptimize(cards.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * request.count));
  state.counters["cards"] = static_cast<double>(cards.size());
}

// The same contacts as vCard 3.0, read and written anew as 2.1 (so that
// every card is written, none copied).
void BM_CsvImport_ReferenceVCardReadWrite(benchmark::State& state) {
  CLog log;
  csv::CCsvHeaders headers(log);
  std::vector<std::string> cards;
  CsvToVCards(log, headers, Csv(), cards);
  std::string text;
  for (const std::string& card : cards) text += card;
  CCharConverter charsets(log, {});
  vcard::CCardConverter converter(log, charsets);
  std::string out;
  int converted = 0, copied = 0, errors = 0;
  for (auto _ : state) {
    converter.ConvertMemory(text, 21, 65001, "utf-8", &out, nullptr, &converted, &copied, &errors);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * converted);
  state.counters["converted"] = converted;
}

BENCHMARK(BM_CsvImport_CsvToVCard30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvImport_RowsToVCard30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvImport_ReferenceVCardReadWrite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
