#include "vcard/card_line_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <new>

#include "foundation/code_page.h"
#include "foundation/text_util.h"
#include "vcard/card_line_scan.h"
#include "vcard/quoted_printable.h"

namespace velmora::vcard {
namespace {

// Writes the 3.0 text escapes of `bytes` to `out`, which has room for two
// bytes per byte: "\" (when `escape_backslash`), "," and line breaks (CR LF,
// CR or LF become "\n"). Returns the end of what was written.
char* WriteEscaped30(std::string_view bytes, bool escape_backslash, char* out) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p < end) {
    // The bytes up to the next one that may need an escape are copied as a run.
    const char* const stop = scan::FindAnyOf4(p, end, '\\', ',', '\r', '\n');
    std::memcpy(out, p, static_cast<std::size_t>(stop - p));
    out += stop - p;
    p = stop;
    if (p == end) break;
    const char c = *p++;
    switch (c) {
      case '\\':
        if (escape_backslash) *out++ = '\\';
        *out++ = c;
        break;
      case ',':
        *out++ = '\\';
        *out++ = ',';
        break;
      case '\r':
        if (p < end && *p == '\n') ++p;
        [[fallthrough]];
      case '\n':
        *out++ = '\\';
        *out++ = 'n';
        break;
      default:
        *out++ = c;
        break;
    }
  }
  return out;
}

}  // namespace

void AppendEscaped30(std::string_view bytes, bool escape_backslash, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + 2 * bytes.size());
  char* const end = WriteEscaped30(bytes, escape_backslash, out.data() + start);
  out.resize(static_cast<std::size_t>(end - out.data()));
}

CardLineWriter::CardLineWriter(CLog& log, std::size_t initial_buffer_size) : log_(log) {
  if (initial_buffer_size >= kMinInitialBufferSize) capacity_ = initial_buffer_size;
}

CardLineWriter::~CardLineWriter() = default;

void CardLineWriter::Begin(bool v30, int code_page, std::string_view charset) {
  v30_ = v30;
  code_page_ = code_page;
  charset_.assign(charset);
  item_counter_ = 0;
  failed_ = false;
  length_ = 0;
}

const char* CardLineWriter::Finish(std::size_t* length) {
  if (failed_ || !Reserve(0)) {
    length_ = 0;
    if (length != nullptr) *length = 0;
    return nullptr;
  }
  buffer_[length_] = '\0';
  if (length != nullptr) *length = length_;
  return buffer_.get();
}

void CardLineWriter::PutGroup(std::u16string_view label, std::string& group) {
  group.clear();
  if (label.empty()) return;
  char number[16];
  const char* const number_end =
      std::to_chars(number, number + sizeof(number), ++item_counter_).ptr;
  group.assign("item").append(std::string_view(number, number_end - number)).push_back('.');
  Put(group);
}

void CardLineWriter::PutLabel(const std::string& group, std::u16string_view label) {
  if (group.empty()) return;
  Put(group);
  Put("X-ABLABEL");
  PutCharset();
  PutValue(label);
}

void CardLineWriter::PutCharset() {
  if (charset_.empty()) return;
  if (v30_ && text::EqualsAsciiNoCase(charset_, "UTF-8")) return;
  Put(";CHARSET=");
  Put(charset_);
}

void CardLineWriter::PutType(std::string_view type) {
  // Quoted TYPE values (TYPE="work,voice", written by newer exporters) reach
  // the record split at their commas, each piece with a stray quote: the
  // words go out bare.
  while (!type.empty() && type.front() == '"') type.remove_prefix(1);
  while (!type.empty() && type.back() == '"') type.remove_suffix(1);
  if (type.empty()) return;
  // A ':' or ';' written bare would end the property name or the parameter
  // and lose the value to every reader: 3.0 quotes such a type, 2.1 has no
  // quoting and leaves it out, as it does any type with a quote or a control
  // character in it.
  bool needs_quotes = false;
  for (const char c : type) {
    const bool separator = c == ':' || c == ';';
    if (static_cast<unsigned char>(c) < 0x20 || c == '"' || (separator && !v30_)) {
      log_.LogWarning("CCardExport.putType", E_INVALIDARG,
                      "Type \"%s\" cannot be written in version %s; left out", type,
                      v30_ ? "3.0" : "2.1");
      return;
    }
    needs_quotes = needs_quotes || separator;
  }
  Put(v30_ ? ";TYPE=" : ";");
  if (needs_quotes) Put("\"");
  Put(type);
  if (needs_quotes) Put("\"");
}

