// Reading a file piece by piece, for callers that look at a large file
// without holding it: a pass over every byte in fixed-size pieces, or its
// first bytes only. A file that shrinks while it is read simply ends early.
// Pipes and devices, which cannot be read twice, are read whole on opening.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <velmora/status.h>

#include "foundation/file_system.h"

namespace velmora::files {

class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Opens `path` for reading (dropping an earlier file), with the statuses
  // of ReadWholeFile: a folder gives ERROR_ACCESS_DENIED, a file above
  // `max_size` ERROR_FILE_TOO_LARGE.
  HRESULT Open(const std::filesystem::path& path, std::uint64_t max_size = kMaxFileSize);
  void Close();

  // Appends up to `count` bytes from the current position to `out`; fewer
  // only at the end.
  HRESULT Read(std::size_t count, std::string& out, std::size_t* appended);
  // Moves back to the first byte.
  HRESULT Rewind();

 private:
  int fd_ = -1;
  std::uint64_t position_ = 0;
  std::string buffered_;  // all of a pipe or device
};

}  // namespace velmora::files
