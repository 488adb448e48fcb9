// The converter's CSV methods as an application calls them: autodetection,
// the header catalogue (CsvHeaders, CsvHeader) and the Outlook locales.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <velmora/velmora.h>

#include <gtest/gtest.h>

#include "automation/automation_test_support.h"

namespace velmora {
namespace {

using test::U16;
using test::U8;

std::filesystem::path OutlookHeadersFile() {
  return test::SourceDir() / "data" / "supportedOutlookHeaders.csv";
}

std::shared_ptr<ICardConverter> CsvConverter(std::u16string_view product = u"") {
  std::shared_ptr<ICardConverter> converter = CreateCardConverter();
  EXPECT_EQ(
      converter->InitEx2(std::u16string(product), Variant(U16(test::EncodingsFile())), Variant(),
                         !product.empty(), Variant(u"csv"), Variant(U16(OutlookHeadersFile()))),
      S_OK);
  return converter;
}

TEST(CsvObjects, EveryMethodFailsWithMinusOneBeforeInit) {
  using Conv = ICardConverter;
  bool flag = false;
  std::u16string text;
  std::int32_t number = 0;
  ECsvType type = vlmcsvUnknown;
  std::vector<std::int32_t> codes;
  std::vector<std::u16string> words;
  std::shared_ptr<ICsvHeaders> headers;
  std::shared_ptr<ICsvOutlookLocale> locale;
  const std::vector<std::function<HRESULT(Conv&)>> calls = {
      [&](Conv& c) { return c.AutodetectCsv(u"/x.csv", &flag, &text, &text, &type); },
      [&](Conv& c) {
        return c.AutodetectCsv2(u"/x.csv", &flag, &text, &text, &number, &text, &type);
      },
      [&](Conv& c) {
        return c.AutodetectCsv3(u"/x.csv", &flag, &text, &text, &number, &text, &flag, &type);
      },
      [&](Conv& c) { return c.AutodetectCsvHeaders({u"Name"}, &codes, &text, &flag, &type); },
      [&](Conv& c) { return c.GetCsvHeaders(&words, &codes, nullptr); },
      [&](Conv& c) { return c.GetCsvHeaders2(vlmcsvGoogle, &headers); },
      [&](Conv& c) { return c.GetCsvHeaderKnownTypes(0x03000101, &words); },
      [&](Conv& c) { return c.get_CsvOutlookLocalesCount(&number); },
      [&](Conv& c) { return c.get_CsvOutlookLocalesItem(Variant(0), &locale); },
  };
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i](*CreateCardConverter()), E_GENERIC_FAILURE) << "call " << i;
  }
}

// The spreadsheet of the Google dialect: 27 plain columns, then 38 grouped.
TEST(CsvObjects, GoogleHeaders) {
  const auto converter = CsvConverter();
  std::shared_ptr<ICsvHeaders> google;
  ASSERT_EQ(converter->GetCsvHeaders2(vlmcsvGoogle, &google), S_OK);
  std::int32_t count = 0;
  ASSERT_EQ(google->get_Count(&count), S_OK);
  EXPECT_EQ(count, 65);

  std::shared_ptr<ICsvHeader> item, again;
  ASSERT_EQ(google->get_Item(27, &item), S_OK);
  ASSERT_EQ(google->get_Item(27, &again), S_OK);
  EXPECT_EQ(item, again);
  std::u16string text;
  bool grouped = false;
  std::int32_t code = 0;
  item->get_Name(&text);
  EXPECT_EQ(U8(text), "E-mail * - Type");
  item->GetIndexedName(3, &text);
  EXPECT_EQ(U8(text), "E-mail 3 - Type");
  item->get_IsGroupped(&grouped);
  EXPECT_TRUE(grouped);
  item->get_Code(&code);
  std::int32_t indexed = 0;
  item->GetIndexedCode(3, &indexed);
  EXPECT_EQ(indexed, code | (3 << 8));
  ECsvHeaderGroup group = csvgNone;
  item->get_GroupCode(&group);
  EXPECT_EQ(group, csvgEmail);
  ECsvHeaderGroupProp prop = csvgpNone;
  item->get_GroupPropCode(&prop);
  EXPECT_EQ(prop, csvgpType);
  item->get_GroupName(&text);
  EXPECT_EQ(U8(text), "E-mail");

  ASSERT_EQ(google->get_Item(26, &item), S_OK);
  item->get_IsGroupped(&grouped);
  EXPECT_FALSE(grouped);
  item->get_GroupPropCode(&prop);
  EXPECT_EQ(prop, csvgpNone);
  std::vector<std::u16string> types;
  EXPECT_EQ(item->get_GroupKnownTypes(&types), S_FALSE);

  for (const std::int32_t bad : {-1, 65}) {
    EXPECT_EQ(google->get_Item(bad, &item), E_INVALIDARG) << bad;
    EXPECT_FALSE(item);
  }
  EXPECT_EQ(google->get_Item(0, nullptr), E_INVALIDARG);
}

