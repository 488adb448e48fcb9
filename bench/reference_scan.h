// The reference the vCard benchmarks compare against, on the same buffer: a
// memchr scan for line ends, and that scan followed by ICU's UTF-8 to UTF-16
// conversion of the whole buffer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::bench {

std::size_t CountLines(const std::string& text);

// Scans and converts; `utf16` is reused between calls. False when ICU fails.
bool ScanAndConvert(const std::string& text, std::vector<char16_t>& utf16);

}  // namespace velmora::bench
