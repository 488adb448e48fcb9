// Google Contacts' later CSV layout: its names in the catalogue, the order
// of its blocks, a hand-made export read row by row, and vCards through
// it and back.
#include <algorithm>
#include <string>
#include <vector>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "contact/contact_record.h"
#include "contact/phone_slots.h"
#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_content.h"
#include "csv/csv_export.h"
#include "csv/csv_headers.h"
#include "csv/csv_values.h"
#include "foundation/automation_date.h"
#include "support/test_env.h"
#include "vcard/card_export.h"
#include "vcard/card_parser.h"
#include "vcard/card_parser_consumer.h"
#include "vcard/vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;
using test::U16;
using test::U8;

std::string DateText(double date) {
  SystemTime st;
  if (IsEmptyDate(date) || !VariantTimeToSystemTime(date, &st)) return "-";
  return std::to_string(st.year) + "-" + std::to_string(st.month) + "-" + std::to_string(st.day);
}

// The type tokens that matter in the layout, in a fixed order.
std::string Tokens(std::u16string_view types) {
  std::string out;
  for (const char16_t* token : {u"HOME", u"WORK", u"POSTAL", u"PREF"}) {
    if (HasTypeToken(types, token)) out += U8(token) + " ";
  }
  return out;
}

// What the layout carries of a contact, as text.
std::string Fields(const ContactRecord& c) {
  std::string out;
  for (const std::u16string* field :
       {&c.Title, &c.FirstName, &c.MiddleName, &c.LastName, &c.Suffix, &c.NickName,
        &c.PhoneticFirstName, &c.PhoneticMiddleName, &c.PhoneticLastName, &c.CompanyName,
        &c.Department, &c.JobTitle, &c.Body, &c.Categories}) {
    out += U8(*field) + "|";
  }
  out += DateText(c.Birthday) + "\n";
  for (const ContactEmail& e : c.Emails) {
    out += "e " + U8(e.Value) + " " + Tokens(e.Types) + U8(e.ABLabel) + "\n";
  }
  for (const ContactPhone& p : c.Phones) {
    out += "p " + U8(p.Value) + " " + std::to_string(ClassifyPhone(p)) + " " + Tokens(p.Types) +
           U8(p.ABLabel) + "\n";
  }
  for (const ContactAddress& a : c.Addresses) {
    out += "a " + U8(a.PostOfficeBox) + "|" + U8(a.OfficeLocation) + "|" + U8(a.Street) + "|" +
           U8(a.City) + "|" + U8(a.State) + "|" + U8(a.PostalCode) + "|" + U8(a.Country) + " " +
           Tokens(a.Types) + U8(a.ABLabel) + "\n";
  }
  for (const ContactUrl& u : c.Urls) {
    out += "u " + U8(u.Value) + " " + Tokens(u.Types) + U8(u.ABLabel) + "\n";
  }
  for (const ContactDate& d : c.Dates) out += "d " + DateText(d.Date) + " " + U8(d.ABLabel) + "\n";
  for (const ContactRelatedName& r : c.RelatedNames) {
    out += "r " + U8(r.Name) + " " + U8(RelatedNameLabelText(r)) + "\n";
  }
  for (const ContactCustomField& f : c.CustomFields) {
    out += "c " + U8(f.Value) + " " + U8(f.ABLabel) + "\n";
  }
  for (const ContactImpp& i : c.Impps) {
    out += "i " + U8(i.Value) + " " + U8(i.ServiceType) + " " + Tokens(i.Types) + "\n";
  }
  return out;
}

double Google2Date(std::u16string_view text) {
  CapturedLog captured;
  std::vector<double> dates;
  GoogleStr2Dates(captured.log, text, false, 1, &dates);
  return dates.empty() ? 0 : dates[0];
}

class Google2 : public ::testing::Test {
 protected:
  Google2() : headers_(captured_.log), csv_(captured_.log, &headers_) {}

  // The rows of CSV text, each imported with the codes of the header row.
  std::vector<ContactRecord> ImportText(std::u16string_view text, std::vector<HRESULT>* statuses) {
    CsvCellsTable cells;
    EXPECT_EQ(csv_.ParseCells(text, &cells, csvpDefault, -1, 0, u","), S_OK);
    std::vector<ContactRecord> contacts;
    if (cells.empty()) return contacts;
    const std::vector<std::u16string>& names = cells.front();
    const std::vector<std::uint32_t> codes = FindHeaderCodes(headers_, names).codes;
    EXPECT_EQ(DetectCsvTypeByCodes(headers_, codes, nullptr), vlmcsvGoogle2);
    for (std::size_t r = 1; r < cells.size(); ++r) {
      statuses->push_back(
          csv_.ImportContact(codes, cells[r], &contacts.emplace_back(), u"", names));
    }
    return contacts;
  }

