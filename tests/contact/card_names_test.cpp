#include "contact/card_names.h"

#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora {
namespace {

using test::U8;

// "Title|First|Middle|Last|Suffix".
std::string Dump(const NameParts& parts) {
  return U8(parts.Title) + "|" + U8(parts.FirstName) + "|" + U8(parts.MiddleName) + "|" +
         U8(parts.LastName) + "|" + U8(parts.Suffix);
}

TEST(CardNamesTest, SplitFormattedName) {
  const struct {
    const char16_t* formatted;
    const char* expected;
  } cases[] = {
      {u"Dr. John Fitzgerald Smith Jr.", "Dr.|John|Fitzgerald|Smith|Jr."},
      {u"John Smith", "|John||Smith|"},
      {u"John Ronald Reuel Tolkien", "|John|Ronald Reuel|Tolkien|"},
      {u"  mrs\tAnn \r\n Lee  ", "mrs|Ann||Lee|"},
      {u"Prof Ada", "Prof|Ada|||"},
      {u"Cher", "|Cher|||"},  // one word is the given name
      {u"Henry VIII", "|Henry||VIII|"},
      {u"Louis III", "|Louis|||III"},
      {u"Sammy Davis Jr. II", "|Sammy||Davis|Jr. II"},
      {u"Sr. Anna", "|Anna|||Sr."},     // a suffix word is a suffix anywhere
      {u"Mr Mr Bean", "Mr|Mr||Bean|"},  // only the first word is a title
      {u"Dr.", "Dr.||||"},
      {u"", "||||"},
      {u" \t ", "||||"},
      {u"Miss Ms. X", "Miss|Ms.||X|"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dump(SplitFormattedName(c.formatted)), c.expected) << U8(c.formatted);
  }
}

TEST(CardNamesTest, FullName) {
  const struct {
    NameParts parts;
    const char16_t* formatted;
    const char16_t* expected;
  } cases[] = {
      {{u"", u"Ann", u"", u"Lee", u""}, u"FN", u"Ann Lee"},
      {{u"Dr.", u"Ann", u"B.", u"Lee", u"Jr."}, u"", u"Dr. Ann B. Lee Jr."},
      {{u"", u"", u"", u"Lee", u""}, u"", u"Lee"},
      {{u"", u"", u"", u"", u""}, u"  Formatted Name ", u"Formatted Name"},
      {{u"", u"", u"", u"", u""}, u"", u""},
      {{u" ", u"Ann", u"", u"", u""}, u"", u"Ann"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposeFullName(c.parts, c.formatted), c.expected) << U8(c.expected);
  }
  ContactRecord record;
  record.FirstName = u"Ann";
  record.LastName = u"Lee";
  EXPECT_EQ(ComposeFullName(record), u"Ann Lee");
}

TEST(CardNamesTest, FileAsName) {
  const struct {
    const char* what;
    NameParts parts;
    const char16_t* formatted;
    const char16_t* company;
    const char16_t* expected;
  } cases[] = {
      {"last, first", {u"", u"Ann", u"", u"Lee", u""}, u"", u"Co", u"Lee, Ann"},
      {"last, first middle", {u"Dr.", u"Ann", u"B", u"Lee", u"Jr."}, u"", u"", u"Lee, Ann B"},
      {"last middle", {u"", u"", u"B", u"Lee", u""}, u"", u"", u"Lee B"},
      {"last only", {u"", u"", u"", u"Lee", u""}, u"X", u"Co", u"Lee"},
      {"first middle", {u"", u"Ann", u"B", u"", u""}, u"", u"", u"Ann B"},
      {"first", {u"Ms", u"Ann", u"", u"", u""}, u"", u"", u"Ann"},
      {"middle", {u"", u"", u"B", u"", u"Jr."}, u"", u"", u"B"},
      {"suffix", {u"Dr.", u"", u"", u"", u"Jr."}, u"FN", u"Co", u"Jr."},
      {"formatted name split",
       {u"", u"", u"", u"", u""},
       u"Dr. John Q Smith Jr.",
       u"Co",
       u"Smith, John Q"},
      {"formatted single word", {u"", u"", u"", u"", u""}, u"Cher", u"Co", u"Cher"},
      {"title alone counts as nothing", {u"Dr.", u"", u"", u"", u""}, u"", u"Co", u"Co"},
      {"formatted title only falls to company", {}, u"Prof.", u"Co", u"Co"},
      {"company", {}, u"", u"Acme", u"Acme"},
      {"nothing", {}, u"", u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposeFileAsName(c.parts, c.formatted, c.company), c.expected) << c.what;
  }
}

TEST(CardNamesTest, RecordWithOnlyAFormattedName) {
  ContactRecord record;
  record.FormattedName = u"Dr. Jane Maria Doe Jr.";
  const NameParts parts = SplitFormattedName(record.FormattedName);
  EXPECT_EQ(parts.Title, u"Dr.");
  EXPECT_EQ(parts.Suffix, u"Jr.");
  EXPECT_EQ(ComposeFileAsName(record), u"Doe, Jane Maria");
  EXPECT_EQ(ComposeFullName(record), u"Dr. Jane Maria Doe Jr.");
  record.FirstName = u"Jane";
  record.LastName = u"Doe";
  EXPECT_EQ(ComposeFileAsName(record), u"Doe, Jane");
  EXPECT_EQ(ComposeFullName(record), u"Jane Doe");
}

}  // namespace
}  // namespace velmora
