// The property handlers of CCardParser: plain fields, dates, names, e-mails,
// phones, URLs, related names, labels and the Skype fix. Instant messaging
// lives in card_parser_impp.cpp, photos in card_parser_photo.cpp.
#include <utility>

#include "contact/card_names.h"
#include "contact/card_tools.h"
#include "foundation/code_page.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "vcard/card_parser.h"

namespace velmora::vcard {

namespace {

constexpr char kSetStrLabel[] = "CCardParser.m_setStr";
constexpr char kSetMultiStrLabel[] = "CCardParser.m_setMultiStr";
constexpr char kSetDateTimeLabel[] = "CCardParser.m_setDateTime";
constexpr char kItemLabel[] = "CCardParser.OnCardLoaded";
constexpr char kEmailLabel[] = "CCardParser.m_setEmail";
constexpr char kTelLabel[] = "CCardParser.m_setTel";
constexpr char kTelXLabel[] = "CCardParser.m_setTelX";
constexpr char kUrlLabel[] = "CCardParser.m_setUrl";
constexpr char kRelatedLabel[] = "CCardParser.m_setRelatedName";
constexpr char kRelatedXLabel[] = "CCardParser.m_setRelatedNameX";
constexpr char kSocialLabel[] = "CCardParser.m_setSocialProfileX";
constexpr char kMsTextLabel[] = "CCardParser.m_setMsTextX";
constexpr char kAbLabelLabel[] = "CCardParser.m_setAbLabelX";
constexpr char kSkypeLabel[] = "CCardParser.m_fixSkypeCard";

bool Is(std::string_view word, std::string_view keyword) {
  return text::EqualsAsciiNoCase(text::Trim(word), keyword);
}

std::u16string DecodedTrimmed(const CCardDocItemProp& prop) {
  std::u16string value;
  prop.GetDecodedValue(value);
  return std::u16string(text::Trim(value));
}

void AppendType(std::u16string& types, std::u16string_view word) {
  if (!types.empty()) types += u',';
  types += word;
}

}  // namespace

// --- Plain fields -------------------------------------------------------------

bool CCardParser::m_setStr(const CCardDocItemProp& prop, std::u16string& target) {
  if (!target.empty()) {
    m_logDuplicate(kSetStrLabel, prop);
    return false;
  }
  prop.GetDecodedValue(target);
  return true;
}

bool CCardParser::m_setStrA(const CCardDocItemProp& prop, std::string& target) {
  if (!target.empty()) {
    m_logDuplicate(kSetStrLabel, prop);
    return false;
  }
  std::u16string value;
  prop.GetDecodedValue(value);
  target = codepage::FromUtf16(65001, value);
  return true;
}

bool CCardParser::m_setMultiStr(const CCardDocItemProp& prop, int count,
                                std::u16string* const* targets) {
  for (int i = 0; i < count; ++i) {
    if (!targets[i]->empty()) {
      m_logDuplicate(kSetMultiStrLabel, prop);
      return false;
    }
  }
  // Copied rather than moved: the targets (cleared with their room kept)
  // and the parts both stay allocated from card to card.
  prop.GetDecodedMultiValue(parts_, count, false);
  for (int i = 0; i < count && i < static_cast<int>(parts_.size()); ++i) {
    *targets[i] = parts_[static_cast<std::size_t>(i)];
  }
  return true;
}

bool CCardParser::m_setDateTime(const CCardDocItemProp& prop, double& target, bool to_local) {
  if (!contact::IsEmptyDate(target)) {
    m_logDuplicate(kSetDateTimeLabel, prop);
    return false;
  }
  double date = 0.0;
  bool valid = false;
  bool is_utc = false;
  prop.GetDecodedDateTimeValue(date, valid, is_utc, to_local);
  if (!valid) return false;
  target = date;
  return true;
}

void CCardParser::m_setCategories(const CCardDocItemProp& prop) {
  if (!record_.Categories.empty()) {
    m_logDuplicate(kSetStrLabel, prop);
    return;
  }
  if (!IsV30()) {
    prop.GetDecodedValue(record_.Categories);
    return;
  }
  // The list commas become the user's list separator. Escaped commas belong
  // to a category name and stay commas, so they are kept escaped while
  // decoding and resolved here.
  std::u16string value;
  prop.GetDecodedValue(value, false, true);
  const std::u16string separator = settings::ListSeparator();
  std::u16string& out = record_.Categories;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char16_t c = value[i];
    if (c == u'\\' && i + 1 < value.size() && (value[i + 1] == u',' || value[i + 1] == u'\\')) {
      out += value[++i];
    } else if (c == u',') {
      out += separator;
    } else {
      out += c;
    }
  }
}

