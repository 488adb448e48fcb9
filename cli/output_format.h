// The format of an output: --to, else the extension of the output's name.
// vCard and CSV can be written; spreadsheets are recognised so that they
// are answered with "not supported yet" rather than guessed at.
#pragma once

#include <string>

namespace velmora::cli {

enum class OutputFormat { kVCard, kCsv, kNotYet, kUnknown };

// `to` is the --to value (may be empty); `output` the output's name ("-" is
// standard output, which takes vCard unless --to says otherwise). For a
// folder (--split) without --to the format is vCard.
OutputFormat ChooseOutputFormat(const std::string& to, const std::string& output, bool folder);

// For commands that write vCard only: checks that the output is vCard and
// says what is wrong when it is not;
// `has_to` tells whether the command offers --to (the hint mentions it).
// False after printing the error: the command exits with a usage status.
bool RequireVCardOutput(const std::string& to, const std::string& output, bool folder,
                        const char* command, bool has_to);

// The choices of --to.
inline constexpr const char* kFormatChoices[] = {"vcard", "csv", "xls", "xlsx"};

}  // namespace velmora::cli
