// Contacts to CSV rows: Google's value encoders, and round trips vCard ->
// CSV row -> contact that keep every field each dialect can carry.
#include "csv/csv_export.h"

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "contact/phone_slots.h"
#include "csv/google_mvalue.h"
#include "csv_test_support.h"
#include "foundation/text_util.h"
#include "support/record_dump.h"

namespace velmora::csv {
namespace {

using test::U8;

TEST(GoogleEncoders, Values) {
  EXPECT_EQ(U8(EncodeGoogleMValue({u"a", u"b", u"c"}, 1)), "a ::: * b ::: c");
  EXPECT_EQ(U8(EncodeGoogleMValue({u"* x"}, -1)), "** x");
  EXPECT_EQ(U8(EncodeGoogleMValue({u"one ::: two"}, 5)), "one :::: two");
  EXPECT_EQ(U8(EncodeGoogleMValue({}, 0)), "");
  EXPECT_EQ(U8(EncodeGoogleValue(u"one ::: two", false)), "one ::: two");
  EXPECT_EQ(U8(EncodeGoogleValue(u"one ::: two", true)), "one :::: two");
  EXPECT_EQ(U8(EncodeGoogleValue(u"*x", true)), "*x");
  EXPECT_EQ(U8(EncodeGoogleMValue2(u" a ; b,,c ", u";,", true, 0)), "* a ::: b ::: c");
  EXPECT_EQ(U8(Categories2GroupMembership(u"Friends;Family", u";", true, true, -1)),
            "Friends ::: Family ::: * My Contacts");
  EXPECT_EQ(U8(Categories2GroupMembership(u"Friends;my contacts", u";", true, true, -1)),
            "Friends ::: my contacts");
  EXPECT_EQ(U8(Categories2GroupMembership(u"A,B", u"", true, true, 0)),
            "* A ::: B ::: My Contacts");
  EXPECT_EQ(U8(Categories2GroupMembership(u"", u";", true, false, -1)), "");
}

// Every record of the repository's vCard files, parsed.
std::vector<contact::ContactRecord> CorpusRecords(CLog& log) {
  std::vector<contact::ContactRecord> records;
  for (const char* folder : {"vcard21", "vcard30"}) {
    for (const auto& file : std::filesystem::directory_iterator(test::CorpusDir() / folder)) {
      for (contact::ContactRecord& record : test::ParseCards(log, test::ReadFile(file.path()))) {
        records.push_back(std::move(record));
      }
    }
  }
  return records;
}

// What each dialect carries, as text.
std::string OutlookFields(const contact::ContactRecord& c, bool outlook365) {
  std::string out;
  auto add = [&](std::u16string_view value) { out.append(U8(value)).append("|"); };
  for (const std::u16string* field :
       {&c.Title, &c.FirstName, &c.MiddleName, &c.LastName, &c.Suffix, &c.CompanyName,
        &c.Department, &c.JobTitle, &c.Body, &c.Hobby, &c.Location}) {
    add(*field);
  }
  for (int n = 1; n <= 3; ++n) add(c.Email(n));
  for (int slot = 0; slot < contact::kTelephoneSlotCount; ++slot) {
    if (!outlook365 || slot != contact::tsISDN) add(c.TelephoneSlot(slot));
  }
  for (const EContactAddress kind : {vlmcaBusiness, vlmcaHome, vlmcaOther}) {
    const contact::ContactAddress* a = c.AddressByKind(kind);
    if (a == nullptr) continue;
    for (const std::u16string* field :
         {&a->Street, &a->City, &a->State, &a->PostalCode, &a->Country}) {
      add(*field);
    }
    if (!outlook365) add(a->PostOfficeBox);
    if (kind == vlmcaBusiness) add(a->OfficeLocation);
  }
  out += test::DateText(c.Birthday) + "|" + test::DateText(c.Anniversary()) + "|";
  add(c.RelatedNameSlot(contact::rnsSpouse));
  add(c.RelatedNameSlot(contact::rnsManager));
  add(c.RelatedNameSlot(contact::rnsAssistant));
  if (const contact::ContactUrl* url = c.UrlByKind(contact::urlkBusiness)) add(url->Value);
  if (outlook365) {
    for (const std::u16string* field :
         {&c.NickName, &c.PhoneticFirstName, &c.PhoneticLastName, &c.YomiCompany, &c.School}) {
      add(*field);
    }
    if (const contact::ContactUrl* url = c.UrlByKind(contact::urlkPersonal)) add(url->Value);
    add(c.Impps.empty() ? u"" : c.Impps.front().Value);
    return out;
  }
  for (const std::u16string* field :
       {&c.Categories, &c.User1, &c.User2, &c.User3, &c.User4, &c.Account, &c.Keyword,
        &c.Profession, &c.InternetFreeBusyAddress, &c.GovernmentIDNumber, &c.BillingInformation,
        &c.Mileage, &c.OrganizationalIDNumber}) {
    add(*field);
  }
  add(c.RelatedNameSlot(contact::rnsChildren));
  add(c.RelatedNameSlot(contact::rnsReferredBy));
  add(c.NetMeetingNames());
  out += std::to_string(c.Gender) + std::to_string(c.Sensitivity);
  return out;
}

std::string GoogleFields(const contact::ContactRecord& c) {
  std::string out;
  // Categories as Google groups: trimmed, and without Google's own group
  // of every contact.
  std::u16string categories;
  for (std::size_t start = 0; start <= c.Categories.size();) {
    std::size_t end = c.Categories.find(u',', start);
    if (end == std::u16string::npos) end = c.Categories.size();
    const std::u16string_view part =
        text::Trim(std::u16string_view(c.Categories).substr(start, end - start));
    if (!part.empty() && part != u"My Contacts") categories.append(part).append(u",");
    start = end + 1;
  }
  auto add = [&](std::u16string_view value) { out.append(U8(value)).append("|"); };
  for (const std::u16string* field :
       {&c.FormattedName, &c.Title, &c.FirstName, &c.MiddleName, &c.LastName, &c.Suffix,
        &c.NickName, &c.MaidenName, &c.PhoneticFirstName, &c.PhoneticMiddleName,
        &c.PhoneticLastName, &c.CompanyName, &c.YomiCompany, &c.Department, &c.JobTitle}) {
    add(*field);
  }
  for (const std::u16string* field :
       {&c.Profession, &c.Location, &c.Hobby, &c.Body, &std::as_const(categories), &c.Account,
        &c.Keyword, &c.InternetFreeBusyAddress, &c.BillingInformation, &c.Mileage,
        &c.OrganizationalIDNumber}) {
    add(*field);
  }
  out += test::DateText(c.Birthday) + "|" + std::to_string(c.Gender) +
         std::to_string(c.Sensitivity) + "\n";
  for (const contact::ContactEmail& e : c.Emails) out += "e " + U8(e.Value) + "\n";
  for (const contact::ContactPhone& p : c.Phones) out += "p " + U8(p.Value) + "\n";
  for (const contact::ContactImpp& i : c.Impps) out += "i " + U8(i.Value) + "\n";
  for (const contact::ContactAddress& a : c.Addresses) {
    out += "a " + U8(a.Street) + "|" + U8(a.City) + "|" + U8(a.State) + "|" + U8(a.PostalCode) +
           "|" + U8(a.Country) + "|" + U8(a.PostOfficeBox) + "|" + U8(a.OfficeLocation) + "\n";
  }
  for (const contact::ContactRelatedName& r : c.RelatedNames) {
    // A label word and the Apple label it stands for are the same label.
    std::u16string label(contact::RelatedNameLabelText(r));
    if (label.starts_with(u"_$!<")) label = label.substr(4, label.size() - 8);
    out += "r " + U8(r.Name) + "|" + U8(text::ToLower(label)) + "\n";
  }
  for (const contact::ContactUrl& u : c.Urls) out += "u " + U8(u.Value) + "\n";
  for (const contact::ContactDate& d : c.Dates)
    out += "d " + test::DateText(d.Date) + "|" + U8(d.ABLabel) + "\n";
  for (const contact::ContactCustomField& f : c.CustomFields) {
    out += "c " + U8(f.Value) + "|" + U8(f.ABLabel) + "\n";
  }
  return out;
}

class CsvExport : public test::CsvTest {
 protected:
  // A contact through a row of `type` and back.
  contact::ContactRecord RoundTrip(const contact::ContactRecord& contact, ECsvType type) {
    CsvRowMap row;
    EXPECT_EQ(ExportContactW(headers_, contact, row, type, nullptr), S_OK);
    std::vector<std::uint32_t> codes;
    std::vector<std::u16string> names;
    CsvRow cells;
    for (const auto& [code, text] : row) {
      codes.push_back(code);
      names.push_back(headers_.BuildHeaderName(code, type, u""));
      cells.push_back(text);
    }
    contact::ContactRecord back;
    csv_.ImportContact(codes, cells, &back, u"", names);
    return back;
  }
};

// A contact with every field the dialects carry filled, each with its own
// text: the corpus cards leave many of them empty.
contact::ContactRecord FullContact() {
  contact::ContactRecord c;
  int n = 0;
  auto next = [&n](std::u16string_view what) {
    return std::u16string(what) + u" " + Utf8ToUtf16(std::to_string(++n));
  };
  for (std::u16string* field :
       {&c.Title, &c.FirstName, &c.MiddleName, &c.LastName, &c.Suffix, &c.FormattedName,
        &c.NickName, &c.MaidenName, &c.PhoneticFirstName, &c.PhoneticMiddleName,
        &c.PhoneticLastName, &c.CompanyName, &c.YomiCompany, &c.Department, &c.JobTitle}) {
    *field = next(u"field");
  }
  for (std::u16string* field :
       {&c.Profession, &c.Location, &c.Hobby, &c.Account, &c.Keyword, &c.User1, &c.User2, &c.User3,
        &c.User4, &c.InternetFreeBusyAddress, &c.BillingInformation, &c.Mileage,
        &c.GovernmentIDNumber, &c.OrganizationalIDNumber, &c.School}) {
    *field = next(u"field");
  }
  c.Body = u"line one\r\nline two, with \"quotes\"";
  c.Categories = u"Friends,Family";
  c.Birthday = 29281;  // 1980-03-01
  c.Gender = vlmcgFemale;
  c.Sensitivity = vlmcsPrivate;
  for (int kind = contact::phcAssistant; kind <= contact::phcWork; ++kind) {
    contact::ContactPhone phone;
    std::u16string_view types, label;
    contact::PhoneTypesOfCategory(static_cast<contact::EPhoneCategory>(kind), &types, &label);
    phone.Types = types;
    phone.ABLabel = label;
    phone.Value = next(u"+1 555");
    c.Phones.push_back(phone);
    if (kind == contact::phcWork || kind == contact::phcHome) {
      phone.Value = next(u"+1 555");  // Business 2 and Home 2
      c.Phones.push_back(phone);
    }
  }
  for (const char16_t* types : {u"HOME,PREF", u"WORK", u""}) {
    c.Emails.push_back({types, u"SMTP", next(u"mail") + u"@example.org", {}, {}});
  }
  for (const char16_t* types : {u"WORK", u"HOME", u"POSTAL"}) {
    contact::ContactAddress a;
    a.Types = types;
    a.Street = next(u"street") + u"\r\n" + next(u"floor");
    a.City = next(u"city");
    a.State = next(u"state");
    a.PostalCode = next(u"zip");
    a.Country = next(u"country");
    a.PostOfficeBox = next(u"box");
    if (a.Types == u"WORK") a.OfficeLocation = next(u"office");
    c.Addresses.push_back(a);
  }
  for (const EContactRelatedName label :
       {vlmcrnAssistant, vlmcrnManager, vlmcrnSpouse, vlmcrnChild, vlmcrnChild, vlmcrnReferredBy}) {
    c.RelatedNames.push_back(test::Related(next(u"person"), label));
  }
  c.Urls.push_back({next(u"http://work"), u"WORK", {}, {}});
  c.Urls.push_back({next(u"http://home"), u"HOME", {}, {}});
  c.Dates.push_back({36000, {}, {}, contact::kAnniversaryLabel});
  c.Impps.push_back({{}, u"skype", u"skype", next(u"handle"), {}, {}});
  c.CustomFields.push_back({next(u"value"), {}, {}, u"Hat size"});
  return c;
}

TEST_F(CsvExport, RoundTripsKeepWhatEachDialectCarries) {
  std::vector<contact::ContactRecord> records = CorpusRecords(captured_.log);
  ASSERT_GT(records.size(), 30u);
  records.push_back(FullContact());
  struct Dialect {
    ECsvType type;
    std::function<std::string(const contact::ContactRecord&)> fields;
  };
  const Dialect kDialects[] = {
      {vlmcsvOutlook, [](const contact::ContactRecord& c) { return OutlookFields(c, false); }},
      {vlmcsvOutlook365v2, [](const contact::ContactRecord& c) { return OutlookFields(c, true); }},
      {vlmcsvGoogle, GoogleFields},
  };
  for (const Dialect& dialect : kDialects) {
    for (std::size_t i = 0; i < records.size(); ++i) {
      SCOPED_TRACE("dialect " + std::to_string(dialect.type) + ", contact " + std::to_string(i));
      EXPECT_EQ(dialect.fields(RoundTrip(records[i], dialect.type)), dialect.fields(records[i]));
    }
  }
}

TEST_F(CsvExport, DialectsWithoutAWriter) {
  contact::ContactRecord contact;
  contact.FirstName = u"Ann";
  CsvRowMap row = {{2, u"stale"}};
  EXPECT_EQ(ExportContactW(headers_, contact, row, vlmcsvNokia, nullptr), E_NOTIMPL);
  EXPECT_TRUE(row.empty());
  EXPECT_EQ(ExportContactW(headers_, contact, row, vlmcsvOutlook365v1, nullptr), E_NOTIMPL);
  EXPECT_TRUE(captured_.Has("Export to Nokia is not implemented"));
  EXPECT_TRUE(captured_.Has("Export to Outlook365v1 is not implemented"));
}

}  // namespace
}  // namespace velmora::csv
