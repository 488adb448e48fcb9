#include "vcard/card_param_arena.h"

namespace velmora::vcard {

const CardUnfoldedParam* CardParamArena::Keep(std::string&& name, std::string&& value) {
  texts_.push_back(std::move(name));
  const std::string_view kept_name = texts_.back();
  texts_.push_back(std::move(value));
  unfolded_.push_back({kept_name, texts_.back()});
  return &unfolded_.back();
}

void CardParamArena::Clear() {
  pool_.Reset();
  unfolded_.clear();
  texts_.clear();
}

}  // namespace velmora::vcard
