#include "conversion_report.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include <velmora/unicode.h>

namespace velmora::cli {
namespace {

// The JSON names of the events, and of their counts in the summary.
struct Kind {
  const char* event;
  const char* count_key;
};

constexpr Kind kKinds[] = {
    {"property-dropped", "propertiesDropped"}, {"characters-lost", "charactersLost"},
    {"name-replaced", "namesReplaced"},        {"field-not-carried", "fieldsNotCarried"},
    {"column-to-notes", "columnsToNotes"},     {"value-not-read", "valuesNotRead"},
    {"card-cut-off", "cardsCutOff"},           {"file-failed", "filesFailed"},
};

const char* EventName(EConversionEvent event) {
  switch (event) {
    case cevPropertyDropped:
      return "property-dropped";
    case cevCharactersLost:
      return "characters-lost";
    case cevNameReplaced:
      return "name-replaced";
    case cevFieldNotCarried:
      return "field-not-carried";
    case cevColumnToNotes:
      return "column-to-notes";
    case cevValueNotRead:
      return "value-not-read";
  }
  return "other";
}

std::string Counted(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "GEO, X-CLASS" with at most five names.
std::string Names(const std::set<std::string>& names) {
  std::string text;
  std::size_t shown = 0;
  for (const std::string& name : names) {
    if (shown == 5) {
      text += ", ...";
      break;
    }
    text += (shown++ ? ", " : "") + name;
  }
  return text;
}

}  // namespace

void ConversionReport::OnConversionEvent(EConversionEvent event, std::int32_t card,
                                         const std::u16string& name, const std::u16string& what,
                                         std::int32_t count) {
  Entry entry;
  entry.card = card;
  entry.row = event == cevColumnToNotes || event == cevValueNotRead;
  // A CSV row keeps its place in its own file; a card is found among the
  // inputs of the call.
  for (const auto& [file, cards] : sources_) {
    if (entry.row || entry.card <= cards) {
      entry.file = file;
      break;
    }
    entry.card -= cards;
  }
  if (entry.file.empty()) entry.card = card;
  entry.name = Utf16ToUtf8(name);
  entry.event = EventName(event);
  entry.what = Utf16ToUtf8(what);
  entry.count = count;
  Add(std::move(entry));
}

void ConversionReport::AddCutOff(const std::string& file, std::int32_t count) {
  if (count <= 0) return;
  Add({file, 0, false, "", "card-cut-off", "", count});
}

void ConversionReport::AddFailedFile(const std::string& file, const std::string& why) {
  failures_.emplace_back(file, why);
  Add({file, 0, false, "", "file-failed", why, 1});
}

void ConversionReport::Add(Entry entry) {
  any_ = true;
  tallies_.resize(std::size(kKinds));
  for (std::size_t k = 0; k < std::size(kKinds); ++k) {
    if (entry.event != kKinds[k].event) continue;
    Tally& t = tallies_[k];
    t.count += entry.count;
    if (t.last_card.second != entry.card || t.last_card.first != entry.file) {
      ++t.cards;
      t.last_card = {entry.file, entry.card};
    }
    // Names are listed for properties, fields and columns only; the other
    // kinds carry names and values without bound.
    if (!entry.what.empty() && (k == 0 || k == 3 || k == 4)) t.names.insert(entry.what);
  }
  if (keep_entries_) entries_.push_back(std::move(entry));
}

std::string ConversionReport::SummaryLine() const {
  std::vector<Tally> tallies = tallies_;
  tallies.resize(std::size(kKinds));
  std::vector<std::string> parts;
  const auto in_cards = [](const Tally& t, const char* one, const char* many) {
    return " in " + Counted(t.cards, one, many);
  };
  if (const Tally& t = tallies[0]; t.count > 0) {
    parts.push_back(Counted(t.count, "property dropped", "properties dropped") +
                    in_cards(t, "card", "cards") + " (" + Names(t.names) + ")");
  }
  if (const Tally& t = tallies[1]; t.count > 0) {
    parts.push_back(Counted(t.count, "character", "characters") + " not in " + charset_ +
                    in_cards(t, "card", "cards"));
  }
  if (const Tally& t = tallies[2]; t.count > 0) {
    parts.push_back(Counted(t.count, "full name", "full names") + " replaced by the name from N");
  }
  if (const Tally& t = tallies[3]; t.count > 0) {
    parts.push_back(Counted(t.count, "field", "fields") + " with no CSV column" +
                    in_cards(t, "card", "cards") + " (" + Names(t.names) + ")");
  }
  if (const Tally& t = tallies[4]; t.count > 0) {
    parts.push_back(Counted(static_cast<std::int64_t>(t.names.size()), "column", "columns") +
                    " kept in the notes (" + Names(t.names) + ")");
  }
  if (const Tally& t = tallies[5]; t.count > 0) {
    parts.push_back(Counted(t.count, "value", "values") + " not read, kept in the notes" +
                    in_cards(t, "row", "rows"));
  }
  if (const Tally& t = tallies[6]; t.count > 0) {
    parts.push_back(Counted(t.count, "card cut off", "cards cut off"));
  }
  if (const Tally& t = tallies[7]; t.count > 0) {
    parts.push_back(Counted(t.count, "file", "files") + " could not be read");
  }
  std::string line;
  for (const std::string& part : parts) line += (line.empty() ? "" : "; ") + part;
  return line;
}

std::string ConversionReport::Describe(const Entry& e) const {
  if (e.event == "property-dropped") {
    return e.count == 1 ? "property " + e.what + " dropped"
                        : std::to_string(e.count) + " " + e.what + " properties dropped";
  }
  if (e.event == "characters-lost") {
    return Counted(e.count, "character", "characters") + " not in " + charset_ + ", written as ?";
  }
  if (e.event == "name-replaced") return "full name \"" + e.what + "\" replaced by the name from N";
  if (e.event == "field-not-carried") return e.what + " has no column in this CSV";
  if (e.event == "column-to-notes") return "column \"" + e.what + "\" kept in the notes";
  if (e.event == "value-not-read") return "\"" + e.what + "\" not read, kept in the notes";
  if (e.event == "card-cut-off") {
    return Counted(e.count, "card", "cards") + " cut off by the end of the file (no END:VCARD)";
  }
  return "could not be read: " + e.what;
}

void ConversionReport::PrintList() const {
  for (const Entry& e : entries_) {
    std::string line = "velmora: ";
    if (!e.file.empty()) line += e.file + ": ";
    if (e.card > 0) {
      line += std::string(e.row ? "row " : "card ") + std::to_string(e.card);
      if (!e.name.empty()) line += " (" + e.name + ")";
      line += ": ";
    }
    line += Describe(e) + "\n";
    std::fputs(line.c_str(), stderr);
  }
}

std::string ConversionReport::Json(const std::string& command) const {
  JsonWriter json;
  json.BeginObject().Member("command", command).Key("events").BeginArray();
  for (const Entry& e : entries_) {
    json.BeginObject().Member("file", e.file);
    if (e.card > 0) json.Member(e.row ? "row" : "card", e.card).Member("name", e.name);
    json.Member("event", e.event).Member("what", e.what).Member("count", e.count);
    json.EndObject();
  }
  json.EndArray();
  AddCounts(json);
  json.EndObject();
  return json.str();
}

void ConversionReport::AddCounts(JsonWriter& json) const {
  json.Key("report").BeginObject();
  for (std::size_t k = 0; k < std::size(kKinds); ++k) {
    json.Key(kKinds[k].count_key).Number(k < tallies_.size() ? tallies_[k].count : 0);
  }
  json.EndObject();
  // The inputs that failed, each with its reason.
  json.Key("failures").BeginArray();
  for (const auto& [file, why] : failures_) {
    json.BeginObject().Member("file", file).Member("error", why).EndObject();
  }
  json.EndArray();
}

}  // namespace velmora::cli
