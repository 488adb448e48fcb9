#include "foundation/supported_encodings.h"

#include <cstdlib>

#include "foundation/code_page.h"
#include "foundation/file_system.h"
#include "foundation/text_util.h"

namespace velmora {
namespace {

constexpr char kLabel[] = "CSupportedEncodingsList::CSupportedEncodingsList";

bool IsHidden(std::u16string_view visibility) {
  for (std::u16string_view word : {u"h", u"hidden", u"false", u"no", u"0"}) {
    if (text::EqualsNoCase(visibility, word)) return true;
  }
  return false;
}

// A decimal number with optional leading white space and sign, as atoi reads
// it: text without a leading number gives 0.
int ReadCodePage(std::u16string_view field) {
  std::string ascii;
  for (char16_t c : field) {
    if (c >= 0x80) break;
    ascii.push_back(static_cast<char>(c));
  }
  return std::atoi(ascii.c_str());
}

}  // namespace

CSupportedEncodingsList::CSupportedEncodingsList(CLog& log, const std::filesystem::path& file)
    : log_(log) {
  entries_.push_back({u"UTF-8", u"utf-8", codepage::kUtf8, false, true});
  entries_.push_back({u"<System Locale>", u"", -1, true, true});
  load_result_ = Load(file);
  if (load_result_ != S_OK) {
    log_.LogError(kLabel, load_result_, "FAILED LoadSupportedEncodings( \"%s\" )", file.string());
  }
}

HRESULT CSupportedEncodingsList::Load(const std::filesystem::path& file) {
  if (file.empty()) return HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND);
  std::string content;
  HRESULT status = files::ReadWholeFile(file, content, 16u << 20);
  if (FAILED(status)) return status;

  int bad_lines = 0;
  std::size_t pos = 0;
  std::u16string line;
  while (pos < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", pos);
    std::string_view raw(content.data() + pos,
                         (end == std::string::npos ? content.size() : end) - pos);
    if (raw.empty()) break;  // only the very first line can be empty
    codepage::ToUtf16(codepage::kAnsi, raw, line);
    ParseLine(line, &bad_lines);
    pos = end == std::string::npos ? content.size() : content.find_first_not_of("\r\n", end);
    if (pos == std::string::npos) break;
  }
  return bad_lines > 0 ? bad_lines : S_OK;
}

void CSupportedEncodingsList::ParseLine(std::u16string_view line, int* bad_lines) {
  std::u16string_view fields[4];
  int count = 0;
  std::size_t pos = 0;
  while (pos <= line.size() && count < 4) {
    std::size_t bar = line.find(u'|', pos);
    std::u16string_view field =
        text::Trim(line.substr(pos, bar == std::u16string_view::npos ? bar : bar - pos));
    if (!field.empty()) fields[count++] = field;
    if (bar == std::u16string_view::npos) break;
    pos = bar + 1;
  }
  const int code_page = count >= 3 ? ReadCodePage(fields[2]) : 0;
  if (count < 3 || code_page == 0) {
    ++*bad_lines;
    return;
  }
  for (const SupportedEncoding& e : entries_) {
    if (e.code_page == code_page) return;
  }
  entries_.push_back({std::u16string(fields[0]), std::u16string(fields[1]), code_page, false,
                      count < 4 || !IsHidden(fields[3])});
}

}  // namespace velmora
