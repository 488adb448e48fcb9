// Splitting a decoded structured vCard value (N, ADR, ORG, CATEGORIES) into
// its components.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/log.h"

namespace velmora::vcard {

// Splits `text` at ';' (and at ',' when `split_on_commas`) into `list`
// (replacing it), empty components included ("a;;b" -> "a", "", "b"). "\;"
// and "\\" (and "\," when splitting on commas) give the character itself;
// another character after a backslash is logged as an unexpected escape and
// the backslash stays. Empty components are added up to `min_count`. The
// strings already in `list` are refilled in place, so that a list reused
// from value to value keeps their room.
void SplitMultiValue(CLog& log, std::u16string_view text, bool split_on_commas, int min_count,
                     std::vector<std::u16string>& list);

}  // namespace velmora::vcard
