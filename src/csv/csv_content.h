// One CSV text: the bytes of a file or a caller's buffer, decoded to UTF-16.
//
// The encoding is recognised from a byte-order mark, from UTF-16 without a
// mark, or from well-formed UTF-8; anything else is decoded with the code
// page the caller names, and then the raw bytes are kept so that the caller
// can choose another code page later (SetCodepage). Zero bytes or units in
// the content become spaces and are reported once as binary content.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <velmora/status.h>

#include "csv/csv_encoding.h"
#include "foundation/log.h"

namespace velmora::csv {

class CCsvContent {
 public:
  // The largest content accepted, in bytes: lengths are 32-bit numbers
  // inside the system and the text never has more units than bytes.
  static constexpr std::uint64_t kMaxContentLength = 0x7FFFFFFD;

  explicit CCsvContent(CLog& log);
  CCsvContent(const CCsvContent&) = delete;
  CCsvContent& operator=(const CCsvContent&) = delete;

  // Reads and decodes a whole file. S_OK; S_NO_CONTENT for an empty file
  // (the text is then empty); the file's failure status, logged under
  // "CCsvContent.LoadFromFile" with the failing step, when it cannot be
  // read (a file above kMaxContentLength gives ERROR_FILE_TOO_LARGE);
  // E_INVALIDARG, logged, for a code page the platform does not know. A
  // `default_code_page` below 1 means the system's ANSI code page. On any
  // failure the content is left empty.
  HRESULT LoadFromFile(const std::filesystem::path& path, int default_code_page);

  // Copies and decodes `length` bytes; the caller's buffer is not touched.
  // E_INVALIDARG (logged as an assertion) for a null buffer or a length
  // below 1, and (logged) for an unknown code page.
  HRESULT LoadFromMemory(const std::uint8_t* bytes, std::int32_t length, int default_code_page);

  // Decodes the first bytes of a longer content, for reading its first rows
  // without decoding the rest. Unless `whole` says that `prefix` is all of
  // it, the prefix is cut back to the end of its last line (the text stays
  // empty when it has none) and IsPartial() is true. `guess` is the
  // encoding judged over the whole content, so the verdict does not depend
  // on where the prefix ends. S_OK, or E_INVALIDARG (logged) for an unknown
  // code page.
  HRESULT LoadPrefix(std::string_view prefix, bool whole, const CsvEncodingGuess& guess,
                     int default_code_page);
  bool IsPartial() const { return partial_; }

  // Decodes the kept raw bytes again with `code_page` (below 1: the ANSI
  // code page). True when the text now reflects it; false when there are
  // no raw bytes (the encoding was recognised, so the code page is fixed)
  // and, with an error logged, for a code page the platform does not know
  // (the text is then left as it was).
  bool SetCodepage(int code_page);

  const std::u16string& text() const { return text_; }
  std::int32_t TextLength() const { return static_cast<std::int32_t>(text_.size()); }
  // The code page the text was decoded with.
  int Codepage() const { return codepage_; }
  // 65001, 1200 or 1201 when the encoding was recognised, else 0.
  int CodepageDetected() const { return codepage_detected_; }
  bool HasRawBytes() const { return !raw_bytes_.empty(); }

 private:
  void Clear();
  // Checks and settles the caller's code page: 0 when it is unknown.
  int ResolveCodepage(int code_page, const char* label) const;
  // Recognises, cleans and decodes `content`. `owned`, when given, holds
  // the same bytes and may be changed and taken over; without it the
  // caller's bytes are copied only when they must be changed or kept.
  void Decode(std::string_view content, const CsvEncodingGuess& guess, std::string* owned,
              int code_page);

  CLog& log_;
  std::string raw_bytes_;
  int codepage_ = 0;
  int codepage_detected_ = 0;
  bool partial_ = false;
  std::u16string text_;
};

}  // namespace velmora::csv
