#include "vcard/card_doc_item_prop.h"

#include <optional>

#include "contact/icloud_rev_fix.h"
#include "foundation/code_page.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "foundation/time_zone.h"
#include "foundation/utf8_detect.h"
#include "vcard/base64.h"
#include "vcard/card_doc.h"
#include "vcard/card_doc_item.h"
#include "vcard/card_keyword.h"
#include "vcard/date_time_value.h"
#include "vcard/multi_value.h"
#include "vcard/quoted_printable.h"
#include "vcard/value_text.h"
#include "vcard/value_unescape.h"

namespace velmora::vcard {
namespace {

// The number of the decoder's assertion line: a property outside an item.
constexpr int kNoItem = 1;

constexpr char kDecodeLabel[] = "CCardDocItemProp::GetDecodedValue";
constexpr char kDateLabel[] = "CCardDocItemProp.GetDecodedDateTimeValue";
constexpr char kBinaryLabel[] = "CCardDocItemProp.GetDecodedBinaryValue";

bool IsBase64Word(std::string_view encoding) {
  return KeywordEquals(encoding, "BASE64") || KeywordEquals(encoding, "B");
}

}  // namespace

void CCardDocItemProp::Reset() {
  item_ = nullptr;
  line_ = "";
  value_ = "";
  params_ = nullptr;
  encoding_param_ = -2;
  raw_length_ = 0;
  name_offset_ = 0;
  name_length_ = 0;
  value_length_ = 0;
  param_count_ = 0;
}

int CCardDocItemProp::FindParamByName(std::string_view name, int start) const {
  for (int i = start < 0 ? 0 : start; i < param_count_; ++i) {
    if (KeywordEquals(params_[i].GetName(), name)) return i;
  }
  return -1;
}

const CCardDocItemPropParam* CCardDocItemProp::FindParam(std::string_view name, int* index,
                                                         int start) const {
  const int i = FindParamByName(name, start);
  if (index) *index = i;
  return i < 0 ? nullptr : &params_[i];
}

int CCardDocItemProp::FindParamByValue(std::string_view value, int start, bool bare_only) const {
  for (int i = start < 0 ? 0 : start; i < param_count_; ++i) {
    const CCardDocItemPropParam& param = params_[i];
    if (bare_only && !param.IsBare()) continue;
    if (KeywordEquals(param.GetValue(), value)) return i;
  }
  return -1;
}

const CCardDocItemPropParam* CCardDocItemProp::FindCharsetParam(int* index) const {
  return FindParam("CHARSET", index);
}

const CCardDocItemPropParam* CCardDocItemProp::FindEncodingParam(int* index) const {
  if (encoding_param_ != -2) {
    if (index) *index = encoding_param_;
    return encoding_param_ < 0 ? nullptr : &params_[encoding_param_];
  }
  // One pass: a parameter named ENCODING wins at once; otherwise the first
  // QUOTED-PRINTABLE value, else the first BASE64 value.
  int i = -1;
  int quoted_printable = -1;
  int base64 = -1;
  for (int k = 0; k < param_count_; ++k) {
    const CCardDocItemPropParam& param = params_[k];
    if (KeywordEquals(param.GetName(), "ENCODING")) {
      i = k;
      break;
    }
    if (quoted_printable < 0 && KeywordEquals(param.GetValue(), "QUOTED-PRINTABLE")) {
      quoted_printable = k;
    } else if (base64 < 0 && KeywordEquals(param.GetValue(), "BASE64")) {
      base64 = k;
    }
  }
  if (i < 0) i = quoted_printable >= 0 ? quoted_printable : base64;
  encoding_param_ = i;
  if (index) *index = i;
  return i < 0 ? nullptr : &params_[i];
}

std::string_view CCardDocItemProp::GetEncoding() const {
  const CCardDocItemPropParam* param = FindEncodingParam();
  return param ? param->GetValueTrimmed() : std::string_view();
}

double CCardDocItemProp::Version() const { return item_ ? item_->GetVersion() : 0.0; }

void CCardDocItemProp::GetTypes(std::string& text, std::vector<std::string>* list) const {
  text.clear();
  if (list) list->clear();
  const bool version30 = Version() >= 3.0;
  for (const CCardDocItemPropParam& param : params()) {
    const std::string_view name = param.GetName();
    const std::string_view value = param.GetValue();
    if (value.empty()) continue;
    bool types = false;
    if ((version30 || !name.empty()) && KeywordEquals(name, "TYPE")) {
      types = true;
    } else if (name.empty() && !KeywordEquals(value, "QUOTED-PRINTABLE") &&
               !KeywordEquals(value, "BASE64")) {
      // Bare words are 2.1 types; some phones write them in 3.0 cards too.
      types = true;
    }
    if (!types) continue;
    std::size_t pos = 0;
    while (pos <= value.size()) {
      std::size_t comma = value.find(',', pos);
      if (comma == std::string_view::npos) comma = value.size();
      if (comma > pos) {
        const std::string_view word = value.substr(pos, comma - pos);
        if (!text.empty()) text.push_back(',');
        text.append(word);
        if (list) list->emplace_back(word);
      }
      pos = comma + 1;
    }
  }
}

std::string CCardDocItemProp::ToString() const {
  std::string out = "Prop(";
  if (name_offset_ > 0) out.append(" Group = \"").append(group()).append("\"");
  if (name_length_ > 0) out.append(" Name = \"").append(name()).append("\"");
  for (const CCardDocItemPropParam& param : params()) {
    out.push_back(' ');
    out.append(param.ToString());
  }
  if (value_length_ <= 0) {
    out.append(" Value = \"\"");
  } else {
    constexpr std::size_t kShown = 128;
    const std::string_view value = raw_value();
    const std::string_view shown = value.substr(0, kShown);
    out.append(" Value = \"");
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const char c = shown[i];
      if (c == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') {
        out.push_back(' ');
        ++i;
      } else if (c == '\r' || c == '\n') {
        out.push_back(' ');
      } else {
        out.push_back(c);
      }
    }
    if (value.size() > kShown) out.append("...");
    out.push_back('"');
  }
  out.append(" )");
  return out;
}

