// What the card being written loses on the way: gathered while the card is
// parsed, converted and written, then handed to the caller's report once
// the card is out. A card copied unchanged loses nothing, so its events are
// dropped. Events outside a card (parsing for a preview or for duplicate
// resolution) go nowhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/report.h>

namespace velmora {

class CConversionEvents {
 public:
  void set_report(IConversionReport* report) { report_ = report; }

  // True while a card is open and someone listens: checks that cost
  // something are made only then.
  bool listening() const { return report_ != nullptr && open_; }

  // Opens the card at `position` (from 1); events of a card left open are
  // dropped.
  void BeginCard(std::int32_t position);
  void SetCardName(std::u16string_view name);
  // Adds to the open card; the same event and `what` twice add up.
  void Add(EConversionEvent event, std::u16string_view what, std::int32_t count = 1);
  // Hands the open card's events to the report and closes it.
  void CommitCard();
  // Closes the open card without a word.
  void DiscardCard();

 private:
  struct Pending {
    EConversionEvent event;
    std::u16string what;
    std::int32_t count;
  };

  IConversionReport* report_ = nullptr;
  bool open_ = false;
  std::int32_t position_ = 0;
  std::u16string name_;
  std::vector<Pending> pending_;
};

// Opens a card for the lifetime of the scope; unless committed, its events
// are dropped when the scope ends (a card that failed, or an exception).
class CCardEventScope {
 public:
  CCardEventScope(CConversionEvents& events, std::int32_t position) : events_(events) {
    events_.BeginCard(position);
  }
  ~CCardEventScope() { events_.DiscardCard(); }
  CCardEventScope(const CCardEventScope&) = delete;
  CCardEventScope& operator=(const CCardEventScope&) = delete;

  void Commit() { events_.CommitCard(); }

 private:
  CConversionEvents& events_;
};

}  // namespace velmora
