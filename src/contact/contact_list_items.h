// The elements of a contact record's lists.
//
// Every element keeps its vCard TYPE values (comma-separated in Types), the
// vCard group of the property it came from (Group, 8-bit; it ties an
// X-ABLABEL line of the same group to the element) and its Apple label
// (ABLabel). All other strings are UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "contact/contact_enums.h"

namespace velmora::contact {

struct ContactAddress {
  std::u16string Types;
  std::string Group;
  std::u16string ABLabel;
  std::u16string PostOfficeBox;
  std::u16string OfficeLocation;  // the extended address
  std::u16string Street;
  std::u16string City;
  std::u16string State;
  std::u16string PostalCode;
  std::u16string Country;

  bool operator==(const ContactAddress&) const = default;
};

struct ContactPhone {
  std::u16string Types;
  std::u16string Value;  // the number
  std::string Group;
  std::u16string ABLabel;

  bool operator==(const ContactPhone&) const = default;
};

struct ContactEmail {
  std::u16string Types;
  std::u16string AddressType;  // Outlook address type such as "SMTP"
  std::u16string Value;        // the address
  std::string Group;
  std::u16string ABLabel;

  bool operator==(const ContactEmail&) const = default;
};

struct ContactImpp {
  std::u16string Types;
  std::u16string ServiceType;  // such as "IM Address", "aim", "skype"
  std::u16string Protocol;     // URI scheme such as "xmpp", "x-apple"
  std::u16string Value;        // the handle
  std::string Group;
  std::u16string ABLabel;

  bool operator==(const ContactImpp&) const = default;
};

struct ContactRelatedName {
  std::u16string Name;
  std::u16string Types;
  std::string Group;
  EContactRelatedName Label = vlmcrnOther;
  std::u16string LabelOther;  // the label text when Label is vlmcrnOther

  bool operator==(const ContactRelatedName&) const = default;
};

struct ContactSocialProfile {
  std::u16string Value;
  std::u16string User;  // the X-USER parameter
  std::u16string Types;
  std::string Group;
  std::u16string ABLabel;

  bool operator==(const ContactSocialProfile&) const = default;
};

struct ContactUrl {
  std::u16string Value;
  std::u16string Types;
  std::string Group;
  std::u16string ABLabel;

  bool operator==(const ContactUrl&) const = default;
};

struct ContactDate {
  double Date = 0.0;  // automation date; see IsEmptyDate
  std::u16string Types;
  std::string Group;
  std::u16string ABLabel;

  bool operator==(const ContactDate&) const = default;
};

struct ContactCustomField {
  std::u16string Value;
  std::u16string Types;
  std::string Group;
  std::u16string ABLabel;

  bool operator==(const ContactCustomField&) const = default;
};

// The Apple label of anniversaries.
inline constexpr char16_t kAnniversaryLabel[] = u"_$!<Anniversary>!$_";

// True when `token` is one of the comma-separated values of `types`
// (each trimmed of white space; compared without case).
bool HasTypeToken(std::u16string_view types, std::u16string_view token);

// The label text of a related name: the Apple label string of indexes 1 to
// 11, "REFERRED_BY" for 12, LabelOther for 0 (and for an unknown index).
std::u16string_view RelatedNameLabelText(const ContactRelatedName& name);
// The same for a bare index; empty for 0 and unknown indexes.
std::u16string_view RelatedNameLabelText(EContactRelatedName label);
// The text shown for a label: "Referred by" for 12, else the label text.
std::u16string_view RelatedNameLabelDisplay(const ContactRelatedName& name);

// Sets Label from a label text: the index whose label string equals `text`
// (without case), or vlmcrnOther with LabelOther holding the text.
void SetRelatedNameLabel(ContactRelatedName& name, std::u16string_view text);

}  // namespace velmora::contact
