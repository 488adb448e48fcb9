#include "block_conversion.h"

namespace velmora::cli {
namespace {

// Keeps a block's events for the caller, who numbers its cards.
class EventRecorder final : public IConversionReport {
 public:
  void set_events(std::vector<RecordedEvent>* events) { events_ = events; }
  void OnConversionEvent(EConversionEvent event, std::int32_t card, const std::u16string& name,
                         const std::u16string& what, std::int32_t count) override {
    if (events_ != nullptr) events_->push_back({event, card, name, what, count});
  }

 private:
  std::vector<RecordedEvent>* events_ = nullptr;
};

// Passes Ctrl-C on to the library, which stops within the block, and
// keeps the count of cards cut off while loading.
class BlockProgress final : public ICardConverterProgress {
 public:
  explicit BlockProgress(const std::function<bool()>& cancelled) : cancelled_(cancelled) {}
  void OnCardConverterProgress(std::int32_t, std::int32_t, std::int32_t, std::int32_t skipped,
                               std::int32_t) override {
    skipped_ = skipped;
  }
  bool IsCardConverterCancelled() override { return cancelled_ && cancelled_(); }
  std::int32_t skipped() const { return skipped_; }

 private:
  const std::function<bool()>& cancelled_;
  std::int32_t skipped_ = 0;
};

}  // namespace

BlockConversion::BlockConversion(int jobs, BlockTarget target, std::function<bool()> cancelled)
    : jobs_(jobs < 1 ? 1 : jobs), target_(std::move(target)), cancelled_(std::move(cancelled)) {}

BlockConversion::~BlockConversion() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

bool BlockConversion::Start(const OpenConverter& open) {
  for (int i = 0; i < jobs_; ++i) workers_.emplace_back(&BlockConversion::Work, this, &open);
  std::unique_lock lock(mutex_);
  work_done_.wait(lock, [&] { return started_ + failed_ == jobs_; });
  return failed_ == 0;
}

void BlockConversion::Work(const OpenConverter* open) {
  std::shared_ptr<ICardConverter> converter;
  {
    std::lock_guard opening(open_mutex_);
    converter = (*open)();
  }
  {
    std::lock_guard lock(mutex_);
    ++(converter ? started_ : failed_);
  }
  work_done_.notify_all();
  if (!converter) return;
  EventRecorder recorder;
  converter->put_ConversionReport(&recorder);
  for (;;) {
    Slot* slot = nullptr;
    {
      std::unique_lock lock(mutex_);
      work_ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) break;  // stopping, nothing left
      slot = queue_.front();
      queue_.pop_front();
    }
    recorder.set_events(&slot->result.events);
    Convert(*converter, *slot);
    recorder.set_events(nullptr);
    {
      std::lock_guard lock(mutex_);
      slot->done = true;
    }
    work_done_.notify_all();
  }
  converter->put_ConversionReport(nullptr);
}

void BlockConversion::Convert(ICardConverter& converter, Slot& slot) {
  ConvertedBlock& result = slot.result;
  if (slot.block.empty()) return;
  const auto convert = [&](const std::vector<std::uint8_t>& text) {
    BlockProgress converting(cancelled_);
    result.status = converter.ConvertMemory(text, &result.converted, &result.copied, &result.errors,
                                            target_.version, target_.code_page, target_.iso_name,
                                            &result.text, &converting);
  };
  if (!slot.last) {
    // Most blocks need one pass: converted straight from the file's bytes,
    // cards written anew come out as they would from the joined cards. A
    // copied card keeps its own line breaks and a card read irregularly
    // (cut off, stopped) is counted by loading, so those blocks take the
    // whole way below, as does the last block of a file.
    convert(slot.block);
    if (result.status == S_OK && result.copied == 0) {
      result.cards = result.converted + result.errors;
      std::vector<std::uint8_t>().swap(slot.block);
      return;
    }
    result = ConvertedBlock();
  }
  BlockProgress loading(cancelled_);
  std::shared_ptr<ICards> cards;
  const HRESULT loaded = converter.LoadMemory(slot.block, 0, &loading, &cards);
  std::vector<std::uint8_t>().swap(slot.block);  // done with: its memory goes back now
  result.cut_off = loading.skipped();
  if (FAILED(loaded) || !cards || FAILED(cards->get_Count(&result.cards)) || result.cards == 0) {
    result.cards = 0;
    return;
  }
  std::vector<std::uint8_t> joined;
  cards->GetAllItems(&joined);
  cards.reset();
  // Within the whole file a line break follows every card but the last.
  if (!slot.last) joined.insert(joined.end(), {'\r', '\n'});
  convert(joined);
}

void BlockConversion::Submit(std::vector<std::uint8_t> block, bool last) {
  auto slot = std::make_unique<Slot>();
  slot->block = std::move(block);
  slot->last = last;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(slot.get());
  }
  order_.push_back(std::move(slot));
  work_ready_.notify_one();
}

ConvertedBlock BlockConversion::Take() {
  Slot& oldest = *order_.front();
  {
    std::unique_lock lock(mutex_);
    work_done_.wait(lock, [&] { return oldest.done; });
  }
  ConvertedBlock result = std::move(oldest.result);
  order_.pop_front();
  return result;
}

}  // namespace velmora::cli
