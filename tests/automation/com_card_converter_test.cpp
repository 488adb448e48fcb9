// The converter's initialisation, its checks and its conversions, driven
// through the public headers.
#include <functional>

#include "automation/automation_test_support.h"

namespace velmora::test {
namespace {

const std::string kTwoOne =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John;;;\r\nFN:John Doe\r\nTEL;HOME:123\r\nEND:VCARD\r\n";

// --- Initialisation -----------------------------------------------------------

TEST(CardConverterInit, SecondInitFailsAndKeepsTheFirst) {
  auto converter = NewConverter(u"InitTwice", u"first");
  EXPECT_EQ(converter->Init(u"InitTwice", Variant(U16(EncodingsFile()))), E_GENERIC_FAILURE);
  std::shared_ptr<ICardContact> contact;
  EXPECT_EQ(converter->CreateCardContact(&contact), S_OK);
  EXPECT_NE(LogText("InitTwice", "first").find("Already initialized"), std::string::npos);
}

TEST(CardConverterInit, EmptyProductCodeInitialisesAllButTheLog) {
  auto converter = CreateCardConverter();
  ASSERT_EQ(converter->Init(u"", Variant(U16(EncodingsFile()))), S_OK);
  std::vector<std::uint8_t> out;
  std::int32_t converted = 0, copied = 0, errors = 0;
  EXPECT_EQ(converter->ConvertMemory(Bytes(kTwoOne), &converted, &copied, &errors, 3.0, 65001,
                                     Variant(), &out),
            S_OK);
  EXPECT_EQ(converted, 1);
}

struct BadInit {
  const char* name;
  Variant encodings, prog_id, module, outlook;
  bool log;
  const char* message;  // null: the call succeeds
};

class CardConverterInitArguments : public ::testing::TestWithParam<BadInit> {};

TEST_P(CardConverterInitArguments, WrongKindsFailAndLeaveTheObjectUninitialised) {
  const BadInit& c = GetParam();
  const std::u16string product = U16(std::string("InitArgs") + c.name);
  Variant encodings = c.encodings.is_missing() ? Variant(U16(EncodingsFile())) : c.encodings;
  auto converter = CreateCardConverter();
  const HRESULT status =
      converter->InitEx2(product, encodings, c.prog_id, c.log, c.module, c.outlook);
  std::shared_ptr<ICardContact> contact;
  if (c.message == nullptr) {
    EXPECT_EQ(status, S_OK);
    EXPECT_EQ(converter->CreateCardContact(&contact), S_OK);
    return;
  }
  EXPECT_EQ(status, E_INVALIDARG);
  EXPECT_EQ(converter->CreateCardContact(&contact), E_GENERIC_FAILURE);
  EXPECT_FALSE(contact);
  if (c.module.is_missing() && c.log) {
    // The log was opened before the check failed: the message is in it.
    EXPECT_NE(LogText(U8(product), "velmora_tests").find(c.message), std::string::npos)
        << c.message;
  }
  // A correct call afterwards initialises.
  EXPECT_EQ(converter->Init(u"", Variant(U16(EncodingsFile()))), S_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CardConverterInitArguments,
    ::testing::Values(
        BadInit{"Module",
                {},
                {},
                Variant(std::int32_t{7}),
                {},
                true,
                "vModuleName4Log must be BSTR or Missing"},
        BadInit{"ModuleNoLog", {}, {}, Variant(std::int32_t{7}), {}, false, nullptr},
        BadInit{
            "Encodings", Variant(3.5), {}, {}, {}, true, "vSupEncFilename must be BSTR or Missing"},
        BadInit{
            "ProgId", {}, Variant(true), {}, {}, true, "vProgID4Export must be BSTR or Missing"},
        BadInit{"Outlook",
                {},
                {},
                {},
                Variant(std::vector<std::uint8_t>{1}),
                true,
                "vSupOLHeadersCsv must be BSTR or Missing"},
        BadInit{"AllStrings", {}, Variant(u"App"), Variant(u"name"), Variant(u""), true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardConverterInit, OutlookHeadersPathIsReportedButDoesNotFail) {
  auto converter = CreateCardConverter();
  EXPECT_EQ(converter->InitEx2(u"InitOutlook", Variant(U16(EncodingsFile())), Variant(), true,
                               Variant(u"outlook"), Variant(u"/nowhere/headers.csv")),
            S_OK);
  EXPECT_NE(LogText("InitOutlook", "outlook")
                .find("Cant load outlook csv locales from /nowhere/headers.csv"),
            std::string::npos);
}

TEST(CardConverterInit, EncodingsFileDecidesWhichCodePagesHaveNames) {
  TempDir dir;
  WriteFile(dir / "encodings.txt", "Cyrillic (Windows)|windows-1251|1251|\r\n");
  auto converter = CreateCardConverter();
  ASSERT_EQ(converter->InitEx(u"InitEncodings", Variant(U16(dir / "encodings.txt")), Variant(),
                              true, Variant(u"enc")),
            S_OK);
  std::vector<std::uint8_t> out;
  std::int32_t converted = 0, copied = 0, errors = 0;
  EXPECT_EQ(converter->ConvertMemory(Bytes(kTwoOne), &converted, &copied, &errors, 3.0, 1251,
                                     Variant(), &out),
            S_OK);
  EXPECT_NE(Text(out).find("windows-1251"), std::string::npos) << Text(out);
  // 1252 is not in this list: refused before any card is read.
  EXPECT_EQ(converter->ConvertMemory(Bytes(kTwoOne), &converted, &copied, &errors, 3.0, 1252,
                                     Variant(), &out),
            E_INVALIDARG);
  EXPECT_EQ(converted, 0);
  EXPECT_NE(LogText("InitEncodings", "enc").find("Cant find iso name for encoding codepage = 1252"),
            std::string::npos);
}

TEST(CardConverterInit, ProgIdBecomesTheProdIdOfWrittenCards) {
  auto converter = CreateCardConverter();
  ASSERT_EQ(converter->Init(u"", Variant(U16(EncodingsFile())), Variant(u"-//Acme//Book 2.0//EN")),
            S_OK);
  std::vector<std::uint8_t> out;
  std::int32_t converted = 0, copied = 0, errors = 0;
  ASSERT_EQ(converter->ConvertMemory(Bytes(kTwoOne), &converted, &copied, &errors, 3.0, 65001,
                                     Variant(), &out),
            S_OK);
  EXPECT_NE(Text(out).find("PRODID:-//Acme//Book 2.0//EN\r\n"), std::string::npos) << Text(out);

  auto plain = NewConverter();
  ASSERT_EQ(plain->ConvertMemory(Bytes(kTwoOne), &converted, &copied, &errors, 3.0, 65001,
                                 Variant(), &out),
            S_OK);
  EXPECT_NE(Text(out).find("PRODID:-//Zorva Corporation//"), std::string::npos) << Text(out);
}

// --- Not initialized ----------------------------------------------------------

struct Call {
  const char* name;
  std::function<HRESULT(ICardConverter&)> run;
};

class CardConverterNotInitialized : public ::testing::TestWithParam<Call> {};

TEST_P(CardConverterNotInitialized, EveryMethodFailsWithMinusOne) {
  auto converter = CreateCardConverter();
  EXPECT_EQ(GetParam().run(*converter), E_GENERIC_FAILURE);
}

std::shared_ptr<ICards> g_cards;
std::shared_ptr<ICardContact> g_contact;
std::vector<std::uint8_t> g_bytes;
std::vector<std::u16string> g_names;
std::int32_t g_a, g_b, g_c, g_d, g_e;

INSTANTIATE_TEST_SUITE_P(
    Table, CardConverterNotInitialized,
    ::testing::Values(
        Call{"LoadFile",
             [](ICardConverter& c) { return c.LoadFile(u"/x.vcf", 0, false, nullptr, &g_cards); }},
        Call{"LoadFiles",
             [](ICardConverter& c) {
               return c.LoadFiles({u"/x.vcf"}, 0, false, nullptr, &g_cards);
             }},
        Call{"LoadMemory",
             [](ICardConverter& c) { return c.LoadMemory(Bytes(kTwoOne), 0, nullptr, &g_cards); }},
        Call{"CountFilesContacts",
             [](ICardConverter& c) {
               g_a = g_b = 5;
               const HRESULT status = c.CountFilesContacts({u"/x.vcf"}, &g_a, 0, nullptr, &g_b);
               return g_a == 0 && g_b == 0 ? status : S_OK;
             }},
        Call{"ConvertMemory",
             [](ICardConverter& c) {
               return c.ConvertMemory(Bytes(kTwoOne), &g_a, &g_b, &g_c, 3.0, 65001, Variant(),
                                      &g_bytes);
             }},
        Call{"ConvertFile",
             [](ICardConverter& c) {
               return c.ConvertFile(u"/a.vcf", u"/b.vcf", &g_a, &g_b, &g_c);
             }},
        Call{"SaveMemory",
             [](ICardConverter& c) {
               return c.SaveMemory(Bytes(kTwoOne), u"/tmp", u"x", false, &g_a, &g_b, &g_c, 3.0,
                                   65001, Variant(), drmNone, nullptr, &g_names);
             }},
        Call{"SaveMemory2",
             [](ICardConverter& c) {
               return c.SaveMemory2(Bytes(kTwoOne), u"/tmp", u"x", false, &g_a, &g_b, &g_c, &g_d,
                                    &g_e, 3.0, 65001, Variant(), drmNone, nullptr, &g_names);
             }},
        Call{"CreateCardContact",
             [](ICardConverter& c) { return c.CreateCardContact(&g_contact); }},
        Call{"DR",
             [](ICardConverter& c) {
               return c.DR(Variant(Bytes(kTwoOne)), Variant(), Variant(), drmNewest, &g_cards,
                           &g_cards, &g_a);
             }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardConverter, IsCardFileValidWorksWithoutInit) {
  TempDir dir;
  WriteFile(dir / "one.vcf", kTwoOne);
  WriteFile(dir / "open.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John;;;\r\n");
  WriteFile(dir / "empty.vcf", "");
  auto converter = CreateCardConverter();
  bool valid = false;
  EXPECT_EQ(converter->IsCardFileValid(U16(dir / "one.vcf"), &valid), S_OK);
  EXPECT_TRUE(valid);
  for (const char* name : {"open.vcf", "empty.vcf", "missing.vcf"}) {
    valid = true;
    EXPECT_EQ(converter->IsCardFileValid(U16(dir / name), &valid), S_FALSE) << name;
    EXPECT_FALSE(valid) << name;
  }
  EXPECT_EQ(converter->IsCardFileValid(U16(dir / "one.vcf"), nullptr), S_OK);
  EXPECT_EQ(converter->IsCardFileValid(U16(CorpusDir() / "vcard30" / "ezvcard_John_Doe_IPHONE.vcf"),
                                       &valid),
            S_OK);
}

// --- Argument errors ----------------------------------------------------------

class CardConverterArguments : public ::testing::TestWithParam<Call> {};

TEST_P(CardConverterArguments, MissingOrWrongArgumentsGiveInvalidArg) {
  auto converter = NewConverter();
  EXPECT_EQ(GetParam().run(*converter), E_INVALIDARG);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CardConverterArguments,
    ::testing::Values(
        Call{"LoadFileNoName",
             [](ICardConverter& c) { return c.LoadFile(u"", 0, false, nullptr, &g_cards); }},
        Call{"LoadFileNoResult",
             [](ICardConverter& c) { return c.LoadFile(u"/x.vcf", 0, false, nullptr, nullptr); }},
        Call{"LoadFilesNone",
             [](ICardConverter& c) { return c.LoadFiles({}, 0, false, nullptr, &g_cards); }},
        Call{"LoadMemoryEmpty",
             [](ICardConverter& c) { return c.LoadMemory({}, 0, nullptr, &g_cards); }},
        Call{"LoadMemoryNoResult",
             [](ICardConverter& c) { return c.LoadMemory(Bytes(kTwoOne), 0, nullptr, nullptr); }},
        Call{"CountNoFiles",
             [](ICardConverter& c) { return c.CountFilesContacts({}, &g_a, 0, nullptr, &g_b); }},
        Call{"CountNoResult",
             [](ICardConverter& c) {
               return c.CountFilesContacts({u"/x.vcf"}, &g_a, 0, nullptr, nullptr);
             }},
        Call{"ConvertMemoryEmpty",
             [](ICardConverter& c) {
               return c.ConvertMemory({}, &g_a, &g_b, &g_c, 3.0, 65001, Variant(), &g_bytes);
             }},
        Call{"ConvertMemoryNoResult",
             [](ICardConverter& c) {
               return c.ConvertMemory(Bytes(kTwoOne), &g_a, &g_b, &g_c, 3.0, 65001, Variant(),
                                      nullptr);
             }},
        Call{"ConvertMemoryIsoNameKind",
             [](ICardConverter& c) {
               return c.ConvertMemory(Bytes(kTwoOne), &g_a, &g_b, &g_c, 3.0, 65001,
                                      Variant(std::int32_t{65001}), &g_bytes);
             }},
        Call{"ConvertMemoryUnknownCodePage",
             [](ICardConverter& c) {
               return c.ConvertMemory(Bytes(kTwoOne), &g_a, &g_b, &g_c, 3.0, 4242, Variant(),
                                      &g_bytes);
             }},
        Call{"ConvertFileNoSource",
             [](ICardConverter& c) { return c.ConvertFile(u"", u"/b.vcf", &g_a, &g_b, &g_c); }},
        Call{"ConvertFileNoDestination",
             [](ICardConverter& c) { return c.ConvertFile(u"/a.vcf", u"", &g_a, &g_b, &g_c); }},
        Call{"ConvertFileNoCounter",
             [](ICardConverter& c) {
               return c.ConvertFile(u"/a.vcf", u"/b.vcf", &g_a, nullptr, &g_c);
             }},
        Call{"SaveMemoryEmpty",
             [](ICardConverter& c) {
               return c.SaveMemory({}, u"/tmp", u"x", false, &g_a, &g_b, &g_c, 3.0, 65001,
                                   Variant(), drmNone, nullptr, &g_names);
             }},
        Call{"SaveMemoryNoFolder",
             [](ICardConverter& c) {
               return c.SaveMemory(Bytes(kTwoOne), u"", u"x", false, &g_a, &g_b, &g_c, 3.0, 65001,
                                   Variant(), drmNone, nullptr, &g_names);
             }},
        Call{"SaveMemoryNoCounter",
             [](ICardConverter& c) {
               return c.SaveMemory(Bytes(kTwoOne), u"/tmp", u"x", false, nullptr, &g_b, &g_c, 3.0,
                                   65001, Variant(), drmNone, nullptr, &g_names);
             }},
        Call{"SaveMemoryBadMethod",
             [](ICardConverter& c) {
               return c.SaveMemory(Bytes(kTwoOne), u"/tmp", u"x", false, &g_a, &g_b, &g_c, 3.0,
                                   65001, Variant(), static_cast<EDRMethod>(7), nullptr, &g_names);
             }},
        Call{"SaveMemoryIsoNameKind",
             [](ICardConverter& c) {
               return c.SaveMemory(Bytes(kTwoOne), u"/tmp", u"x", false, &g_a, &g_b, &g_c, 3.0,
                                   65001, Variant(true), drmNone, nullptr, &g_names);
             }},
        Call{"CreateCardContactNoResult",
             [](ICardConverter& c) { return c.CreateCardContact(nullptr); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardConverter, WrongIsoNameKindIsLogged) {
  auto converter = NewConverter(u"IsoKind", u"iso");
  std::vector<std::uint8_t> out;
  std::int32_t a, b, c;
  EXPECT_EQ(converter->ConvertMemory(Bytes(kTwoOne), &a, &b, &c, 3.0, 65001, Variant(2.0), &out),
            E_INVALIDARG);
  EXPECT_NE(LogText("IsoKind", "iso")
                .find("in CComCardConverter.ConvertMemory: EncodingIsoName "
                      "must be BSTR or Missing"),
            std::string::npos);
}

// --- Conversion ---------------------------------------------------------------

TEST(CardConverterConvert, MemoryToEachVersion) {
  auto converter = NewConverter(u"ConvertVersions", u"conv");
  std::vector<std::uint8_t> out;
  std::int32_t converted = 0, copied = 0, errors = 0;
  ASSERT_EQ(converter->ConvertMemory(Bytes(Card("Doe", "Jane")), &converted, &copied, &errors, 2.1,
                                     65001, Variant(), &out),
            S_OK);
  EXPECT_EQ(converted, 1);
  EXPECT_NE(Text(out).find("VERSION:2.1\r\n"), std::string::npos) << Text(out);

  // 4.0 is not a target: 3.0 with a warning.
  ASSERT_EQ(converter->ConvertMemory(Bytes(kTwoOne), &converted, &copied, &errors, 4.0, 65001,
                                     Variant(), &out),
            S_OK);
  EXPECT_NE(Text(out).find("VERSION:3.0\r\n"), std::string::npos);
  EXPECT_NE(LogText("ConvertVersions", "conv").find("Invalid CardVersion, taking 3.0"),
            std::string::npos);
}

TEST(CardConverterConvert, CodePageZeroWritesTheAnsiCharset) {
  auto converter = NewConverter();
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xC3\xBCller;J\xC3\xBCrgen;;;\r\nFN:J\xC3\xBCrgen "
      "M\xC3\xBCller\r\nEND:VCARD\r\n";
  std::vector<std::uint8_t> out;
  std::int32_t converted = 0, copied = 0, errors = 0;
  ASSERT_EQ(
      converter->ConvertMemory(Bytes(card), &converted, &copied, &errors, 2.1, 0, Variant(), &out),
      S_OK);
  const std::string text = Text(out);
  EXPECT_NE(text.find("CHARSET=windows-1252"), std::string::npos) << text;
  EXPECT_NE(text.find("M=FCller"), std::string::npos) << text;  // ü in windows-1252
}

TEST(CardConverterConvert, CopiesCardsAlreadyInTheTarget) {
  auto converter = NewConverter();
  const std::string card =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN;CHARSET=utf-8:Doe;John;;;\r\nEND:VCARD\r\n";
  std::vector<std::uint8_t> out;
  std::int32_t converted = 0, copied = 0, errors = 0;
  EXPECT_EQ(converter->ConvertMemory(Bytes(card), &converted, &copied, &errors, 3.0, 65001,
                                     Variant(u"utf-8"), &out),
            S_FALSE);
  EXPECT_EQ(copied, 1);
  EXPECT_EQ(converted, 0);
  EXPECT_EQ(Text(out), card);
}

TEST(CardConverterConvert, ProgressReportsEachCardAndCancelStops) {
  auto converter = NewConverter();
  const std::string cards = Card("A", "Ann") + Card("B", "Bob") + Card("C", "Cid");
  std::vector<std::uint8_t> out;
  std::int32_t converted = 0, copied = 0, errors = 0;
  RecordingProgress all;
  ASSERT_EQ(converter->ConvertMemory(Bytes(cards), &converted, &copied, &errors, 2.1, 65001,
                                     Variant(), &out, &all),
            S_OK);
  ASSERT_EQ(all.calls.size(), 3u);
  EXPECT_EQ(all.calls[2], (std::array<std::int32_t, 5>{3, 0, 3, 0, 0}));
  EXPECT_EQ(all.asked, 3);

  RecordingProgress cancel(1);
  EXPECT_EQ(converter->ConvertMemory(Bytes(cards), &converted, &copied, &errors, 2.1, 65001,
                                     Variant(), &out, &cancel),
            S_FALSE);
  EXPECT_EQ(cancel.calls.size(), 1u);
  EXPECT_EQ(converted, 1);
  const std::string text = Text(out);
  EXPECT_NE(text.find("Ann"), std::string::npos);
  EXPECT_EQ(text.find("Bob"), std::string::npos);
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
  std::size_t count = 0;
  for (std::size_t at = text.find("BEGIN:VCARD"); at != std::string::npos;
       at = text.find("BEGIN:VCARD", at + 1)) {
    ++count;
  }
  EXPECT_EQ(count, static_cast<std::size_t>(converted + copied));
  EXPECT_EQ(text.find("VERSION:2.1"), std::string::npos);

  // Cancelled after the first card: nothing is written.
  RecordingProgress cancel(1);
  EXPECT_EQ(converter->ConvertFile(U16(source), U16(dir / "cancelled.vcf"), &converted, &copied,
                                   &errors, 3.0, 65001, Variant(), true, &cancel),
            S_FALSE);
  EXPECT_FALSE(std::filesystem::exists(dir / "cancelled.vcf"));
}

TEST(CardConverterConvert, MissingSourceFileGivesItsStatus) {
  TempDir dir;
  auto converter = NewConverter();
  std::int32_t converted = 7, copied = 7, errors = 7;
  EXPECT_EQ(converter->ConvertFile(U16(dir / "none.vcf"), U16(dir / "out.vcf"), &converted, &copied,
                                   &errors),
            HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(converted + copied + errors, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.vcf"));
}

// --- Lifetime -------------------------------------------------------------------

TEST(CardConverterLifetime, ObjectsOutliveTheirConverter) {
  const std::int32_t before = LiveObjectCount();
  std::shared_ptr<ICards> cards;
  std::shared_ptr<ICardContact> created;
  {
    auto converter = NewConverter(u"Lifetime", u"life");
    ASSERT_EQ(
        converter->LoadMemory(Bytes(Card("Doe", "John") + Card("Roe", "Jane")), 0, nullptr, &cards),
        S_OK);
    ASSERT_EQ(converter->CreateCardContact(&created), S_OK);
    EXPECT_EQ(LiveObjectCount(), before + 3);
  }
  // The converter is gone; its collection and contact still work.
  EXPECT_EQ(LiveObjectCount(), before + 2);
  std::shared_ptr<ICardPreview> preview;
  ASSERT_EQ(cards->ItemPreview(1, &preview), S_OK);
  std::u16string text;
  ASSERT_EQ(preview->get_FileAs(&text), S_OK);
  EXPECT_EQ(text, u"Roe, Jane");
  std::shared_ptr<ICardContact> contact;
  ASSERT_EQ(cards->ItemContact(0, &contact), S_OK);
  std::vector<std::uint8_t> card;
  ASSERT_EQ(contact->GenerateCard(2.1, 65001, Variant(), &card), S_OK);
  EXPECT_NE(Text(card).find("N;CHARSET=utf-8:Doe;John;;;"), std::string::npos) << Text(card);
  ASSERT_EQ(created->put_FirstName(u"Eve"), S_OK);
  ASSERT_EQ(created->GenerateCard(3.0, 65001, Variant(), &card), S_OK);
  EXPECT_NE(Text(card).find("Eve"), std::string::npos);
  EXPECT_EQ(LiveObjectCount(), before + 4);

  preview.reset();
  contact.reset();
  cards.reset();  // also frees the cached preview and contact
  created.reset();
  EXPECT_EQ(LiveObjectCount(), before);
  // The log's end marker is written once the last holder is gone.
  EXPECT_NE(LogText("Lifetime", "life").find(":LogEnd:"), std::string::npos);
}

}  // namespace
}  // namespace velmora::test
