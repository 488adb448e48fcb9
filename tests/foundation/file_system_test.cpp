#include "foundation/file_system.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "foundation/system_status.h"
#include "support/test_env.h"

namespace velmora::files {
namespace {

TEST(FileSystemTest, ReadFailuresMapToSystemStatuses) {
  test::TempDir dir;
  test::WriteFile(dir / "file", "content");
  std::string out = "stale";
  EXPECT_EQ(ReadWholeFile(dir / "file", out), S_OK);
  EXPECT_EQ(out, "content");
  EXPECT_EQ(ReadWholeFile(dir / "missing", out), static_cast<HRESULT>(0x80070002));
  EXPECT_EQ(ReadWholeFile(dir / "no-folder" / "x", out), static_cast<HRESULT>(0x80070003));
  EXPECT_EQ(ReadWholeFile(dir.path(), out), static_cast<HRESULT>(0x80070005));
  EXPECT_EQ(ReadWholeFile(dir / "file", out, 3), static_cast<HRESULT>(0x800700DF));
  EXPECT_TRUE(out.empty());
  if (::geteuid() != 0) {  // root reads everything
    std::filesystem::permissions(dir / "file", std::filesystem::perms::none);
    EXPECT_EQ(ReadWholeFile(dir / "file", out), static_cast<HRESULT>(0x80070005));
  }
}

// Standard input may be a pipe: no size to read up to, so it is read to its
// end, still bounded by the size limit.
TEST(FileSystemTest, ReadsPipesToTheEndWithinTheLimit) {
  for (const std::uint64_t limit : {std::uint64_t{11}, std::uint64_t{10}}) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "piped bytes", 11), 11);
    ::close(fds[1]);
    std::string out = "stale";
    const HRESULT status = ReadWholeFile("/dev/fd/" + std::to_string(fds[0]), out, limit);
    ::close(fds[0]);
    EXPECT_EQ(status, limit == 11 ? S_OK : static_cast<HRESULT>(0x800700DF)) << limit;
    EXPECT_EQ(out, limit == 11 ? "piped bytes" : "") << limit;
  }
}

TEST(FileSystemTest, ErrnoMapping) {
  const std::pair<int, std::uint32_t> cases[] = {
      {ENOENT, 2},   {ENOTDIR, 3},  {EACCES, 5},         {EPERM, 5},   {EEXIST, 80},
      {ENOSPC, 112}, {EDQUOT, 112}, {ENAMETOOLONG, 206}, {EPROTO, 31},
  };
  for (const auto& [err, code] : cases) {
    EXPECT_EQ(StatusFromErrno(err), HRESULT_FROM_WIN32(code)) << err;
  }
  EXPECT_EQ(StatusFromErrno(0), S_OK);
  EXPECT_EQ(kStatusShortRead, static_cast<HRESULT>(0x80070026));
}

TEST(FileSystemTest, ReplacingWritesKeepTheOldFileOnFailure) {
  test::TempDir dir;
  const auto target = dir / "out.vcf";
  ASSERT_EQ(WriteFileReplacing(target, "old"), S_OK);
  ASSERT_EQ(WriteFileReplacing(target, "new content"), S_OK);
  EXPECT_EQ(test::ReadFile(target), "new content");
  // A destination that is a folder cannot be replaced; nothing is left behind.
  ASSERT_EQ(CreateFolder(dir / "folder"), S_OK);
  EXPECT_TRUE(FAILED(WriteFileReplacing(dir / "folder", "x")));
  EXPECT_TRUE(IsFolder(dir / "folder"));
  EXPECT_EQ(WriteFileReplacing(dir / "missing" / "x.vcf", "x"), static_cast<HRESULT>(0x80070003));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            2);

  ASSERT_EQ(CopyFileReplacing(target, dir / "copy.vcf"), S_OK);
  EXPECT_EQ(test::ReadFile(dir / "copy.vcf"), "new content");
  EXPECT_EQ(CopyFileReplacing(dir / "none", dir / "copy.vcf"), static_cast<HRESULT>(0x80070002));
  EXPECT_EQ(test::ReadFile(dir / "copy.vcf"), "new content");
}

TEST(FileSystemTest, SameFileUsesIdentityNotText) {
  test::TempDir dir;
  test::WriteFile(dir / "a.vcf", "x");
  EXPECT_TRUE(SameFile(dir / "a.vcf", dir / "." / "a.vcf"));
  std::filesystem::create_hard_link(dir / "a.vcf", dir / "b.vcf");
  EXPECT_TRUE(SameFile(dir / "a.vcf", dir / "b.vcf"));
  test::WriteFile(dir / "c.vcf", "x");
  EXPECT_FALSE(SameFile(dir / "a.vcf", dir / "c.vcf"));
  EXPECT_FALSE(SameFile(dir / "a.vcf", dir / "missing.vcf"));
}

}  // namespace
}  // namespace velmora::files
