// The list of encodings the product offers: two built-in entries (UTF-8 and
// the system locale) followed by the entries of supportedEncodings.txt.
//
// File grammar (8-bit text in the ANSI code page): lines split at any run of
// CR/LF; fields split at "|", trimmed, empty fields dropped (so they shift the
// later ones): display name | charset name | code page | visibility. A line
// without one of the first three fields, or whose code page is not a number,
// is bad (counted and skipped); a code page already listed is skipped quietly.
// Visibility "h", "hidden", "false", "no" or "0" hides the entry.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <velmora/status.h>

#include "foundation/log.h"

namespace velmora {

struct SupportedEncoding {
  std::u16string display_name;
  std::u16string charset;  // empty for the system locale
  int code_page = 0;       // -1 for the system locale
  bool system_locale = false;
  bool visible = true;
};

class CSupportedEncodingsList {
 public:
  CSupportedEncodingsList(CLog& log, const std::filesystem::path& file);

  // 0 when the file was read without bad lines; the file's status when it
  // could not be read; otherwise the number of bad lines.
  HRESULT load_result() const { return load_result_; }
  const std::vector<SupportedEncoding>& entries() const { return entries_; }

 private:
  HRESULT Load(const std::filesystem::path& file);
  void ParseLine(std::u16string_view line, int* bad_lines);

  CLog& log_;
  std::vector<SupportedEncoding> entries_;
  HRESULT load_result_ = S_OK;
};

}  // namespace velmora
