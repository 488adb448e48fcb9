// A private folder under TMPDIR, removed with whatever it holds when the
// object goes: where the library writes what the command only stages
// (one CSV file before it replaces the output, a dry run's files).
#pragma once

#include <string>

namespace velmora::cli {

class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // Empty when the folder could not be made (errno tells why).
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace velmora::cli
