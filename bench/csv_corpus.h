// A deterministic generator of Outlook-style contact CSV for the benchmarks:
// the same options always give the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::bench {

struct CsvCorpusOptions {
  std::size_t target_bytes = 20u << 20;  // generation stops past this size
  bool windows1252 = false;              // else UTF-8 with a byte-order mark
  std::uint32_t seed = 20240101;
};

// The 92-column English Outlook header row, then one row per contact as
// Outlook writes them: every text cell quoted (empty ones as ""), dates and
// flags bare. Names carry accented letters, companies and streets commas,
// notes and streets CR LF line breaks and doubled quotes.
std::string MakeCsvCorpus(const CsvCorpusOptions& options);

}  // namespace velmora::bench
