#include "cli_common.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace velmora::cli {

std::string StatusHex(HRESULT status) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(status));
  return buffer;
}

std::string StatusMeaning(HRESULT status) {
  switch (static_cast<std::uint32_t>(status)) {
    case 0x80070002u:
      return "no such file";
    case 0x80070003u:
      return "no such folder";
    case 0x80070005u:
      return "permission denied";
    case 0x80070020u:
      return "the file is in use";
    case 0x80070050u:
      return "the file exists";
    case 0x80070070u:
      return "the disk is full";
    case 0x800700DFu:
      return "the file is too large";
    case 0x8007010Bu:
      return "not a folder";
    case 0x80070057u:
      return "invalid argument";
    case 0x8007000Eu:
      return "out of memory";
    default:
      return "";
  }
}

void PrintError(std::string_view file, std::string_view what, HRESULT status) {
  std::string line = "velmora: ";
  if (!file.empty()) {
    line.append(file);
    line += ": ";
  }
  line.append(what);
  if (status != S_OK) line += " (status " + StatusHex(status) + ")";
  line += '\n';
  std::fputs(line.c_str(), stderr);
}

void PrintWarning(const GlobalOptions& global, std::string_view file, std::string_view what) {
  if (global.quiet) return;
  PrintError(file, std::string("warning: ").append(what));
}

void WarnCutOff(const GlobalOptions& global, std::string_view file, std::int32_t count) {
  if (count <= 0) return;
  PrintWarning(global, file,
               count == 1
                   ? std::string("1 card has no END:VCARD (cut off?) and is skipped")
                   : std::to_string(count) + " cards have no END:VCARD (cut off?) and are skipped");
}

void PrintUsageError(std::string_view what, std::string_view command) {
  std::string line = "velmora: ";
  line.append(what);
  line += "\nRun 'velmora ";
  if (!command.empty()) line.append(command).append(" ");
  line += "--help' for more information.\n";
  std::fputs(line.c_str(), stderr);
}

std::string CannotRead(HRESULT status) {
  const std::string meaning = StatusMeaning(status);
  return "cannot read" + (meaning.empty() ? std::string() : ": " + meaning);
}

std::string NoCardsReason(HRESULT status) {
  if (status == E_GENERIC_FAILURE || SUCCEEDED(status)) {
    return "not a vCard file: no complete card (BEGIN:VCARD to END:VCARD)";
  }
  return CannotRead(status);
}

bool ReadsStandardInputOnce(const std::vector<std::string>& arguments, std::string_view command) {
  int stdin_arguments = 0;
  for (const std::string& argument : arguments) stdin_arguments += argument == "-" ? 1 : 0;
  if (stdin_arguments <= 1) return true;
  PrintUsageError("standard input (-) can be read only once", command);
  return false;
}

bool KeepsJsonApart(const GlobalOptions& global, std::string_view output,
                    std::string_view command) {
  if (!global.json || output != "-") return true;
  PrintUsageError("--json and -o - cannot both use standard output", command);
  return false;
}

std::string DisplayName(std::string_view argument) {
  return argument == "-" ? std::string(kStdinName) : std::string(argument);
}

}  // namespace velmora::cli
