#include "csv/google_collectors.h"

#include <algorithm>
#include <vector>

#include <velmora/enums.h>

#include "contact/phone_slots.h"
#include "csv/csv_values.h"
#include "csv/google_mvalue.h"
#include "csv/google_type_words.h"
#include "foundation/text_util.h"

namespace velmora::csv {
namespace {

constexpr char kOrgLabel[] = "CCsv.ImportContact_ApplyGoogleOrgs";

bool Is(std::u16string_view word, std::u16string_view expected) {
  return text::EqualsAsciiNoCase(word, expected);
}

void AddToken(std::u16string& types, std::u16string_view token) {
  if (types.empty()) {
    types = token;
  } else if (!contact::HasTypeToken(types, token)) {
    types.append(1, u',').append(token);
  }
}

// The values of one instance with their type words and default mark.
struct Values {
  std::vector<std::u16string> items;
  std::vector<std::u16string> types;
  int default_index = -1;

  // A type cell with one word types every value, one with several the
  // values in turn.
  const std::u16string& TypeOf(std::size_t k) const { return GoogleTypeWordOf(types, k); }
  bool IsDefault(std::size_t k) const { return static_cast<int>(k) == default_index; }
};

Values Split(CLog& log, std::u16string_view value, std::u16string_view type) {
  Values v;
  int value_default = -1;
  DecodeGoogleMValue(log, value, v.items, true, &value_default);
  DecodeGoogleMValue(log, type, v.types, false, &v.default_index);
  if (v.types.size() == 1 && v.default_index == 0) {
    v.default_index = v.items.empty() ? -1 : 0;  // "* Home": the instance is the default
  }
  if (v.default_index < 0) v.default_index = value_default;
  return v;
}

// Types HOME or WORK for those words, else the word as the label.
void HomeOrWork(std::u16string_view word, std::u16string& types, std::u16string& label) {
  if (Is(word, u"Home")) {
    types = u"HOME";
  } else if (Is(word, u"Work")) {
    types = u"WORK";
  } else {
    label = word;
  }
}

}  // namespace

void AddNoteLine(std::u16string& notes, std::u16string_view header, std::u16string_view value) {
  if (value.empty()) return;
  if (!notes.empty()) notes += u"\r\n";
  notes.append(header).append(u": ").append(value);
}

void GoogleCollectors::Collect(std::uint32_t code, std::u16string_view name, std::u16string value) {
  const std::uint32_t property = code & 0xFF;
  if (property >= 18) return;
  Entry& entry = entries_[{code >> 24, (code >> 8) & 0xFFFF}];
  entry.properties[property] = std::move(value);
  entry.names[property] = name;
}

void GoogleCollectors::Apply(CLog& log, contact::ContactRecord& c, std::u16string& notes) const {
  bool first_org = true;
  // Not a structured binding: clang before 16 cannot capture one in the
  // lambdas below, and the fuzz targets build with clang.
  for (const auto& entry : entries_) {
    const std::uint32_t group = entry.first.first;
    const auto& e = entry.second;
    const auto& p = e.properties;
    const Values v = Split(log, p[csvgpValue], p[csvgpType]);
    switch (group) {
      case csvgEmail:
        for (std::size_t k = 0; k < v.items.size(); ++k) {
          contact::ContactEmail mail;
          mail.Value = v.items[k];
          HomeOrWork(v.TypeOf(k), mail.Types, mail.ABLabel);
          if (v.IsDefault(k)) AddToken(mail.Types, u"PREF");
          c.Emails.push_back(std::move(mail));
        }
        break;
      case csvgIM: {
        std::vector<std::u16string> services;
        DecodeGoogleMValue(log, p[csvgpIMService], services, false);
        for (std::size_t k = 0; k < v.items.size(); ++k) {
          contact::ContactImpp impp;
          impp.Value = v.items[k];
          const std::u16string& service = GoogleTypeWordOf(services, k);
          const GoogleImService* known = FindGoogleImService(service);
          if (known != nullptr) {
            impp.ServiceType = known->service_type;
            impp.Protocol = known->protocol;
          } else {
            impp.Protocol = u"x-apple";
            impp.ABLabel = service;
          }
          std::u16string ignored;
          HomeOrWork(v.TypeOf(k), impp.Types, ignored);
          if (v.IsDefault(k)) AddToken(impp.Types, u"PREF");
          c.Impps.push_back(std::move(impp));
        }
        break;
      }
      case csvgPhone:
        for (std::size_t k = 0; k < v.items.size(); ++k) {
          contact::ContactPhone phone;
          phone.Value = v.items[k];
          const std::u16string& word = v.TypeOf(k);
          const contact::EPhoneCategory kind = GooglePhoneKind(word);
          std::u16string_view types, label;
          if (contact::PhoneTypesOfCategory(kind, &types, &label)) {
            phone.Types = types;
            phone.ABLabel = label;
          } else {
            phone.ABLabel = word;
          }
          if (v.IsDefault(k)) AddToken(phone.Types, u"PREF");
          c.Phones.push_back(std::move(phone));
        }
        break;
      case csvgAddress: {
        // The i-th parts of every property form the i-th address.
        std::array<std::vector<std::u16string>, 11> parts;
        std::size_t count = 0;
        for (int prop = csvgpAdrFormatted; prop <= csvgpAdrNeighborhood; ++prop) {
          DecodeGoogleMValue(log, p[prop], parts[prop], false);
          count = std::max(count, parts[prop].size());
        }
        for (std::size_t i = 0; i < count; ++i) {
          auto part = [&](int prop) { return i < parts[prop].size() ? parts[prop][i] : u""; };
          contact::ContactAddress a;
          a.Street = part(csvgpAdrStreet);
          a.City = part(csvgpAdrCity);
          a.PostOfficeBox = part(csvgpAdrPOBox);
          a.State = part(csvgpAdrState);
          a.PostalCode = part(csvgpAdrPostalCode);
          a.Country = part(csvgpAdrCountry);
          a.OfficeLocation = part(csvgpAdrNeighborhood);
          if (a == contact::ContactAddress())
            a.Street = part(csvgpAdrFormatted);  // only the formatted text
          if (a == contact::ContactAddress()) continue;
          const std::u16string& word = v.TypeOf(i);
          if (Is(word, u"Other")) {
            a.Types = u"POSTAL";
          } else {
            HomeOrWork(word, a.Types, a.ABLabel);
          }
          if (v.IsDefault(i)) AddToken(a.Types, u"PREF");
          c.Addresses.push_back(std::move(a));
        }
        break;
      }
      case csvgOrganization: {
        if (!p[csvgpType].empty()) {
          log.LogWarning(kOrgLabel, 0, "googleOrg.Type is not empty(%s)", p[csvgpType]);
        }
        std::array<std::vector<std::u16string>, 18> parts;
        std::size_t count = 0;
        for (int prop = csvgpOrgName; prop <= csvgpOrgJobDesc; ++prop) {
          DecodeGoogleMValue(log, p[prop], parts[prop], false);
          count = std::max(count, parts[prop].size());
        }
        for (std::size_t i = 0; i < count; ++i) {
          auto part = [&](int prop) { return i < parts[prop].size() ? parts[prop][i] : u""; };
          // The first organisation fills the contact's fields; what finds
          // its field taken goes to the notes.
          auto fill = [&](std::u16string& field, int prop) {
            std::u16string value = part(prop);
            if (value.empty()) return;
            if (first_org && field.empty()) {
              field = std::move(value);
            } else {
              AddNoteLine(notes, e.names[prop], value);
            }
          };
          fill(c.CompanyName, csvgpOrgName);
          fill(c.YomiCompany, csvgpOrgYomiName);
          fill(c.JobTitle, csvgpOrgTitle);
          fill(c.Department, csvgpOrgDepartment);
          fill(c.Profession, csvgpOrgJobDesc);
          fill(c.Location, csvgpOrgLocation);
          AddNoteLine(notes, e.names[csvgpOrgSymbol], part(csvgpOrgSymbol));
          first_org = false;
        }
        break;
      }
      case csvgRelation:
        for (std::size_t k = 0; k < v.items.size(); ++k) {
          contact::ContactRelatedName name;
          name.Name = v.items[k];
          const std::u16string& word = v.TypeOf(k);
          const auto words = GoogleRelationWords();
          const auto apple = std::find_if(words.begin(), words.end(),
                                          [&](const char16_t* w) { return Is(word, w); });
          if (apple != words.end()) {
            contact::SetRelatedNameLabel(name, u"_$!<" + std::u16string(*apple) + u">!$_");
          } else if (Is(word, u"Referred By")) {
            name.Label = vlmcrnReferredBy;
          } else if (Is(word, u"Domestic Partner")) {
            name.LabelOther = u"DOMESTIC_PARTNER";
          } else if (Is(word, u"Relative")) {
            name.LabelOther = u"RELATIVE";
          } else {
            name.LabelOther = word;
          }
          c.RelatedNames.push_back(std::move(name));
        }
        break;
      case csvgExternalID:
      case csvgCalendarLink:
      case csvgJot:
      case csvgCustomField:
        for (std::size_t k = 0; k < v.items.size(); ++k) {
          const std::u16string& word = v.TypeOf(k);
          std::u16string* field = nullptr;
          if (group == csvgExternalID && Is(word, u"Account")) field = &c.Account;
          if (group == csvgExternalID && Is(word, u"Organization")) {
            field = &c.OrganizationalIDNumber;
          }
          if (group == csvgCalendarLink && Is(word, u"Free Busy")) {
            field = &c.InternetFreeBusyAddress;
          }
          if (group == csvgJot && Is(word, u"Keywords")) field = &c.Keyword;
          if (group == csvgJot && Is(word, u"User")) {
            for (std::u16string* user : {&c.User1, &c.User2, &c.User3, &c.User4}) {
              if (user->empty()) {
                field = user;
                break;
              }
            }
          }
          if (field != nullptr && field->empty()) {
            *field = v.items[k];
            continue;
          }
          if (group == csvgCalendarLink) {
            c.Urls.push_back({v.items[k], u"", {}, word});
            continue;
          }
          contact::ContactCustomField custom;
          custom.Value = v.items[k];
          custom.ABLabel = word;
          c.CustomFields.push_back(std::move(custom));
        }
        break;
      case csvgWebsite:
        for (std::size_t k = 0; k < v.items.size(); ++k) {
          contact::ContactUrl url;
          url.Value = v.items[k];
          const std::u16string& word = v.TypeOf(k);
          if (Is(word, u"Work")) {
            url.Types = u"WORK";
          } else if (Is(word, u"Home Page")) {
            url.Types = u"HOME";
          } else if (Is(word, u"Blog")) {
            url.ABLabel = u"BLOG";
          } else if (Is(word, u"Profile")) {
            url.ABLabel = u"PROFILE";
          } else {
            url.ABLabel = word;
          }
          if (v.IsDefault(k)) AddToken(url.Types, u"PREF");
          c.Urls.push_back(std::move(url));
        }
        break;
      case csvgEvent: {
        std::vector<double> dates;
        if (!GoogleStr2Dates(log, p[csvgpValue], true, 0, &dates)) {
          AddNoteLine(notes, e.names[csvgpValue], p[csvgpValue]);
          break;
        }
        const std::u16string& word = v.TypeOf(0);
        for (const double date : dates) {
          contact::ContactDate d;
          d.Date = date;
          d.ABLabel = Is(word, u"Anniversary") ? std::u16string(contact::kAnniversaryLabel) : word;
          c.Dates.push_back(std::move(d));
        }
        break;
      }
      default:
        break;
    }
  }
  c.InvalidateCaches();
}

}  // namespace velmora::csv
