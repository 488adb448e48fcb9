// The vCard conversion pipeline: a whole file or buffer to a target version
// and charset, card by card. A card already in the target version and
// charset is copied byte for byte; every other card is written anew. Cards
// the writer refuses are counted as errors and left out.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/status.h>

#include "foundation/char_converter.h"
#include "foundation/log.h"

namespace velmora::vcard {

class CCardConverter {
 public:
  // Called after each card converted or copied with the running counters;
  // returns false to stop the run.
  using Progress = std::function<bool(int converted, int copied, int errors)>;

  // `prodid_line` is the PRODID line written into 3.0 cards ("PRODID:..."),
  // empty for the library's own.
  CCardConverter(CLog& log, const CCharConverter& charsets, std::string prodid_line = {});
  ~CCardConverter();
  CCardConverter(const CCardConverter&) = delete;
  CCardConverter& operator=(const CCardConverter&) = delete;

  // Converts `source` into `destination`. Returns S_OK; S_FALSE when nothing
  // was written (no card converted or copied, a copy skipped, a stopped run,
  // a last card without END:VCARD); -1 for empty arguments; the load's or
  // the file system's failure status otherwise. A destination is replaced
  // through a temporary file, so a failure leaves its old content intact.
  // Source and destination that are one file (same device and inode) are
  // never written.
  HRESULT ConvertFile(const std::filesystem::path& source, int version, int code_page,
                      std::string_view iso_name, const std::filesystem::path& destination,
                      bool skip_file_copy, int* converted, int* copied, int* errors,
                      const Progress& progress = nullptr);

  // Converts a buffer. `text` receives the cards joined by "\r\n" and `list`
  // each card on its own (either may be null); `sources` (may be null), for
  // each card of `list`, the text it was made from, with its origin mark
  // (see CCardDocItem::ToStringWithOrigin). Returns S_OK when at least one
  // card was converted, S_FALSE when none was (copies do not count), -1 for
  // empty arguments, or the load's failure.
  HRESULT ConvertMemory(std::string_view source, int version, int code_page,
                        std::string_view iso_name, std::string* text,
                        std::vector<std::string>* list, int* converted, int* copied, int* errors,
                        const Progress& progress = nullptr,
                        std::vector<std::string>* sources = nullptr);

 private:
  class Run;

  CLog& log_;
  const CCharConverter& charsets_;
  std::string prodid_line_;
};

}  // namespace velmora::vcard
