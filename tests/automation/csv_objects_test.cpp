// The converter's CSV methods as an application calls them: autodetection,
// the header catalogue (CsvHeaders, CsvHeader) and the Outlook locales.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <velmora/velmora.h>

#include <gtest/gtest.h>

#include "automation/automation_test_support.h"

namespace velmora::automation {
namespace {

using test::U16;
using test::U8;

// Every member of a header, on one line.
std::string Describe(ICsvHeader& h) {
  std::int32_t code = 0, indexed = 0;
  bool grouped = false;
  ECsvHeaderType type = cftUnknown;
  ECsvHeaderGroup group = csvgNone;
  ECsvHeaderGroupProp prop = csvgpNone;
  std::u16string name, alt, format, group_name, prop_name, indexed_name;
  std::vector<std::u16string> types;
  h.get_Code(&code);
  h.get_Type(&type);
  h.get_IsGroupped(&grouped);
  h.get_Name(&name);
  h.get_NameAlt(&alt);
  h.get_NameFormat(&format);
  h.get_GroupCode(&group);
  h.get_GroupName(&group_name);
  h.get_GroupPropCode(&prop);
  h.get_GroupPropName(&prop_name);
  h.GetIndexedCode(3, &indexed);
  h.GetIndexedName(3, &indexed_name);
  const HRESULT known = h.get_GroupKnownTypes(&types);
  char codes[64];
  std::snprintf(codes, sizeof codes, "%08X/%08X t%d g%d p%d k%d:%zu ", static_cast<unsigned>(code),
                static_cast<unsigned>(indexed), type, group, prop, known, types.size());
  return codes + std::string(grouped ? "grouped " : "") + U8(name) + "|" + U8(alt) + "|" +
         U8(format) + "|" + U8(group_name) + "|" + U8(prop_name) + "|" + U8(indexed_name);
}

// Collections per dialect, their items, and finding by name and code.
TEST(CsvObjects, HeaderCollections) {
  const auto converter = test::NewCsvConverter();
  std::shared_ptr<ICsvHeaders> google, outlook, nokia;
  ASSERT_EQ(converter->GetCsvHeaders2(vlmcsvGoogle, &google), S_OK);
  ASSERT_EQ(converter->GetCsvHeaders2(vlmcsvOutlook, &outlook), S_OK);
  ASSERT_EQ(converter->GetCsvHeaders2(vlmcsvNokia, &nokia), S_OK);
  EXPECT_EQ(test::Get(*google, &ICsvHeaders::get_Count), 65);  // 27 plain, then 38 grouped

  std::shared_ptr<ICsvHeader> item, again;
  ASSERT_EQ(google->get_Item(27, &item), S_OK);
  ASSERT_EQ(google->get_Item(27, &again), S_OK);
  EXPECT_EQ(item, again);
  EXPECT_EQ(Describe(*item),
            "01000000/01000300 t4 g1 p0 k0:2 grouped E-mail * - Type||E-mail %d - Type|E-mail|"
            "Type|E-mail 3 - Type");
  ASSERT_EQ(google->get_Item(0, &item), S_OK);
  EXPECT_EQ(Describe(*item), "0000005D/0000005D t2 g0 p-1 k1:0 Name|||||Full Name");
  for (const std::int32_t bad : {-1, 65}) {
    EXPECT_EQ(google->get_Item(bad, &item), E_INVALIDARG) << bad;
    EXPECT_FALSE(item);
  }

  // Each collection finds its own dialect's names and alternative spellings,
  // as written; which names those are is the catalogue's (CsvHeaders.NameCases).
  const std::tuple<ICsvHeaders*, const char16_t*, std::int32_t> kFinds[] = {
      {google.get(), u"Given Name", 2},
      {outlook.get(), u"Given Name", 0},
      {outlook.get(), u"Business Country", 15},  // an alternative spelling
      {nokia.get(), u"Business State/Province", 13},
  };
  for (const auto& [headers, name, expected] : kFinds) {
    SCOPED_TRACE(U8(name));
    std::shared_ptr<ICsvHeader> by_name, by_code;
    EXPECT_EQ(headers->FindByName(name, &by_name), expected != 0 ? S_OK : S_FALSE);
    EXPECT_EQ(by_name ? test::Get(*by_name, &ICsvHeader::get_Code) : 0, expected);
    EXPECT_EQ(expected != 0 ? headers->FindByCode(expected, &by_code) : S_OK, S_OK);
    EXPECT_EQ(by_code, by_name);
  }
  // A grouped code is found with its instance bits zero only.
  EXPECT_EQ(google->FindByCode(0x03000101, &item), S_FALSE);
  EXPECT_EQ(google->FindByCode(0x03000001, &item), S_OK);
}

TEST(CsvObjects, KnownTypesAndCatalogueNames) {
  const auto converter = test::NewCsvConverter();
  std::vector<std::u16string> types;
  ASSERT_EQ(converter->GetCsvHeaderKnownTypes(0x03000101, &types), S_OK);
  EXPECT_EQ(types.size(), 19u);
  for (const std::int32_t plain_or_unknown : {2, 0x7F000000}) {
    EXPECT_EQ(converter->GetCsvHeaderKnownTypes(plain_or_unknown, &types), S_FALSE);
    EXPECT_TRUE(types.empty());
  }

  std::vector<std::u16string> names;
  std::vector<std::int32_t> codes;
  std::vector<bool> defaults;
  ASSERT_EQ(converter->GetCsvHeaders(&names, &codes, &defaults), S_OK);
  ASSERT_TRUE(names.size() == codes.size() && names.size() == defaults.size());
  const auto at = [&](std::u16string_view name) {
    return std::find(names.begin(), names.end(), name) - names.begin();
  };
  // "Given Name" is Google's name for First Name.
  EXPECT_EQ(std::tuple(codes[at(u"Given Name")], defaults[at(u"First Name")],
                       defaults[at(u"Given Name")], defaults[at(u"E-mail * - Type")]),
            std::tuple(2, true, false, false));
  EXPECT_EQ(std::count(defaults.begin(), defaults.end(), true), 86);  // 1 to 100 less 14
}

TEST(CsvObjects, OutlookLocales) {
  std::shared_ptr<ICsvOutlookLocale> locale, french, unloaded;
  {
    const auto converter = test::NewCsvConverter(u"CsvObjects");
    const std::int32_t count = test::Get(*converter, &ICardConverter::get_CsvOutlookLocalesCount);
    ASSERT_EQ(count, 11);
    EXPECT_EQ(converter->get_CsvOutlookLocalesItem(Variant(count), &locale), E_BOUNDS);
    EXPECT_EQ(converter->get_CsvOutlookLocalesItem(Variant(-1), &locale), E_BOUNDS);
    EXPECT_EQ(converter->get_CsvOutlookLocalesItem(Variant(2.0), &locale), E_INVALIDARG);
    test::ExpectLogged("CsvObjects", "csv", {"vIndexOrLID must be BSTR or INT"});
    ASSERT_EQ(converter->get_CsvOutlookLocalesItem(Variant(std::uint32_t{1}), &locale), S_OK);
    ASSERT_EQ(converter->get_CsvOutlookLocalesItem(Variant(u"1036"), &french), S_OK);
    ASSERT_EQ(converter->get_CsvOutlookLocalesItem(Variant(u"9999"), &unloaded), S_OK);
  }
  // The objects outlive the converter.
  std::u16string text;
  std::int32_t number = 0, first = 0, second = 0;
  EXPECT_EQ(test::Get(*locale, &ICsvOutlookLocale::get_LID), u"1031");
  EXPECT_EQ(test::Get(*locale, &ICsvOutlookLocale::get_Codepage), 1252);
  EXPECT_EQ(locale->get_GenderValue(static_cast<EContactGender>(3), &text), E_INVALIDARG);
  EXPECT_EQ(locale->FindHeaderCode(u"Vorname", 0, &number), S_OK);
  EXPECT_EQ(locale->FindHeaderName(number, &text), S_OK);
  EXPECT_EQ(U8(text) + std::to_string(number), "Vorname2");
  EXPECT_EQ(locale->get_HeaderName(92, &text), E_INVALIDARG);
  ASSERT_EQ(locale->get_HeaderName(91, &text), S_OK);

  // French gives Title and Job Title one word: two codes under one name.
  ASSERT_EQ(french->get_HeaderCodeCount(0, &number), S_OK);
  ASSERT_EQ(french->get_HeaderCode(0, 0, &first), S_OK);
  ASSERT_EQ(french->get_HeaderCode(0, 1, &second), S_OK);
  EXPECT_TRUE(number == 2 && first != second) << number;
  EXPECT_EQ(french->get_HeaderCode(0, 2, &second), E_INVALIDARG);
  EXPECT_EQ(unloaded->get_LID(&text), E_GENERIC_FAILURE);
}

// The wrappers copy what the engine found into the outputs asked for.
TEST(CsvObjects, Autodetect) {
  const auto converter = test::NewCsvConverter();
  test::TempDir dir;
  const std::u16string file = U16(dir / "de.csv");
  test::WriteFile(dir / "de.csv", "Vorname;Nachname\r\nAnn;Lee\r\n");
  bool empty = true, custom = true;
  std::u16string separator, headers, lid;
  std::int32_t code_page = -1;
  ECsvType type = vlmcsvOutlook;
  ASSERT_EQ(converter->AutodetectCsv3(file, &empty, &separator, &headers, &code_page, &lid, &custom,
                                      &type),
            S_OK);
  EXPECT_EQ(U8(separator + u"|" + headers + u"|" + lid), ";|\"Vorname\",\"Nachname\"|1031");
  EXPECT_EQ(std::tuple(code_page, empty, custom, type),
            std::tuple(1252, false, false, vlmcsvUnknown));
  EXPECT_EQ(converter->AutodetectCsv(file, nullptr, nullptr, nullptr, &type), S_OK);
  EXPECT_EQ(
      converter->AutodetectCsv2(file + u"x", &empty, &separator, &headers, &code_page, &lid, &type),
      HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));

