// One property of a vCard item: group, name, parameters and raw value, each a
// slice of the document's content, plus the decoding of the value into text,
// structured components, a date or bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/log.h"
#include "vcard/card_doc_item_prop_param.h"
#include "vcard/card_slice.h"

namespace velmora::vcard {

class CCardDocItem;
class CardParserLL;

class CCardDocItemProp {
 public:
  explicit CCardDocItemProp(CLog& log) : log_(&log) {}

  // Copies of the slices: the name ("TEL"), the group with its dot
  // ("item1."), the raw value with its folds and line breaks as they stand.
  std::string GetName() const { return std::string(name()); }
  std::string GetGroup() const { return std::string(group()); }
  std::string GetRawValue() const { return std::string(raw_value()); }
  // The same without copying.
  std::string_view name() const {
    return {line_ + name_offset_, static_cast<std::size_t>(name_length_)};
  }
  std::string_view group() const { return {line_, static_cast<std::size_t>(name_offset_)}; }
  std::string_view raw_value() const { return {value_, static_cast<std::size_t>(value_length_)}; }
  // The property's whole span: its line, continuation lines, line break,
  // following blank lines and the indentation of the next line.
  std::string_view raw_text() const { return {line_, static_cast<std::size_t>(raw_length_)}; }
  CardSlice raw_text_slice() const { return CardSlice(line_, line_ + raw_length_); }

  std::span<const CCardDocItemPropParam> params() const {
    return {params_, static_cast<std::size_t>(param_count_)};
  }
  // The owning item; null for BEGIN and END.
  const CCardDocItem* item() const { return item_; }

  // Index of the first parameter at or after `start` whose (unfolded) name
  // matches without case, or -1.
  int FindParamByName(std::string_view name, int start = 0) const;
  // That parameter, or null; `index` (optional) receives its index or -1.
  const CCardDocItemPropParam* FindParam(std::string_view name, int* index = nullptr,
                                         int start = 0) const;
  // Index of the first parameter at or after `start` whose value matches
  // without case (only bare parameters when `bare_only`), or -1.
  int FindParamByValue(std::string_view value, int start = 0, bool bare_only = false) const;
  // The first parameter named CHARSET, or null.
  const CCardDocItemPropParam* FindCharsetParam(int* index = nullptr) const;
  // The first parameter named ENCODING; else the first whose value is
  // QUOTED-PRINTABLE; else the first whose value is BASE64; else null.
  const CCardDocItemPropParam* FindEncodingParam(int* index = nullptr) const;
  // The trimmed value of FindEncodingParam, or empty.
  std::string_view GetEncoding() const;

  // The type words of the parameters ("HOME,VOICE,PREF" for
  // "TEL;TYPE=HOME,VOICE;TYPE=PREF"); bare parameters ("TEL;HOME") count too,
  // except QUOTED-PRINTABLE and BASE64, in 3.0 items as well as in 2.1. `list` (optional) gets each
  // word.
  void GetTypes(std::string& text, std::vector<std::string>* list = nullptr) const;

  // A one-line description for the log:
  // Prop( Group = "g." Name = "N" Param(...) Value = "..." ).
  std::string ToString() const;

  // The value as UTF-16 text: charset and encoding applied, folds removed
  // and, in 3.0 items, escapes resolved ("\;" and "\," kept on request).
  // A property outside an item (BEGIN, END) gives empty text.
  void GetDecodedValue(std::u16string& text, bool keep_escaped_semicolons = false,
                       bool keep_escaped_commas = false) const;
  // The components of a structured value, split at ';' (and ',' when
  // `split_on_commas`), padded with empty ones up to `min_count`.
  void GetDecodedMultiValue(std::vector<std::u16string>& list, int min_count = 0,
                            bool split_on_commas = false) const;
  // The value as an automation date. `valid` tells whether it could be read,
  // `is_utc` whether it ended in "Z"; with `to_local` a time in UTC or with a
  // zone offset is converted to local time, without it the date and time
  // are taken as written. A failure is logged and gives date 0.
  void GetDecodedDateTimeValue(double& date, bool& valid, bool& is_utc, bool to_local) const;
  // False when the value's bytes are read in another code page than its
  // card declares (no CHARSET: 3.0 promises UTF-8, 2.1 the ANSI code page):
  // a 2.1 value in UTF-8, a 3.0 value that is not UTF-8. Its card's text
  // then cannot be copied as it stands into output of the declared charset.
  bool ValueMatchesDeclaredCharset() const;
  // The bytes of a base64 value (a photo, a sound). False, with `bytes`
  // empty, for a value that is not base64 or cannot be decoded.
  bool GetDecodedBinaryValue(std::vector<std::uint8_t>& bytes) const;

  CLog& log() const { return *log_; }

 private:
  friend class CardParserLL;
  friend class CCardDocItem;
  friend class CCardDoc;

  void Reset();
  // The code page the value's decoded `bytes` are in: UTF-8 for content that
  // was UTF-16 or had a UTF-8 mark (base64 excepted), else the CHARSET's,
  // else UndeclaredCodePage.
  int ValueCodePage(bool base64, std::string_view bytes) const;
  // Without a usable CHARSET: UTF-8 when the bytes are UTF-8 (in 2.1: with a
  // multi-byte sequence), otherwise the ANSI code page.
  int UndeclaredCodePage(std::string_view bytes) const;
  // The bytes the value stands for: base64 or quoted-printable decoded, or
  // unfolded and unescaped, in `scratch` or straight from the content. False
  // when base64 cannot be decoded. `quiet` keeps the log out of it.
  bool DecodeValueBytes(std::string& scratch, std::string_view& bytes, bool keep_escaped_semicolons,
                        bool keep_escaped_commas, bool quiet) const;
  double Version() const;

  // Kept small (64 bytes): a large file holds hundreds of thousands.
  CLog* log_;
  const CCardDocItem* item_ = nullptr;
  const char* line_ = "";   // where the raw text (and the group) starts
  const char* value_ = "";  // where the raw value starts
  // A run of parameters in the document's parameter arena.
  CCardDocItemPropParam* params_ = nullptr;
  std::int32_t raw_length_ = 0;
  std::int32_t name_offset_ = 0;  // the group's length
  std::int32_t name_length_ = 0;
  std::int32_t value_length_ = 0;
  std::int32_t param_count_ = 0;
  // FindEncodingParam's answer, settled while parsing: -1 none, -2 not yet.
  mutable std::int32_t encoding_param_ = -2;
};

}  // namespace velmora::vcard
