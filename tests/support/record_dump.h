// Contact records in tests: builders for list elements, and one-line dumps
// of a record's lists and derived views, so that expectations read as one
// string each: elements joined by "; ", fields by "|".
#pragma once

#include <algorithm>
#include <concepts>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "contact/card_names.h"
#include "contact/card_tools.h"
#include "contact/contact_record.h"
#include "foundation/text_format.h"
#include "support/test_env.h"

namespace velmora::test {

// Every text field of a record, by its member name.
#define VELMORA_TEXT_FIELD(name) \
  std::pair { #name, &contact::ContactRecord::name }
inline constexpr std::pair<const char*, std::u16string contact::ContactRecord::*> kTextFields[] = {
    VELMORA_TEXT_FIELD(FirstName),
    VELMORA_TEXT_FIELD(MiddleName),
    VELMORA_TEXT_FIELD(LastName),
    VELMORA_TEXT_FIELD(Title),
    VELMORA_TEXT_FIELD(Suffix),
    VELMORA_TEXT_FIELD(PhoneticFirstName),
    VELMORA_TEXT_FIELD(PhoneticMiddleName),
    VELMORA_TEXT_FIELD(PhoneticLastName),
    VELMORA_TEXT_FIELD(FormattedName),
    VELMORA_TEXT_FIELD(NickName),
    VELMORA_TEXT_FIELD(MaidenName),
    VELMORA_TEXT_FIELD(Profession),
    VELMORA_TEXT_FIELD(CompanyName),
    VELMORA_TEXT_FIELD(Department),
    VELMORA_TEXT_FIELD(JobTitle),
    VELMORA_TEXT_FIELD(Body),
    VELMORA_TEXT_FIELD(Categories),
    VELMORA_TEXT_FIELD(NetMeetingServer),
    VELMORA_TEXT_FIELD(NetMeetingAlias),
    VELMORA_TEXT_FIELD(InternetFreeBusyAddress),
    VELMORA_TEXT_FIELD(User1),
    VELMORA_TEXT_FIELD(User2),
    VELMORA_TEXT_FIELD(User3),
    VELMORA_TEXT_FIELD(User4),
    VELMORA_TEXT_FIELD(Hobby),
    VELMORA_TEXT_FIELD(Account),
    VELMORA_TEXT_FIELD(BillingInformation),
    VELMORA_TEXT_FIELD(GovernmentIDNumber),
    VELMORA_TEXT_FIELD(Keyword),
    VELMORA_TEXT_FIELD(Location),
    VELMORA_TEXT_FIELD(LocationEx),
    VELMORA_TEXT_FIELD(Mileage),
    VELMORA_TEXT_FIELD(OrganizationalIDNumber),
    VELMORA_TEXT_FIELD(School),
    VELMORA_TEXT_FIELD(YomiCompany),
    VELMORA_TEXT_FIELD(PhotoExt),
    VELMORA_TEXT_FIELD(UID)};
#undef VELMORA_TEXT_FIELD

// Phones, URLs and custom fields: value|types|group|label
template <typename T>
requires std::same_as<T, contact::ContactPhone> || std::same_as<T, contact::ContactUrl> ||
    std::same_as<T, contact::ContactCustomField>
        std::string DumpItem(const T& x) {
  return U8(x.Value) + "|" + U8(x.Types) + "|" + x.Group + "|" + U8(x.ABLabel);
}
// value|types|address type|group|label
inline std::string DumpItem(const contact::ContactEmail& e) {
  return U8(e.Value) + "|" + U8(e.Types) + "|" + U8(e.AddressType) + "|" + e.Group + "|" +
         U8(e.ABLabel);
}
// service|protocol|value|types|group|label
inline std::string DumpItem(const contact::ContactImpp& i) {
  return U8(i.ServiceType) + "|" + U8(i.Protocol) + "|" + U8(i.Value) + "|" + U8(i.Types) + "|" +
         i.Group + "|" + U8(i.ABLabel);
}
// pobox|ext|street|city|state|zip|country|types|group|label
inline std::string DumpItem(const contact::ContactAddress& a) {
  return U8(a.PostOfficeBox) + "|" + U8(a.OfficeLocation) + "|" + U8(a.Street) + "|" + U8(a.City) +
         "|" + U8(a.State) + "|" + U8(a.PostalCode) + "|" + U8(a.Country) + "|" + U8(a.Types) +
         "|" + a.Group + "|" + U8(a.ABLabel);
}
// name|label index|label other|types|group
inline std::string DumpItem(const contact::ContactRelatedName& r) {
  return U8(r.Name) + "|" + std::to_string(static_cast<int>(r.Label)) + "|" + U8(r.LabelOther) +
         "|" + U8(r.Types) + "|" + r.Group;
}
// value|user|types|group|label
inline std::string DumpItem(const contact::ContactSocialProfile& s) {
  return U8(s.Value) + "|" + U8(s.User) + "|" + U8(s.Types) + "|" + s.Group + "|" + U8(s.ABLabel);
}
// YYYY-MM-DD (empty for no date)|types|group|label
inline std::string DumpItem(const contact::ContactDate& d) {
  return (contact::IsEmptyDate(d.Date) ? std::string() : contact::Date2Str(d.Date, false)) + "|" +
         U8(d.Types) + "|" + d.Group + "|" + U8(d.ABLabel);
}

template <typename T>
std::string DumpList(const std::vector<T>& list) {
  std::string out;
  for (const T& element : list) {
    if (!out.empty()) out += "; ";
    out += DumpItem(element);
  }
  return out;
}

// "Title|First|Middle|Last|Suffix"
inline std::string DumpName(const contact::ContactRecord& r) {
  return U8(r.Title) + "|" + U8(r.FirstName) + "|" + U8(r.MiddleName) + "|" + U8(r.LastName) + "|" +
         U8(r.Suffix);
}

inline std::string DumpDate(double date) {
  return contact::IsEmptyDate(date) ? std::string() : contact::Date2Str(date, false);
}

inline contact::ContactPhone Phone(std::u16string value, std::u16string types,
                                   std::u16string label = u"") {
  contact::ContactPhone phone;
  phone.Value = std::move(value), phone.Types = std::move(types), phone.ABLabel = std::move(label);
  return phone;
}

inline contact::ContactAddress Address(std::u16string street, std::u16string types) {
  contact::ContactAddress address;
  address.Street = std::move(street), address.Types = std::move(types);
  return address;
}

inline contact::ContactUrl Url(std::u16string value, std::u16string types) {
  contact::ContactUrl url;
  url.Value = std::move(value), url.Types = std::move(types);
  return url;
}

inline contact::ContactRelatedName Related(std::u16string name, EContactRelatedName label) {
  contact::ContactRelatedName related;
  related.Name = std::move(name), related.Label = label;
  return related;
}

// The non-empty telephone slots as "Slot=value" items joined by "; ", in
// slot order, e.g. "Business=1; Mobile=2".
inline std::string DumpTelephoneSlots(const contact::ContactRecord& record) {
  static constexpr const char* kNames[contact::kTelephoneSlotCount] = {
      "Business",    "Business2", "BusinessFax", "Home",    "Home2", "HomeFax",  "Mobile",
      "Car",         "Pager",     "ISDN",        "Primary", "Other", "OtherFax", "Assistant",
      "CompanyMain", "Callback",  "Radio",       "TTYTDD",  "Telex"};
  std::string out;
  for (int slot = 0; slot < contact::kTelephoneSlotCount; ++slot) {
    const std::u16string& value = record.TelephoneSlot(slot);
    if (value.empty()) continue;
    if (!out.empty()) out += "; ";
    out += kNames[slot];
    out += "=";
    out += U8(value);
  }
  return out;
}

// The five related-name slots as "Manager|Assistant|Spouse|Children|ReferredBy".
inline std::string DumpRelatedNameSlots(const contact::ContactRecord& record) {
  std::string out;
  for (int slot = 0; slot < contact::kRelatedNameSlotCount; ++slot) {
    if (slot > 0) out += "|";
    out += U8(record.RelatedNameSlot(slot));
  }
  return out;
}

// The Street of the address of each kind as "business|home|other", "-" for
// none.
inline std::string DumpAddressKinds(const contact::ContactRecord& record) {
  std::string out;
  for (EContactAddress kind : {vlmcaBusiness, vlmcaHome, vlmcaOther}) {
    if (!out.empty()) out += "|";
    const contact::ContactAddress* address = record.AddressByKind(kind);
    out += address ? U8(address->Street) : "-";
  }
  return out;
}

// The URL of each kind as "personal|business", "-" for none.
inline std::string DumpUrlKinds(const contact::ContactRecord& record) {
  const contact::ContactUrl* personal = record.UrlByKind(contact::urlkPersonal);
  const contact::ContactUrl* business = record.UrlByKind(contact::urlkBusiness);
  return (personal ? U8(personal->Value) : "-") + "|" + (business ? U8(business->Value) : "-");
}

// A local date and time as an automation date (0 when invalid).
inline double Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  double date = 0;
  SystemTimeToVariantTime(SystemTime{year, month, 0, day, hour, minute, second}, &date);
  return date;
}

inline std::string DateTime(double date) {
  SystemTime st;
  if (contact::IsEmptyDate(date) || !VariantTimeToSystemTime(date, &st)) return "-";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", st.year, st.month, st.day,
                st.hour, st.minute, st.second);
  return buffer;
}

