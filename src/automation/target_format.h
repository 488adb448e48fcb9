// The target of a vCard output (conversion, saving, a generated card): the
// version, the code page and the charset name written in CHARSET
// parameters, settled from the caller's arguments.
#pragma once

#include <string>
#include <string_view>

#include <velmora/status.h>
#include <velmora/variant.h>

#include "foundation/char_converter.h"
#include "foundation/log.h"

namespace velmora::automation {

struct TargetFormat {
  int version = 30;  // times ten: 21 or 30
  int code_page = 65001;
  std::string iso_name;  // empty only when the caller asked for no CHARSET
};

// `version` times ten, truncated, must be 21 or 30, else "Invalid
// CardVersion, taking 3.0" and 30. Without `iso_name` the charset name comes
// from the supported encodings for the code page (0 and -1, the "<System
// Locale>" entry: the ANSI code page); none there logs "Cant find iso name
// for encoding codepage = %d" and gives E_INVALIDARG. A given `iso_name`
// must be a string ("EncodingIsoName must be BSTR or Missing") and is used
// as it is: an empty one writes no CHARSET parameter. Messages go under
// `label`.
HRESULT SettleTargetFormat(CLog& log, const CCharConverter& charsets, std::string_view label,
                           double version, int code_page, const Variant& iso_name,
                           TargetFormat* target);

}  // namespace velmora::automation
