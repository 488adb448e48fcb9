// Turning a contact's name into a safe, unused file path: the rule the vCard,
// CSV and spreadsheet savers share.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velmora::automation {

// The name made safe for a file name: line breaks become spaces; control
// characters and \ / : * ? " < > | (and [ ] without the bracket style)
// become '_'; "con" and "nul", alone or before a '.', get '_' as third
// letter. Names longer than the file system takes are shortened.
std::u16string SafeFileName(std::u16string_view base_name, bool bracket_style);

// The next number to try for each name, kept by a saver over one call so
// that a thousand cards of one name do not probe "[1]" to "[999]" again
// each time.
using FileNameCounter = std::unordered_map<std::u16string, int>;

// `folder` / safe name + `extension`. With numbering, a name already taken
// (by a file or a folder) is followed by "[1]", "[2]", ... (bracket style)
// or "(1)", "(2)", ... until the path is free; with a counter the search
// starts where the last one for that name ended.
std::filesystem::path MakeFilePath(const std::filesystem::path& folder,
                                   std::u16string_view base_name, bool numbering,
                                   std::u16string_view extension, bool bracket_style,
                                   FileNameCounter* counter = nullptr);

}  // namespace velmora::automation
