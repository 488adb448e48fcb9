#include "foundation/char_converter.h"

#include "foundation/code_page.h"
#include "foundation/text_util.h"

namespace velmora {

CCharConverter::CCharConverter(CLog& log, const std::filesystem::path& encodings_file)
    : log_(log), list_(log, encodings_file) {
  for (const SupportedEncoding& e : list_.entries()) {
    by_code_page_.emplace(e.code_page, &e);
    by_charset_.emplace(text::ToLower(e.charset), &e);
    by_display_name_.emplace(text::ToLower(e.display_name), &e);
  }
}

std::u16string CCharConverter::IsoNameByCodePage(int code_page) const {
  if (code_page == -1) return {};
  const SupportedEncoding* e = FindByCodePage(code_page);
  return e ? e->charset : std::u16string();
}

const SupportedEncoding* CCharConverter::FindByCodePage(int code_page) const {
  auto it = by_code_page_.find(code_page);
  return it == by_code_page_.end() ? nullptr : it->second;
}

const SupportedEncoding* CCharConverter::FindByCharset(std::u16string_view charset) const {
  auto it = by_charset_.find(text::ToLower(charset));
  return it == by_charset_.end() ? nullptr : it->second;
}

const SupportedEncoding* CCharConverter::FindByDisplayName(std::u16string_view name) const {
  auto it = by_display_name_.find(text::ToLower(name));
  return it == by_display_name_.end() ? nullptr : it->second;
}

std::vector<std::pair<std::string, int>> CCharConverter::DocumentCharsetPairs() const {
  std::vector<std::pair<std::string, int>> pairs;
  for (const SupportedEncoding& e : list_.entries()) {
    if (e.code_page > 0) {
      pairs.emplace_back(codepage::FromUtf16(codepage::kAnsi, e.charset), e.code_page);
    }
  }
  return pairs;
}

}  // namespace velmora
