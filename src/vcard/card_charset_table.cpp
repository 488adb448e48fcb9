#include "vcard/card_charset_table.h"

#include "vcard/card_keyword.h"

namespace velmora::vcard {
namespace {

// The numbers the look-ups' assertion lines carry.
enum CharsetAssertion : int {
  kEmptyCharset = 1,  // a charset name that is empty
  kNoCodePage = 2,    // a code page that is 0 or negative
};

constexpr char kLabel[] = "CCardDocItemProp.CodepageToFromCharset";

struct BuiltIn {
  const char* name;
  int code_page;
};

// ISO-8859-n is 28590 + n throughout, also where the platform has no such
// code page (a value in it then decodes to empty text).
constexpr BuiltIn kBuiltIn[] = {
    {"UTF-7", 65000},       {"UTF-8", 65001},       {"US-ASCII", 20127},    {"ISO-8859-1", 28591},
    {"ISO-8859-2", 28592},  {"ISO-8859-3", 28593},  {"ISO-8859-4", 28594},  {"ISO-8859-5", 28595},
    {"ISO-8859-6", 28596},  {"ISO-8859-7", 28597},  {"ISO-8859-8", 28598},  {"ISO-8859-9", 28599},
    {"ISO-8859-10", 28600}, {"ISO-8859-11", 28601}, {"ISO-8859-12", 28602}, {"ISO-8859-13", 28603},
    {"ISO-8859-14", 28604}, {"ISO-8859-15", 28605}, {"ISO-8859-16", 28606}, {"Windows-1250", 1250},
    {"Windows-1251", 1251}, {"Windows-1252", 1252}, {"Windows-1253", 1253}, {"Windows-1254", 1254},
    {"Windows-1255", 1255}, {"Windows-1256", 1256}, {"Windows-1257", 1257}, {"Windows-1258", 1258},
    {"Windows-874", 874},
};

}  // namespace

CCardCharsetTable::CCardCharsetTable(const CharsetPairs& extra) {
  rows_.reserve(std::size(kBuiltIn) + extra.size());
  for (const BuiltIn& row : kBuiltIn) rows_.emplace_back(row.name, row.code_page);
  for (const auto& pair : extra) {
    bool known = false;
    for (const auto& row : rows_) {
      if (row.second == pair.second) {
        known = true;
        break;
      }
    }
    if (!known) rows_.push_back(pair);
  }
}

int CCardCharsetTable::CodepageFromCharset(CLog& log, std::string_view charset) const {
  if (charset.empty()) {
    log.LogAssert(false, kLabel, kEmptyCharset);
    return -1;
  }
  for (const auto& row : rows_) {
    if (KeywordEquals(row.first, charset)) return row.second;
  }
  log.LogWarning(kLabel, E_GENERIC_FAILURE, "Unknown charset(\"%s\")", charset);
  return -1;
}

std::string CCardCharsetTable::CharsetFromCodepage(CLog& log, int code_page) const {
  if (code_page <= 0) {
    log.LogAssert(false, kLabel, kNoCodePage);
    return {};
  }
  for (const auto& row : rows_) {
    if (row.second == code_page) return row.first;
  }
  log.LogWarning(kLabel, E_GENERIC_FAILURE, "Unknown codepage(%d)", code_page);
  return {};
}

}  // namespace velmora::vcard