  CapturedLog captured_;
  CCsvHeaders headers_;
  CCsv csv_;
};

// Its names map to the entries the other layouts share, and are written
// back in its own spelling; the earlier layout keeps its names.
TEST_F(Google2, NamesAndCodes) {
  struct Case {
    const char16_t* name;
    std::uint32_t code;
    const char16_t* google2;  // as Google2 writes the code
    const char16_t* google;   // as the earlier layout writes it
  };
  const Case kCases[] = {
      {u"First Name", 2, u"First Name", u"Given Name"},
      {u"Phonetic Middle Name", 96, u"Phonetic Middle Name", u"Additional Name Yomi"},
      {u"Name Prefix", 1, u"Name Prefix", u"Name Prefix"},
      {u"Organization Name", 6, u"Organization Name", u"Company"},
      {u"organization title", 8, u"Organization Title", u"Job Title"},
      {u"Organization Department", 7, u"Organization Department", u"Department"},
      {u"File As", 126, u"File As", u"File As"},
      {u"Photo", 127, u"Photo", u"Photo"},
      {u"Labels", 128, u"Labels", u"Labels"},
      {u"E-mail 3 - Label", 0x01000300, u"E-mail 3 - Label", u"E-mail 3 - Type"},
      {u"E-MAIL 3 - TYPE", 0x01000300, u"E-mail 3 - Label", u"E-mail 3 - Type"},
      {u"Address 2 - Extended Address", 0x0400020A, u"Address 2 - Extended Address",
       u"Address 2 - Extended Address"},
      {u"Custom Field 1 - Label", 0x0B000100, u"Custom Field 1 - Label", u"Custom Field 1 - Type"},
      {u"IM 1 - Label", 0x02000100, u"IM 1 - Label", u"IM 1 - Type"},
      {u"Full Name", 93, u"Full Name", u"Name"},
      // Groups the later layout does not have keep only "Type".
      {u"Organization 1 - Label", 0, nullptr, nullptr},
      {u"Jot 1 - Label", 0, nullptr, nullptr},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(U8(c.name));
    EXPECT_EQ(headers_.FindCodeByName(c.name), c.code);
    if (c.code == 0) continue;
    EXPECT_EQ(U8(headers_.BuildHeaderName(c.code, vlmcsvGoogle2, u"")), U8(c.google2));
    EXPECT_EQ(U8(headers_.BuildHeaderName(c.code, vlmcsvGoogle, u"")), U8(c.google));
  }
  EXPECT_EQ(headers_.GetHeaderList(vlmcsvGoogle2, 1).size(), 17u);
  EXPECT_EQ(headers_.GetHeaderList(vlmcsvGoogle2, 2).size(), 13u);
  EXPECT_EQ(headers_.GetHeaderList(vlmcsvGoogle, 1).size(), 27u);
  EXPECT_FALSE(captured_.Has("ASSERT failed"));
}

// The fixed columns in their order, then the blocks group by group in
// Google's order (e-mail, phone, address, website, event, relation,
// custom field, IM), each instance whole, then anything else.
TEST_F(Google2, ColumnOrder) {
  std::vector<std::uint32_t> codes = {0x02000101, 0x02000102, 0x02000100, 0x0A000101, 93,
                                      0x01000201, 0x04000103, 0x01000101, 0x04000100, 0x03000101,
                                      0x0B000101, 0x06000101, 0x08000101};
  headers_.GetHeaders(codes, vlmcsvGoogle2, true);
  std::string names;
  for (const std::uint32_t code : codes) {
    names += U8(headers_.BuildHeaderName(code, vlmcsvGoogle2, u"")) + ",";
  }
  EXPECT_EQ(names,
            "First Name,Middle Name,Last Name,Phonetic First Name,Phonetic Middle Name,"
            "Phonetic Last Name,Name Prefix,Name Suffix,Nickname,File As,Organization Name,"
            "Organization Title,Organization Department,Birthday,Notes,Photo,Labels,"
            "E-mail 1 - Value,E-mail 2 - Value,Phone 1 - Value,Address 1 - Label,"
            "Address 1 - Formatted,Website 1 - Value,Event 1 - Value,Relation 1 - Value,"
            "Custom Field 1 - Value,IM 1 - Label,IM 1 - Service,IM 1 - Value,Full Name,");
}

