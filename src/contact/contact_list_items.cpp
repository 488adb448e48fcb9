#include "contact/contact_list_items.h"

#include "foundation/text_util.h"

namespace velmora::contact {
namespace {

// Label strings of the indexes 1 to 12.
constexpr std::u16string_view kRelatedLabels[] = {
    u"_$!<Assistant>!$_", u"_$!<Brother>!$_", u"_$!<Child>!$_",  u"_$!<Father>!$_",
    u"_$!<Friend>!$_",    u"_$!<Manager>!$_", u"_$!<Mother>!$_", u"_$!<Parent>!$_",
    u"_$!<Partner>!$_",   u"_$!<Sister>!$_",  u"_$!<Spouse>!$_", u"REFERRED_BY",
};
constexpr int kRelatedLabelCount =
    static_cast<int>(sizeof(kRelatedLabels) / sizeof(kRelatedLabels[0]));

}  // namespace

bool HasTypeToken(std::u16string_view types, std::u16string_view token) {
  std::size_t start = 0;
  while (start <= types.size()) {
    std::size_t comma = types.find(u',', start);
    if (comma == std::u16string_view::npos) comma = types.size();
    std::u16string_view piece = text::Trim(types.substr(start, comma - start));
    if (!piece.empty() && text::EqualsNoCase(piece, token)) return true;
    start = comma + 1;
  }
  return false;
}

std::u16string_view RelatedNameLabelText(EContactRelatedName label) {
  const int index = static_cast<int>(label);
  if (index < 1 || index > kRelatedLabelCount) return {};
  return kRelatedLabels[index - 1];
}

std::u16string_view RelatedNameLabelText(const ContactRelatedName& name) {
  std::u16string_view text = RelatedNameLabelText(name.Label);
  return text.empty() ? std::u16string_view(name.LabelOther) : text;
}

std::u16string_view RelatedNameLabelDisplay(const ContactRelatedName& name) {
  if (name.Label == vlmcrnReferredBy) return u"Referred by";
  return RelatedNameLabelText(name);
}

void SetRelatedNameLabel(ContactRelatedName& name, std::u16string_view text) {
  for (int i = 0; i < kRelatedLabelCount; ++i) {
    if (text::EqualsNoCase(text, kRelatedLabels[i])) {
      name.Label = static_cast<EContactRelatedName>(i + 1);
      name.LabelOther.clear();
      return;
    }
  }
  name.Label = vlmcrnOther;
  name.LabelOther.assign(text);
}

}  // namespace velmora::contact
