// The base of every object the library hands out, and the count of live
// objects.
#pragma once

#include <cstdint>

#include <velmora/export.h>

namespace velmora {

// Every public interface derives from IObject, so that a caller can pass any
// library object where an optional argument takes "an object" (Variant).
// Objects are held by std::shared_ptr; the last reference frees them.
class VELMORA_API IObject {
 public:
  virtual ~IObject();

 protected:
  IObject() = default;
  IObject(const IObject&) = default;
  IObject& operator=(const IObject&) = default;
};

// The number of library objects alive in this process (converters,
// collections, previews, contacts, addresses). Zero once every object handed
// out has been released.
VELMORA_API std::int32_t LiveObjectCount();

}  // namespace velmora
