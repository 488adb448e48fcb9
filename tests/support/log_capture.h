// A log whose lines a test can read back, for the layers below the object
// model (which report through the log only).
#pragma once

#include <string>
#include <string_view>

#include "foundation/log.h"
#include "foundation/module_info.h"
#include "foundation/text_format.h"
#include "support/test_env.h"

namespace velmora::test {

// Writes to its own file in the sandboxed app-data folder.
class CapturedLog {
 public:
  explicit CapturedLog(int level = loglDetail) {
    static int counter = 0;
    log.Init(ThisModule(), Format("log-%d", ++counter), u"VelmoraTests", u"Layers", level, true);
  }
  std::string Text() const { return ReadFile(log.log_path()); }
  int Count(std::string_view needle) const { return CountOf(Text(), needle); }
  bool Has(std::string_view needle) const { return Count(needle) > 0; }
  // Lines of kind error or warning ("Err[" / "War[").
  int Problems() const { return Count("Err[") + Count("War["); }

  CLog log;
};

}  // namespace velmora::test
