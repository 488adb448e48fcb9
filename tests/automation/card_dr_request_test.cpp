// Duplicate resolution through ICardConverter::DR: client cards as a
// collection or as bytes, server cards with tags, the two results and every
// argument check.
#include <functional>

#include "automation/automation_test_support.h"

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

std::vector<std::string> Items(const std::shared_ptr<ICards>& cards) {
  std::vector<std::string> items;
  if (!cards) return items;
  std::int32_t count = 0;
  cards->get_Count(&count);
  for (std::int32_t i = 0; i < count; ++i) {
    std::vector<std::uint8_t> bytes;
    cards->Item(i, &bytes);
    items.push_back(Text(bytes));
  }
  return items;
}

std::u16string TagOf(const std::shared_ptr<ICards>& cards, int index) {
  std::u16string tag;
  EXPECT_EQ(cards->Tag(index, &tag), S_OK);
  return tag;
}

TEST(DR, NewerClientOverwritesTheServerCard) {
  auto converter = NewConverter();
  const std::string client = Card("Smith", "John", kNew, "NOTE:client\r\n");
  const std::string server = Card("Smith", "John", kOld) + Card("Other", "Ann", kOld);
  const Result r = RunDR(*converter, Variant(Bytes(client)), Variant(Bytes(server)),
                         Variant(std::vector<std::u16string>{u"srv-1", u"srv-2"}));
  ASSERT_EQ(r.status, S_OK);
  EXPECT_FALSE(r.add);
  ASSERT_EQ(Items(r.overwrite).size(), 1u);
  EXPECT_NE(Items(r.overwrite)[0].find("NOTE:client"), std::string::npos);
  EXPECT_EQ(TagOf(r.overwrite, 0), u"srv-1");
  EXPECT_EQ(r.duplicates, 0);
  std::u16string tag;
  EXPECT_EQ(r.overwrite->Tag(1, &tag), E_INVALIDARG);
}

TEST(DR, OlderClientIsDroppedAndNewCardsAdded) {
  auto converter = NewConverter();
  const std::string client = Card("Smith", "John", kOld) + Card("New", "Nina", kOld);
  const std::string server = Card("SMITH", "JOHN", kNew);
  const Result r = RunDR(*converter, Variant(Bytes(client)), Variant(Bytes(server)), Variant());
  ASSERT_EQ(r.status, S_OK);
  ASSERT_EQ(Items(r.add).size(), 1u);
  EXPECT_NE(Items(r.add)[0].find("Nina"), std::string::npos);
  EXPECT_FALSE(r.overwrite);
  EXPECT_EQ(r.duplicates, 1);
}

TEST(DR, EqualRevisionsKeepTheServerCard) {
  auto converter = NewConverter();
  const Result r = RunDR(*converter, Variant(Bytes(Card("Smith", "John", kOld))),
                         Variant(Bytes(Card("Smith", "John", kOld))), Variant());
  ASSERT_EQ(r.status, S_OK);
  EXPECT_FALSE(r.add);
  EXPECT_FALSE(r.overwrite);
  EXPECT_EQ(r.duplicates, 1);
}

TEST(DR, ClientCardsAsACollection) {
  auto converter = NewConverter();
  std::shared_ptr<ICards> client;
  ASSERT_EQ(converter->LoadMemory(Bytes(Card("Doe", "John", kOld) + Card("Doe", "John", kNew) +
                                        Card("Roe", "Jane", kOld)),
                                  0, nullptr, &client),
            S_OK);
  for (EDRMethod method : {drmNewest, drmKeepOriginal}) {
    const Result r = RunDR(*converter, Variant(client), Variant(), Variant(), method);
    ASSERT_EQ(r.status, S_OK);
    const auto added = Items(r.add);
    ASSERT_EQ(added.size(), 2u) << method;
    EXPECT_NE(added[0].find(kNew), std::string::npos);  // the newer Doe, in client order
    EXPECT_NE(added[1].find("Roe"), std::string::npos);
    EXPECT_EQ(r.duplicates, 1);
    std::u16string tag = u"x";
    ASSERT_EQ(r.add->Tag(0, &tag), S_OK);
    EXPECT_EQ(tag, u"");
  }
}

TEST(DR, KeepOriginalKeepsEveryServerCard) {
  auto converter = NewConverter();
  const std::string client = Card("Doe", "John", kNew) + Card("Doe", "John", kNew);
  const Result r =
      RunDR(*converter, Variant(Bytes(client)), Variant(Bytes(Card("Doe", "John", kOld))),
            Variant(std::vector<std::u16string>{u"t"}), drmKeepOriginal);
  ASSERT_EQ(r.status, S_OK);
  EXPECT_FALSE(r.add);
  EXPECT_FALSE(r.overwrite);
  EXPECT_EQ(r.duplicates, 2);
}

