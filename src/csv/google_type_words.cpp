#include "csv/google_type_words.h"

#include <algorithm>
#include <iterator>

#include "foundation/text_util.h"

namespace velmora::csv {
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
  contact::EPhoneCategory kind;
};
constexpr PhoneWord kPhoneWords[] = {
    {u"Mobile", u"", contact::phcMobile},
    {u"Mobile", u"", contact::phcWorkMobile},
    {u"Mobile", u"", contact::phcHomeMobile},
    {u"iPhone", u"Mobile", contact::phcIPhone},
    {u"Work", u"", contact::phcWork},
    {u"Home", u"", contact::phcHome},
    {u"Other", u"", contact::phcOther},
    {u"Main", u"", contact::phcMain},
    {u"Work Fax", u"", contact::phcWorkFax},
    {u"Home Fax", u"", contact::phcHomeFax},
    {u"Other Fax", u"Fax", contact::phcOtherFax},
    {u"Google Voice", u"GRAND_CENTRAL", contact::phcGoogleVoice},
    {u"Pager", u"", contact::phcPager},
    {u"Car", u"", contact::phcCar},
    {u"ISDN", u"", contact::phcIsdn},
    {u"Assistant", u"", contact::phcAssistant},
    {u"Callback", u"", contact::phcCallback},
    {u"Company Main", u"Company", contact::phcCompanyMain},
    {u"Radio", u"", contact::phcRadio},
    {u"Telex", u"", contact::phcTelex},
    {u"TTY/TDD", u"", contact::phcTtyTdd},
};

constexpr const char16_t* kRelationWords[] = {u"Assistant", u"Brother", u"Child",  u"Father",
                                              u"Friend",    u"Manager", u"Mother", u"Parent",
                                              u"Partner",   u"Sister",  u"Spouse"};

bool Is(std::u16string_view a, std::u16string_view b) { return text::EqualsAsciiNoCase(a, b); }

}  // namespace

std::span<const char16_t* const> GoogleRelationWords() { return kRelationWords; }

contact::EPhoneCategory GooglePhoneKind(std::u16string_view word) {
  if (word.empty()) return contact::phcOther;
  for (const PhoneWord& w : kPhoneWords) {
    if (Is(word, w.word) || (!w.alternative.empty() && Is(word, w.alternative))) return w.kind;
  }
  return contact::phcNone;
}

std::u16string_view GooglePhoneWord(contact::EPhoneCategory kind) {
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

}  // namespace velmora::csv
