// What every subcommand of the velmora command shares: the global options,
// the exit statuses and the one-line messages on standard error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/status.h>

namespace velmora::cli {

// The exit statuses, documented in `velmora --help`.
enum ExitStatus : int {
  kExitOk = 0,           // all done
  kExitIncomplete = 1,   // done with skipped cards or errors, or nothing to do
  kExitUsage = 2,        // the command line is wrong
  kExitInput = 3,        // an input could not be read, or is neither vCard nor known CSV
  kExitOutput = 4,       // the output could not be written
  kExitCancelled = 130,  // stopped by Ctrl-C (128 + SIGINT)
};

// The more serious of two exit statuses; a cancel outranks everything.
inline int WorseExit(int a, int b) { return a > b ? a : b; }

// Options given before or after the subcommand.
struct GlobalOptions {
  int log_level = -1;  // 0..3; -1 keeps the level of the registry store
  std::string log_name = "velmora";
  bool quiet = false;
  bool json = false;
};

// The product code the converter is initialised with: it names the log
// folder and the registry key of the log level.
inline constexpr char16_t kProductCode[] = u"velmora-cli";
inline constexpr char kProductName[] = "velmora-cli";

// How standard input is named in messages and in JSON output.
inline constexpr char kStdinName[] = "standard input";

// "0x80070002".
std::string StatusHex(HRESULT status);
// A few words for the statuses a user meets ("no such file"); empty for the
// others.
std::string StatusMeaning(HRESULT status);

// "cannot read" with the status's meaning ("cannot read: no such file").
std::string CannotRead(HRESULT status);
// Why a vCard input gave no card: "not a vCard file: ..." when the library
// found no complete card (E_GENERIC_FAILURE, or success without cards), else
// CannotRead.
std::string NoCardsReason(HRESULT status);

// "velmora: FILE: WHAT (status 0x...)" on standard error; `file` may be
// empty. The status is left out when it is S_OK.
void PrintError(std::string_view file, std::string_view what, HRESULT status = S_OK);
// The same as a warning; --quiet silences it.
void PrintWarning(const GlobalOptions& global, std::string_view file, std::string_view what);
// The warning for cards that a load left out because the text ended before
// their END:VCARD; nothing when `count` is 0.
void WarnCutOff(const GlobalOptions& global, std::string_view file, std::int32_t count);
// "velmora: WHAT" and a pointer to --help; the caller exits with kExitUsage.
void PrintUsageError(std::string_view what, std::string_view command = {});

// Checks the commands share. Each prints the usage error when the check
// fails; the caller then exits with kExitUsage.
// More than one argument names standard input ("-").
bool ReadsStandardInputOnce(const std::vector<std::string>& arguments, std::string_view command);
// --json and "-o -" would both write to standard output.
bool KeepsJsonApart(const GlobalOptions& global, std::string_view output, std::string_view command);

// The display name of an input argument ("-" is standard input).
std::string DisplayName(std::string_view argument);

}  // namespace velmora::cli
