// The module-wide count of live library objects. Every object handed to a
// caller holds one CLiveObject, so the count is zero exactly when no object
// is referenced any more.
#pragma once

#include <cstdint>

namespace velmora::automation {

class CLiveObject {
 public:
  CLiveObject();
  CLiveObject(const CLiveObject&);
  CLiveObject& operator=(const CLiveObject&) = default;
  ~CLiveObject();
};

}  // namespace velmora::automation
