// The reference a whole conversion process is measured against: read a
// file, find its line ends with memchr and convert it from UTF-8 to UTF-16
// with ICU. Prints the seconds it took in all, then those of the scan and
// conversion alone.
//
//   velmora_reference_scan FILE

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "reference_scan.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  std::FILE* file = std::fopen(argv[1], "rb");
  if (file == nullptr) return 1;
  std::string text;
  std::fseek(file, 0, SEEK_END);
  text.resize(static_cast<std::size_t>(std::ftell(file)));
  std::fseek(file, 0, SEEK_SET);
  const bool read = std::fread(text.data(), 1, text.size(), file) == text.size();
  std::fclose(file);
  const auto scan_start = std::chrono::steady_clock::now();
  std::vector<char16_t> utf16;
  const std::size_t lines = velmora::bench::CountLines(text);
  if (!read || !velmora::bench::ScanAndConvert(text, utf16)) return 1;
  const auto end = std::chrono::steady_clock::now();
  const std::chrono::duration<double> took = end - start, scan = end - scan_start;
  std::printf("%.4f %.4f %zu\n", took.count(), scan.count(), lines);
  return 0;
}
