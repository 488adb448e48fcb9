#include "automation/com_card_contact.h"

#include <algorithm>
#include <utility>

#include "automation/argument_checks.h"
#include "automation/call_guard.h"
#include "automation/contact_display.h"
#include "automation/target_format.h"
#include "contact/card_names.h"
#include "contact/card_tools.h"

namespace velmora::automation {
namespace {

constexpr char kLabel[] = "CComCardContact";
constexpr char kAddAddressLabel[] = "CComCardContact.AddAddress";
constexpr char kAddEmailLabel[] = "CComCardContact.AddEmail";
constexpr char kAddTelephoneLabel[] = "CComCardContact.AddTelephone";
constexpr char kAddTelephoneExLabel[] = "CComCardContact.AddTelephoneEx";
constexpr char kAddRelatedNameLabel[] = "CComCardContact.AddRelatedName";
constexpr char kAddUrlLabel[] = "CComCardContact.AddUrl";
constexpr char kAddDateLabel[] = "CComCardContact.AddDate";
constexpr char kSetPhotoLabel[] = "CComCardContact.SetPhoto";
constexpr char kGenerateCardLabel[] = "CComCardContact.GenerateCard";

// The Types or the Apple label that AddTelephone gives each kind.
struct TelephoneKind {
  const char16_t* types;
  const char16_t* label;
};
constexpr TelephoneKind kTelephoneKinds[] = {
    {nullptr, nullptr},       // 0: not a kind
    {u"WORK", nullptr},       // vlmctBusiness
    {u"WORK,FAX", nullptr},   // vlmctBusinessFax
    {u"HOME", nullptr},       // vlmctHome
    {u"HOME,FAX", nullptr},   // vlmctHomeFax
    {u"CELL", nullptr},       // vlmctMobile
    {u"CAR", nullptr},        // vlmctCar
    {u"PAGER", nullptr},      // vlmctPager
    {u"ISDN", nullptr},       // vlmctISDN
    {u"MAIN,PREF", nullptr},  // vlmctPrimary
    {u"VOICE", nullptr},      // vlmctOther
    {u"FAX", nullptr},        // vlmctOtherFax
    {nullptr, u"Assistant"},  // vlmctAssistant
    {nullptr, u"Company"},    // vlmctCompany
    {nullptr, u"Callback"},   // vlmctCallback
    {nullptr, u"Radio"},      // vlmctRadio
    {nullptr, u"TTY/TDD"},    // vlmctTTYTDD
    {nullptr, u"Telex"},      // vlmctTelex
};

constexpr std::size_t AddressSlot(EContactAddress kind) {
  return kind == vlmcaHome ? 0 : kind == vlmcaBusiness ? 1 : 2;
}

}  // namespace

CComCardContact::CComCardContact(std::shared_ptr<CConverterContext> context,
                                 std::unique_ptr<contact::ContactRecord> record)
    : context_(std::move(context)), record_(std::move(record)) {}

CComCardContact::~CComCardContact() = default;

template <typename T>
HRESULT CComCardContact::GetField(T contact::ContactRecord::*field, T* value) {
  if (!record_) return E_GENERIC_FAILURE;
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(Log(), kLabel, [&] {
    *value = (*record_).*field;
    return S_OK;
  });
}

template <typename T>
HRESULT CComCardContact::PutField(T contact::ContactRecord::*field, const T& value) {
  if (!record_) return E_GENERIC_FAILURE;
  return GuardedCall(Log(), kLabel, [&] {
    (*record_).*field = value;
    return S_OK;
  });
}

template <typename T, typename Read>
HRESULT CComCardContact::GetDerived(T* value, Read&& read) {
  if (!record_) return E_GENERIC_FAILURE;
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(Log(), kLabel, [&] {
    *value = read(*record_);
    return S_OK;
  });
}

// --- Plain fields -----------------------------------------------------------

#define VELMORA_STRING_FIELD(Name)                                   \
  HRESULT CComCardContact::get_##Name(std::u16string* value) {       \
    return GetField(&contact::ContactRecord::Name, value);           \
  }                                                                  \
  HRESULT CComCardContact::put_##Name(const std::u16string& value) { \
    return PutField(&contact::ContactRecord::Name, value);           \
  }
