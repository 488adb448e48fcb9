// Loading CSV bytes (decoding included) and splitting them into cells, beside
// the scan-plus-ICU reference on the same buffer.
//
//   velmora_bench --benchmark_filter=CsvCells --benchmark_min_time=0.5
//
// Arguments: 0 = about 20 MB of Outlook CSV in UTF-8 with a byte-order mark,
// 1 = the same contacts in windows-1252.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "csv/csv.h"
#include "csv/csv_content.h"
#include "csv_corpus.h"
#include "foundation/log.h"
#include "reference_scan.h"

namespace velmora::bench {
namespace {

const std::string& Corpus(int variant) {
  static const std::string utf8 = MakeCsvCorpus({20u << 20, false, 20240101});
  static const std::string ansi = MakeCsvCorpus({20u << 20, true, 20240101});
  return variant == 0 ? utf8 : ansi;
}

const std::uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const std::uint8_t*>(text.data());
}

void BM_CsvCells_ReferenceScanPlusIcu(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  std::vector<char16_t> utf16;
  for (auto _ : state) {
    if (!ScanAndConvert(text, utf16)) state.SkipWithError("ICU conversion failed");
    benchmark::DoNotOptimize(utf16.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_CsvCells_Load(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  CLog log;
  for (auto _ : state) {
    csv::CCsvContent content(log);
    if (content.LoadFromMemory(Bytes(text), static_cast<std::int32_t>(text.size()), 1252) != S_OK) {
      state.SkipWithError("LoadFromMemory failed");
    }
    benchmark::DoNotOptimize(content.text().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_CsvCells_LoadAndParse(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  CLog log;
  csv::CCsv csv(log);
  std::size_t rows = 0;
  for (auto _ : state) {
    csv::CCsvContent content(log);
    csv::CsvCellsTable cells;
    if (content.LoadFromMemory(Bytes(text), static_cast<std::int32_t>(text.size()), 1252) != S_OK ||
        csv.ParseCells(content.text(), &cells) != S_OK) {
      state.SkipWithError("load or parse failed");
    }
    rows += cells.size();
    benchmark::DoNotOptimize(cells.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
}

// The split alone, over text decoded once.
void BM_CsvCells_Parse(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  CLog log;
  csv::CCsv csv(log);
  csv::CCsvContent content(log);
  if (content.LoadFromMemory(Bytes(text), static_cast<std::int32_t>(text.size()), 1252) != S_OK) {
    state.SkipWithError("LoadFromMemory failed");
  }
  for (auto _ : state) {
    csv::CsvCellsTable cells;
    if (csv.ParseCells(content.text(), &cells) != S_OK) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(cells.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_CsvCells_ReferenceScanPlusIcu)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvCells_Load)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvCells_Parse)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvCells_LoadAndParse)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
