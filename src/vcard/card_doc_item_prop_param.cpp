#include "vcard/card_doc_item_prop_param.h"

#include "foundation/text_util.h"
#include "vcard/card_param_arena.h"

namespace velmora::vcard {
namespace {

constexpr char kUnfoldLabel[] = "CCardDocItemPropParam.Unfold";

// The text with every run of CR and LF removed, and the single space that
// must follow it; a break followed by anything else is logged and the
// character kept. A zero byte ends the text.
std::string Unfold(CLog& log, std::string_view folded) {
  std::string text;
  std::size_t i = 0;
  const std::size_t n = folded.size();
  while (i < n && folded[i] != '\0') {
    if (folded[i] == '\r' || folded[i] == '\n') {
      while (i < n && (folded[i] == '\r' || folded[i] == '\n')) ++i;
      if (i >= n) break;
      if (folded[i] == ' ') {
        ++i;
      } else {
        log.LogError(kUnfoldLabel, E_GENERIC_FAILURE, "No space after CrLf");
      }
      continue;
    }
    text.push_back(folded[i++]);
  }
  return text;
}

bool HasLineBreak(std::string_view s) {
  for (const char c : s) {
    if (c == '\r' || c == '\n' || c == '\0') return true;
  }
  return false;
}

}  // namespace

const CardUnfoldedParam* CCardDocItemPropParam::Unfolded() const {
  if (unfolded_ == nullptr) {
    const std::string_view name(name_, static_cast<std::size_t>(name_length_));
    const std::string_view value(value_, static_cast<std::size_t>(value_length_));
    if (arena_ == nullptr) {
      static const CardUnfoldedParam kEmpty;
      return &kEmpty;
    }
    // Both texts are unfolded together, the first time either is asked for.
    unfolded_ =
        arena_->Keep(HasLineBreak(name) ? Unfold(arena_->log(), name) : std::string(name),
                     HasLineBreak(value) ? Unfold(arena_->log(), value) : std::string(value));
  }
  return unfolded_;
}

std::string_view CCardDocItemPropParam::GetValueTrimmed() const { return text::Trim(GetValue()); }

std::string CCardDocItemPropParam::ToString() const {
  const std::string_view name = GetName();
  const std::string_view value = GetValue();
  std::string out;
  if (name.empty() && value.empty()) {
    out = "Param()";
  } else if (name.empty()) {
    out.append("Param( \"").append(value).append("\" )");
  } else {
    out.append("Param( \"").append(name).append("\" = \"").append(value).append("\" )");
  }
  return out;
}

}  // namespace velmora::vcard
