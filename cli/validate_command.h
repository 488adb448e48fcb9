// velmora validate: whether each file holds at least one complete card.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct ValidateOptions {
  std::vector<std::string> files;
};

CLI::App* AddValidateCommand(CLI::App& app, ValidateOptions* options);
int RunValidate(const ValidateOptions& options, const GlobalOptions& global);

}  // namespace velmora::cli
