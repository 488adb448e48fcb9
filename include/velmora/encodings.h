// The encodings Velmora offers for writing vCard and CSV, as listed in
// supportedEncodings.txt (one of the data files, see DataDirectory).
#pragma once

#include <string>
#include <vector>

#include <velmora/export.h>
#include <velmora/status.h>

namespace velmora {

struct EncodingInfo {
  std::u16string display_name;  // "Cyrillic (Windows)"
  std::u16string charset;       // "windows-1251"; empty for the system locale
  int code_page = 0;            // 1251; -1 for the system locale
  bool visible = true;          // whether to offer it to users
  bool system_locale = false;   // the built-in "<System Locale>" entry
};

// Reads the encodings list from `path` (empty: the one in DataDirectory()).
// The two built-in entries (UTF-8 and the system locale) always come first.
// Returns S_OK, the file's status when it could not be read, or the number of
// bad lines; `out` holds every entry that could be read in every case.
// E_POINTER when `out` is null.
VELMORA_API HRESULT ListSupportedEncodings(const std::string& path, std::vector<EncodingInfo>* out);

// True when two charset names name one charset by the usual aliases
// ("latin1" and "ISO-8859-1", "cp1252" and "windows-1252", "utf8" and
// "UTF-8"), case and punctuation aside. False when either is unknown.
VELMORA_API bool SameCharset(const std::string& a, const std::string& b);

// The folder that holds libvelmora.so.
VELMORA_API std::string LibraryDirectory();

// The folder that holds the data files supportedEncodings.txt and
// supportedOutlookHeaders.csv: beside libvelmora.so in a build tree,
// <prefix>/share/velmora once installed.
VELMORA_API std::string DataDirectory();

}  // namespace velmora
