#include "vcard/card_doc_item.h"

#include <charconv>

#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "vcard/card_doc.h"
#include "vcard/card_keyword.h"

namespace velmora::vcard {
namespace {

// The numbers the item's assertion lines carry, each under its call's label.
constexpr int kEmptyName = 1;        // FindProp: no property name
constexpr int kNoBeginOrEnd = 1;     // ToString: BEGIN or END without text
constexpr int kPropWithoutText = 2;  // ToString: a property without text
constexpr int kNoDocument = 1;       // Charset2Codepage: an item outside a document

constexpr char kVersionLabel[] = "CCardDocItem::GetVersion";
constexpr char kFindLabel[] = "CCardDocItem.FindProp";
constexpr char kToStringLabel[] = "CCardDocItem.ToString";
constexpr char kCharsetLabel[] = "CCardDocItem.Charset2Codepage";

// The decimal number at the start of `text` ("2.1", " 3.0"), read up to the
// first character that does not fit; 0 when there is none.
double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text::IsSpace(static_cast<unsigned char>(text[i]))) ++i;
  std::size_t end = i;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  }
  if (end == i || (end == i + 1 && text[i] == '.')) return 0.0;
  double value = 0.0;
  const auto result =
      std::from_chars(text.data() + i, text.data() + end, value, std::chars_format::fixed);
  return result.ec == std::errc() ? value : 0.0;
}

}  // namespace

CCardDocItem::CCardDocItem(CLog& log, const CCardDoc* document, const CCardDocItemProp& begin)
    : log_(log), document_(document), start_(begin.line_), begin_(begin), end_(log) {}

void CCardDocItem::ReadVersion(const CCardDocItemProp& version) const {
  if (version.value_length_ <= 0) {
    log_.LogError(kVersionLabel, E_GENERIC_FAILURE, "No version");
    version_ = 0.0;
  } else {
    version_ = LeadingNumber(version.raw_value());
  }
}

void CCardDocItem::NoteProp(const CCardDocItemProp& prop) {
  // The first VERSION settles the version at once, so that loading never
  // searches the list again.
  if (version_ < 0 && KeywordEquals(prop.name(), "VERSION")) ReadVersion(prop);
}

void CCardDocItem::Complete(CCardDocItemProp* props, std::int32_t count,
                            const CCardDocItemProp& end) {
  props_ = props;
  prop_count_ = count;
  end_ = end;
  length_ = static_cast<std::int32_t>(end_.line_ + end_.raw_length_ - start_);
  // The properties have found their final places; point their parameters at
  // them.
  auto point = [](CCardDocItemProp& prop) {
    for (std::int32_t i = 0; i < prop.param_count_; ++i) prop.params_[i].property_ = &prop;
  };
  point(begin_);
  for (std::int32_t i = 0; i < prop_count_; ++i) point(props_[i]);
  point(end_);
  complete_ = true;
}

void CCardDocItem::CompleteCutOff(CCardDocItemProp* props, std::int32_t count) {
  Complete(props, count, CCardDocItemProp(log_));
  const CCardDocItemProp& last = count > 0 ? props[count - 1] : begin_;
  length_ = static_cast<std::int32_t>(last.line_ + last.raw_length_ - start_);
  cut_off_ = true;
}

const CCardDocItemProp* CCardDocItem::FindProp(std::string_view name, int* index) const {
  if (index) *index = -1;
  if (name.empty()) {
    log_.LogAssert(false, kFindLabel, kEmptyName);
    return nullptr;
  }
  for (int i = 0; i < prop_count_; ++i) {
    if (KeywordEquals(props_[i].name(), name)) {
      if (index) *index = i;
      return &props_[i];
    }
  }
  return nullptr;
}

double CCardDocItem::GetVersion() const {
  if (version_ < 0) {
    // A complete item without VERSION cannot gain one: no need to look again.
    if (complete_) return 0.0;
    const CCardDocItemProp* version = FindProp("VERSION");
    if (version == nullptr) return 0.0;
    ReadVersion(*version);
  }
  return version_;
}

std::string CCardDocItem::ToString() const {
  if (begin_.raw_length_ <= 0 || (end_.raw_length_ <= 0 && !cut_off_)) {
    log_.LogAssert(false, kToStringLabel, kNoBeginOrEnd);
    return {};
  }
  std::string out;
  out.reserve(static_cast<std::size_t>(length_));
  out.append(begin_.raw_text());
  for (const CCardDocItemProp& prop : props()) {
    if (prop.raw_length_ <= 0) {
      log_.LogAssert(false, kToStringLabel, kPropWithoutText);
      continue;
    }
    out.append(prop.raw_text());
  }
  if (cut_off_) {
    // The last property's text may end without a line break (the next
    // card's BEGIN followed on its line).
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append("\r\n");
    out.append("END:VCARD\r\n");
  } else {
    out.append(end_.raw_text());
  }
  return out;
}

bool CCardDocItem::ContentIsUtf8() const {
  return utf8_mark_ || (document_ != nullptr && document_->ContentIsUtf8());
}

std::string CCardDocItem::ToStringWithOrigin() const {
  if (!ContentIsUtf8()) return ToString();
  std::string out = kUtf8ByteOrderMark;
  out += ToString();
  return out;
}

int CCardDocItem::Charset2Codepage(std::string_view charset) const {
  if (document_ == nullptr) {
    log_.LogAssert(false, kCharsetLabel, kNoDocument);
    return settings::AnsiCodePage();
  }
  return document_->CodepageToFromCharset(charset);
}

}  // namespace velmora::vcard
