// Instant-messaging handles: the IMPP property ("protocol:handle") and the
// older one-property-per-service forms (X-AIM, X-SKYPE, X-MS-IMADDRESS ...).
#include <utility>

#include "foundation/text_util.h"
#include "vcard/card_parser.h"

namespace velmora::vcard {

namespace {

constexpr char kImppLabel[] = "CCardParser.m_setImpp";
constexpr char kImppXLabel[] = "CCardParser.m_setImppX";

// The generic "IM Address" of Outlook is what Outlook shows first, so it
// goes to the front of the list.
constexpr char16_t kImAddress[] = u"IM Address";

struct ImService {
  std::string_view property;
  std::u16string_view service_type;
  std::u16string_view protocol;
};

constexpr ImService kImServices[] = {
    {"X-AIM", u"aim", u"aim"},
    {"X-GADUGADU", u"gadugadu", u"x-apple"},
    {"X-GOOGLE-TALK", u"googletalk", u"xmpp"},
    {"X-GTALK", u"googletalk", u"xmpp"},
    {"X-ICQ", u"icq", u"aim"},
    {"X-JABBER", u"jabber", u"xmpp"},
    {"X-MS-IMADDRESS", kImAddress, u"x-apple"},
    {"X-OUTL-IMADDRESS", kImAddress, u"x-apple"},
    {"X-MSN", u"msn", u"msnim"},
    {"X-QQ", u"qq", u"x-apple"},
    {"X-SKYPE", u"skype", u"skype"},
    {"X-SKYPE-USERNAME", u"skype", u"skype"},
    {"X-YAHOO", u"yahoo", u"ymsgr"},
};

}  // namespace

bool CCardParser::m_isImppDuplicate(std::string_view label, const CCardDocItemProp& prop,
                                    const contact::ContactImpp& impp) {
  for (const contact::ContactImpp& other : record_.Impps) {
    if (text::EqualsNoCase(other.ServiceType, impp.ServiceType) &&
        text::EqualsNoCase(other.Protocol, impp.Protocol) &&
        text::EqualsNoCase(other.Value, impp.Value)) {
      if (log_.level() >= loglDetail) {
        log_.LogWarning(label, S_FALSE,
                        "skipping %s duplicate (ServiceType = \"%s\", Protocol = \"%s\", "
                        "Value = \"%s\")",
                        prop.name(), impp.ServiceType, impp.Protocol, impp.Value);
      } else {
        m_logDuplicate(label, prop);
      }
      return true;
    }
  }
  return false;
}

bool CCardParser::m_setImpp(const CCardDocItemProp& prop) {
  contact::ContactImpp impp;
  if (const CCardDocItemPropParam* service = prop.FindParam("X-SERVICE-TYPE")) {
    impp.ServiceType = Widen(service->GetValueTrimmed());
  }
  impp.Types = TypesOf(prop);
  std::u16string value;
  prop.GetDecodedValue(value);
  const std::u16string_view trimmed = text::Trim(value);
  const std::size_t colon = trimmed.find(u':');
  if (colon == std::u16string_view::npos || colon == 0) {
    log_.LogError(kImppLabel, E_INVALIDARG, "No protocol in \"%s\"", trimmed);
    return false;
  }
  if (colon + 1 == trimmed.size()) {
    log_.LogError(kImppLabel, E_INVALIDARG, "No value in \"%s\"", trimmed);
    return false;
  }
  impp.Protocol.assign(trimmed.substr(0, colon));
  impp.Value.assign(trimmed.substr(colon + 1));
  if (m_isImppDuplicate(kImppLabel, prop, impp)) return false;
  impp.Group = prop.GetGroup();
  record_.Impps.push_back(std::move(impp));
  return true;
}

bool CCardParser::m_setImppX(const CCardDocItemProp& prop) {
  const std::string_view name = prop.name();
  const ImService* service = nullptr;
  for (const ImService& candidate : kImServices) {
    if (text::EqualsAsciiNoCase(name, candidate.property)) {
      service = &candidate;
      break;
    }
  }
  if (!service) {
    log_.LogWarning(kImppXLabel, S_FALSE, "Unknown prop(%s)", name);
    return false;
  }
  // A 3.0 writer turns these into IMPP lines, so the text changes.
  if (IsV30() && service->service_type == u"skype") record_.SourceCopyable = false;

  contact::ContactImpp impp;
  impp.ServiceType = service->service_type;
  impp.Protocol = service->protocol;
  std::u16string value;
  prop.GetDecodedValue(value);
  impp.Value.assign(text::Trim(value));
  if (impp.Value.empty()) {
    log_.LogDetail(kImppXLabel, "%s: is empty", name);
    return false;
  }
  if (m_isImppDuplicate(kImppXLabel, prop, impp)) return false;
  impp.Types = TypesOf(prop);
  impp.Group = prop.GetGroup();
  if (impp.ServiceType == kImAddress) {
    record_.Impps.insert(record_.Impps.begin(), std::move(impp));
  } else {
    record_.Impps.push_back(std::move(impp));
  }
  return true;
}

}  // namespace velmora::vcard