// A hand-made export: four e-mails next to one, multi-value cells, primary
// markers, custom labels, an empty middle block, no-year dates, system
// groups, a photo by address, and a row of nothing but "* myContacts".
TEST_F(Google2, ReadsAnExport) {
  CCsvContent content(captured_.log);
  ASSERT_EQ(content.LoadFromFile(test::SourceDir() / "tests/csv/data/google2_contacts.csv", 1252),
            S_OK);
  EXPECT_EQ(content.Codepage(), 65001);
  std::vector<HRESULT> statuses;
  const std::vector<ContactRecord> contacts = ImportText(content.text(), &statuses);
  const std::string kExpected[] = {
      "Dr.|Ann|B.|Lee|Jr.|Annie|An|Bi|Ri|Acme|R&D|Engineer|Met at the fair, 2019|Friends,starred|"
      "1980-4-1\n"
      "e ann@home.example HOME PREF \n"
      "e ann@work.example WORK \n"
      "e a1@x.example Other\n"
      "e a2@x.example Other\n"
      "e club@x.example Club\n"
      "p +1 555 0100 10 \n"
      "p +1 555 0199 5 Google Voice\n"
      "a |Apt 4|1 Main St|Springfield|IL|62701|US HOME \n"
      "u https://ann.example/blog BLOG\n"
      "d 2005-6-7 _$!<Anniversary>!$_\n"
      "r Bob Lee _$!<Spouse>!$_\n"
      "c 42 Badge\n"
      "i ann.lee skype HOME \n",
      "|Bo||Chan|||||||||||1604-12-25\n"
      "e bo@work.example WORK \n"
      "p +1 555 0200 20 WORK \n"
      "p +1 555 0201 16 \n"
      "d 1604-6-30 Graduation\n"
      "r Cy Chan Mentor\n",
      "|Cy||Chan|||||||||File As: Chan, Cy\r\nPhoto: https://photos.example/cy.jpg|Family|-\n"
      "e cy@home.example HOME \n"
      "e cy@work.example WORK \n"
      "p +1 555 0300 9 PREF \n"
      "p +1 555 0301 9 PREF \n"  // a main phone is preferred
      "p +1 555 0302 6 HOME \n"
      "a ||2 Side Rd|Dover|||UK WORK \n"
      "u https://cy.example WORK \n",
      "||||||||||||||-\n",
  };
  ASSERT_EQ(contacts.size(), std::size(kExpected));
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i + 1));
    EXPECT_EQ(Fields(contacts[i]), kExpected[i]);
  }
  EXPECT_EQ(statuses, (std::vector<HRESULT>{S_OK, S_OK, S_OK, S_NO_CONTENT}));
}

// Dates as the layout writes them, and what the earlier layout's parser
// now also accepts.
TEST_F(Google2, Dates) {
  const std::pair<const char16_t*, std::string> kCases[] = {
      {u"1980-04-01", "1980-4-1"}, {u"--12-25", "1604-12-25"}, {u"--02-29", "1604-2-29"},
      {u"--13-01", "invalid"},     {u"-12-25", "invalid"},     {u"--1225", "invalid"},
  };
  for (const auto& [cell, read] : kCases) {
    std::vector<double> dates;
    const bool ok = GoogleStr2Dates(captured_.log, cell, false, 0, &dates);
    EXPECT_EQ(ok ? DateText(dates.empty() ? 0 : dates[0]) : "invalid", read) << U8(cell);
    if (ok) {
      EXPECT_EQ(U8(Google2DateText(dates[0])), U8(cell));  // written back alike
    }
  }
  EXPECT_EQ(U8(CsvDateText(Google2Date(u"--12-25"), true)), "1604-12-25");  // the earlier layout
}