#define VELMORA_DATE_FIELD(Name)                           \
  HRESULT CComCardContact::get_##Name(double* value) {     \
    return GetField(&contact::ContactRecord::Name, value); \
  }                                                        \
  HRESULT CComCardContact::put_##Name(double value) {      \
    return PutField(&contact::ContactRecord::Name, value); \
  }
#define VELMORA_ENUM_FIELD(Name, Type)                     \
  HRESULT CComCardContact::get_##Name(Type* value) {       \
    return GetField(&contact::ContactRecord::Name, value); \
  }                                                        \
  HRESULT CComCardContact::put_##Name(Type value) {        \
    return PutField(&contact::ContactRecord::Name, value); \
  }
#define VELMORA_TELEPHONE_SLOT(Name, Slot)                                                    \
  HRESULT CComCardContact::get_##Name(std::u16string* value) {                                \
    return GetDerived(value,                                                                  \
                      [](const contact::ContactRecord& r) { return r.TelephoneSlot(Slot); }); \
  }

VELMORA_STRING_FIELD(FirstName)
VELMORA_STRING_FIELD(MiddleName)
VELMORA_STRING_FIELD(LastName)
VELMORA_STRING_FIELD(Title)
VELMORA_STRING_FIELD(Suffix)
VELMORA_STRING_FIELD(PhoneticFirstName)
VELMORA_STRING_FIELD(PhoneticMiddleName)
VELMORA_STRING_FIELD(PhoneticLastName)
VELMORA_STRING_FIELD(FormattedName)
VELMORA_STRING_FIELD(NickName)
VELMORA_STRING_FIELD(MaidenName)
VELMORA_STRING_FIELD(Profession)
VELMORA_STRING_FIELD(CompanyName)
VELMORA_STRING_FIELD(Department)
VELMORA_STRING_FIELD(JobTitle)
VELMORA_STRING_FIELD(Body)
VELMORA_DATE_FIELD(Birthday)
VELMORA_STRING_FIELD(Categories)
VELMORA_STRING_FIELD(NetMeetingServer)
VELMORA_STRING_FIELD(NetMeetingAlias)
VELMORA_STRING_FIELD(InternetFreeBusyAddress)
VELMORA_DATE_FIELD(LastModificationTime)
VELMORA_STRING_FIELD(User1)
VELMORA_STRING_FIELD(User2)
VELMORA_STRING_FIELD(User3)
VELMORA_STRING_FIELD(User4)
VELMORA_ENUM_FIELD(Sensitivity, EContactSensitivity)
VELMORA_ENUM_FIELD(Gender, EContactGender)
VELMORA_STRING_FIELD(UID)
VELMORA_ENUM_FIELD(SelectedMailingAddress, EContactAddress)
VELMORA_STRING_FIELD(Hobby)
VELMORA_STRING_FIELD(Account)
VELMORA_STRING_FIELD(BillingInformation)
VELMORA_STRING_FIELD(GovernmentIDNumber)
VELMORA_STRING_FIELD(Keyword)
VELMORA_STRING_FIELD(Location)
VELMORA_STRING_FIELD(LocationEx)
VELMORA_STRING_FIELD(Mileage)
VELMORA_STRING_FIELD(OrganizationalIDNumber)
VELMORA_STRING_FIELD(School)
VELMORA_STRING_FIELD(YomiCompany)

VELMORA_TELEPHONE_SLOT(BusinessTelephoneNumber, contact::tsBusiness)
VELMORA_TELEPHONE_SLOT(Business2TelephoneNumber, contact::tsBusiness2)
VELMORA_TELEPHONE_SLOT(BusinessFaxNumber, contact::tsBusinessFax)
VELMORA_TELEPHONE_SLOT(HomeTelephoneNumber, contact::tsHome)
VELMORA_TELEPHONE_SLOT(Home2TelephoneNumber, contact::tsHome2)
VELMORA_TELEPHONE_SLOT(HomeFaxNumber, contact::tsHomeFax)
VELMORA_TELEPHONE_SLOT(MobileTelephoneNumber, contact::tsMobile)
VELMORA_TELEPHONE_SLOT(CarTelephoneNumber, contact::tsCar)
VELMORA_TELEPHONE_SLOT(PagerNumber, contact::tsPager)
VELMORA_TELEPHONE_SLOT(ISDNNumber, contact::tsISDN)
VELMORA_TELEPHONE_SLOT(PrimaryTelephoneNumber, contact::tsPrimary)
VELMORA_TELEPHONE_SLOT(OtherTelephoneNumber, contact::tsOther)
VELMORA_TELEPHONE_SLOT(OtherFaxNumber, contact::tsOtherFax)
VELMORA_TELEPHONE_SLOT(AssistantTelephoneNumber, contact::tsAssistant)
VELMORA_TELEPHONE_SLOT(CompanyMainTelephoneNumber, contact::tsCompanyMain)
VELMORA_TELEPHONE_SLOT(CallbackTelephoneNumber, contact::tsCallback)
VELMORA_TELEPHONE_SLOT(RadioTelephoneNumber, contact::tsRadio)
VELMORA_TELEPHONE_SLOT(TTYTDDTelephoneNumber, contact::tsTTYTDD)
VELMORA_TELEPHONE_SLOT(TelexNumber, contact::tsTelex)

