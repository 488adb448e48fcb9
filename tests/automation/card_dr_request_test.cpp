// Duplicate resolution through ICardConverter::DR: client cards as a
// collection or as bytes, server cards with tags, the two results and every
// argument check.
#include <cstring>
#include <map>

#include "automation/automation_test_support.h"
#include "support/case_file.h"

namespace velmora::test {
namespace {

constexpr char kOld[] = "20190101T000000Z";
constexpr char kNew[] = "20200101T000000Z";

struct Result {
  HRESULT status = 0;
  std::shared_ptr<ICards> add, overwrite;
  std::int32_t duplicates = -1;
};

Result RunDR(ICardConverter& converter, const Variant& client, const Variant& server,
             const Variant& tags, EDRMethod method = drmNewest) {
  Result r;
  r.status = converter.DR(client, server, tags, method, &r.add, &r.overwrite, &r.duplicates);
  return r;
}

// "FN@REV-year#tag" of each card, joined by "; ".
std::string Summary(const std::shared_ptr<ICards>& cards) {
  std::string out;
  for (std::int32_t i = 0; i < Count(cards); ++i) {
    std::vector<std::uint8_t> bytes;
    std::u16string tag;
    EXPECT_EQ(cards->Item(i, &bytes), S_OK);
    EXPECT_EQ(cards->Tag(i, &tag), S_OK);
    const std::string text = Text(bytes);
    const std::size_t fn = text.find("FN:") + 3, rev = text.find("REV:");
    out += (i ? "; " : "") + text.substr(fn, text.find("\r\n", fn) - fn) + "@" +
           (rev == std::string::npos ? "" : text.substr(rev + 4, 4)) + "#" + U8(tag);
    if (text.find("NOTE:client") != std::string::npos) out += " (client note)";
  }
  return out;
}

// "Given Family@year (client note), ..." as cards.
std::string Cards(const std::string& list) {
  std::string out;
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = std::min(list.find(", ", start), list.size());
    std::string card = list.substr(start, end - start);
    start = end + 2;
    const bool note = card.ends_with(" (client note)");
    if (note) card.resize(card.size() - std::strlen(" (client note)"));
    const std::size_t space = card.find(' '), at = card.find('@');
    out += Card(card.substr(space + 1, at - space - 1), card.substr(0, space),
                card.substr(at + 1) + "0101T000000Z", note ? "NOTE:client\r\n" : "");
  }
  return out;
}

// The cases of tests/automation/data/dr_requests.txt.
TEST(DR, ResolutionTable) {
  const std::map<std::string, EDRMethod> methods = {{"newest", drmNewest},
                                                    {"keep original", drmKeepOriginal}};
  auto converter = NewConverter();
  for (const FileCase& c : ReadCases("automation/data/dr_requests.txt")) {
    SCOPED_TRACE(c.name);
    const Result r =
        RunDR(*converter, Variant(Bytes(Cards(c["client"]))), Variant(Bytes(Cards(c["server"]))),
              c.Has("tags") ? VariantOf(c["tags"]) : Variant(), methods.at(c["method"]));
    ASSERT_EQ(r.status, S_OK);
    // An empty result is no collection at all.
    EXPECT_EQ(r.add != nullptr, c.Has("add"));
    EXPECT_EQ(r.overwrite != nullptr, c.Has("overwrite"));
    EXPECT_EQ(Summary(r.add), c.Has("add") ? c["add"] : "");
    EXPECT_EQ(Summary(r.overwrite), c.Has("overwrite") ? c["overwrite"] : "");
    EXPECT_EQ(r.duplicates, c.Number("duplicates"));
    std::u16string tag;
    EXPECT_TRUE(!r.overwrite || r.overwrite->Tag(1, &tag) == E_INVALIDARG);
  }
}

TEST(DR, ClientCardsAsACollection) {
  auto converter = NewConverter();
  const auto client = LoadText(*converter, Card("Doe", "John", kOld) + Card("Doe", "John", kNew) +
                                               Card("Roe", "Jane", kOld));
  for (EDRMethod method : {drmNewest, drmKeepOriginal}) {
    const Result r = RunDR(*converter, Variant(client), Variant(), Variant(), method);
    ASSERT_EQ(r.status, S_OK);
    // The newer Doe, in client order, without tags.
    EXPECT_EQ(Summary(r.add), "John Doe@2020#; Jane Roe@2019#") << method;
    EXPECT_EQ(r.duplicates, 1);
  }
}

// A collection the library did not make.
class ForeignCards : public ICards {
 public:
  HRESULT get_Count(std::int32_t*) override { return S_OK; }
  HRESULT Item(std::int32_t, std::vector<std::uint8_t>*) override { return S_OK; }
  HRESULT ItemPreview(std::int32_t, std::shared_ptr<ICardPreview>*) override { return S_OK; }
  HRESULT ItemContact(std::int32_t, std::shared_ptr<ICardContact>*) override { return S_OK; }
  HRESULT Tag(std::int32_t, std::u16string*) override { return S_OK; }
  HRESULT GetAllItems(std::vector<std::uint8_t>*) override { return S_OK; }
};

// The rows of tests/automation/data/dr_arguments.txt.
TEST(DR, ArgumentsAreCheckedInOrder) {
  for (const FileCase& c : ReadCases("automation/data/dr_arguments.txt")) {
    SCOPED_TRACE(c.name);
    const auto arg = [&](const char* key) {
      if (!c.Has(key)) return Variant();
      if (c[key] == "card") return Variant(Bytes(Card("Doe", "John", kNew)));
      if (c[key] == "foreign") return Variant(std::make_shared<ForeignCards>());
      return VariantOf(c[key]);
    };
    const std::string product = "DRArgs" + c.name;
    auto converter = NewConverter(U16(product), u"dr");
    RecordingProgress progress;
    Result r;
    const std::string no = c.Has("no") ? c["no"] : "";
    r.status = converter->DR(arg("client"), arg("server"), arg("tags"),
                             c.Has("method") ? drmNone : drmNewest, no == "add" ? nullptr : &r.add,
                             no == "overwrite" ? nullptr : &r.overwrite, &r.duplicates,
                             c.Has("progress") ? &progress : nullptr);
    EXPECT_EQ(r.status, StatusNamed(c["status"]));
    if (r.status == S_OK) r.add.reset();
    // Every output is reset before the arguments are checked.
    EXPECT_FALSE(r.add || r.overwrite);
    EXPECT_EQ(r.duplicates, 0);
    ExpectLogged(product, "dr", {"in CComCardConverter.DR: " + c["message"]});
  }
}

}  // namespace
}  // namespace velmora::test
