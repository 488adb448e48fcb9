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
std::string CorpusCards() {
  std::string all;
  for (const char* folder : {"vcard21", "vcard30"}) {
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() / folder)) {
      if (entry.path().extension() == ".vcf") all += ReadFile(entry.path()) + "\r\n";
    }
  }
  return all;
}

struct Results {
  std::string to21, to30;
  std::int32_t loaded = 0, duplicates = 0;
};

Results ConvertEverything(const std::string& cards) {
  Results results;
  // Logging on: the converters of all threads append to one log file.
  std::shared_ptr<ICardConverter> converter = NewConverter(u"threads", u"threads");
  if (!converter) return results;
  const Converted to21 = ConvertText(*converter, cards, 2.1, 1252),
                  to30 = ConvertText(*converter, cards, 3.0, 65001);
  EXPECT_EQ(std::pair(to21.status, to30.status), std::pair(S_OK, S_OK));
  results.to21 = to21.text, results.to30 = to30.text;
  results.loaded = Count(LoadText(*converter, cards));
  std::shared_ptr<ICards> to_add;
  converter->DR(Variant(Bytes(cards)), Variant(), Variant(), drmNewest, &to_add, nullptr,
                &results.duplicates);
  return results;
}

TEST(ConcurrentConverters, EachThreadGetsWhatOneThreadGets) {
  const std::string cards = CorpusCards();
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
    EXPECT_TRUE(got.to21 == expected.to21 && got.to30 == expected.to30);
    EXPECT_EQ(std::pair(got.loaded, got.duplicates),
              std::pair(expected.loaded, expected.duplicates));
  }
}

}  // namespace
}  // namespace velmora::test
