// The vCard document reader against two references on the same buffer: a
// memchr scan for line ends, and that scan followed by ICU's UTF-8 to UTF-16
// conversion of the whole buffer.
//
//   velmora_bench --benchmark_filter=CardDoc --benchmark_min_time=0.5
//
// Arguments: 0 = about 20 MB of text cards, 1 = the same with base64 photos
// on 20% of the cards.
#include <cstring>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <unicode/ustring.h>

#include "card_corpus.h"
#include "foundation/log.h"
#include "reference_scan.h"
#include "vcard/card_doc.h"

namespace velmora::bench {
namespace {

const std::string& Corpus(int variant) {
  static const std::string plain = MakeCardCorpus({20u << 20, 0, 20240101});
  static const std::string photos = MakeCardCorpus({20u << 20, 20, 20240101});
  return variant == 0 ? plain : photos;
}

void BM_CardDoc_MemchrLines(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(CountLines(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_CardDoc_MemchrLinesPlusIcu(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  std::vector<char16_t> utf16;
  for (auto _ : state) {
    if (!ScanAndConvert(text, utf16)) state.SkipWithError("u_strFromUTF8 failed");
    benchmark::DoNotOptimize(utf16.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_CardDoc_Load(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  CLog log;
  vcard::CCardDoc doc(log);
  for (auto _ : state) {
    if (doc.Load(text.data(), static_cast<std::int32_t>(text.size())) !=
        vcard::LoadResult::kComplete) {
      state.SkipWithError("load failed");
    }
    benchmark::DoNotOptimize(doc.GetItemCount());
  }
  state.counters["cards"] = doc.GetItemCount();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_CardDoc_LoadAndDecode(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  CLog log;
  vcard::CCardDoc doc(log);
  std::u16string value;
  std::size_t units = 0;
  for (auto _ : state) {
    if (doc.Load(text.data(), static_cast<std::int32_t>(text.size())) !=
        vcard::LoadResult::kComplete) {
      state.SkipWithError("load failed");
    }
    units = 0;
    for (const auto& item : doc.items()) {
      for (const auto& prop : item->props()) {
        prop.GetDecodedValue(value);
        units += value.size();
      }
    }
    benchmark::DoNotOptimize(units);
  }
  state.counters["utf16_units"] = static_cast<double>(units);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_CardDoc_MemchrLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardDoc_MemchrLinesPlusIcu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardDoc_Load)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardDoc_LoadAndDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
