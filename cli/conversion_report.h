// The conversion report of a job: what the library says each card lost on
// the way (it calls OnConversionEvent), with the input each card came from,
// and what the command sees itself (cards cut off, inputs that failed).
// Given as one summary line, as a full list (-v, --dry-run), as a JSON file
// (--report) and as counts in --json.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <velmora/report.h>

#include "cli_common.h"
#include "json_writer.h"

namespace velmora::cli {

class ConversionReport final : public IConversionReport {
 public:
  // The inputs the cards of the next library call come from, in order: a
  // name and how many of the call's cards are its. Cards beyond them (or
  // after duplicates were left out, when no segment is given) have no file.
  using Segments = std::vector<std::pair<std::string, std::int32_t>>;
  void SetSources(Segments segments) { sources_ = std::move(segments); }
  // The charset the cards are written in, for the characters it lacks.
  void set_charset(std::string label) { charset_ = std::move(label); }

  void OnConversionEvent(EConversionEvent event, std::int32_t card, const std::u16string& name,
                         const std::u16string& what, std::int32_t count) override;
  void AddCutOff(const std::string& file, std::int32_t count);
  void AddFailedFile(const std::string& file, const std::string& why);

  bool empty() const { return entries_.empty(); }
  // "3 properties dropped in 2 cards (GEO, X-CLASS); 12 characters not in
  // windows-1252 in 4 cards; 1 card cut off"; empty when nothing was lost.
  std::string SummaryLine() const;
  // One line per entry on standard error: "velmora: FILE: card 3 (John
  // Doe): property GEO dropped".
  void PrintList() const;
  // The entries as a JSON document.
  std::string Json(const std::string& command) const;
  // The counts, as the member "report" of the summary object, and the
  // inputs that failed with their reasons ("failures").
  void AddCounts(JsonWriter& json) const;

 private:
  struct Entry {
    std::string file;
    std::int32_t card = 0;  // 0: the file as a whole
    bool row = false;       // a CSV row rather than a card
    std::string name;
    std::string event;
    std::string what;
    std::int32_t count = 1;
  };
  std::string Describe(const Entry& entry) const;

  Segments sources_;
  std::string charset_ = "the target charset";
  std::vector<Entry> entries_;
};

}  // namespace velmora::cli
