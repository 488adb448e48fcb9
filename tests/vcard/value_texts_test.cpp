// The vCard value helpers over tests/vcard/data/value_texts.txt:
// splitting, unescaping and the two decodings.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_file.h"
#include "vcard/base64.h"
#include "vcard/multi_value.h"
#include "vcard/quoted_printable.h"
#include "vcard/value_unescape.h"
#include "vcard_test_support.h"

namespace velmora::vcard {
namespace {

std::u16string Joined(const std::vector<std::u16string>& list) {
  std::u16string out;
  for (std::size_t i = 0; i < list.size(); ++i) out += (i ? u"|" : u"") + list[i];
  return out;
}

TEST(ValueTexts, Cases) {
  std::string out = "stale";
  for (const test::FileCase& c : test::ReadCases("vcard/data/value_texts.txt")) {
    SCOPED_TRACE(c.name);
    if (c.Has("split")) {
      test::CapturedLog captured;
      std::vector<std::u16string> list{u"stale"};
      SplitMultiValue(captured.log, test::U16(c["split"]), c.Has("commas"), c.Number("at least"),
                      list);
      EXPECT_EQ(test::U8(Joined(list)), c["expect"]);
      EXPECT_EQ(captured.Count("unexpected escaped sequence"), c.Number("problems"));
      continue;
    }
    if (c.Has("unescape")) {
      const std::string& raw = c["unescape"];
      const bool version30 = c["version"] == "30";
      UnfoldAndUnescape(raw, version30, c.Has("semicolons"), c.Has("commas"), out);
      // A value the helpers change is one they say needs it.
      if (out != raw) {
        EXPECT_TRUE(ValueNeedsUnescape(raw, version30));
      }
    } else if (c.Has("quoted-printable")) {
      DecodeQuotedPrintable(c["quoted-printable"], out);
    } else if (c.Has("quoted-printable extent")) {
      const std::string& text = c["quoted-printable extent"];
      const char* cursor = nullptr;
      const char* end = QuotedPrintableExtent(text.c_str(), text.c_str() + text.size(), &cursor);
      out = std::to_string(end - text.c_str()) + " " + std::to_string(cursor - text.c_str());
    } else if (c.Has("encode quoted-printable")) {
      out = "kept:";  // appended to
      EncodeQuotedPrintable(c["encode quoted-printable"], out);
      EXPECT_TRUE(out.starts_with("kept:"));
      out.erase(0, 5);
    } else if (c.Has("encode base64")) {
      const std::string& bytes = c["encode base64"];
      out.clear();
      EXPECT_TRUE(Base64Encode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                               76, "\r\n ", out));
    } else {
      const std::string& source = c["base64"];
      out.assign(source.size(), '\0');
      std::int32_t size = static_cast<std::int32_t>(out.size());
      EXPECT_TRUE(Base64Decode(source.data(), static_cast<std::int32_t>(source.size()),
                               reinterpret_cast<std::uint8_t*>(out.data()), &size));
      out.resize(static_cast<std::size_t>(size));
    }
    EXPECT_EQ(out, c["expect"]);
  }
  EXPECT_FALSE(ValueNeedsUnescape("plain text; with, marks", true));
  EXPECT_FALSE(ValueNeedsUnescape("a\\b", false));
}

}  // namespace
}  // namespace velmora::vcard
