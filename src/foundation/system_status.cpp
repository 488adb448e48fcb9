#include "foundation/system_status.h"

#include <cerrno>

namespace velmora {

HRESULT StatusFromErrno(int err) {
  using namespace win32;
  std::uint32_t code;
  switch (err) {
    case 0:
      return S_OK;
    case ENOENT:
      code = ERROR_FILE_NOT_FOUND;
      break;
    case ENOTDIR:
      code = ERROR_PATH_NOT_FOUND;
      break;
    case EACCES:
    case EPERM:
    case EISDIR:
      code = ERROR_ACCESS_DENIED;
      break;
    case EROFS:
      code = ERROR_WRITE_PROTECT;
      break;
    case EEXIST:
      code = ERROR_FILE_EXISTS;
      break;
    case ENOSPC:
    case EDQUOT:
      code = ERROR_DISK_FULL;
      break;
    case EMFILE:
    case ENFILE:
      code = ERROR_TOO_MANY_OPEN_FILES;
      break;
    case ENOMEM:
      code = ERROR_OUTOFMEMORY;
      break;
    case EBADF:
      code = ERROR_INVALID_HANDLE;
      break;
    case EINVAL:
      code = ERROR_INVALID_PARAMETER;
      break;
    case ENAMETOOLONG:
      code = ERROR_FILENAME_EXCED_RANGE;
      break;
    case EFBIG:
    case EOVERFLOW:
      code = ERROR_FILE_TOO_LARGE;
      break;
    case EBUSY:
      code = ERROR_BUSY;
      break;
    case ETXTBSY:
      code = ERROR_SHARING_VIOLATION;
      break;
    case EXDEV:
      code = ERROR_NOT_SAME_DEVICE;
      break;
    case ENOTEMPTY:
      code = ERROR_DIR_NOT_EMPTY;
      break;
    case ELOOP:
      code = ERROR_CANT_RESOLVE_FILENAME;
      break;
    case EIO:
      code = ERROR_IO_DEVICE;
      break;
    default:
      code = ERROR_GEN_FAILURE;
      break;
  }
  return HRESULT_FROM_WIN32(code);
}

HRESULT StatusFromErrno(int err, const std::filesystem::path& path) {
  if (err == ENOENT) {
    std::error_code ec;
    std::filesystem::path parent = path.parent_path();
    if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) {
      return HRESULT_FROM_WIN32(win32::ERROR_PATH_NOT_FOUND);
    }
  }
  return StatusFromErrno(err);
}

HRESULT StatusFromErrorCode(const std::error_code& ec) {
  if (!ec) return S_OK;
  if (ec.category() == std::generic_category() || ec.category() == std::system_category()) {
    return StatusFromErrno(ec.value());
  }
  return HRESULT_FROM_WIN32(win32::ERROR_GEN_FAILURE);
}

}  // namespace velmora
