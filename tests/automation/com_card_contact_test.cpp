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
  bool Logged(std::string_view needle) { return Has(LogText("Contact", "contact"), needle); }
  template <typename V>
  V Prop(HRESULT (ICardContact::*get)(V*)) {
    return Get(*contact_, get);
  }

  std::shared_ptr<ICardConverter> converter_;
  std::shared_ptr<ICardContact> contact_;
};

TEST_F(CardContactTest, TextKeepsItsSpacesAndEmptyDatesAreRecognised) {
  const std::u16string value = u"  value\r\n";
  ASSERT_EQ(contact_->put_Categories(value), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_Categories), value);
  EXPECT_TRUE(Prop(&ICardContact::get_BirthdayIsEmpty));
  // The rule for empty dates is the record's (ContactRecordTest.DateRule).
  ASSERT_EQ(contact_->put_Birthday(25569.0), S_OK);
  EXPECT_FALSE(Prop(&ICardContact::get_BirthdayIsEmpty));
}

TEST_F(CardContactTest, NamesAndNetMeeting) {
  contact_->put_Title(u"Dr");
  contact_->put_FirstName(u"John");
  contact_->put_MiddleName(u"Q");
  contact_->put_LastName(u"Public");
  contact_->put_Suffix(u"Jr");
  EXPECT_EQ(Prop(&ICardContact::get_FullName), u"Dr John Q Public Jr");
  EXPECT_EQ(Prop(&ICardContact::get_FileAs), u"Public, John Q");
  // The parsing rule is the record's; here only that the object hands it on.
  ASSERT_EQ(contact_->put_NetMeetingNames(u"callto://srv/me"), S_OK);
  EXPECT_EQ(
      Prop(&ICardContact::get_NetMeetingServer) + u"|" + Prop(&ICardContact::get_NetMeetingAlias),
      u"srv|me");
  EXPECT_EQ(Prop(&ICardContact::get_NetMeetingNames), u"callto://srv/me");
}

TEST_F(CardContactTest, BodyAsSingleString) {
  contact_->put_Body(u"  first line\r\nsecond\rthird\nend  ");
  for (auto [limit, expected] : {std::pair{0, u"first line second third end"},
                                 {10, u"first line"},
                                 {1000, u"first line second third end"}}) {
    std::u16string value;
    EXPECT_EQ(contact_->BodyAsSingleString(limit, &value), S_OK);
    EXPECT_EQ(value, expected);
  }
}

TEST_F(CardContactTest, AddAddressAndAddressObjects) {
  const auto add = [&](const char16_t* street, EContactAddress kind) {
    bool added = false;
    EXPECT_EQ(contact_->AddAddress(u"", u"", street, u"", u"", u"", u"", kind, &added), S_OK);
    return added;
  };
  EXPECT_FALSE(add(u" \t", vlmcaHome));
  EXPECT_FALSE(Prop(&ICardContact::get_HomeAddress));
  bool added = false;
  ASSERT_EQ(contact_->AddAddress(u"PO 1", u"Suite 5", u"1 Main St", u"Springfield", u"IL", u"12345",
                                 u"USA", vlmcaHome, &added),
            S_OK);
  EXPECT_TRUE(added);
  const auto home = Prop(&ICardContact::get_HomeAddress);
  ASSERT_TRUE(home);
  EXPECT_EQ(home, Prop(&ICardContact::get_HomeAddress));
  std::u16string plain, separated;
  ASSERT_EQ(home->ToString(u"", &plain), S_OK);
  ASSERT_EQ(home->ToString(u" | ", &separated), S_OK);
  EXPECT_EQ(Get(*home, &ICardContactAddress::get_Types) + u"/" +
                Get(*home, &ICardContactAddress::get_StreetAndOfficeLocation) + u"/" + plain +
                u"/" + separated,
            u"HOME/Suite 5 1 Main St/1 Main St, Springfield, IL, 12345, USA/"
            u"1 Main St | Springfield | IL | 12345 | USA");
  EXPECT_EQ(Get(*home, &ICardContactAddress::get_IsEmpty), false);
  bool home_type = false, work_type = true;
  ASSERT_EQ(home->HasType(u"home", &home_type), S_OK);
  ASSERT_EQ(home->HasType(u"WORK", &work_type), S_OK);
  EXPECT_TRUE(home_type && !work_type);

  // A business address and one with an invalid kind (added without type).
  EXPECT_TRUE(add(u"2 Work Rd", vlmcaBusiness));
  EXPECT_TRUE(add(u"3 Odd Rd", static_cast<EContactAddress>(7)));
  EXPECT_TRUE(Logged("Invalid AddressType(7)"));
  EXPECT_TRUE(add(u"4 Other Rd", vlmcaOther));
  const auto business = Prop(&ICardContact::get_BusinessAddress),
             other = Prop(&ICardContact::get_OtherAddress);
  ASSERT_TRUE(business && other);
  EXPECT_EQ(Get(*business, &ICardContactAddress::get_Street) + u"|" +
                Get(*other, &ICardContactAddress::get_Types),
            u"2 Work Rd|POSTAL");
  EXPECT_EQ(contact_->AddAddress(u"", u"", u"x", u"", u"", u"", u"", vlmcaHome, nullptr),
            E_INVALIDARG);
  EXPECT_EQ(contact_->get_HomeAddress(nullptr), E_INVALIDARG);
}