TEST(CsvObjects, FindByNameAndCodePerDialect) {
  const auto converter = CsvConverter();
  struct Case {
    ECsvType type;
    const char16_t* name;
    HRESULT status;
    std::int32_t code;
  };
  const Case kCases[] = {
      {vlmcsvGoogle, u"Given Name", S_OK, 2},
      {vlmcsvOutlook, u"Given Name", S_FALSE, 0},
      {vlmcsvOutlook, u"First Name", S_OK, 2},
      {vlmcsvOutlook, u"first name", S_FALSE, 0},  // case matters
      {vlmcsvGoogle, u"First Name", S_FALSE, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(U8(c.name));
    std::shared_ptr<ICsvHeaders> headers;
    ASSERT_EQ(converter->GetCsvHeaders2(c.type, &headers), S_OK);
    std::shared_ptr<ICsvHeader> found;
    EXPECT_EQ(headers->FindByName(c.name, &found), c.status);
    std::int32_t code = 0;
    if (found) found->get_Code(&code);
    EXPECT_EQ(code, c.code);
    if (!found) continue;
    std::shared_ptr<ICsvHeader> by_code;
    EXPECT_EQ(headers->FindByCode(c.code, &by_code), S_OK);
    EXPECT_EQ(by_code, found);
  }
  std::shared_ptr<ICsvHeaders> headers;
  EXPECT_EQ(converter->GetCsvHeaders2(vlmcsvUnknown, &headers), E_INVALIDARG);
  ASSERT_EQ(converter->GetCsvHeaders2(vlmcsvGoogle, &headers), S_OK);
  std::shared_ptr<ICsvHeader> found;
  // A grouped code is found with its instance bits zero only.
  EXPECT_EQ(headers->FindByCode(0x03000101, &found), S_FALSE);
  EXPECT_EQ(headers->FindByCode(0x03000001, &found), S_OK);
}

TEST(CsvObjects, KnownTypesAndCatalogueNames) {
  const auto converter = CsvConverter();
  std::vector<std::u16string> types;
  ASSERT_EQ(converter->GetCsvHeaderKnownTypes(0x03000101, &types), S_OK);
  EXPECT_EQ(types.size(), 19u);
  EXPECT_EQ(converter->GetCsvHeaderKnownTypes(2, &types), S_FALSE);
  EXPECT_TRUE(types.empty());
  EXPECT_EQ(converter->GetCsvHeaderKnownTypes(0x7F000000, &types), S_FALSE);

  std::vector<std::u16string> names;
  std::vector<std::int32_t> codes;
  std::vector<bool> defaults;
  EXPECT_EQ(converter->GetCsvHeaders(nullptr, nullptr, nullptr), E_INVALIDARG);
  ASSERT_EQ(converter->GetCsvHeaders(&names, &codes, &defaults), S_OK);
  ASSERT_EQ(names.size(), codes.size());
  ASSERT_EQ(names.size(), defaults.size());
  auto default_of = [&](std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (U8(names[i]) == name) return defaults[i] ? 1 : 0;
    }
    return -1;
  };
  EXPECT_EQ(default_of("First Name"), 1);
  EXPECT_EQ(default_of("Given Name"), 0);  // Google's name for it
  EXPECT_EQ(default_of("E-mail * - Type"), 0);
  // Codes 1 to 100 less the 14 alternatives.
  EXPECT_EQ(std::count(defaults.begin(), defaults.end(), true), 86);
}

