// Numbering of taken file names, with and without the per-save counter: the
// counter must give the same names, only without probing from "[1]" again.
#include "automation/file_name_rule.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_env.h"

namespace velmora::automation {
namespace {

TEST(FileNameRule, CounterGivesTheNamesProbingGives) {
  for (const bool with_counter : {false, true}) {
    SCOPED_TRACE(with_counter ? "counter" : "probing");
    test::TempDir dir;
    // Taken before the save: the plain name and "[2]".
    test::WriteFile(dir / "Doe.vcf", "x");
    test::WriteFile(dir / "Doe[2].vcf", "x");
    FileNameCounter counter;
    std::vector<std::string> names;
    for (int i = 0; i < 4; ++i) {
      const std::filesystem::path path =
          MakeFilePath(dir.path(), u"Doe", true, u".vcf", true, with_counter ? &counter : nullptr);
      names.push_back(path.filename().string());
      test::WriteFile(path, "x");
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Doe[1].vcf", "Doe[3].vcf", "Doe[4].vcf", "Doe[5].vcf"}));
    EXPECT_EQ(MakeFilePath(dir.path(), u"Roe", true, u".vcf", false, &counter).filename(),
              "Roe.vcf");
  }
}

}  // namespace
}  // namespace velmora::automation