void CCardParser::m_setClass(const CCardDocItemProp& prop) {
  std::u16string word(contact::SensitivityToWord(record_.Sensitivity));
  if (!m_setStr(prop, word)) return;
  record_.Sensitivity = contact::SensitivityFromWord(text::Trim(word));
}

void CCardParser::m_setGender(const CCardDocItemProp& prop, std::int32_t code) {
  if (record_.Gender != vlmcgUnspecified) {
    m_logDuplicate(kSetStrLabel, prop);
    return;
  }
  const std::u16string word = DecodedTrimmed(prop);
  // The two address books number the genders the other way round.
  const bool wab = code == contact::prop::X_WAB_GENDER;
  if (word == u"1") {
    record_.Gender = wab ? vlmcgFemale : vlmcgMale;
  } else if (word == u"2") {
    record_.Gender = wab ? vlmcgMale : vlmcgFemale;
  } else {
    log_.LogWarning(kItemLabel, S_FALSE, "Unknown Gender = %s", word);
  }
}

void CCardParser::m_setMailingAddress(const CCardDocItemProp& prop) {
  const std::u16string word = DecodedTrimmed(prop);
  if (word == u"1" || word == u"2" || word == u"3") {
    record_.SelectedMailingAddress = static_cast<EContactAddress>(word[0] - u'0');
  } else if (word != u"0") {
    log_.LogWarning(kItemLabel, S_FALSE, "Unknown MailingAddress = %s", word);
  }
}

// --- Lists --------------------------------------------------------------------

void CCardParser::m_addAddress(const CCardDocItemProp& prop) {
  contact::ContactAddress address;
  address.Types = TypesOf(prop);
  address.Group = prop.GetGroup();
  prop.GetDecodedMultiValue(parts_, 7, false);
  address.PostOfficeBox = std::move(parts_[0]);
  address.OfficeLocation = std::move(parts_[1]);
  address.Street = std::move(parts_[2]);
  address.City = std::move(parts_[3]);
  address.State = std::move(parts_[4]);
  address.PostalCode = std::move(parts_[5]);
  address.Country = std::move(parts_[6]);
  record_.Addresses.push_back(std::move(address));
}

void CCardParser::m_addDate(const CCardDocItemProp& prop) {
  contact::ContactDate date;
  bool valid = false;
  bool is_utc = false;
  // A calendar date: taken as written, whatever zone it names.
  prop.GetDecodedDateTimeValue(date.Date, valid, is_utc, false);
  if (!valid) date.Date = 0.0;
  date.Types = TypesOf(prop);
  date.Group = prop.GetGroup();
  record_.Dates.push_back(std::move(date));
}

void CCardParser::m_addAnniversary(const CCardDocItemProp& prop) {
  double value = 0.0;
  if (!m_setDateTime(prop, value, false) || contact::IsEmptyDate(value)) return;
  contact::ContactDate date;
  date.Date = value;
  date.ABLabel = contact::kAnniversaryLabel;
  record_.Dates.push_back(std::move(date));
}

void CCardParser::m_addChildren(const CCardDocItemProp& prop) {
  prop.GetDecodedMultiValue(parts_, 0, false);
  for (const std::u16string& part : parts_) {
    const std::u16string_view name = text::Trim(part);
    if (name.empty()) continue;  // "a;;b": no child between the separators
    contact::ContactRelatedName child;
    child.Name.assign(name);
    child.Label = vlmcrnChild;
    record_.RelatedNames.push_back(std::move(child));
  }
}

void CCardParser::m_addReferredBy(const CCardDocItemProp& prop) {
  std::u16string name = DecodedTrimmed(prop);
  if (name.empty()) {
    log_.LogDetail(kRelatedLabel, "%s: is empty", prop.name());
    return;
  }
  contact::ContactRelatedName related;
  related.Name = std::move(name);
  related.Label = vlmcrnReferredBy;
  record_.RelatedNames.push_back(std::move(related));
}

void CCardParser::m_addCustomField(const CCardDocItemProp& prop) {
  contact::ContactCustomField field;
  prop.GetDecodedValue(field.Value);
  field.Types = TypesOf(prop);
  field.Group = prop.GetGroup();
  record_.CustomFields.push_back(std::move(field));
}

