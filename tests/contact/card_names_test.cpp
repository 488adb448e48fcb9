#include "contact/card_names.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "support/log_capture.h"
#include "support/record_dump.h"

namespace velmora::contact {
namespace {

using test::U8;

// "Title|First|Middle|Last|Suffix".
std::string Dump(const NameParts& parts) {
  return U8(parts.Title) + "|" + U8(parts.FirstName) + "|" + U8(parts.MiddleName) + "|" +
         U8(parts.LastName) + "|" + U8(parts.Suffix);
}

TEST(CardNamesTest, Cases) {
  for (const test::FileCase& c : test::ReadCases("contact/data/names.txt")) {
    SCOPED_TRACE(c.name);
    NameParts parts;
    if (c.Has("parts")) {
      std::u16string* fields[] = {&parts.Title, &parts.FirstName, &parts.MiddleName,
                                  &parts.LastName, &parts.Suffix};
      std::string_view text = c["parts"];
      for (std::u16string* field : fields) {
        *field = test::U16(text.substr(0, text.find('|')));
        text.remove_prefix(std::min(text.size(), text.find('|') + 1));
      }
      EXPECT_EQ(Dump(parts), c["parts"]);
    }
    const std::u16string formatted = test::U16(c["formatted"]);
    if (c.Has("split")) {
      EXPECT_EQ(Dump(SplitFormattedName(formatted)), c["split"]);
    }
    if (c.Has("full")) {
      EXPECT_EQ(U8(ComposeFullName(parts, formatted)), c["full"]);
    }
    if (c.Has("file as")) {
      EXPECT_EQ(U8(ComposeFileAsName(parts, formatted, test::U16(c["company"]))), c["file as"]);
    }
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
}  // namespace velmora::contact
