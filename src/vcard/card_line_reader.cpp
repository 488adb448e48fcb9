#include "vcard/card_line_reader.h"

#include <cstring>
#include <new>
#include <string_view>

#include "foundation/text_util.h"
#include "vcard/base64.h"
#include "vcard/card_keyword.h"
#include "vcard/card_line_scan.h"
#include "vcard/quoted_printable.h"

namespace velmora::vcard {
namespace {

constexpr char kPropLabel[] = "CardParserLL.GetNextProp";
constexpr char kParamsLabel[] = "CCardDoc.Parser.GetPropParams";
constexpr char kValueLabel[] = "CCardDoc.Parser.GetPropValue";

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline bool IsUtf8Bom(const char* p) { return p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF'; }

CardSlice TrimmedSlice(const char* begin, const char* end) {
  while (begin < end && IsTrimmed(*begin)) ++begin;
  while (end > begin && IsTrimmed(end[-1])) --end;
  return CardSlice(begin, end);
}

}  // namespace

bool CardParserLL::GetNextLine(const char*& cursor, const char*& start, std::int32_t& length,
                               unsigned flags) const {
  const char* p = cursor;
  if (*p == '\0') return false;
  for (;;) {
    if (flags & kSkipLeadingBlanks) {
      while (IsBlank(*p)) ++p;
    }
    const char* line = p;
    p = scan::FindLineEnd(p, end_);
    const std::int32_t len = static_cast<std::int32_t>(p - line);
    p = scan::SkipLineBreak(p);
    if (len > 0 || !(flags & kSkipEmptyLines)) {
      cursor = p;
      start = line;
      length = len;
      return true;
    }
    if (*p == '\0') {
      cursor = p;
      return false;
    }
  }
}

void CardParserLL::LogRejectedLine(const char* format, const char* begin, const char* end) {
  if (log_.level() >= loglInfo) {
    log_.LogWarning(kPropLabel, E_GENERIC_FAILURE, format,
                    std::string_view(begin, static_cast<std::size_t>(end - begin)));
  } else {
    log_.LogWarning(kPropLabel, E_GENERIC_FAILURE, format, "<hidden for loglMin>");
  }
}

bool CardParserLL::GetNextProp(const char*& cursor, CCardDocItemProp& prop) {
  // Each byte of a property line is looked at once: the name part up to its
  // ':' or ';', the parameters up to the ':', the value up to the line end.
  for (;;) {
    // Blank lines, leading blanks and byte-order marks (files joined with
    // their marks carry them where a line starts).
    const char* line = cursor;
    for (;;) {
      while (IsBlank(*line)) ++line;
      if (IsUtf8Bom(line)) {
        line += 3;
        continue;
      }
      if (*line != '\r' && *line != '\n') break;
      line = scan::SkipLineBreak(line);
    }
    if (*line == '\0') {
      cursor = line;
      return false;
    }
    const char* p = scan::FindNameStop(line, end_, true);
    const char* dot = nullptr;
    if (*p == '.') {
      dot = p;
      p = scan::FindNameStop(p + 1, end_, false);
    }
    const char* name_start = dot ? dot + 1 : line;
    if (p == name_start || scan::IsLineEnd(static_cast<unsigned char>(*p))) {
      const char* line_end = scan::FindLineEnd(p, end_);
      cursor = scan::SkipLineBreak(line_end);
      LogRejectedLine(
          p == name_start ? "Prop name is empty, line:%s\n" : "Line has no ':', line:%s\n", line,
          line_end);
      continue;
    }
    prop.Reset();
    // The property's text starts at its line; blank lines and indentation in
    // front of it belong to the property before (or, at the start of the
    // text and after a rejected line, to nothing).
    prop.line_ = line;
    prop.name_offset_ = static_cast<std::int32_t>(name_start - line);
    prop.name_length_ = static_cast<std::int32_t>(p - name_start);
    if (*p == ';' && !GetPropParams(line, &p, cursor, prop)) continue;
    GetPropValue(p, cursor, prop);
    if (SplitJoinedEnd(prop, cursor)) return true;

    // Blank lines after the value and the indentation of the next line
    // belong to this property, so that the properties of an item together
    // give back its text byte for byte.
    const char* q = cursor;
    for (;;) {
      while (IsBlank(*q)) ++q;
      if (*q == '\r' || *q == '\n') {
        q = scan::SkipLineBreak(q);
        cursor = q;
        continue;
      }
      cursor = q;
      break;
    }
    prop.raw_length_ = static_cast<std::int32_t>(cursor - line);
    return true;
  }
}

bool CardParserLL::SplitJoinedEnd(CCardDocItemProp& prop, const char*& cursor) {
  // "END:VCARDBEGIN:VCARD": a file without a final line break joined to the
  // next one. The END property ends after "VCARD" and the next line starts
  // at "BEGIN".
  constexpr std::string_view kEnd = "VCARD";
  constexpr std::string_view kBegin = "BEGIN:";
  const std::string_view value = prop.raw_value();
  if (prop.param_count_ != 0 || !KeywordEquals(prop.name(), "END") ||
      value.size() <= kEnd.size() + kBegin.size() ||
      !KeywordEquals(value.substr(0, kEnd.size()), kEnd) ||
      !KeywordEquals(value.substr(kEnd.size(), kBegin.size()), kBegin)) {
    return false;
  }
  prop.value_length_ = static_cast<std::int32_t>(kEnd.size());
  cursor = prop.value_ + kEnd.size();
  prop.raw_length_ = static_cast<std::int32_t>(cursor - prop.line_);
  return true;
}

bool CardParserLL::GetPropParams(const char* line, const char** colon, const char*& cursor,
                                 CCardDocItemProp& prop) {
  const char* first = *colon + 1;  // just after the ';'
  bool folded = false;
  std::size_t count = 1;
  const char* q = scan::FindColonCountingSemicolons(first, end_, count);
  while (*q != ':') {
    // Parameters folded onto the next line: it must start with a space (a
    // TAB does not continue a line here).
    const char* next = scan::SkipLineBreak(q);
    if (*next != ' ') {
      cursor = next;
      if (log_.level() >= loglInfo) {
        log_.LogWarning(kParamsLabel, E_GENERIC_FAILURE, "Line has no ':', line:%s\n",
                        std::string_view(line, static_cast<std::size_t>(q - line)));
      } else {
        log_.LogWarning(kParamsLabel, E_GENERIC_FAILURE, "Line has no ':', line:%s\n",
                        "<hidden for loglMin>");
      }
      return false;
    }
    folded = true;
    q = scan::FindColonCountingSemicolons(next, end_, count);
  }
  // Split at every ';' up to the ':'. Quotes mean nothing here.
  CCardDocItemPropParam* param = arena_.Allocate(count);
  prop.params_ = param;
  prop.param_count_ = static_cast<std::int32_t>(count);
  // FindEncodingParam's answer comes along (for unfolded texts only): a
  // parameter named ENCODING, else the first QUOTED-PRINTABLE value, else the
  // first BASE64 value.
  int encoding = -1, quoted_printable = -1, base64 = -1;
  const char* piece = first;
  for (const char* p = first;; ++p) {
    if (p == q || *p == ';') {
      const char* eq = piece;
      while (eq < p && *eq != '=') ++eq;
      const int index = static_cast<int>(param - prop.params_);
      CardSlice name;
      CardSlice value;
      if (eq < p) {
        name = TrimmedSlice(piece, eq);
        value = TrimmedSlice(eq + 1, p);
      } else {
        value = TrimmedSlice(piece, p);
      }
      ::new (static_cast<void*>(param++)) CCardDocItemPropParam(arena_, name, value, folded);
      if (encoding < 0 && KeywordEquals(name.view(), "ENCODING")) {
        encoding = index;
      } else if (quoted_printable < 0 && KeywordEquals(value.view(), "QUOTED-PRINTABLE")) {
        quoted_printable = index;
      } else if (base64 < 0 && KeywordEquals(value.view(), "BASE64")) {
        base64 = index;
      }
      if (p == q) break;
      piece = p + 1;
    }
  }
  if (!folded) {
    prop.encoding_param_ =
        encoding >= 0 ? encoding : (quoted_printable >= 0 ? quoted_printable : base64);
  }
  *colon = q;
  return true;
}

void CardParserLL::GetPropValue(const char* colon, const char*& cursor, CCardDocItemProp& prop) {
  const std::string_view encoding = prop.GetEncoding();
  const char* value_start = colon + 1;
  const char* value_end;
  if (encoding.empty()) {
    value_end = PlainValueEnd(value_start, cursor);
  } else if (KeywordEquals(encoding, "QUOTED-PRINTABLE")) {
    value_end = QuotedPrintableExtent(value_start, end_, &cursor);
  } else if (KeywordEquals(encoding, "BASE64") || KeywordEquals(encoding, "B")) {
    value_end = Base64Extent(value_start, end_, &cursor);
  } else {
    log_.LogError(kValueLabel, E_GENERIC_FAILURE, "Unknown encoding(%s)", encoding);
    value_end = PlainValueEnd(value_start, cursor);
  }
  prop.value_ = value_start;
  prop.value_length_ = static_cast<std::int32_t>(value_end - value_start);
}

const char* CardParserLL::PlainValueEnd(const char* value_start, const char*& cursor) const {
  // A plain value continues on lines that start with a space.
  const char* value_end = scan::FindLineEnd(value_start, end_);
  cursor = scan::SkipLineBreak(value_end);
  while (*cursor == ' ') {
    value_end = scan::FindLineEnd(cursor, end_);
    cursor = scan::SkipLineBreak(value_end);
  }
  return value_end;
}

}  // namespace velmora::vcard
