// A contact field by field (ICardContact) and one of its postal addresses
// (ICardContactAddress).
//
// A CardContact comes empty from ICardConverter::CreateCardContact or filled
// from a loaded card through ICards::ItemContact. Every member returns a
// status; values come through out pointers. Strings are UTF-16, dates
// automation dates (days since 1899-12-30; 0.0 means none), booleans bool.
// A null out pointer gives E_INVALIDARG.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/enums.h>
#include <velmora/export.h>
#include <velmora/object.h>
#include <velmora/status.h>
#include <velmora/variant.h>

namespace velmora {

// A copy of one postal address, taken when the address was asked for: it
// does not follow later changes of the contact.
class VELMORA_API ICardContactAddress : public IObject {
 public:
  virtual HRESULT get_Types(std::u16string* value) = 0;  // "HOME", "WORK,PREF", ...
  virtual HRESULT get_ABLabel(std::u16string* value) = 0;
  virtual HRESULT get_PostOfficeBox(std::u16string* value) = 0;
  virtual HRESULT get_OfficeLocation(std::u16string* value) = 0;
  virtual HRESULT get_Street(std::u16string* value) = 0;
  // OfficeLocation, a space and Street; whichever is set when only one is.
  virtual HRESULT get_StreetAndOfficeLocation(std::u16string* value) = 0;
  virtual HRESULT get_City(std::u16string* value) = 0;
  virtual HRESULT get_State(std::u16string* value) = 0;
  virtual HRESULT get_PostalCode(std::u16string* value) = 0;
  virtual HRESULT get_Country(std::u16string* value) = 0;
  // True when the seven components are all blank.
  virtual HRESULT get_IsEmpty(bool* value) = 0;
  // True when `type` is one of the comma-separated Types (without case).
  virtual HRESULT HasType(const std::u16string& type, bool* value) = 0;
  // Street, City, State, PostalCode and Country, trimmed, the empty ones
  // left out, joined by `delimiter` (", " when empty); line breaks become
  // spaces.
  virtual HRESULT ToString(const std::u16string& delimiter, std::u16string* value) = 0;
};

class VELMORA_API ICardContact : public IObject {
 public:
  // --- Plain fields: read or replace the field, no check of the value -----
  virtual HRESULT get_FirstName(std::u16string* value) = 0;
  virtual HRESULT put_FirstName(const std::u16string& value) = 0;
  virtual HRESULT get_MiddleName(std::u16string* value) = 0;
  virtual HRESULT put_MiddleName(const std::u16string& value) = 0;
  virtual HRESULT get_LastName(std::u16string* value) = 0;
  virtual HRESULT put_LastName(const std::u16string& value) = 0;
  virtual HRESULT get_Title(std::u16string* value) = 0;
  virtual HRESULT put_Title(const std::u16string& value) = 0;
  virtual HRESULT get_Suffix(std::u16string* value) = 0;
  virtual HRESULT put_Suffix(const std::u16string& value) = 0;
  virtual HRESULT get_PhoneticFirstName(std::u16string* value) = 0;
  virtual HRESULT put_PhoneticFirstName(const std::u16string& value) = 0;
  virtual HRESULT get_PhoneticMiddleName(std::u16string* value) = 0;
  virtual HRESULT put_PhoneticMiddleName(const std::u16string& value) = 0;
  virtual HRESULT get_PhoneticLastName(std::u16string* value) = 0;
  virtual HRESULT put_PhoneticLastName(const std::u16string& value) = 0;
  virtual HRESULT get_FormattedName(std::u16string* value) = 0;
  virtual HRESULT put_FormattedName(const std::u16string& value) = 0;
  virtual HRESULT get_NickName(std::u16string* value) = 0;
  virtual HRESULT put_NickName(const std::u16string& value) = 0;
  virtual HRESULT get_MaidenName(std::u16string* value) = 0;
  virtual HRESULT put_MaidenName(const std::u16string& value) = 0;
  virtual HRESULT get_Profession(std::u16string* value) = 0;
  virtual HRESULT put_Profession(const std::u16string& value) = 0;
  virtual HRESULT get_CompanyName(std::u16string* value) = 0;
  virtual HRESULT put_CompanyName(const std::u16string& value) = 0;
  virtual HRESULT get_Department(std::u16string* value) = 0;
  virtual HRESULT put_Department(const std::u16string& value) = 0;
  virtual HRESULT get_JobTitle(std::u16string* value) = 0;
  virtual HRESULT put_JobTitle(const std::u16string& value) = 0;
  virtual HRESULT get_Body(std::u16string* value) = 0;
  virtual HRESULT put_Body(const std::u16string& value) = 0;
  virtual HRESULT get_Birthday(double* value) = 0;
  virtual HRESULT put_Birthday(double value) = 0;
  virtual HRESULT get_Categories(std::u16string* value) = 0;
  virtual HRESULT put_Categories(const std::u16string& value) = 0;
  virtual HRESULT get_NetMeetingServer(std::u16string* value) = 0;
  virtual HRESULT put_NetMeetingServer(const std::u16string& value) = 0;
  virtual HRESULT get_NetMeetingAlias(std::u16string* value) = 0;
  virtual HRESULT put_NetMeetingAlias(const std::u16string& value) = 0;
  virtual HRESULT get_InternetFreeBusyAddress(std::u16string* value) = 0;
  virtual HRESULT put_InternetFreeBusyAddress(const std::u16string& value) = 0;
  virtual HRESULT get_LastModificationTime(double* value) = 0;
  virtual HRESULT put_LastModificationTime(double value) = 0;
  virtual HRESULT get_User1(std::u16string* value) = 0;
  virtual HRESULT put_User1(const std::u16string& value) = 0;
  virtual HRESULT get_User2(std::u16string* value) = 0;
  virtual HRESULT put_User2(const std::u16string& value) = 0;
  virtual HRESULT get_User3(std::u16string* value) = 0;
  virtual HRESULT put_User3(const std::u16string& value) = 0;
  virtual HRESULT get_User4(std::u16string* value) = 0;
  virtual HRESULT put_User4(const std::u16string& value) = 0;
  virtual HRESULT get_Sensitivity(EContactSensitivity* value) = 0;
  virtual HRESULT put_Sensitivity(EContactSensitivity value) = 0;
  virtual HRESULT get_Gender(EContactGender* value) = 0;
  virtual HRESULT put_Gender(EContactGender value) = 0;
  virtual HRESULT get_UID(std::u16string* value) = 0;
  virtual HRESULT put_UID(const std::u16string& value) = 0;
  virtual HRESULT get_SelectedMailingAddress(EContactAddress* value) = 0;
  virtual HRESULT put_SelectedMailingAddress(EContactAddress value) = 0;
  virtual HRESULT get_Hobby(std::u16string* value) = 0;
  virtual HRESULT put_Hobby(const std::u16string& value) = 0;
  virtual HRESULT get_Account(std::u16string* value) = 0;
  virtual HRESULT put_Account(const std::u16string& value) = 0;
  virtual HRESULT get_BillingInformation(std::u16string* value) = 0;
  virtual HRESULT put_BillingInformation(const std::u16string& value) = 0;
  virtual HRESULT get_GovernmentIDNumber(std::u16string* value) = 0;
  virtual HRESULT put_GovernmentIDNumber(const std::u16string& value) = 0;
  virtual HRESULT get_Keyword(std::u16string* value) = 0;
  virtual HRESULT put_Keyword(const std::u16string& value) = 0;
  virtual HRESULT get_Location(std::u16string* value) = 0;
  virtual HRESULT put_Location(const std::u16string& value) = 0;
  virtual HRESULT get_LocationEx(std::u16string* value) = 0;
  virtual HRESULT put_LocationEx(const std::u16string& value) = 0;
  virtual HRESULT get_Mileage(std::u16string* value) = 0;
  virtual HRESULT put_Mileage(const std::u16string& value) = 0;
  virtual HRESULT get_OrganizationalIDNumber(std::u16string* value) = 0;
  virtual HRESULT put_OrganizationalIDNumber(const std::u16string& value) = 0;
  virtual HRESULT get_School(std::u16string* value) = 0;
  virtual HRESULT put_School(const std::u16string& value) = 0;
  virtual HRESULT get_YomiCompany(std::u16string* value) = 0;
  virtual HRESULT put_YomiCompany(const std::u16string& value) = 0;

