// Helpers for the vCard layer's tests: a log whose lines can be read back,
// and compact one-line dumps of parsed properties.
#pragma once

#include <string>
#include <string_view>

#include "foundation/log.h"
#include "foundation/module_info.h"
#include "support/test_env.h"
#include "vcard/card_doc.h"

namespace velmora::test {

// A log writing to its own file in the sandboxed app-data folder, so that a
// test can check which messages were logged.
class CapturedLog {
 public:
  explicit CapturedLog(int level = loglDetail) {
    static int counter = 0;
    const std::u16string name = u"vcard" + text16(++counter);
    log.Init(ThisModule(), name, u"VelmoraTests", u"VcardLayer", level, true);
  }
  std::string Text() const { return ReadFile(log.log_path()); }
  int Count(std::string_view needle) const {
    const std::string text = Text();
    int count = 0;
    for (std::size_t pos = text.find(needle); pos != std::string::npos;
         pos = text.find(needle, pos + needle.size())) {
      ++count;
    }
    return count;
  }
  bool Has(std::string_view needle) const { return Count(needle) > 0; }
  // Lines of kind error or warning ("Err[" / "War[").
  int Problems() const { return Count("Err[") + Count("War["); }

  CLog log;

 private:
  static std::u16string text16(int n) {
    std::u16string s;
    for (char c : std::to_string(n)) s.push_back(static_cast<char16_t>(c));
    return s;
  }
};

// CR and LF made visible: "a\r\n b" -> "a<CR><LF> b".
inline std::string Visible(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\r') {
      out += "<CR>";
    } else if (c == '\n') {
      out += "<LF>";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// "group|NAME|p1=v1;=bare|raw value" with line breaks made visible.
inline std::string Dump(const CCardDocItemProp& prop) {
  std::string out(prop.group());
  out += '|';
  out += prop.name();
  out += '|';
  bool first = true;
  for (const auto& param : prop.params()) {
    if (!first) out += ';';
    first = false;
    out += param.GetName();
    out += '=';
    out += param.GetValue();
  }
  out += '|';
  out += Visible(prop.raw_value());
  return out;
}

// The properties of an item, one Dump per line, BEGIN and END left out.
inline std::string Dump(const CCardDocItem& item) {
  std::string out;
  for (const auto& prop : item.props()) {
    out += Dump(prop);
    out += '\n';
  }
  return out;
}

// A 2.1 or 3.0 card around `body` (CR LF line ends; `body` brings its own).
inline std::string Card(std::string_view version, std::string_view body) {
  std::string out = "BEGIN:VCARD\r\nVERSION:";
  out += version;
  out += "\r\n";
  out += body;
  out += "END:VCARD\r\n";
  return out;
}

}  // namespace velmora::test
