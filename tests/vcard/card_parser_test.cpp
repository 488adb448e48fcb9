#include "vcard/card_parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "contact/card_fields.h"
#include "foundation/automation_date.h"
#include "foundation/system_settings.h"
#include "support/test_env.h"
#include "vcard/record_dump.h"
#include "vcard/vcard_test_support.h"

namespace velmora {
namespace {

using test::Card;
using test::DumpList;
using test::DumpName;
using test::U8;

// Keeps a copy of every record and can stop loading after a number of items.
class Collector : public ICardParserConsumer {
 public:
  bool OnParsedItem(const ContactRecord& record, const CCardDocItem& item) override {
    records.push_back(record);
    item_texts.push_back(item.ToString());
    return stop_after <= 0 || static_cast<int>(records.size()) < stop_after;
  }
  bool OnCollectedItem(const CCardDocItem& item) override {
    collected.push_back(item.ToString());
    return stop_after <= 0 || static_cast<int>(collected.size()) < stop_after;
  }

  std::vector<ContactRecord> records;
  std::vector<std::string> item_texts;
  std::vector<std::string> collected;
  int stop_after = 0;
};

class CardParserTest : public ::testing::Test {
 protected:
  // Parses `text` with the given options; returns the document's result.
  int Load(std::string_view text, unsigned options = 0) {
    parser_.SetConsumer(&collector_);
    parser_.SetOptions(options);
    return parser_.LoadMemory(text.data(), static_cast<std::int32_t>(text.size()));
  }
  // The one record of a card of `version` around `body`.
  const ContactRecord& One(std::string_view version, std::string_view body,
                           unsigned options = 0) {
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

// --- Plain text fields ----------------------------------------------------------

struct StrCase {
  const char* name;
  std::u16string ContactRecord::*field;
};

const StrCase kStrCases[] = {
    {"FN", &ContactRecord::FormattedName},
    {"NICKNAME", &ContactRecord::NickName},
    {"X-MAIDENNAME", &ContactRecord::MaidenName},
    {"NOTE", &ContactRecord::Body},
    {"ROLE", &ContactRecord::Profession},
    {"TITLE", &ContactRecord::JobTitle},
    {"UID", &ContactRecord::UID},
    {"FBURL", &ContactRecord::InternetFreeBusyAddress},
    {"X-OUTL-IFBADDRESS", &ContactRecord::InternetFreeBusyAddress},
    {"X-MS-INTERESTS", &ContactRecord::Hobby},
    {"X-OUTL-NMALIAS", &ContactRecord::NetMeetingAlias},
    {"X-OUTL-NMSERVER", &ContactRecord::NetMeetingServer},
    {"X-PHONETIC-FIRST-NAME", &ContactRecord::PhoneticFirstName},
    {"X-PHONETIC-MIDDLE-NAME", &ContactRecord::PhoneticMiddleName},
    {"X-PHONETIC-LAST-NAME", &ContactRecord::PhoneticLastName},
    {"X-ZORVA-OL-ACCOUNT", &ContactRecord::Account},
    {"X-ZORVA-OL-BILLING-INFORMATION", &ContactRecord::BillingInformation},
    {"X-ZORVA-OL-GOVERNMENT-ID-NUMBER", &ContactRecord::GovernmentIDNumber},
    {"X-ZORVA-OL-KEYWORD", &ContactRecord::Keyword},
    {"X-ZORVA-OL-LOCATION", &ContactRecord::Location},
    {"X-ZORVA-OL-LOCATION-EX", &ContactRecord::LocationEx},
    {"X-ZORVA-OL-MILEAGE", &ContactRecord::Mileage},
    {"X-ZORVA-OL-ORGANIZATIONAL-ID-NUMBER", &ContactRecord::OrganizationalIDNumber},
    {"X-ZORVA-OL-SCHOOL", &ContactRecord::School},
    {"X-ZORVA-OL-YOMI-COMPANY", &ContactRecord::YomiCompany},
};

TEST_F(CardParserTest, TextFieldsTakeTheFirstOccurrenceAndLogDuplicates) {
  for (const StrCase& c : kStrCases) {
    SCOPED_TRACE(c.name);
    collector_.records.clear();
    const std::string body = std::string(c.name) + ":first\\, one\r\n" + c.name + ":second\r\n";
    const ContactRecord& r = One("3.0", body);
    EXPECT_EQ(U8(r.*c.field), "first, one");
    EXPECT_EQ(Logged("skipping " + std::string(c.name) + " duplicate"), 1);
  }
  EXPECT_EQ(Logged("in CCardParser.m_setStr: skipping FN duplicate"), 1);
}

TEST_F(CardParserTest, ProdIdIsNarrowText) {
  const ContactRecord& r = One("3.0", "PRODID:-//Apple Inc.//iOS 5.0//EN\r\n");
  EXPECT_EQ(r.ProdId, "-//Apple Inc.//iOS 5.0//EN");
}

TEST_F(CardParserTest, NameAndOrganisationComponents) {
  const ContactRecord& r =
      One("3.0", "N:Doe;John;Paul;Dr.;Jr.\r\nORG:Acme\\; Inc.;Sales;Extra\r\nN:X;Y\r\n");
  EXPECT_EQ(DumpName(r), "Dr.|John|Paul|Doe|Jr.");
  EXPECT_EQ(U8(r.CompanyName), "Acme; Inc.");
  EXPECT_EQ(U8(r.Department), "Sales");
  EXPECT_EQ(Logged("skipping N duplicate"), 1);
}

TEST_F(CardParserTest, ShortNameLeavesTheOtherPartsEmpty) {
  const ContactRecord& r = One("2.1", "N:Doe\r\nORG:Acme\r\nORG:Other\r\n");
  EXPECT_EQ(DumpName(r), "|||Doe|");
  EXPECT_EQ(U8(r.CompanyName), "Acme");
  EXPECT_EQ(Logged("in CCardParser.m_setMultiStr: skipping ORG duplicate"), 1);
}

TEST_F(CardParserTest, DatesAndTheirDuplicates) {
  const ContactRecord& r = One(
      "3.0", "BDAY:1980-06-15\r\nBDAY:1990-01-01\r\nREV:20240102T030405Z\r\nREV:20250101\r\n");
  EXPECT_EQ(test::DumpDate(r.Birthday), "1980-06-15");
  // 03:04:05 UTC is 04:04:05 in Berlin in winter.
  SystemTime rev;
  ASSERT_TRUE(VariantTimeToSystemTime(r.LastModificationTime, &rev));
  EXPECT_EQ(rev.year, 2024);
  EXPECT_EQ(rev.hour, 4);
  EXPECT_EQ(rev.minute, 4);
  EXPECT_EQ(Logged("skipping BDAY duplicate"), 1);
  EXPECT_EQ(Logged("skipping REV duplicate"), 1);
}

TEST_F(CardParserTest, InvalidDateLeavesBirthdayEmptyForALaterOne) {
  const ContactRecord& r = One("3.0", "BDAY:--0615\r\nBDAY:19800615\r\n");
  EXPECT_EQ(test::DumpDate(r.Birthday), "1980-06-15");
  EXPECT_EQ(Logged("Invalid value(--0615)"), 1);
}

// --- Categories, class, gender, mailing address ---------------------------------

TEST_F(CardParserTest, CategoriesUseTheListSeparatorIn30) {
  test::ScopedSettings settings;
  settings.ListSeparator(u";");
  const ContactRecord& r = One("3.0", "CATEGORIES:a,b\\,c,d\r\nX-OUTL-CATEGORIES:x\r\n");
  // An escaped comma belongs to the category name.
  EXPECT_EQ(U8(r.Categories), "a;b,c;d");
  EXPECT_EQ(Logged("skipping X-OUTL-CATEGORIES duplicate"), 1);
}

TEST_F(CardParserTest, CategoriesIn21AreTakenAsTheyStand) {
  test::ScopedSettings settings;
  settings.ListSeparator(u";");
  const ContactRecord& r = One("2.1", "X-OUTL-CATEGORIES:a,b\r\n");
  EXPECT_EQ(U8(r.Categories), "a,b");
}

TEST_F(CardParserTest, CategoriesWithTheDefaultSeparator) {
  const ContactRecord& r = One("3.0", "CATEGORIES:a,b\r\n");
  EXPECT_EQ(U8(r.Categories), "a,b");
}

TEST_F(CardParserTest, ClassWords) {
  struct Case {
    const char* lines;
    EContactSensitivity expected;
    int duplicates;
  };
  const Case cases[] = {
      {"CLASS:CONFIDENTIAL\r\n", vlmcsConfidential, 0},
      {"CLASS:private\r\n", vlmcsPrivate, 0},
      {"X-OUTL-CLASS:PUBLIC\r\n", vlmcsNormal, 0},
      {"CLASS:CONFIDENTIAL\r\nCLASS:PRIVATE\r\n", vlmcsConfidential, 1},
      // PUBLIC has no word form, so a later class still counts.
      {"CLASS:PUBLIC\r\nX-OUTL-CLASS:PRIVATE\r\n", vlmcsPrivate, 0},
  };
  int duplicates = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    collector_.records.clear();
    EXPECT_EQ(One("3.0", c.lines).Sensitivity, c.expected);
    duplicates += c.duplicates;
    EXPECT_EQ(Logged("skipping CLASS duplicate"), duplicates);
  }
}

TEST_F(CardParserTest, GenderOfBothProperties) {
  struct Case {
    const char* lines;
    EContactGender expected;
  };
  const Case cases[] = {
      {"X-WAB-GENDER:1\r\n", vlmcgFemale},  {"X-WAB-GENDER:2\r\n", vlmcgMale},
      {"X-SKYPE-SEX:1\r\n", vlmcgMale},     {"X-SKYPE-SEX: 2 \r\n", vlmcgFemale},
      {"X-WAB-GENDER:3\r\n", vlmcgUnspecified},
      {"X-WAB-GENDER:2\r\nX-SKYPE-SEX:2\r\n", vlmcgMale},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    collector_.records.clear();
    EXPECT_EQ(One("3.0", c.lines).Gender, c.expected);
  }
  EXPECT_EQ(Logged("Unknown Gender = 3"), 1);
  EXPECT_EQ(Logged("skipping X-SKYPE-SEX duplicate"), 1);
}

TEST_F(CardParserTest, MailingAddressSelection) {
  struct Case {
    const char* value;
    EContactAddress expected;
  };
  const Case cases[] = {{"1", vlmcaHome},      {" 2 ", vlmcaBusiness}, {"3", vlmcaOther},
                        {"0", vlmcaNone},      {"4", vlmcaNone}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    collector_.records.clear();
    const std::string body = std::string("X-MS-OL-DEFAULT-POSTAL-ADDRESS:") + c.value + "\r\n";
    EXPECT_EQ(One("2.1", body).SelectedMailingAddress, c.expected);
  }
  EXPECT_EQ(Logged("Unknown MailingAddress = "), 1);
  EXPECT_EQ(Logged("Unknown MailingAddress = 4"), 1);
}

// --- Addresses, e-mails, phones -------------------------------------------------

TEST_F(CardParserTest, AddressComponentsTypesAndGroup) {
  const ContactRecord& r = One(
      "3.0",
      "item1.ADR;TYPE=HOME,PREF:PO;Ext;Main St. 1\\;2;Town;ST;12345;Country\r\n"
      "ADR;TYPE=WORK:;;Street\r\n");
  EXPECT_EQ(DumpList(r.Addresses),
            "PO|Ext|Main St. 1;2|Town|ST|12345|Country|HOME,PREF|item1.|; "
            "||Street|||||WORK||");
}

TEST_F(CardParserTest, TelexEmailBecomesATelexPhone) {
  const ContactRecord& r =
      One("2.1", "EMAIL;TLX:12345 \r\nEMAIL;INTERNET:a@b.c\r\n");
  EXPECT_EQ(DumpList(r.Phones), "12345|||Telex");
  EXPECT_EQ(DumpList(r.Emails), "a@b.c|INTERNET|SMTP||");
  EXPECT_EQ(r.TelephoneSlot(tsTelex), u"12345");
}

TEST_F(CardParserTest, PreferredEmailGoesFirst) {
  const ContactRecord& r = One(
      "3.0",
      "EMAIL;TYPE=INTERNET:one@x\r\nEMAIL:two@x\r\nEMAIL;TYPE=INTERNET,pref:three@x\r\n"
      "EMAIL: \r\n");
  EXPECT_EQ(DumpList(r.Emails),
            "three@x|INTERNET,pref|SMTP||; one@x|INTERNET|SMTP||; two@x||||");
  EXPECT_EQ(U8(r.Email(1)), "three@x");
  EXPECT_EQ(Logged("in CCardParser.m_setEmail: EMAIL.Value is empty"), 1);
}

TEST_F(CardParserTest, TelephoneTypesValueAndEmptyValue) {
  const ContactRecord& r =
      One("2.1", "TEL;HOME;VOICE:+1 555 \r\nTEL;WORK:\r\nitem2.TEL;CELL:777\r\n");
  EXPECT_EQ(DumpList(r.Phones), "+1 555|HOME,VOICE||; 777|CELL|item2.|");
  EXPECT_EQ(Logged("in CCardParser.m_setTel: No value"), 1);
}

TEST_F(CardParserTest, OutlookTelephoneTypes) {
  struct Case {
    const char* line;
    const char* phones;
    const char* message;
  };
  const Case cases[] = {
      {"X-MS-TEL;ASSISTANT:1\r\n", "1|||Assistant", nullptr},
      {"X-MS-TEL;VOICE;COMPANY:2\r\n", "2|VOICE||Company", nullptr},
      {"X-MS-TEL;CALLBACK:3\r\n", "3|||Callback", nullptr},
      {"X-MS-TEL;radio:4\r\n", "4|||Radio", nullptr},
      {"X-MS-TEL;TTYTDD:5\r\n", "5|||TTY/TDD", nullptr},
      {"X-MS-TEL;TELEX:6\r\n", "6|||Telex", nullptr},
      // The number is kept: the first type labels it, or it stays unlabelled.
      {"X-MS-TEL;RADIO;TELEX:7\r\n", "7|||Radio", "X-MS-TEL: two more phone types"},
      {"X-MS-TEL;VOICE:8\r\n", "8|VOICE||", "X-MS-TEL: no phone type"},
      {"X-MS-TEL:9\r\n", "9|||", "X-MS-TEL: no phone type"},
      {"X-MS-TEL;RADIO:\r\n", "", "empty phone"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    collector_.records.clear();
    const int before = c.message ? Logged(c.message) : 0;
    EXPECT_EQ(DumpList(One("2.1", c.line).Phones), c.phones);
    if (c.message) {
      EXPECT_EQ(Logged(c.message), before + 1);
    }
  }
}

// --- Instant messaging -----------------------------------------------------------

TEST_F(CardParserTest, ImppValuesAndErrors) {
  const ContactRecord& r = One(
      "3.0",
      "IMPP;X-SERVICE-TYPE=Jabber;TYPE=HOME:xmpp:me@jabber.org\r\n"
      "IMPP:nocolon\r\n"
      "IMPP::handle\r\n"
      "IMPP:aim:\r\n"
      "item3.IMPP:skype:a:b\r\n"
      "IMPP;X-SERVICE-TYPE=jabber:XMPP:ME@jabber.org\r\n");
  EXPECT_EQ(DumpList(r.Impps),
            "Jabber|xmpp|me@jabber.org|HOME||; |skype|a:b||item3.|");
  EXPECT_EQ(Logged("Err[0x80070057] in CCardParser.m_setImpp: No protocol in \"nocolon\""), 1);
  EXPECT_EQ(Logged("No protocol in \":handle\""), 1);
  EXPECT_EQ(Logged("No value in \"aim:\""), 1);
  EXPECT_EQ(Logged("skipping IMPP duplicate"), 1);
}

TEST_F(CardParserTest, ImppDuplicateListsTheFieldsWhenVerbose) {
  test::CapturedLog verbose(loglDetail);
  CCardParser parser(verbose.log);
  parser.SetConsumer(&collector_);
  const std::string text = Card("3.0", "IMPP:aim:x\r\nIMPP:AIM:X\r\n");
  parser.LoadMemory(text.data(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(verbose.Count(
                "skipping IMPP duplicate (ServiceType = \"\", Protocol = \"AIM\", Value = \"X\")"),
            1);
}

TEST_F(CardParserTest, OldStyleImPropertiesByService) {
  struct Case {
    const char* property;
    const char* service;
    const char* protocol;
  };
  const Case cases[] = {
      {"X-AIM", "aim", "aim"},
      {"X-GADUGADU", "gadugadu", "x-apple"},
      {"X-GOOGLE-TALK", "googletalk", "xmpp"},
      {"X-GTALK", "googletalk", "xmpp"},
      {"X-ICQ", "icq", "aim"},
      {"X-JABBER", "jabber", "xmpp"},
      {"X-MS-IMADDRESS", "IM Address", "x-apple"},
      {"X-OUTL-IMADDRESS", "IM Address", "x-apple"},
      {"X-MSN", "msn", "msnim"},
      {"X-QQ", "qq", "x-apple"},
      {"X-SKYPE", "skype", "skype"},
      {"X-SKYPE-USERNAME", "skype", "skype"},
      {"X-YAHOO", "yahoo", "ymsgr"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.property);
    collector_.records.clear();
    const std::string body = std::string(c.property) + ":handle\r\n";
    EXPECT_EQ(DumpList(One("2.1", body).Impps),
              std::string(c.service) + "|" + c.protocol + "|handle|||");
  }
}

TEST_F(CardParserTest, ImAddressGoesFirstAndDuplicatesAreDropped) {
  const ContactRecord& r = One(
      "2.1",
      "X-AIM:a1\r\nX-ICQ:i1\r\nX-MS-IMADDRESS:im@x\r\nX-AIM:A1\r\n"
      "X-OUTL-IMADDRESS:IM@X\r\nX-GTALK;HOME:g\r\n");
  EXPECT_EQ(DumpList(r.Impps),
            "IM Address|x-apple|im@x|||; aim|aim|a1|||; icq|aim|i1|||; "
            "googletalk|xmpp|g|HOME||");
  EXPECT_EQ(Logged("in CCardParser.m_setImppX: skipping X-AIM duplicate"), 1);
  EXPECT_EQ(Logged("skipping X-OUTL-IMADDRESS duplicate"), 1);
}

TEST_F(CardParserTest, SkypeHandleIn30MakesTheSourceUncopyable) {
  EXPECT_FALSE(One("3.0", "X-SKYPE:me\r\n").SourceCopyable);
  collector_.records.clear();
  EXPECT_TRUE(One("2.1", "X-SKYPE:me\r\n").SourceCopyable);
  collector_.records.clear();
  EXPECT_TRUE(One("3.0", "X-AIM:me\r\n").SourceCopyable);
}

// --- URLs, related names, social profiles, custom text ---------------------------

TEST_F(CardParserTest, UrlsAndEmptyUrl) {
  const ContactRecord& r =
      One("3.0", "URL;TYPE=WORK:http://x.org\r\nURL:\r\nitem1.URL:https://y\r\n");
  EXPECT_EQ(DumpList(r.Urls), "http://x.org|WORK||; https://y||item1.|");
  EXPECT_EQ(Logged("in CCardParser.m_setUrl: URL: is empty"), 1);
}

TEST_F(CardParserTest, RelatedNamesByOutlookProperty) {
  const ContactRecord& r = One(
      "2.1",
      "X-MS-MANAGER:Boss\r\nX-MS-ASSISTANT:Jenny\r\nX-MS-SPOUSE:Pat\r\n"
      "X-OUTL-MANAGERNAME:Other Boss\r\nX-OUTL-ASSISTANTNAME:Jim\r\nX-OUTL-SPOUSE:Sam\r\n"
      "X-ZORVA-OL-PREFERRED-BY:Ref\r\n");
  EXPECT_EQ(DumpList(r.RelatedNames), "Boss|6|||; Jenny|1|||; Pat|11|||; Ref|12|||");
  EXPECT_EQ(Logged("skipping X-OUTL-MANAGERNAME duplicate"), 1);
  EXPECT_EQ(Logged("skipping X-OUTL-ASSISTANTNAME duplicate"), 1);
  EXPECT_EQ(Logged("skipping X-OUTL-SPOUSE duplicate"), 1);
  EXPECT_EQ(U8(r.RelatedNameSlot(rnsReferredBy)), "Ref");
}

TEST_F(CardParserTest, ChildrenFromAllComponents) {
  const ContactRecord& r = One("2.1", "X-MS-CHILD:Anna;Ben;;Carl\r\n");
  EXPECT_EQ(DumpList(r.RelatedNames), "Anna|3|||; Ben|3|||; Carl|3|||");
  EXPECT_EQ(U8(r.RelatedNameSlot(rnsChildren)), "Anna,Ben,Carl");
}

TEST_F(CardParserTest, AppleRelatedNamesAndTheirLabels) {
  const ContactRecord& r = One(
      "3.0",
      "item1.X-ABRELATEDNAMES;TYPE=pref:Dad\r\nitem1.X-ABLabel:_$!<Father>!$_\r\n"
      "item2.X-ABRELATEDNAMES:Coach\r\nitem2.X-ABLabel:Trainer\r\n"
      "X-ABRELATEDNAMES:\r\n");
  EXPECT_EQ(DumpList(r.RelatedNames), "Dad|4||pref|item1.; Coach|0|Trainer||item2.");
  EXPECT_EQ(Logged("in CCardParser.m_setRelatedNameX: X_ABRELATEDNAMES: is empty"), 1);
}

TEST_F(CardParserTest, SocialProfiles) {
  const ContactRecord& r = One(
      "3.0",
      "item1.X-SOCIALPROFILE;TYPE=twitter;X-USER=jd:http://twitter.com/jd\r\n"
      "X-SOCIALPROFILE:\r\n");
  EXPECT_EQ(DumpList(r.SocialProfiles), "http://twitter.com/jd|jd|twitter|item1.|");
  EXPECT_EQ(Logged("in CCardParser.m_setSocialProfileX: X_ABRELATEDNAMES: is empty"), 1);
}

TEST_F(CardParserTest, OutlookCustomText) {
  const ContactRecord& r = One(
      "2.1",
      "X-MS-TEXT;CUSTOM2:two\r\nX-MS-TEXT;CUSTOM4:four\r\nX-MS-TEXT;CUSTOM2:again\r\n"
      "X-MS-TEXT;CUSTOM1;CUSTOM3:both\r\nX-MS-TEXT:none\r\n");
  EXPECT_EQ(U8(r.User1), "");
  EXPECT_EQ(U8(r.User2), "two");
  EXPECT_EQ(U8(r.User3), "");
  EXPECT_EQ(U8(r.User4), "four");
  EXPECT_EQ(Logged("skipping X-MS-TEXT duplicate"), 1);
  EXPECT_EQ(Logged("X-MS-TEXT: two or more types"), 1);
  EXPECT_EQ(Logged("X-MS-TEXT: no type"), 1);
}

TEST_F(CardParserTest, DatesCustomFieldsAndAnniversaries) {
  const ContactRecord& r = One(
      "3.0",
      "item1.X-ABDATE;TYPE=pref:2000-09-12\r\nitem1.X-ABLabel:_$!<Anniversary>!$_\r\n"
      "X-ABDATE:1776-07-04\r\nX-MS-ANNIVERSARY:20110113\r\nX-OUTL-ANNIVERSARY:bad\r\n"
      "item2.X-ZORVA-CUSTOM-FIELD;TYPE=x:value\r\n");
  EXPECT_EQ(DumpList(r.Dates),
            "2000-09-12|pref|item1.|_$!<Anniversary>!$_; 1776-07-04|||; "
            "2011-01-13|||_$!<Anniversary>!$_");
  EXPECT_EQ(test::DumpDate(r.Anniversary()), "2000-09-12");
  EXPECT_EQ(DumpList(r.CustomFields), "value|x|item2.|");
  EXPECT_EQ(Logged("Invalid value(bad)"), 1);
}

// --- Labels ------------------------------------------------------------------------

TEST_F(CardParserTest, LabelReachesTheElementOfItsGroupWhateverItsText) {
  const ContactRecord& r =
      One("3.0", "item1.TEL:123\r\nitem1.X-ABLABEL:anything at all\r\n");
  EXPECT_EQ(DumpList(r.Phones), "123||item1.|anything at all");
}

TEST_F(CardParserTest, LabelSearchOrderAcrossTheLists) {
  // Each line's group is shared by the elements of the lists after it, so
  // the label must land in the first list of the search order.
  struct Case {
    const char* lines;
    const char* list;
  };
  const Case cases[] = {
      {"g.URL:u\r\ng.TEL:1\r\ng.EMAIL:e\r\n", "phones"},
      {"g.URL:u\r\ng.EMAIL:e\r\ng.ADR:;;s\r\n", "emails"},
      {"g.URL:u\r\ng.ADR:;;s\r\ng.IMPP:aim:x\r\n", "addresses"},
      {"g.URL:u\r\ng.IMPP:aim:x\r\ng.X-ABDATE:2000-01-01\r\n", "impps"},
      {"g.URL:u\r\ng.X-ABDATE:2000-01-01\r\ng.X-ABRELATEDNAMES:n\r\n", "dates"},
      {"g.URL:u\r\ng.X-ABRELATEDNAMES:n\r\ng.X-SOCIALPROFILE:s\r\n", "related"},
      {"g.URL:u\r\ng.X-SOCIALPROFILE:s\r\n", "social"},
      {"g.X-ZORVA-CUSTOM-FIELD:c\r\ng.URL:u\r\n", "urls"},
      {"g.X-ZORVA-CUSTOM-FIELD:c\r\n", "custom"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    collector_.records.clear();
    const ContactRecord& r = One("3.0", std::string(c.lines) + "G.X-ABLabel:L\r\n");
    std::vector<std::string> labelled;
    auto check = [&](const char* name, const auto& list) {
      for (const auto& element : list) {
        if (element.ABLabel == u"L") labelled.push_back(name);
      }
    };
    check("phones", r.Phones);
    check("emails", r.Emails);
    check("addresses", r.Addresses);
    check("impps", r.Impps);
    check("dates", r.Dates);
    for (const auto& related : r.RelatedNames) {
      if (related.LabelOther == u"L") labelled.push_back("related");
    }
    check("social", r.SocialProfiles);
    check("urls", r.Urls);
    check("custom", r.CustomFields);
    EXPECT_EQ(labelled, std::vector<std::string>{c.list});
  }
}

TEST_F(CardParserTest, LabelWithoutGroupOrWithoutMatchChangesNothing) {
  const ContactRecord& r =
      One("3.0", "item1.TEL:123\r\nX-ABLabel:lost\r\nitem9.X-ABLabel:nobody\r\n");
  EXPECT_EQ(DumpList(r.Phones), "123||item1.|");
  EXPECT_EQ(Logged("in CCardParser.m_setAbLabelX: X-ABLABEL without group:"), 1);
}

// --- Photos ------------------------------------------------------------------------

// Tiny payloads with real signatures: PNG, JPEG, GIF.
constexpr char kPngBase64[] = "iVBORw0KGgo=";  // 89 50 4E 47 0D 0A 1A 0A
constexpr char kJpegBase64[] = "/9j/4AAQ";      // FF D8 FF E0 00 10

TEST_F(CardParserTest, PhotoRules) {
  struct Case {
    std::string line;
    const char* ext;  // null: no photo
    const char* message;
  };
  const std::string png(kPngBase64);
  const std::string jpeg(kJpegBase64);
  const Case cases[] = {
      {"PHOTO;ENCODING=BASE64;TYPE=JPG:" + jpeg, "JPEG", nullptr},
      {"PHOTO;ENCODING=b;TYPE=\"jpeg\":" + jpeg, "JPEG", nullptr},
      {"PHOTO;ENCODING=BASE64;TIF:" + png, "TIFF", nullptr},
      {"PHOTO;ENCODING=BASE64:" + png, "PNG", nullptr},
      {"PHOTO;BASE64:" + jpeg, "JPG", nullptr},
      {"PHOTO;ENCODING=BASE64;TYPE=XYZ:AAAA", "XYZ",
       "image type(XYZ) is unsupported (by outlook)"},
      // An unknown type word yields to a recognised signature.
      {"PHOTO;ENCODING=b;TYPE=WORK:" + png, "PNG", "image type(WORK) is unsupported"},
      {"PHOTO;ENCODING=b;TYPE=image/png:" + png, "PNG", "image type(IMAGE/PNG)"},
      {"PHOTO;ENCODING=BASE64;TYPE=PNG;X-FOO=bar:" + png, "PNG",
       "Skipping unknown ParamName(X-FOO) & ParamValue(bar)"},
      {"PHOTO;ENCODING=BASE64;VALUE=BINARY;TYPE=PNG:" + png, "PNG", "Ignoring VALUE=BINARY"},
      {"PHOTO;VALUE=URL;TYPE=GIF:http://x/y.gif", nullptr, "Unsupported PHOTO by URL"},
      {"PHOTO;VALUE=uri:http://x/y.gif", nullptr, "Unsupported PHOTO by URL"},
      {"PHOTO;GIF:http://x/y.gif", nullptr, "No ENCODING param:\n"},
      {"PHOTO;ENCODING=QUOTED-PRINTABLE:abc", nullptr, "Unsupported ENCODING:QUOTED-PRINTABLE"},
      {"PHOTO;ENCODING=BASE64:", nullptr, "PHOTO: empty value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    collector_.records.clear();
    const int before = c.message ? Logged(c.message) : 0;
    const ContactRecord& r = One("3.0", c.line + "\r\n");
    if (c.ext) {
      EXPECT_FALSE(r.Photo.empty());
      EXPECT_EQ(U8(r.PhotoExt), c.ext);
    } else {
      EXPECT_TRUE(r.Photo.empty());
      EXPECT_EQ(r.PhotoSize(), 0);
    }
    if (c.message) {
      EXPECT_EQ(Logged(c.message), before + 1);
    }
  }
}

TEST_F(CardParserTest, PhotoBytesAndDuplicate) {
  const ContactRecord& r =
      One("2.1", std::string("PHOTO;ENCODING=BASE64;TYPE=PNG:") + kPngBase64 +
                     "\r\n\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:" + kJpegBase64 + "\r\n\r\n");
  ASSERT_EQ(r.PhotoSize(), 8);
  EXPECT_EQ(r.Photo[0], 0x89);
  EXPECT_EQ(r.Photo[1], 'P');
  EXPECT_EQ(U8(r.PhotoExt), "PNG");
  EXPECT_EQ(Logged("in CCardParser.m_setPhoto: skipping PHOTO duplicate"), 1);
}

// --- Unknown properties, Skype cards --------------------------------------------

TEST_F(CardParserTest, UnknownPropertiesAreReportedUnlessKnownUseless) {
  One("2.1",
      "X-FOO:1\r\nLABEL;HOME:x\r\nx-ms-ol-design:y\r\nX-SKYPE-MOOD:z\r\nX-ABADR:us\r\n"
      "AGENT:a\r\n");
  EXPECT_EQ(Logged("Skipping unknown prop("), 2);
  EXPECT_EQ(Logged("Skipping unknown prop(X-FOO)"), 1);
  EXPECT_EQ(Logged("Skipping unknown prop(AGENT)"), 1);
}

TEST_F(CardParserTest, SkypeCardNameIsSplit) {
  const ContactRecord& r =
      One("2.1", "N:Dr. John Smith Jr.\r\nFN:Dr. John Smith Jr.\r\nX-SKYPE-DISPLAYNAME:x\r\n");
  EXPECT_TRUE(r.IsSkypeCard);
  EXPECT_EQ(DumpName(r), "Dr.|John||Smith|Jr.");
  EXPECT_FALSE(r.SourceCopyable);
}

TEST_F(CardParserTest, SkypeFixNeedsALoneLastNameEqualToTheFormattedName) {
  struct Case {
    const char* lines;
    const char* name;
  };
  const Case cases[] = {
      {"N:John Smith;Jo\r\nFN:John Smith\r\nX-SKYPE-SEX:1\r\n", "|Jo||John Smith|"},
      {"N:John Smith\r\nFN:Someone else\r\nX-SKYPE-SEX:1\r\n", "|||John Smith|"},
      // X-SKYPE alone does not start with "X-SKYPE-".
      {"N:John Smith\r\nFN:John Smith\r\nX-SKYPE:js\r\n", "|||John Smith|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    collector_.records.clear();
    const ContactRecord& r = One("2.1", c.lines);
    EXPECT_EQ(DumpName(r), c.name);
    EXPECT_TRUE(r.SourceCopyable);
  }
}

// --- Options, filter, maximum, modes ---------------------------------------------

TEST_F(CardParserTest, VersionAndSourceTextOption) {
  const std::string text = Card("2.1", "FN:A\r\n") + Card("3.0", "FN:B\r\n");
  EXPECT_EQ(Load(text, CCardParser::kOptionSourceText), 0);
  ASSERT_EQ(collector_.records.size(), 2u);
  EXPECT_EQ(collector_.records[0].Version, 21);
  EXPECT_EQ(collector_.records[1].Version, 30);
  EXPECT_EQ(collector_.records[0].SourceText, Card("2.1", "FN:A\r\n"));
  EXPECT_EQ(collector_.records[1].SourceText, Card("3.0", "FN:B\r\n"));
  EXPECT_TRUE(collector_.records[0].SourceCopyable);
  EXPECT_EQ(parser_.count(), 2);

  collector_.records.clear();
  Load(text, 0);
  EXPECT_EQ(collector_.records[0].SourceText, "");
}

TEST_F(CardParserTest, RecordIsClearedBetweenItems) {
  Load(Card("3.0", "FN:A\r\nTEL:1\r\n") + Card("3.0", "FN:B\r\n"));
  ASSERT_EQ(collector_.records.size(), 2u);
  EXPECT_EQ(U8(collector_.records[1].FormattedName), "B");
  EXPECT_TRUE(collector_.records[1].Phones.empty());
  EXPECT_EQ(Logged("duplicate"), 0);
}

TEST_F(CardParserTest, Utf8ContentMakesTheSourceUncopyable) {
  Load("\xEF\xBB\xBF" + Card("2.1", "FN:A\r\n"));
  ASSERT_EQ(collector_.records.size(), 1u);
  EXPECT_FALSE(collector_.records[0].SourceCopyable);
}

TEST_F(CardParserTest, CharsetsOption) {
  const std::string body =
      "FN;CHARSET=UTF-8:a\r\nN;CHARSET=Windows-1251:b\r\nNOTE;CHARSET=utf-8:c\r\n"
      "TITLE:d\r\nROLE:e\r\nREV:20200101\r\nPHOTO;ENCODING=BASE64;CHARSET=X:" +
      std::string(kPngBase64) + "\r\n\r\n";
  EXPECT_EQ(One("2.1", body, CCardParser::kOptionCharsets).Charsets,
            "UTF-8;Windows-1251;1252");
  collector_.records.clear();
  EXPECT_EQ(One("3.0", "FN:a\r\nTEL;CHARSET=UTF-8:1\r\n", CCardParser::kOptionCharsets).Charsets,
            "utf-8");
  collector_.records.clear();
  EXPECT_EQ(One("3.0", "FN;CHARSET=ISO-8859-1:a\r\n").Charsets, "");
}

TEST_F(CardParserTest, FilterKeepsStructuralProperties) {
  FieldFilter filter;
  CCardFields::Get().BuildFieldFilter(log_.log, filter, true,
                                      std::span<const std::int32_t>(kPreviewFilterCodes));
  parser_.SetFilter(&filter);
  const ContactRecord& r = One(
      "3.0",
      "FN:A\r\nBDAY:2000-01-01\r\nPRODID:p\r\nNICKNAME:n\r\nX-AIM:aim1\r\n"
      "X-MS-TEL;TYPE=RADIO:5\r\nX-FOO:1\r\n");
  EXPECT_EQ(U8(r.FormattedName), "A");
  EXPECT_EQ(r.ProdId, "p");
  EXPECT_TRUE(IsEmptyDate(r.Birthday));
  EXPECT_EQ(U8(r.NickName), "");
  EXPECT_EQ(DumpList(r.Impps), "aim|aim|aim1|||");
  EXPECT_EQ(DumpList(r.Phones), "5|||Radio");
  EXPECT_EQ(Logged("Skipping unknown prop(X-FOO)"), 1);
}

TEST_F(CardParserTest, MaximumStopsLoading) {
  const std::string text =
      Card("3.0", "FN:1\r\n") + Card("3.0", "FN:2\r\n") + Card("3.0", "FN:3\r\n");
  parser_.SetMaximum(2);
  EXPECT_EQ(Load(text), 1);
  EXPECT_EQ(collector_.records.size(), 2u);
  EXPECT_EQ(parser_.count(), 2);
  EXPECT_FALSE(parser_.stopped_by_consumer());

  collector_.records.clear();
  parser_.SetMaximum(0);
  EXPECT_EQ(Load(text), 0);
  EXPECT_EQ(collector_.records.size(), 3u);
}

TEST_F(CardParserTest, ConsumerCanStop) {
  const std::string text =
      Card("3.0", "FN:1\r\n") + Card("3.0", "FN:2\r\n") + Card("3.0", "FN:3\r\n");
  collector_.stop_after = 1;
  EXPECT_EQ(Load(text), 1);
  EXPECT_EQ(collector_.records.size(), 1u);
  EXPECT_EQ(parser_.count(), 1);
  EXPECT_TRUE(parser_.stopped_by_consumer());
}

TEST_F(CardParserTest, CollectModeGathersTextsOnly) {
  const std::string a = Card("3.0", "FN:1\r\n");
  const std::string b = Card("2.1", "FN:2\r\n");
  const std::string c = Card("3.0", "FN:3\r\n");
  std::vector<std::string> texts;
  parser_.SetMode(CCardParser::kModeCollect);
  parser_.SetTextList(&texts);
  EXPECT_EQ(Load(a + b + c), 0);
  EXPECT_EQ(texts, (std::vector<std::string>{a, b, c}));
  EXPECT_EQ(collector_.collected.size(), 3u);
  EXPECT_TRUE(collector_.records.empty());

  texts.clear();
  collector_.collected.clear();
  parser_.SetMaximum(2);
  EXPECT_EQ(Load(a + b + c), 1);
  EXPECT_EQ(texts, (std::vector<std::string>{a, b}));

  texts.clear();
  parser_.SetMaximum(0);
  collector_.stop_after = 1;
  collector_.collected.clear();
  EXPECT_EQ(Load(a + b + c), 1);
  EXPECT_EQ(texts, (std::vector<std::string>{a}));
  EXPECT_TRUE(parser_.stopped_by_consumer());
}

TEST_F(CardParserTest, OtherModesOnlyTrace) {
  test::CapturedLog detail(loglDetail);
  CCardParser parser(detail.log);
  parser.SetConsumer(&collector_);
  parser.SetMode(7);
  const std::string text = Card("3.0", "FN:1\r\n") + Card("3.0", "FN:2\r\n");
  EXPECT_EQ(parser.LoadMemory(text.data(), static_cast<std::int32_t>(text.size())), 0);
  EXPECT_TRUE(collector_.records.empty());
  EXPECT_TRUE(collector_.collected.empty());
  EXPECT_EQ(detail.Count("in CCardParser.OnCardLoaded: mode 7"), 2);

  std::vector<std::string> texts{"kept"};
  parser.m_docCard_Sort(parser.document(), 7, 0, texts);
  EXPECT_EQ(texts, std::vector<std::string>{"kept"});
  EXPECT_EQ(detail.Count("in CCardParser.m_docCard_Sort: "), 1);
}

TEST_F(CardParserTest, SortByRevisionNewestFirst) {
  const std::string a = Card("3.0", "FN:a\r\nREV:2020-01-01T00:00:00Z\r\n");
  const std::string b = Card("3.0", "FN:b\r\n");
  const std::string c = Card("3.0", "FN:c\r\nREV:20230101T000000Z\r\n");
  const std::string d = Card("3.0", "FN:d\r\nREV:2021-06-01\r\n");
  CCardDoc& doc = parser_.document();
  ASSERT_EQ(doc.LoadFromString((a + b + c + d).c_str()), 0);

  std::vector<std::string> texts{"old"};
  parser_.m_docCard_Sort(doc, CCardParser::kModeConvert, 0, texts);
  EXPECT_EQ(texts, std::vector<std::string>{"old"});

  parser_.m_docCard_Sort(doc, CCardParser::kModeCollect, 0, texts);
  EXPECT_EQ(texts, (std::vector<std::string>{c, d, a, b}));

  parser_.m_docCard_Sort(doc, CCardParser::kModeCollect, 3, texts);
  EXPECT_EQ(texts, (std::vector<std::string>{c, a, b}));

  parser_.m_docCard_Sort(doc, CCardParser::kModeCollect, 9, texts);
  EXPECT_EQ(texts.size(), 4u);

  ASSERT_EQ(doc.LoadFromString(a.c_str()), 0);
  texts = {"kept"};
  parser_.m_docCard_Sort(doc, CCardParser::kModeCollect, 0, texts);
  EXPECT_EQ(texts, std::vector<std::string>{"kept"});
}

TEST_F(CardParserTest, ParseItemWithoutDelivery) {
  CCardDoc& doc = parser_.document();
  const std::string text = Card("3.0", "FN:Solo\r\n");
  ASSERT_EQ(doc.LoadFromString(text.c_str()), 0);
  const ContactRecord& r = parser_.ParseItem(*doc.GetItem(0));
  EXPECT_EQ(U8(r.FormattedName), "Solo");
  EXPECT_EQ(parser_.count(), 0);
}

// --- Real files ---------------------------------------------------------------------

std::vector<std::filesystem::path> CorpusCards() {
  std::vector<std::filesystem::path> files;
  for (const char* folder : {"vcard21", "vcard30", "vcard40", "vcard-malformed"}) {
    const auto dir = test::CorpusDir() / folder;
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (entry.path().extension() == ".vcf") files.push_back(entry.path());
    }
  }
  return files;
}

TEST_F(CardParserTest, EveryCorpusFileParses) {
  const auto files = CorpusCards();
  ASSERT_GT(files.size(), 80u);
  int records = 0;
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    collector_.records.clear();
    collector_.item_texts.clear();
    parser_.SetConsumer(&collector_);
    parser_.SetOptions(CCardParser::kOptionSourceText | CCardParser::kOptionCharsets);
    const HRESULT result = parser_.LoadFile(file);
    EXPECT_TRUE(result == 0 || result == 1 || result == -1) << result;
    EXPECT_EQ(static_cast<int>(collector_.records.size()), parser_.count());
    EXPECT_EQ(parser_.count(), parser_.document().GetItemCount());
    for (std::size_t i = 0; i < collector_.records.size(); ++i) {
      EXPECT_EQ(collector_.records[i].SourceText, collector_.item_texts[i]);
    }
    records += parser_.count();
  }
  EXPECT_GT(records, 100);
}

TEST_F(CardParserTest, GmailExportFieldByField) {
  parser_.SetConsumer(&collector_);
  ASSERT_EQ(parser_.LoadFile(test::CorpusDir() / "vcard30/ezvcard_gmail-single2.vcf"), 0);
  ASSERT_EQ(collector_.records.size(), 1u);
  const ContactRecord& r = collector_.records[0];
  EXPECT_EQ(r.Version, 30);
  EXPECT_EQ(DumpName(r), "|VCard||Test|");
  EXPECT_EQ(U8(r.NickName), "TheNickname");
  EXPECT_EQ(r.Emails.size(), 5u);
  EXPECT_EQ(test::DumpItem(r.Emails[4]),
            "customcategory@example.com|INTERNET|SMTP|item1.|CustomEmailCategory");
  EXPECT_EQ(DumpList(r.Impps),
            "googletalk|xmpp|IM2|||; aim|aim|IM3|||; yahoo|ymsgr|IM4|||; skype|skype|IM5|||; "
            "qq|x-apple|IM6|||; msn|msnim|IM7|||; icq|aim|IM8|||; jabber|xmpp|IM9|||");
  EXPECT_FALSE(r.SourceCopyable);  // X-SKYPE in 3.0
  ASSERT_GE(r.Phones.size(), 11u);
  EXPECT_EQ(test::DumpItem(r.Phones[8]), "5555551119||item2.|GRAND_CENTRAL");
  EXPECT_EQ(r.PhoneCategories()[8], phcGoogleVoice);
  EXPECT_EQ(test::DumpItem(r.Addresses[4]),
            "||115 Main St|NY|New York|10011|||item4.|CustomAddressCategory");
  ASSERT_EQ(r.Urls.size(), 6u);
  EXPECT_EQ(r.Urls[3].Group, "item7.");
  EXPECT_EQ(U8(r.Urls[3].ABLabel), "_$!<HomePage>!$_");
  EXPECT_EQ(test::DumpDate(r.Birthday), "1912-06-23");
  EXPECT_EQ(test::DumpDate(r.Anniversary()), "1930-03-20");
  EXPECT_EQ(U8(r.RelatedNameSlot(rnsSpouse)), "Name2");
  EXPECT_EQ(U8(r.RelatedNameSlot(rnsManager)), "Name11");
  EXPECT_EQ(test::DumpItem(r.RelatedNames[9]), "Name10|0|RELATIVE||item19.");
}

TEST_F(CardParserTest, OutlookExportFieldByField) {
  parser_.SetConsumer(&collector_);
  ASSERT_EQ(
      parser_.LoadFile(test::CorpusDir() / "vcard21/ezvcard_John_Doe_MS_OUTLOOK.vcf"), 0);
  ASSERT_EQ(collector_.records.size(), 1u);
  const ContactRecord& r = collector_.records[0];
  EXPECT_EQ(r.Version, 21);
  EXPECT_EQ(DumpName(r), "Mr.|John|Richter,James|Doe|Sr.");
  EXPECT_EQ(U8(r.CompanyName), "IBM");
  EXPECT_EQ(U8(r.Department), "Accounting");
  EXPECT_EQ(r.SelectedMailingAddress, vlmcaBusiness);
  EXPECT_EQ(U8(r.AddressByKind(vlmcaBusiness)->City), "Albaney");
  EXPECT_EQ(DumpList(r.Emails), "john.doe@ibm.cm|PREF,INTERNET|SMTP||");
  EXPECT_EQ(DumpList(r.Impps), "IM Address|x-apple|johny5@aol.com|||");
  EXPECT_EQ(test::DumpDate(r.Anniversary()), "2011-01-13");
  EXPECT_EQ(U8(r.RelatedNameSlot(rnsManager)), "Big Blue");
  EXPECT_EQ(U8(r.RelatedNameSlot(rnsAssistant)), "Jenny");
  EXPECT_GT(r.PhotoSize(), 0);
  EXPECT_EQ(U8(r.PhotoExt), "JPEG");
  EXPECT_EQ(Logged("Skipping unknown prop("), 0);
}

}  // namespace
}  // namespace velmora
