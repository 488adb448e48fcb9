// CardContact and CardContactAddress: fields, list operations, checks and
// the generated card.
#include "automation/automation_test_support.h"

namespace velmora::test {
namespace {

class CardContactTest : public ::testing::Test {
 protected:
  void SetUp() override {
    converter_ = NewConverter(u"Contact", u"contact");
    ASSERT_EQ(converter_->CreateCardContact(&contact_), S_OK);
  }
  std::string Generate(double version) {
    std::vector<std::uint8_t> card;
    EXPECT_EQ(contact_->GenerateCard(version, 65001, Variant(), &card), S_OK);
    return Text(card);
  }
  std::string Log() { return LogText("Contact", "contact"); }

  std::shared_ptr<ICardConverter> converter_;
  std::shared_ptr<ICardContact> contact_;
};

TEST_F(CardContactTest, PlainFieldsReadBackUnchanged) {
  using Get = HRESULT (ICardContact::*)(std::u16string*);
  using Put = HRESULT (ICardContact::*)(const std::u16string&);
  const std::pair<Get, Put> fields[] = {
      {&ICardContact::get_FirstName, &ICardContact::put_FirstName},
      {&ICardContact::get_LastName, &ICardContact::put_LastName},
      {&ICardContact::get_Profession, &ICardContact::put_Profession},
      {&ICardContact::get_Categories, &ICardContact::put_Categories},
      {&ICardContact::get_User4, &ICardContact::put_User4},
      {&ICardContact::get_YomiCompany, &ICardContact::put_YomiCompany},
      {&ICardContact::get_UID, &ICardContact::put_UID},
  };
  int n = 0;
  for (const auto& [get, put] : fields) {
    const std::u16string value = u"  value " + U16(std::to_string(n++)) + u"\r\n";
    ASSERT_EQ(((*contact_).*put)(value), S_OK);
    std::u16string read;
    ASSERT_EQ(((*contact_).*get)(&read), S_OK);
    EXPECT_EQ(read, value);
  }
  // Enumerations and dates are stored unchanged, whatever their value.
  ASSERT_EQ(contact_->put_Sensitivity(static_cast<EContactSensitivity>(9)), S_OK);
  EContactSensitivity sensitivity = vlmcsNormal;
  ASSERT_EQ(contact_->get_Sensitivity(&sensitivity), S_OK);
  EXPECT_EQ(sensitivity, 9);
  bool empty = false;
  ASSERT_EQ(contact_->get_BirthdayIsEmpty(&empty), S_OK);
  EXPECT_TRUE(empty);
  for (double none : {0.0, 949633.0, 949998.0}) {
    ASSERT_EQ(contact_->put_Birthday(none), S_OK);
    ASSERT_EQ(contact_->get_BirthdayIsEmpty(&empty), S_OK);
    EXPECT_TRUE(empty) << none;
  }
  ASSERT_EQ(contact_->put_Birthday(25569.0), S_OK);
  ASSERT_EQ(contact_->get_BirthdayIsEmpty(&empty), S_OK);
  EXPECT_FALSE(empty);
}

TEST_F(CardContactTest, NamesAndNetMeeting) {
  contact_->put_Title(u"Dr");
  contact_->put_FirstName(u"John");
  contact_->put_MiddleName(u"Q");
  contact_->put_LastName(u"Public");
  contact_->put_Suffix(u"Jr");
  std::u16string value;
  ASSERT_EQ(contact_->get_FullName(&value), S_OK);
  EXPECT_EQ(value, u"Dr John Q Public Jr");
  ASSERT_EQ(contact_->get_FileAs(&value), S_OK);
  EXPECT_EQ(value, u"Public, John Q");

  struct Case {
    std::u16string set, server, alias;
  };
  for (const Case& c : {Case{u"callto://srv/me", u"srv", u"me"}, Case{u"CALLTO://srv", u"srv", u""},
                        Case{u"plain", u"plain", u""}, Case{u"", u"", u""}}) {
    ASSERT_EQ(contact_->put_NetMeetingNames(c.set), S_OK);
    ASSERT_EQ(contact_->get_NetMeetingServer(&value), S_OK);
    EXPECT_EQ(value, c.server) << U8(c.set);
    ASSERT_EQ(contact_->get_NetMeetingAlias(&value), S_OK);
    EXPECT_EQ(value, c.alias) << U8(c.set);
  }
  ASSERT_EQ(contact_->get_NetMeetingNames(&value), S_OK);
  EXPECT_EQ(value, u"");
}

TEST_F(CardContactTest, BodyAsSingleString) {
  contact_->put_Body(u"  first line\r\nsecond\rthird\nend  ");
  std::u16string value;
  ASSERT_EQ(contact_->BodyAsSingleString(0, &value), S_OK);
  EXPECT_EQ(value, u"first line second third end");
  ASSERT_EQ(contact_->BodyAsSingleString(10, &value), S_OK);
  EXPECT_EQ(value, u"first line");
  ASSERT_EQ(contact_->BodyAsSingleString(1000, &value), S_OK);
  EXPECT_EQ(value, u"first line second third end");
}

TEST_F(CardContactTest, AddAddressAndAddressObjects) {
  bool added = true;
  ASSERT_EQ(contact_->AddAddress(u" ", u"", u"\t", u"", u"", u"", u"", vlmcaHome, &added), S_OK);
  EXPECT_FALSE(added);
  std::shared_ptr<ICardContactAddress> home;
  ASSERT_EQ(contact_->get_HomeAddress(&home), S_OK);
  EXPECT_FALSE(home);

  ASSERT_EQ(contact_->AddAddress(u"PO 1", u"Suite 5", u"1 Main St", u"Springfield", u"IL", u"12345",
                                 u"USA", vlmcaHome, &added),
            S_OK);
  EXPECT_TRUE(added);
  ASSERT_EQ(contact_->get_HomeAddress(&home), S_OK);
  ASSERT_TRUE(home);
  std::shared_ptr<ICardContactAddress> again;
  ASSERT_EQ(contact_->get_HomeAddress(&again), S_OK);
  EXPECT_EQ(home, again);

  std::u16string value;
  ASSERT_EQ(home->get_Types(&value), S_OK);
  EXPECT_EQ(value, u"HOME");
  ASSERT_EQ(home->get_StreetAndOfficeLocation(&value), S_OK);
  EXPECT_EQ(value, u"Suite 5 1 Main St");
  ASSERT_EQ(home->ToString(u"", &value), S_OK);
  EXPECT_EQ(value, u"1 Main St, Springfield, IL, 12345, USA");
  ASSERT_EQ(home->ToString(u" | ", &value), S_OK);
  EXPECT_EQ(value, u"1 Main St | Springfield | IL | 12345 | USA");
  bool flag = false;
  ASSERT_EQ(home->HasType(u"home", &flag), S_OK);
  EXPECT_TRUE(flag);
  ASSERT_EQ(home->HasType(u"WORK", &flag), S_OK);
  EXPECT_FALSE(flag);
  ASSERT_EQ(home->get_IsEmpty(&flag), S_OK);
  EXPECT_FALSE(flag);

  // A business address and one with an invalid kind (added without type).
  ASSERT_EQ(contact_->AddAddress(u"", u"", u"2 Work Rd", u"", u"", u"", u"", vlmcaBusiness, &added),
            S_OK);
  ASSERT_EQ(contact_->AddAddress(u"", u"", u"3 Odd Rd", u"", u"", u"", u"",
                                 static_cast<EContactAddress>(7), &added),
            S_OK);
  EXPECT_TRUE(added);
  EXPECT_NE(Log().find("Invalid AddressType(7)"), std::string::npos);
  std::shared_ptr<ICardContactAddress> business, other;
  ASSERT_EQ(contact_->get_BusinessAddress(&business), S_OK);
  ASSERT_TRUE(business);
  ASSERT_EQ(business->get_Street(&value), S_OK);
  EXPECT_EQ(value, u"2 Work Rd");
  ASSERT_EQ(contact_->AddAddress(u"", u"", u"4 Other Rd", u"", u"", u"", u"", vlmcaOther, &added),
            S_OK);
  ASSERT_EQ(contact_->get_OtherAddress(&other), S_OK);
  ASSERT_TRUE(other);
  ASSERT_EQ(other->get_Types(&value), S_OK);
  EXPECT_EQ(value, u"POSTAL");
  EXPECT_EQ(contact_->AddAddress(u"", u"", u"x", u"", u"", u"", u"", vlmcaHome, nullptr),
            E_INVALIDARG);
  EXPECT_EQ(contact_->get_HomeAddress(nullptr), E_INVALIDARG);
}

TEST_F(CardContactTest, AddressObjectFollowsTheRecordOnlyWhenAskedAgain) {
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(
      converter_->LoadMemory(Bytes(Card("Doe", "John", "", "ADR;TYPE=HOME:;;Old St;Town;;;\r\n")),
                             0, nullptr, &cards),
      S_OK);
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(cards->ItemContact(0, &contact), S_OK);
  std::shared_ptr<ICardContactAddress> first, second;
  ASSERT_EQ(contact->get_HomeAddress(&first), S_OK);
  ASSERT_TRUE(first);
  contact->Clear();
  bool added = false;
  ASSERT_EQ(contact->AddAddress(u"", u"", u"New St", u"", u"", u"", u"", vlmcaHome, &added), S_OK);
  ASSERT_EQ(contact->get_HomeAddress(&second), S_OK);
  ASSERT_TRUE(second);
  EXPECT_NE(first, second);
  std::u16string street;
  ASSERT_EQ(first->get_Street(&street), S_OK);
  EXPECT_EQ(street, u"Old St");  // a copy
  ASSERT_EQ(second->get_Street(&street), S_OK);
  EXPECT_EQ(street, u"New St");
}

TEST_F(CardContactTest, EmailsAndTheirChecks) {
  EXPECT_EQ(contact_->AddEmail(u""), E_INVALIDARG);
  EXPECT_NE(Log().find("Email must be NOT empty"), std::string::npos);
  EXPECT_EQ(contact_->AddEmail(u"a@x.example", Variant(std::int32_t{1})), E_INVALIDARG);
  EXPECT_NE(Log().find("OutlookType must be BSTR or Missing"), std::string::npos);
  ASSERT_EQ(contact_->AddEmail(u"a@x.example", Variant(u"SMTP")), S_OK);
  ASSERT_EQ(contact_->AddEmail(u"b@x.example"), S_OK);
  std::u16string value;
  ASSERT_EQ(contact_->get_Email1(&value), S_OK);
  EXPECT_EQ(value, u"a@x.example");
  ASSERT_EQ(contact_->get_Email1AddressType(&value), S_OK);
  EXPECT_EQ(value, u"SMTP");
  ASSERT_EQ(contact_->get_Email2(&value), S_OK);
  EXPECT_EQ(value, u"b@x.example");
  ASSERT_EQ(contact_->get_Email3(&value), S_OK);
  EXPECT_EQ(value, u"");
}

struct PhoneCase {
  EContactTelephone kind;
  HRESULT (ICardContact::*slot)(std::u16string*);
};

TEST_F(CardContactTest, EveryTelephoneKindLandsInItsSlot) {
  const PhoneCase cases[] = {
      {vlmctBusiness, &ICardContact::get_BusinessTelephoneNumber},
      {vlmctBusinessFax, &ICardContact::get_BusinessFaxNumber},
      {vlmctHome, &ICardContact::get_HomeTelephoneNumber},
      {vlmctHomeFax, &ICardContact::get_HomeFaxNumber},
      {vlmctMobile, &ICardContact::get_MobileTelephoneNumber},
      {vlmctCar, &ICardContact::get_CarTelephoneNumber},
      {vlmctPager, &ICardContact::get_PagerNumber},
      {vlmctISDN, &ICardContact::get_ISDNNumber},
      {vlmctPrimary, &ICardContact::get_PrimaryTelephoneNumber},
      {vlmctOther, &ICardContact::get_OtherTelephoneNumber},
      {vlmctOtherFax, &ICardContact::get_OtherFaxNumber},
      {vlmctAssistant, &ICardContact::get_AssistantTelephoneNumber},
      {vlmctCompany, &ICardContact::get_CompanyMainTelephoneNumber},
      {vlmctCallback, &ICardContact::get_CallbackTelephoneNumber},
      {vlmctRadio, &ICardContact::get_RadioTelephoneNumber},
      {vlmctTTYTDD, &ICardContact::get_TTYTDDTelephoneNumber},
      {vlmctTelex, &ICardContact::get_TelexNumber},
  };
  for (const PhoneCase& c : cases) {
    std::shared_ptr<ICardContact> contact;
    ASSERT_EQ(converter_->CreateCardContact(&contact), S_OK);
    const std::u16string number = u"+49 " + U16(std::to_string(100 + c.kind));
    ASSERT_EQ(contact->AddTelephone(number, c.kind), S_OK) << c.kind;
    std::u16string value;
    ASSERT_EQ(((*contact).*c.slot)(&value), S_OK);
    EXPECT_EQ(value, number) << c.kind;
  }
  for (int bad : {0, 18, -1}) {
    EXPECT_EQ(contact_->AddTelephone(u"1", static_cast<EContactTelephone>(bad)), E_INVALIDARG);
  }
  EXPECT_NE(Log().find("Invalid OlType(18)"), std::string::npos);
  EXPECT_EQ(contact_->AddTelephone(u"", vlmctHome), E_INVALIDARG);
}

TEST_F(CardContactTest, AddTelephoneExChecks) {
  EXPECT_EQ(contact_->AddTelephoneEx(u"1", Variant(1.0)), E_INVALIDARG);
  EXPECT_NE(Log().find("Types must be BSTR or Missing"), std::string::npos);
  EXPECT_EQ(contact_->AddTelephoneEx(u"1", Variant(u"CELL"), Variant(false)), E_INVALIDARG);
  EXPECT_NE(Log().find("ABLabel must be BSTR or Missing"), std::string::npos);
  std::u16string value;
  // The slots are rebuilt after each addition.
  ASSERT_EQ(contact_->get_MobileTelephoneNumber(&value), S_OK);
  EXPECT_EQ(value, u"");
  ASSERT_EQ(contact_->AddTelephoneEx(u"555", Variant(u"CELL")), S_OK);
  ASSERT_EQ(contact_->get_MobileTelephoneNumber(&value), S_OK);
  EXPECT_EQ(value, u"555");
}

TEST_F(CardContactTest, RelatedNamesAndReferredBy) {
  EXPECT_EQ(contact_->AddRelatedName(u"", vlmcrnManager), E_INVALIDARG);
  EXPECT_EQ(contact_->AddRelatedName(u"X", vlmcrnManager, Variant(std::int32_t{2})), E_INVALIDARG);
  EXPECT_NE(Log().find("vLabelOther must be BSTR or Missing"), std::string::npos);
  EXPECT_EQ(contact_->AddRelatedName(u"X", vlmcrnOther), E_INVALIDARG);
  EXPECT_EQ(contact_->AddRelatedName(u"X", vlmcrnOther, Variant(u"")), E_INVALIDARG);
  ASSERT_EQ(contact_->AddRelatedName(u"Boss", vlmcrnManager), S_OK);
  ASSERT_EQ(contact_->AddRelatedName(u"Kid", vlmcrnChild), S_OK);
  ASSERT_EQ(contact_->AddRelatedName(u"Pal", vlmcrnOther, Variant(u"Buddy")), S_OK);
  std::u16string value;
  ASSERT_EQ(contact_->get_ManagerName(&value), S_OK);
  EXPECT_EQ(value, u"Boss");
  ASSERT_EQ(contact_->get_Children(&value), S_OK);
  EXPECT_EQ(value, u"Kid");

  ASSERT_EQ(contact_->put_ReferredBy(u"Ref"), S_OK);
  ASSERT_EQ(contact_->get_ReferredBy(&value), S_OK);
  EXPECT_EQ(value, u"Ref");
  ASSERT_EQ(contact_->put_ReferredBy(u"Ref2"), S_OK);
  ASSERT_EQ(contact_->get_ReferredBy(&value), S_OK);
  EXPECT_EQ(value, u"Ref2");
  ASSERT_EQ(contact_->put_ReferredBy(u""), S_OK);
  ASSERT_EQ(contact_->get_ReferredBy(&value), S_OK);
  EXPECT_EQ(value, u"");
  // The other related names stay.
  ASSERT_EQ(contact_->get_ManagerName(&value), S_OK);
  EXPECT_EQ(value, u"Boss");
  const std::string card = Generate(3.0);
  EXPECT_NE(card.find("Buddy"), std::string::npos) << card;
  EXPECT_EQ(card.find("Ref2"), std::string::npos) << card;
}

TEST_F(CardContactTest, UrlsImppsAndDates) {
  EXPECT_EQ(contact_->AddUrl(u"", vlmcuBusiness), E_INVALIDARG);
  ASSERT_EQ(contact_->AddUrl(u"https://both.example", 3), S_OK);
  ASSERT_EQ(contact_->AddUrl(u"https://odd.example", 4), S_OK);
  EXPECT_NE(Log().find("Unknown bits in EContactUrl (4)"), std::string::npos);
  ASSERT_EQ(contact_->AddUrl(u"https://home.example", vlmcuPersonal), S_OK);
  std::u16string value;
  ASSERT_EQ(contact_->get_BusinessHomePage(&value), S_OK);
  EXPECT_EQ(value, u"https://both.example");
  ASSERT_EQ(contact_->get_PersonalHomePage(&value), S_OK);
  EXPECT_EQ(value, u"https://both.example");  // "WORK,HOME" is both kinds

  EXPECT_EQ(contact_->AddIMPP(u"", u"", u"", u"", u""), E_INVALIDARG);
  ASSERT_EQ(contact_->AddIMAddress(u"me@im.example"), S_OK);
  ASSERT_EQ(contact_->get_IMAddress(&value), S_OK);
  EXPECT_EQ(value, u"me@im.example");

  EXPECT_EQ(contact_->AddDate(0.0, u"_$!<Other>!$_"), S_FALSE);
  EXPECT_EQ(contact_->AddDate(40000.0, u"_$!<Other>!$_", Variant(std::int32_t{1})), E_INVALIDARG);
  EXPECT_NE(Log().find("vType must be BSTR or Missing"), std::string::npos);
  bool empty = false;
  ASSERT_EQ(contact_->get_AnniversaryIsEmpty(&empty), S_OK);
  EXPECT_TRUE(empty);
  ASSERT_EQ(contact_->AddAnniversaryDate(40000.0), S_OK);
  double date = 0;
  ASSERT_EQ(contact_->get_Anniversary(&date), S_OK);
  EXPECT_EQ(date, 40000.0);
  ASSERT_EQ(contact_->get_AnniversaryIsEmpty(&empty), S_OK);
  EXPECT_FALSE(empty);
}

TEST_F(CardContactTest, Photo) {
  std::vector<std::uint8_t> photo;
  ASSERT_EQ(contact_->get_Photo(&photo), S_OK);
  EXPECT_TRUE(photo.empty());
  EXPECT_EQ(contact_->get_Photo(nullptr), E_INVALIDARG);
  EXPECT_EQ(contact_->SetPhoto({}), E_INVALIDARG);
  const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0};
  EXPECT_EQ(contact_->SetPhoto(png, Variant(2.0)), E_INVALIDARG);
  EXPECT_NE(Log().find("vPhotoExt must be BSTR or Missing"), std::string::npos);
  ASSERT_EQ(contact_->SetPhoto(png), S_OK);
  std::u16string ext;
  ASSERT_EQ(contact_->get_PhotoExt(&ext), S_OK);
  EXPECT_EQ(ext, u"PNG");
  std::int32_t size = 0;
  ASSERT_EQ(contact_->get_PhotoSize(&size), S_OK);
  EXPECT_EQ(size, 12);
  ASSERT_EQ(contact_->get_Photo(&photo), S_OK);
  EXPECT_EQ(photo, png);
  ASSERT_EQ(contact_->SetPhoto(png, Variant(u"GIF")), S_OK);
  ASSERT_EQ(contact_->get_PhotoExt(&ext), S_OK);
  EXPECT_EQ(ext, u"GIF");
}

TEST_F(CardContactTest, GenerateInBothVersionsAndReadBack) {
  contact_->put_FirstName(u"J\u00FCrgen");
  contact_->put_LastName(u"M\u00FCller");
  contact_->put_CompanyName(u"Acme");
  contact_->put_Body(u"two\r\nlines");
  contact_->AddTelephone(u"+49 30 1234", vlmctMobile);
  contact_->AddEmail(u"jm@acme.example");
  const std::string v21 = Generate(2.1);
  EXPECT_EQ(v21.rfind("BEGIN:VCARD\r\nVERSION:2.1\r\n", 0), 0u) << v21;
  EXPECT_EQ(v21.find("PRODID"), std::string::npos);
  const std::string v30 = Generate(3.0);
  EXPECT_EQ(v30.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u) << v30;
  EXPECT_NE(v30.find("M\xC3\xBCller"), std::string::npos) << v30;

  // Each generated card loads back into the same fields.
  for (const std::string& card : {v21, v30}) {
    std::shared_ptr<ICards> cards;
    ASSERT_EQ(converter_->LoadMemory(Bytes(card), 0, nullptr, &cards), S_OK);
    std::shared_ptr<ICardContact> back;
    ASSERT_EQ(cards->ItemContact(0, &back), S_OK);
    std::u16string value;
    ASSERT_EQ(back->get_LastName(&value), S_OK);
    EXPECT_EQ(value, u"M\u00FCller");
    ASSERT_EQ(back->get_Body(&value), S_OK);
    EXPECT_EQ(value, u"two\r\nlines");
    ASSERT_EQ(back->get_MobileTelephoneNumber(&value), S_OK);
    EXPECT_EQ(value, u"+49 30 1234");
    ASSERT_EQ(back->get_Email1(&value), S_OK);
    EXPECT_EQ(value, u"jm@acme.example");
  }
}

TEST_F(CardContactTest, GenerateCardArguments) {
  EXPECT_EQ(contact_->GenerateCard(3.0, 65001, Variant(), nullptr), E_INVALIDARG);
  std::vector<std::uint8_t> card = {1, 2};
  EXPECT_EQ(contact_->GenerateCard(3.0, 65001, Variant(std::int32_t{3}), &card), E_INVALIDARG);
  EXPECT_TRUE(card.empty());
  EXPECT_EQ(contact_->GenerateCard(3.0, 4242, Variant(), &card), E_INVALIDARG);
  ASSERT_EQ(contact_->GenerateCard(7.5, 1251, Variant(), &card), S_OK);
  EXPECT_NE(Text(card).find("VERSION:3.0"), std::string::npos);
}

TEST_F(CardContactTest, ContactFromACorpusCard) {
  std::shared_ptr<ICards> cards;
  ASSERT_EQ(converter_->LoadFile(U16(CorpusDir() / "vcard30" / "ezvcard_John_Doe_IPHONE.vcf"), 0,
                                 false, nullptr, &cards),
            S_OK);
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(cards->ItemContact(0, &contact), S_OK);
  std::u16string value;
  ASSERT_EQ(contact->get_LastName(&value), S_OK);
  EXPECT_EQ(value, u"Doe");
  ASSERT_EQ(contact->get_CompanyName(&value), S_OK);
  EXPECT_EQ(value, u"IBM");
  ASSERT_EQ(contact->get_Department(&value), S_OK);
  EXPECT_EQ(value, u"Accounting");
  std::int32_t size = 0;
  ASSERT_EQ(contact->get_PhotoSize(&size), S_OK);
  EXPECT_GT(size, 1000);
  // Both versions generate and load back with the same name.
  for (double version : {2.1, 3.0}) {
    std::vector<std::uint8_t> card;
    ASSERT_EQ(contact->GenerateCard(version, 65001, Variant(), &card), S_OK);
    std::shared_ptr<ICards> again;
    ASSERT_EQ(converter_->LoadMemory(card, 0, nullptr, &again), S_OK);
    std::shared_ptr<ICardPreview> preview;
    ASSERT_EQ(again->ItemPreview(0, &preview), S_OK);
    ASSERT_EQ(preview->get_FileAs(&value), S_OK);
    EXPECT_EQ(value, u"Doe, John Richter,James") << version;
  }
}

TEST_F(CardContactTest, ClearEmptiesEverything) {
  contact_->put_FirstName(u"A");
  contact_->AddEmail(u"a@x.example");
  ASSERT_EQ(contact_->Clear(), S_OK);
  std::u16string value;
  ASSERT_EQ(contact_->get_FirstName(&value), S_OK);
  EXPECT_EQ(value, u"");
  ASSERT_EQ(contact_->get_Email1(&value), S_OK);
  EXPECT_EQ(value, u"");
}

}  // namespace
}  // namespace velmora::test