int CCardDocItemProp::ValueCodePage(bool base64, std::string_view bytes) const {
  int charset_code_page = -1;
  if (const CCardDocItemPropParam* charset = FindCharsetParam()) {
    const std::string_view name = charset->GetValueTrimmed();
    if (!name.empty()) charset_code_page = item_->Charset2Codepage(name);
  }
  // UTF-8 by origin, whatever CHARSET says; bytes that are not UTF-8 at all
  // (a card of another origin joined to marked ones) keep their charset.
  if (item_->ContentIsUtf8() && !base64 && codepage::IsValidUtf8(bytes)) {
    return codepage::kUtf8;
  }
  if (charset_code_page != -1) return charset_code_page;
  return UndeclaredCodePage(bytes);
}

int CCardDocItemProp::UndeclaredCodePage(std::string_view bytes) const {
  // Without a charset the version names one, but real files disagree: 2.1
  // values from UTF-8 tools, 3.0 values in Latin-1 from old ones. Text that
  // is well-formed UTF-8 (with a multi-byte letter, for 2.1) is read as
  // UTF-8, anything else in the ANSI code page.
  if (Version() >= 3.0) {
    return codepage::IsValidUtf8(bytes) ? codepage::kUtf8 : settings::AnsiCodePage();
  }
  if (const int chosen = settings::Vcard21CodePage(); chosen != 0) return chosen;
  return LooksLikeUtf8(bytes) ? codepage::kUtf8 : settings::AnsiCodePage();
}

bool CCardDocItemProp::DecodeValueBytes(std::string& scratch, std::string_view& bytes,
                                        bool keep_escaped_semicolons, bool keep_escaped_commas,
                                        bool quiet) const {
  const std::string_view encoding = GetEncoding();
  const std::string_view raw = raw_value();
  if (IsBase64Word(encoding)) {
    scratch.resize(raw.size());
    std::int32_t size = value_length_;
    if (!Base64Decode(raw.data(), value_length_, reinterpret_cast<std::uint8_t*>(scratch.data()),
                      &size)) {
      if (!quiet) log_->LogError(kDecodeLabel, E_GENERIC_FAILURE, "Base64Decode");
      return false;
    }
    scratch.resize(static_cast<std::size_t>(size));
    bytes = scratch;
  } else if (KeywordEquals(encoding, "QUOTED-PRINTABLE")) {
    DecodeQuotedPrintable(raw, scratch);
    bytes = scratch;
  } else {
    if (!encoding.empty() && !quiet) {
      log_->LogWarning(kDecodeLabel, E_GENERIC_FAILURE, "Unknown encoding(\"%s\")", encoding);
    }
    const bool version30 = Version() >= 3.0;
    if (ValueNeedsUnescape(raw, version30)) {
      UnfoldAndUnescape(raw, version30, !keep_escaped_semicolons, !keep_escaped_commas, scratch);
      bytes = scratch;
    } else {
      bytes = raw;
    }
  }
  return true;
}

