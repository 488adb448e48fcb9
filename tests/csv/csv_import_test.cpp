// CSV rows to contacts: the value parsers, each family of plain columns,
// Google's groups, the empty-row rules, real exports read field by field,
// and rows to vCards.
#include "csv/csv_import.h"

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "csv/csv_autodetect.h"
#include "csv/csv_content.h"
#include "csv/csv_values.h"
#include "csv_test_support.h"
#include "support/case_file.h"
#include "support/record_dump.h"

namespace velmora::csv {
namespace {

using Cells = std::vector<std::pair<std::string, std::string>>;

using test::Date;
using test::U16;
using test::U8;

class CsvImport : public test::CsvTest {
 protected:
  CsvImport() : CsvTest(true) {}

  // Imports one row given as (header, cell) pairs; the headers are read in
  // the locale's names when a LID is given.
  contact::ContactRecord Import(const Cells& cells, std::u16string_view lid = u"",
                                HRESULT* status = nullptr) {
    std::vector<std::u16string> names;
    CsvRow row;
    for (const auto& [name, cell] : cells) {
      names.push_back(U16(name));
      row.push_back(U16(cell));
    }
    const std::vector<std::uint32_t> codes =
        lid.empty() ? FindHeaderCodes(headers_, names).codes
                    : FindOutlookHeaderCodes(headers_, names, lid, false).codes;
    contact::ContactRecord contact;
    const HRESULT result = csv_.ImportContact(codes, row, &contact, lid, names);
    if (status != nullptr) *status = result;
    return contact;
  }
};

// The cases of tests/csv/data/import_values.txt, and Google's date lists.
TEST_F(CsvImport, Values) {
  auto day = [](const std::string& text) {
    int y = 0, m = 0, d = 0;
    EXPECT_EQ(std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d), 3) << text;
    return Date(y, m, d);
  };
  for (const test::FileCase& c : test::ReadCases("csv/data/import_values.txt")) {
    SCOPED_TRACE(c.name);
    for (const std::string& line : c.All("date")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      double date = -1;
      EXPECT_EQ(OutlookStr2Date(captured_.log, U16(parts[0]), true, &date), parts[1] != "invalid")
          << line;
      EXPECT_EQ(date, parts[1] == "invalid" || parts[1] == "none" ? 0 : day(parts[1])) << line;
    }
    if (c.Has("dates logged")) {
      EXPECT_EQ(captured_.Count("Invalid date("), c.Number("dates logged"));
    }
    for (const std::string& line : c.All("convert")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      const std::vector<std::string> from = test::Split(parts[0], " "),
                                     to = test::Split(parts[1], " ");
      std::u16string out = u"?";
      EXPECT_EQ(ConvertCsvDate(captured_.log, test::CsvTypeNamed(from[0]), U16(from[1]),
                               test::CsvTypeNamed(to[0]), to.size() > 1, &out),
                parts[2] != "invalid")
          << line;
      if (parts[2] != "invalid") {
        EXPECT_EQ(U8(out), parts[2] == "-" ? "" : parts[2]) << line;
      }
    }
    const COutlookCsvLocale* locale = c.Has("lid") ? headers_.FindLocale(U16(c["lid"])) : nullptr;
    ASSERT_EQ(locale != nullptr, c.Has("lid"));
    for (const std::string& line : c.All("word")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      const std::vector<std::string> want = test::Split(parts[1], "|");
      const std::u16string text = U16(parts[0]);
      bool boolean = false;
      EContactGender gender = vlmcgUnspecified;
      EContactSensitivity sensitivity = vlmcsNormal;
      EXPECT_EQ(Str2Bool(captured_.log, text, locale, &boolean), want[0] != "x") << line;
      EXPECT_EQ(Str2Gender(captured_.log, text, locale, &gender), want[1] != "x") << line;
      EXPECT_EQ(Str2Sensitivity(captured_.log, text, locale, &sensitivity), want[2] != "x") << line;
      if (want[0] != "x") {
        EXPECT_EQ(boolean, want[0] == "1") << line;
      }
      if (want[1] != "x") {
        EXPECT_EQ(std::to_string(gender), want[1]) << line;
      }
      if (want[2] != "x") {
        EXPECT_EQ(std::to_string(sensitivity), want[2]) << line;
      }
    }
    for (const std::string& message : c.All("logged")) {
      EXPECT_TRUE(captured_.Has(message)) << message;
    }
  }

