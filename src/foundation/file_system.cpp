#include "foundation/file_system.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/system_status.h"

namespace velmora::files {
namespace {

std::mutex& OverrideMutex() {
  static std::mutex m;
  return m;
}

std::filesystem::path& AppDataOverride() {
  static std::filesystem::path path;
  return path;
}

// Closes a descriptor on scope exit.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

HRESULT WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return StatusFromErrno(errno);
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return S_OK;
}

// Writes through `produce` into a temporary sibling of `path`, then renames
// it over `path`. On any failure the temporary file is removed and `path`
// keeps whatever it held before.
template <typename Producer>
HRESULT ReplaceAtomically(const std::filesystem::path& path, Producer produce,
                          FileStep* failed_step = nullptr) {
  if (failed_step != nullptr) *failed_step = FileStep::kNone;
  const std::filesystem::path temp = TemporarySibling(path);
  int raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (raw < 0) {
    if (failed_step != nullptr) *failed_step = FileStep::kCreate;
    return StatusFromErrno(errno, temp);
  }
  Fd fd(raw);
  HRESULT status = produce(fd.get());
  if (SUCCEEDED(status) && ::close(fd.release()) != 0) status = StatusFromErrno(errno);
  if (SUCCEEDED(status) && ::rename(temp.c_str(), path.c_str()) != 0) {
    status = StatusFromErrno(errno, path);
  }
  if (FAILED(status)) {
    ::unlink(temp.c_str());
    if (failed_step != nullptr) *failed_step = FileStep::kWrite;
  }
  return status;
}

}  // namespace

std::optional<std::filesystem::path> AppDataFolder() {
  {
    std::lock_guard lock(OverrideMutex());
    if (!AppDataOverride().empty()) return AppDataOverride();
  }
  if (const char* p = std::getenv("XDG_DATA_HOME"); p && *p == '/') return std::filesystem::path(p);
  if (const char* p = std::getenv("HOME"); p && *p == '/') {
    return std::filesystem::path(p) / ".local" / "share";
  }
  return std::nullopt;
}

void OverrideAppDataFolder(const std::filesystem::path& folder) {
  std::lock_guard lock(OverrideMutex());
  AppDataOverride() = folder;
}

const char* ReadFailureStep(HRESULT status) {
  if (status == HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE)) return "File.GetSize";
  if (status == HRESULT_FROM_WIN32(win32::ERROR_HANDLE_EOF)) return "File.Read";
  return "File.Create";
}

HRESULT ReadWholeFile(const std::filesystem::path& path, std::string& out, std::uint64_t max_size) {
  out.clear();
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return StatusFromErrno(errno, path);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return StatusFromErrno(errno);
  if (S_ISDIR(st.st_mode)) return HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED);
  if (S_ISREG(st.st_mode)) {
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (size > max_size) return HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE);
    out.resize(size);
    std::size_t done = 0;
    while (done < size) {
      ssize_t n = ::read(fd.get(), out.data() + done, size - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        HRESULT status = StatusFromErrno(errno);
        out.clear();
        return status;
      }
      if (n == 0) {
        out.clear();
        return kStatusShortRead;
      }
      done += static_cast<std::size_t>(n);
    }
    return S_OK;
  }
  // Pipes and devices: read until the end, still bounded by max_size.
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      HRESULT status = StatusFromErrno(errno);
      out.clear();
      return status;
    }
    if (n == 0) return S_OK;
    if (out.size() + static_cast<std::size_t>(n) > max_size) {
      out.clear();
      return HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE);
    }
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

HRESULT WriteFileReplacing(const std::filesystem::path& path, std::string_view data,
                           FileStep* failed_step) {
  return ReplaceAtomically(
      path, [&](int fd) { return WriteAll(fd, data); }, failed_step);
}

HRESULT CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return StatusFromErrno(errno, from);
  struct stat st;
  if (::fstat(in.get(), &st) != 0) return StatusFromErrno(errno);
  if (S_ISDIR(st.st_mode)) return HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED);
  return ReplaceAtomically(to, [&](int out) {
    char buffer[65536];
    for (;;) {
      ssize_t n = ::read(in.get(), buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        return StatusFromErrno(errno);
      }
      if (n == 0) return S_OK;
      HRESULT status = WriteAll(out, std::string_view(buffer, static_cast<std::size_t>(n)));
      if (FAILED(status)) return status;
    }
  });
}

HRESULT CreateFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return StatusFromErrorCode(ec);
  return std::filesystem::is_directory(folder, ec)
             ? S_OK
             : HRESULT_FROM_WIN32(win32::ERROR_ALREADY_EXISTS);
}

bool IsFolder(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::filesystem::path TemporarySibling(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 random{std::random_device{}()};
  for (;;) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%d-%u-%08x.tmp", static_cast<int>(::getpid()),
                  counter.fetch_add(1), static_cast<unsigned>(random()));
    std::filesystem::path candidate = path;
    candidate += suffix;
    std::error_code ec;
    if (!std::filesystem::exists(candidate, ec)) return candidate;
  }
}

}  // namespace velmora::files