#undef VELMORA_STRING_FIELD
#undef VELMORA_DATE_FIELD
#undef VELMORA_ENUM_FIELD
#undef VELMORA_TELEPHONE_SLOT

// --- Composite and derived members ------------------------------------------

HRESULT CComCardContact::BodyAsSingleString(std::int32_t max_chars, std::u16string* value) {
  return GetDerived(value, [&](const contact::ContactRecord& r) {
    return automation::BodyAsSingleString(r.Body, max_chars);
  });
}

HRESULT CComCardContact::get_BirthdayIsEmpty(bool* value) {
  return GetDerived(
      value, [](const contact::ContactRecord& r) { return contact::IsEmptyDate(r.Birthday); });
}

HRESULT CComCardContact::get_NetMeetingNames(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.NetMeetingNames(); });
}

HRESULT CComCardContact::put_NetMeetingNames(const std::u16string& value) {
  if (!record_) return E_GENERIC_FAILURE;
  return GuardedCall(Log(), kLabel, [&] {
    record_->SetNetMeetingNames(value);
    return S_OK;
  });
}

HRESULT CComCardContact::get_LastModificationTimeIsEmpty(bool* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    return contact::IsEmptyDate(r.LastModificationTime);
  });
}

HRESULT CComCardContact::GetAddress(EContactAddress kind,
                                    std::shared_ptr<ICardContactAddress>* value) {
  if (!record_) return E_GENERIC_FAILURE;
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(Log(), "CComCardContact.getAddress", [&] {
    std::shared_ptr<CComCardContactAddress>& cached = addresses_[AddressSlot(kind)];
    const contact::ContactAddress* address = record_->AddressByKind(kind);
    if (address == nullptr) {
      cached.reset();
      value->reset();
      return S_OK;
    }
    if (!cached || !(cached->address() == *address)) {
      cached = std::make_shared<CComCardContactAddress>(*address);
    }
    *value = cached;
    return S_OK;
  });
}

HRESULT CComCardContact::get_BusinessAddress(std::shared_ptr<ICardContactAddress>* value) {
  return GetAddress(vlmcaBusiness, value);
}
HRESULT CComCardContact::get_HomeAddress(std::shared_ptr<ICardContactAddress>* value) {
  return GetAddress(vlmcaHome, value);
}
HRESULT CComCardContact::get_OtherAddress(std::shared_ptr<ICardContactAddress>* value) {
  return GetAddress(vlmcaOther, value);
}

HRESULT CComCardContact::AddAddress(const std::u16string& post_office_box,
                                    const std::u16string& office_location,
                                    const std::u16string& street, const std::u16string& city,
                                    const std::u16string& state, const std::u16string& postal_code,
                                    const std::u16string& country, EContactAddress address_type,
                                    bool* added) {
  if (!record_) return E_GENERIC_FAILURE;
  if (added == nullptr) return E_INVALIDARG;
  return GuardedCall(Log(), kAddAddressLabel, [&] {
    contact::ContactAddress address;
    address.PostOfficeBox = post_office_box;
    address.OfficeLocation = office_location;
    address.Street = street;
    address.City = city;
    address.State = state;
    address.PostalCode = postal_code;
    address.Country = country;
    if (IsAddressBlank(address)) {
      *added = false;
      return S_OK;
    }
    switch (address_type) {
      case vlmcaHome:
        address.Types = u"HOME";
        break;
      case vlmcaBusiness:
        address.Types = u"WORK";
        break;
      case vlmcaOther:
        address.Types = u"POSTAL";
        break;
      case vlmcaNone:
        break;
      default:
        Log()->LogError(kAddAddressLabel, E_INVALIDARG, "Invalid AddressType(%d)",
                        static_cast<std::int32_t>(address_type));
        break;
    }
    record_->Addresses.push_back(std::move(address));
    *added = true;
    return S_OK;
  });
}

