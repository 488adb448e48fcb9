// Google's grouped columns: the plain-name grammar both ways, multi-value
// cells, the per-type index, plaining real exports, and mapping header rows
// between dialects.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <velmora/unicode.h>

#include <gtest/gtest.h>

#include "csv/csv.h"
#include "csv/csv_content.h"
#include "csv/csv_header_index_builder.h"
#include "csv/csv_headers.h"
#include "csv/google_header_map.h"
#include "csv/google_mvalue.h"
#include "csv/google_plain_csv.h"
#include "csv/google_plain_name.h"
#include "support/test_env.h"
#include "vcard/vcard_test_support.h"

namespace velmora {
namespace {

using test::CapturedLog;

using test::U16;
using test::U8;

std::vector<std::u16string> Split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::u16string_view::npos;
       start = end + 1) {
    parts.emplace_back(text.substr(start, end - start));
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

class GoogleColumns : public ::testing::Test {
 protected:
  GoogleColumns() : headers_(captured_.log) {
    headers_.LoadOutlookLocales(test::SourceDir() / "data" / "supportedOutlookHeaders.csv");
  }
  CapturedLog captured_;
  CCsvHeaders headers_;
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
  const struct {
    std::uint32_t code;
    const char16_t* type;
    int index;
    bool force;
    const char* name;
  } kBuilt[] = {
      {0x01000001, u"Home", 0, false, "E-mail 'Home'"},
      {0x01000001, u"Home", 1, false, "E-mail 'Home' 2"},
      {0x04000004, u"Work", 0, true, "Address 'Work' 1 Street"},
      {0x03000001, u"", 0, false, "Phone"},
      {0x01000000, u"Home", 0, false, ""},  // no plain Type column
      {2, u"", 0, false, ""},               // not grouped
      {0x01000001, u"", -1, false, ""},
  };
  for (const auto& b : kBuilt) {
    EXPECT_EQ(U8(BuildGooglePlainName(headers_, b.code, b.type, b.index, b.force)), b.name);
  }
  EXPECT_EQ(captured_.Count("CCsv.BuildGooglePlainName"), 3);
}

TEST_F(GoogleColumns, PlainNameGrammar) {
  struct Case {
    const char* name;
    std::uint32_t value;  // 0: the name does not parse
    const char* type;
    int index;
  };
  const Case kCases[] = {
      {"E-mail 'Home' 2", 0x01000001, "Home", 2},
      {"Address 'Work' Street", 0x04000004, "Work", 1},
      {"IM 'Skype'", 0x02000001, "Skype", 1},
      {"Phone", 0x03000001, "", 1},
      {"Custom Field 'Hat size' 3", 0x0B000001, "Hat size", 3},
      {"Organization 2 Yomi Name", 0x0500000C, "", 2},
      {"e-mail 'x'", 0x01000001, "x", 1},  // group names ignore case
      {"E-mail 'Home' Type", 0, "", 0},
      {"E-mail 'Home' 0", 0, "", 0},
      {"E-mail  'Home'", 0, "", 0},
      {"E-mail ''", 0, "", 0},
      {"E-mail 'Home", 0, "", 0},
      {"E-mail 'Home'2", 0, "", 0},
      {"E-mail 2x", 0, "", 0},
      {"E-mail ", 0, "", 0},
      {" E-mail", 0, "", 0},
      {"Address 'Work' street", 0, "", 0},  // properties keep their case
      {"Address 'Work' Street ", 0, "", 0},
      {"Addresses 'Work'", 0, "", 0},
      {"", 0, "", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    GooglePlainName parsed;
    ASSERT_EQ(ParseGooglePlainName(headers_, U16(c.name), &parsed), c.value != 0);
    if (c.value == 0) continue;
    EXPECT_EQ(parsed.value->Code, c.value);
    EXPECT_EQ(U8(parsed.type), c.type);
    EXPECT_EQ(parsed.index, c.index);
  }
  GooglePlainName parsed;
  ASSERT_TRUE(ParseGooglePlainName(headers_, u"IM 'Skype'", &parsed));
  EXPECT_EQ(parsed.type_entry->Code, 0x02000002u);  // the IM service
}

TEST_F(GoogleColumns, MultiValues) {
  struct Case {
    const char16_t* text;
    bool skip_empty;
    const char16_t* items;  // joined by '|'
    int default_index;
  };
  const Case kCases[] = {
      {u"Home ::: * Work ::: Other", false, u"Home|Work|Other", 1},
      {u"** Star", false, u"* Star", -1},
      {u"a :::: b", false, u"a ::: b", -1},
      {u"a ::::: b ::: c", false, u"a :::: b|c", -1},
      {u"* a ::: * b", false, u"a|b", 0},
      {u"a :::  ::: b", true, u"a|b", -1},
      {u"a :::  ::: b", false, u"a||b", -1},
      {u" ::: b", true, u"b", -1},
      {u" ::: b", false, u"|b", -1},
      {u"*", false, u"*", -1},
      {u"", true, u"", -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(U8(c.text));
    std::vector<std::u16string> items;
    int default_index = 7;
    DecodeGoogleMValue(captured_.log, c.text, items, c.skip_empty, &default_index);
    const std::vector<std::u16string> expected =
        c.items[0] == 0 && c.skip_empty ? std::vector<std::u16string>{} : Split(c.items, u'|');
    EXPECT_EQ(items, expected);
    EXPECT_EQ(default_index, c.default_index);
    if (c.skip_empty) continue;
    // Encoding gives the same items back.
    std::vector<std::u16string> again;
    DecodeGoogleMValue(captured_.log, EncodeGoogleMValue(items, default_index), again, false);
    EXPECT_EQ(again, items);
  }
  EXPECT_EQ(captured_.Count("two default values in:"), 1);
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

// The layout of a plained table, cell by cell.
TEST_F(GoogleColumns, PlainsASmallTable) {
  const CsvCellsTable source = {
      {u"Name", u"E-mail 1 - Type", u"E-mail 1 - Value", u"Group Membership", u"IM 1 - Type",
       u"IM 1 - Service", u"IM 1 - Value", u"Address 1 - Type", u"Address 1 - City",
       u"Address 1 - Street", u"Relation 1 - Type", u"Relation 1 - Value", u"Relation 2 - Type",
       u"Relation 2 - Value"},
      {u"Ann", u"* Home", u"a@x ::: b@x", u"* My Contacts ::: Friends", u"Other", u"Skype ::: ICQ",
       u"ann1 ::: ann2 ::: ann3", u"Work", u"Paris", u"1 Rue ::: B", u"Child", u"Bo", u"Child",
       u"Cy :::: Di", u"extra"},
      {u"Ben", u"Work", u"b@y"},
  };
  struct Case {
    std::int32_t flags;
    const char16_t* header;  // joined by '|'
    const char16_t* row1;
    const char16_t* row2;
  };
  const Case kCases[] = {
      {0,
       u"Name|E-mail 'Home'|E-mail 'Home' 2|E-mail 'Work'|Group Membership|IM 'Skype'|IM 'ICQ'|IM|"
       u"Address 'Work' City|Address 'Work' Street|Relation 'Child'|Relation 'Child' 2",
       u"Ann|a@x|b@x||* My Contacts ::: Friends|ann1|ann2|ann3|Paris|1 Rue ::: B|Bo|Cy ::: "
       u"Di|extra",
       u"Ben|||b@y||||||||"},
      {pcfDefault,
       u"Name|E-mail 'Home'|E-mail 'Home' 2|E-mail 'Work'|Group Membership|IM 'Skype'|IM 'ICQ'|IM|"
       u"Address 'Work' City|Address 'Work' Street|Relation 'Child'",
       u"Ann|a@x|b@x||Friends|ann1|ann2|ann3|Paris|1 Rue ::: B|Bo ::: Cy :::: Di|extra",
       u"Ben|||b@y|||||||"},
      {pcfSortByType | pcfForce1stIndex,
       u"Name|E-mail 'Home' 1|E-mail 'Home' 2|E-mail 'Work' 1|Group Membership|IM 1|IM 'ICQ' 1|"
       u"IM 'Skype' 1|Address 'Work' 1 Street|Address 'Work' 1 City|Relation 'Child' 1|Relation "
       u"'Child' 2",
       u"Ann|a@x|b@x||* My Contacts ::: Friends|ann3|ann2|ann1|1 Rue ::: B|Paris|Bo|Cy ::: "
       u"Di|extra",
       u"Ben|||b@y||||||||"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.flags);
    CsvCellsTable cells = source;
    ASSERT_EQ(PlainGoogleCsv(headers_, cells, c.flags), S_OK);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0], Split(c.header, u'|'));
    EXPECT_EQ(cells[1], Split(c.row1, u'|'));
    EXPECT_EQ(cells[2], Split(c.row2, u'|'));
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
// category pairs, by name, and the rest into the notes.
TEST_F(GoogleColumns, MapsHeaderRows) {
  struct Case {
    const char* what;
    const char16_t* source;       // names joined by '|'
    const char16_t* destination;  // names joined by '|'
    std::vector<std::int32_t> src2dst;
    std::vector<std::int32_t> append;
  };
  const Case kCases[] = {
      {"Outlook to Nokia",
       u"First Name|E-mail Address|E-mail 2 Address|Categories|Hobby|Suffix",
       u"Notes|Home e-mail|General e-mail|First name|Suffix",
       {3, 2, 1, -1, -1, 4},
       {-1, -1, -1, 0, 0, -1}},
      // The eleven Google defaults make the source Google, so its plain names
      // are resolved: the third "Work" phone falls back to "Other".
      {"Google plain to Outlook",
       u"Given Name|Additional Name|Family Name|Given Name Yomi|Family Name Yomi|Name Prefix|"
       u"Name Suffix|Nickname|Birthday|Notes|Group Membership|Phone 'Work' 2|Phone 'Work'|"
       u"Phone 'Work' 3|E-mail 'Home'|Address 'Home' City|Foo|Bar",
       u"First Name|Business Phone|Business Phone 2|Other Phone|E-mail 2 Address|Home City|"
       u"Categories|Notes|Bar|Birthday",
       {0, -1, -1, -1, -1, -1, -1, -1, 9, 7, 6, 2, 1, 3, 4, 5, -1, 8},
       {-1, 7, 7, 7, 7, 7, 7, 7, -1, -1, -1, -1, -1, -1, -1, -1, 7, -1}},
      {"Outlook to Outlook365",
       u"First Name|Business Street 2|Home Phone|E-mail Type|Notes",
       u"Notes|Home Phone|First Name|Business Street",
       {2, -1, 1, -1, 0},
       {-1, 0, -1, 0, -1}},
      {"no notes column", u"Xyz|First Name", u"First Name", {-1, 0}, {-1, -1}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::u16string> source = Split(c.source, u'|');
    const std::vector<std::u16string> destination = Split(c.destination, u'|');
    std::vector<std::int32_t> src2dst, append;
    ASSERT_EQ(MapCsvHeaders(headers_, source, destination, &src2dst, &append), S_OK);
    EXPECT_EQ(src2dst, c.src2dst);
    EXPECT_EQ(append, c.append);
  }
  std::vector<std::int32_t> src2dst, append;
  const std::vector<std::u16string> grouped = Split(
      u"Given Name|Additional Name|Family Name|Given Name Yomi|Family Name Yomi|Name Prefix|"
      u"Name Suffix|Nickname|Birthday|Notes|Group Membership|E-mail 1 - Value",
      u'|');
  EXPECT_EQ(MapCsvHeaders(headers_, grouped, grouped, &src2dst, &append), E_GENERIC_FAILURE);
  EXPECT_TRUE(captured_.Has("Google csv must be plained first"));
  EXPECT_EQ(MapCsvHeaders(headers_, {}, grouped, &src2dst, &append), E_INVALIDARG);
}

// Where each column lands in a Google table, as "column|type|index" with
// "+" for a value appended to that column.
TEST_F(GoogleColumns, MapsToGoogle) {
  auto render = [&](const std::vector<std::u16string>& source, std::int32_t flags) {
    std::vector<GoogleDestination> found;
    EXPECT_EQ(MapCsvHeaders2Google(headers_, source, flags, &found), S_OK);
    std::vector<std::string> lines;
    for (const GoogleDestination& d : found) {
      lines.push_back(
          U8(headers_.BuildHeaderName(static_cast<std::uint32_t>(d.code), vlmcsvGoogle, u"")) +
          "|" + U8(d.type) + "|" + std::to_string(d.index4type) + (d.append ? "+" : ""));
    }
    return lines;
  };
  const std::vector<std::string> outlook = {
      "Given Name||0",
      "Phone 1 - Value|Work|0",
      "Phone 2 - Value|Work|1",
      "Phone 3 - Value|Home|0",
      "Address 1 - Street|Work|0",
      "Address 1 - City|Work|0",
      "Address 1 - Street|Work|0+",
      "Address 1 - Extended Address|Work|0",
      "Address 2 - City|Home|0",
      "E-mail 1 - Value|Other|0",
      "E-mail 2 - Value|Other|1",
      "Group Membership||0",
      "Organization 1 - Name||0",
      "Organization 1 - Title||0",
      "Relation 1 - Value|Child|0",
      "Notes||0",
      "Notes||0+",
      "||0",
      "||0",
      "Jot 1 - Value|User|0",
      "Group Membership||0+",
  };
  EXPECT_EQ(render(Split(u"First Name|Business Phone|Business Phone 2|Home Phone|Business Street|"
                         u"Business City|Business Street 3|Business Street 2|Home City|"
                         u"E-mail Address|E-mail 2 Address|Categories|Company|Job Title|Children|"
                         u"Notes|SIP address|E-mail Type|Xyz|User 2|Group Membership",
                         u'|'),
                   0),
            outlook);

  const std::u16string defaults =
      u"Given Name|Additional Name|Family Name|Given Name Yomi|Family Name Yomi|Name Prefix|"
      u"Name Suffix|Nickname|Birthday|Notes|Group Membership|";
  const std::vector<std::string> google =
      render(Split(defaults + u"Phone 'Work' 2|Address 'Home' City|Address 'Home' Street|"
                              u"Relation 'Child'|Relation 'Child' 2",
                   u'|'),
             pcfUniteChild);
  EXPECT_EQ(std::vector<std::string>(google.begin() + 11, google.end()),
            (std::vector<std::string>{"Phone 1 - Value|Work|0", "Address 1 - City|Home|0",
                                      "Address 1 - Street|Home|0", "Relation 1 - Value|Child|0",
                                      "Relation 1 - Value|Child|0+"}));
  std::vector<GoogleDestination> found;
  EXPECT_EQ(MapCsvHeaders2Google(headers_, Split(defaults + u"Phone 1 - Value", u'|'), 0, &found),
            E_GENERIC_FAILURE);
  EXPECT_EQ(MapCsvHeaders2Google(headers_, {}, 0, &found), E_INVALIDARG);
}

}  // namespace
}  // namespace velmora
