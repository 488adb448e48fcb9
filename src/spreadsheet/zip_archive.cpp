#include "spreadsheet/zip_archive.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <minizip/unzip.h>

#include "foundation/text_format.h"

namespace velmora::spreadsheet {
namespace {

std::string PartKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  const std::size_t start = key.find_first_not_of('/');
  return start == std::string::npos ? std::string() : key.substr(start);
}

unzFile Zip(void* zip) { return static_cast<unzFile>(zip); }

}  // namespace

struct ZipArchive::Entry {
  std::string name;
  unz64_file_pos pos{};
  std::uint64_t compressed = 0;
  std::uint64_t uncompressed = 0;
  unsigned long flag = 0;
  unsigned long method = 0;
};

// A buffer read through minizip's file functions.
struct ZipArchive::Memory {
  std::string_view bytes;
  std::uint64_t pos = 0;
  zlib_filefunc64_def functions{};

  static voidpf Open(voidpf opaque, const void*, int) { return opaque; }
  static uLong ReadFn(voidpf opaque, voidpf, void* buf, uLong size) {
    auto* m = static_cast<Memory*>(opaque);
    if (m->pos >= m->bytes.size()) return 0;
    const uLong n = static_cast<uLong>(std::min<std::uint64_t>(size, m->bytes.size() - m->pos));
    std::memcpy(buf, m->bytes.data() + m->pos, n);
    m->pos += n;
    return n;
  }
  static uLong WriteFn(voidpf, voidpf, const void*, uLong) { return 0; }
  static ZPOS64_T Tell(voidpf opaque, voidpf) { return static_cast<Memory*>(opaque)->pos; }
  static long Seek(voidpf opaque, voidpf, ZPOS64_T offset, int origin) {
    auto* m = static_cast<Memory*>(opaque);
    std::uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = m->pos;
    if (origin == ZLIB_FILEFUNC_SEEK_END) base = m->bytes.size();
    if (offset > m->bytes.size() || base > m->bytes.size() - offset) return -1;
    m->pos = base + offset;
    return 0;
  }
  static int Close(voidpf, voidpf) { return 0; }
  static int Error(voidpf, voidpf) { return 0; }

  explicit Memory(std::string_view b) : bytes(b) {
    functions.zopen64_file = Open;
    functions.zread_file = ReadFn;
    functions.zwrite_file = WriteFn;
    functions.ztell64_file = Tell;
    functions.zseek64_file = Seek;
    functions.zclose_file = Close;
    functions.zerror_file = Error;
    functions.opaque = this;
  }
};

ZipArchive::ZipArchive(const WorkbookLimits& limits) : limits_(limits) {}

ZipArchive::~ZipArchive() {
  if (zip_ != nullptr) unzClose(Zip(zip_));
}

bool ZipArchive::OpenFile(const std::filesystem::path& file, std::string* error) {
  zip_ = unzOpen64(file.c_str());
  if (zip_ == nullptr) {
    *error = "not a zip package (or it cannot be read)";
    return false;
  }
  return List(error);
}

bool ZipArchive::OpenBytes(std::string_view bytes, std::string* error) {
  memory_ = std::make_unique<Memory>(bytes);
  zip_ = unzOpen2_64("memory", &memory_->functions);
  if (zip_ == nullptr) {
    *error = "not a zip package";
    return false;
  }
  return List(error);
}

