// The converter's initialisation, its checks and its conversions, driven
// through the public headers.
#include "automation/automation_test_support.h"
#include "support/case_file.h"

namespace velmora::test {
namespace {

const std::string kTwoOne =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John;;;\r\nFN:John Doe\r\nTEL;HOME:123\r\nEND:VCARD\r\n";

TEST(CardConverterInit, SecondInitFailsAndKeepsTheFirst) {
  auto converter = NewConverter(u"InitTwice", u"first");
  EXPECT_EQ(converter->Init(u"InitTwice", Variant(U16(EncodingsFile()))), E_GENERIC_FAILURE);
  std::shared_ptr<ICardContact> contact;
  EXPECT_EQ(converter->CreateCardContact(&contact), S_OK);
  EXPECT_TRUE(Has(LogText("InitTwice", "first"), "Already initialized"));
}

TEST(CardConverterInit, WrongArgumentKindsFailAndLeaveTheObjectUninitialised) {
  for (const FileCase& c : ReadCases("automation/data/init_arguments.txt")) {
    SCOPED_TRACE(c.name);
    const auto arg = [&](const char* key) { return c.Has(key) ? VariantOf(c[key]) : Variant(); };
    const std::string product = "InitArgs" + c.name;
    const bool log = !c.Has("log");
    auto converter = CreateCardConverter();
    const HRESULT status = converter->InitEx2(
        U16(product), c.Has("encodings") ? arg("encodings") : Variant(U16(EncodingsFile())),
        arg("prog id"), log, arg("module"), arg("outlook"));
    std::shared_ptr<ICardContact> contact;
    const bool refused = c.Has("argument");
    EXPECT_EQ(status, refused ? E_INVALIDARG : S_OK);
    EXPECT_EQ(converter->CreateCardContact(&contact), refused ? E_GENERIC_FAILURE : S_OK);
    if (!refused) continue;
    // The log was opened before the check failed: the message is in it.
    if (!c.Has("module") && log) {
      ExpectLogged(product, "velmora_tests", {c["argument"] + " must be BSTR or Missing"});
    }
    // A correct call afterwards initialises.
    EXPECT_EQ(converter->Init(u"", Variant(U16(EncodingsFile()))), S_OK);
  }
}

TEST(CardConverterInit, OutlookHeadersFileLoadsOrReportsOnlyRealFailures) {
  TempDir dir;
  WriteFile(dir / "header_only.csv", "\xEF\xBB\xBFLID,CODE_PAGE\r\n");
  WriteFile(dir / "ansi.csv", "LID,CODE_PAGE\r\n1031,1252\r\n");
  struct Case {
    const char* module;
    std::filesystem::path file;
    bool reported;
  };
  const Case cases[] = {{"shipped", SourceDir() / "data" / "supportedOutlookHeaders.csv", false},
                        {"header_only", dir / "header_only.csv", false},
                        {"ansi", dir / "ansi.csv", true},
                        {"missing", "/nowhere/headers.csv", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.module);
    auto converter = CreateCardConverter();
    EXPECT_EQ(converter->InitEx2(u"InitOutlookFile", Variant(U16(EncodingsFile())), Variant(), true,
                                 Variant(U16(c.module)), Variant(U16(c.file))),
              S_OK);
    const std::string log = LogText("InitOutlookFile", c.module);
    EXPECT_EQ(Has(log, "Cant load outlook csv locales from " + c.file.string()), c.reported) << log;
  }
}

TEST(CardConverterInit, EncodingsFileDecidesWhichCodePagesHaveNames) {
  TempDir dir;
  WriteFile(dir / "encodings.txt", "Cyrillic (Windows)|windows-1251|1251|\r\n");
  auto converter = CreateCardConverter();
  ASSERT_EQ(converter->InitEx(u"InitEncodings", Variant(U16(dir / "encodings.txt")), Variant(),
                              true, Variant(u"enc")),
            S_OK);
  const Converted cyrillic = ConvertText(*converter, kTwoOne, 3.0, 1251);
  EXPECT_EQ(cyrillic.status, S_OK);
  EXPECT_TRUE(Has(cyrillic.text, "windows-1251")) << cyrillic.text;
  // 1252 is not in this list: refused before any card is read.
  const Converted western = ConvertText(*converter, kTwoOne, 3.0, 1252);
  EXPECT_EQ(std::pair(western.status, western.converted), std::pair(E_INVALIDARG, 0));
  EXPECT_TRUE(
      Has(LogText("InitEncodings", "enc"), "Cant find iso name for encoding codepage = 1252"));
}

TEST(CardConverterInit, ProgIdBecomesTheProdIdOfWrittenCards) {
  auto converter = CreateCardConverter();
  ASSERT_EQ(converter->Init(u"", Variant(U16(EncodingsFile())), Variant(u"-//Acme//Book 2.0//EN")),
            S_OK);
  EXPECT_TRUE(Has(ConvertText(*converter, kTwoOne).text, "PRODID:-//Acme//Book 2.0//EN\r\n"));
  EXPECT_TRUE(Has(ConvertText(*NewConverter(), kTwoOne).text, "PRODID:-//Zorva Corporation//"));
}

using Conv = ICardConverter;
using ConvCall = HRESULT (*)(Conv&);

// Outputs for the calls below.
std::shared_ptr<ICards> g_cards;
std::vector<std::uint8_t> g_bytes;
std::vector<std::u16string> g_names;
std::int32_t g_a, g_b, g_c, g_d, g_e;
bool g_flag;
std::u16string g_text;
ECsvType g_type;
std::vector<std::int32_t> g_codes;
std::shared_ptr<ICsvHeaders> g_headers;
std::shared_ptr<ICsvOutlookLocale> g_locale;
std::shared_ptr<ICsvCells> g_cells;
std::shared_ptr<ICsvContent> g_content;

HRESULT Convert(ICardConverter& c, std::string_view cards, int code_page, Variant iso) {
  return c.ConvertMemory(Bytes(cards), &g_a, &g_b, &g_c, 3.0, code_page, iso, &g_bytes);
}
HRESULT Save(ICardConverter& c, std::string_view cards, std::u16string folder,
             std::int32_t* count = &g_a, EDRMethod method = drmNone, Variant iso = {}) {
  return c.SaveMemory(Bytes(cards), folder, u"x", false, count, &g_b, &g_c, 3.0, 65001, iso, method,
                      nullptr, &g_names);
}

// Methods whose argument checks the next test does not reach fail before
// Init all the same.
TEST(CardConverter, EveryMethodFailsWithMinusOneBeforeInit) {
  const ConvCall calls[] = {
      [](Conv& c) {
        g_a = g_b = 5;
        const HRESULT status = c.CountFilesContacts({u"/x.vcf"}, &g_a, 0, nullptr, &g_b);
        return g_a == 0 && g_b == 0 ? status : S_OK;
      },
      [](Conv& c) {
        return c.SaveMemory2(Bytes(kTwoOne), u"/tmp", u"x", false, &g_a, &g_b, &g_c, &g_d, &g_e,
                             3.0, 65001, Variant(), drmNone, nullptr, &g_names);
      },
      [](Conv& c) {
        return c.DR(Variant(Bytes(kTwoOne)), Variant(), Variant(), drmNewest, &g_cards, &g_cards,
                    &g_a);
      },
      [](Conv& c) {
        return c.AutodetectCsv2(u"/x", &g_flag, &g_text, &g_text, &g_a, &g_text, &g_type);
      },
      [](Conv& c) {
        return c.AutodetectCsv3(u"/x", &g_flag, &g_text, &g_text, &g_a, &g_text, &g_flag, &g_type);
      },
      [](Conv& c) { return c.get_CsvOutlookLocalesItem(Variant(0), &g_locale); },
      [](Conv& c) { return c.MapCsvHeaders2Google({u"a"}, &g_codes, &g_names, &g_codes, nullptr); },
      // The spreadsheet methods leave their result untouched.
      [](Conv& c) {
        HRESULT result = 7;
        const HRESULT status = c.LoadXlsCells(u"a.xlsx", 0, &g_cells, nullptr, nullptr, nullptr,
                                              true, nullptr, nullptr, nullptr, nullptr, &result);
        return result == 7 ? status : S_OK;
      },
      [](Conv& c) {
        HRESULT result = 7;
        const HRESULT status = c.AutodetectXls(u"a.xlsx", nullptr, nullptr, nullptr, nullptr,
                                               nullptr, nullptr, nullptr, &result);
        return result == 7 ? status : S_OK;
      },
  };
  for (std::size_t i = 0; i < std::size(calls); ++i) {
    EXPECT_EQ(calls[i](*CreateCardConverter()), E_GENERIC_FAILURE) << "call " << i;
  }
}

TEST(CardConverter, IsCardFileValidWorksWithoutInit) {
  TempDir dir;
  WriteFile(dir / "one.vcf", kTwoOne);
  WriteFile(dir / "open.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John;;;\r\n");
  WriteFile(dir / "empty.vcf", "");
  auto converter = CreateCardConverter();
  for (const char* name : {"one.vcf", "open.vcf", "empty.vcf", "missing.vcf"}) {
    const bool good = name == std::string_view("one.vcf");
    bool valid = !good;
    EXPECT_EQ(converter->IsCardFileValid(U16(dir / name), &valid), good ? S_OK : S_FALSE) << name;
    EXPECT_EQ(valid, good) << name;
  }
  EXPECT_EQ(converter->IsCardFileValid(U16(dir / "one.vcf"), nullptr), S_OK);
}

TEST(CardConverter, MissingOrWrongArgumentsGiveInvalidArg) {
  const ConvCall calls[] = {
      [](Conv& c) { return c.LoadFile(u"", 0, false, nullptr, &g_cards); },
      [](Conv& c) { return c.LoadFile(u"/x.vcf", 0, false, nullptr, nullptr); },
      [](Conv& c) { return c.LoadFiles({}, 0, false, nullptr, &g_cards); },
      [](Conv& c) { return c.LoadMemory({}, 0, nullptr, &g_cards); },
      [](Conv& c) { return c.LoadMemory(Bytes(kTwoOne), 0, nullptr, nullptr); },
      [](Conv& c) { return c.CountFilesContacts({}, &g_a, 0, nullptr, &g_b); },
      [](Conv& c) { return c.CountFilesContacts({u"/x.vcf"}, &g_a, 0, nullptr, nullptr); },
      [](Conv& c) { return Convert(c, "", 65001, {}); },
      [](Conv& c) {
        return c.ConvertMemory(Bytes(kTwoOne), &g_a, &g_b, &g_c, 3.0, 65001, Variant(), nullptr);
      },
      [](Conv& c) { return Convert(c, kTwoOne, 65001, Variant(std::int32_t{65001})); },
      [](Conv& c) { return Convert(c, kTwoOne, 4242, {}); },
      [](Conv& c) { return c.ConvertFile(u"", u"/b.vcf", &g_a, &g_b, &g_c); },
      [](Conv& c) { return c.ConvertFile(u"/a.vcf", u"", &g_a, &g_b, &g_c); },
      [](Conv& c) { return c.ConvertFile(u"/a.vcf", u"/b.vcf", &g_a, nullptr, &g_c); },
      [](Conv& c) { return Save(c, "", u"/tmp"); },
      [](Conv& c) { return Save(c, kTwoOne, u""); },
      [](Conv& c) { return Save(c, kTwoOne, u"/tmp", nullptr); },
      [](Conv& c) { return Save(c, kTwoOne, u"/tmp", &g_a, static_cast<EDRMethod>(7)); },
      [](Conv& c) { return Save(c, kTwoOne, u"/tmp", &g_a, drmNone, Variant(true)); },
      [](Conv& c) { return c.CreateCardContact(nullptr); },
      [](Conv& c) { return c.LoadCsvContent(u"", 0, &g_content); },
      [](Conv& c) { return c.LoadCsvContent(u"/x.csv", 0, nullptr); },
      [](Conv& c) { return c.LoadCsvContentFromMemory({}, 0, &g_content); },
      [](Conv& c) { return c.LoadCsvContentFromMemory(Bytes("a"), 99999, &g_content); },
      [](Conv& c) { return c.AutodetectCsv(u"", &g_flag, &g_text, &g_text, &g_type); },
      [](Conv& c) { return c.AutodetectCsv(u"/x.csv", &g_flag, &g_text, &g_text, nullptr); },
      [](Conv& c) { return c.AutodetectCsvHeaders({}, &g_codes, &g_text, &g_flag, &g_type); },
      [](Conv& c) { return c.GetCsvHeaders(nullptr, nullptr, nullptr); },
      [](Conv& c) { return c.GetCsvHeaders2(vlmcsvUnknown, &g_headers); },
      [](Conv& c) { return c.GetCsvHeaderKnownTypes(0x03000101, nullptr); },
      [](Conv& c) { return c.get_CsvOutlookLocalesCount(nullptr); },
      [](Conv& c) {
        return c.ParseGooglePlainName(u"Phone", nullptr, nullptr, &g_text, &g_a, nullptr);
      },
      [](Conv& c) { return c.MapCsvHeaders({u"a"}, {u"a"}, &g_codes, nullptr); },
      [](Conv& c) {
        return c.SaveMemoryCSV(Bytes(kTwoOne), u"", u"x", true, &g_a, &g_a, &g_a, &g_a, &g_a,
                               &g_names);
      },
      [](Conv& c) {
        return c.LoadXlsCells(u"a.xlsx", 0, &g_cells, nullptr, nullptr, nullptr, true, nullptr,
                              nullptr, nullptr, nullptr, nullptr);
      },
  };
  // Init is checked first.
  auto converter = NewConverter();
  for (std::size_t i = 0; i < std::size(calls); ++i) {
    EXPECT_EQ(calls[i](*converter), E_INVALIDARG) << "call " << i;
    EXPECT_EQ(calls[i](*CreateCardConverter()), E_GENERIC_FAILURE) << "call " << i;
  }
}

TEST(CardConverterConvert, MemoryConversions) {
  auto converter = NewConverter(u"ConvertVersions", u"conv");
  const Converted v21 = ConvertText(*converter, Card("Doe", "Jane"), 2.1);
  EXPECT_EQ(std::pair(v21.status, v21.converted), std::pair(S_OK, 1));
  EXPECT_TRUE(Has(v21.text, "VERSION:2.1\r\n")) << v21.text;
  // 4.0 is not a target: 3.0 with a warning. A charset name must be text.
  EXPECT_TRUE(Has(ConvertText(*converter, kTwoOne, 4.0).text, "VERSION:3.0\r\n"));
  EXPECT_EQ(ConvertText(*converter, kTwoOne, 3.0, 65001, Variant(2.0)).status, E_INVALIDARG);
  ExpectLogged("ConvertVersions", "conv",
               {"Invalid CardVersion, taking 3.0",
                "in CComCardConverter.ConvertMemory: EncodingIsoName must be BSTR or Missing"});
  // Code page 0 writes the ANSI charset: ü in windows-1252.
  const Converted ansi = ConvertText(
      *converter, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xC3\xBCller;J;;;\r\nEND:VCARD\r\n", 2.1, 0);
  EXPECT_TRUE(Has(ansi.text, "CHARSET=windows-1252") && Has(ansi.text, "M=FCller")) << ansi.text;
  // A card already in the target form is copied as it stands.
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN;CHARSET=utf-8:Doe;John;;;\r\nEND:VCARD\r\n";
  const Converted copy = ConvertText(*converter, card, 3.0, 65001, Variant(u"utf-8"));
  EXPECT_EQ(copy.status, S_FALSE);
  EXPECT_EQ(copy.copied * 10 + copy.converted, 10);
  EXPECT_EQ(copy.text, card);
}

TEST(CardConverterConvert, ProgressReportsEachCardAndCancelStops) {
  auto converter = NewConverter();
  const std::string cards = Card("A", "Ann") + Card("B", "Bob") + Card("C", "Cid");
  RecordingProgress all;
  ASSERT_EQ(ConvertText(*converter, cards, 2.1, 65001, {}, &all).status, S_OK);
  ASSERT_EQ(all.calls.size(), 3u);
  EXPECT_EQ(all.calls[2], (std::array<std::int32_t, 5>{3, 0, 3, 0, 0}));
  EXPECT_EQ(all.asked, 3);
  RecordingProgress cancel(1);
  const Converted cancelled = ConvertText(*converter, cards, 2.1, 65001, {}, &cancel);
  EXPECT_EQ(std::tuple(cancelled.status, cancel.calls.size(), cancelled.converted),
            std::tuple(S_FALSE, 1u, 1));
  EXPECT_TRUE(Has(cancelled.text, "Ann") && !Has(cancelled.text, "Bob"));
}

TEST(CardConverterConvert, FileFromTheCorpus) {
  TempDir dir;
  auto converter = NewConverter();
  std::int32_t converted = 0, copied = 0, errors = 0;
  const auto source = CorpusDir() / "vcard21" / "ezvcard_John_Doe_ANDROID.vcf";
  RecordingProgress progress;
  ASSERT_EQ(converter->ConvertFile(U16(source), U16(dir / "out.vcf"), &converted, &copied, &errors,
                                   3.0, 65001, Variant(), true, &progress),
            S_OK);
  EXPECT_EQ(converted + copied + errors, 6);
  EXPECT_EQ(progress.calls.size(), static_cast<std::size_t>(converted + copied));
  const std::string text = ReadFile(dir / "out.vcf");
  EXPECT_EQ(CountOf(text, "BEGIN:VCARD"), converted + copied);
  EXPECT_FALSE(Has(text, "VERSION:2.1"));
}

TEST(CardConverterLifetime, ObjectsOutliveTheirConverter) {
  const std::int32_t before = LiveObjectCount();
  std::shared_ptr<ICards> cards;
  std::shared_ptr<ICardContact> created;
  {
    auto converter = NewConverter(u"Lifetime", u"life");
    ASSERT_TRUE(cards = LoadText(*converter, Card("Doe", "John") + Card("Roe", "Jane")));
    ASSERT_EQ(converter->CreateCardContact(&created), S_OK);
    EXPECT_EQ(LiveObjectCount(), before + 3);
  }
  // The converter is gone; its collection and contact still work.
  EXPECT_EQ(LiveObjectCount(), before + 2);
  std::shared_ptr<ICardPreview> preview;
  ASSERT_EQ(cards->ItemPreview(1, &preview), S_OK);
  EXPECT_EQ(Get(*preview, &ICardPreview::get_FileAs), u"Roe, Jane");
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(cards->ItemContact(0, &contact), S_OK);
  std::vector<std::uint8_t> card;
  ASSERT_EQ(contact->GenerateCard(2.1, 65001, Variant(), &card), S_OK);
  EXPECT_TRUE(Has(Text(card), "N;CHARSET=utf-8:Doe;John;;;")) << Text(card);
  ASSERT_EQ(created->put_FirstName(u"Eve"), S_OK);
  ASSERT_EQ(created->GenerateCard(3.0, 65001, Variant(), &card), S_OK);
  EXPECT_TRUE(Has(Text(card), "Eve"));
  EXPECT_EQ(LiveObjectCount(), before + 4);

  preview.reset();
  contact.reset();
  cards.reset();  // also frees the cached preview and contact
  created.reset();
  EXPECT_EQ(LiveObjectCount(), before);
  // The log's end marker is written once the last holder is gone.
  EXPECT_TRUE(Has(LogText("Lifetime", "life"), ":LogEnd:"));
}

}  // namespace
}  // namespace velmora::test
