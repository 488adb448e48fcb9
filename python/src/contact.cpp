// ICardContact and ICardContactAddress.
#include "common.h"

namespace velmora::python {

namespace {

// The plain fields: read with get_X, replaced with put_X.
#define VELMORA_CONTACT_FIELDS(X) \
  X(FirstName)                    \
  X(MiddleName)                   \
  X(LastName)                     \
  X(Title)                        \
  X(Suffix)                       \
  X(PhoneticFirstName)            \
  X(PhoneticMiddleName)           \
  X(PhoneticLastName)             \
  X(FormattedName)                \
  X(NickName)                     \
  X(MaidenName)                   \
  X(Profession)                   \
  X(CompanyName)                  \
  X(Department)                   \
  X(JobTitle)                     \
  X(Body)                         \
  X(Birthday)                     \
  X(Categories)                   \
  X(NetMeetingServer)             \
  X(NetMeetingAlias)              \
  X(InternetFreeBusyAddress)      \
  X(LastModificationTime)         \
  X(User1)                        \
  X(User2)                        \
  X(User3)                        \
  X(User4)                        \
  X(Sensitivity)                  \
  X(Gender)                       \
  X(UID)                          \
  X(SelectedMailingAddress)       \
  X(Hobby)                        \
  X(Account)                      \
  X(BillingInformation)           \
  X(GovernmentIDNumber)           \
  X(Keyword)                      \
  X(Location)                     \
  X(LocationEx)                   \
  X(Mileage)                      \
  X(OrganizationalIDNumber)       \
  X(School)                       \
  X(YomiCompany)                  \
  X(NetMeetingNames)              \
  X(ReferredBy)

// Read-only members.
#define VELMORA_CONTACT_READ_ONLY(X) \
  X(BirthdayIsEmpty)                 \
  X(LastModificationTimeIsEmpty)     \
  X(BusinessAddress)                 \
  X(HomeAddress)                     \
  X(OtherAddress)                    \
  X(Email1)                          \
  X(Email1AddressType)               \
  X(Email2)                          \
  X(Email2AddressType)               \
  X(Email3)                          \
  X(Email3AddressType)               \
  X(BusinessTelephoneNumber)         \
  X(Business2TelephoneNumber)        \
  X(BusinessFaxNumber)               \
  X(HomeTelephoneNumber)             \
  X(Home2TelephoneNumber)            \
  X(HomeFaxNumber)                   \
  X(MobileTelephoneNumber)           \
  X(CarTelephoneNumber)              \
  X(PagerNumber)                     \
  X(ISDNNumber)                      \
  X(PrimaryTelephoneNumber)          \
  X(OtherTelephoneNumber)            \
  X(OtherFaxNumber)                  \
  X(AssistantTelephoneNumber)        \
  X(CompanyMainTelephoneNumber)      \
  X(CallbackTelephoneNumber)         \
  X(RadioTelephoneNumber)            \
  X(TTYTDDTelephoneNumber)           \
  X(TelexNumber)                     \
  X(ManagerName)                     \
  X(AssistantName)                   \
  X(Spouse)                          \
  X(Children)                        \
  X(BusinessHomePage)                \
  X(PersonalHomePage)                \
  X(IMAddress)                       \
  X(Anniversary)                     \
  X(AnniversaryIsEmpty)              \
  X(Photo)                           \
  X(PhotoSize)                       \
  X(PhotoExt)                        \
  X(FullName)                        \
  X(FileAs)

#define VELMORA_ADDRESS_READ_ONLY(X) \
  X(Types)                           \
  X(ABLabel)                         \
  X(PostOfficeBox)                   \
  X(OfficeLocation)                  \
  X(Street)                          \
  X(StreetAndOfficeLocation)         \
  X(City)                            \
  X(State)                           \
  X(PostalCode)                      \
  X(Country)                         \
  X(IsEmpty)

}  // namespace

void BindContact(py::module_& m) {
  py::class_<ICardContactAddress, IObject, std::shared_ptr<ICardContactAddress>> address(
      m, "ICardContactAddress",
      "A copy of one postal address, taken when it was asked for: it does not follow later "
      "changes of the contact.");
#define VELMORA_BIND_GET(name) address.def("get_" #name, Getter(&ICardContactAddress::get_##name));
  VELMORA_ADDRESS_READ_ONLY(VELMORA_BIND_GET)
#undef VELMORA_BIND_GET
  address
      .def(
          "HasType",
          [](ICardContactAddress& self, const std::u16string& type) {
            bool value = false;
            const HRESULT status = self.HasType(type, &value);
            return py::make_tuple(status, value);
          },
          py::arg("type"), "True when `type` is one of the comma-separated Types (without case).")
      .def(
          "ToString",
          [](ICardContactAddress& self, const std::u16string& delimiter) {
            std::u16string value;
            const HRESULT status = self.ToString(delimiter, &value);
            return py::make_tuple(status, value);
          },
          py::arg("delimiter") = std::u16string(),
          "Street, City, State, PostalCode and Country, trimmed, the empty ones left out, "
          "joined by `delimiter` (\", \" when empty); line breaks become spaces.");

  py::class_<ICardContact, IObject, std::shared_ptr<ICardContact>> contact(
      m, "ICardContact",
      "A contact field by field. Strings are str, dates automation dates (days since "
      "1899-12-30; 0.0 means none).");
#define VELMORA_BIND_FIELD(name)                                \
  contact.def("get_" #name, Getter(&ICardContact::get_##name)); \
  contact.def("put_" #name, &ICardContact::put_##name, py::arg("value"));
  VELMORA_CONTACT_FIELDS(VELMORA_BIND_FIELD)
#undef VELMORA_BIND_FIELD
#define VELMORA_BIND_GET(name) contact.def("get_" #name, Getter(&ICardContact::get_##name));
  VELMORA_CONTACT_READ_ONLY(VELMORA_BIND_GET)
#undef VELMORA_BIND_GET
  contact
      .def(
          "BodyAsSingleString",
          [](ICardContact& self, std::int32_t max_chars) {
            std::u16string value;
            const HRESULT status = self.BodyAsSingleString(max_chars, &value);
            return py::make_tuple(status, value);
          },
          py::arg("max_chars") = 0,
          "Body trimmed, line breaks turned into spaces; at most `max_chars` characters when it "
          "is 1 or more.")
      .def(
          "AddAddress",
          [](ICardContact& self, const std::u16string& post_office_box,
             const std::u16string& office_location, const std::u16string& street,
             const std::u16string& city, const std::u16string& state,
             const std::u16string& postal_code, const std::u16string& country,
             EContactAddress address_type) {
            bool added = false;
            const HRESULT status =
                self.AddAddress(post_office_box, office_location, street, city, state, postal_code,
                                country, address_type, &added);
            return py::make_tuple(status, added);
          },
          py::arg("post_office_box"), py::arg("office_location"), py::arg("street"),
          py::arg("city"), py::arg("state"), py::arg("postal_code"), py::arg("country"),
          py::arg("address_type"),
          "Appends an address typed by `address_type`; blank components only: nothing is added "
          "and `added` is false.")
      .def(
          "AddEmail",
          [](ICardContact& self, const std::u16string& email, const py::object& outlook_type) {
            return self.AddEmail(email, VariantIn(outlook_type));
          },
          py::arg("email"), py::arg("outlook_type") = py::none(),
          "`outlook_type`: None or a string such as \"SMTP\".")
      .def("AddTelephone", &ICardContact::AddTelephone, py::arg("phone"), py::arg("kind"))
      .def(
          "AddTelephoneEx",
          [](ICardContact& self, const std::u16string& phone, const py::object& types,
             const py::object& ab_label) {
            return self.AddTelephoneEx(phone, VariantIn(types), VariantIn(ab_label));
          },
          py::arg("phone"), py::arg("types") = py::none(), py::arg("ab_label") = py::none(),
          "`types` (\"WORK,FAX\") and `ab_label` (an Apple label): None or strings.")
      .def(
          "AddRelatedName",
          [](ICardContact& self, const std::u16string& name, EContactRelatedName label,
             const py::object& label_other) {
            return self.AddRelatedName(name, label, VariantIn(label_other));
          },
          py::arg("name"), py::arg("label"), py::arg("label_other") = py::none(),
          "vlmcrnOther needs `label_other`, a non-empty string.")
      .def("AddUrl", &ICardContact::AddUrl, py::arg("value"), py::arg("kind"),
           "`kind`: EContactUrl bits; 0 adds no type.")
      .def("AddIMAddress", &ICardContact::AddIMAddress, py::arg("value"))
      .def("AddIMPP", &ICardContact::AddIMPP, py::arg("value"), py::arg("type"),
           py::arg("service_type"), py::arg("protocol"), py::arg("ab_label"))
      .def(
          "AddAnniversaryDate",
          [](ICardContact& self, double value, const py::object& type) {
            return self.AddAnniversaryDate(value, VariantIn(type));
          },
          py::arg("value"), py::arg("type") = py::none(),
          "An empty date adds nothing and returns S_FALSE.")
      .def(
          "AddDate",
          [](ICardContact& self, double value, const std::u16string& ab_label,
             const py::object& type) { return self.AddDate(value, ab_label, VariantIn(type)); },
          py::arg("value"), py::arg("ab_label"), py::arg("type") = py::none())
      .def(
          "SetPhoto",
          [](ICardContact& self, const py::object& photo, const py::object& photo_ext) {
            return self.SetPhoto(BytesIn(photo), VariantIn(photo_ext));
          },
          py::arg("photo"), py::arg("photo_ext") = py::none(),
          "`photo_ext`: None or a string; None or empty detects the type from the bytes.")
      .def("Clear", &ICardContact::Clear, "Empties every field and list.")
      .def(
          "GenerateCard",
          [](ICardContact& self, double version, std::int32_t code_page,
             const py::object& iso_name) {
            std::vector<std::uint8_t> card;
            const HRESULT status =
                self.GenerateCard(version, code_page, VariantIn(iso_name), &card);
            return py::make_tuple(status, BytesOut(card));
          },
          py::arg("version") = 3.0, py::arg("code_page") = 65001, py::arg("iso_name") = py::none(),
          "The contact as one vCard item: (status, bytes).");
}

}  // namespace velmora::python
