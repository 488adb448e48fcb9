// Storage for the many small objects of a loaded document (items, properties,
// parameters): blocks of slots handed out in runs. A load then costs a few
// allocations instead of one per object, and clearing costs nothing per
// object. Blocks are kept for the next load until the pool is destroyed.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmora::vcard {

template <typename T>
class CardBlockPool {
  static_assert(std::is_trivially_destructible_v<T>,
                "pooled objects are dropped without destruction");
  static_assert(std::is_trivially_copyable_v<T>, "runs are moved bytewise");

 public:
  explicit CardBlockPool(std::size_t block_size) : block_size_(block_size) {}
  ~CardBlockPool() {
    std::allocator<T> allocator;
    for (Block& block : blocks_) allocator.deallocate(block.slots, block.size);
  }
  CardBlockPool(const CardBlockPool&) = delete;
  CardBlockPool& operator=(const CardBlockPool&) = delete;

  // `count` uninitialised slots in a row, stable until Reset.
  T* Allocate(std::size_t count) {
    while (current_ < blocks_.size() && blocks_[current_].size - blocks_[current_].used < count) {
      ++current_;
    }
    if (current_ == blocks_.size()) AddBlock(count > block_size_ ? count : block_size_);
    Block& block = blocks_[current_];
    T* first = block.slots + block.used;
    block.used += count;
    return first;
  }

  // Builds a run one slot at a time: returns an uninitialised slot right
  // after the `count` slots starting at `run` (a new run when `count` is 0).
  // When the block is full, the run so far moves to a fresh block and `run`
  // follows it, so the slots of a run are always contiguous.
  T* Append(T*& run, std::size_t count) {
    if (blocks_.empty()) AddBlock(block_size_);
    Block* block = &blocks_[current_];
    if (count == 0) run = block->slots + block->used;
    if (block->used == block->size) {
      block->used -= count;  // the run's slots go back to this block
      ++current_;
      while (current_ < blocks_.size() && blocks_[current_].size < count + 1) ++current_;
      if (current_ == blocks_.size()) {
        AddBlock(count + 1 > block_size_ / 2 ? 2 * (count + 1) : block_size_);
      }
      block = &blocks_[current_];
      if (count > 0) std::memcpy(static_cast<void*>(block->slots), run, count * sizeof(T));
      block->used = count;
      run = block->slots;
    }
    return block->slots + block->used++;
  }
  // Gives back the slot the last Append returned.
  void Unappend() { --blocks_[current_].used; }

  template <typename... Args>
  T* Emplace(Args&&... args) {
    return ::new (static_cast<void*>(Allocate(1))) T(std::forward<Args>(args)...);
  }

  // Forgets every object handed out; the blocks stay for reuse.
  void Reset() {
    for (Block& block : blocks_) block.used = 0;
    current_ = 0;
  }

 private:
  void AddBlock(std::size_t size) {
    Block block;
    block.size = size;
    block.slots = std::allocator<T>().allocate(size);
    blocks_.push_back(block);
  }

  struct Block {
    T* slots = nullptr;
    std::size_t size = 0;
    std::size_t used = 0;
  };

  std::size_t block_size_;
  std::vector<Block> blocks_;
  std::size_t current_ = 0;
};

}  // namespace velmora::vcard
