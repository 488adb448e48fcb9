#include "block_count.h"

#include <memory>
#include <vector>

#include "card_blocks.h"

namespace velmora::cli {
namespace {

constexpr std::size_t kCountBlockBytes = 2u << 20;

// The loading counters of one block, passed on as the counters of the file.
class BlockCountProgress final : public ICardConverterProgress {
 public:
  BlockCountProgress(ICardConverterProgress* outer, const CardCount& before)
      : outer_(outer), before_(before) {}
  void OnCardConverterProgress(std::int32_t, std::int32_t, std::int32_t kept, std::int32_t skipped,
                               std::int32_t) override {
    skipped_ = skipped;
    if (outer_ != nullptr) {
      outer_->OnCardConverterProgress(0, before_.cards + kept, 0, before_.cut_off + skipped, 0);
    }
  }
  bool IsCardConverterCancelled() override {
    return outer_ != nullptr && outer_->IsCardConverterCancelled();
  }
  std::int32_t skipped() const { return skipped_; }

 private:
  ICardConverterProgress* outer_;
  const CardCount& before_;
  std::int32_t skipped_ = 0;
};

}  // namespace

bool CountCardBlocks(ICardConverter& library, const std::string& path,
                     ICardConverterProgress* progress, CardCount* count) {
  *count = {};
  CardBlockReader reader(kCountBlockBytes);
  std::string error;
  if (!reader.Open(path, &error) || !reader.plain()) return false;
  CardCount counted;
  for (;;) {
    std::vector<std::uint8_t> block;
    const CardBlockReader::Result next = reader.Next(&block, &error);
    if (next == CardBlockReader::Result::kFailed) return false;
    if (next == CardBlockReader::Result::kEnd) break;
    BlockCountProgress block_progress(progress, counted);
    std::shared_ptr<ICards> cards;
    library.LoadMemory(block, 0, &block_progress, &cards);
    std::int32_t in_block = 0;
    if (cards) cards->get_Count(&in_block);
    counted.cards += in_block;
    counted.cut_off += block_progress.skipped();
    if (block_progress.IsCardConverterCancelled()) break;
  }
  *count = counted;
  return true;
}

}  // namespace velmora::cli
