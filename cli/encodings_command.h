// velmora encodings: the encodings Velmora can write, with display name,
// charset and code page (the names --charset and --codepage accept).
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct EncodingsOptions {
  std::string file;
  bool all = false;
};

CLI::App* AddEncodingsCommand(CLI::App& app, EncodingsOptions* options);
int RunEncodings(const EncodingsOptions& options, const GlobalOptions& global);

}  // namespace velmora::cli
