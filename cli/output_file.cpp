#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

}  // namespace

StreamedOutput::~StreamedOutput() { Discard(); }

bool StreamedOutput::Open(const std::string& path, std::string* error) {
  Discard();
  path_ = path;
  size_ = 0;
  last_byte_ = 0;
  const bool to_stdout = path == "-";
  if (!to_stdout && IsFolder(path)) {
    *error = "is a folder";
    return false;
  }
  // Beside the target, so that the rename stays on one file system.
  std::string temporary = (to_stdout ? TemporaryFolder() : FolderOf(path)) + "/.velmora-XXXXXX";
  fd_ = mkstemp(temporary.data());
  if (fd_ < 0) {
    *error = std::strerror(errno);
    return false;
  }
  if (to_stdout) {
    unlink(temporary.c_str());  // nothing is left behind however the process ends
    return true;
  }
  temporary_ = std::move(temporary);
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
  fchmod(fd_, mode);
  return true;
}

bool StreamedOutput::Write(const std::uint8_t* data, std::size_t size, std::string* error) {
  if (size == 0) return true;
  if (!WriteAll(fd_, data, size, error)) return false;
  size_ += size;
  last_byte_ = data[size - 1];
  return true;
}

WriteResult StreamedOutput::Commit(std::string* error) {
  bool ok = true;
  if (temporary_.empty()) {
    // Standard output: the copy goes out in one piece once it is complete.
    if (Interrupted()) {
      Discard();
      return WriteResult::kCancelled;
    }
    std::fflush(stdout);  // what was printed through stdio goes first
    std::vector<std::uint8_t> chunk(1u << 20);
    ok = lseek(fd_, 0, SEEK_SET) == 0;
    if (!ok) *error = std::strerror(errno);
    while (ok) {
      const ssize_t got = read(fd_, chunk.data(), chunk.size());
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) *error = std::strerror(errno);
      if (got <= 0) {
        ok = got == 0;
        break;
      }
      ok = WriteAll(STDOUT_FILENO, chunk.data(), static_cast<std::size_t>(got), error);
    }
    Discard();
    return ok ? WriteResult::kOk : WriteResult::kFailed;
  }
  if (fsync(fd_) != 0) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (close(fd_) != 0 && ok) {
    *error = std::strerror(errno);
    ok = false;
  }
  fd_ = -1;
  if (ok && Interrupted()) {
    Discard();
    return WriteResult::kCancelled;
  }
  if (ok && rename(temporary_.c_str(), path_.c_str()) != 0) {
    *error = std::strerror(errno);
    ok = false;
  }
  if (!ok) {
    Discard();
    return WriteResult::kFailed;
  }
  temporary_.clear();
  return WriteResult::kOk;
}

void StreamedOutput::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

WriteResult WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                               std::string* error) {
  StreamedOutput output;
  if (!output.Open(path, error) || !output.Write(bytes.data(), bytes.size(), error)) {
    return WriteResult::kFailed;
  }
  return output.Commit(error);
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
