#include "input_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli_common.h"
#include "interrupt.h"

namespace velmora::cli {

InputFile::~InputFile() { Remove(); }

InputFile::InputFile(InputFile&& other) noexcept
    : path_(std::move(other.path_)),
      name_(std::move(other.name_)),
      temporary_(other.temporary_),
      spool_fd_(other.spool_fd_) {
  other.temporary_ = false;
  other.spool_fd_ = -1;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::move(other.path_);
    name_ = std::move(other.name_);
    temporary_ = other.temporary_;
    spool_fd_ = other.spool_fd_;
    other.temporary_ = false;
    other.spool_fd_ = -1;
  }
  return *this;
}

void InputFile::Remove() {
  if (spool_fd_ >= 0) {
    close(spool_fd_);
  } else if (temporary_ && !path_.empty()) {
    unlink(path_.c_str());
  }
  spool_fd_ = -1;
  temporary_ = false;
}

InputFile::OpenResult InputFile::Open(const std::string& argument, std::string* error) {
  Remove();
  name_ = DisplayName(argument);
  if (argument != "-") {
    path_ = argument;
    // A missing or unreadable file is left to the library, which reports it
    // with its status; a folder it would only call access denied.
    struct stat info {};
    if (stat(argument.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      *error = "cannot read: is a folder";
      return OpenResult::kUnreadable;
    }
    return OpenResult::kOk;
  }

  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmora-stdin-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) {
    *error = std::string("cannot create a temporary file: ") + std::strerror(errno);
    return OpenResult::kUnreadable;
  }
  path_ = pattern;
  temporary_ = true;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (Interrupted()) {
      close(fd);
      return OpenResult::kCancelled;
    }
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      *error = std::string("cannot read: ") + std::strerror(errno);
      close(fd);
      return OpenResult::kUnreadable;
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = write(fd, buffer + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        *error = std::string("cannot store standard input: ") + std::strerror(errno);
        close(fd);
        return OpenResult::kUnreadable;
      }
      done += put;
    }
  }
  // Where /proc is there, the copy loses its name at once and is read
  // through the descriptor kept open.
  const std::string by_descriptor = "/proc/self/fd/" + std::to_string(fd);
  if (access(by_descriptor.c_str(), R_OK) == 0 && unlink(path_.c_str()) == 0) {
    path_ = by_descriptor;
    spool_fd_ = fd;
    return OpenResult::kOk;
  }
  close(fd);
  return OpenResult::kOk;
}

bool InputFile::IsBlank() const {
  const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char buffer[4096];
  bool blank = true;
  bool first = true;
  ssize_t got;
  while (blank && (got = read(fd, buffer, sizeof buffer)) > 0) {
    ssize_t i = 0;
    if (first && got >= 3 && buffer[0] == 0xEF && buffer[1] == 0xBB && buffer[2] == 0xBF) i = 3;
    if (first && got >= 2 &&
        ((buffer[0] == 0xFF && buffer[1] == 0xFE) || (buffer[0] == 0xFE && buffer[1] == 0xFF))) {
      i = 2;
    }
    first = false;
    for (; i < got; ++i) {
      const unsigned char c = buffer[i];
      // NUL bytes are the other half of UTF-16 white space.
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != 0) {
        blank = false;
        break;
      }
    }
  }
  close(fd);
  return blank;
}

bool InputFile::HasVCardBegin() const {
  const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string text(1 << 16, '\0');
  std::size_t size = 0;
  ssize_t got;
  while (size < text.size() && (got = read(fd, text.data() + size, text.size() - size)) > 0) {
    size += static_cast<std::size_t>(got);
  }
  close(fd);
  text.resize(size);
  std::erase(text, '\0');
  static constexpr std::string_view kBegin = "BEGIN:VCARD";
  for (std::size_t line = 0; line < text.size();) {
    std::size_t at = text.find_first_not_of(" \t\xEF\xBB\xBF\xFF\xFE", line);
    if (at == std::string::npos) break;
    if (text.size() - at >= kBegin.size()) {
      bool same = true;
      for (std::size_t i = 0; i < kBegin.size() && same; ++i) {
        const char c = text[at + i];
        same = (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) == kBegin[i];
      }
      if (same) return true;
    }
    line = text.find_first_of("\r\n", at);
    if (line == std::string::npos) break;
    ++line;
  }
  return false;
}

}  // namespace velmora::cli
