// One-line dumps of a contact record's lists, so that parser expectations
// read as one string each: elements joined by "; ", fields by "|".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contact/card_tools.h"
#include "contact/contact_record.h"
#include "foundation/text_format.h"

namespace velmora::test {

inline std::string U8(std::u16string_view text) { return Utf16ToUtf8Text(text); }

// value|types|group|label
inline std::string DumpItem(const ContactPhone& p) {
  return U8(p.Value) + "|" + U8(p.Types) + "|" + p.Group + "|" + U8(p.ABLabel);
}
// value|types|address type|group|label
inline std::string DumpItem(const ContactEmail& e) {
  return U8(e.Value) + "|" + U8(e.Types) + "|" + U8(e.AddressType) + "|" + e.Group + "|" +
         U8(e.ABLabel);
}
// service|protocol|value|types|group|label
inline std::string DumpItem(const ContactImpp& i) {
  return U8(i.ServiceType) + "|" + U8(i.Protocol) + "|" + U8(i.Value) + "|" + U8(i.Types) + "|" +
         i.Group + "|" + U8(i.ABLabel);
}
// pobox|ext|street|city|state|zip|country|types|group|label
inline std::string DumpItem(const ContactAddress& a) {
  return U8(a.PostOfficeBox) + "|" + U8(a.OfficeLocation) + "|" + U8(a.Street) + "|" + U8(a.City) +
         "|" + U8(a.State) + "|" + U8(a.PostalCode) + "|" + U8(a.Country) + "|" + U8(a.Types) +
         "|" + a.Group + "|" + U8(a.ABLabel);
}
// name|label index|label other|types|group
inline std::string DumpItem(const ContactRelatedName& r) {
  return U8(r.Name) + "|" + std::to_string(static_cast<int>(r.Label)) + "|" + U8(r.LabelOther) +
         "|" + U8(r.Types) + "|" + r.Group;
}
// value|user|types|group|label
inline std::string DumpItem(const ContactSocialProfile& s) {
  return U8(s.Value) + "|" + U8(s.User) + "|" + U8(s.Types) + "|" + s.Group + "|" + U8(s.ABLabel);
}
// value|types|group|label
inline std::string DumpItem(const ContactUrl& u) {
  return U8(u.Value) + "|" + U8(u.Types) + "|" + u.Group + "|" + U8(u.ABLabel);
}
// YYYY-MM-DD (empty for no date)|types|group|label
inline std::string DumpItem(const ContactDate& d) {
  return (IsEmptyDate(d.Date) ? std::string() : Date2Str(d.Date, false)) + "|" + U8(d.Types) + "|" +
         d.Group + "|" + U8(d.ABLabel);
}
inline std::string DumpItem(const ContactCustomField& c) {
  return U8(c.Value) + "|" + U8(c.Types) + "|" + c.Group + "|" + U8(c.ABLabel);
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
inline std::string DumpName(const ContactRecord& r) {
  return U8(r.Title) + "|" + U8(r.FirstName) + "|" + U8(r.MiddleName) + "|" + U8(r.LastName) + "|" +
         U8(r.Suffix);
}

inline std::string DumpDate(double date) {
  return IsEmptyDate(date) ? std::string() : Date2Str(date, false);
}

}  // namespace velmora::test
