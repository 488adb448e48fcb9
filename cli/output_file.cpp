#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "interrupt.h"

namespace velmora::cli {
namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, std::string* error) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t put = write(fd, data + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      *error = std::strerror(put < 0 ? errno : EIO);
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

WriteResult WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                               std::string* error) {
  if (IsFolder(path)) {
    *error = "is a folder";
    return WriteResult::kFailed;
  }
  // The temporary file sits beside the target so that the rename stays on
  // one file system.
  std::string temporary = FolderOf(path) + "/.velmora-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    *error = std::strerror(errno);
    return WriteResult::kFailed;
  }
  // A replaced file keeps its permissions; a new one gets the usual ones.
  struct stat info {};
  mode_t mode;
  if (stat(path.c_str(), &info) == 0) {
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd, mode);

  bool ok = WriteAll(fd, bytes.data(), bytes.size(), error);
  if (ok && fsync(fd) != 0) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (close(fd) != 0 && ok) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (ok && Interrupted()) {
    unlink(temporary.c_str());
    return WriteResult::kCancelled;
  }
  if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (!ok) {
    unlink(temporary.c_str());
    return WriteResult::kFailed;
  }
  return WriteResult::kOk;
}

WriteResult WriteStdout(const std::vector<std::uint8_t>& bytes, std::string* error) {
  if (Interrupted()) return WriteResult::kCancelled;
  std::fflush(stdout);  // what was printed through stdio goes first
  return WriteAll(STDOUT_FILENO, bytes.data(), bytes.size(), error) ? WriteResult::kOk
                                                                    : WriteResult::kFailed;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace velmora::cli
