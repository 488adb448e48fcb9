#include "vcard/card_parser.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "contact/card_fields.h"
#include "foundation/automation_date.h"
#include "foundation/system_settings.h"
#include "support/case_file.h"
#include "support/record_dump.h"
#include "support/test_env.h"
#include "vcard/vcard_test_support.h"

namespace velmora::vcard {
namespace {

using test::Card;
using test::DumpList;
using test::DumpName;
using test::U8;

// Keeps a copy of every record and can stop loading after a number of items.
struct Collector : test::RecordCollector {
  bool OnParsedItem(const contact::ContactRecord& record, const CCardDocItem& item) override {
    RecordCollector::OnParsedItem(record, item);
    return stop_after <= 0 || static_cast<int>(records.size()) < stop_after;
  }
  bool OnCollectedItem(const CCardDocItem& item) override {
    collected.push_back(item.ToString());
    return stop_after <= 0 || static_cast<int>(collected.size()) < stop_after;
  }
  std::vector<std::string> collected;
  int stop_after = 0;
};

using RecordDump = std::string (*)(const contact::ContactRecord&);

class CardParserTest : public ::testing::Test {
 protected:
  // Parses `text` with the given options, delivering to the collector;
  // returns the document's result.
  LoadResult Load(std::string_view text, ParseOptions options = {}) {
    options.consumer = &collector_;
    return parser_.LoadMemory(text.data(), static_cast<std::int32_t>(text.size()), options);
  }
  // The one record of a card of `version` around `body`.
  const contact::ContactRecord& One(std::string_view version, std::string_view body,
                                    const ParseOptions& options = {}) {
    collector_.records.clear();
    Load(Card(version, body), options);
    EXPECT_EQ(collector_.records.size(), 1u);
    if (collector_.records.empty()) collector_.records.emplace_back();
    return collector_.records.back();
  }
  int Logged(std::string_view needle) const { return log_.Count(needle); }
  test::CapturedLog log_{loglInfo};
  CCardParser parser_{log_.log};
  Collector collector_;
};

std::string Phones(const contact::ContactRecord& r) { return DumpList(r.Phones); }
std::string Emails(const contact::ContactRecord& r) { return DumpList(r.Emails); }
std::string Impps(const contact::ContactRecord& r) { return DumpList(r.Impps); }
std::string Related(const contact::ContactRecord& r) { return DumpList(r.RelatedNames); }
std::string Num(int value) { return std::to_string(value); }

// The parts of a record the cases of tests/vcard/data/parser_cases.txt
// check, by the name a case gives as its `dump`.
std::string Word(int value, std::initializer_list<const char*> words) {
  return value >= 0 && value < static_cast<int>(words.size()) ? words.begin()[value] : Num(value);
}

const std::map<std::string, RecordDump> kDumps = {
    {"prodid", [](const contact::ContactRecord& r) { return r.ProdId; }},
    {"categories", [](const contact::ContactRecord& r) { return U8(r.Categories); }},
    {"charsets", [](const contact::ContactRecord& r) { return r.Charsets; }},
    {"birthday/dates/revision",
     [](const contact::ContactRecord& r) {
       return test::DumpDate(r.Birthday) + "/" + DumpList(r.Dates) + "/" +
              test::DateTime(r.LastModificationTime);
     }},
    {"name/company/department",
     [](const contact::ContactRecord& r) {
       return DumpName(r) + "/" + U8(r.CompanyName) + "/" + U8(r.Department);
     }},
    {"birthday", [](const contact::ContactRecord& r) { return test::DumpDate(r.Birthday); }},
    {"sensitivity",
     [](const contact::ContactRecord& r) {
       return Word(r.Sensitivity, {"normal", "personal", "private", "confidential"});
     }},
    {"gender",
     [](const contact::ContactRecord& r) {
       return Word(r.Gender, {"unspecified", "female", "male"});
     }},
    {"mailing address",
     [](const contact::ContactRecord& r) {
       return Word(r.SelectedMailingAddress, {"none", "home", "business", "other"});
     }},
    {"addresses", [](const contact::ContactRecord& r) { return DumpList(r.Addresses); }},
    {"phones/emails/telex slot",
     [](const contact::ContactRecord& r) {
       return Phones(r) + "/" + Emails(r) + "/" + U8(r.TelephoneSlot(contact::tsTelex));
     }},
    {"emails/email 1",
     [](const contact::ContactRecord& r) { return Emails(r) + "/" + U8(r.Email(1)); }},
    {"phones", Phones},
    {"phones/emails", [](const contact::ContactRecord& r) { return Phones(r) + "/" + Emails(r); }},
    {"impps", Impps},
    {"urls", [](const contact::ContactRecord& r) { return DumpList(r.Urls); }},
    {"related/referred by",
     [](const contact::ContactRecord& r) {
       return Related(r) + "/" + U8(r.RelatedNameSlot(contact::rnsReferredBy));
     }},
    {"related/children",
     [](const contact::ContactRecord& r) {
       return Related(r) + "/" + U8(r.RelatedNameSlot(contact::rnsChildren));
     }},
    {"related", Related},
    {"social profiles", [](const contact::ContactRecord& r) { return DumpList(r.SocialProfiles); }},
    {"user 1-4",
     [](const contact::ContactRecord& r) {
       return U8(r.User1 + u"|" + r.User2 + u"|" + r.User3 + u"|" + r.User4);
     }},
    {"dates/anniversary/custom fields",
     [](const contact::ContactRecord& r) {
       return DumpList(r.Dates) + "/" + test::DumpDate(r.Anniversary()) + "/" +
              DumpList(r.CustomFields);
     }},
    {"photo",
     [](const contact::ContactRecord& r) {
       const std::string size = Num(r.PhotoSize());
       return r.Photo.empty() ? size : size + " " + U8(r.PhotoExt) + " " + Num(r.Photo[0]);
     }},
    {"lists labelled L",
     [](const contact::ContactRecord& r) {
       std::string labelled;
       auto check = [&](const char* name, const auto& elements) {
         for (const auto& e : elements) labelled += e.ABLabel == u"L" ? name : "";
       };
       check("phones", r.Phones), check("emails", r.Emails), check("addresses", r.Addresses);
       check("impps", r.Impps), check("dates", r.Dates);
       for (const auto& related : r.RelatedNames) {
         labelled += related.LabelOther == u"L" ? "related" : "";
       }
       check("social", r.SocialProfiles), check("urls", r.Urls), check("custom", r.CustomFields);
       return labelled;
     }},
    {"formatted name/copyable",
     [](const contact::ContactRecord& r) {
       return U8(r.FormattedName) + "/" + Num(r.SourceCopyable);
     }},
    {"name/skype card/copyable",
     [](const contact::ContactRecord& r) {
       return DumpName(r) + "/" + Num(r.IsSkypeCard) + "/" + Num(r.SourceCopyable);
     }},
};

TEST_F(CardParserTest, Cases) {
  for (const test::FileCase& c : test::ReadCases("vcard/data/parser_cases.txt")) {
    SCOPED_TRACE(c["body"]);
    test::ScopedSettings settings;
    if (c.Has("time zone")) settings.TimeZone(c["time zone"]);
    if (c.Has("list separator")) settings.ListSeparator(test::U16(c["list separator"]));
    std::function<std::string(const contact::ContactRecord&)> dump;
    for (const auto& [name, field] : test::kTextFields) {
      if (c["dump"] == "field " + std::string(name)) {
        dump = [field](const contact::ContactRecord& r) { return U8(r.*field); };
      }
    }
    if (!dump) {
      const auto found = kDumps.find(c["dump"]);
      ASSERT_NE(found, kDumps.end()) << c["dump"];
      dump = found->second;
    }
    // The card's part under test, and the log lines it must add (each once).
    const std::vector<std::string> logged = c.All("logged");
    std::vector<int> before;
    for (const auto& m : logged) before.push_back(Logged(m));
    const ParseOptions options{.keep_source_text = c.Has("source text"),
                               .collect_charsets = c.Has("charsets")};
    EXPECT_EQ(dump(One(c["version"], c["body"], options)), c["expect"]);
    for (std::size_t i = 0; i < logged.size(); ++i) {
      EXPECT_EQ(Logged(logged[i]), before[i] + 1) << logged[i];
    }
  }
}

TEST_F(CardParserTest, ImppDuplicateListsTheFieldsWhenVerbose) {
  test::CapturedLog verbose(loglDetail);
  CCardParser parser(verbose.log);
  const std::string text = Card("3.0", "IMPP:aim:x\r\nIMPP:AIM:X\r\n");
  parser.LoadMemory(text.data(), static_cast<std::int32_t>(text.size()), {.consumer = &collector_});
  EXPECT_EQ(verbose.Count(
                "skipping IMPP duplicate (ServiceType = \"\", Protocol = \"AIM\", Value = \"X\")"),
            1);
}

TEST_F(CardParserTest, UnknownPropertiesAreReportedUnlessKnownUseless) {
  One("2.1",
      "X-FOO:1\r\nLABEL;HOME:x\r\nx-ms-ol-design:y\r\nX-SKYPE-MOOD:z\r\nX-ABADR:us\r\n"
      "AGENT:a\r\n");
  EXPECT_EQ(Logged("Skipping unknown prop("), 2);
  EXPECT_EQ(Logged("Skipping unknown prop(X-FOO)"), 1);
  EXPECT_EQ(Logged("Skipping unknown prop(AGENT)"), 1);
}

// --- Options, filter, maximum, modes ---------------------------------------------

TEST_F(CardParserTest, VersionSourceTextAndAFreshRecordPerItem) {
  const std::string text = Card("2.1", "FN:A\r\nTEL:1\r\n") + Card("3.0", "FN:B\r\n");
  EXPECT_EQ(Load(text, {.keep_source_text = true}), LoadResult::kComplete);
  ASSERT_EQ(collector_.records.size(), 2u);
  const contact::ContactRecord& second = collector_.records[1];
  EXPECT_EQ(Num(collector_.records[0].Version) + "/" + Num(second.Version), "21/30");
  EXPECT_EQ(second.SourceText, Card("3.0", "FN:B\r\n"));
  EXPECT_TRUE(second.SourceCopyable);
  EXPECT_EQ(U8(second.FormattedName) + Phones(second), "B");
  EXPECT_EQ(Logged("duplicate"), 0);
  EXPECT_EQ(parser_.count(), 2);
  EXPECT_EQ(One("3.0", "FN:A\r\n").SourceText, "");
  // UTF-8 content cannot be copied as it stands.
  collector_.records.clear();
  Load("\xEF\xBB\xBF" + Card("2.1", "FN:A\r\n"));
  EXPECT_FALSE(collector_.records.at(0).SourceCopyable);
}

TEST_F(CardParserTest, FilterKeepsStructuralProperties) {
  contact::FieldFilter filter;
  contact::CCardFields::Get().BuildFieldFilter(
      log_.log, filter, true, std::span<const std::int32_t>(contact::kPreviewFilterCodes));
  const contact::ContactRecord& r =
      One("3.0",
          "FN:A\r\nBDAY:2000-01-01\r\nPRODID:p\r\nNICKNAME:n\r\nX-AIM:aim1\r\n"
          "X-MS-TEL;TYPE=RADIO:5\r\nX-FOO:1\r\n",
          {.filter = &filter});
  EXPECT_EQ(U8(r.FormattedName) + r.ProdId + test::DumpDate(r.Birthday) + U8(r.NickName), "Ap");
  EXPECT_EQ(Impps(r) + "/" + Phones(r), "aim|aim|aim1|||/5|||Radio");
  EXPECT_EQ(Logged("Skipping unknown prop(X-FOO)"), 1);
}

TEST_F(CardParserTest, MaximumOrConsumerStopsLoadingInBothModes) {
  const std::vector<std::string> cards = {Card("3.0", "FN:1\r\n"), Card("2.1", "FN:2\r\n"),
                                          Card("3.0", "FN:3\r\n")};
  struct Case {
    int maximum, stop_after, result, count;
    bool by_consumer;
  };
  std::vector<std::string> texts;
  for (ParseMode mode : {ParseMode::kConvert, ParseMode::kCollect}) {
    const bool collect = mode == ParseMode::kCollect;
    for (const Case& c :
         {Case{2, 0, 1, 2, false}, Case{0, 0, 0, 3, false}, Case{0, 1, 1, 1, true}}) {
      SCOPED_TRACE(Num(collect) + " " + Num(c.maximum) + " " + Num(c.stop_after));
      collector_.records.clear(), collector_.texts.clear(), collector_.collected.clear();
      texts.clear();
      collector_.stop_after = c.stop_after;
      EXPECT_EQ(static_cast<int>(Load(cards[0] + cards[1] + cards[2],
                                      {.mode = mode, .maximum = c.maximum, .texts = &texts})),
                c.result);
      const std::vector<std::string> expected(cards.begin(), cards.begin() + c.count);
      // Collecting gathers the texts only; converting delivers records.
      EXPECT_EQ(collect ? collector_.collected : collector_.texts, expected);
      EXPECT_EQ(texts, collect ? expected : std::vector<std::string>{});
      EXPECT_EQ(collector_.records.size(), collect ? 0u : expected.size());
      EXPECT_EQ(parser_.stopped_by_consumer(), c.by_consumer);
    }
  }
}

TEST_F(CardParserTest, OtherModesOnlyTrace) {
  test::CapturedLog detail(loglDetail);
  CCardParser parser(detail.log);
  const ParseMode other = static_cast<ParseMode>(7);
  const std::string text = Card("3.0", "FN:1\r\n") + Card("3.0", "FN:2\r\n");
  EXPECT_EQ(parser.LoadMemory(text.data(), static_cast<std::int32_t>(text.size()),
                              {.mode = other, .consumer = &collector_}),
            LoadResult::kComplete);
  EXPECT_TRUE(collector_.records.empty());
  EXPECT_TRUE(collector_.collected.empty());
  EXPECT_EQ(detail.Count("in CCardParser.OnCardLoaded: mode 7"), 2);

  std::vector<std::string> texts{"kept"};
  parser.m_docCard_Sort(parser.document(), other, 0, texts);
  EXPECT_EQ(texts, std::vector<std::string>{"kept"});
  EXPECT_EQ(detail.Count("in CCardParser.m_docCard_Sort: "), 1);
}

TEST_F(CardParserTest, SortByRevisionNewestFirst) {
  const std::string a = Card("3.0", "FN:a\r\nREV:2020-01-01T00:00:00Z\r\n");
  const std::string b = Card("3.0", "FN:b\r\n");
  const std::string c = Card("3.0", "FN:c\r\nREV:20230101T000000Z\r\n");
  const std::string d = Card("3.0", "FN:d\r\nREV:2021-06-01\r\n");
  CCardDoc& doc = parser_.document();
  ASSERT_EQ(doc.LoadFromString((a + b + c + d).c_str()), LoadResult::kComplete);

  std::vector<std::string> texts{"old"};
  parser_.m_docCard_Sort(doc, ParseMode::kConvert, 0, texts);
  EXPECT_EQ(texts, std::vector<std::string>{"old"});

  parser_.m_docCard_Sort(doc, ParseMode::kCollect, 0, texts);
  EXPECT_EQ(texts, (std::vector<std::string>{c, d, a, b}));

  parser_.m_docCard_Sort(doc, ParseMode::kCollect, 3, texts);
  EXPECT_EQ(texts, (std::vector<std::string>{c, a, b}));

  parser_.m_docCard_Sort(doc, ParseMode::kCollect, 9, texts);
  EXPECT_EQ(texts.size(), 4u);

  ASSERT_EQ(doc.LoadFromString(a.c_str()), LoadResult::kComplete);
  texts = {"kept"};
  parser_.m_docCard_Sort(doc, ParseMode::kCollect, 0, texts);
  EXPECT_EQ(texts, std::vector<std::string>{"kept"});
}

TEST_F(CardParserTest, ParseItemWithoutDelivery) {
  CCardDoc& doc = parser_.document();
  ASSERT_EQ(doc.LoadFromString(Card("3.0", "FN:Solo\r\n").c_str()), LoadResult::kComplete);
  EXPECT_EQ(U8(parser_.ParseItem(*doc.GetItem(0)).FormattedName), "Solo");
  EXPECT_EQ(parser_.count(), 0);
}

// --- Real files ---------------------------------------------------------------------

TEST_F(CardParserTest, GmailExportFieldByField) {
  ASSERT_EQ(parser_.LoadFile(test::CorpusDir() / "vcard30/ezvcard_gmail-single2.vcf",
                             {.consumer = &collector_}),
            S_OK);
  ASSERT_EQ(collector_.records.size(), 1u);
  const contact::ContactRecord& r = collector_.records[0];
  EXPECT_EQ(Num(r.Version) + "/" + DumpName(r) + "/" + U8(r.NickName),
            "30/|VCard||Test|/TheNickname");
  ASSERT_EQ(r.Emails.size(), 5u);
  EXPECT_EQ(test::DumpItem(r.Emails[4]),
            "customcategory@example.com|INTERNET|SMTP|item1.|CustomEmailCategory");
  EXPECT_EQ(DumpList(r.Impps),
            "googletalk|xmpp|IM2|||; aim|aim|IM3|||; yahoo|ymsgr|IM4|||; skype|skype|IM5|||; "
            "qq|x-apple|IM6|||; msn|msnim|IM7|||; icq|aim|IM8|||; jabber|xmpp|IM9|||");
  EXPECT_FALSE(r.SourceCopyable);  // X-SKYPE in 3.0
  ASSERT_GE(r.Phones.size(), 11u);
  EXPECT_EQ(test::DumpItem(r.Phones[8]), "5555551119||item2.|GRAND_CENTRAL");
  EXPECT_EQ(r.PhoneCategories()[8], contact::phcGoogleVoice);
  EXPECT_EQ(test::DumpItem(r.Addresses[4]),
            "||115 Main St|NY|New York|10011|||item4.|CustomAddressCategory");
  ASSERT_EQ(r.Urls.size(), 6u);
  EXPECT_EQ(test::DumpItem(r.Urls[3]).substr(test::DumpItem(r.Urls[3]).find('|')),
            "||item7.|_$!<HomePage>!$_");
  EXPECT_EQ(test::DumpDate(r.Birthday) + "/" + test::DumpDate(r.Anniversary()),
            "1912-06-23/1930-03-20");
  EXPECT_EQ(
      U8(r.RelatedNameSlot(contact::rnsSpouse) + u"/" + r.RelatedNameSlot(contact::rnsManager)),
      "Name2/Name11");
  EXPECT_EQ(test::DumpItem(r.RelatedNames[9]), "Name10|0|RELATIVE||item19.");
}

}  // namespace
}  // namespace velmora::vcard
