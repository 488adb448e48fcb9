// Helpers for the contact-model tests: a log whose lines can be read back,
// record builders and one-line dumps of the derived views.
#pragma once

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "contact/contact_record.h"
#include "foundation/log.h"
#include "foundation/module_info.h"
#include "foundation/text_format.h"
#include "support/test_env.h"

namespace velmora::test {

// A log writing into the test sandbox, with its own file per object.
class LogCapture {
 public:
  explicit LogCapture(int level = loglDetail) {
    static int counter = 0;
    log_.Init(ThisModule(), Format("contact-test-%d", ++counter), u"VelmoraTests", u"contact",
              level, true);
  }
  CLog& log() { return log_; }
  std::string Text() const { return ReadFile(log_.log_path()); }
  bool Contains(std::string_view needle) const { return Text().find(needle) != std::string::npos; }
  int Count(std::string_view needle) const {
    const std::string text = Text();
    int count = 0;
    for (std::size_t pos = text.find(needle); pos != std::string::npos;
         pos = text.find(needle, pos + needle.size())) {
      ++count;
    }
    return count;
  }

 private:
  CLog log_;
};

inline std::string U8(std::u16string_view text) { return Utf16ToUtf8Text(text); }

inline ContactPhone Phone(std::u16string value, std::u16string types, std::u16string label = u"") {
  ContactPhone phone;
  phone.Value = std::move(value);
  phone.Types = std::move(types);
  phone.ABLabel = std::move(label);
  return phone;
}

inline ContactAddress Address(std::u16string street, std::u16string types) {
  ContactAddress address;
  address.Street = std::move(street);
  address.Types = std::move(types);
  return address;
}

inline ContactUrl Url(std::u16string value, std::u16string types) {
  ContactUrl url;
  url.Value = std::move(value);
  url.Types = std::move(types);
  return url;
}

inline ContactRelatedName Related(std::u16string name, EContactRelatedName label) {
  ContactRelatedName related;
  related.Name = std::move(name);
  related.Label = label;
  return related;
}

// The non-empty telephone slots as "Slot=value" items joined by "; ", in
// slot order, e.g. "Business=1; Mobile=2".
inline std::string DumpTelephoneSlots(const ContactRecord& record) {
  static constexpr const char* kNames[kTelephoneSlotCount] = {
      "Business",    "Business2", "BusinessFax", "Home",    "Home2", "HomeFax",  "Mobile",
      "Car",         "Pager",     "ISDN",        "Primary", "Other", "OtherFax", "Assistant",
      "CompanyMain", "Callback",  "Radio",       "TTYTDD",  "Telex"};
  std::string out;
  for (int slot = 0; slot < kTelephoneSlotCount; ++slot) {
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
inline std::string DumpRelatedNameSlots(const ContactRecord& record) {
  std::string out;
  for (int slot = 0; slot < kRelatedNameSlotCount; ++slot) {
    if (slot > 0) out += "|";
    out += U8(record.RelatedNameSlot(slot));
  }
  return out;
}

// The Street of the address of each kind as "business|home|other", "-" for
// none.
inline std::string DumpAddressKinds(const ContactRecord& record) {
  std::string out;
  for (EContactAddress kind : {vlmcaBusiness, vlmcaHome, vlmcaOther}) {
    if (!out.empty()) out += "|";
    const ContactAddress* address = record.AddressByKind(kind);
    out += address ? U8(address->Street) : "-";
  }
  return out;
}

// The URL of each kind as "personal|business", "-" for none.
inline std::string DumpUrlKinds(const ContactRecord& record) {
  std::string out;
  const ContactUrl* personal = record.UrlByKind(urlkPersonal);
  const ContactUrl* business = record.UrlByKind(urlkBusiness);
  out += personal ? U8(personal->Value) : "-";
  out += "|";
  out += business ? U8(business->Value) : "-";
  return out;
}

}  // namespace velmora::test