bool CCardDocItemProp::ValueMatchesDeclaredCharset() const {
  if (item_ == nullptr || value_length_ <= 0) return true;
  if (const CCardDocItemPropParam* charset = FindCharsetParam()) {
    if (!charset->GetValueTrimmed().empty()) return true;
  }
  if (item_->ContentIsUtf8()) return true;
  const int declared = Version() >= 3.0 ? codepage::kUtf8 : settings::AnsiCodePage();
  const std::string_view raw = raw_value();
  // Unfolding and unescaping touch ASCII only: ASCII stays ASCII and
  // well-formed UTF-8 stays well-formed, so plain values need no decoding.
  const std::string_view encoding = GetEncoding();
  const bool plain = !IsBase64Word(encoding) && !KeywordEquals(encoding, "QUOTED-PRINTABLE");
  if (plain && codepage::IsAscii(raw)) return true;
  if (plain && codepage::IsValidUtf8(raw)) return UndeclaredCodePage(raw) == declared;
  std::string scratch;
  std::string_view bytes;
  if (!DecodeValueBytes(scratch, bytes, true, true, true)) return true;
  return UndeclaredCodePage(bytes) == declared;
}

void CCardDocItemProp::GetDecodedValue(std::u16string& text, bool keep_escaped_semicolons,
                                       bool keep_escaped_commas) const {
  // `text` is not emptied up front: the conversion overwrites it, and keeping
  // its length spares zero-filling it again for every value.
  if (item_ == nullptr) {
    text.clear();
    log_->LogAssert(false, kDecodeLabel, kNoItem);
    return;
  }
  if (value_length_ <= 0) {
    text.clear();
    return;
  }
  // One scratch buffer per thread keeps repeated decoding free of allocations.
  thread_local std::string bytes;
  std::string_view source;
  if (!DecodeValueBytes(bytes, source, keep_escaped_semicolons, keep_escaped_commas, false)) {
    text.clear();
    return;
  }
  ValueBytesToUtf16(ValueCodePage(IsBase64Word(GetEncoding()), source), source, text);
}

void CCardDocItemProp::GetDecodedMultiValue(std::vector<std::u16string>& list, int min_count,
                                            bool split_on_commas) const {
  std::u16string text;
  GetDecodedValue(text, true, split_on_commas);
  SplitMultiValue(*log_, text, split_on_commas, min_count, list);
}

void CCardDocItemProp::GetDecodedDateTimeValue(double& date, bool& valid, bool& is_utc,
                                               bool to_local) const {
  date = 0;
  valid = false;
  is_utc = false;
  std::u16string decoded;
  GetDecodedValue(decoded, true, false);
  const std::u16string_view value = text::Trim(std::u16string_view(decoded));

  SystemTime time;
  std::optional<int> offset;
  bool ok = ParseDateTimeText(value, time, is_utc, &offset);
  if (ok && offset && to_local) {
    // The instant the offset names, then as for "Z".
    const std::int64_t minute = 60 * 1000;
    time = timezone::FromEpochMillis(timezone::ToEpochMillis(time) - *offset * minute);
    SystemTime local;
    ok = SUCCEEDED(timezone::UtcToLocal(time, &local));
    if (ok) time = local;
  } else if (ok && is_utc) {
    if (item_ != nullptr && KeywordEquals(name(), "REV")) {
      std::u16string prodid;
      if (const CCardDocItemProp* prop = item_->FindProp("PRODID")) {
        prop->GetDecodedValue(prodid);
      }
      contact::iCloudWebAddressBook_REV_Fix(*log_, prodid, time);
    }
    if (to_local) {
      SystemTime local;
      ok = SUCCEEDED(timezone::UtcToLocal(time, &local));
      if (ok) time = local;
    }
  }
  double result = 0;
  if (ok) ok = SystemTimeToVariantTime(time, &result);
  if (!ok) {
    log_->LogError(kDateLabel, E_GENERIC_FAILURE, "Invalid value(%s)", value);
    return;
  }
  date = result;
  valid = true;
}

bool CCardDocItemProp::GetDecodedBinaryValue(std::vector<std::uint8_t>& bytes) const {
  bytes.clear();
  if (item_ == nullptr) {
    log_->LogAssert(false, kBinaryLabel, 1);
    return false;
  }
  const CCardDocItemPropParam* encoding_param = FindEncodingParam();
  if (encoding_param == nullptr) {
    log_->LogError(kBinaryLabel, E_GENERIC_FAILURE, "%s: no encoding param", name());
    return false;
  }
  const std::string_view encoding = encoding_param->GetValueTrimmed();
  if (!IsBase64Word(encoding)) {
    log_->LogError(kBinaryLabel, E_GENERIC_FAILURE, "%s: not base64 encoding(%s)", name(),
                   encoding);
    return false;
  }
  if (value_length_ <= 0) {
    log_->LogError(kBinaryLabel, E_GENERIC_FAILURE, "%s: empty value", name());
    return false;
  }
  bytes.resize(static_cast<std::size_t>(value_length_));
  std::int32_t size = value_length_;
  if (!Base64Decode(value_, value_length_, bytes.data(), &size)) {
    log_->LogError(kBinaryLabel, E_GENERIC_FAILURE, "Base64Decode");
    bytes.clear();
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  return true;
}

}  // namespace velmora::vcard
