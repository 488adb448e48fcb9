// A read-only view of a whole file's bytes without copying them: a regular
// file is mapped into memory, so that looking at a large file (checking its
// encoding, reading its first rows) costs no more memory than the pages
// touched. Pipes and devices, which cannot be mapped, are read instead.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <velmora/status.h>

#include "foundation/file_system.h"

namespace velmora::files {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps `path` (dropping any earlier view). The statuses of ReadWholeFile:
  // a folder gives ERROR_ACCESS_DENIED, a file above `max_size`
  // ERROR_FILE_TOO_LARGE; an empty file gives S_OK and empty bytes.
  HRESULT Open(const std::filesystem::path& path, std::uint64_t max_size = kMaxFileSize);
  void Close();

  std::string_view bytes() const { return bytes_; }

 private:
  std::string_view bytes_;
  void* mapping_ = nullptr;
  std::size_t mapping_size_ = 0;
  std::string read_;  // what a pipe or device gave
};

}  // namespace velmora::files
