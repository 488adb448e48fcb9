// The files a command works on beyond the ones named: the .vcf files of
// folders given as inputs, and the files of an output folder.
#pragma once

#include <string>
#include <vector>

#include "cli_common.h"

namespace velmora::cli {

// The arguments with each folder replaced by its .vcf files (name order;
// with `recursive` those of its subfolders too). Other arguments, and "-",
// stay as they are.
std::vector<std::string> ExpandFolders(const std::vector<std::string>& arguments, bool recursive);

// Whether two paths name one existing file.
bool IsSameFile(const std::string& a, const std::string& b);

// Creates the folders above `path` that are missing. False, with `error`
// set, when one cannot be made.
bool MakeParentFolders(const std::string& path, std::string* error);

// The files of `folder` whose names end in `extension` (".vcf").
std::vector<std::string> FilesWithExtension(const std::string& folder,
                                            const std::string& extension);

// Warns when `folder` already holds such files (new ones are numbered
// beside them); removes them first instead with CleanFolder.
void WarnAboutFilesInFolder(const std::string& folder, const std::string& extension,
                            const GlobalOptions& global);
void CleanFolder(const std::string& folder, const std::string& extension,
                 const GlobalOptions& global);

}  // namespace velmora::cli
