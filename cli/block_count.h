// Counting the cards of a vCard file block by block, so that counting a
// file of any size takes the memory of a few blocks.
#pragma once

#include <cstdint>
#include <string>

#include <velmora/card_converter.h>

namespace velmora::cli {

struct CardCount {
  std::int32_t cards = 0;    // complete cards
  std::int32_t cut_off = 0;  // cards the end of the file cut off (no END:VCARD)
};

// Counts the cards of `path` with LoadMemory on each block; `progress`
// hears the running count as counting does (0, counted, 0, cut off, 0) and
// may cancel. False, with nothing counted, when the file cannot be read in
// blocks (UTF-16, a byte-order mark, a read error): the caller counts it
// whole instead.
bool CountCardBlocks(ICardConverter& library, const std::string& path,
                     ICardConverterProgress* progress, CardCount* count);

}  // namespace velmora::cli
