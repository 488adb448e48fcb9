// What a converter pays for the CSV header catalogue: building it, and
// loading the shipped Outlook locale table into it.
//
//   velmora_bench --benchmark_filter=CsvHeaders
#include <filesystem>

#include <benchmark/benchmark.h>

#include "csv/csv_headers.h"
#include "foundation/log.h"

namespace velmora::bench {
namespace {

void BM_CsvHeaders_Build(benchmark::State& state) {
  CLog log;
  for (auto _ : state) {
    csv::CCsvHeaders headers(log);
    benchmark::DoNotOptimize(headers.entries().data());
  }
}
BENCHMARK(BM_CsvHeaders_Build)->Unit(benchmark::kMicrosecond);

void BM_CsvHeaders_LoadOutlookLocales(benchmark::State& state) {
  const std::filesystem::path file =
      std::filesystem::path(VELMORA_SOURCE_DIR) / "data" / "supportedOutlookHeaders.csv";
  CLog log;
  csv::CCsvHeaders headers(log);
  for (auto _ : state) {
    if (headers.LoadOutlookLocales(file) != S_OK) state.SkipWithError("load failed");
  }
}
BENCHMARK(BM_CsvHeaders_LoadOutlookLocales)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora::bench
