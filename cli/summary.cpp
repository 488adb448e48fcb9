#include "summary.h"

#include <cstdio>

namespace velmora::cli {

void ReportSummary(const JobSummary& summary, const GlobalOptions& global) {
  if (global.json) {
    JsonWriter json;
    json.BeginObject();
    json.Member("command", summary.command);
    json.Member("exit", summary.exit_status);
    json.Member("cancelled", summary.exit_status == kExitCancelled);
    for (const SummaryCount& count : summary.counts) {
      json.Key(count.key).Number(count.value);
    }
    if (!summary.output.empty()) json.Member("output", summary.output);
    json.Key("files").BeginArray();
    for (const std::string& file : summary.files) json.String(file);
    json.EndArray();
    if (summary.details) summary.details(json);
    json.EndObject();
    std::fputs(json.str().c_str(), stdout);
    std::fflush(stdout);
    return;
  }
  if (global.quiet || summary.counts.empty()) return;
  std::string line = "velmora: ";
  for (std::size_t i = 0; i < summary.counts.size(); ++i) {
    if (i > 0) line += ", ";
    std::string label = summary.counts[i].label;
    // "1 card read", not "1 cards read".
    if (summary.counts[i].value == 1 && label.rfind("cards", 0) == 0) label.erase(4, 1);
    line += std::to_string(summary.counts[i].value) + " " + label;
  }
  if (summary.exit_status == kExitCancelled) line += " (cancelled)";
  line += '\n';
  std::fputs(line.c_str(), stderr);
}

}  // namespace velmora::cli
