// Where the parameters of a document's properties live: runs of parameter
// objects in a block pool (the parameters of one property are contiguous)
// and the unfolded texts of folded parameters.
#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "foundation/log.h"
#include "vcard/card_block_pool.h"
#include "vcard/card_doc_item_prop_param.h"

namespace velmora::vcard {

class CardParamArena {
 public:
  explicit CardParamArena(CLog& log) : log_(log), pool_(8192) {}
  CardParamArena(const CardParamArena&) = delete;
  CardParamArena& operator=(const CardParamArena&) = delete;

  CLog& log() const { return log_; }

  // `count` uninitialised parameter slots in a row; the caller constructs
  // each. They stay where they are until Clear.
  CCardDocItemPropParam* Allocate(std::size_t count) { return pool_.Allocate(count); }
  // Keeps the unfolded texts of a parameter until Clear.
  const CardUnfoldedParam* Keep(std::string&& name, std::string&& value);
  // Forgets everything handed out.
  void Clear();

 private:
  CLog& log_;
  CardBlockPool<CCardDocItemPropParam> pool_;
  std::deque<std::string> texts_;
  std::deque<CardUnfoldedParam> unfolded_;
};

}  // namespace velmora::vcard
