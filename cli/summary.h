// The end of a job: one summary line on standard error ("velmora: 12 cards
// read, 10 written, 2 copied, 0 skipped, 0 errors"), or with --json the same
// figures as one JSON object on standard output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli_common.h"
#include "json_writer.h"

namespace velmora::cli {

struct SummaryCount {
  std::string key;    // JSON member: "read"
  std::string label;  // summary line: "cards read"
  std::int64_t value = 0;
};

struct JobSummary {
  std::string command;
  int exit_status = kExitOk;
  std::vector<SummaryCount> counts;
  std::string output;              // the output as given; empty: none
  std::vector<std::string> files;  // the files written, when there are several
  // Further members of the JSON object (lists of cards and the like).
  std::function<void(JsonWriter&)> details;
};

void ReportSummary(const JobSummary& summary, const GlobalOptions& global);

}  // namespace velmora::cli
