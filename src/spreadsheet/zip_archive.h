// Reading the parts of a zip package (.xlsx, .xlsm, .xlsb) from a file or
// a buffer, through minizip, within the limits of WorkbookLimits: a part
// that inflates beyond its size or ratio limit (a zip bomb) stops the read
// with a message, as do damaged, encrypted and unsupported entries.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "spreadsheet/workbook_limits.h"

namespace velmora::spreadsheet {

class ZipArchive {
 public:
  explicit ZipArchive(const WorkbookLimits& limits);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Opens the package and lists its entries. False with a message in
  // `error` when it is no zip package or its directory is damaged.
  bool OpenFile(const std::filesystem::path& file, std::string* error);
  // The same over `bytes`, which must outlive the archive.
  bool OpenBytes(std::string_view bytes, std::string* error);

  // Whether the package holds the part (names compare ignoring ASCII case,
  // as part names do; no leading slash).
  bool Has(std::string_view name) const;

  // Inflates the part and hands its bytes to `sink` piece by piece; a sink
  // that returns false stops the read (the sink keeps its own message).
  // False with a message for a missing or damaged part or a limit reached.
  bool Read(std::string_view name, const std::function<bool(std::string_view)>& sink,
            std::string* error);
  // The whole part in `out`.
  bool ReadAll(std::string_view name, std::string* out, std::string* error);

 private:
  struct Entry;
  struct Memory;
  bool List(std::string* error);

  const WorkbookLimits& limits_;
  void* zip_ = nullptr;  // unzFile
  std::unique_ptr<Memory> memory_;
  std::unordered_map<std::string, std::unique_ptr<Entry>> entries_;  // by lower-case name
  std::uint64_t total_ = 0;                                          // bytes inflated so far
};

}  // namespace velmora::spreadsheet
