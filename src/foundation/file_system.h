// Files and folders, with failures reported as statuses.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <velmora/status.h>

namespace velmora::files {

// The per-user application-data folder: ${XDG_DATA_HOME:-~/.local/share};
// nothing when neither variable gives an absolute path.
std::optional<std::filesystem::path> AppDataFolder();
// Points AppDataFolder at another folder; an empty path restores the default.
void OverrideAppDataFolder(const std::filesystem::path& folder);

// The largest file the readers accept: sizes are 32-bit inside the system.
inline constexpr std::uint64_t kMaxFileSize = 0xFFFFFFFEu;

// Reads a whole file into `out` (replacing it). A folder gives
// ERROR_ACCESS_DENIED, a file above `max_size` ERROR_FILE_TOO_LARGE (with
// nothing read), a read that ends early ERROR_HANDLE_EOF.
HRESULT ReadWholeFile(const std::filesystem::path& path, std::string& out,
                      std::uint64_t max_size = kMaxFileSize);

// The step a failed ReadWholeFile stands for in log lines: "File.GetSize"
// for a file beyond the limit, "File.Read" for a short read, else
// "File.Create".
const char* ReadFailureStep(HRESULT status);

// The step of a replacing write that failed, for callers that report
// creating and writing apart.
enum class FileStep { kNone, kCreate, kWrite };

// Writes `data` to a temporary file beside `path` and renames it into place,
// so an existing file is either fully replaced or left as it was. Creating
// the temporary file is the create step; writing, closing and renaming it
// the write step.
HRESULT WriteFileReplacing(const std::filesystem::path& path, std::string_view data,
                           FileStep* failed_step = nullptr);

// Copies `from` to `to` through a temporary file and a rename.
HRESULT CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Creates the folder (and its parents); an existing folder is success.
HRESULT CreateFolder(const std::filesystem::path& folder);

bool IsFolder(const std::filesystem::path& path);

// True when both paths name one existing file (same device and inode).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// A name for a temporary file in the folder of `path`, not yet existing.
std::filesystem::path TemporarySibling(const std::filesystem::path& path);

}  // namespace velmora::files
