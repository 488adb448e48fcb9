// Converting blocks of cards on several threads: each worker owns a
// converter it created in its own thread, the blocks go out to whichever
// worker is free, and the results come back in the order the blocks came
// in, so the output is the same whatever the number of workers.
//
// A block is converted from its bytes (ConvertMemory) when that is sure
// to give what the whole file gives: every card written anew and read
// regularly. Otherwise (copied cards, cut-off cards, the last block of a
// file) it goes the way a whole file goes: loaded (LoadMemory), its cards
// joined again (GetAllItems) as they would be among the cards of the whole
// file, then converted. Either way the bytes written do not depend on
// where the blocks were cut.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <velmora/card_converter.h>
#include <velmora/report.h>
#include <velmora/variant.h>

namespace velmora::cli {

// What the library said a card lost, kept until the block's turn comes.
struct RecordedEvent {
  EConversionEvent event;
  std::int32_t card;  // among the cards of the block, from 1
  std::u16string name;
  std::u16string what;
  std::int32_t count;
};

struct ConvertedBlock {
  HRESULT status = S_OK;     // of the conversion; a block without a card is not converted
  std::int32_t cards = 0;    // complete cards read
  std::int32_t cut_off = 0;  // cards without END:VCARD at the end of the text, left out
  std::int32_t converted = 0;
  std::int32_t copied = 0;
  std::int32_t errors = 0;
  std::vector<std::uint8_t> text;  // the cards, without a line break after the last
  std::vector<RecordedEvent> events;
};

// The vCard form the blocks are converted to.
struct BlockTarget {
  double version = 3.0;
  std::int32_t code_page = 0;
  Variant iso_name;  // missing: the library takes the list's name
};

class BlockConversion {
 public:
  // Creates and initialises a converter; null after an error message.
  using OpenConverter = std::function<std::shared_ptr<ICardConverter>()>;

  BlockConversion(int jobs, BlockTarget target, std::function<bool()> cancelled);
  ~BlockConversion();
  BlockConversion(const BlockConversion&) = delete;
  BlockConversion& operator=(const BlockConversion&) = delete;

  // Starts the workers. Each opens its converter in its own thread, one
  // after another (initialisation reads the environment and the log's
  // files), and only then do conversions start. False when one could not.
  bool Start(const OpenConverter& open);
  // Hands a block over; Take gives its result back in turn. `last`: the
  // block ends its file.
  void Submit(std::vector<std::uint8_t> block, bool last);
  // Blocks handed over and not yet taken back.
  std::size_t pending() const { return order_.size(); }
  // The result of the oldest block handed over; waits for it.
  ConvertedBlock Take();

 private:
  struct Slot {
    std::vector<std::uint8_t> block;
    bool last = false;
    ConvertedBlock result;
    bool done = false;
  };
  void Work(const OpenConverter* open);
  void Convert(ICardConverter& converter, Slot& slot);

  const int jobs_;
  const BlockTarget target_;
  const std::function<bool()> cancelled_;
  std::vector<std::thread> workers_;
  std::deque<std::unique_ptr<Slot>> order_;  // the caller's: in input order

  std::mutex mutex_;
  std::condition_variable work_ready_;
  std::condition_variable work_done_;
  std::deque<Slot*> queue_;  // waiting for a worker
  bool stopping_ = false;
  int started_ = 0;
  int failed_ = 0;
  std::mutex open_mutex_;  // one initialisation at a time
};

}  // namespace velmora::cli
