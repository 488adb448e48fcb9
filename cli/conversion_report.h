// The conversion report of a job: what the library says each card lost on
// the way (it calls OnConversionEvent), with the input each card came from,
// and what the command sees itself (cards cut off, inputs that failed).
// Given as one summary line, as a full list (-v, --dry-run), as a JSON file
// (--report) and as counts in --json.
#pragma once

#include <cstdint>
#include <set>
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
  // Whether every entry is kept for PrintList and Json; otherwise only the
  // counts are, and a job's memory does not grow with its losses.
  void set_keep_entries(bool keep) { keep_entries_ = keep; }

  void OnConversionEvent(EConversionEvent event, std::int32_t card, const std::u16string& name,
                         const std::u16string& what, std::int32_t count) override;
  void AddCutOff(const std::string& file, std::int32_t count);
  void AddFailedFile(const std::string& file, const std::string& why);

  bool empty() const { return !any_; }
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
  // The counts of one kind of entry, kept as entries come.
  struct Tally {
    std::int64_t count = 0;
    std::int64_t cards = 0;  // distinct cards (or rows): a card's entries come together
    std::pair<std::string, std::int32_t> last_card{"", -1};
    std::set<std::string> names;  // properties, fields, columns
  };
  void Add(Entry entry);
  std::string Describe(const Entry& entry) const;

  Segments sources_;
  std::string charset_ = "the target charset";
  bool keep_entries_ = true;
  bool any_ = false;
  std::vector<Entry> entries_;
  std::vector<Tally> tallies_;
  std::vector<std::pair<std::string, std::string>> failures_;  // file, reason
};

}  // namespace velmora::cli
