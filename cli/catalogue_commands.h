// velmora headers and velmora locales: the CSV columns the converter knows,
// per address book (in an Outlook language's names too), and the Outlook
// languages it reads and writes.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct HeadersOptions {
  std::string dialect = "outlook";
  std::string locale;
};

CLI::App* AddHeadersCommand(CLI::App& app, HeadersOptions* options);
int RunHeaders(const HeadersOptions& options, const GlobalOptions& global);

CLI::App* AddLocalesCommand(CLI::App& app);
int RunLocales(const GlobalOptions& global);

}  // namespace velmora::cli
