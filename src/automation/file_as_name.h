// The name a saved card's file is given: the file-as name of the contact,
// read straight from the card's N, FN and ORG properties.
#pragma once

#include <string>
#include <string_view>

#include <velmora/status.h>

#include "foundation/log.h"

namespace velmora::automation {

// Loads `card` (one vCard item) into a document of its own and composes the
// file-as name from N (family, given, additional, prefix, suffix), FN and the
// first component of ORG. An N with fewer than five components logs
// "Invalid N filed:%s\n" and counts as no name. Fails with the load's status
// when the card holds no item. Label "CCardDoc.GenFileAs".
HRESULT GenFileAs(CLog& log, std::string_view card, std::u16string* file_as);

}  // namespace velmora::automation
