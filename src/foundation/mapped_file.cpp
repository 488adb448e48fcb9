#include "foundation/mapped_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/system_status.h"

namespace velmora::files {

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
  if (mapping_ != nullptr) ::munmap(mapping_, mapping_size_);
  mapping_ = nullptr;
  mapping_size_ = 0;
  bytes_ = {};
  std::string().swap(read_);
}

HRESULT MappedFile::Open(const std::filesystem::path& path, std::uint64_t max_size) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return StatusFromErrno(errno, path);
  struct stat st;
  HRESULT status = S_OK;
  if (::fstat(fd, &st) != 0) {
    status = StatusFromErrno(errno);
  } else if (S_ISDIR(st.st_mode)) {
    status = HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED);
  } else if (S_ISREG(st.st_mode)) {
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (size > max_size) {
      status = HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE);
    } else if (size > 0) {
      void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
      if (mapping == MAP_FAILED) {
        status = StatusFromErrno(errno);
      } else {
        // Readers go front to back: let the kernel read ahead.
        ::madvise(mapping, size, MADV_SEQUENTIAL);
        mapping_ = mapping;
        mapping_size_ = static_cast<std::size_t>(size);
        bytes_ = std::string_view(static_cast<const char*>(mapping), mapping_size_);
      }
    }
  }
  ::close(fd);
  if (FAILED(status) || mapping_ != nullptr || S_ISREG(st.st_mode)) return status;
  // Not mappable: read it all, bounded the same way.
  status = ReadWholeFile(path, read_, max_size);
  if (SUCCEEDED(status)) bytes_ = read_;
  return status;
}

}  // namespace velmora::files
