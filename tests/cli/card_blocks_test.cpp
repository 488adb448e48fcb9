// Where a vCard text may be cut into blocks. A wrong cut splits a card
// between two conversions, and the output of a file converted whole hides
// most of them, so the places are checked here one by one.
#include "card_blocks.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_test_fixture.h"

namespace velmora::cli {
namespace {

using clitest::Card;

// The places a block may end, found as the text grows byte by byte.
std::set<std::size_t> Cuts(const std::string& text) {
  CardBoundaryScanner scanner;
  std::set<std::size_t> cuts;
  for (std::size_t size = 1; size <= text.size(); ++size) {
    scanner.Feed(std::string_view(text).substr(0, size), size == text.size());
    if (scanner.last_cut() != 0) cuts.insert(scanner.last_cut());
  }
  return cuts;
}

TEST(CardBoundaryScanner, CutsOnlyBetweenWholeCards) {
  const std::string a = Card("FN:Anna\r\n"), b = Card("FN:Bert\r\n");
  const struct {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<bool> cut_before;  // before each piece after the first
  } kCases[] = {
      {"plain", {a, b, a}, {true, true}},
      {"blank lines between", {a, "\r\n \r\n", b}, {false, true}},
      {"other text between", {a, "not a card\r\n", b}, {false, false}},
      {"lower case, line feeds", {"begin:vcard\nversion:2.1\nend:vcard\n", b}, {true}},
      {"END after a soft break",
       {Card("NOTE;ENCODING=QUOTED-PRINTABLE:x=\r\n"), b, a},
       {false, true}},
      {"folded END, then the real one",
       {"BEGIN:VCARD\r\nNOTE:x\r\nEND:VCARD\r\n y\r\nEND:VCARD\r\n", b},
       {true}},
      {"card cut off", {"BEGIN:VCARD\r\nFN:Cut\r\n", b, a}, {false, true}},
      {"AGENT card inside",
       {"BEGIN:VCARD\r\nAGENT:\r\n", a, "END:VCARD\r\n", b},
       {false, false, true}},
      {"AGENT with a value", {"BEGIN:VCARD\r\nAGENT:x\r\n", a, b}, {false, true}},
  };
  for (const auto& c : kCases) {
    std::string text = c.pieces[0];
    std::set<std::size_t> expected;
    for (std::size_t i = 1; i < c.pieces.size(); ++i) {
      if (c.cut_before[i - 1]) expected.insert(text.size());
      text += c.pieces[i];
    }
    EXPECT_EQ(Cuts(text), expected) << c.name;
  }
}

}  // namespace
}  // namespace velmora::cli
