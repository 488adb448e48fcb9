// Indexes the supported encodings by code page, charset name and display
// name, for writing and reading CHARSET parameters. One per converter object.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "foundation/log.h"
#include "foundation/supported_encodings.h"

namespace velmora {

class CCharConverter {
 public:
  CCharConverter(CLog& log, const std::filesystem::path& encodings_file);

  const CSupportedEncodingsList& list() const { return list_; }

  // The charset name for a code page; empty for -1 or an unknown code page.
  std::u16string IsoNameByCodePage(int code_page) const;

  // Case-insensitive look-ups; null when there is no such entry.
  const SupportedEncoding* FindByCodePage(int code_page) const;
  const SupportedEncoding* FindByCharset(std::u16string_view charset) const;
  const SupportedEncoding* FindByDisplayName(std::u16string_view name) const;

  // (charset name in the ANSI code page, code page) of every entry with a
  // code page above 0, in list order; handed to vCard documents so they
  // recognise the product's charsets. Built anew on each call.
  std::vector<std::pair<std::string, int>> DocumentCharsetPairs() const;

 private:
  CLog& log_;
  CSupportedEncodingsList list_;
  std::unordered_map<int, const SupportedEncoding*> by_code_page_;
  std::unordered_map<std::u16string, const SupportedEncoding*> by_charset_;
  std::unordered_map<std::u16string, const SupportedEncoding*> by_display_name_;
};

}  // namespace velmora
