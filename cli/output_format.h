// The format of an output: --to, else the extension of the output's name.
// Only vCard can be written so far; CSV and spreadsheets are recognised so
// that they are answered with "not supported yet" rather than guessed at.
#pragma once

#include <string>

namespace velmora::cli {

enum class OutputFormat { kVCard, kNotYet, kUnknown };

// `to` is the --to value (may be empty); `output` the output's name ("-" is
// standard output, which takes vCard). For a folder (--split) without --to
// the format is vCard.
OutputFormat ChooseOutputFormat(const std::string& to, const std::string& output, bool folder);

// Checks that the output is vCard and says what is wrong when it is not;
// `has_to` tells whether the command offers --to (the hint mentions it).
// False after printing the error: the command exits with a usage status.
bool RequireVCardOutput(const std::string& to, const std::string& output, bool folder,
                        const char* command, bool has_to);

// The choices of --to.
inline constexpr const char* kFormatChoices[] = {"vcard", "csv", "xls", "xlsx"};

}  // namespace velmora::cli
