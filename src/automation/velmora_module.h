// The module: its object map (one entry, CardConverter, whose class factory
// is created on first request and kept), its count of explicit locks, and
// its own log for the calls that come before any converter exists. The
// exported entry points (module_exports.cpp) work on TheModule(); tests
// make modules of their own.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

#include <velmora/module.h>
#include <velmora/status.h>

#include "automation/class_factory.h"
#include "foundation/log.h"

namespace velmora::automation {

class CVelmoraModule {
 public:
  CVelmoraModule();
  ~CVelmoraModule();
  CVelmoraModule(const CVelmoraModule&) = delete;
  CVelmoraModule& operator=(const CVelmoraModule&) = delete;

  // DllGetClassObject: the class factory of `clsid` as its interface `iid`.
  HRESULT GetClassObject(const VelmoraGuid* clsid, const VelmoraGuid* iid, void** object);
  // DllCanUnloadNow: S_OK when no library object is alive, no lock is held
  // and no caller holds a class factory; else S_FALSE.
  HRESULT CanUnloadNow();
  // DllRegisterServer, DllUnregisterServer: the registration of this
  // module's file in the classes root (registration.h), failures logged.
  HRESULT RegisterServer();
  HRESULT UnregisterServer();

  // Explicit locks (LockServer). Unlock is false, and changes nothing, when
  // no lock is held.
  void Lock();
  bool Unlock();
  std::int32_t locks() const { return locks_.load(std::memory_order_relaxed); }

  // The module's log, <app-data>/Zorva/Velmora/<module name>.log, opened on
  // its first line. Its level is the LogLevel value under
  // Software\Zorva\Velmora (errors and warnings when there is none).
  template <typename... Args>
  void LogError(std::string_view label, HRESULT status, std::string_view format,
                const Args&... args) noexcept {
    try {
      std::lock_guard lock(log_mutex_);
      OpenLog();
      log_.LogError(label, status, format, args...);
    } catch (...) {
      // The log never fails its caller.
    }
  }

 private:
  struct ObjectEntry {
    const VelmoraGuid* clsid;
    std::unique_ptr<CComClassFactory> factory;  // made on the first request
  };

  void OpenLog();

  std::mutex mutex_;  // guards the object map
  ObjectEntry object_map_[1];
  std::atomic<std::int32_t> locks_{0};
  std::mutex log_mutex_;
  CLog log_;
  bool log_open_ = false;
};

// The module of this library, which the exported entry points use.
CVelmoraModule& TheModule();

}  // namespace velmora::automation
