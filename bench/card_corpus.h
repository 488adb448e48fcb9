// A deterministic generator of realistic vCard text for the benchmarks: the
// same options always give the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora::bench {

// Which card kinds the rotation takes.
enum class CardVersions { kMixed, kOnly30, kOnly21 };

struct CardCorpusOptions {
  std::size_t target_bytes = 20u << 20;  // generation stops past this size
  int photo_percent = 0;                 // share of cards with a base64 photo
  std::uint32_t seed = 20240101;
  CardVersions versions = CardVersions::kMixed;
};

// Cards in rotation: vCard 3.0 in UTF-8 (folded lines, escapes, Apple item
// groups), and vCard 2.1 with CHARSET UTF-8, windows-1252 and windows-1251,
// non-ASCII text in QUOTED-PRINTABLE with soft line breaks. Every card has
// N, FN, ORG, TITLE, several TEL/EMAIL/ADR with types, a multi-line NOTE,
// BDAY, REV, UID and CATEGORIES.
std::string MakeCardCorpus(const CardCorpusOptions& options);

}  // namespace velmora::bench