  // --- Composite and derived members --------------------------------------
  // Body trimmed, line breaks turned into spaces; at most `max_chars`
  // characters when it is 1 or more.
  virtual HRESULT BodyAsSingleString(std::int32_t max_chars, std::u16string* value) = 0;
  virtual HRESULT get_BirthdayIsEmpty(bool* value) = 0;
  // "callto://server/alias"; setting it splits such a value into
  // NetMeetingServer and NetMeetingAlias (anything else becomes the server).
  virtual HRESULT get_NetMeetingNames(std::u16string* value) = 0;
  virtual HRESULT put_NetMeetingNames(const std::u16string& value) = 0;
  virtual HRESULT get_LastModificationTimeIsEmpty(bool* value) = 0;

  // The first address of a kind, or null when the contact has none. Asking
  // again without a change in between gives the same object.
  virtual HRESULT get_BusinessAddress(std::shared_ptr<ICardContactAddress>* value) = 0;
  virtual HRESULT get_HomeAddress(std::shared_ptr<ICardContactAddress>* value) = 0;
  virtual HRESULT get_OtherAddress(std::shared_ptr<ICardContactAddress>* value) = 0;
  // Appends an address typed by `address_type` (vlmcaNone: no type). Blank
  // components only: nothing is added and `added` is false.
  virtual HRESULT AddAddress(const std::u16string& post_office_box,
                             const std::u16string& office_location, const std::u16string& street,
                             const std::u16string& city, const std::u16string& state,
                             const std::u16string& postal_code, const std::u16string& country,
                             EContactAddress address_type, bool* added) = 0;

