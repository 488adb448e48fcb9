// Turning a contact's name into a safe, unused file path: the rule the vCard,
// CSV and spreadsheet savers share.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

// The name made safe for a file name: line breaks become spaces; control
// characters and \ / : * ? " < > | (and [ ] without the bracket style)
// become '_'; "con" and "nul", alone or before a '.', get '_' as third
// letter. Names longer than the file system takes are shortened.
std::u16string SafeFileName(std::u16string_view base_name, bool bracket_style);

// `folder` / safe name + `extension`. With numbering, a name already taken
// (by a file or a folder) is followed by "[1]", "[2]", ... (bracket style) or "(1)", "(2)", ...
// until the path is free.
std::filesystem::path MakeFilePath(const std::filesystem::path& folder,
                                   std::u16string_view base_name, bool numbering,
                                   std::u16string_view extension, bool bracket_style);

}  // namespace velmora
