// The callback through which a caller follows and cancels the library's
// long operations.
#pragma once

#include <cstdint>

namespace velmora {

// Implemented by the caller to follow and cancel long operations. Calls
// arrive synchronously on the caller's thread, after each card (each row for CSV).
class ICardConverterProgress {
 public:
  // Loading: cards handled so far over all files, the total known so far,
  // cards kept, cards left out (cut off by the end of their file without
  // END:VCARD), files that failed.
  // Converting: cards handled, 0 (the total is not known in advance), cards
  // written anew, cards copied unchanged, cards that could not be written.
  // Saving: cards handled, cards given, saved, skipped, errors.
  // Counting: 0, cards counted so far, 0, cards cut off (not counted),
  // files that failed.
  // CSV rows to vCards: the row's position in the range (from 1), the
  // range's length, vCards made, empty rows, rows that failed.
  virtual void OnCardConverterProgress(std::int32_t iContact, std::int32_t cContacts,
                                       std::int32_t StatsSuccess, std::int32_t StatsSkipped,
                                       std::int32_t StatsErrors) = 0;
  // True stops the running operation after the current card.
  virtual bool IsCardConverterCancelled() = 0;

 protected:
  ~ICardConverterProgress() = default;
};

}  // namespace velmora
