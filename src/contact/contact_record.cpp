#include "contact/contact_record.h"

#include "foundation/system_settings.h"
#include "foundation/text_util.h"

namespace velmora::contact {
namespace {

const std::u16string& EmptyText() {
  static const std::u16string empty;
  return empty;
}

constexpr std::u16string_view kCallTo = u"callto://";

}  // namespace

bool IsEmptyDate(double date) { return date == 0.0 || date == 949633.0 || date == 949998.0; }

void ContactRecord::Clear() {
  // A parser clears its one record before every card: emptying the strings
  // and lists in place keeps their capacity for the next card. Every field
  // must be listed here.
  Version = 21;
  ProdId.clear();
  Charsets.clear();
  IsSkypeCard = false;
  SourceCopyable = true;
  SourceText.clear();

  for (std::u16string* text : {&FirstName,
                               &MiddleName,
                               &LastName,
                               &Title,
                               &Suffix,
                               &PhoneticFirstName,
                               &PhoneticMiddleName,
                               &PhoneticLastName,
                               &FormattedName,
                               &NickName,
                               &MaidenName,
                               &Profession,
                               &CompanyName,
                               &Department,
                               &JobTitle,
                               &Body,
                               &Categories,
                               &NetMeetingServer,
                               &NetMeetingAlias,
                               &InternetFreeBusyAddress,
                               &User1,
                               &User2,
                               &User3,
                               &User4,
                               &Hobby,
                               &Account,
                               &BillingInformation,
                               &GovernmentIDNumber,
                               &Keyword,
                               &Location,
                               &LocationEx,
                               &Mileage,
                               &OrganizationalIDNumber,
                               &School,
                               &YomiCompany,
                               &PhotoExt,
                               &UID}) {
    text->clear();
  }
  Birthday = 0.0;
  LastModificationTime = 0.0;

  Addresses.clear();
  SelectedMailingAddress = vlmcaNone;
  Phones.clear();
  Emails.clear();
  Impps.clear();
  RelatedNames.clear();
  SocialProfiles.clear();
  Urls.clear();
  Dates.clear();
  CustomFields.clear();

  Sensitivity = vlmcsNormal;
  Gender = vlmcgUnspecified;
  // A picture can be large: it is freed rather than kept.
  std::vector<std::uint8_t>().swap(Photo);
  caches_.Reset();
}

const std::u16string& ContactRecord::Email(int n) const {
  if (n < 1 || static_cast<std::size_t>(n) > Emails.size()) return EmptyText();
  return Emails[n - 1].Value;
}

const std::u16string& ContactRecord::EmailAddressType(int n) const {
  if (n < 1 || static_cast<std::size_t>(n) > Emails.size()) return EmptyText();
  return Emails[n - 1].AddressType;
}

double ContactRecord::Anniversary() const {
  for (const ContactDate& date : Dates) {
    if (!IsEmptyDate(date.Date) && text::EqualsNoCase(date.ABLabel, kAnniversaryLabel)) {
      return date.Date;
    }
  }
  return 0.0;
}

const ContactAddress* ContactRecord::AddressByKind(EContactAddress kind) const {
  const ContactAddress* work = nullptr;
  const ContactAddress* home = nullptr;
  const ContactAddress* postal = nullptr;
  const ContactAddress* other = nullptr;
  // The first two addresses with none of the four tokens.
  const ContactAddress* untyped[2] = {nullptr, nullptr};

  for (const ContactAddress& address : Addresses) {
    const bool has_work = HasTypeToken(address.Types, u"WORK");
    const bool has_home = HasTypeToken(address.Types, u"HOME");
    if (has_work && work == nullptr) work = &address;
    if (has_home && home == nullptr) home = &address;
    if (has_work || has_home) continue;
    const bool has_postal = HasTypeToken(address.Types, u"POSTAL");
    const bool has_other = HasTypeToken(address.Types, u"OTHER");
    if (has_postal && postal == nullptr) postal = &address;
    if (has_other && other == nullptr) other = &address;
    if (!has_postal && !has_other) {
      if (untyped[0] == nullptr) {
        untyped[0] = &address;
      } else if (untyped[1] == nullptr) {
        untyped[1] = &address;
      }
    }
  }

  switch (kind) {
    case vlmcaHome:
      return home;
    case vlmcaBusiness:
      // Without a WORK address the first untyped one is the business address.
      return work != nullptr ? work : untyped[0];
    case vlmcaOther:
      if (postal != nullptr) return postal;
      if (other != nullptr) return other;
      return work != nullptr ? untyped[0] : untyped[1];
    default:
      return nullptr;
  }
}

const ContactUrl* ContactRecord::UrlByKind(EContactUrlKind kind) const {
  const ContactUrl* home = nullptr;
  const ContactUrl* work = nullptr;
  const ContactUrl* pref = nullptr;
  const ContactUrl* plain = nullptr;
  std::u16string framed;
  for (const ContactUrl& url : Urls) {
    if (url.Value.empty()) continue;
    framed.assign(u",");
    framed.append(text::ToUpper(url.Types));
    framed.append(u",");
    const bool has_home = framed.find(u",HOME,") != std::u16string::npos;
    const bool has_work = framed.find(u",WORK,") != std::u16string::npos;
    const bool has_pref = framed.find(u",PREF,") != std::u16string::npos;
    if (has_home && home == nullptr) home = &url;
    if (has_work && work == nullptr) work = &url;
    if (has_pref && pref == nullptr) pref = &url;
    if (!has_home && !has_work && !has_pref && plain == nullptr) plain = &url;
  }
  switch (kind) {
    case urlkPersonal:
      return home;
    case urlkBusiness:
      if (work != nullptr) return work;
      return pref != nullptr ? pref : plain;
    default:
      return nullptr;
  }
}

void ContactRecord::BuildPhoneCaches() const {
  if (caches_.phones_built) return;
  caches_.categories.clear();
  caches_.categories.reserve(Phones.size());
  for (const ContactPhone& phone : Phones) caches_.categories.push_back(ClassifyPhone(phone));
  BuildTelephoneSlots(Phones, caches_.categories, caches_.telephone_slots);
  caches_.phones_built = true;
}

const std::vector<EPhoneCategory>& ContactRecord::PhoneCategories() const {
  BuildPhoneCaches();
  return caches_.categories;
}

const std::u16string& ContactRecord::TelephoneSlot(int slot) const {
  if (slot < 0 || slot >= kTelephoneSlotCount) return EmptyText();
  BuildPhoneCaches();
  return caches_.telephone_slots[slot];
}

void ContactRecord::BuildRelatedNameCache() const {
  if (caches_.related_built) return;
  auto& slots = caches_.related_slots;
  for (auto& slot : slots) slot.clear();
  const std::u16string separator = settings::ListSeparator();
  const std::u16string* partner = nullptr;
  for (const ContactRelatedName& related : RelatedNames) {
    if (related.Name.empty()) continue;
    auto fill = [&](ERelatedNameSlot slot) {
      if (slots[slot].empty()) slots[slot] = related.Name;
    };
    switch (related.Label) {
      case vlmcrnAssistant:
        fill(rnsAssistant);
        break;
      case vlmcrnManager:
        fill(rnsManager);
        break;
      case vlmcrnSpouse:
        fill(rnsSpouse);
        break;
      case vlmcrnReferredBy:
        fill(rnsReferredBy);
        break;
      case vlmcrnChild:
        if (!slots[rnsChildren].empty()) slots[rnsChildren].append(separator);
        slots[rnsChildren].append(related.Name);
        break;
      case vlmcrnPartner:
        if (partner == nullptr) partner = &related.Name;
        break;
      default:
        break;
    }
  }
  if (slots[rnsSpouse].empty() && partner != nullptr) slots[rnsSpouse] = *partner;
  caches_.related_built = true;
}

const std::u16string& ContactRecord::RelatedNameSlot(int slot) const {
  if (slot < 0 || slot >= kRelatedNameSlotCount) return EmptyText();
  BuildRelatedNameCache();
  return caches_.related_slots[slot];
}

std::u16string ContactRecord::NetMeetingNames() const {
  if (NetMeetingServer.empty() && NetMeetingAlias.empty()) return {};
  std::u16string names(kCallTo);
  names.append(NetMeetingServer);
  names.push_back(u'/');
  names.append(NetMeetingAlias);
  return names;
}

void ContactRecord::SetNetMeetingNames(std::u16string_view names) {
  NetMeetingServer.clear();
  NetMeetingAlias.clear();
  if (names.size() >= kCallTo.size() &&
      text::EqualsNoCase(names.substr(0, kCallTo.size()), kCallTo)) {
    std::u16string_view rest = names.substr(kCallTo.size());
    std::size_t slash = rest.find(u'/');
    if (slash == std::u16string_view::npos) {
      NetMeetingServer.assign(rest);
    } else {
      NetMeetingServer.assign(rest.substr(0, slash));
      NetMeetingAlias.assign(rest.substr(slash + 1));
    }
    return;
  }
  NetMeetingServer.assign(names);
}

void ContactRecord::InvalidateCaches() const { caches_.Reset(); }

}  // namespace velmora::contact
