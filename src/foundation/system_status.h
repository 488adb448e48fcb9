// Maps POSIX errors to the statuses the system reports for file failures.
#pragma once

#include <filesystem>
#include <system_error>

#include <velmora/status.h>

namespace velmora {

// HRESULT_FROM_WIN32 of the Windows system error that matches `err`:
// ENOENT -> ERROR_FILE_NOT_FOUND (2), ENOTDIR -> ERROR_PATH_NOT_FOUND (3),
// EACCES/EPERM/EISDIR -> ERROR_ACCESS_DENIED (5), EEXIST -> ERROR_FILE_EXISTS
// (80), ENOSPC/EDQUOT -> ERROR_DISK_FULL (112), ... Unmapped errors give
// ERROR_GEN_FAILURE (31). 0 gives S_OK.
HRESULT StatusFromErrno(int err);

// As above, but ENOENT on `path` becomes ERROR_PATH_NOT_FOUND (3) when the
// folder that should hold `path` is missing, as Windows reports it.
HRESULT StatusFromErrno(int err, const std::filesystem::path& path);

HRESULT StatusFromErrorCode(const std::error_code& ec);

// The status of a read that ended before the expected size (ERROR_HANDLE_EOF).
inline constexpr HRESULT kStatusShortRead = HRESULT_FROM_WIN32(win32::ERROR_HANDLE_EOF);

}  // namespace velmora
