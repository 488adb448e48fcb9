#include "target_charset.h"

#include <charconv>
#include <vector>

#include <velmora/encodings.h>
#include <velmora/unicode.h>

#include "converter_session.h"

namespace velmora::cli {
namespace {

std::vector<EncodingInfo> Encodings() {
  std::vector<EncodingInfo> list;
  // A partly bad list still gives its good entries.
  ListSupportedEncodings(SupportedEncodingsPath(), &list);
  return list;
}

bool SameWithoutCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

TargetCharset FromEntry(const EncodingInfo& entry, bool with_name) {
  TargetCharset charset;
  if (entry.system_locale) {
    charset.code_page = 0;
    charset.label = "system";
    return charset;
  }
  charset.code_page = entry.code_page;
  charset.label = Utf16ToUtf8(entry.charset);
  if (with_name) charset.iso_name = Variant(entry.charset);
  return charset;
}

}  // namespace

TargetCharset DefaultCharset() {
  TargetCharset charset;
  charset.label = "utf-8";
  return charset;
}

bool FindCharsetByName(std::string_view name, TargetCharset* charset) {
  const std::vector<EncodingInfo> list = Encodings();
  for (const EncodingInfo& entry : list) {
    if ((!entry.charset.empty() && SameWithoutCase(Utf16ToUtf8(entry.charset), name)) ||
        SameWithoutCase(Utf16ToUtf8(entry.display_name), name)) {
      *charset = FromEntry(entry, true);
      return true;
    }
  }
  // The usual aliases: "latin1", "cp1252", "utf8".
  for (const EncodingInfo& entry : list) {
    if (!entry.charset.empty() && SameCharset(Utf16ToUtf8(entry.charset), std::string(name))) {
      *charset = FromEntry(entry, true);
      return true;
    }
  }
  return false;
}

bool FindCharsetByCodePage(int code_page, TargetCharset* charset) {
  for (const EncodingInfo& entry : Encodings()) {
    if ((code_page == 0 && entry.system_locale) ||
        (!entry.system_locale && entry.code_page == code_page)) {
      *charset = FromEntry(entry, false);
      return true;
    }
  }
  return false;
}

bool FindCsvEncoding(std::string_view text, CsvEncoding* encoding) {
  if (SameWithoutCase(text, "utf-8") || SameWithoutCase(text, "utf8") || text == "65001") {
    *encoding = CsvEncoding();
    return true;
  }
  if (SameWithoutCase(text, "utf-16") || SameWithoutCase(text, "utf-16le")) {
    *encoding = {vlmcetUTF16, 1200, "utf-16"};
    return true;
  }
  if (SameWithoutCase(text, "utf-16be")) {
    *encoding = {vlmcetUTF16BE, 1201, "utf-16be"};
    return true;
  }
  TargetCharset charset;
  int code_page = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code_page);
  const bool number = error == std::errc() && end == text.data() + text.size() && !text.empty();
  if (number ? !FindCharsetByCodePage(code_page, &charset) : !FindCharsetByName(text, &charset)) {
    return false;
  }
  *encoding = {vlmcetMultibyte, charset.code_page, charset.label};
  return true;
}

}  // namespace velmora::cli
