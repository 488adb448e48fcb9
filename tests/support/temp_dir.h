// Temporary folders and whole-file reads and writes, shared by the unit tests
// and the command's tests (which do not link the library).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::test {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// The file names (not paths) in `folder`, sorted; none when it is missing.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);
// How often `needle` occurs in `text`, without overlaps.
int CountOf(std::string_view text, std::string_view needle);

}  // namespace velmora::test