bool CCardParser::m_setEmail(const CCardDocItemProp& prop) {
  std::vector<std::string>& words = type_words_;
  std::u16string types = TypesOf(prop, &words);
  bool pref = false;
  bool internet = false;
  bool telex = false;
  for (const std::string& word : words) {
    pref = pref || Is(word, "PREF");
    internet = internet || Is(word, "INTERNET");
    telex = telex || Is(word, "TLX");
  }
  std::u16string value = DecodedTrimmedRight(prop);
  if (value.empty()) {
    log_.LogWarning(kEmailLabel, S_FALSE, "EMAIL.Value is empty");
    return false;
  }
  if (telex) {
    // Outlook writes its Telex number as an e-mail of type TLX.
    contact::ContactPhone phone;
    phone.Value = std::move(value);
    phone.Group = prop.GetGroup();
    phone.ABLabel = u"Telex";
    record_.Phones.push_back(std::move(phone));
    return true;
  }
  contact::ContactEmail email;
  email.Types = std::move(types);
  if (internet) email.AddressType = u"SMTP";
  email.Value = std::move(value);
  email.Group = prop.GetGroup();
  if (pref) {
    record_.Emails.insert(record_.Emails.begin(), std::move(email));
  } else {
    record_.Emails.push_back(std::move(email));
  }
  return true;
}

bool CCardParser::m_setTel(const CCardDocItemProp& prop) {
  contact::ContactPhone phone;
  phone.Types = TypesOf(prop);
  phone.Value = DecodedTrimmedRight(prop);
  if (phone.Value.empty()) {
    log_.LogWarning(kTelLabel, S_FALSE, "No value");
    return false;
  }
  phone.Group = prop.GetGroup();
  record_.Phones.push_back(std::move(phone));
  return true;
}

bool CCardParser::m_setTelX(const CCardDocItemProp& prop) {
  struct OutlookPhoneType {
    std::string_view type;
    std::u16string_view label;
  };
  static constexpr OutlookPhoneType kTypes[] = {
      {"ASSISTANT", u"Assistant"}, {"COMPANY", u"Company"}, {"CALLBACK", u"Callback"},
      {"RADIO", u"Radio"},         {"TTYTDD", u"TTY/TDD"},  {"TELEX", u"Telex"},
  };
  std::vector<std::string>& words = type_words_;
  TypesOf(prop, &words);
  const OutlookPhoneType* found = nullptr;
  int hits = 0;
  std::u16string rest;
  for (const std::string& word : words) {
    const OutlookPhoneType* match = nullptr;
    for (const OutlookPhoneType& type : kTypes) {
      if (Is(word, type.type)) match = &type;
    }
    if (match) {
      ++hits;
      if (!found) found = match;
    } else {
      AppendType(rest, Widen(word));
    }
  }
  // A number is worth keeping even when its Outlook type is unclear: with
  // several types the first one labels it, with none it stays unlabelled.
  if (hits >= 2) log_.LogWarning(kTelXLabel, S_FALSE, "X-MS-TEL: two more phone types");
  if (!found) log_.LogWarning(kTelXLabel, S_FALSE, "X-MS-TEL: no phone type");
  contact::ContactPhone phone;
  phone.Value = DecodedTrimmedRight(prop);
  if (phone.Value.empty()) {
    log_.LogWarning(kTelXLabel, S_FALSE, "empty phone");
    return false;
  }
  phone.Types = std::move(rest);
  phone.Group = prop.GetGroup();
  if (found) phone.ABLabel = found->label;
  record_.Phones.push_back(std::move(phone));
  return true;
}

bool CCardParser::m_setUrl(const CCardDocItemProp& prop) {
  contact::ContactUrl url;
  url.Value = DecodedTrimmed(prop);
  if (url.Value.empty()) {
    log_.LogWarning(kUrlLabel, S_FALSE, "URL: is empty");
    return false;
  }
  url.Types = TypesOf(prop);
  url.Group = prop.GetGroup();
  record_.Urls.push_back(std::move(url));
  return true;
}

bool CCardParser::m_setRelatedName(const CCardDocItemProp& prop, EContactRelatedName label) {
  for (const contact::ContactRelatedName& related : record_.RelatedNames) {
    if (related.Label == label) {
      m_logDuplicate(kRelatedLabel, prop);
      return false;
    }
  }
  contact::ContactRelatedName related;
  related.Name = DecodedTrimmed(prop);
  if (related.Name.empty()) {
    // Outlook writes its empty name fields too; an empty name names nobody.
    log_.LogDetail(kRelatedLabel, "%s: is empty", prop.name());
    return false;
  }
  related.Label = label;
  record_.RelatedNames.push_back(std::move(related));
  return true;
}

