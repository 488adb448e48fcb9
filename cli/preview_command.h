// velmora preview: one line per card (file-as name, full name, company,
// first e-mail, first phone) as an aligned table, or every preview field as
// JSON.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct PreviewOptions {
  std::vector<std::string> files;
  int limit = 0;
  std::string sheet;  // of workbooks: by name or 1-based number
};

CLI::App* AddPreviewCommand(CLI::App& app, PreviewOptions* options);
int RunPreview(const PreviewOptions& options, const GlobalOptions& global);

}  // namespace velmora::cli
