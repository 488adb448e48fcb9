// Writes a generated benchmark corpus to a file, so that whole-process runs
// (the command, the Python module, GNU parallel) read the same bytes as the
// in-process benchmarks.
//
//   velmora_make_corpus 21|30|mixed MEGABYTES [PHOTO_PERCENT] > FILE

#include <cstdio>
#include <cstdlib>
#include <string>

#include "card_corpus.h"

int main(int argc, char** argv) {
  using velmora::bench::CardVersions;
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s 21|30|mixed MEGABYTES [PHOTO_PERCENT] > FILE\n", argv[0]);
    return 2;
  }
  const std::string kind = argv[1];
  velmora::bench::CardCorpusOptions options;
  options.versions = kind == "21"   ? CardVersions::kOnly21
                     : kind == "30" ? CardVersions::kOnly30
                                    : CardVersions::kMixed;
  const long megabytes = std::strtol(argv[2], nullptr, 10);
  if (megabytes <= 0) {
    std::fprintf(stderr, "MEGABYTES must be a positive number\n");
    return 2;
  }
  options.target_bytes = static_cast<std::size_t>(megabytes) << 20;
  if (argc > 3) options.photo_percent = std::atoi(argv[3]);
  const std::string text = velmora::bench::MakeCardCorpus(options);
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
