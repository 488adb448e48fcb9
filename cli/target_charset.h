// The charset a converted file is written in, chosen by --charset NAME or
// --codepage N from the supported encodings.
#pragma once

#include <string>
#include <string_view>

#include <velmora/enums.h>
#include <velmora/variant.h>

namespace velmora::cli {

struct TargetCharset {
  int code_page = 65001;  // 0: the system's ANSI code page
  Variant iso_name;       // missing: the library takes the list's name
  std::string label;      // for messages and JSON: "utf-8", "windows-1252"
};

// UTF-8, the default.
TargetCharset DefaultCharset();

// Finds NAME among the charset names and display names (without case).
// False when it is not in the list.
bool FindCharsetByName(std::string_view name, TargetCharset* charset);
// Finds code page N (0 is the system locale). False when it is not listed.
bool FindCharsetByCodePage(int code_page, TargetCharset* charset);

// The encoding of a CSV file: UTF-16 in either byte order, or a code page.
struct CsvEncoding {
  ECsvEncodingType type = vlmcetMultibyte;
  int code_page = 65001;  // 1200 and 1201 for UTF-16
  std::string label = "utf-8";
};

// "utf-8", "utf-16" (little-endian), "utf-16be", a charset name or display
// name, or a code page number. False when it is none of them.
bool FindCsvEncoding(std::string_view text, CsvEncoding* encoding);

}  // namespace velmora::cli