TEST(DR, OverwritesWithoutTagsCarryTheServerPosition) {
  auto converter = NewConverter();
  const std::string server = Card("A", "Ann", kOld) + Card("B", "Bob", kOld);
  const Result r =
      RunDR(*converter, Variant(Bytes(Card("B", "Bob", kNew))), Variant(Bytes(server)), Variant());
  ASSERT_EQ(r.status, S_OK);
  ASSERT_TRUE(r.overwrite);
  EXPECT_EQ(TagOf(r.overwrite, 0), u"1");
}

struct BadDR {
  const char* name;
  std::function<Result(ICardConverter&)> run;
  HRESULT status;
  const char* message;
};

class DRArguments : public ::testing::TestWithParam<BadDR> {};

TEST_P(DRArguments, AreCheckedInOrder) {
  const std::string product = std::string("DRArgs") + GetParam().name;
  auto converter = NewConverter(U16(product), u"dr");
  const Result r = GetParam().run(*converter);
  EXPECT_EQ(r.status, GetParam().status);
  EXPECT_FALSE(r.add);
  EXPECT_FALSE(r.overwrite);
  const std::string log = LogText(product, "dr");
  EXPECT_NE(log.find(std::string("in CComCardConverter.DR: ") + GetParam().message),
            std::string::npos)
      << log;
}

const std::string kClient = Card("Doe", "John", kNew);

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

INSTANTIATE_TEST_SUITE_P(
    Table, DRArguments,
    ::testing::Values(
        BadDR{"Method",
              [](ICardConverter& c) {
                return RunDR(c, Variant(Bytes(kClient)), Variant(), Variant(), drmNone);
              },
              E_INVALIDARG, "eDR"},
        BadDR{"ClientKind",
              [](ICardConverter& c) { return RunDR(c, Variant(u"text"), Variant(), Variant()); },
              E_INVALIDARG, "ClientCards"},
        BadDR{"ClientEmpty",
              [](ICardConverter& c) {
                return RunDR(c, Variant(std::vector<std::uint8_t>{}), Variant(), Variant());
              },
              E_INVALIDARG, "ClientCards"},
        BadDR{"ServerKind",
              [](ICardConverter& c) {
                return RunDR(c, Variant(Bytes(kClient)), Variant(std::int32_t{1}), Variant());
              },
              E_INVALIDARG, "ServerCards"},
        BadDR{"TagsKind",
              [](ICardConverter& c) {
                return RunDR(c, Variant(Bytes(kClient)), Variant(Bytes(kClient)),
                             Variant(u"one tag"));
              },
              E_INVALIDARG, "ServerCardsTags"},
        BadDR{"NoCards2Add",
              [](ICardConverter& c) {
                Result r;
                r.status = c.DR(Variant(Bytes(kClient)), Variant(), Variant(), drmNewest, nullptr,
                                &r.overwrite, &r.duplicates);
                return r;
              },
              E_INVALIDARG, "Cards2Add"},
        BadDR{"NoCards2Overwrite",
              [](ICardConverter& c) {
                Result r;
                r.status = c.DR(Variant(Bytes(kClient)), Variant(Bytes(kClient)), Variant(),
                                drmNewest, &r.add, nullptr, &r.duplicates);
                return r;
              },
              E_INVALIDARG, "Cards2Overwrite"},
        BadDR{"TagCount",
              [](ICardConverter& c) {
                return RunDR(c, Variant(Bytes(kClient)), Variant(Bytes(kClient)),
                             Variant(std::vector<std::u16string>{u"a", u"b"}));
              },
              E_INVALIDARG, "cServerCards != cServerCardsTags"},
        BadDR{"ClientNotCards",
              [](ICardConverter& c) {
                return RunDR(c, Variant(std::make_shared<ForeignCards>()), Variant(), Variant());
              },
              E_GENERIC_FAILURE, "ClientCards->InnerObject"},
        BadDR{"ClientNoCards",
              [](ICardConverter& c) {
                return RunDR(c, Variant(Bytes("nothing")), Variant(), Variant());
              },
              E_GENERIC_FAILURE, "LoadMemory(ClientCards)"},
        BadDR{"ServerNoCards",
              [](ICardConverter& c) {
                return RunDR(c, Variant(Bytes(kClient)), Variant(Bytes("nothing")), Variant());
              },
              E_GENERIC_FAILURE, "LoadMemory(ServerCards)"},
        BadDR{"Progress",
              [](ICardConverter& c) {
                RecordingProgress progress;
                Result r;
                r.status = c.DR(Variant(Bytes(kClient)), Variant(), Variant(), drmNewest, &r.add,
                                &r.overwrite, &r.duplicates, &progress);
                r.add.reset();  // the call goes on and succeeds
                return r;
              },
              S_OK, "Progress is not implemented"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora::test
