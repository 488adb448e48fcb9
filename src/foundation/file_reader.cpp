#include "foundation/file_reader.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/system_status.h"

namespace velmora::files {
namespace {

// The descriptor value of a file read whole on opening.
constexpr int kBuffered = -2;

}  // namespace

FileReader::~FileReader() { Close(); }

void FileReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  position_ = 0;
  std::string().swap(buffered_);
}

HRESULT FileReader::Open(const std::filesystem::path& path, std::uint64_t max_size) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return StatusFromErrno(errno, path);
  struct stat st;
  HRESULT status = S_OK;
  if (::fstat(fd, &st) != 0) {
    status = StatusFromErrno(errno);
  } else if (S_ISDIR(st.st_mode)) {
    status = HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED);
  } else if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > max_size) {
    status = HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE);
  }
  if (FAILED(status)) {
    ::close(fd);
    return status;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    status = ReadWholeFile(path, buffered_, max_size);
    if (SUCCEEDED(status)) fd_ = kBuffered;
    return status;
  }
  fd_ = fd;
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
  return S_OK;
}

HRESULT FileReader::Read(std::size_t count, std::string& out, std::size_t* appended) {
  *appended = 0;
  if (fd_ == kBuffered) {
    const std::size_t start = static_cast<std::size_t>(position_);
    *appended = std::min(count, buffered_.size() - start);
    out.append(buffered_, start, *appended);
    position_ += *appended;
    return S_OK;
  }
  if (fd_ < 0) return HRESULT_FROM_WIN32(win32::ERROR_INVALID_HANDLE);
  const std::size_t old_size = out.size();
  out.resize(old_size + count);
  while (*appended < count) {
    const ssize_t n = ::read(fd_, out.data() + old_size + *appended, count - *appended);
    if (n < 0) {
      if (errno == EINTR) continue;
      const HRESULT status = StatusFromErrno(errno);
      out.resize(old_size);
      *appended = 0;
      return status;
    }
    if (n == 0) break;
    *appended += static_cast<std::size_t>(n);
  }
  out.resize(old_size + *appended);
  position_ += *appended;
  return S_OK;
}

HRESULT FileReader::Rewind() {
  if (fd_ < 0 && fd_ != kBuffered) return HRESULT_FROM_WIN32(win32::ERROR_INVALID_HANDLE);
  if (fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) != 0) return StatusFromErrno(errno);
  position_ = 0;
  return S_OK;
}

}  // namespace velmora::files