  std::vector<std::int32_t> codes;
  ASSERT_EQ(converter->AutodetectCsvHeaders({u"Vorname", u"Hobbys"}, &codes, &lid, &custom, &type),
            S_OK);
  EXPECT_EQ(U8(lid), "1031");
  EXPECT_EQ(codes, (std::vector<std::int32_t>{2, 0}));
}

TEST(CsvObjects, GoogleColumns) {
  const auto converter = test::NewCsvConverter();
  ECsvHeaderGroup group = csvgNone;
  ECsvHeaderGroupProp prop = csvgpNone;
  std::u16string type;
  std::int32_t index = 0;
  bool success = false;
  ASSERT_EQ(converter->ParseGooglePlainName(u"Address 'Work' 2 City", &group, &prop, &type, &index,
                                            &success),
            S_OK);
  EXPECT_TRUE(success);
  EXPECT_EQ(U8(type) + std::to_string(group) + std::to_string(prop) + std::to_string(index),
            "Work452");
  ASSERT_EQ(converter->ParseGooglePlainName(u"", &group, &prop, &type, &index, &success), S_OK);
  EXPECT_EQ(std::tuple(success, group, prop, index), std::tuple(false, csvgNone, csvgpNone, 0));

  std::vector<std::int32_t> src2dst, append, codes, indexes;
  ASSERT_EQ(converter->MapCsvHeaders({u"Xyz", u"Notes"}, {u"Notes"}, &append, &src2dst), S_OK);
  EXPECT_EQ(src2dst, (std::vector<std::int32_t>{-1, 0}));
  EXPECT_EQ(append, (std::vector<std::int32_t>{0, -1}));

  std::vector<std::u16string> types;
  std::vector<bool> appended;
  ASSERT_EQ(converter->MapCsvHeaders2Google({u"Home Phone", u"Home Phone 2"}, &codes, &types,
                                            &indexes, &appended),
            S_OK);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{0x03000101, 0x03000201}));
  EXPECT_EQ(types, (std::vector<std::u16string>{u"Home", u"Home"}));
  EXPECT_EQ(indexes, (std::vector<std::int32_t>{0, 1}));
  EXPECT_EQ(appended, (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace velmora::automation