HRESULT CComCardContact::get_Email1(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.Email(1); });
}
HRESULT CComCardContact::get_Email1AddressType(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.EmailAddressType(1); });
}
HRESULT CComCardContact::get_Email2(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.Email(2); });
}
HRESULT CComCardContact::get_Email2AddressType(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.EmailAddressType(2); });
}
HRESULT CComCardContact::get_Email3(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.Email(3); });
}
HRESULT CComCardContact::get_Email3AddressType(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.EmailAddressType(3); });
}

HRESULT CComCardContact::AddEmail(const std::u16string& email, const Variant& outlook_type) {
  if (!record_) return E_GENERIC_FAILURE;
  if (email.empty()) {
    Log()->LogError(kAddEmailLabel, E_INVALIDARG, "Email must be NOT empty");
    return E_INVALIDARG;
  }
  if (!IsMissingOrString(outlook_type)) {
    Log()->LogError(kAddEmailLabel, E_INVALIDARG, "OutlookType must be BSTR or Missing");
    return E_INVALIDARG;
  }
  return GuardedCall(Log(), kAddEmailLabel, [&] {
    contact::ContactEmail entry;
    entry.Value = email;
    entry.AddressType = StringOrEmpty(outlook_type);
    record_->Emails.push_back(std::move(entry));
    return S_OK;
  });
}

HRESULT CComCardContact::AddTelephone(const std::u16string& phone, EContactTelephone kind) {
  if (!record_) return E_GENERIC_FAILURE;
  const auto index = static_cast<std::int32_t>(kind);
  if (index < vlmctBusiness || index > vlmctTelex) {
    Log()->LogError(kAddTelephoneLabel, E_INVALIDARG, "Invalid OlType(%d)", index);
    return E_INVALIDARG;
  }
  const TelephoneKind& entry = kTelephoneKinds[index];
  return AddTelephoneEx(phone, entry.types ? Variant(entry.types) : Variant(),
                        entry.label ? Variant(entry.label) : Variant());
}

HRESULT CComCardContact::AddTelephoneEx(const std::u16string& phone, const Variant& types,
                                        const Variant& ab_label) {
  if (!record_) return E_GENERIC_FAILURE;
  if (phone.empty()) return E_INVALIDARG;
  if (!IsMissingOrString(types)) {
    Log()->LogError(kAddTelephoneExLabel, E_INVALIDARG, "Types must be BSTR or Missing");
    return E_INVALIDARG;
  }
  if (!IsMissingOrString(ab_label)) {
    Log()->LogError(kAddTelephoneExLabel, E_INVALIDARG, "ABLabel must be BSTR or Missing");
    return E_INVALIDARG;
  }
  return GuardedCall(Log(), kAddTelephoneExLabel, [&] {
    contact::ContactPhone entry;
    entry.Value = phone;
    entry.Types = StringOrEmpty(types);
    entry.ABLabel = StringOrEmpty(ab_label);
    record_->Phones.push_back(std::move(entry));
    record_->InvalidateCaches();
    return S_OK;
  });
}

HRESULT CComCardContact::get_ManagerName(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    return r.RelatedNameSlot(contact::rnsManager);
  });
}
HRESULT CComCardContact::get_AssistantName(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    return r.RelatedNameSlot(contact::rnsAssistant);
  });
}
HRESULT CComCardContact::get_Spouse(std::u16string* value) {
  return GetDerived(
      value, [](const contact::ContactRecord& r) { return r.RelatedNameSlot(contact::rnsSpouse); });
}
HRESULT CComCardContact::get_Children(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    return r.RelatedNameSlot(contact::rnsChildren);
  });
}

