// Status codes returned by every public operation.
//
// Velmora reports outcomes as 32-bit signed statuses in the HRESULT layout:
// negative values are failures, 0 and 1 are the two kinds of success.
// File and system failures carry the matching Windows system error code in
// the low 16 bits (HRESULT_FROM_WIN32), so the statuses and the log lines read
// the same on every platform an application ships on.
#pragma once

#include <cstdint>

namespace velmora {

using HRESULT = std::int32_t;

// Success.
inline constexpr HRESULT S_OK = 0;
// Success with nothing to do or nothing written (the false-success status).
inline constexpr HRESULT S_FALSE = 1;
// Success, but the input held no content (an empty file, an empty text).
inline constexpr HRESULT S_NO_CONTENT = S_FALSE;
// Generic failure: "Not initialized", "Already initialized", internal failures.
inline constexpr HRESULT E_GENERIC_FAILURE = -1;
// A missing or wrongly typed argument.
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
// The operation is not implemented.
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
// The object does not have the requested interface.
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
// A required result pointer was null.
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
// An index outside the collection.
inline constexpr HRESULT E_BOUNDS = static_cast<HRESULT>(0x8000000Bu);
// The call is not allowed in the object's current state.
inline constexpr HRESULT E_ILLEGAL_METHOD_CALL = static_cast<HRESULT>(0x8000000Eu);
// A call out of order (releasing a lock that was never taken).
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
// The class cannot be created inside another object (aggregation).
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
// The class factory does not know the requested class.
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
// Memory could not be allocated (HRESULT_FROM_WIN32(ERROR_OUTOFMEMORY)).
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

// Windows system error codes that Velmora reports inside statuses.
namespace win32 {
inline constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr std::uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr std::uint32_t ERROR_OUTOFMEMORY = 14;
inline constexpr std::uint32_t ERROR_NOT_SAME_DEVICE = 17;
inline constexpr std::uint32_t ERROR_WRITE_PROTECT = 19;
inline constexpr std::uint32_t ERROR_GEN_FAILURE = 31;
inline constexpr std::uint32_t ERROR_SHARING_VIOLATION = 32;
inline constexpr std::uint32_t ERROR_HANDLE_EOF = 38;
inline constexpr std::uint32_t ERROR_FILE_EXISTS = 80;
inline constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::uint32_t ERROR_DISK_FULL = 112;
inline constexpr std::uint32_t ERROR_DIR_NOT_EMPTY = 145;
inline constexpr std::uint32_t ERROR_BUSY = 170;
inline constexpr std::uint32_t ERROR_ALREADY_EXISTS = 183;
inline constexpr std::uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr std::uint32_t ERROR_FILE_TOO_LARGE = 223;
inline constexpr std::uint32_t ERROR_DIRECTORY = 267;
inline constexpr std::uint32_t ERROR_IO_DEVICE = 1117;
inline constexpr std::uint32_t ERROR_CANT_RESOLVE_FILENAME = 1921;
}  // namespace win32

// Wraps a Windows system error code as a failure status (0 stays success).
constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t error) {
  return error == 0 ? S_OK : static_cast<HRESULT>((error & 0x0000FFFFu) | 0x80070000u);
}

constexpr bool SUCCEEDED(HRESULT status) { return status >= 0; }
constexpr bool FAILED(HRESULT status) { return status < 0; }

}  // namespace velmora
