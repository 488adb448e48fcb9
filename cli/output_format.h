// The format of an output: --to, else the extension of the output's name.
// vCard, CSV, .xls and .xlsx can be written; .xlsm and .xlsb are recognised
// so that they are answered with "not supported" rather than guessed at.
#pragma once

#include <string>

namespace velmora::cli {

enum class OutputFormat { kVCard, kCsv, kXls, kXlsx, kNotYet, kUnknown };

// The formats whose rows the library writes in one call: CSV and workbooks.
inline bool IsTableFormat(OutputFormat format) {
  return format == OutputFormat::kCsv || format == OutputFormat::kXls ||
         format == OutputFormat::kXlsx;
}
inline bool IsWorkbookFormat(OutputFormat format) {
  return format == OutputFormat::kXls || format == OutputFormat::kXlsx;
}

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

// What .xlsm and .xlsb outputs are answered with.
inline constexpr char kWorkbookNotSupported[] =
    "writing .xlsm and .xlsb is not supported; save as .xlsx or .xls";

// The choices of --to.
inline constexpr const char* kFormatChoices[] = {"vcard", "csv", "xls", "xlsx"};

}  // namespace velmora::cli