  virtual HRESULT get_Email1(std::u16string* value) = 0;
  virtual HRESULT get_Email1AddressType(std::u16string* value) = 0;
  virtual HRESULT get_Email2(std::u16string* value) = 0;
  virtual HRESULT get_Email2AddressType(std::u16string* value) = 0;
  virtual HRESULT get_Email3(std::u16string* value) = 0;
  virtual HRESULT get_Email3AddressType(std::u16string* value) = 0;
  // `outlook_type`: missing or a string such as "SMTP".
  virtual HRESULT AddEmail(const std::u16string& email, const Variant& outlook_type = {}) = 0;

  // The nineteen telephone slots.
  virtual HRESULT get_BusinessTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_Business2TelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_BusinessFaxNumber(std::u16string* value) = 0;
  virtual HRESULT get_HomeTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_Home2TelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_HomeFaxNumber(std::u16string* value) = 0;
  virtual HRESULT get_MobileTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_CarTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_PagerNumber(std::u16string* value) = 0;
  virtual HRESULT get_ISDNNumber(std::u16string* value) = 0;
  virtual HRESULT get_PrimaryTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_OtherTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_OtherFaxNumber(std::u16string* value) = 0;
  virtual HRESULT get_AssistantTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_CompanyMainTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_CallbackTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_RadioTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_TTYTDDTelephoneNumber(std::u16string* value) = 0;
  virtual HRESULT get_TelexNumber(std::u16string* value) = 0;
  virtual HRESULT AddTelephone(const std::u16string& phone, EContactTelephone kind) = 0;
  // `types` ("WORK,FAX") and `ab_label` (an Apple label): missing or strings.
  virtual HRESULT AddTelephoneEx(const std::u16string& phone, const Variant& types = {},
                                 const Variant& ab_label = {}) = 0;

  virtual HRESULT get_ManagerName(std::u16string* value) = 0;
  virtual HRESULT get_AssistantName(std::u16string* value) = 0;
  virtual HRESULT get_Spouse(std::u16string* value) = 0;
  // Every child, joined by the user's list separator.
  virtual HRESULT get_Children(std::u16string* value) = 0;
  // vlmcrnOther needs `label_other`, a non-empty string.
  virtual HRESULT AddRelatedName(const std::u16string& name, EContactRelatedName label,
                                 const Variant& label_other = {}) = 0;

  virtual HRESULT get_BusinessHomePage(std::u16string* value) = 0;
  virtual HRESULT get_PersonalHomePage(std::u16string* value) = 0;
  // `kind`: EContactUrl bits (vlmcuBusiness | vlmcuPersonal); 0 adds no type.
  virtual HRESULT AddUrl(const std::u16string& value, std::int32_t kind) = 0;

  virtual HRESULT get_IMAddress(std::u16string* value) = 0;
  virtual HRESULT AddIMAddress(const std::u16string& value) = 0;
  virtual HRESULT AddIMPP(const std::u16string& value, const std::u16string& type,
                          const std::u16string& service_type, const std::u16string& protocol,
                          const std::u16string& ab_label) = 0;

  virtual HRESULT get_Anniversary(double* value) = 0;
  virtual HRESULT get_AnniversaryIsEmpty(bool* value) = 0;
  // An empty date adds nothing and returns S_FALSE. `type`: missing or a string.
  virtual HRESULT AddAnniversaryDate(double value, const Variant& type = {}) = 0;
  virtual HRESULT AddDate(double value, const std::u16string& ab_label,
                          const Variant& type = {}) = 0;

  // A copy of the picture bytes; empty when there is none.
  virtual HRESULT get_Photo(std::vector<std::uint8_t>* value) = 0;
  virtual HRESULT get_PhotoSize(std::int32_t* value) = 0;
  virtual HRESULT get_PhotoExt(std::u16string* value) = 0;  // "JPEG", "PNG", ...
  // `photo_ext`: missing or a string; missing or empty detects the type
  // from the bytes.
  virtual HRESULT SetPhoto(const std::vector<std::uint8_t>& photo,
                           const Variant& photo_ext = {}) = 0;

  // Title, first, middle and last name and suffix joined by spaces; the
  // formatted name when they are all empty.
  virtual HRESULT get_FullName(std::u16string* value) = 0;
  // "Last, First Middle" and the fall-backs of the file-as rule.
  virtual HRESULT get_FileAs(std::u16string* value) = 0;
  // The referred-by name; setting an empty value removes it.
  virtual HRESULT get_ReferredBy(std::u16string* value) = 0;
  virtual HRESULT put_ReferredBy(const std::u16string& value) = 0;

  // Empties every field and list.
  virtual HRESULT Clear() = 0;
  // The contact as one vCard item: `version` 2.1 or 3.0 (anything else is
  // written as 3.0), `code_page` the target code page (0: the system's ANSI
  // code page), `iso_name` the charset name written (missing: the name the
  // supported-encodings list gives for the code page).
  virtual HRESULT GenerateCard(double version, std::int32_t code_page, const Variant& iso_name,
                               std::vector<std::uint8_t>* card) = 0;
};

}  // namespace velmora