// Every field a record carries from one vCard to the next, one per line.
// Groups are left out (the writer numbers its own "item" groups) and so is
// what describes the source text rather than the contact.
inline std::string DumpContact(contact::ContactRecord r, bool with_email_types = true) {
  auto clear_groups = [](auto& list) {
    for (auto& element : list) element.Group.clear();
  };
  clear_groups(r.Addresses), clear_groups(r.Phones), clear_groups(r.Emails);
  clear_groups(r.Impps), clear_groups(r.RelatedNames), clear_groups(r.SocialProfiles);
  clear_groups(r.Urls), clear_groups(r.Dates), clear_groups(r.CustomFields);
  // The writer drops the quotes of quoted type words (TYPE="work,voice").
  auto unquote_types = [](auto& list) {
    for (auto& element : list) std::erase(element.Types, u'"');
  };
  unquote_types(r.Addresses), unquote_types(r.Phones), unquote_types(r.Emails);
  unquote_types(r.Urls), unquote_types(r.Dates), unquote_types(r.RelatedNames);
  std::erase_if(r.Addresses,
                [](const contact::ContactAddress& a) { return contact::IsAddressEmpty(a); });
  if (!with_email_types) {
    for (auto& e : r.Emails) e.Types.clear(), e.AddressType.clear();
  }
  if (r.PhotoExt == u"JPG") r.PhotoExt = u"JPEG";
  if (r.PhotoExt == u"TIF") r.PhotoExt = u"TIFF";
  // Several PREF e-mails swap places on each trip (each goes to the front).
  std::stable_sort(r.Emails.begin(), r.Emails.end(),
                   [](const contact::ContactEmail& a, const contact::ContactEmail& b) {
                     return a.Value < b.Value;
                   });
  std::string out;
  auto line = [&](const char* name, std::string value) {
    // Line breaks come back as CR LF; other control characters as spaces.
    std::string normal;
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') continue;
      normal.push_back(c == '\r' ? '\n' : (c > 0 && c < 0x20 && c != '\n' && c != '\t') ? ' ' : c);
    }
    if (!normal.empty()) out += std::string(name) + "=" + normal + "\n";
  };
  line("name", DumpName(r));
  line("phonetic",
       U8(r.PhoneticFirstName + u"|" + r.PhoneticMiddleName + u"|" + r.PhoneticLastName));
  // FN is written as the name composed from N (FormattedName when N is empty).
  line("fullname", U8(contact::ComposeFullName(r)));
  line("nick", U8(r.NickName)), line("maiden", U8(r.MaidenName));
  line("role", U8(r.Profession)), line("org", U8(r.CompanyName + u"|" + r.Department));
  line("title", U8(r.JobTitle)), line("note", U8(r.Body));
  line("bday", DumpDate(r.Birthday));
  line("adr", DumpList(r.Addresses)), line("tel", DumpList(r.Phones));
  line("email", DumpList(r.Emails)), line("impp", DumpList(r.Impps));
  line("related", DumpList(r.RelatedNames)), line("social", DumpList(r.SocialProfiles));
  line("url", DumpList(r.Urls)), line("dates", DumpList(r.Dates));
  line("custom", DumpList(r.CustomFields));
  // Categories are written trimmed.
  std::string categories = U8(r.Categories);
  for (std::size_t at; (at = categories.find(", ")) != std::string::npos;)
    categories.erase(at + 1, 1);
  line("categories", categories);
  line("nm", U8(r.NetMeetingServer + u"|" + r.NetMeetingAlias));
  line("fburl", U8(r.InternetFreeBusyAddress));
  line("rev", DateTime(r.LastModificationTime));
  line("user", U8(r.User1 + u"|" + r.User2 + u"|" + r.User3 + u"|" + r.User4));
  line("outlook",
       U8(r.Hobby + u"|" + r.Account + u"|" + r.BillingInformation + u"|" + r.GovernmentIDNumber +
          u"|" + r.Keyword + u"|" + r.Location + u"|" + r.LocationEx + u"|" + r.Mileage + u"|" +
          r.OrganizationalIDNumber + u"|" + r.School + u"|" + r.YomiCompany));
  line("class", std::to_string(r.Sensitivity)), line("gender", std::to_string(r.Gender));
  line("mailing", std::to_string(r.SelectedMailingAddress));
  line("photo", r.Photo.empty() ? "" : std::to_string(r.Photo.size()) + " " + U8(r.PhotoExt));
  line("uid", U8(r.UID));
  return out;
}

}  // namespace velmora::test
