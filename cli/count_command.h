// velmora count: the complete cards of each file and in total.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct CountOptions {
  std::vector<std::string> files;
  std::string sheet;  // of workbooks: by name or 1-based number
};

CLI::App* AddCountCommand(CLI::App& app, CountOptions* options);
int RunCount(const CountOptions& options, const GlobalOptions& global);

}  // namespace velmora::cli
