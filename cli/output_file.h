// Writing a command's output: a file replaced through a temporary file and
// a rename (a failed or cancelled run leaves the old file as it was), or
// standard output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::cli {

enum class WriteResult { kOk, kFailed, kCancelled };

// Writes `bytes` into `path`; `error` receives the reason of a failure.
WriteResult WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                               std::string* error);
WriteResult WriteStdout(const std::vector<std::uint8_t>& bytes, std::string* error);

// True when `path` is an existing folder.
bool IsFolder(const std::string& path);

}  // namespace velmora::cli