// Two cards whose every labelled item the layout has a block for.
constexpr char kCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\n"
    "N:Lee;Ann;B.;Dr.;Jr.\r\nFN:Dr. Ann B. Lee Jr.\r\n"
    "X-PHONETIC-FIRST-NAME:An\r\nX-PHONETIC-MIDDLE-NAME:Bi\r\nX-PHONETIC-LAST-NAME:Ri\r\n"
    "NICKNAME:Annie\r\nORG:Acme;R&D\r\nTITLE:Engineer\r\n"
    "EMAIL;TYPE=INTERNET,HOME,PREF:ann@home.example\r\n"
    "EMAIL;TYPE=INTERNET,WORK:ann@work.example\r\n"
    "item1.EMAIL;TYPE=INTERNET:ann@club.example\r\nitem1.X-ABLabel:Club\r\n"
    "EMAIL;TYPE=INTERNET:ann@other.example\r\n"
    "TEL;TYPE=CELL:+1 555 0100\r\nTEL;TYPE=WORK,FAX:+1 555 0101\r\n"
    "TEL;TYPE=PAGER:+1 555 0102\r\nitem2.TEL:+1 555 0103\r\nitem2.X-ABLabel:Boat\r\n"
    "ADR;TYPE=HOME:;Apt 4;1 Main St;Springfield;IL;62701;US\r\n"
    "ADR;TYPE=WORK:PO 7;;2 Side Rd;Dover;;;UK\r\n"
    "URL;TYPE=WORK:https://acme.example\r\n"
    "item3.URL:https://ann.example/folio\r\nitem3.X-ABLabel:Portfolio\r\n"
    "BDAY:1980-04-01\r\n"
    "item4.X-ABDATE:2005-06-07\r\nitem4.X-ABLabel:_$!<Anniversary>!$_\r\n"
    "item5.X-ABDATE:--06-30\r\nitem5.X-ABLabel:Graduation\r\n"
    "item6.X-ABRELATEDNAMES:Bob Lee\r\nitem6.X-ABLabel:_$!<Spouse>!$_\r\n"
    "item7.X-ABRELATEDNAMES:Cy Chan\r\nitem7.X-ABLabel:Mentor\r\n"
    "NOTE:Met at the fair\\, 2019\\nsecond line\r\n"
    "CATEGORIES:Friends,starred\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Chan;Bo;;;\r\nFN:Bo Chan\r\nBDAY:--12-25\r\n"
    "EMAIL;TYPE=INTERNET,WORK:bo@work.example\r\nCATEGORIES:Family\r\nEND:VCARD\r\n";

std::vector<ContactRecord> ParseCards(CLog& log, std::string_view text) {
  struct Collector : ICardParserConsumer {
    std::vector<ContactRecord> records;
    bool OnParsedItem(const ContactRecord& record, const CCardDocItem&) override {
      records.push_back(record);
      return true;
    }
  } collector;
  CCardParser parser(log);
  parser.SetConsumer(&collector);
  parser.LoadMemory(text.data(), static_cast<std::int32_t>(text.size()));
  return std::move(collector.records);
}

// vCard -> a Google2 file -> vCard keeps what the layout carries.
TEST_F(Google2, RoundTripThroughVCards) {
  const std::vector<ContactRecord> cards = ParseCards(captured_.log, kCards);
  ASSERT_EQ(cards.size(), 2u);
  // The file as the export writes it: the fixed columns, then the blocks
  // the contacts need.
  std::vector<CsvRowMap> rows(cards.size());
  std::vector<std::uint32_t> codes;
  for (const CCsvHeader* entry : headers_.GetHeaderList(vlmcsvGoogle2, 1)) {
    codes.push_back(entry->Code);
  }
  for (std::size_t i = 0; i < cards.size(); ++i) {
    ASSERT_EQ(ExportContactW(headers_, cards[i], rows[i], vlmcsvGoogle2, nullptr), S_OK);
    for (const auto& cell : rows[i]) codes.push_back(cell.first);
  }
  headers_.GetHeaders(codes, vlmcsvGoogle2, false);
  std::u16string text;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) text += u',';
    text += headers_.BuildHeaderName(codes[i], vlmcsvGoogle2, u"");
  }
  for (const CsvRowMap& row : rows) text.append(u"\r\n").append(CsvLine(codes, row));
  // Four e-mails: four whole e-mail blocks, the second contact's empty.
  EXPECT_NE(text.find(u",E-mail 4 - Label,E-mail 4 - Value,Phone 1 - Label,"),
            std::u16string::npos);
  EXPECT_NE(text.find(u"Friends ::: * starred ::: * myContacts"), std::u16string::npos);
  EXPECT_NE(text.find(u",--12-25,"), std::u16string::npos);

  // Through a vCard again: what the CSV gave is what a card keeps.
  std::vector<HRESULT> statuses;
  const std::vector<ContactRecord> read = ImportText(text, &statuses);
  ASSERT_EQ(read.size(), cards.size());
  CCardExport writer(captured_.log, "");
  for (std::size_t i = 0; i < cards.size(); ++i) {
    const char* vcard = nullptr;
    std::size_t length = 0;
    ASSERT_EQ(writer.ExportContact(&read[i], 30, 65001, "utf-8", &vcard, &length), S_OK);
    const std::vector<ContactRecord> again = ParseCards(captured_.log, {vcard, length});
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(Fields(again[0]), Fields(cards[i])) << "card " << i + 1;
  }
  // Not vacuous: the first card has a note of two lines, its four
  // e-mails, four phones, two addresses, two websites, two events and two
  // relations.
  const std::string first = Fields(cards[0]);
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 18);
}

}  // namespace
}  // namespace velmora
