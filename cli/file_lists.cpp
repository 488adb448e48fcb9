#include "file_lists.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

bool HasExtension(const fs::path& path, const std::string& extension) {
  std::string name = path.extension().string();
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name == extension;
}

}  // namespace

std::vector<std::string> ExpandFolders(const std::vector<std::string>& arguments, bool recursive) {
  std::vector<std::string> out;
  for (const std::string& argument : arguments) {
    std::error_code ec;
    if (argument == "-" || !fs::is_directory(argument, ec)) {
      out.push_back(argument);
      continue;
    }
    std::vector<std::string> found;
    const auto take = [&](const fs::directory_entry& entry) {
      std::error_code ignored;
      if (entry.is_regular_file(ignored) && HasExtension(entry.path(), ".vcf")) {
        found.push_back(entry.path().string());
      }
    };
    if (recursive) {
      for (const auto& entry : fs::recursive_directory_iterator(
               argument, fs::directory_options::skip_permission_denied, ec)) {
        take(entry);
      }
    } else {
      for (const auto& entry : fs::directory_iterator(argument, ec)) take(entry);
    }
    std::sort(found.begin(), found.end());
    // A folder without any keeps its name, so that it is reported.
    if (found.empty()) found.push_back(argument);
    out.insert(out.end(), found.begin(), found.end());
  }
  return out;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-") return false;
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

bool MakeParentFolders(const std::string& path, std::string* error) {
  const fs::path parent = fs::path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  fs::create_directories(parent, ec);
  if (ec) *error = ec.message();
  return !ec;
}

std::vector<std::string> FilesWithExtension(const std::string& folder,
                                            const std::string& extension) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::error_code ignored;
    if (entry.is_regular_file(ignored) && HasExtension(entry.path(), extension)) {
      files.push_back(entry.path().string());
    }
  }
  return files;
}

void WarnAboutFilesInFolder(const std::string& folder, const std::string& extension,
                            const GlobalOptions& global) {
  const std::size_t count = FilesWithExtension(folder, extension).size();
  if (count == 0) return;
  PrintWarning(global, folder,
               "already holds " + std::to_string(count) + " " + extension.substr(1) +
                   (count == 1 ? " file" : " files") +
                   "; new ones are numbered beside them (--clean removes them first)");
}

void CleanFolder(const std::string& folder, const std::string& extension,
                 const GlobalOptions& global) {
  for (const std::string& file : FilesWithExtension(folder, extension)) {
    std::error_code ec;
    fs::remove(file, ec);
    if (ec) PrintWarning(global, file, "cannot remove: " + ec.message());
  }
}

}  // namespace velmora::cli
