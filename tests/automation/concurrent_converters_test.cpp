// Independent converters in different threads: each thread creates its own,
// and every result must be the one a single thread gets. Built a second
// time with ThreadSanitizer (make test-tsan), which fails on any data race
// in the shared parts: the settings, the log files, the code-page converter
// cache, the registry store and the encodings list.

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "automation/automation_test_support.h"

namespace velmora::test {
namespace {

// Every card of the corpus's 2.1 and 3.0 files, as one text.
std::vector<std::uint8_t> CorpusCards() {
  std::string all;
  for (const char* folder : {"vcard21", "vcard30"}) {
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() / folder)) {
      if (entry.path().extension() != ".vcf") continue;
      all += ReadFile(entry.path());
      all += "\r\n";
    }
  }
  return Bytes(all);
}

struct Results {
  std::vector<std::uint8_t> to21;
  std::vector<std::uint8_t> to30;
  std::int32_t loaded = 0;
  std::int32_t duplicates = 0;
};

Results ConvertEverything(const std::vector<std::uint8_t>& cards) {
  Results results;
  // Logging on: the converters of all threads append to one log file.
  std::shared_ptr<ICardConverter> converter = NewConverter(u"threads", u"threads");
  if (!converter) return results;
  std::int32_t converted = 0, copied = 0, errors = 0;
  EXPECT_EQ(converter->ConvertMemory(cards, &converted, &copied, &errors, 2.1, 1252, Variant(),
                                     &results.to21, nullptr),
            S_OK);
  EXPECT_EQ(converter->ConvertMemory(cards, &converted, &copied, &errors, 3.0, 65001, Variant(),
                                     &results.to30, nullptr),
            S_OK);
  std::shared_ptr<ICards> loaded;
  if (SUCCEEDED(converter->LoadMemory(cards, 0, nullptr, &loaded)) && loaded) {
    loaded->get_Count(&results.loaded);
  }
  std::shared_ptr<ICards> to_add;
  converter->DR(Variant(cards), Variant(), Variant(), drmNewest, &to_add, nullptr,
                &results.duplicates);
  return results;
}

TEST(ConcurrentConverters, EachThreadGetsWhatOneThreadGets) {
  const std::vector<std::uint8_t> cards = CorpusCards();
  const Results expected = ConvertEverything(cards);
  ASSERT_GT(expected.loaded, 50);
  ASSERT_FALSE(expected.to21.empty());

  constexpr int kThreads = 4;
  std::vector<Results> results(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&cards, &results, i] { results[i] = ConvertEverything(cards); });
  }
  for (std::thread& thread : threads) thread.join();
  for (const Results& got : results) {
    EXPECT_TRUE(got.to21 == expected.to21);
    EXPECT_TRUE(got.to30 == expected.to30);
    EXPECT_EQ(got.loaded, expected.loaded);
    EXPECT_EQ(got.duplicates, expected.duplicates);
  }
}

}  // namespace
}  // namespace velmora::test
