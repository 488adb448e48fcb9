// Parsing vCard text into contact records, and parsing plus writing every
// record back as vCard 3.0, beside the scan-plus-ICU reference on the same
// buffer.
//
//   velmora_bench --benchmark_filter=CardParser --benchmark_min_time=0.5
//
// Arguments: 0 = about 20 MB of vCard 3.0, 1 = vCard 2.1 in UTF-8,
// windows-1252 and windows-1251 with quoted-printable, 2 = vCard 3.0 with
// base64 photos on 20% of the cards.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "card_corpus.h"
#include "foundation/log.h"
#include "reference_scan.h"
#include "vcard/card_export.h"
#include "vcard/card_parser.h"

namespace velmora::bench {
namespace {

const std::string& Corpus(int variant) {
  static const std::string v30 = MakeCardCorpus({20u << 20, 0, 20240101, CardVersions::kOnly30});
  static const std::string v21 = MakeCardCorpus({20u << 20, 0, 20240101, CardVersions::kOnly21});
  static const std::string photos =
      MakeCardCorpus({20u << 20, 20, 20240101, CardVersions::kOnly30});
  return variant == 0 ? v30 : variant == 1 ? v21 : photos;
}

// Counts the records, and writes each one when given an exporter.
struct Sink : vcard::ICardParserConsumer {
  vcard::CCardExport* exporter = nullptr;
  std::int64_t cards = 0;
  std::size_t written = 0;
  bool OnParsedItem(const contact::ContactRecord& record, const vcard::CCardDocItem&) override {
    ++cards;
    if (exporter != nullptr) {
      const char* text = nullptr;
      std::size_t length = 0;
      if (exporter->ExportContact(&record, 30, 65001, "utf-8", &text, &length) == S_OK) {
        written += length;
      }
    }
    return true;
  }
};

void Run(benchmark::State& state, bool write) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  CLog log;
  vcard::CCardParser parser(log);
  vcard::CCardExport exporter(log);
  Sink sink;
  if (write) sink.exporter = &exporter;
  for (auto _ : state) {
    auto doc = parser.NewDocument();
    parser.LoadMemory(*doc, text.data(), static_cast<std::int32_t>(text.size()),
                      {.consumer = &sink}, false);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["cards/s"] =
      benchmark::Counter(static_cast<double>(sink.cards), benchmark::Counter::kIsRate);
}

void BM_CardParser_ReferenceScanPlusIcu(benchmark::State& state) {
  const std::string& text = Corpus(static_cast<int>(state.range(0)));
  std::vector<char16_t> utf16;
  for (auto _ : state) {
    if (!ScanAndConvert(text, utf16)) state.SkipWithError("ICU conversion failed");
    benchmark::DoNotOptimize(utf16.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_CardParser_Parse(benchmark::State& state) { Run(state, false); }
void BM_CardParser_ParseAndWrite30(benchmark::State& state) { Run(state, true); }

BENCHMARK(BM_CardParser_ReferenceScanPlusIcu)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardParser_Parse)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CardParser_ParseAndWrite30)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