HRESULT CComCardContact::AddRelatedName(const std::u16string& name, EContactRelatedName label,
                                        const Variant& label_other) {
  if (!record_) return E_GENERIC_FAILURE;
  if (name.empty()) return E_INVALIDARG;
  if (!IsMissingOrString(label_other)) {
    Log()->LogError(kAddRelatedNameLabel, E_INVALIDARG, "vLabelOther must be BSTR or Missing");
    return E_INVALIDARG;
  }
  if (label == vlmcrnOther && (label_other.string() == nullptr || label_other.string()->empty())) {
    return E_INVALIDARG;
  }
  return GuardedCall(Log(), kAddRelatedNameLabel, [&] {
    contact::ContactRelatedName entry;
    entry.Name = name;
    entry.Label = label;
    if (label == vlmcrnOther) entry.LabelOther = *label_other.string();
    record_->RelatedNames.push_back(std::move(entry));
    record_->InvalidateCaches();
    return S_OK;
  });
}

HRESULT CComCardContact::get_BusinessHomePage(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    const contact::ContactUrl* url = r.UrlByKind(contact::urlkBusiness);
    return url ? url->Value : std::u16string();
  });
}

HRESULT CComCardContact::get_PersonalHomePage(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    const contact::ContactUrl* url = r.UrlByKind(contact::urlkPersonal);
    return url ? url->Value : std::u16string();
  });
}

HRESULT CComCardContact::AddUrl(const std::u16string& value, std::int32_t kind) {
  if (!record_) return E_GENERIC_FAILURE;
  if (value.empty()) return E_INVALIDARG;
  return GuardedCall(Log(), kAddUrlLabel, [&] {
    contact::ContactUrl entry;
    entry.Value = value;
    if (kind & vlmcuBusiness) entry.Types = u"WORK";
    if (kind & vlmcuPersonal) {
      if (!entry.Types.empty()) entry.Types.push_back(u',');
      entry.Types += u"HOME";
    }
    const std::int32_t unknown = kind & ~(vlmcuBusiness | vlmcuPersonal);
    if (unknown != 0) {
      Log()->LogWarning(kAddUrlLabel, 0, "Unknown bits in EContactUrl (%d)", unknown);
    }
    record_->Urls.push_back(std::move(entry));
    return S_OK;
  });
}

HRESULT CComCardContact::get_IMAddress(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    return r.Impps.empty() ? std::u16string() : r.Impps.front().Value;
  });
}

HRESULT CComCardContact::AddIMAddress(const std::u16string& value) {
  return AddIMPP(value, u"", u"IM Address", u"x-apple", u"");
}

HRESULT CComCardContact::AddIMPP(const std::u16string& value, const std::u16string& type,
                                 const std::u16string& service_type, const std::u16string& protocol,
                                 const std::u16string& ab_label) {
  if (!record_) return E_GENERIC_FAILURE;
  if (value.empty()) return E_INVALIDARG;
  return GuardedCall(Log(), "CComCardContact.AddIMPP", [&] {
    contact::ContactImpp entry;
    entry.Types = type;
    entry.ServiceType = service_type;
    entry.Protocol = protocol;
    entry.Value = value;
    entry.ABLabel = ab_label;
    record_->Impps.push_back(std::move(entry));
    return S_OK;
  });
}

HRESULT CComCardContact::get_Anniversary(double* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.Anniversary(); });
}

HRESULT CComCardContact::get_AnniversaryIsEmpty(bool* value) {
  return GetDerived(
      value, [](const contact::ContactRecord& r) { return contact::IsEmptyDate(r.Anniversary()); });
}

HRESULT CComCardContact::AddAnniversaryDate(double value, const Variant& type) {
  return AddDate(value, contact::kAnniversaryLabel, type);
}

HRESULT CComCardContact::AddDate(double value, const std::u16string& ab_label,
                                 const Variant& type) {
  if (!record_) return E_GENERIC_FAILURE;
  if (contact::IsEmptyDate(value)) return S_FALSE;
  if (!IsMissingOrString(type)) {
    Log()->LogError(kAddDateLabel, E_INVALIDARG, "vType must be BSTR or Missing");
    return E_INVALIDARG;
  }
  return GuardedCall(Log(), kAddDateLabel, [&] {
    contact::ContactDate entry;
    entry.Date = value;
    entry.Types = StringOrEmpty(type);
    entry.ABLabel = ab_label;
    record_->Dates.push_back(std::move(entry));
    return S_OK;
  });
}

HRESULT CComCardContact::get_Photo(std::vector<std::uint8_t>* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.Photo; });
}

HRESULT CComCardContact::get_PhotoSize(std::int32_t* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) { return r.PhotoSize(); });
}

