// velmora detect: what each input is: vCard or CSV, and for CSV the address
// book it comes from, its separator, encoding, Outlook language, whether it
// has columns of its own, and its rows.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct DetectOptions {
  std::vector<std::string> files;
};

CLI::App* AddDetectCommand(CLI::App& app, DetectOptions* options);
int RunDetect(const DetectOptions& options, const GlobalOptions& global);

}  // namespace velmora::cli
