// The conversion pipeline and duplicate resolution.
//
//   velmora_bench --benchmark_filter='CardConverter|CardDR' --benchmark_min_time=0.5
//
// ConvertMemory of about 20 MB of vCard 2.1 to 3.0 (every card written anew)
// and of 20 MB of vCard 3.0 in UTF-8 to itself (every card copied).
// Duplicate resolution of N cards of which 10% repeat an earlier name; the
// time per card shows whether it grows with N.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "card_corpus.h"
#include "foundation/char_converter.h"
#include "foundation/log.h"
#include "vcard/conversion_pipeline.h"
#include "vcard/duplicate_resolution.h"

namespace velmora::bench {
namespace {

void Convert(benchmark::State& state, CardVersions versions) {
  static const std::string v21 = MakeCardCorpus({20u << 20, 0, 20240101, CardVersions::kOnly21});
  static const std::string v30 = MakeCardCorpus({20u << 20, 0, 20240101, CardVersions::kOnly30});
  const std::string& text = versions == CardVersions::kOnly21 ? v21 : v30;
  CLog log;
  CCharConverter charsets(log, {});
  vcard::CCardConverter converter(log, charsets);
  std::string out;
  int converted = 0, copied = 0, errors = 0;
  for (auto _ : state) {
    converter.ConvertMemory(text, 30, 65001, "utf-8", &out, nullptr, &converted, &copied, &errors);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["converted"] = converted;
  state.counters["copied"] = copied;
  state.counters["errors"] = errors;
}

void BM_CardConverter_Convert21To30(benchmark::State& state) {
  Convert(state, CardVersions::kOnly21);
}
void BM_CardConverter_Copy30(benchmark::State& state) { Convert(state, CardVersions::kOnly30); }

BENCHMARK(BM_CardConverter_Convert21To30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardConverter_Copy30)->Unit(benchmark::kMillisecond);

// N small cards; every tenth repeats the name of an earlier card.
std::string DuplicateCards(int count) {
  std::string out;
  out.reserve(static_cast<std::size_t>(count) * 120);
  char line[160];
  for (int i = 0; i < count; ++i) {
    const unsigned hash = (static_cast<unsigned>(i) * 2654435761u) >> 7;
    const int person = i % 10 == 9 ? static_cast<int>(hash % static_cast<unsigned>(i)) : i;
    std::snprintf(line, sizeof line,
                  "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Family%d;Given%d;;;\r\n"
                  "REV:20%02d-%02d-%02dT10:00:00Z\r\nEND:VCARD\r\n",
                  person, person, 10 + i % 15, 1 + i % 12, 1 + i % 28);
    out += line;
  }
  return out;
}

void BM_CardDR_Newest(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string text = DuplicateCards(count);
  CLog log;
  vcard::CCardDoc doc(log);
  std::vector<vcard::DRItem> items;
  if (vcard::ParseDRPropsFromString(log, doc, text, items) != S_OK)
    state.SkipWithError("parse failed");
  vcard::CCardDR dr(log);
  for (auto _ : state) dr.Run(nullptr, items, drmNewest);
  state.counters["skipped"] = dr.stats().skipped;
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CardDR_Newest)->Arg(10000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
