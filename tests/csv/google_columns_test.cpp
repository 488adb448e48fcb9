// Google's grouped columns: the plain-name grammar both ways, multi-value
// cells, the per-type index, plaining real exports, and mapping header rows
// between dialects.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv/csv_content.h"
#include "csv/csv_header_index_builder.h"
#include "csv/google_header_map.h"
#include "csv/google_mvalue.h"
#include "csv/google_plain_csv.h"
#include "csv/google_plain_name.h"
#include "csv_test_support.h"
#include "support/case_file.h"

namespace velmora::csv {
namespace {

using test::U16;
using test::U8;

class GoogleColumns : public test::CsvTest {
 protected:
  GoogleColumns() : CsvTest(true) {}
};

// Every grouped property, built and read back: the same entry, type word,
// and the index plus one.
TEST_F(GoogleColumns, PlainNamesRoundTrip) {
  int built = 0;
  for (const CCsvHeader& entry : headers_.entries()) {
    if (!entry.IsGroupped() || entry.GroupPropName == u"Type") continue;
    for (const char16_t* type : {u"", u"Home", u"Work Fax", u"7"}) {
      for (const int index : {0, 1, 11}) {
        for (const bool force : {false, true}) {
          const std::u16string name =
              BuildGooglePlainName(headers_, entry.Code, type, index, force);
          SCOPED_TRACE(U8(name));
          GooglePlainName parsed;
          ASSERT_TRUE(ParseGooglePlainName(headers_, name, &parsed));
          EXPECT_EQ(parsed.value, &entry);
          EXPECT_EQ(parsed.type, type);
          EXPECT_EQ(parsed.index, index + 1);
          const std::int32_t type_property =
              entry.GroupCode() == csvgIM ? csvgpIMService : csvgpType;
          EXPECT_EQ(parsed.type_entry->GroupPropCode(), type_property);
          EXPECT_EQ(parsed.type_entry->GroupCode(), entry.GroupCode());
          ++built;
        }
      }
    }
  }
  EXPECT_EQ(built, (38 - 12) * 4 * 3 * 2);  // 12 groups have a Type column
}

TEST_F(GoogleColumns, PlainNamesAndMultiValues) {
  for (const test::FileCase& c : test::ReadCases("csv/data/google_values.txt")) {
    for (const std::string& line : c.All("name")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      GooglePlainName parsed;
      ASSERT_EQ(ParseGooglePlainName(headers_, U16(parts[0]), &parsed), parts[1] != "none") << line;
      if (parts[1] == "none") continue;
      EXPECT_EQ(parsed.value->Code, std::stoul(parts[1], nullptr, 16)) << line;
      EXPECT_EQ(U8(parsed.type), parts[2]) << line;
      EXPECT_EQ(parsed.index, std::stoi(parts[3])) << line;
    }
    for (const std::string& line : c.All("built")) {
      const std::vector<std::string> parts = test::Split(line, " => ");
      EXPECT_EQ(U8(BuildGooglePlainName(headers_, std::stoul(parts[1], nullptr, 16), U16(parts[2]),
                                        std::stoi(parts[3]), parts[4] == "forced")),
                parts[0])
          << line;
    }
    for (const char* key : {"cell", "skip"}) {
      const bool skip_empty = key[0] == 's';
      for (const std::string& line : c.All(key)) {
        const std::vector<std::string> parts = test::Split(line, " => ");
        std::vector<std::u16string> items;
        int default_index = 7;
        DecodeGoogleMValue(captured_.log, U16(parts[0]), items, skip_empty, &default_index);
        EXPECT_EQ(items, parts[1].empty() && skip_empty ? std::vector<std::u16string>{}
                                                        : test::Split16(parts[1], "|"))
            << line;
        EXPECT_EQ(default_index, std::stoi(parts[2])) << line;
        if (skip_empty) continue;
        // Encoding gives the same items back.
        std::vector<std::u16string> again;
        DecodeGoogleMValue(captured_.log, EncodeGoogleMValue(items, default_index), again, false);
        EXPECT_EQ(again, items) << line;
      }
    }
  }
  GooglePlainName parsed;
  ASSERT_TRUE(ParseGooglePlainName(headers_, u"IM 'Skype'", &parsed));
  EXPECT_EQ(parsed.type_entry->Code, 0x02000002u);  // the IM service
  EXPECT_EQ(captured_.Count("two default values in:"), 1);
  EXPECT_EQ(captured_.Count("CCsv.BuildGooglePlainName"), 3);
  EXPECT_EQ(
      U8(DecodeGoogleGroupMembership(captured_.log, u"Friends ::: * my contacts ::: * Work", u";")),
      "Friends;Work");
  EXPECT_EQ(U8(DecodeGoogleGroupMembership(captured_.log, u"A ::: * B ::: C", u", ")), "B, A, C");
}

// Address and organisation instances span several columns: each keeps the
// index its first column got. Other groups count every call.
TEST_F(GoogleColumns, IndexForType) {
  struct Call {
    std::uint32_t code;
    const char16_t* type;
    int instance;
    int index;
    int group_instance;
  };
  const Call kCalls[] = {
      {0x04000004, u"Work", 1, 0, 1}, {0x04000005, u"Work", 1, 0, 1},
      {0x04000004, u"Home", 2, 0, 2}, {0x04000004, u"Work", 3, 1, 3},
      {0x04000005, u"Work", 3, 1, 3}, {0x0500000B, u"", 1, 0, 1},
      {0x01000001, u"Home", 1, 0, 1}, {0x01000001, u"Home", 1, 1, 2},
      {0x01000001, u"Work", 1, 0, 3}, {0x03000001, u"Home", 1, 0, 1},
  };
  CCsvHeaderIndexBuilder builder(captured_.log);
  for (const Call& call : kCalls) {
    int group_instance = 0;
    EXPECT_EQ(builder.new_Index4Type(call.code, call.type, call.instance, &group_instance),
              call.index);
    EXPECT_EQ(group_instance, call.group_instance);
  }
  EXPECT_FALSE(captured_.Has("ASSERT"));
  builder.new_Index4Type(0x04000004, u"Work", 0);
  EXPECT_TRUE(captured_.Has("ASSERT"));
}

// The layout of a plained table, cell by cell: the cases of
// tests/csv/data/google_plain.txt.
TEST_F(GoogleColumns, PlainsASmallTable) {
  const std::vector<test::FileCase> cases = test::ReadCases("csv/data/google_plain.txt");
  ASSERT_EQ(cases.front().name, "source");
  CsvCellsTable source;
  for (const std::string& row : cases.front().All("row")) source.push_back(test::Split16(row, "|"));
  for (std::size_t i = 1; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    CsvCellsTable cells = source, expected;
    for (const std::string& row : cases[i].All("row")) expected.push_back(test::Split16(row, "|"));
    ASSERT_EQ(PlainGoogleCsv(headers_, cells, cases[i].Number("flags")), S_OK);
    EXPECT_EQ(test::DumpCells(cells), test::DumpCells(expected));
  }
  CsvCellsTable plain = {{u"Name", u"Notes"}, {u"Ann", u"x"}};
  EXPECT_EQ(PlainGoogleCsv(headers_, plain, pcfDefault), S_FALSE);
  CsvCellsTable header_only = {source.front()};
  EXPECT_EQ(PlainGoogleCsv(headers_, header_only, pcfDefault), S_FALSE);
  EXPECT_EQ(header_only.front(), source.front());
}

// The values of a cell: plain cells as they are, grouped ones split into
// their values (addresses and organisations kept whole).
std::multiset<std::u16string> Values(const CCsvHeaders& headers, const CsvCellsTable& cells,
                                     CLog& log) {
  std::multiset<std::u16string> values;
  std::vector<std::u16string> items;
  for (std::size_t c = 0; c < cells.front().size(); ++c) {
    const std::uint32_t code = headers.FindCodeByName(cells.front()[c]);
    const std::uint32_t group = code >> 24;
    const bool type_cell = code > kCsvHeaderMaxPlain &&
                           ((code & 0xFF) == csvgpType || (code & 0xFF) == csvgpIMService);
    for (std::size_t r = 1; r < cells.size(); ++r) {
      if (c >= cells[r].size() || cells[r][c].empty() || type_cell) continue;
      if (code <= kCsvHeaderMaxPlain || group == csvgAddress || group == csvgOrganization) {
        values.insert(cells[r][c]);
        continue;
      }
      DecodeGoogleMValue(log, cells[r][c], items, true);
      values.insert(items.begin(), items.end());
    }
  }
  return values;
}

TEST_F(GoogleColumns, PlainsRealExports) {
  const CCsv csv(captured_.log);
  for (const char* file : {"fk_google_old.csv", "roundcube_gmail.csv"}) {
    for (const std::int32_t flags : {0, pcfSortByType | pcfForce1stIndex}) {
      SCOPED_TRACE(std::string(file) + " flags " + std::to_string(flags));
      CCsvContent content(captured_.log);
      ASSERT_EQ(content.LoadFromFile(test::CorpusDir() / "csv-google-old" / file, 0), S_OK);
      CsvCellsTable cells;
      ASSERT_EQ(csv.ParseCells(content.text(), &cells), S_OK);
      const std::multiset<std::u16string> before = Values(headers_, cells, captured_.log);
      const CsvRow original = cells.front();
      ASSERT_EQ(PlainGoogleCsv(headers_, cells, flags), S_OK);
      EXPECT_EQ(Values(headers_, cells, captured_.log), before);
      for (const std::u16string& name : cells.front()) {
        // A known plain column, a column of the source, or a plain name.
        GooglePlainName parsed;
        const std::uint32_t code = headers_.FindCodeByName(name);
        EXPECT_TRUE((code != 0 && code <= kCsvHeaderMaxPlain) ||
                    ParseGooglePlainName(headers_, name, &parsed) ||
                    (code == 0 && std::count(original.begin(), original.end(), name) == 1))
            << U8(name);
        EXPECT_EQ(std::count(cells.front().begin(), cells.front().end(), name), 1) << U8(name);
      }
    }
  }
  EXPECT_FALSE(captured_.Has("Unsupported"));
}

// Source columns to destination columns, by code, by the e-mail and
// category pairs, by name, and the rest into the notes; and where each
// column lands in a Google table: the cases of tests/csv/data/header_maps.txt.
TEST_F(GoogleColumns, MapsHeaderRows) {
  auto text = [](const std::vector<std::int32_t>& numbers) {
    std::string out;
    for (const std::int32_t n : numbers) out += std::to_string(n) + " ";
    return out;
  };
  for (const test::FileCase& c : test::ReadCases("csv/data/header_maps.txt")) {
    SCOPED_TRACE(c.name);
    const std::vector<std::u16string> source = test::Split16(c["source"], "|");
    if (c.Has("google")) {
      std::vector<GoogleDestination> found;
      const bool failed = c["google"] == "failed";
      ASSERT_EQ(MapCsvHeaders2Google(headers_, source, c.Number("flags"), &found),
                failed ? E_GENERIC_FAILURE : S_OK);
      std::string lines;
      for (const GoogleDestination& d : found) {
        lines +=
            U8(headers_.BuildHeaderName(static_cast<std::uint32_t>(d.code), vlmcsvGoogle, u"")) +
            "|" + U8(d.type) + "|" + std::to_string(d.index4type) + (d.append ? "+;" : ";");
      }
      if (!failed) {
        EXPECT_EQ(lines, c["google"] + ";");
      }
    } else {
      std::vector<std::int32_t> src2dst, append;
      const bool failed = c["columns"] == "failed";
      ASSERT_EQ(
          MapCsvHeaders(headers_, source, test::Split16(c["destination"], "|"), &src2dst, &append),
          failed ? E_GENERIC_FAILURE : S_OK);
      if (failed) continue;
      EXPECT_EQ(text(src2dst), c["columns"] + " ");
      EXPECT_EQ(text(append), c["append"] + " ");
    }
    for (const std::string& message : c.All("logged")) EXPECT_TRUE(captured_.Has(message));
  }
  std::vector<std::int32_t> src2dst, append;
  std::vector<GoogleDestination> found;
  const std::vector<std::u16string> notes = {u"Notes"};
  EXPECT_EQ(MapCsvHeaders(headers_, {}, notes, &src2dst, &append), E_INVALIDARG);
  EXPECT_EQ(MapCsvHeaders2Google(headers_, {}, 0, &found), E_INVALIDARG);
}

}  // namespace
}  // namespace velmora::csv
