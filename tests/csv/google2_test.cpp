// Google Contacts' later CSV layout: its names in the catalogue, the order
// of its blocks, a hand-made export read row by row, and vCards through
// it and back.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "contact/phone_slots.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_content.h"
#include "csv/csv_export.h"
#include "csv/csv_values.h"
#include "csv_test_support.h"
#include "support/case_file.h"
#include "vcard/card_export.h"

namespace velmora::csv {
namespace {

using test::DateText;
using test::ParseCards;
using test::U8;

// The type tokens that matter in the layout, in a fixed order.
std::string Tokens(std::u16string_view types) {
  std::string out;
  for (const char16_t* token : {u"HOME", u"WORK", u"POSTAL", u"PREF"}) {
    if (contact::HasTypeToken(types, token)) out += U8(token) + " ";
  }
  return out;
}

// What the layout carries of a contact, as text.
std::string Fields(const contact::ContactRecord& c) {
  std::string out;
  for (const std::u16string* field :
       {&c.Title, &c.FirstName, &c.MiddleName, &c.LastName, &c.Suffix, &c.NickName,
        &c.PhoneticFirstName, &c.PhoneticMiddleName, &c.PhoneticLastName, &c.CompanyName,
        &c.Department, &c.JobTitle, &c.Body, &c.Categories}) {
    out += U8(*field) + "|";
  }
  const std::string birthday = DateText(c.Birthday);
  out += (birthday.empty() ? "-" : birthday) + "\n";
  for (const contact::ContactEmail& e : c.Emails) {
    out += "e " + U8(e.Value) + " " + Tokens(e.Types) + U8(e.ABLabel) + "\n";
  }
  for (const contact::ContactPhone& p : c.Phones) {
    out += "p " + U8(p.Value) + " " + std::to_string(contact::ClassifyPhone(p)) + " " +
           Tokens(p.Types) + U8(p.ABLabel) + "\n";
  }
  for (const contact::ContactAddress& a : c.Addresses) {
    out += "a " + U8(a.PostOfficeBox) + "|" + U8(a.OfficeLocation) + "|" + U8(a.Street) + "|" +
           U8(a.City) + "|" + U8(a.State) + "|" + U8(a.PostalCode) + "|" + U8(a.Country) + " " +
           Tokens(a.Types) + U8(a.ABLabel) + "\n";
  }
  for (const contact::ContactUrl& u : c.Urls) {
    out += "u " + U8(u.Value) + " " + Tokens(u.Types) + U8(u.ABLabel) + "\n";
  }
  for (const contact::ContactDate& d : c.Dates)
    out += "d " + DateText(d.Date) + " " + U8(d.ABLabel) + "\n";
  for (const contact::ContactRelatedName& r : c.RelatedNames) {
    out += "r " + U8(r.Name) + " " + U8(contact::RelatedNameLabelText(r)) + "\n";
  }
  for (const contact::ContactCustomField& f : c.CustomFields) {
    out += "c " + U8(f.Value) + " " + U8(f.ABLabel) + "\n";
  }
  for (const contact::ContactImpp& i : c.Impps) {
    out += "i " + U8(i.Value) + " " + U8(i.ServiceType) + " " + Tokens(i.Types) + "\n";
  }
  return out;
}

class Google2 : public test::CsvTest {
 protected:
  // The rows of CSV text, each imported with the codes of the header row.
  std::vector<contact::ContactRecord> ImportText(std::u16string_view text,
                                                 std::vector<HRESULT>* statuses) {
    CsvCellsTable cells;
    EXPECT_EQ(csv_.ParseCells(text, &cells, csvpDefault, -1, 0, u","), S_OK);
    std::vector<contact::ContactRecord> contacts;
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
};

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
  const std::vector<contact::ContactRecord> contacts = ImportText(content.text(), &statuses);
  const std::vector<test::FileCase> expected = test::ReadCases("csv/data/google2_contacts.txt");
  ASSERT_EQ(contacts.size(), expected.size());
  for (std::size_t i = 0; i < contacts.size(); ++i) {
    std::string fields;
    for (const std::string& line : expected[i].All("line")) fields += line + "\n";
    EXPECT_EQ(Fields(contacts[i]), fields) << expected[i].name;
  }
  EXPECT_EQ(statuses, (std::vector<HRESULT>{S_OK, S_OK, S_OK, S_NO_CONTENT}));
}

// Dates as the layout writes them, and what the earlier layout's parser
// now also accepts.
TEST_F(Google2, Dates) {
  double no_year = 0;
  const std::pair<const char16_t*, std::string> kCases[] = {
      {u"1980-04-01", "1980-4-1"}, {u"--12-25", "1604-12-25"}, {u"--02-29", "1604-2-29"},
      {u"--13-01", "invalid"},     {u"-12-25", "invalid"},     {u"--1225", "invalid"},
  };
  for (const auto& [cell, read] : kCases) {
    std::vector<double> dates;
    const bool ok = GoogleStr2Dates(captured_.log, cell, false, 0, &dates);
    EXPECT_EQ(ok ? DateText(dates.empty() ? 0 : dates[0]) : "invalid", read) << U8(cell);
    if (!ok) continue;
    EXPECT_EQ(U8(Google2DateText(dates[0])), U8(cell));  // written back alike
    if (read == "1604-12-25") no_year = dates[0];
  }
  EXPECT_EQ(U8(CsvDateText(no_year, true)), "1604-12-25");  // the earlier layout
}

// vCard -> a Google2 file -> vCard keeps what the layout carries.
TEST_F(Google2, RoundTripThroughVCards) {
  // Two cards whose every labelled item the layout has a block for.
  const std::vector<contact::ContactRecord> cards = ParseCards(
      captured_.log, test::ReadFile(test::SourceDir() / "tests/csv/data/google2_cards.vcf"));
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
  const std::vector<contact::ContactRecord> read = ImportText(text, &statuses);
  ASSERT_EQ(read.size(), cards.size());
  vcard::CCardExport writer(captured_.log, "");
  for (std::size_t i = 0; i < cards.size(); ++i) {
    const char* vcard = nullptr;
    std::size_t length = 0;
    ASSERT_EQ(writer.ExportContact(&read[i], 30, 65001, "utf-8", &vcard, &length), S_OK);
    const std::vector<contact::ContactRecord> again = ParseCards(captured_.log, {vcard, length});
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
}  // namespace velmora::csv
