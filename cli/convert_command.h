// velmora convert: vCard files to vCard in a chosen version and charset,
// into one file, standard output or one file per contact.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct ConvertOptions {
  static constexpr int kNoCodePage = INT_MIN;

  std::vector<std::string> inputs;
  std::string output;
  std::string to;
  std::string version = "3.0";
  std::string charset;
  int code_page = kNoCodePage;
  bool split = false;
  std::string dedupe = "none";
  int max = 0;
};

CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions* options);
int RunConvert(const ConvertOptions& options, const GlobalOptions& global);

}  // namespace velmora::cli
