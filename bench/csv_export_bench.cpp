// Cards to CSV: 20,000 generated cards parsed and written as Outlook and as
// Google CSV rows in memory, beside parsing the same cards alone.
//
//   velmora_bench --benchmark_filter=CsvExport --benchmark_min_time=0.5
#include <set>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "card_corpus.h"
#include "csv/csv_export.h"
#include "csv/csv_headers.h"
#include "foundation/code_page.h"
#include "foundation/log.h"
#include "vcard/card_parser.h"
#include "vcard/card_parser_consumer.h"

namespace velmora::bench {
namespace {

constexpr int kCards = 20000;

const std::string& Cards() {
  static const std::string cards = [] {
    const std::string all = MakeCardCorpus({40u << 20, 0, 20240101, CardVersions::kMixed});
    std::size_t end = 0;
    for (int i = 0; i < kCards; ++i) end = all.find("END:VCARD\r\n", end) + 11;
    return all.substr(0, end);
  }();
  return cards;
}

// Parses every card and, with a dialect, writes its row.
class Exporter : public vcard::ICardParserConsumer {
 public:
  Exporter(const csv::CCsvHeaders& headers, ECsvType type) : headers_(headers), type_(type) {
    text_.reserve(std::size_t{32} << 20);
  }
  bool OnParsedItem(const contact::ContactRecord& record, const vcard::CCardDocItem&) override {
    ++cards_;
    if (type_ == vlmcsvUnknown) return true;
    csv::ExportContactW(headers_, record, row_, type_, nullptr);
    std::vector<std::uint32_t> codes;
    codes.reserve(row_.size());
    for (const auto& [code, text] : row_) codes.push_back(code);
    text_ += csv::CsvLine(codes, row_);
    text_ += u"\r\n";
    return true;
  }
  std::u16string text_;
  int cards_ = 0;

 private:
  const csv::CCsvHeaders& headers_;
  ECsvType type_;
  csv::CsvRowMap row_;
};

void Export(benchmark::State& state, ECsvType type) {
  CLog log;
  csv::CCsvHeaders headers(log);
  std::size_t output = 0;
  int cards = 0;
  Cards();  // generated before the clock runs
  for (auto _ : state) {
    Exporter exporter(headers, type);
    vcard::CCardParser parser(log);
    parser.LoadMemory(Cards().data(), static_cast<std::int32_t>(Cards().size()),
                      {.consumer = &exporter});
    const std::string bytes = codepage::FromUtf16(codepage::kUtf8, exporter.text_);
    output = bytes.size();
    cards = exporter.cards_;
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * cards);
  state.SetBytesProcessed(static_cast<std::int64_t>(
      state.iterations() * (type == vlmcsvUnknown ? Cards().size() : output)));
  state.counters["cards"] = cards;
}

void BM_CsvExport_Outlook(benchmark::State& state) { Export(state, vlmcsvOutlook); }
void BM_CsvExport_Google(benchmark::State& state) { Export(state, vlmcsvGoogle); }
void BM_CsvExport_ReferenceParseOnly(benchmark::State& state) { Export(state, vlmcsvUnknown); }

// The row writers alone, on records parsed once.
void RowsOnly(benchmark::State& state, ECsvType type) {
  struct Keep : vcard::ICardParserConsumer {
    std::vector<contact::ContactRecord> records;
    bool OnParsedItem(const contact::ContactRecord& record, const vcard::CCardDocItem&) override {
      records.push_back(record);
      return true;
    }
  } keep;
  CLog log;
  csv::CCsvHeaders headers(log);
  vcard::CCardParser parser(log);
  parser.LoadMemory(Cards().data(), static_cast<std::int32_t>(Cards().size()), {.consumer = &keep});
  csv::CsvRowMap row;
  std::vector<std::uint32_t> codes;
  std::size_t output = 0;
  for (auto _ : state) {
    output = 0;
    for (const contact::ContactRecord& record : keep.records) {
      csv::ExportContactW(headers, record, row, type, nullptr);
      codes.clear();
      for (const auto& [code, text] : row) codes.push_back(code);
      output += csv::CsvLine(codes, row).size();
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * keep.records.size()));
  state.counters["units"] = static_cast<double>(output);
}
void BM_CsvExport_RowsOnlyOutlook(benchmark::State& state) { RowsOnly(state, vlmcsvOutlook); }
void BM_CsvExport_RowsOnlyGoogle(benchmark::State& state) { RowsOnly(state, vlmcsvGoogle); }
BENCHMARK(BM_CsvExport_RowsOnlyOutlook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport_RowsOnlyGoogle)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_CsvExport_Outlook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport_Google)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport_ReferenceParseOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
