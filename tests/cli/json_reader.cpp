#include "json_reader.h"

#include <cctype>
#include <cstdlib>

namespace velmora::clitest {
namespace {

const JsonValue& NullValue() {
  static const JsonValue null;
  return null;
}

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  bool Document(JsonValue* value) {
    SkipSpace();
    if (!Value(value, 0)) return false;
    SkipSpace();
    return at_ == text_.size() || Fail("text after the value");
  }

  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what) {
    if (error_.empty()) error_ = what + " at offset " + std::to_string(at_);
    return false;
  }

  void SkipSpace() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r')) {
      ++at_;
    }
  }

  bool Literal(const char* word) {
    const std::string w = word;
    if (text_.compare(at_, w.size(), w) != 0) return Fail("unknown literal");
    at_ += w.size();
    return true;
  }

  bool Value(JsonValue* value, int depth) {
    if (depth > 64) return Fail("nested too deep");
    if (at_ >= text_.size()) return Fail("unexpected end");
    const char c = text_[at_];
    if (c == '{') return Object(value, depth);
    if (c == '[') return Array(value, depth);
    if (c == '"') {
      value->kind = JsonValue::Kind::kString;
      return String(&value->string);
    }
    if (c == 't' || c == 'f') {
      value->kind = JsonValue::Kind::kBool;
      value->boolean = c == 't';
      return Literal(c == 't' ? "true" : "false");
    }
    if (c == 'n') {
      value->kind = JsonValue::Kind::kNull;
      return Literal("null");
    }
    return Number(value);
  }

  bool Number(JsonValue* value) {
    const std::size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    if (at_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[at_]))) {
      return Fail("bad number");
    }
    if (text_[at_] == '0' && at_ + 1 < text_.size() &&
        std::isdigit(static_cast<unsigned char>(text_[at_ + 1]))) {
      return Fail("leading zero");
    }
    const auto digits = [&] {
      const std::size_t from = at_;
      while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
      return at_ > from;
    };
    digits();
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      if (!digits()) return Fail("bad fraction");
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!digits()) return Fail("bad exponent");
    }
    value->kind = JsonValue::Kind::kNumber;
    value->number = std::strtod(text_.substr(start, at_ - start).c_str(), nullptr);
    return true;
  }

  static void AppendUtf8(std::string* out, unsigned code) {
    if (code < 0x80) {
      out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out->push_back(static_cast<char>(0xC0 | (code >> 6)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out->push_back(static_cast<char>(0xE0 | (code >> 12)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out->push_back(static_cast<char>(0xF0 | (code >> 18)));
      out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }

  bool Hex4(unsigned* code) {
    if (at_ + 4 > text_.size()) return Fail("short \\u escape");
    *code = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = text_[at_++];
      *code <<= 4;
      if (h >= '0' && h <= '9') {
        *code |= static_cast<unsigned>(h - '0');
      } else if (h >= 'a' && h <= 'f') {
        *code |= static_cast<unsigned>(h - 'a' + 10);
      } else if (h >= 'A' && h <= 'F') {
        *code |= static_cast<unsigned>(h - 'A' + 10);
      } else {
        return Fail("bad \\u escape");
      }
    }
    return true;
  }

  bool String(std::string* out) {
    ++at_;  // the opening quote
    while (at_ < text_.size()) {
      const unsigned char c = static_cast<unsigned char>(text_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        out->push_back(static_cast<char>(c));
        continue;
      }
      if (at_ >= text_.size()) break;
      const char e = text_[at_++];
      switch (e) {
        case '"': out->push_back('"'); break;
        case '\\': out->push_back('\\'); break;
        case '/': out->push_back('/'); break;
        case 'b': out->push_back('\b'); break;
        case 'f': out->push_back('\f'); break;
        case 'n': out->push_back('\n'); break;
        case 'r': out->push_back('\r'); break;
        case 't': out->push_back('\t'); break;
        case 'u': {
          unsigned code = 0;
          if (!Hex4(&code)) return false;
          if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (text_.compare(at_, 2, "\\u") != 0) return Fail("lone surrogate");
            at_ += 2;
            if (!Hex4(&low) || low < 0xDC00 || low > 0xDFFF) return Fail("bad surrogate pair");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, code);
          break;
        }
        default:
          return Fail("bad escape");
      }
    }
    return Fail("unterminated string");
  }

  bool Array(JsonValue* value, int depth) {
    value->kind = JsonValue::Kind::kArray;
    ++at_;
    SkipSpace();
    if (at_ < text_.size() && text_[at_] == ']') {
      ++at_;
      return true;
    }
    for (;;) {
      JsonValue element;
      SkipSpace();
      if (!Value(&element, depth + 1)) return false;
      value->array.push_back(std::move(element));
      SkipSpace();
      if (at_ >= text_.size()) return Fail("unterminated array");
      if (text_[at_] == ']') {
        ++at_;
        return true;
      }
      if (text_[at_++] != ',') return Fail("expected , or ]");
    }
  }

  bool Object(JsonValue* value, int depth) {
    value->kind = JsonValue::Kind::kObject;
    ++at_;
    SkipSpace();
    if (at_ < text_.size() && text_[at_] == '}') {
      ++at_;
      return true;
    }
    for (;;) {
      SkipSpace();
      if (at_ >= text_.size() || text_[at_] != '"') return Fail("expected a member name");
      std::string name;
      if (!String(&name)) return false;
      if (value->Has(name)) return Fail("repeated member \"" + name + "\"");
      SkipSpace();
      if (at_ >= text_.size() || text_[at_++] != ':') return Fail("expected :");
      SkipSpace();
      JsonValue member;
      if (!Value(&member, depth + 1)) return false;
      value->object.emplace_back(std::move(name), std::move(member));
      SkipSpace();
      if (at_ >= text_.size()) return Fail("unterminated object");
      if (text_[at_] == '}') {
        ++at_;
        return true;
      }
      if (text_[at_++] != ',') return Fail("expected , or }");
    }
  }

  const std::string& text_;
  std::size_t at_ = 0;
  std::string error_;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& name) const {
  for (const auto& [key, value] : object) {
    if (key == name) return value;
  }
  return NullValue();
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
  return index < array.size() ? array[index] : NullValue();
}

bool JsonValue::Has(const std::string& name) const {
  for (const auto& member : object) {
    if (member.first == name) return true;
  }
  return false;
}

std::optional<JsonValue> ParseJson(const std::string& text, std::string* error) {
  Reader reader(text);
  JsonValue value;
  if (!reader.Document(&value)) {
    if (error) *error = reader.error();
    return std::nullopt;
  }
  return value;
}

}  // namespace velmora::clitest
