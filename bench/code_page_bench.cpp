// Decoding throughput of the code-page layer against a plain memcpy of the
// same buffer: UTF-8 and windows-1252 text to UTF-16.
#include <cstring>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "foundation/code_page.h"

namespace {

constexpr std::size_t kBufferSize = 8u << 20;

// Contact-like text: mostly ASCII with accented names every few words, as
// address books hold. The same seed gives the same bytes on every run.
std::string MakeText(bool utf8) {
  static const char* const kWordsUtf8[] = {"Müller", "Zoë",    "Ærøskøbing", "Łódź",  "Straße",
                                           "café",   "résumé", "Søren",      "Ñandú", "Crème"};
  static const char* const kWords1252[] = {"M\xfcller",
                                           "Zo\xeb",
                                           "\xc6r\xf8sk\xf8"
                                           "bing",
                                           "Lodz",
                                           "Stra\xdf"
                                           "e",
                                           "caf\xe9",
                                           "r\xe9sum\xe9",
                                           "S\xf8ren",
                                           "\xd1"
                                           "and\xfa",
                                           "Cr\xe8me"};
  static const char* const kAscii[] = {"John",    "Smith", "Street", "Avenue", "Company",
                                       "Manager", "Phone", "Email",  "Home",   "Work"};
  std::mt19937 random(42);
  std::string text;
  text.reserve(kBufferSize + 64);
  while (text.size() < kBufferSize) {
    const unsigned r = random();
    text += (r % 4 == 0) ? (utf8 ? kWordsUtf8 : kWords1252)[r / 4 % 10] : kAscii[r / 4 % 10];
    text += (r % 7 == 0) ? "\r\n" : " ";
  }
  text.resize(kBufferSize);
  return text;
}

void BM_Memcpy(benchmark::State& state) {
  const std::string text = MakeText(true);
  std::string copy(text.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Memcpy);

void Decode(benchmark::State& state, int code_page, bool utf8) {
  const std::string text = MakeText(utf8);
  std::u16string out;
  for (auto _ : state) {
    velmora::codepage::ToUtf16(code_page, text, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_DecodeUtf8(benchmark::State& state) { Decode(state, velmora::codepage::kUtf8, true); }
BENCHMARK(BM_DecodeUtf8);

void BM_DecodeWindows1252(benchmark::State& state) { Decode(state, 1252, false); }
BENCHMARK(BM_DecodeWindows1252);

void BM_EncodeWindows1252(benchmark::State& state) {
  const std::u16string text = velmora::codepage::ToUtf16(1252, MakeText(false));
  std::string out;
  for (auto _ : state) {
    velmora::codepage::FromUtf16(1252, text, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_EncodeWindows1252);

}  // namespace

BENCHMARK_MAIN();
