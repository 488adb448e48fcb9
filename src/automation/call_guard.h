// Keeps exceptions inside the library: every public method runs its body
// through GuardedCall, which turns an escaping exception (in practice only
// std::bad_alloc) into a status and a log line.
#pragma once

#include <exception>
#include <new>
#include <string_view>

#include <velmora/status.h>

#include "foundation/log.h"

namespace velmora::automation {

template <typename Body>
HRESULT GuardedCall(CLog* log, std::string_view label, Body&& body) noexcept {
  HRESULT status = E_GENERIC_FAILURE;
  const char* what = nullptr;
  try {
    return body();
  } catch (const std::bad_alloc&) {
    status = E_OUTOFMEMORY;
    what = "Out of memory";
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "Unexpected failure";
  }
  if (log != nullptr) {
    try {
      log->LogError(label, status, "%s", what);
    } catch (...) {
      // Logging is best effort when memory has run out.
    }
  }
  return status;
}

}  // namespace velmora::automation