  std::vector<double> dates;
  EXPECT_TRUE(GoogleStr2Dates(captured_.log, u"1999-12-31 ::: * 2001-02-03", true, 0, &dates));
  EXPECT_EQ(dates, (std::vector<double>{Date(1999, 12, 31), Date(2001, 2, 3)}));
  EXPECT_TRUE(GoogleStr2Dates(captured_.log, u"4501-01-01 ::: 2001-02-03 ::: x", true, 1, &dates));
  EXPECT_EQ(dates, (std::vector<double>{Date(2001, 2, 3)}));
  EXPECT_FALSE(GoogleStr2Dates(captured_.log, u"1999-02-30 ::: 12/31/1999", true, 0, &dates));
  EXPECT_TRUE(captured_.Has("Invalid 2 date(s) in:"));
  EXPECT_TRUE(GoogleStr2Dates(captured_.log, u"", true, 0, &dates));
  EXPECT_TRUE(dates.empty());
}

// The filled fields of a record, one per line, for whole-record checks.
std::string Dump(const contact::ContactRecord& c) {
  std::string out;
  auto field = [&](const char* name, std::u16string_view value) {
    if (!value.empty()) out.append(name).append("=").append(U8(value)).append("\n");
  };
  auto date = [&](const std::string& name, double value) {
    if (const std::string text = test::DateText(value); !text.empty())
      out += name + "=" + text + "\n";
  };
  const std::pair<const char*, const std::u16string*> kFields[] = {
      {"title", &c.Title},           {"first", &c.FirstName},
      {"middle", &c.MiddleName},     {"last", &c.LastName},
      {"suffix", &c.Suffix},         {"fn", &c.FormattedName},
      {"nick", &c.NickName},         {"company", &c.CompanyName},
      {"department", &c.Department}, {"job", &c.JobTitle},
      {"profession", &c.Profession}, {"location", &c.Location},
      {"account", &c.Account},       {"keyword", &c.Keyword},
      {"user1", &c.User1},           {"freebusy", &c.InternetFreeBusyAddress},
      {"categories", &c.Categories}};
  for (const auto& [name, value] : kFields) field(name, *value);
  date("birthday", c.Birthday);
  if (c.Gender != vlmcgUnspecified) out += "gender=" + std::to_string(c.Gender) + "\n";
  if (c.Sensitivity != vlmcsNormal) out += "sensitivity=" + std::to_string(c.Sensitivity) + "\n";
  for (const contact::ContactAddress& a : c.Addresses) {
    out += "adr(" + U8(a.Types) + ";" + U8(a.ABLabel) + ")=" + U8(a.PostOfficeBox) + "|" +
           U8(a.OfficeLocation) + "|" + U8(a.Street) + "|" + U8(a.City) + "|" + U8(a.State) + "|" +
           U8(a.PostalCode) + "|" + U8(a.Country) + "\n";
  }
  for (const contact::ContactPhone& p : c.Phones) {
    out += "tel(" + U8(p.Types) + ";" + U8(p.ABLabel) + ")=" + U8(p.Value) + "\n";
  }
  for (const contact::ContactEmail& e : c.Emails) {
    out += "email(" + U8(e.Types) + ";" + U8(e.AddressType) + ";" + U8(e.ABLabel) +
           ")=" + U8(e.Value) + "\n";
  }
  for (const contact::ContactImpp& i : c.Impps) {
    out += "impp(" + U8(i.ServiceType) + ";" + U8(i.Protocol) + ";" + U8(i.Types) + ";" +
           U8(i.ABLabel) + ")=" + U8(i.Value) + "\n";
  }
  for (const contact::ContactRelatedName& r : c.RelatedNames) {
    out += "rel(" + std::to_string(r.Label) + ";" + U8(r.LabelOther) + ")=" + U8(r.Name) + "\n";
  }
  for (const contact::ContactUrl& u : c.Urls) {
    out += "url(" + U8(u.Types) + ";" + U8(u.ABLabel) + ")=" + U8(u.Value) + "\n";
  }
  for (const contact::ContactDate& d : c.Dates) date("date(" + U8(d.ABLabel) + ")", d.Date);
  for (const contact::ContactCustomField& f : c.CustomFields) {
    out += "custom(" + U8(f.ABLabel) + ")=" + U8(f.Value) + "\n";
  }
  field("note", c.Body);
  return out;
}

TEST_F(CsvImport, Rows) {
  for (const test::FileCase& c : test::ReadCases("csv/data/import_rows.txt")) {
    SCOPED_TRACE(c.name);
    std::string dump;
    if (c.Has("row")) {
      const std::filesystem::path file = test::CorpusDir() / c.name;
      CsvDetection found;
      ASSERT_EQ(csv_.AutodetectCsvFile(file, true, &found), S_OK);
      CCsvContent content(captured_.log);
      ASSERT_EQ(content.LoadFromFile(file, found.encoding_cp), S_OK);
      CsvCellsTable cells;
      ASSERT_EQ(csv_.ParseCells(content.text(), &cells, csvpDefault, -1, 0, found.separator), S_OK);
      contact::ContactRecord contact;
      ASSERT_EQ(
          csv_.ImportContact(found.codes, cells[c.Number("row")], &contact, found.lid, cells[0]),
          S_OK);
      dump = Dump(contact);
      for (const std::string& field : c.All("field")) {
        EXPECT_NE(dump.find(field), std::string::npos) << field << "\n" << dump;
      }
      continue;
    }
    std::vector<std::pair<std::string, std::string>> cells;
    for (const std::string& cell : c.All("cell")) {
      const std::size_t equals = cell.find('=');
      cells.emplace_back(cell.substr(0, equals), cell.substr(equals + 1));
    }
    HRESULT status = E_GENERIC_FAILURE;
    const contact::ContactRecord contact =
        Import(cells, U16(c.Has("lid") ? c["lid"] : ""), &status);
    EXPECT_EQ(status, c.Has("empty") ? S_NO_CONTENT : S_OK);
    for (const std::string& field : c.All("field")) dump += field + "\n";
    if (!c.Has("empty")) {
      EXPECT_EQ(Dump(contact), dump);
    }
    for (const std::string& message : c.All("logged")) {
      EXPECT_TRUE(captured_.Has(message)) << message;
    }
  }
  CsvRow row = {u"Ann"};
  const std::uint32_t codes[] = {2};
  EXPECT_EQ(csv_.ImportContact(codes, row, nullptr, u""), E_INVALIDARG);
}

// Each Outlook phone column comes back in the telephone slot of its name.
TEST_F(CsvImport, PhoneColumnsFillTheirSlots) {
  Cells cells;
  for (std::uint32_t code = 30; code <= 48; ++code) {
    cells.emplace_back(U8(headers_.FindHeaderByCode(code)->Name), std::to_string(code * 1000 + 1));
  }
  const contact::ContactRecord contact = Import(cells);
  // Slots in the order of the codes 30 to 48.
  static constexpr contact::ETelephoneSlot kSlots[] = {
      contact::tsAssistant, contact::tsBusinessFax, contact::tsBusiness,    contact::tsBusiness2,
      contact::tsCallback,  contact::tsCar,         contact::tsCompanyMain, contact::tsHomeFax,
      contact::tsHome,      contact::tsHome2,       contact::tsISDN,        contact::tsMobile,
      contact::tsOtherFax,  contact::tsOther,       contact::tsPager,       contact::tsPrimary,
      contact::tsRadio,     contact::tsTTYTDD,      contact::tsTelex};
  for (std::size_t i = 0; i < std::size(kSlots); ++i) {
    EXPECT_EQ(U8(contact.TelephoneSlot(kSlots[i])), cells[i].second) << cells[i].first;
  }
}

TEST_F(CsvImport, RowsToVCards) {
  const CsvCellsTable cells = {
      {u"First Name", u"Last Name"}, {u"Ann", u"Lee"}, {}, {u"", u""}, {u"Bo", u"Ray"}};
  const std::vector<std::uint32_t> codes = {2, 4};
  std::vector<std::string> cards;
  int empties = -1, errors = -1;
  std::vector<std::array<int, 5>> calls;
  CsvRowsRequest request;
  request.codes = codes;
  request.from = 1;
  request.count = SIZE_MAX;  // all
  request.progress = [&](int position, int count, int done, int empty, int error) {
    calls.push_back({position, count, done, empty, error});
    return true;
  };
  ASSERT_EQ(ConvertCsvRows(csv_, cells, request, &cards, &empties, &errors), S_OK);
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_NE(cards[0].find("VERSION:3.0\r\n"), std::string::npos);
  EXPECT_NE(cards[0].find("N:Lee;Ann;;;\r\n"), std::string::npos);
  EXPECT_NE(cards[1].find("N:Ray;Bo;;;\r\n"), std::string::npos);
  EXPECT_EQ(empties, 2);
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(calls, (std::vector<std::array<int, 5>>{
                       {1, 4, 1, 0, 0}, {2, 4, 1, 1, 0}, {3, 4, 1, 2, 0}, {4, 4, 2, 2, 0}}));
  // A cancel after the first row gives nothing.
  request.progress = [](int, int, int, int, int) { return false; };
  EXPECT_EQ(ConvertCsvRows(csv_, cells, request, &cards, &empties, &errors), S_NO_CONTENT);
  EXPECT_TRUE(cards.empty());
  request.progress = nullptr;
  request.from = 2;
  request.count = 2;
  EXPECT_EQ(ConvertCsvRows(csv_, cells, request, &cards, &empties, &errors), S_NO_CONTENT);
  EXPECT_EQ(empties, 2);
}

}  // namespace
}  // namespace velmora::csv