HRESULT CComCardContact::get_PhotoExt(std::u16string* value) {
  return GetField(&contact::ContactRecord::PhotoExt, value);
}

HRESULT CComCardContact::SetPhoto(const std::vector<std::uint8_t>& photo,
                                  const Variant& photo_ext) {
  if (!record_) return E_GENERIC_FAILURE;
  if (photo.empty()) return E_INVALIDARG;
  if (!IsMissingOrString(photo_ext)) {
    Log()->LogError(kSetPhotoLabel, E_INVALIDARG, "vPhotoExt must be BSTR or Missing");
    return E_INVALIDARG;
  }
  return GuardedCall(Log(), kSetPhotoLabel, [&] {
    std::u16string ext = StringOrEmpty(photo_ext);
    if (ext.empty()) ext = contact::DetectPhotoExt(photo.data(), photo.size(), Log());
    record_->Photo.clear();
    record_->PhotoExt.clear();
    try {
      record_->Photo = photo;
    } catch (const std::bad_alloc&) {
      Log()->LogError(kSetPhotoLabel, E_OUTOFMEMORY, "Photo_arBytes.AllocateBytes");
      return E_OUTOFMEMORY;
    }
    record_->PhotoExt = std::move(ext);
    return S_OK;
  });
}

HRESULT CComCardContact::get_FullName(std::u16string* value) {
  return GetDerived(value,
                    [](const contact::ContactRecord& r) { return contact::ComposeFullName(r); });
}

HRESULT CComCardContact::get_FileAs(std::u16string* value) {
  return GetDerived(value,
                    [](const contact::ContactRecord& r) { return contact::ComposeFileAsName(r); });
}

HRESULT CComCardContact::get_ReferredBy(std::u16string* value) {
  return GetDerived(value, [](const contact::ContactRecord& r) {
    return r.RelatedNameSlot(contact::rnsReferredBy);
  });
}

HRESULT CComCardContact::put_ReferredBy(const std::u16string& value) {
  if (!record_) return E_GENERIC_FAILURE;
  return GuardedCall(Log(), "CComCardContact.putReferredBy", [&] {
    std::vector<contact::ContactRelatedName>& names = record_->RelatedNames;
    auto found = std::find_if(names.begin(), names.end(), [](const contact::ContactRelatedName& n) {
      return n.Label == vlmcrnReferredBy;
    });
    if (found != names.end()) {
      if (value.empty()) {
        names.erase(found);
      } else {
        found->Name = value;
      }
    } else if (!value.empty()) {
      contact::ContactRelatedName entry;
      entry.Name = value;
      entry.Label = vlmcrnReferredBy;
      names.push_back(std::move(entry));
    }
    record_->InvalidateCaches();
    return S_OK;
  });
}

HRESULT CComCardContact::Clear() {
  if (!record_) return E_GENERIC_FAILURE;
  record_->Clear();
  return S_OK;
}

HRESULT CComCardContact::GenerateCard(double version, std::int32_t code_page,
                                      const Variant& iso_name, std::vector<std::uint8_t>* card) {
  if (card == nullptr) return E_INVALIDARG;
  card->clear();
  if (!record_ || context_->charsets() == nullptr) {
    Log()->LogError(kGenerateCardLabel, E_GENERIC_FAILURE, "Not initialized");
    return E_GENERIC_FAILURE;
  }
  return GuardedCall(Log(), kGenerateCardLabel, [&] {
    TargetFormat target;
    HRESULT status = SettleTargetFormat(*Log(), *context_->charsets(), kGenerateCardLabel, version,
                                        code_page, iso_name, &target);
    if (FAILED(status)) return status;
    if (!writer_) writer_ = std::make_unique<vcard::CCardExport>(*Log(), context_->prodid_line());
    const char* text = nullptr;
    std::size_t length = 0;
    status = writer_->ExportContact(record_.get(), target.version, target.code_page,
                                    target.iso_name, &text, &length);
    if (FAILED(status)) return status;
    if (text == nullptr || length == 0) {
      Log()->LogAssert(false, kGenerateCardLabel, __LINE__);
      return E_GENERIC_FAILURE;
    }
    card->assign(reinterpret_cast<const std::uint8_t*>(text),
                 reinterpret_cast<const std::uint8_t*>(text) + length);
    return S_OK;
  });
}

}  // namespace velmora::automation
