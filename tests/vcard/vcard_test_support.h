// Helpers for the vCard layer's tests: cards around a body and compact
// one-line dumps of parsed properties (with the shared log capture).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contact/contact_record.h"
#include "support/log_capture.h"
#include "vcard/card_doc.h"
#include "vcard/card_parser_consumer.h"

namespace velmora::test {

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
inline std::string Dump(const vcard::CCardDocItemProp& prop) {
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
inline std::string Dump(const vcard::CCardDocItem& item) {
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

// Keeps a copy of every parsed record and the text of its item.
struct RecordCollector : vcard::ICardParserConsumer {
  bool OnParsedItem(const contact::ContactRecord& record,
                    const vcard::CCardDocItem& item) override {
    records.push_back(record);
    texts.push_back(item.ToString());
    return true;
  }
  std::vector<contact::ContactRecord> records;
  std::vector<std::string> texts;
};

}  // namespace velmora::test
