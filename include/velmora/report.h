// The conversion report: what a conversion could not carry into its target,
// card by card, handed to a listener the caller sets on the converter
// (ICardConverter::put_ConversionReport). The log keeps its own lines; the
// report is the structured account of the same losses.
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

enum EConversionEvent : std::int32_t {
  // A vCard property the contact record does not keep (GEO, KEY, SOUND, an
  // unknown X- property, a second NOTE, a LABEL that says more than its
  // ADR). `what`: the property's name.
  cevPropertyDropped = 1,
  // Characters the target charset cannot hold, written as '?'. `count`: how
  // many.
  cevCharactersLost = 2,
  // The FN differed from the name composed from N and was written as the
  // composed name. `what`: the FN that was replaced.
  cevNameReplaced = 3,
  // CSV export: something the dialect has no column for. `what`: "E-mail 4",
  // "Home address 2", "Phone (Boat)" (the phone's label or types).
  cevFieldNotCarried = 4,
  // CSV import: a column with no field of its own, kept in the notes.
  // `what`: the column's header.
  cevColumnToNotes = 5,
  // CSV import: a date, yes/no or enumeration word that could not be read,
  // kept in the notes. `what`: "Header: value".
  cevValueNotRead = 6,
};

// Implemented by the caller. Calls arrive synchronously on the caller's
// thread, after the card concerned was written, one per card and kind of
// loss (the same loss twice in one card is one call with a count).
class IConversionReport {
 public:
  // `card`: the card's position among the cards of the call (from 1); for
  // CSV import, the row's position in the table, the header row being row
  // 1. `name`: the contact's full name, as written. `count`: how many
  // characters for cevCharactersLost, how many times otherwise.
  virtual void OnConversionEvent(EConversionEvent event, std::int32_t card,
                                 const std::u16string& name, const std::u16string& what,
                                 std::int32_t count) = 0;

 protected:
  ~IConversionReport() = default;
};

}  // namespace velmora
