// The charset table of a vCard document: CHARSET parameter values and the
// code pages they name. It starts with the 29 charsets every document knows
// (UTF-7, UTF-8, US-ASCII, ISO-8859-1..16, Windows-1250..1258, Windows-874)
// and goes on with the extra pairs of its owner, each only when its code page
// is new.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/log.h"

namespace velmora::vcard {

using CharsetPairs = std::vector<std::pair<std::string, int>>;

class CCardCharsetTable {
 public:
  explicit CCardCharsetTable(const CharsetPairs& extra = {});

  // The code page of the first row whose name matches without case; -1 when
  // none does. The empty name is an assertion failure.
  int CodepageFromCharset(CLog& log, std::string_view charset) const;
  // The name of the first row with this code page; empty when none has it.
  std::string CharsetFromCodepage(CLog& log, int code_page) const;

  const CharsetPairs& rows() const { return rows_; }

 private:
  CharsetPairs rows_;
};

}  // namespace velmora::vcard
