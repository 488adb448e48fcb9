// One vCard item of a document: everything from a BEGIN:VCARD line to its
// END:VCARD line, as a list of properties in content order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/log.h"
#include "vcard/card_doc_item_prop.h"

namespace velmora::vcard {

class CCardDoc;

class CCardDocItem {
 public:
  CCardDocItem(CLog& log, const CCardDoc* document, const CCardDocItemProp& begin);
  CCardDocItem(const CCardDocItem&) = delete;
  CCardDocItem& operator=(const CCardDocItem&) = delete;

  // The first property named `name` (without case) and its index, or null
  // and -1. BEGIN and END are not in the list.
  const CCardDocItemProp* FindProp(std::string_view name, int* index = nullptr) const;

  // The number at the start of the first VERSION value (2.1, 3.0, ...); 0.0
  // when there is none yet or its value is empty. 3.0 and above follow the
  // 3.0 rules, everything below the 2.1 rules.
  double GetVersion() const;

  // The item's text as it stands in the content, from BEGIN up to the first
  // non-blank character after END:VCARD, without lines the reader rejected.
  // A card cut off by the next card's BEGIN gets "END:VCARD" and a line
  // break added, so that its text reads back as a card of its own.
  std::string ToString() const;
  // True when the card was cut off: the next card began before its END.
  bool IsCutOff() const { return cut_off_; }

  // True when the item's bytes are UTF-8 by origin: its document's content
  // was (a byte-order mark, or UTF-16 turned into UTF-8), or a UTF-8
  // byte-order mark stood right before its BEGIN line. Every value is then
  // UTF-8, whatever its CHARSET says.
  bool ContentIsUtf8() const;
  // ToString with a UTF-8 byte-order mark in front when ContentIsUtf8: a
  // card text handed on keeps its origin, so reading it again (alone or
  // joined with others) decodes it as it was first read.
  std::string ToStringWithOrigin() const;

  // The code page of a CHARSET value through the document's table, or -1.
  int Charset2Codepage(std::string_view charset) const;

  std::span<const CCardDocItemProp> props() const {
    return {props_, static_cast<std::size_t>(prop_count_)};
  }
  int GetPropCount() const { return prop_count_; }
  const CCardDocItemProp& GetProp(int index) const { return props_[index]; }
  const CCardDocItemProp& begin_prop() const { return begin_; }
  const CCardDocItemProp& end_prop() const { return end_; }
  const CCardDoc* document() const { return document_; }
  // Where the BEGIN property's text starts and how far the item reaches
  // (to the end of the END property's text).
  const char* start() const { return start_; }
  std::int32_t length() const { return length_; }

 private:
  friend class CCardDoc;

  // Loading: notes the version when `prop`, a new property of the list, is
  // the first VERSION.
  void NoteProp(const CCardDocItemProp& prop);
  // Loading: takes the list (a run in the document's property pool) and END,
  // and settles the length and the back references.
  void Complete(CCardDocItemProp* props, std::int32_t count, const CCardDocItemProp& end);
  // Loading: the same for a card cut off before its END; the length reaches
  // to the end of its last property's text.
  void CompleteCutOff(CCardDocItemProp* props, std::int32_t count);
  void ReadVersion(const CCardDocItemProp& version) const;

  CLog& log_;
  const CCardDoc* document_;
  const char* start_;
  std::int32_t length_ = 0;
  CCardDocItemProp begin_;
  CCardDocItemProp* props_ = nullptr;
  std::int32_t prop_count_ = 0;
  CCardDocItemProp end_;
  bool complete_ = false;
  bool utf8_mark_ = false;  // a byte-order mark stood before BEGIN
  bool cut_off_ = false;
  mutable double version_ = -1.0;
};

}  // namespace velmora::vcard