bool CCardParser::m_setRelatedNameX(const CCardDocItemProp& prop) {
  contact::ContactRelatedName related;
  related.Name = DecodedTrimmed(prop);
  if (related.Name.empty()) {
    log_.LogWarning(kRelatedXLabel, S_FALSE, "X_ABRELATEDNAMES: is empty");
    return false;
  }
  related.Types = TypesOf(prop);
  related.Group = prop.GetGroup();
  related.Label = vlmcrnOther;  // the X-ABLABEL line of its group names it
  record_.RelatedNames.push_back(std::move(related));
  return true;
}

bool CCardParser::m_setSocialProfileX(const CCardDocItemProp& prop) {
  contact::ContactSocialProfile profile;
  profile.Value = DecodedTrimmed(prop);
  if (profile.Value.empty()) {
    log_.LogWarning(kSocialLabel, S_FALSE, "X_ABRELATEDNAMES: is empty");
    return false;
  }
  if (const CCardDocItemPropParam* user = prop.FindParam("X-USER")) {
    profile.User = Widen(user->GetValueTrimmed());
  }
  profile.Types = TypesOf(prop);
  profile.Group = prop.GetGroup();
  record_.SocialProfiles.push_back(std::move(profile));
  return true;
}

bool CCardParser::m_setMsTextX(const CCardDocItemProp& prop) {
  std::u16string* const targets[] = {&record_.User1, &record_.User2, &record_.User3,
                                     &record_.User4};
  static constexpr std::string_view kTypes[] = {"CUSTOM1", "CUSTOM2", "CUSTOM3", "CUSTOM4"};
  std::vector<std::string>& words = type_words_;
  TypesOf(prop, &words);
  std::u16string* target = nullptr;
  int hits = 0;
  for (const std::string& word : words) {
    for (int i = 0; i < 4; ++i) {
      if (Is(word, kTypes[i])) {
        ++hits;
        if (!target) target = targets[i];
      }
    }
  }
  if (hits >= 2) {
    log_.LogWarning(kMsTextLabel, S_FALSE, "X-MS-TEXT: two or more types");
    return false;
  }
  if (!target) {
    log_.LogWarning(kMsTextLabel, S_FALSE, "X-MS-TEXT: no type");
    return false;
  }
  return m_setStr(prop, *target);
}

bool CCardParser::m_setAbLabelX(const CCardDocItemProp& prop) {
  const std::string_view group = prop.group();
  if (group.empty()) {
    log_.LogWarning(kAbLabelLabel, S_FALSE, "X-ABLABEL without group:\n%s", prop.ToString());
    return false;
  }
  std::u16string label = DecodedTrimmedRight(prop);
  auto same_group = [group](const std::string& other) {
    return text::EqualsAsciiNoCase(other, group);
  };
  // Only the first element of the group gets the label: it can be moved.
  auto label_first = [&](auto& list) {
    for (auto& element : list) {
      if (same_group(element.Group)) {
        element.ABLabel = std::move(label);
        return true;
      }
    }
    return false;
  };
  contact::ContactRecord& r = record_;
  if (label_first(r.Phones) || label_first(r.Emails) || label_first(r.Addresses) ||
      label_first(r.Impps) || label_first(r.Dates)) {
    return true;
  }
  for (contact::ContactRelatedName& related : r.RelatedNames) {
    if (same_group(related.Group)) {
      contact::SetRelatedNameLabel(related, label);
      return true;
    }
  }
  if (label_first(r.SocialProfiles) || label_first(r.Urls) || label_first(r.CustomFields)) {
    return true;
  }
  log_.LogDetail(kAbLabelLabel, "no element of group %s", group);
  return false;
}

void CCardParser::m_fixSkypeCard() {
  contact::ContactRecord& r = record_;
  if (!r.Title.empty() || !r.FirstName.empty() || !r.MiddleName.empty() || !r.Suffix.empty() ||
      r.LastName.empty() || r.FormattedName != r.LastName) {
    return;
  }
  // Skype puts the whole display name into the family name.
  contact::NameParts parts = contact::SplitFormattedName(r.FormattedName);
  r.Title = std::move(parts.Title);
  r.FirstName = std::move(parts.FirstName);
  r.MiddleName = std::move(parts.MiddleName);
  r.LastName = std::move(parts.LastName);
  r.Suffix = std::move(parts.Suffix);
  r.SourceCopyable = false;
  log_.LogDetail(kSkypeLabel, "name split from \"%s\"", r.FormattedName);
}

}  // namespace velmora::vcard
