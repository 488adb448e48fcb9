// CardContact: one contact record exposed field by field, with the list
// operations and the generation of its vCard.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/card_contact.h>

#include "automation/com_card_contact_address.h"
#include "automation/converter_context.h"
#include "automation/live_object.h"
#include "contact/contact_record.h"
#include "vcard/card_export.h"

namespace velmora::automation {

class CComCardContact : public ICardContact {
 public:
  // Takes `record` over; a null record makes every member answer -1.
  CComCardContact(std::shared_ptr<CConverterContext> context,
                  std::unique_ptr<contact::ContactRecord> record);
  ~CComCardContact() override;

  const contact::ContactRecord* record() const { return record_.get(); }

  HRESULT get_FirstName(std::u16string* value) override;
  HRESULT put_FirstName(const std::u16string& value) override;
  HRESULT get_MiddleName(std::u16string* value) override;
  HRESULT put_MiddleName(const std::u16string& value) override;
  HRESULT get_LastName(std::u16string* value) override;
  HRESULT put_LastName(const std::u16string& value) override;
  HRESULT get_Title(std::u16string* value) override;
  HRESULT put_Title(const std::u16string& value) override;
  HRESULT get_Suffix(std::u16string* value) override;
  HRESULT put_Suffix(const std::u16string& value) override;
  HRESULT get_PhoneticFirstName(std::u16string* value) override;
  HRESULT put_PhoneticFirstName(const std::u16string& value) override;
  HRESULT get_PhoneticMiddleName(std::u16string* value) override;
  HRESULT put_PhoneticMiddleName(const std::u16string& value) override;
  HRESULT get_PhoneticLastName(std::u16string* value) override;
  HRESULT put_PhoneticLastName(const std::u16string& value) override;
  HRESULT get_FormattedName(std::u16string* value) override;
  HRESULT put_FormattedName(const std::u16string& value) override;
  HRESULT get_NickName(std::u16string* value) override;
  HRESULT put_NickName(const std::u16string& value) override;
  HRESULT get_MaidenName(std::u16string* value) override;
  HRESULT put_MaidenName(const std::u16string& value) override;
  HRESULT get_Profession(std::u16string* value) override;
  HRESULT put_Profession(const std::u16string& value) override;
  HRESULT get_CompanyName(std::u16string* value) override;
  HRESULT put_CompanyName(const std::u16string& value) override;
  HRESULT get_Department(std::u16string* value) override;
  HRESULT put_Department(const std::u16string& value) override;
  HRESULT get_JobTitle(std::u16string* value) override;
  HRESULT put_JobTitle(const std::u16string& value) override;
  HRESULT get_Body(std::u16string* value) override;
  HRESULT put_Body(const std::u16string& value) override;
  HRESULT get_Birthday(double* value) override;
  HRESULT put_Birthday(double value) override;
  HRESULT get_Categories(std::u16string* value) override;
  HRESULT put_Categories(const std::u16string& value) override;
  HRESULT get_NetMeetingServer(std::u16string* value) override;
  HRESULT put_NetMeetingServer(const std::u16string& value) override;
  HRESULT get_NetMeetingAlias(std::u16string* value) override;
  HRESULT put_NetMeetingAlias(const std::u16string& value) override;
  HRESULT get_InternetFreeBusyAddress(std::u16string* value) override;
  HRESULT put_InternetFreeBusyAddress(const std::u16string& value) override;
  HRESULT get_LastModificationTime(double* value) override;
  HRESULT put_LastModificationTime(double value) override;
  HRESULT get_User1(std::u16string* value) override;
  HRESULT put_User1(const std::u16string& value) override;
  HRESULT get_User2(std::u16string* value) override;
  HRESULT put_User2(const std::u16string& value) override;
  HRESULT get_User3(std::u16string* value) override;
  HRESULT put_User3(const std::u16string& value) override;
  HRESULT get_User4(std::u16string* value) override;
  HRESULT put_User4(const std::u16string& value) override;
  HRESULT get_Sensitivity(EContactSensitivity* value) override;
  HRESULT put_Sensitivity(EContactSensitivity value) override;
  HRESULT get_Gender(EContactGender* value) override;
  HRESULT put_Gender(EContactGender value) override;
  HRESULT get_UID(std::u16string* value) override;
  HRESULT put_UID(const std::u16string& value) override;
  HRESULT get_SelectedMailingAddress(EContactAddress* value) override;
  HRESULT put_SelectedMailingAddress(EContactAddress value) override;
  HRESULT get_Hobby(std::u16string* value) override;
  HRESULT put_Hobby(const std::u16string& value) override;
  HRESULT get_Account(std::u16string* value) override;
  HRESULT put_Account(const std::u16string& value) override;
  HRESULT get_BillingInformation(std::u16string* value) override;
  HRESULT put_BillingInformation(const std::u16string& value) override;
  HRESULT get_GovernmentIDNumber(std::u16string* value) override;
  HRESULT put_GovernmentIDNumber(const std::u16string& value) override;
  HRESULT get_Keyword(std::u16string* value) override;
  HRESULT put_Keyword(const std::u16string& value) override;
  HRESULT get_Location(std::u16string* value) override;
  HRESULT put_Location(const std::u16string& value) override;
  HRESULT get_LocationEx(std::u16string* value) override;
  HRESULT put_LocationEx(const std::u16string& value) override;
  HRESULT get_Mileage(std::u16string* value) override;
  HRESULT put_Mileage(const std::u16string& value) override;
  HRESULT get_OrganizationalIDNumber(std::u16string* value) override;
  HRESULT put_OrganizationalIDNumber(const std::u16string& value) override;
  HRESULT get_School(std::u16string* value) override;
  HRESULT put_School(const std::u16string& value) override;
  HRESULT get_YomiCompany(std::u16string* value) override;
  HRESULT put_YomiCompany(const std::u16string& value) override;
  HRESULT BodyAsSingleString(std::int32_t max_chars, std::u16string* value) override;
  HRESULT get_BirthdayIsEmpty(bool* value) override;
  HRESULT get_NetMeetingNames(std::u16string* value) override;
  HRESULT put_NetMeetingNames(const std::u16string& value) override;
  HRESULT get_LastModificationTimeIsEmpty(bool* value) override;
  HRESULT get_BusinessAddress(std::shared_ptr<ICardContactAddress>* value) override;
  HRESULT get_HomeAddress(std::shared_ptr<ICardContactAddress>* value) override;
  HRESULT get_OtherAddress(std::shared_ptr<ICardContactAddress>* value) override;
  HRESULT AddAddress(const std::u16string& post_office_box, const std::u16string& office_location,
                     const std::u16string& street, const std::u16string& city,
                     const std::u16string& state, const std::u16string& postal_code,
                     const std::u16string& country, EContactAddress address_type,
                     bool* added) override;
  HRESULT get_Email1(std::u16string* value) override;
  HRESULT get_Email1AddressType(std::u16string* value) override;
  HRESULT get_Email2(std::u16string* value) override;
  HRESULT get_Email2AddressType(std::u16string* value) override;
  HRESULT get_Email3(std::u16string* value) override;
  HRESULT get_Email3AddressType(std::u16string* value) override;
  HRESULT AddEmail(const std::u16string& email, const Variant& outlook_type) override;
  HRESULT get_BusinessTelephoneNumber(std::u16string* value) override;
  HRESULT get_Business2TelephoneNumber(std::u16string* value) override;
  HRESULT get_BusinessFaxNumber(std::u16string* value) override;
  HRESULT get_HomeTelephoneNumber(std::u16string* value) override;
  HRESULT get_Home2TelephoneNumber(std::u16string* value) override;
  HRESULT get_HomeFaxNumber(std::u16string* value) override;
  HRESULT get_MobileTelephoneNumber(std::u16string* value) override;
  HRESULT get_CarTelephoneNumber(std::u16string* value) override;
  HRESULT get_PagerNumber(std::u16string* value) override;
  HRESULT get_ISDNNumber(std::u16string* value) override;
  HRESULT get_PrimaryTelephoneNumber(std::u16string* value) override;
  HRESULT get_OtherTelephoneNumber(std::u16string* value) override;
  HRESULT get_OtherFaxNumber(std::u16string* value) override;
  HRESULT get_AssistantTelephoneNumber(std::u16string* value) override;
  HRESULT get_CompanyMainTelephoneNumber(std::u16string* value) override;
  HRESULT get_CallbackTelephoneNumber(std::u16string* value) override;
  HRESULT get_RadioTelephoneNumber(std::u16string* value) override;
  HRESULT get_TTYTDDTelephoneNumber(std::u16string* value) override;
  HRESULT get_TelexNumber(std::u16string* value) override;
  HRESULT AddTelephone(const std::u16string& phone, EContactTelephone kind) override;
  HRESULT AddTelephoneEx(const std::u16string& phone, const Variant& types,
                         const Variant& ab_label) override;
  HRESULT get_ManagerName(std::u16string* value) override;
  HRESULT get_AssistantName(std::u16string* value) override;
  HRESULT get_Spouse(std::u16string* value) override;
  HRESULT get_Children(std::u16string* value) override;
  HRESULT AddRelatedName(const std::u16string& name, EContactRelatedName label,
                         const Variant& label_other) override;
  HRESULT get_BusinessHomePage(std::u16string* value) override;
  HRESULT get_PersonalHomePage(std::u16string* value) override;
  HRESULT AddUrl(const std::u16string& value, std::int32_t kind) override;
  HRESULT get_IMAddress(std::u16string* value) override;
  HRESULT AddIMAddress(const std::u16string& value) override;
  HRESULT AddIMPP(const std::u16string& value, const std::u16string& type,
                  const std::u16string& service_type, const std::u16string& protocol,
                  const std::u16string& ab_label) override;
  HRESULT get_Anniversary(double* value) override;
  HRESULT get_AnniversaryIsEmpty(bool* value) override;
  HRESULT AddAnniversaryDate(double value, const Variant& type) override;
  HRESULT AddDate(double value, const std::u16string& ab_label, const Variant& type) override;
  HRESULT get_Photo(std::vector<std::uint8_t>* value) override;
  HRESULT get_PhotoSize(std::int32_t* value) override;
  HRESULT get_PhotoExt(std::u16string* value) override;
  HRESULT SetPhoto(const std::vector<std::uint8_t>& photo, const Variant& photo_ext) override;
  HRESULT get_FullName(std::u16string* value) override;
  HRESULT get_FileAs(std::u16string* value) override;
  HRESULT get_ReferredBy(std::u16string* value) override;
  HRESULT put_ReferredBy(const std::u16string& value) override;
  HRESULT Clear() override;
  HRESULT GenerateCard(double version, std::int32_t code_page, const Variant& iso_name,
                       std::vector<std::uint8_t>* card) override;

 private:
  template <typename T>
  HRESULT GetField(T contact::ContactRecord::*field, T* value);
  template <typename T>
  HRESULT PutField(T contact::ContactRecord::*field, const T& value);
  // Runs `read` (record -> value) with the record and pointer checks.
  template <typename T, typename Read>
  HRESULT GetDerived(T* value, Read&& read);
  HRESULT GetAddress(EContactAddress kind, std::shared_ptr<ICardContactAddress>* value);
  CLog* Log() { return &context_->log(); }

  std::shared_ptr<CConverterContext> context_;
  std::unique_ptr<contact::ContactRecord> record_;
  // The address objects handed out, per kind (home, business, other).
  std::array<std::shared_ptr<CComCardContactAddress>, 3> addresses_;
  std::unique_ptr<vcard::CCardExport> writer_;  // made by the first GenerateCard
  CLiveObject live_;
};

}  // namespace velmora::automation
