#include "csv/google_type_words.h"

#include <algorithm>
#include <iterator>

#include "foundation/text_util.h"

namespace velmora {
namespace {

constexpr GoogleImService kImServices[] = {
    {u"Aim", u"aim", u"aim"},
    {u"Facebook", u"facebook", u"xmpp"},
    {u"Gadu-Gadu", u"gadugadu", u"x-apple"},
    {u"Gadugadu", u"gadugadu", u"x-apple"},
    {u"Google Talk", u"googletalk", u"xmpp"},
    {u"ICQ", u"icq", u"aim"},
    {u"IM Address", u"IM Address", u"x-apple"},
    {u"Jabber", u"jabber", u"xmpp"},
    {u"MSN", u"msn", u"msnim"},
    {u"QQ", u"qq", u"x-apple"},
    {u"Skype", u"skype", u"skype"},
    {u"Yahoo!", u"yahoo", u"ymsgr"},
};

// The phone type words in search order, with an alternative word accepted
// on import.
struct PhoneWord {
  std::u16string_view word;
  std::u16string_view alternative;
  EPhoneCategory kind;
};
constexpr PhoneWord kPhoneWords[] = {
    {u"Mobile", u"", phcMobile},
    {u"Mobile", u"", phcWorkMobile},
    {u"Mobile", u"", phcHomeMobile},
    {u"iPhone", u"Mobile", phcIPhone},
    {u"Work", u"", phcWork},
    {u"Home", u"", phcHome},
    {u"Other", u"", phcOther},
    {u"Main", u"", phcMain},
    {u"Work Fax", u"", phcWorkFax},
    {u"Home Fax", u"", phcHomeFax},
    {u"Other Fax", u"Fax", phcOtherFax},
    {u"Google Voice", u"GRAND_CENTRAL", phcGoogleVoice},
    {u"Pager", u"", phcPager},
    {u"Car", u"", phcCar},
    {u"ISDN", u"", phcIsdn},
    {u"Assistant", u"", phcAssistant},
    {u"Callback", u"", phcCallback},
    {u"Company Main", u"Company", phcCompanyMain},
    {u"Radio", u"", phcRadio},
    {u"Telex", u"", phcTelex},
    {u"TTY/TDD", u"", phcTtyTdd},
};

constexpr const char16_t* kRelationWords[] = {u"Assistant", u"Brother", u"Child",  u"Father",
                                              u"Friend",    u"Manager", u"Mother", u"Parent",
                                              u"Partner",   u"Sister",  u"Spouse"};

bool Is(std::u16string_view a, std::u16string_view b) { return text::EqualsAsciiNoCase(a, b); }

}  // namespace

std::span<const char16_t* const> GoogleRelationWords() { return kRelationWords; }

EPhoneCategory GooglePhoneKind(std::u16string_view word) {
  if (word.empty()) return phcOther;
  for (const PhoneWord& w : kPhoneWords) {
    if (Is(word, w.word) || (!w.alternative.empty() && Is(word, w.alternative))) return w.kind;
  }
  return phcNone;
}

std::u16string_view GooglePhoneWord(EPhoneCategory kind) {
  for (const PhoneWord& w : kPhoneWords) {
    if (w.kind == kind) return w.word;
  }
  return {};
}

const GoogleImService* FindGoogleImService(std::u16string_view word) {
  const auto found = std::find_if(std::begin(kImServices), std::end(kImServices),
                                  [&](const GoogleImService& s) { return Is(word, s.word); });
  return found == std::end(kImServices) ? nullptr : found;
}

std::u16string GoogleImServiceWord(std::u16string_view service_type, std::u16string_view protocol) {
  for (const GoogleImService& s : kImServices) {
    if (Is(service_type, s.service_type) && Is(protocol, s.protocol)) return std::u16string(s.word);
  }
  return std::u16string(service_type);
}

}  // namespace velmora
