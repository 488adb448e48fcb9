#include "csv/csv_content.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "foundation/code_page.h"
#include "foundation/file_system.h"
#include "foundation/system_settings.h"

namespace velmora::csv {
namespace {

// The numbers LoadFromMemory's assertion lines carry.
enum MemoryAssertion : int {
  kNoBytes = 1,   // no bytes given
  kNoLength = 2,  // a length below 1
};

constexpr char kFileLabel[] = "CCsvContent.LoadFromFile";
constexpr char kMemoryLabel[] = "CCsvContent.LoadFromMemory";
constexpr char kSetCodepageLabel[] = "CCsvContent.SetCodepage";

// Replaces zero code units by spaces in place and returns how many there
// were. For UTF-16 a unit is two bytes and the space is written in the
// content's own byte order.
std::int64_t NeutraliseZeros(std::string& content, std::size_t from, int unit_bytes,
                             bool big_endian) {
  std::int64_t count = 0;
  if (unit_bytes == 1) {
    for (std::size_t i = from; i < content.size(); ++i) {
      if (content[i] == '\0') {
        content[i] = ' ';
        ++count;
      }
    }
    return count;
  }
  for (std::size_t i = from; i + 1 < content.size(); i += 2) {
    if (content[i] == '\0' && content[i + 1] == '\0') {
      content[big_endian ? i + 1 : i] = ' ';
      ++count;
    }
  }
  return count;
}

// Whether `content` holds a zero code unit from `from` on; the common case
// (none) is answered by one memchr, without touching the content.
bool HasZeroUnit(std::string_view content, std::size_t from, int unit_bytes) {
  if (from >= content.size()) return false;
  if (unit_bytes == 1) return std::memchr(content.data() + from, 0, content.size() - from);
  for (std::size_t i = from; i + 1 < content.size(); i += 2) {
    if (content[i] == '\0' && content[i + 1] == '\0') return true;
  }
  return false;
}

std::u16string Utf16FromBytes(std::string_view bytes, bool big_endian) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned first = static_cast<unsigned char>(bytes[2 * i]);
    const unsigned second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(big_endian ? (first << 8 | second) : (second << 8 | first));
  }
  return text;
}

// The length of the longest beginning of `content` that ends with a line
// feed: a whole line of 8-bit text or of UTF-16 units in the given byte
// order (after a mark of `mark_length` bytes); 0 when there is none. A line
// feed byte is never part of another character in the code pages CSV files
// use.
std::size_t LineCut(std::string_view content, std::size_t mark_length, int unit_bytes,
                    bool big_endian) {
  const std::size_t limit = content.size();
  if (unit_bytes == 1) {
    const std::size_t lf = content.rfind('\n');
    return lf == std::string_view::npos ? 0 : lf + 1;
  }
  if (limit < mark_length + 2) return 0;
  for (std::size_t end = mark_length + (limit - mark_length) / 2 * 2; end >= mark_length + 2;
       end -= 2) {
    const char low = content[end - (big_endian ? 1 : 2)];
    const char high = content[end - (big_endian ? 2 : 1)];
    if (low == '\n' && high == '\0') return end;
  }
  return 0;
}

}  // namespace

CCsvContent::CCsvContent(CLog& log) : log_(log) {}

void CCsvContent::Clear() {
  std::string().swap(raw_bytes_);
  std::u16string().swap(text_);
  codepage_ = 0;
  codepage_detected_ = 0;
  partial_ = false;
}

int CCsvContent::ResolveCodepage(int code_page, const char* label) const {
  if (code_page < 1) code_page = settings::AnsiCodePage();
  if (!codepage::IsKnown(code_page)) {
    log_.LogError(label, E_INVALIDARG, "Unknown code page(%d)", code_page);
    return 0;
  }
  return code_page;
}

HRESULT CCsvContent::LoadFromFile(const std::filesystem::path& path, int default_code_page) {
  Clear();
  const int code_page = ResolveCodepage(default_code_page, kFileLabel);
  if (code_page == 0) return E_INVALIDARG;
  std::string content;
  const HRESULT status = files::ReadWholeFile(path, content, kMaxContentLength);
  if (FAILED(status)) {
    log_.LogError(kFileLabel, status, files::ReadFailureStep(status));
    return status;
  }
  if (content.empty()) return S_NO_CONTENT;
  Decode(content, DetectCsvEncoding(content), &content, code_page);
  return S_OK;
}

