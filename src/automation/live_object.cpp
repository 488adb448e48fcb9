#include "automation/live_object.h"

#include <atomic>

#include <velmora/object.h>

namespace velmora::automation {
namespace {

std::atomic<std::int32_t> g_live_objects{0};

}  // namespace

CLiveObject::CLiveObject() { g_live_objects.fetch_add(1, std::memory_order_relaxed); }

CLiveObject::CLiveObject(const CLiveObject&) {
  g_live_objects.fetch_add(1, std::memory_order_relaxed);
}

CLiveObject::~CLiveObject() { g_live_objects.fetch_sub(1, std::memory_order_relaxed); }

}  // namespace velmora::automation

namespace velmora {

IObject::~IObject() = default;

std::int32_t LiveObjectCount() {
  return automation::g_live_objects.load(std::memory_order_relaxed);
}

}  // namespace velmora