TEST(CsvObjects, OutlookLocales) {
  const auto converter = CsvConverter(u"CsvObjects");
  std::int32_t count = 0;
  ASSERT_EQ(converter->get_CsvOutlookLocalesCount(&count), S_OK);
  ASSERT_EQ(count, 11);
  std::shared_ptr<ICsvOutlookLocale> locale;
  EXPECT_EQ(converter->get_CsvOutlookLocalesItem(Variant(count), &locale), E_BOUNDS);
  EXPECT_EQ(converter->get_CsvOutlookLocalesItem(Variant(-1), &locale), E_BOUNDS);
  EXPECT_EQ(converter->get_CsvOutlookLocalesItem(Variant(2.0), &locale), E_INVALIDARG);
  EXPECT_NE(test::LogText("CsvObjects", "csv").find("vIndexOrLID must be BSTR or INT"),
            std::string::npos);

  ASSERT_EQ(converter->get_CsvOutlookLocalesItem(Variant(std::uint32_t{1}), &locale), S_OK);
  std::u16string text;
  std::int32_t number = 0;
  locale->get_LID(&text);
  EXPECT_EQ(U8(text), "1031");
  locale->get_Codepage(&number);
  EXPECT_EQ(number, 1252);
  locale->get_GenderValue(vlmcgFemale, &text);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(locale->get_GenderValue(static_cast<EContactGender>(3), &text), E_INVALIDARG);
  locale->FindHeaderCode(u"Vorname", 0, &number);
  EXPECT_EQ(number, 2);
  locale->FindHeaderName(2, &text);
  EXPECT_EQ(U8(text), "Vorname");
  ASSERT_EQ(locale->get_HeaderCount(&number), S_OK);
  EXPECT_EQ(number, 92);
  EXPECT_EQ(locale->get_HeaderName(92, &text), E_INVALIDARG);

  // French gives Title and Job Title one word: two codes under one name.
  ASSERT_EQ(converter->get_CsvOutlookLocalesItem(Variant(u"1036"), &locale), S_OK);
  std::int32_t first = 0, second = 0, codes = 0;
  ASSERT_EQ(locale->get_HeaderCodeCount(0, &codes), S_OK);
  EXPECT_EQ(codes, 2);
  EXPECT_EQ(locale->get_HeaderCode(0, 0, &first), S_OK);
  EXPECT_EQ(locale->get_HeaderCode(0, 1, &second), S_OK);
  EXPECT_NE(first, second);
  EXPECT_EQ(locale->get_HeaderCode(0, 2, &second), E_INVALIDARG);

  // A LID that is not loaded gives an object that answers -1.
  ASSERT_EQ(converter->get_CsvOutlookLocalesItem(Variant(u"9999"), &locale), S_OK);
  EXPECT_EQ(locale->get_LID(&text), E_GENERIC_FAILURE);
}

// Objects keep the catalogue alive after the converter is released.
TEST(CsvObjects, ObjectsOutliveTheConverter) {
  std::shared_ptr<ICsvHeaders> outlook;
  std::shared_ptr<ICsvOutlookLocale> locale;
  {
    const auto converter = CsvConverter();
    ASSERT_EQ(converter->GetCsvHeaders2(vlmcsvOutlook, &outlook), S_OK);
    ASSERT_EQ(converter->get_CsvOutlookLocalesItem(Variant(u"1049"), &locale), S_OK);
  }
  std::shared_ptr<ICsvHeader> item;
  ASSERT_EQ(outlook->get_Item(91, &item), S_OK);
  std::u16string text;
  EXPECT_EQ(item->get_Name(&text), S_OK);
  EXPECT_FALSE(text.empty());
  std::int32_t code_page = 0;
  EXPECT_EQ(locale->get_Codepage(&code_page), S_OK);
  EXPECT_EQ(code_page, 1251);
}

TEST(CsvObjects, Autodetect) {
  const auto converter = CsvConverter();
  test::TempDir dir;
  const std::filesystem::path file = dir / "de.csv";
  test::WriteFile(file, "Vorname;Nachname;Firma\r\nAnn;Lee;X\r\n");
  bool empty = true, custom = true;
  std::u16string separator, headers, lid;
  std::int32_t code_page = -1;
  ECsvType type = vlmcsvOutlook;
  ASSERT_EQ(converter->AutodetectCsv3(U16(file), &empty, &separator, &headers, &code_page, &lid,
                                      &custom, &type),
            S_OK);
  EXPECT_EQ(type, vlmcsvUnknown);
  EXPECT_FALSE(empty);
  EXPECT_EQ(U8(separator), ";");
  EXPECT_EQ(U8(headers), "\"Vorname\",\"Nachname\",\"Firma\"");
  EXPECT_EQ(U8(lid), "1031");
  EXPECT_EQ(code_page, 1252);
  EXPECT_FALSE(custom);
  // Without locale detection, and with no outputs but the type.
  ASSERT_EQ(converter->AutodetectCsv(U16(file), nullptr, nullptr, nullptr, &type), S_OK);
  EXPECT_EQ(type, vlmcsvUnknown);

  EXPECT_EQ(converter->AutodetectCsv(u"", &empty, &separator, &headers, &type), E_INVALIDARG);
  EXPECT_EQ(converter->AutodetectCsv(U16(file), &empty, &separator, &headers, nullptr),
            E_INVALIDARG);
  EXPECT_EQ(converter->AutodetectCsv2(U16(dir / "missing.csv"), &empty, &separator, &headers,
                                      &code_page, &lid, &type),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));

  std::vector<std::int32_t> codes;
  ASSERT_EQ(converter->AutodetectCsvHeaders({u"Vorname", u"Nachname", u"Hobbys"}, &codes, &lid,
                                            &custom, &type),
            S_OK);
  EXPECT_EQ(U8(lid), "1031");
  EXPECT_EQ(codes.size(), 3u);
  EXPECT_EQ(codes[0], 2);
  EXPECT_EQ(converter->AutodetectCsvHeaders({}, &codes, &lid, &custom, &type), E_INVALIDARG);
}

}  // namespace
}  // namespace velmora
