// One parameter of a vCard property line: "TYPE=HOME" in "TEL;TYPE=HOME:1",
// or a bare one such as "HOME" in the 2.1 line "TEL;HOME:1" (empty name).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vcard/card_slice.h"

namespace velmora::vcard {

class CardParamArena;
class CCardDocItemProp;

// The unfolded name and value of a folded parameter, kept by the arena.
struct CardUnfoldedParam {
  std::string_view name;
  std::string_view value;
};

class CCardDocItemPropParam {
 public:
  CCardDocItemPropParam() = default;
  // `may_be_folded` is false when the parameter text was on one line, so
  // that there is nothing to unfold.
  CCardDocItemPropParam(CardParamArena& arena, CardSlice name, CardSlice value,
                        bool may_be_folded = true)
      : arena_(&arena),
        name_(name.start),
        value_(value.start),
        name_length_(name.length),
        value_length_(value.length),
        folded_(may_be_folded) {}

  // The name and value with parameter folds removed (a line break and the
  // space after it). Computed on first use and kept; the views stay valid as
  // long as the owning document holds the item.
  std::string_view GetName() const {
    return folded_ ? Unfolded()->name : std::string_view(name_, name_length_);
  }
  std::string_view GetValue() const {
    return folded_ ? Unfolded()->value : std::string_view(value_, value_length_);
  }
  // GetValue without white space at either end.
  std::string_view GetValueTrimmed() const;
  // True for a parameter written without name and '='.
  bool IsBare() const { return GetName().empty(); }

  // "Param()", "Param( \"value\" )" or "Param( \"name\" = \"value\" )".
  std::string ToString() const;

  // The owning property; set once its item is complete.
  const CCardDocItemProp* property() const { return property_; }

 private:
  friend class CCardDocItem;

  const CardUnfoldedParam* Unfolded() const;

  // Kept small: a large file holds hundreds of thousands.
  CardParamArena* arena_ = nullptr;
  const CCardDocItemProp* property_ = nullptr;
  const char* name_ = "";
  const char* value_ = "";
  std::int32_t name_length_ = 0;
  std::int32_t value_length_ = 0;
  mutable const CardUnfoldedParam* unfolded_ = nullptr;
  bool folded_ = false;  // the texts may hold line breaks
};

}  // namespace velmora::vcard