TEST_F(CardContactTest, AddressObjectFollowsTheRecordOnlyWhenAskedAgain) {
  const auto cards =
      LoadText(*converter_, Card("Doe", "John", "", "ADR;TYPE=HOME:;;Old St;Town;;;\r\n"));
  ASSERT_TRUE(cards);
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(cards->ItemContact(0, &contact), S_OK);
  const auto first = Get(*contact, &ICardContact::get_HomeAddress);
  ASSERT_TRUE(first);
  contact->Clear();
  bool added = false;
  ASSERT_EQ(contact->AddAddress(u"", u"", u"New St", u"", u"", u"", u"", vlmcaHome, &added), S_OK);
  const auto second = Get(*contact, &ICardContact::get_HomeAddress);
  ASSERT_TRUE(second && first != second);
  EXPECT_EQ(Get(*first, &ICardContactAddress::get_Street), u"Old St");  // a copy
  EXPECT_EQ(Get(*second, &ICardContactAddress::get_Street), u"New St");
}

TEST_F(CardContactTest, EmailsAndTheirChecks) {
  ASSERT_EQ(contact_->AddEmail(u"a@x.example", Variant(u"SMTP")), S_OK);
  ASSERT_EQ(contact_->AddEmail(u"b@x.example"), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_Email1) + u"|" + Prop(&ICardContact::get_Email1AddressType) +
                u"|" + Prop(&ICardContact::get_Email2) + u"|" + Prop(&ICardContact::get_Email3),
            u"a@x.example|SMTP|b@x.example|");
}

// The first and last kinds and one between; the slots' own rules are the
// record's (PhoneSlotsTest).
TEST_F(CardContactTest, TelephoneKindsLandInTheirSlots) {
  const std::pair<EContactTelephone, HRESULT (ICardContact::*)(std::u16string*)> cases[] = {
      {vlmctBusiness, &ICardContact::get_BusinessTelephoneNumber},
      {vlmctMobile, &ICardContact::get_MobileTelephoneNumber},
      {vlmctTelex, &ICardContact::get_TelexNumber},
  };
  for (const auto& c : cases) {
    std::shared_ptr<ICardContact> contact;
    ASSERT_EQ(converter_->CreateCardContact(&contact), S_OK);
    const std::u16string number = u"+49 " + U16(std::to_string(100 + c.first));
    ASSERT_EQ(contact->AddTelephone(number, c.first), S_OK) << c.first;
    EXPECT_EQ(Get(*contact, c.second), number) << c.first;
  }
  for (int bad : {0, 18, -1}) {
    EXPECT_EQ(contact_->AddTelephone(u"1", static_cast<EContactTelephone>(bad)), E_INVALIDARG);
  }
  EXPECT_TRUE(Logged("Invalid OlType(18)"));
  // AddTelephoneEx rebuilds the slots too.
  EXPECT_EQ(Prop(&ICardContact::get_MobileTelephoneNumber), u"");
  ASSERT_EQ(contact_->AddTelephoneEx(u"555", Variant(u"CELL")), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_MobileTelephoneNumber), u"555");
}

