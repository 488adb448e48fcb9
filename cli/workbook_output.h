// Writing the cards as a workbook (.xls or .xlsx) through the library: one
// sheet named "Contacts" whose rows are those a CSV output of the same
// dialect and Outlook language would hold, all written as text cells.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <velmora/card_converter.h>

#include "csv_output.h"
#include "output_format.h"
#include "progress_bar.h"

namespace velmora::cli {

// The rows an .xls sheet holds (the header row included).
inline constexpr std::int32_t kXlsMaxRows = 65536;

// Writes `vcards` as a workbook of `format` (kXls or kXlsx) to `output`
// ("-": standard output), replacing an existing file whole, leaving out
// duplicates by `dr`; `options` gives the dialect and the locale (the
// encoding and byte-order mark are CSV's only). Without `write_file` the
// workbook is made and thrown away (a dry run). kExitOk; kExitIncomplete
// when some rows did not fit in the sheet (counted as errors); kExitOutput
// after saying what could not be written; kExitCancelled (nothing is left
// half-written).
int WriteWorkbookCards(ICardConverter& library, const std::vector<std::uint8_t>& vcards,
                       std::int32_t count, const std::string& output, OutputFormat format,
                       EDRMethod dr, const CsvWriteOptions& options, bool write_file,
                       ProgressBar& progress, CsvWriteResult* result);

}  // namespace velmora::cli
