// Writing a command's output: a file replaced through a temporary file and
// a rename (a failed or cancelled run leaves the old file as it was), or
// standard output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::cli {

enum class WriteResult { kOk, kFailed, kCancelled };

// Output written as it is made: into a temporary file beside the target
// (or, for standard output, in the temporary folder), which Commit renames
// over the target (or copies to standard output). Until then the target is
// untouched, and an output never committed leaves nothing behind.
class StreamedOutput {
 public:
  StreamedOutput() = default;
  ~StreamedOutput();
  StreamedOutput(const StreamedOutput&) = delete;
  StreamedOutput& operator=(const StreamedOutput&) = delete;

  // `path` is a file or "-"; `error` receives the reason of a failure.
  bool Open(const std::string& path, std::string* error);
  bool Write(const std::uint8_t* data, std::size_t size, std::string* error);
  std::uint64_t size() const { return size_; }
  // The last byte written; 0 when nothing was.
  std::uint8_t last_byte() const { return last_byte_; }
  WriteResult Commit(std::string* error);
  // Removes what was written.
  void Discard();

 private:
  std::string path_;
  std::string temporary_;  // empty for standard output: that copy has no name
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint8_t last_byte_ = 0;
};

// Writes `bytes` into `path`; `error` receives the reason of a failure.
WriteResult WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                               std::string* error);
WriteResult WriteStdout(const std::vector<std::uint8_t>& bytes, std::string* error);

// True when `path` is an existing folder.
bool IsFolder(const std::string& path);

}  // namespace velmora::cli