TEST_F(CardContactTest, RelatedNamesAndReferredBy) {
  ASSERT_EQ(contact_->AddRelatedName(u"Boss", vlmcrnManager), S_OK);
  ASSERT_EQ(contact_->AddRelatedName(u"Kid", vlmcrnChild), S_OK);
  ASSERT_EQ(contact_->AddRelatedName(u"Pal", vlmcrnOther, Variant(u"Buddy")), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_Children), u"Kid");
  // ReferredBy replaces its one related name; the others stay.
  for (const char16_t* referred : {u"Ref", u"Ref2", u""}) {
    ASSERT_EQ(contact_->put_ReferredBy(referred), S_OK);
    EXPECT_EQ(Prop(&ICardContact::get_ReferredBy), referred);
  }
  EXPECT_EQ(Prop(&ICardContact::get_ManagerName), u"Boss");
  const std::string card = Generate(3.0);
  EXPECT_TRUE(Has(card, "Buddy") && !Has(card, "Ref")) << card;
}

TEST_F(CardContactTest, UrlsImppsAndDates) {
  ASSERT_EQ(contact_->AddUrl(u"https://both.example", 3), S_OK);
  ASSERT_EQ(contact_->AddUrl(u"https://odd.example", 4), S_OK);
  EXPECT_TRUE(Logged("Unknown bits in EContactUrl (4)"));
  ASSERT_EQ(contact_->AddUrl(u"https://home.example", vlmcuPersonal), S_OK);
  // "WORK,HOME" is both kinds.
  EXPECT_EQ(Prop(&ICardContact::get_BusinessHomePage), u"https://both.example");
  EXPECT_EQ(Prop(&ICardContact::get_PersonalHomePage), u"https://both.example");
  ASSERT_EQ(contact_->AddIMAddress(u"me@im.example"), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_IMAddress), u"me@im.example");

  EXPECT_EQ(contact_->AddDate(0.0, u"_$!<Other>!$_"), S_FALSE);
  EXPECT_TRUE(Prop(&ICardContact::get_AnniversaryIsEmpty));
  ASSERT_EQ(contact_->AddAnniversaryDate(40000.0), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_Anniversary), 40000.0);
  EXPECT_FALSE(Prop(&ICardContact::get_AnniversaryIsEmpty));
}

TEST_F(CardContactTest, Photo) {
  EXPECT_TRUE(Prop(&ICardContact::get_Photo).empty());
  const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0};
  // The type comes from the signature unless one is given.
  ASSERT_EQ(contact_->SetPhoto(png), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_PhotoExt), u"PNG");
  EXPECT_EQ(Prop(&ICardContact::get_PhotoSize), 12);
  EXPECT_EQ(Prop(&ICardContact::get_Photo), png);
  ASSERT_EQ(contact_->SetPhoto(png, Variant(u"GIF")), S_OK);
  EXPECT_EQ(Prop(&ICardContact::get_PhotoExt), u"GIF");
}