void CardLineWriter::PutTypes(std::u16string_view types) {
  if (types.empty()) return;
  if (!ToTarget(types, types_)) return;
  std::string_view rest = types_;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view piece = text::Trim(rest.substr(0, comma));
    if (!piece.empty()) PutType(piece);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
}

void CardLineWriter::PutValue(std::u16string_view value, bool force_qp) {
  if (!ToTarget(value, narrow_)) return;
  PutEncoded(narrow_, /*single=*/true, force_qp);
}

void CardLineWriter::PutValues(std::initializer_list<std::u16string_view> components) {
  if (components.size() == 1) {
    PutValue(*components.begin());
    return;
  }
  wide_.clear();
  bool first = true;
  for (std::u16string_view component : components) {
    if (!first) wide_.push_back(u';');
    first = false;
    // Runs between the characters to escape ("\\" and ";") are appended whole.
    std::size_t start = 0;
    for (std::size_t i = 0; i < component.size(); ++i) {
      if (component[i] != u'\\' && component[i] != u';') continue;
      wide_.append(component.substr(start, i - start)).push_back(u'\\');
      start = i;
    }
    wide_.append(component.substr(start));
  }
  if (!ToTarget(wide_, narrow_)) return;
  PutEncoded(narrow_, /*single=*/false, /*force_qp=*/false);
}

void CardLineWriter::PutEncoded(std::string_view bytes, bool single, bool force_qp) {
  if (v30_) {
    Put(":");
    PutEscaped30(bytes, /*escape_backslash=*/single);
  } else {
    bool qp = force_qp;
    for (std::size_t i = 0; i < bytes.size() && !qp; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      qp = byte < 0x20 || byte >= 0x80;
    }
    if (qp) {
      encoded_.clear();
      EncodeQuotedPrintable(bytes, encoded_);
      Put(";ENCODING=QUOTED-PRINTABLE:");
      Put(encoded_);
    } else {
      Put(":");
      Put(bytes);
    }
  }
  PutCrlf();
}

void CardLineWriter::PutEscaped30(std::string_view bytes, bool escape_backslash) {
  // Escaped straight into the output buffer, which gets room for the worst
  // case (every byte doubled) first.
  if (failed_ || !Reserve(2 * bytes.size())) return;
  char* const start = buffer_.get() + length_;
  length_ += static_cast<std::size_t>(WriteEscaped30(bytes, escape_backslash, start) - start);
}

void CardLineWriter::Put(std::string_view bytes) {
  if (failed_ || !Reserve(bytes.size())) return;
  if (!bytes.empty()) std::memcpy(buffer_.get() + length_, bytes.data(), bytes.size());
  length_ += bytes.size();
}

bool CardLineWriter::Reserve(std::size_t extra) {
  const std::size_t needed = length_ + extra + 1;  // the terminating zero
  const std::size_t previous = capacity_;
  if (needed > capacity_) {
    const std::size_t missing = needed - capacity_;
    capacity_ += (missing + kBufferStep - 1) / kBufferStep * kBufferStep;
  }
  if (allocated_ >= capacity_) return true;
  std::unique_ptr<char[]> grown(new (std::nothrow) char[capacity_]);
  if (!grown) {
    log_.LogError(kFailureLabel, E_OUTOFMEMORY, "Cannot grow the output buffer to %d bytes",
                  static_cast<std::uint64_t>(capacity_));
    capacity_ = previous;
    failed_ = true;
    return false;
  }
  if (length_ != 0) std::memcpy(grown.get(), buffer_.get(), length_);
  buffer_ = std::move(grown);
  allocated_ = capacity_;
  return true;
}

bool CardLineWriter::ToTarget(std::u16string_view text, std::string& out) {
  if (failed_) return false;
  if (codepage::FromUtf16(code_page_, text, out)) {
    if (log_.events().listening()) {
      if (const int lost = codepage::CountSubstituted(code_page_, text, out); lost > 0) {
        log_.events().Add(cevCharactersLost, u"", lost);
      }
    }
    return true;
  }
  log_.LogError(kFailureLabel, kBadCodePage, "Cannot convert text to code page %d", code_page_);
  failed_ = true;
  return false;
}

}  // namespace velmora::vcard
