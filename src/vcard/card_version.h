// vCard versions are held times ten inside the system (2.1 -> 21, 3.0 -> 30).
#pragma once

#include <cstdint>

namespace velmora::vcard {

// Truncates after one decimal (2.1 is 21.000000000000004 times ten; the
// epsilon keeps 2.3, which is 22.999..., on its decimal). Values that are
// not positive (NaN included) give 0; a stray huge value is held at 10000.
inline std::int32_t VersionTimesTen(double version) {
  if (!(version > 0.0)) return 0;
  if (version >= 1000.0) return 10000;
  return static_cast<std::int32_t>(version * 10.0 + 1e-9);
}

}  // namespace velmora::vcard
