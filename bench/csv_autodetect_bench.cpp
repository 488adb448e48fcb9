// Autodetecting the dialect of a large CSV file, beside one plain read pass
// over the same file in the same 1 MiB pieces. Detection decodes the first two rows only, but
// judges the encoding on every byte, so it should cost about that pass.
//
//   VELMORA_BENCH_AUTODETECT_MB=1024 velmora_bench --benchmark_filter=CsvAutodetect
//
// The file (256 MB unless the variable says otherwise) is Outlook CSV in
// UTF-8 without a byte-order mark, the case where no mark settles the
// encoding early; it is written once to the temporary folder and removed at
// exit.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_headers.h"
#include "csv_corpus.h"
#include "foundation/file_reader.h"
#include "foundation/log.h"

namespace velmora::bench {
namespace {

class LargeCsvFile {
 public:
  LargeCsvFile() {
    std::size_t megabytes = 256;
    if (const char* value = std::getenv("VELMORA_BENCH_AUTODETECT_MB")) {
      megabytes = static_cast<std::size_t>(std::strtoul(value, nullptr, 10));
    }
    path_ = std::filesystem::temp_directory_path() / "velmora_autodetect_bench.csv";
    std::string block = MakeCsvCorpus({16u << 20, false, 20240101});
    const std::string header = block.substr(0, block.find("\r\n") + 2);
    std::string rows = block.substr(header.size());
    std::ofstream out(path_, std::ios::binary);
    out << header.substr(3);  // without the byte-order mark
    for (std::size_t written = 0; written < (megabytes << 20); written += rows.size()) out << rows;
  }
  ~LargeCsvFile() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const LargeCsvFile& File() {
  static const LargeCsvFile file;
  return file;
}

void SetBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(File().path())));
}

void BM_CsvAutodetect_ReferenceReadPass(benchmark::State& state) {
  std::string piece;
  for (auto _ : state) {
    files::FileReader file;
    if (file.Open(File().path()) != S_OK) state.SkipWithError("cannot open the file");
    std::size_t got = 0;
    do {
      piece.clear();
      file.Read(std::size_t{1} << 20, piece, &got);
      benchmark::DoNotOptimize(std::memchr(piece.data(), 0, piece.size()));
    } while (got > 0);
  }
  SetBytes(state);
}

void BM_CsvAutodetect_File(benchmark::State& state) {
  CLog log;
  csv::CCsvHeaders headers(log);
  const csv::CCsv csv(log, &headers);
  for (auto _ : state) {
    csv::CsvDetection found;
    if (csv.AutodetectCsvFile(File().path(), false, &found) != S_OK ||
        found.type != vlmcsvOutlook || found.encoding_cp != 65001) {
      state.SkipWithError("not detected as Outlook in UTF-8");
    }
  }
  SetBytes(state);
}

BENCHMARK(BM_CsvAutodetect_ReferenceReadPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvAutodetect_File)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