HRESULT CCsvContent::LoadFromMemory(const std::uint8_t* bytes, std::int32_t length,
                                    int default_code_page) {
  Clear();
  if (bytes == nullptr || length < 1) {
    log_.LogAssert(false, kMemoryLabel, bytes == nullptr ? kNoBytes : kNoLength);
    return E_INVALIDARG;
  }
  const int code_page = ResolveCodepage(default_code_page, kMemoryLabel);
  if (code_page == 0) return E_INVALIDARG;
  const std::string_view content(reinterpret_cast<const char*>(bytes),
                                 static_cast<std::size_t>(length));
  Decode(content, DetectCsvEncoding(content), nullptr, code_page);
  return S_OK;
}

HRESULT CCsvContent::LoadPrefix(std::string_view prefix, bool whole, const CsvEncodingGuess& guess,
                                int default_code_page) {
  Clear();
  const int code_page = ResolveCodepage(default_code_page, kFileLabel);
  if (code_page == 0) return E_INVALIDARG;
  std::size_t cut = prefix.size();
  if (!whole) {
    const bool utf16 =
        guess.code_page == codepage::kUtf16LE || guess.code_page == codepage::kUtf16BE;
    cut = LineCut(prefix, guess.mark_length, utf16 ? 2 : 1, guess.code_page == codepage::kUtf16BE);
    partial_ = true;
  }
  if (cut > 0) Decode(prefix.substr(0, cut), guess, nullptr, code_page);
  return S_OK;
}

void CCsvContent::Decode(std::string_view content, const CsvEncodingGuess& guess,
                         std::string* owned, int code_page) {
  const bool utf16 = guess.code_page == codepage::kUtf16LE || guess.code_page == codepage::kUtf16BE;
  const bool big_endian = guess.code_page == codepage::kUtf16BE;

  std::string copy;
  if (HasZeroUnit(content, guess.mark_length, utf16 ? 2 : 1)) {
    // Only content with zeros is copied (when the caller's) and changed.
    if (owned == nullptr) {
      copy.assign(content);
      owned = &copy;
    }
    const std::int64_t zeros =
        NeutraliseZeros(*owned, guess.mark_length, utf16 ? 2 : 1, big_endian);
    content = *owned;
    // The message names the file loader whichever load it was: callers
    // search the log for it.
    log_.LogError(kFileLabel, E_GENERIC_FAILURE,
                  "Content contains unencoded binary data(%d bad symbols)! It cannot be "
                  "imported correctly.",
                  zeros);
  }

  const std::string_view body = content.substr(guess.mark_length);
  if (utf16) {
    if (body.size() % 2 != 0) {
      // Half a code unit has no meaning; dropping it keeps every whole
      // character intact.
      log_.LogWarning(kFileLabel, E_GENERIC_FAILURE,
                      "UTF-16 content has an odd byte count(%d): the last byte is ignored",
                      body.size());
    }
    text_ = Utf16FromBytes(body, big_endian);
    codepage_ = codepage_detected_ = guess.code_page;
    return;
  }
  if (guess.code_page == codepage::kUtf8) {
    codepage::ToUtf16(codepage::kUtf8, body, text_);
    codepage_ = codepage_detected_ = codepage::kUtf8;
    return;
  }
  codepage_detected_ = 0;
  codepage_ = code_page;
  codepage::ToUtf16(code_page, body, text_);
  // Kept for SetCodepage; `content` may view them, so they are taken last.
  raw_bytes_ = owned != nullptr ? std::move(*owned) : std::string(content);
}

bool CCsvContent::SetCodepage(int code_page) {
  if (raw_bytes_.empty()) return false;
  code_page = ResolveCodepage(code_page, kSetCodepageLabel);
  if (code_page == 0) return false;
  if (code_page == codepage_) return true;
  std::u16string text;
  codepage::ToUtf16(code_page, raw_bytes_, text);
  text_ = std::move(text);
  codepage_ = code_page;
  return true;
}

}  // namespace velmora::csv
