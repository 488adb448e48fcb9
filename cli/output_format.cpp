#include "output_format.h"

#include "cli_common.h"

namespace velmora::cli {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Extension(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return Lower(name.substr(dot + 1));
}

}  // namespace

OutputFormat ChooseOutputFormat(const std::string& to, const std::string& output, bool folder) {
  if (!to.empty()) {
    const std::string format = Lower(to);
    return format == "vcard"  ? OutputFormat::kVCard
           : format == "csv"  ? OutputFormat::kCsv
           : format == "xls"  ? OutputFormat::kXls
           : format == "xlsx" ? OutputFormat::kXlsx
                              : OutputFormat::kNotYet;
  }
  if (folder || output == "-") return OutputFormat::kVCard;
  const std::string extension = Extension(output);
  if (extension == "vcf" || extension == "vcard") return OutputFormat::kVCard;
  if (extension == "csv") return OutputFormat::kCsv;
  if (extension == "xls") return OutputFormat::kXls;
  if (extension == "xlsx") return OutputFormat::kXlsx;
  if (extension == "xlsm" || extension == "xlsb") return OutputFormat::kNotYet;
  return OutputFormat::kUnknown;
}

bool RequireVCardOutput(const std::string& to, const std::string& output, bool folder,
                        const char* command, bool has_to) {
  switch (ChooseOutputFormat(to, output, folder)) {
    case OutputFormat::kVCard:
      return true;
    case OutputFormat::kCsv:
      PrintError(output, "this command writes vCard only; CSV is not supported yet here");
      return false;
    case OutputFormat::kXls:
    case OutputFormat::kXlsx:
      PrintError(output, "this command writes vCard only; use 'velmora convert' for workbooks");
      return false;
    case OutputFormat::kNotYet:
      PrintError(output, kWorkbookNotSupported);
      return false;
    case OutputFormat::kUnknown:
      PrintUsageError("cannot tell the format of '" + output + "' from its name; name it .vcf" +
                          (has_to ? " or give --to vcard" : ""),
                      command);
      return false;
  }
  return false;
}

}  // namespace velmora::cli
