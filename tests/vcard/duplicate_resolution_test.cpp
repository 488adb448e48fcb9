#include "vcard/duplicate_resolution.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "support/log_capture.h"
#include "support/test_env.h"

namespace velmora::vcard {
namespace {

// "Name@REV" makes a card: Name becomes N (family;given) unless it starts
// with "org:" (ORG only) or is empty; REV is a year, or nothing for no REV.
std::string Cards(const std::vector<std::string>& cards) {
  std::string out;
  for (std::string_view card : cards) {
    const std::size_t at = card.find('@');
    const std::string_view name = card.substr(0, at);
    const std::string_view year = at == std::string_view::npos ? "" : card.substr(at + 1);
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    if (name.starts_with("org:")) {
      out += "ORG:" + std::string(name.substr(4)) + ";Sales\r\n";
    } else if (!name.empty()) {
      const std::size_t space = name.find(' ');
      out += "N:" + std::string(name.substr(space + 1)) + ";" + std::string(name.substr(0, space)) +
             ";;;\r\n";
    }
    if (!year.empty()) out += "REV:" + std::string(year) + "-06-01T12:00:00Z\r\n";
    out += "END:VCARD\r\n";
  }
  return out;
}

std::string Actions(const std::vector<DRItem>& items) {
  std::string out;
  for (const DRItem& item : items) {
    if (!out.empty()) out += ' ';
    out += DRActionName(item.action);
  }
  return out;
}

// "a, b, c" as its items.
std::vector<std::string> Items(const std::string& list) {
  std::vector<std::string> items;
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = std::min(list.find(", ", start), list.size());
    items.push_back(list.substr(start, end - start));
    start = end + 2;
  }
  return items;
}

TEST(CardDRTest, ResolvesChainsByMethod) {
  const std::map<std::string, EDRMethod> methods = {
      {"newest", drmNewest}, {"keep original", drmKeepOriginal}, {"none", drmNone}};
  for (const test::FileCase& c : test::ReadCases("vcard/data/dr_chains.txt")) {
    SCOPED_TRACE(c.name);
    CLog log;
    CCardDoc server_doc(log), client_doc(log);
    std::vector<DRItem> server, client;
    const bool has_server = c.Has("server");
    if (has_server) {
      ASSERT_EQ(ParseDRPropsFromString(log, server_doc, Cards(Items(c["server"])), server), S_OK);
    }
    ASSERT_EQ(ParseDRPropsFromString(log, client_doc, Cards(Items(c["client"])), client), S_OK);
    CCardDR dr(log);
    EXPECT_EQ(dr.Run(has_server ? &server : nullptr, client, methods.at(c["method"])), S_OK);
    EXPECT_EQ(Actions(server), has_server ? c["server actions"] : "");
    EXPECT_EQ(Actions(client), c["client actions"]);
    for (const DRItem& s : server) {
      if (s.action == DRAction::kOverwrite) {
        ASSERT_NE(s.match, nullptr);
        EXPECT_EQ(s.match->action, DRAction::kOverwriteSource);
      }
    }
  }
}

TEST(CardDRTest, KeysComeFromNThenFnThenOrg) {
  CLog log;
  CCardDoc doc(log);
  std::vector<DRItem> items;
  ASSERT_EQ(
      ParseDRPropsFromString(log, doc,
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nN: Public ;John;Q;Dr;Jr\r\n"
                             "FN:Ignored\r\nORG:Acme;Dept\r\nUID:u-1\r\n"
                             "REV:20200102T030405Z\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Smith;John\r\n"
                             "FN:John Smith\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nORG:Acme\r\nEND:VCARD\r\n",
                             items),
      S_OK);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].Key() + u"|" + items[0].org_key + u"|" + items[0].uid,
            u"F:Dr John Q Public Jr|Acme|u-1");
  EXPECT_GT(items[0].rev, 43832.0);
  // Two N components: the name is invalid and FN takes its place.
  EXPECT_EQ(items[1].Key(), u"F:John Smith");
  EXPECT_EQ(items[1].rev, 0.0);
  EXPECT_EQ(items[2].Key(), u"C:Acme");
  EXPECT_EQ(items[2].position, 2);
}

TEST(CardDRTest, ProgressCanStopTheRun) {
  CLog log;
  CCardDoc doc(log);
  std::vector<DRItem> client;
  ASSERT_EQ(ParseDRPropsFromString(log, doc, Cards({"A B@2020", "A B@2021", "A B@2022"}), client),
            S_OK);
  CCardDR dr(log);
  int calls = 0;
  EXPECT_EQ(dr.Run(nullptr, client, drmNewest, [&](int, int) { return ++calls < 2; }), S_FALSE);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ParseDRPropsFromString(log, doc, "not a card", client), -1);
}

TEST(CardDRTest, ReportsChainsAtInformationLevel) {
  test::CapturedLog captured(loglInfo);
  CLog& log = captured.log;
  CCardDoc server_doc(log), client_doc(log);
  std::vector<DRItem> server, client;
  ASSERT_EQ(ParseDRPropsFromString(log, server_doc, Cards({"John Smith@2019", "@2019"}), server),
            S_OK);
  ASSERT_EQ(
      ParseDRPropsFromString(log, client_doc, Cards({"John Smith@2020", "Ann Lee@2018"}), client),
      S_OK);
  CCardDR dr(log);
  ASSERT_EQ(dr.Run(&server, client, drmNewest), S_OK);
  EXPECT_EQ(dr.stats().overwrites, 1);
  EXPECT_EQ(dr.stats().server_without_key, 1);
  // REV 12:00 UTC reads as 14:00 in Berlin summer time.
  EXPECT_TRUE(
      captured.Has("in CCardDR::Run: REPORT(Newest): \n"
                   "\tKEY = \"F:Ann Lee\"\n"
                   "\t\t\t\tClientContact: REV = 2018.06.01 14:00:00; ACTION = ADD\n"
                   "\tKEY = \"F:John Smith\"\n"
                   "\t\t\t\tClientContact: REV = 2020.06.01 14:00:00; ACTION = OVERWRITE_SOURCE\n"
                   "\t\t\t\tServerContact: REV = 2019.06.01 14:00:00; ACTION = OVERWRITE\n"
                   "\tServerContacts with empty KEY = 1\n"
                   "\tClientContacts with empty KEY = 0\n"))
      << captured.Text();
}

}  // namespace
}  // namespace velmora::vcard
