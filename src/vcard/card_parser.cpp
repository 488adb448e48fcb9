#include "vcard/card_parser.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <utility>

#include "foundation/char_converter.h"
#include "foundation/code_page.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "vcard/card_version.h"

namespace velmora::vcard {

namespace {

constexpr char kItemLabel[] = "CCardParser.OnCardLoaded";
constexpr char kSortLabel[] = "CCardParser.m_docCard_Sort";

// Properties that are known not to carry anything the record can hold; they
// are dropped without a warning.
constexpr std::string_view kSilentlyDropped[] = {
    "LABEL",           "X-MS-CARDPICTURE",          "X-MS-OL-DESIGN",
    "X-ABADR",         "X-SKYPE-AUTHCERTIFICATE",   "X-SKYPE-CITY",
    "X-SKYPE-COUNTRY", "X-SKYPE-DISPLAYNAME",       "X-SKYPE-LANGUAGE",
    "X-SKYPE-MOOD",    "X-SKYPE-NUMBER-OF-BUDDIES", "X-SKYPE-PROFILE",
};

// The words of a text, lower-cased: runs of letters and digits.
std::vector<std::u16string> Words(std::u16string_view text) {
  std::vector<std::u16string> words;
  std::u16string word;
  for (const char16_t c : text) {
    if (text::IsSpace(c) || (c < 0x80 && !std::isalnum(static_cast<unsigned char>(c)))) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word.push_back(c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c);
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  std::sort(words.begin(), words.end());
  return words;
}

// Whether every word of a LABEL is in one of the addresses, in whatever
// order the label's country writes them.
bool IsSaidByAnAddress(std::u16string_view label,
                       const std::vector<contact::ContactAddress>& addresses) {
  const std::vector<std::u16string> label_words = Words(label);
  for (const contact::ContactAddress& a : addresses) {
    std::u16string all;
    for (const std::u16string* part : {&a.PostOfficeBox, &a.OfficeLocation, &a.Street, &a.City,
                                       &a.State, &a.PostalCode, &a.Country}) {
      all.append(*part).push_back(u' ');
    }
    const std::vector<std::u16string> address_words = Words(all);
    if (std::includes(address_words.begin(), address_words.end(), label_words.begin(),
                      label_words.end())) {
      return true;
    }
  }
  return false;
}

// ";NAME;" upper-cased, so that a charset list can be searched by name.
std::string Framed(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back(';');
  for (char c : text) {
    out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  out.push_back(';');
  return out;
}

}  // namespace

CCardParser::CCardParser(CLog& log, CharsetPairs document_charsets)
    : log_(log), document_charsets_(std::move(document_charsets)) {}

CCardParser::CCardParser(CLog& log, const CCharConverter* converter) : log_(log) {
  if (converter) document_charsets_ = converter->DocumentCharsetPairs();
}

std::unique_ptr<CCardDoc> CCardParser::NewDocument() const {
  return std::make_unique<CCardDoc>(log_, document_charsets_);
}

CCardDoc& CCardParser::document() {
  if (!own_document_) own_document_ = NewDocument();
  return *own_document_;
}

LoadResult CCardParser::LoadMemory(CCardDoc& doc, const char* data, std::int32_t length,
                                   const ParseOptions& options, bool decode_content) {
  ResetCount();
  options_ = options;
  return doc.LoadFromMemory(data, length, decode_content, this);
}

HRESULT CCardParser::LoadFile(CCardDoc& doc, const std::filesystem::path& file,
                              const ParseOptions& options) {
  ResetCount();
  options_ = options;
  return doc.LoadFromFile(file, this);
}

bool CCardParser::OnCardLoaded(const CCardDocItem& item) {
  ICardParserConsumer* const consumer = options_.consumer;
  const int maximum = options_.maximum;
  try {
    if (options_.mode == ParseMode::kConvert) {
      ParseWithOptions(item);
      bool go_on = true;
      if (consumer && !consumer->OnParsedItem(record_, item)) {
        stopped_by_consumer_ = true;
        go_on = false;
      }
      ++count_;
      if (maximum > 0 && count_ >= maximum) go_on = false;
      return go_on;
    }
    if (options_.mode == ParseMode::kCollect) {
      if (options_.texts) options_.texts->push_back(item.ToStringWithOrigin());
      bool go_on = true;
      if (consumer && !consumer->OnCollectedItem(item)) {
        stopped_by_consumer_ = true;
        go_on = false;
      }
      ++count_;
      if (maximum > 0 && count_ >= maximum) go_on = false;
      return go_on;
    }
    log_.LogDetail(kItemLabel, "mode %d: item %d left as it is", static_cast<int>(options_.mode),
                   count_ + 1);
    return true;
  } catch (const std::bad_alloc&) {
    log_.LogError(kItemLabel, E_OUTOFMEMORY, "Out of memory");
    return false;
  }
}

const contact::ContactRecord& CCardParser::ParseItem(const CCardDocItem& item,
                                                     const ParseOptions& options) {
  options_ = options;
  return ParseWithOptions(item);
}

const contact::ContactRecord& CCardParser::ParseWithOptions(const CCardDocItem& item) {
  record_.Clear();
  labels_.clear();
  record_.Version = VersionTimesTen(item.GetVersion());
  if (item.ContentIsUtf8()) record_.SourceCopyable = false;
  const bool v30 = IsV30();
  const contact::CCardFields& fields = contact::CCardFields::Get();
  for (const CCardDocItemProp& prop : item.props()) {
    const std::string_view name = prop.name();
    const contact::PropertyDef* def = fields.FindByName(name);
    if (text::StartsWithAsciiNoCase(name, "X-SKYPE-")) record_.IsSkypeCard = true;
    if (def && def->Has(contact::fkText)) {
      if (options_.collect_charsets) m_collectCharset(prop, def, v30);
      // A value read in another charset than its card declares would be
      // copied in the wrong one.
      if (record_.SourceCopyable && !prop.ValueMatchesDeclaredCharset()) {
        record_.SourceCopyable = false;
      }
    }
    if (options_.filter && def && !def->Has(contact::fkStructural) &&
        !options_.filter->contains(def->code)) {
      continue;
    }
    if (def) {
      m_dispatch(prop, def->code);
    } else {
      m_skipUnknown(prop);
    }
  }
  if (record_.IsSkypeCard) m_fixSkypeCard();
  if (!labels_.empty()) m_reportLostLabels();
  if (options_.keep_source_text) record_.SourceText = item.ToString();
  return record_;
}

void CCardParser::m_collectCharset(const CCardDocItemProp& prop, const contact::PropertyDef* def,
                                   bool v30) {
  (void)def;
  std::string charset;
  if (const CCardDocItemPropParam* param = prop.FindCharsetParam()) {
    charset = std::string(param->GetValueTrimmed());
  }
  if (charset.empty()) {
    charset = v30 ? "utf-8" : std::to_string(settings::AnsiCodePage());
  }
  const std::string framed_list = Framed(record_.Charsets);
  const std::string framed_name = Framed(charset);
  if (framed_list.find(framed_name) != std::string::npos) return;
  if (!record_.Charsets.empty()) record_.Charsets += ';';
  record_.Charsets += charset;
}

void CCardParser::m_dispatch(const CCardDocItemProp& prop, std::int32_t code) {
  contact::ContactRecord& r = record_;
  switch (code) {
    case contact::prop::ADR:
      m_addAddress(prop);
      break;
    // Birthdays are calendar dates, taken as written; REV is an instant.
    case contact::prop::BDAY:
      m_setDateTime(prop, r.Birthday, false);
      break;
    case contact::prop::CATEGORIES:
    case contact::prop::X_OUTL_CATEGORIES:
      m_setCategories(prop);
      break;
    case contact::prop::CLASS:
    case contact::prop::X_OUTL_CLASS:
      m_setClass(prop);
      break;
    case contact::prop::EMAIL:
      m_setEmail(prop);
      break;
    case contact::prop::FBURL:
    case contact::prop::X_OUTL_IFBADDRESS:
      m_setStr(prop, r.InternetFreeBusyAddress);
      break;
    case contact::prop::FN:
      m_setStr(prop, r.FormattedName);
      break;
    case contact::prop::IMPP:
      m_setImpp(prop);
      break;
    case contact::prop::N: {
      std::u16string* const targets[] = {&r.LastName, &r.FirstName, &r.MiddleName, &r.Title,
                                         &r.Suffix};
      m_setMultiStr(prop, 5, targets);
      break;
    }
    case contact::prop::NICKNAME:
      m_setStr(prop, r.NickName);
      break;
    case contact::prop::X_MAIDENNAME:
      m_setStr(prop, r.MaidenName);
      break;
    case contact::prop::NOTE:
      m_setStr(prop, r.Body);
      break;
    case contact::prop::ORG: {
      std::u16string* const targets[] = {&r.CompanyName, &r.Department};
      m_setMultiStr(prop, 2, targets);
      break;
    }
    case contact::prop::PHOTO:
      m_setPhoto(prop);
      break;
    case contact::prop::PRODID:
      m_setStrA(prop, r.ProdId);
      break;
    case contact::prop::REV:
      m_setDateTime(prop, r.LastModificationTime, true);
      break;
    case contact::prop::ROLE:
      m_setStr(prop, r.Profession);
      break;
    case contact::prop::TEL:
      m_setTel(prop);
      break;
    case contact::prop::TITLE:
      m_setStr(prop, r.JobTitle);
      break;
    case contact::prop::UID:
      m_setStr(prop, r.UID);
      break;
    case contact::prop::URL:
      m_setUrl(prop);
      break;
    case contact::prop::VERSION:
    case contact::prop::BEGIN:
    case contact::prop::END:
      break;
    case contact::prop::X_ABDATE:
      m_addDate(prop);
      break;
    case contact::prop::X_ABLABEL:
      m_setAbLabelX(prop);
      break;
    case contact::prop::X_ABRELATEDNAMES:
      m_setRelatedNameX(prop);
      break;
    case contact::prop::X_AIM:
    case contact::prop::X_GADUGADU:
    case contact::prop::X_GOOGLE_TALK:
    case contact::prop::X_GTALK:
    case contact::prop::X_ICQ:
    case contact::prop::X_JABBER:
    case contact::prop::X_MS_IMADDRESS:
    case contact::prop::X_MSN:
    case contact::prop::X_OUTL_IMADDRESS:
    case contact::prop::X_QQ:
    case contact::prop::X_SKYPE:
    case contact::prop::X_SKYPE_USERNAME:
    case contact::prop::X_YAHOO:
      m_setImppX(prop);
      break;
    case contact::prop::X_MS_ANNIVERSARY:
    case contact::prop::X_OUTL_ANNIVERSARY:
      m_addAnniversary(prop);
      break;
    case contact::prop::X_MS_ASSISTANT:
    case contact::prop::X_OUTL_ASSISTANTNAME:
      m_setRelatedName(prop, vlmcrnAssistant);
      break;
    case contact::prop::X_MS_CHILD:
      m_addChildren(prop);
      break;
    case contact::prop::X_MS_INTERESTS:
      m_setStr(prop, r.Hobby);
      break;
    case contact::prop::X_MS_MANAGER:
    case contact::prop::X_OUTL_MANAGERNAME:
      m_setRelatedName(prop, vlmcrnManager);
      break;
    case contact::prop::X_MS_OL_DEFAULT_POSTAL_ADDRESS:
      m_setMailingAddress(prop);
      break;
    case contact::prop::X_MS_SPOUSE:
    case contact::prop::X_OUTL_SPOUSE:
      m_setRelatedName(prop, vlmcrnSpouse);
      break;
    case contact::prop::X_MS_TEL:
      m_setTelX(prop);
      break;
    case contact::prop::X_MS_TEXT:
      m_setMsTextX(prop);
      break;
    case contact::prop::X_OUTL_NMALIAS:
      m_setStr(prop, r.NetMeetingAlias);
      break;
    case contact::prop::X_OUTL_NMSERVER:
      m_setStr(prop, r.NetMeetingServer);
      break;
    case contact::prop::X_PHONETIC_FIRST_NAME:
      m_setStr(prop, r.PhoneticFirstName);
      break;
    case contact::prop::X_PHONETIC_LAST_NAME:
      m_setStr(prop, r.PhoneticLastName);
      break;
    case contact::prop::X_PHONETIC_MIDDLE_NAME:
      m_setStr(prop, r.PhoneticMiddleName);
      break;
    case contact::prop::X_SKYPE_SEX:
    case contact::prop::X_WAB_GENDER:
      m_setGender(prop, code);
      break;
    case contact::prop::X_SOCIALPROFILE:
      m_setSocialProfileX(prop);
      break;
    case contact::prop::X_ZORVA_OL_ACCOUNT:
      m_setStr(prop, r.Account);
      break;
    case contact::prop::X_ZORVA_OL_BILLING_INFORMATION:
      m_setStr(prop, r.BillingInformation);
      break;
    case contact::prop::X_ZORVA_OL_GOVERNMENT_ID_NUMBER:
      m_setStr(prop, r.GovernmentIDNumber);
      break;
    case contact::prop::X_ZORVA_OL_KEYWORD:
      m_setStr(prop, r.Keyword);
      break;
    case contact::prop::X_ZORVA_OL_LOCATION:
      m_setStr(prop, r.Location);
      break;
    case contact::prop::X_ZORVA_OL_LOCATION_EX:
      m_setStr(prop, r.LocationEx);
      break;
    case contact::prop::X_ZORVA_OL_MILEAGE:
      m_setStr(prop, r.Mileage);
      break;
    case contact::prop::X_ZORVA_OL_ORGANIZATIONAL_ID_NUMBER:
      m_setStr(prop, r.OrganizationalIDNumber);
      break;
    case contact::prop::X_ZORVA_OL_PREFERRED_BY:
      m_addReferredBy(prop);
      break;
    case contact::prop::X_ZORVA_OL_SCHOOL:
      m_setStr(prop, r.School);
      break;
    case contact::prop::X_ZORVA_OL_YOMI_COMPANY:
      m_setStr(prop, r.YomiCompany);
      break;
    case contact::prop::X_ZORVA_CUSTOM_FIELD:
      m_addCustomField(prop);
      break;
    default:
      m_skipUnknown(prop);
      break;
  }
}

void CCardParser::m_skipUnknown(const CCardDocItemProp& prop) {
  const std::string_view name = prop.name();
  // A LABEL is the printed form of an ADR; it is lost only when it says more.
  if (text::EqualsAsciiNoCase(name, "LABEL")) {
    if (log_.events().listening()) labels_.push_back(DecodedTrimmedRight(prop));
    return;
  }
  for (std::string_view silent : kSilentlyDropped) {
    if (text::EqualsAsciiNoCase(name, silent)) return;
  }
  log_.LogWarning(kItemLabel, S_FALSE, "Skipping unknown prop(%s)", name);
  log_.events().Add(cevPropertyDropped, text::AsciiToUtf16(name));
}

void CCardParser::m_reportLostLabels() {
  for (const std::u16string& label : labels_) {
    if (!IsSaidByAnAddress(label, record_.Addresses)) {
      log_.events().Add(cevPropertyDropped, u"LABEL");
    }
  }
  labels_.clear();
}

void CCardParser::m_docCard_Sort(const CCardDoc& doc, ParseMode mode, int maximum,
                                 std::vector<std::string>& texts) {
  if (mode == ParseMode::kConvert) return;
  if (mode != ParseMode::kCollect) {
    log_.LogDetail(kSortLabel, "mode %d: nothing sorted", static_cast<int>(mode));
    return;
  }
  const int item_count = doc.GetItemCount();
  if (item_count < 2) return;
  const int n = (maximum <= 0 || maximum > item_count) ? item_count : maximum;
  std::vector<std::pair<double, const CCardDocItem*>> dated;
  dated.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const CCardDocItem* item = doc.GetItem(i);
    double date = 0.0;
    if (const CCardDocItemProp* rev = item->FindProp("REV")) {
      bool valid = false;
      bool is_utc = false;
      rev->GetDecodedDateTimeValue(date, valid, is_utc, true);
      if (!valid) date = 0.0;
    }
    dated.emplace_back(date, item);
  }
  std::stable_sort(dated.begin(), dated.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  texts.clear();
  texts.reserve(dated.size());
  for (const auto& entry : dated) texts.push_back(entry.second->ToStringWithOrigin());
}

// --- Shared pieces ----------------------------------------------------------

std::u16string CCardParser::Widen(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int code_page = codepage::IsValidUtf8(bytes) ? 65001 : settings::AnsiCodePage();
  return codepage::ToUtf16(code_page, bytes);
}

std::u16string CCardParser::DecodedTrimmedRight(const CCardDocItemProp& prop) {
  std::u16string value;
  prop.GetDecodedValue(value);
  while (!value.empty() && text::IsSpace(value.back())) value.pop_back();
  return value;
}

std::u16string CCardParser::TypesOf(const CCardDocItemProp& prop, std::vector<std::string>* list) {
  std::string types;
  prop.GetTypes(types, list);
  return Widen(types);
}

void CCardParser::m_logDuplicate(std::string_view label, const CCardDocItemProp& prop) {
  log_.LogWarning(label, S_FALSE, "skipping %s duplicate", prop.name());
  log_.events().Add(cevPropertyDropped, text::AsciiToUtf16(prop.name()));
}

}  // namespace velmora::vcard
