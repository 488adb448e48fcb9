// Writing the cards as CSV through the library: one file (replaced whole,
// or standard output) or one file per contact in a folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <velmora/card_converter.h>

#include "progress_bar.h"
#include "target_charset.h"

namespace velmora::cli {

struct CsvWriteOptions {
  ECsvType dialect = vlmcsvOutlook;
  std::string locale;  // Outlook LID of the names and words; empty: English
  CsvEncoding encoding;
  bool byte_order_mark = true;
};

// "outlook", "outlook365", "google" or "google2"; false for any other name.
bool CsvDialectByName(const std::string& name, ECsvType* dialect);

struct CsvWriteResult {
  std::int32_t saved = 0;  // rows, or files with `split`
  std::int32_t skipped = 0;
  std::int32_t errors = 0;
  std::vector<std::string> files;
};

// Writes `vcards` to `output` ("-": standard output), or with `split` one
// file per contact into the folder `output`, leaving out duplicates by
// `dr`. Without `write_file` the one file is made and thrown away (a dry run).
// kExitOk; kExitOutput after saying what could not be written;
// kExitCancelled (nothing is left half-written).
int WriteCsvCards(ICardConverter& library, const std::vector<std::uint8_t>& vcards,
                  std::int32_t count, const std::string& output, bool split, EDRMethod dr,
                  const CsvWriteOptions& options, bool write_file, ProgressBar& progress,
                  CsvWriteResult* result);

// Replaces `output` ("-": standard output) with the file `staged`, which the
// library wrote into the temporary folder `staging` (`kind` names it for the
// messages: "CSV", "workbook"). kExitOk; kExitCancelled; kExitOutput after
// saying why, with the saved count moved to the errors.
int DeliverStagedFile(const std::string& staged, const std::string& staging, const char* kind,
                      const std::string& output, CsvWriteResult* result);

}  // namespace velmora::cli