bool ZipArchive::List(std::string* error) {
  std::vector<char> name(65536);
  int status = unzGoToFirstFile(Zip(zip_));
  while (status == UNZ_OK) {
    if (entries_.size() >= limits_.max_zip_entries) {
      *error = FormatUtf8("zip package has more than %u entries", limits_.max_zip_entries);
      return false;
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(Zip(zip_), &info, name.data(), name.size(), nullptr, 0, nullptr,
                                0) != UNZ_OK) {
      *error = "damaged zip directory";
      return false;
    }
    auto entry = std::make_unique<Entry>();
    entry->name.assign(name.data(), std::min<std::size_t>(info.size_filename, name.size()));
    entry->compressed = info.compressed_size;
    entry->uncompressed = info.uncompressed_size;
    entry->flag = info.flag;
    entry->method = info.compression_method;
    if (unzGetFilePos64(Zip(zip_), &entry->pos) != UNZ_OK) {
      *error = "damaged zip directory";
      return false;
    }
    std::string key = PartKey(entry->name);
    // The first of two entries with one name wins, as in most readers.
    entries_.try_emplace(std::move(key), std::move(entry));
    status = unzGoToNextFile(Zip(zip_));
  }
  if (status != UNZ_END_OF_LIST_OF_FILE) {
    *error = "damaged zip directory";
    return false;
  }
  return true;
}

bool ZipArchive::Has(std::string_view name) const { return entries_.count(PartKey(name)) > 0; }

bool ZipArchive::Read(std::string_view name, const std::function<bool(std::string_view)>& sink,
                      std::string* error) {
  const auto found = entries_.find(PartKey(name));
  if (found == entries_.end()) {
    *error = FormatUtf8("missing part %s", std::string(name));
    return false;
  }
  Entry& entry = *found->second;
  if ((entry.flag & 1) != 0) {
    *error = FormatUtf8("part %s is encrypted", entry.name);
    return false;
  }
  if (entry.method != 0 && entry.method != Z_DEFLATED) {
    *error = FormatUtf8("part %s uses compression method %u, which is not supported", entry.name,
                        static_cast<unsigned>(entry.method));
    return false;
  }
  if (entry.uncompressed > limits_.max_part_bytes) {
    *error = FormatUtf8("part %s is larger than %llu bytes", entry.name,
                        static_cast<unsigned long long>(limits_.max_part_bytes));
    return false;
  }
  if (unzGoToFilePos64(Zip(zip_), &entry.pos) != UNZ_OK ||
      unzOpenCurrentFile(Zip(zip_)) != UNZ_OK) {
    *error = FormatUtf8("damaged zip entry %s", entry.name);
    return false;
  }
  std::vector<char> buffer(1 << 16);
  std::uint64_t produced = 0;
  const std::uint64_t compressed = std::max<std::uint64_t>(entry.compressed, 1);
  for (;;) {
    const int n =
        unzReadCurrentFile(Zip(zip_), buffer.data(), static_cast<unsigned>(buffer.size()));
    if (n == 0) break;
    const char* problem = nullptr;
    if (n < 0) {
      problem = "damaged zip entry %s";
    } else {
      produced += static_cast<std::uint64_t>(n);
      total_ += static_cast<std::uint64_t>(n);
      if (produced > limits_.max_part_bytes) {
        problem = "part %s inflates beyond the size limit";
      } else if (total_ > limits_.max_total_bytes) {
        problem = "the package inflates beyond the size limit at part %s";
      } else if (produced > limits_.ratio_free_bytes && produced / compressed > limits_.max_ratio) {
        problem = "part %s inflates beyond the compression ratio limit (a zip bomb?)";
      }
    }
    if (problem != nullptr) {
      unzCloseCurrentFile(Zip(zip_));
      *error = FormatUtf8(problem, entry.name);
      return false;
    }
    if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) {
      unzCloseCurrentFile(Zip(zip_));
      return false;
    }
  }
  if (unzCloseCurrentFile(Zip(zip_)) != UNZ_OK) {
    *error = FormatUtf8("damaged zip entry %s (checksum)", entry.name);
    return false;
  }
  return true;
}

bool ZipArchive::ReadAll(std::string_view name, std::string* out, std::string* error) {
  out->clear();
  return Read(
      name,
      [out](std::string_view piece) {
        out->append(piece);
        return true;
      },
      error);
}

}  // namespace velmora::spreadsheet
