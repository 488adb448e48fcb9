// velmora convert: vCard, CSV and workbook files to vCard (in a chosen
// version and charset), CSV (in a chosen dialect, locale and encoding) or a
// workbook (.xls, .xlsx), into one file, standard output or one file per
// contact.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct ConvertOptions {
  static constexpr int kNoCodePage = INT_MIN;

  std::vector<std::string> inputs;
  std::string output;
  std::string from;  // vcard or csv; empty: told by each input's content
  std::string to;
  // vCard output; empty: 3.0.
  std::string version;
  std::string charset;
  int code_page = kNoCodePage;
  // CSV input.
  std::string separator;
  std::string input_encoding;
  std::string input_locale;
  std::string sheet;  // workbook input: by name or 1-based number
  // CSV output (the dialect also forces reading a CSV input with --from csv).
  std::string csv_dialect;
  std::string locale;
  std::string encoding;
  bool no_bom = false;
  bool split = false;
  std::string dedupe = "none";
  int max = 0;
  // The report and how the job ends.
  std::string report;  // a JSON file of every loss
  bool verbose = false;
  bool strict = false;
  bool dry_run = false;
  bool fail_fast = false;
  // Inputs.
  bool recursive = false;  // folders: their subfolders' .vcf files too
  std::string input_charset;
  // --split: empty the folder's .vcf (or .csv) files first.
  bool clean = false;
  // Threads converting blocks of a large input; 0: one per core.
  int jobs = 0;
  // The size of those blocks, in bytes (whole cards: at least one).
  std::int64_t block_size = 2 << 20;
};

CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions* options);
int RunConvert(const ConvertOptions& options, const GlobalOptions& global);

}  // namespace velmora::cli