TEST_F(CardContactTest, GenerateInBothVersionsAndReadBack) {
  contact_->put_FirstName(u"J\u00FCrgen");
  contact_->put_LastName(u"M\u00FCller");
  contact_->put_CompanyName(u"Acme");
  contact_->put_Body(u"two\r\nlines");
  contact_->AddTelephone(u"+49 30 1234", vlmctMobile);
  contact_->AddEmail(u"jm@acme.example");
  const std::string v21 = Generate(2.1), v30 = Generate(3.0);
  EXPECT_TRUE(v21.starts_with("BEGIN:VCARD\r\nVERSION:2.1\r\n") && !Has(v21, "PRODID")) << v21;
  EXPECT_TRUE(v30.starts_with("BEGIN:VCARD\r\nVERSION:3.0\r\n") && Has(v30, "M\xC3\xBCller"))
      << v30;

  // Each generated card loads back into the same fields.
  for (const std::string& card : {v21, v30}) {
    const auto cards = LoadText(*converter_, card);
    ASSERT_TRUE(cards);
    std::shared_ptr<ICardContact> back;
    ASSERT_EQ(cards->ItemContact(0, &back), S_OK);
    EXPECT_EQ(Get(*back, &ICardContact::get_LastName) + u"|" + Get(*back, &ICardContact::get_Body) +
                  u"|" + Get(*back, &ICardContact::get_MobileTelephoneNumber) + u"|" +
                  Get(*back, &ICardContact::get_Email1),
              u"M\u00FCller|two\r\nlines|+49 30 1234|jm@acme.example");
  }
}

TEST_F(CardContactTest, ArgumentErrorsAreRefusedAndLogged) {
  using C = ICardContact;
  static const std::vector<std::uint8_t> kPng = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static std::vector<std::uint8_t> card = {1, 2};
  const std::pair<HRESULT (*)(C&), const char*> calls[] = {
      {[](C& c) { return c.AddEmail(u""); }, "Email must be NOT empty"},
      {[](C& c) { return c.AddEmail(u"a@x", Variant(std::int32_t{1})); },
       "OutlookType must be BSTR or Missing"},
      {[](C& c) { return c.AddTelephone(u"", vlmctHome); }, nullptr},
      {[](C& c) { return c.AddTelephoneEx(u"1", Variant(1.0)); }, "Types must be BSTR or Missing"},
      {[](C& c) { return c.AddTelephoneEx(u"1", Variant(u"CELL"), Variant(false)); },
       "ABLabel must be BSTR or Missing"},
      {[](C& c) { return c.AddRelatedName(u"", vlmcrnManager); }, nullptr},
      {[](C& c) { return c.AddRelatedName(u"X", vlmcrnManager, Variant(std::int32_t{2})); },
       "vLabelOther must be BSTR or Missing"},
      // "Other" needs its label.
      {[](C& c) { return c.AddRelatedName(u"X", vlmcrnOther); }, nullptr},
      {[](C& c) { return c.AddRelatedName(u"X", vlmcrnOther, Variant(u"")); }, nullptr},
      {[](C& c) { return c.AddUrl(u"", vlmcuBusiness); }, nullptr},
      {[](C& c) { return c.AddIMPP(u"", u"", u"", u"", u""); }, nullptr},
      {[](C& c) { return c.AddDate(40000.0, u"_$!<Other>!$_", Variant(std::int32_t{1})); },
       "vType must be BSTR or Missing"},
      {[](C& c) { return c.get_Photo(nullptr); }, nullptr},
      {[](C& c) { return c.SetPhoto({}); }, nullptr},
      {[](C& c) { return c.SetPhoto(kPng, Variant(2.0)); }, "vPhotoExt must be BSTR or Missing"},
      {[](C& c) { return c.GenerateCard(3.0, 65001, Variant(), nullptr); }, nullptr},
      {[](C& c) { return c.GenerateCard(3.0, 4242, Variant(), &card); }, nullptr},
      {[](C& c) { return c.GenerateCard(3.0, 65001, Variant(std::int32_t{3}), &card); }, nullptr},
  };
  for (const auto& [call, message] : calls) {
    EXPECT_EQ(call(*contact_), E_INVALIDARG) << (message ? message : "");
    EXPECT_TRUE(!message || Logged(message)) << message;
  }
  // The failed call leaves no stale card behind.
  EXPECT_TRUE(card.empty());
  // An unknown version writes 3.0.
  ASSERT_EQ(contact_->GenerateCard(7.5, 1251, Variant(), &card), S_OK);
  EXPECT_TRUE(Has(Text(card), "VERSION:3.0"));
}

}  // namespace
}  // namespace velmora::test
