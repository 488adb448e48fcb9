#include "foundation/conversion_events.h"

namespace velmora {

void CConversionEvents::BeginCard(std::int32_t position) {
  pending_.clear();
  name_.clear();
  position_ = position;
  open_ = true;
}

void CConversionEvents::SetCardName(std::u16string_view name) {
  if (open_) name_.assign(name);
}

void CConversionEvents::Add(EConversionEvent event, std::u16string_view what, std::int32_t count) {
  if (!listening()) return;
  for (Pending& pending : pending_) {
    if (pending.event == event && pending.what == what) {
      pending.count += count;
      return;
    }
  }
  pending_.push_back({event, std::u16string(what), count});
}

void CConversionEvents::CommitCard() {
  if (!open_) return;
  open_ = false;
  if (report_ == nullptr) return;
  // Taken out first: the report may start another card of its own.
  std::vector<Pending> events;
  events.swap(pending_);
  for (const Pending& e : events) {
    report_->OnConversionEvent(e.event, position_, name_, e.what, e.count);
  }
}

void CConversionEvents::DiscardCard() {
  open_ = false;
  pending_.clear();
}

}  // namespace velmora
