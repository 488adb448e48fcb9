#include "csv/csv_export.h"

#include <array>
#include <string_view>
#include <vector>

#include "contact/phone_slots.h"
#include "csv/csv_escape.h"
#include "csv/csv_values.h"
#include "csv/google_mvalue.h"
#include "csv/google_type_words.h"
#include "csv/outlook_phone_columns.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"

namespace velmora::csv {
namespace {

constexpr char kExportLabel[] = "CCsv::ExportContactW";

// The address columns of one Outlook address: street, street 2, street 3,
// city, state, postal code, country, PO box, and the office location (0:
// none).
struct AddressColumns {
  EContactAddress kind;
  std::uint32_t street, street2, street3, city, state, postal, country, po_box, office;
};
constexpr AddressColumns kAddressColumns[] = {
    {vlmcaBusiness, 9, 10, 11, 12, 13, 14, 15, 54, 79},
    {vlmcaHome, 16, 17, 18, 19, 20, 21, 22, 70, 0},
    {vlmcaOther, 23, 24, 25, 26, 27, 28, 29, 81, 0},
};

// The lines of a street: the first, the second, and the rest as one.
std::array<std::u16string, 3> StreetLines(std::u16string_view street) {
  std::array<std::u16string, 3> lines;
  for (int i = 0; i < 2; ++i) {
    const std::size_t end = street.find(u"\r\n");
    if (end == std::u16string_view::npos) break;
    lines[i] = street.substr(0, end);
    street.remove_prefix(end + 2);
  }
  std::size_t filled = 0;
  while (filled < 2 && !lines[filled].empty()) ++filled;
  lines[filled] = street;
  return lines;
}

class RowWriter {
 public:
  explicit RowWriter(CsvRowMap& row) : row_(row) {}
  void Put(std::uint32_t code, std::u16string_view value) {
    if (!value.empty()) row_[code] = value;
  }

 private:
  CsvRowMap& row_;
};

void WriteOutlookFamily(const contact::ContactRecord& c, CsvRowMap& row, ECsvType type,
                        const COutlookCsvLocale* locale) {
  RowWriter w(row);
  w.Put(1, c.Title);
  w.Put(2, c.FirstName);
  w.Put(3, c.MiddleName);
  w.Put(4, c.LastName);
  w.Put(5, c.Suffix);
  w.Put(6, c.CompanyName);
  w.Put(7, c.Department);
  w.Put(8, c.JobTitle);
  for (const AddressColumns& columns : kAddressColumns) {
    const contact::ContactAddress* a = c.AddressByKind(columns.kind);
    if (a == nullptr) continue;
    // Outlook spreads a street over three columns; Outlook365 has one.
    const std::array<std::u16string, 3> lines =
        type == vlmcsvOutlook ? StreetLines(a->Street)
                              : std::array<std::u16string, 3>{a->Street, u"", u""};
    w.Put(columns.street, lines[0]);
    w.Put(columns.street2, lines[1]);
    w.Put(columns.street3, lines[2]);
    w.Put(columns.city, a->City);
    w.Put(columns.state, a->State);
    w.Put(columns.postal, a->PostalCode);
    w.Put(columns.country, a->Country);
    w.Put(columns.po_box, a->PostOfficeBox);
    if (columns.office != 0) w.Put(columns.office, a->OfficeLocation);
  }
  for (std::uint32_t i = 0; i < std::size(kOutlookPhoneColumns); ++i) {
    w.Put(kFirstOutlookPhoneCode + i, c.TelephoneSlot(kOutlookPhoneColumns[i].slot));
  }
  static constexpr std::uint32_t kEmailColumns[3][2] = {{58, 59}, {61, 62}, {64, 65}};
  for (int n = 1; n <= 3; ++n) {
    if (c.Email(n).empty()) continue;
    w.Put(kEmailColumns[n - 1][0], c.Email(n));
    w.Put(kEmailColumns[n - 1][1], c.EmailAddressType(n));
  }
  w.Put(53, CsvDateText(c.Birthday, false));
  w.Put(50, CsvDateText(c.Anniversary(), false));
  w.Put(51, c.RelatedNameSlot(contact::rnsAssistant));
  w.Put(76, c.RelatedNameSlot(contact::rnsManager));
  w.Put(87, c.RelatedNameSlot(contact::rnsSpouse));
  w.Put(85, c.RelatedNameSlot(contact::rnsReferredBy));
  std::u16string children;
  for (const contact::ContactRelatedName& related : c.RelatedNames) {
    if (related.Label != vlmcrnChild || related.Name.empty()) continue;
    if (!children.empty()) children += u';';
    children += related.Name;
  }
  w.Put(56, children);
  // Categories are separated by ';' in Outlook's files.
  w.Put(55, text::ReplaceAll(c.Categories, settings::ListSeparator(), u";"));
  w.Put(57, c.NetMeetingNames());
  w.Put(67, Gender2Str(c.Gender, locale));
  w.Put(83, locale != nullptr ? locale->PrivateValue(c.Sensitivity == vlmcsPrivate)
                              : (c.Sensitivity == vlmcsPrivate ? u"True" : u"False"));
  w.Put(86, Sensitivity2Str(c.Sensitivity, locale));
  w.Put(82, locale != nullptr ? locale->PriorityValue(vlmciNormal) : u"Normal");
  w.Put(78, c.Body);
  w.Put(84, c.Profession);
  w.Put(88, c.User1);
  w.Put(89, c.User2);
  w.Put(90, c.User3);
  w.Put(91, c.User4);
  w.Put(49, c.Account);
  w.Put(52, c.BillingInformation);
  w.Put(68, c.GovernmentIDNumber);
  w.Put(69, c.Hobby);
  w.Put(72, c.InternetFreeBusyAddress);
  w.Put(73, c.Keyword);
  w.Put(75, c.Location);
  w.Put(77, c.Mileage);
  w.Put(80, c.OrganizationalIDNumber);
  if (const contact::ContactUrl* url = c.UrlByKind(contact::urlkBusiness)) w.Put(92, url->Value);
  // The later Outlook365 columns.
  w.Put(98, c.NickName);
  w.Put(95, c.PhoneticFirstName);
  w.Put(97, c.PhoneticLastName);
  if (!c.Impps.empty()) w.Put(123, c.Impps.front().Value);
  w.Put(124, c.YomiCompany);
  w.Put(125, c.School);
  if (const contact::ContactUrl* url = c.UrlByKind(contact::urlkPersonal)) w.Put(115, url->Value);
}

// Google's grouped columns: one instance per list element, numbered per
// group from 1.
class GoogleGroups {
 public:
  // With `blocks`, every column of an instance is put in the row, empty or
  // not, so that the file gets whole blocks.
  explicit GoogleGroups(CsvRowMap& row, const CCsvHeaders* blocks = nullptr)
      : row_(row), blocks_(blocks) {}

  // A new instance of `group` with its type word (marked as the default
  // with `preferred`); returns its number.
  std::uint32_t Add(std::uint32_t group, std::u16string_view type, bool preferred) {
    const std::uint32_t instance = ++counts_[group];
    const CCsvHeader* first = blocks_ == nullptr ? nullptr : blocks_->FindHeaderByCode(group << 24);
    if (first != nullptr && first->Group != nullptr) {
      for (const CCsvHeader* entry : *first->Group) {
        row_.try_emplace(CsvHeaderWithIndex(entry->Code, instance));
      }
    }
    if (!type.empty() || preferred) {
      std::u16string cell = preferred ? u"* " : u"";
      cell += EncodeGoogleValue(type, true);
      row_[Code(group, instance, csvgpType)] = std::move(cell);
    }
    return instance;
  }
  void Put(std::uint32_t group, std::uint32_t instance, std::uint32_t property,
           std::u16string_view value) {
    if (!value.empty()) row_[Code(group, instance, property)] = EncodeGoogleValue(value, true);
  }

 private:
  static std::uint32_t Code(std::uint32_t group, std::uint32_t instance, std::uint32_t property) {
    return group << 24 | instance << 8 | property;
  }
  CsvRowMap& row_;
  const CCsvHeaders* blocks_;
  std::uint32_t counts_[16] = {};
};

std::u16string_view HomeOrWorkWord(std::u16string_view types, std::u16string_view label) {
  if (contact::HasTypeToken(types, u"HOME")) return u"Home";
  if (contact::HasTypeToken(types, u"WORK")) return u"Work";
  return label;
}

bool Preferred(std::u16string_view types) { return contact::HasTypeToken(types, u"PREF"); }

void WriteGoogleLists(const contact::ContactRecord& c, GoogleGroups& g, bool later);

void WriteGoogle(const contact::ContactRecord& c, CsvRowMap& row) {
  RowWriter w(row);
  w.Put(93, c.FormattedName);
  w.Put(2, c.FirstName);
  w.Put(3, c.MiddleName);
  w.Put(4, c.LastName);
  w.Put(95, c.PhoneticFirstName);
  w.Put(96, c.PhoneticMiddleName);
  w.Put(97, c.PhoneticLastName);
  w.Put(1, c.Title);
  w.Put(5, c.Suffix);
  w.Put(98, c.NickName);
  w.Put(100, c.MaidenName);
  w.Put(53, CsvDateText(c.Birthday, true));
  if (c.Gender != vlmcgUnspecified) w.Put(67, Gender2Str(c.Gender, nullptr));
  if (c.Sensitivity != vlmcsNormal) w.Put(86, Sensitivity2Str(c.Sensitivity, nullptr));
  w.Put(75, c.Location);
  w.Put(52, c.BillingInformation);
  w.Put(57, c.NetMeetingNames());
  w.Put(77, c.Mileage);
  w.Put(84, c.Profession);
  w.Put(69, c.Hobby);
  w.Put(78, c.Body);
  w.Put(102, Categories2GroupMembership(c.Categories, settings::ListSeparator(), true, true, -1));
  GoogleGroups g(row);
  WriteGoogleLists(c, g, false);
}

// The numbered blocks of either Google layout. The later one has no
// organisation, external ID, calendar link or jot blocks, and writes a
// date without a year as "--mm-dd".
void WriteGoogleLists(const contact::ContactRecord& c, GoogleGroups& g, bool later) {
  for (const contact::ContactEmail& mail : c.Emails) {
    if (mail.Value.empty()) continue;
    const auto n =
        g.Add(csvgEmail, HomeOrWorkWord(mail.Types, mail.ABLabel), Preferred(mail.Types));
    g.Put(csvgEmail, n, csvgpValue, mail.Value);
  }
  for (const contact::ContactImpp& impp : c.Impps) {
    if (impp.Value.empty()) continue;
    const auto n = g.Add(csvgIM, HomeOrWorkWord(impp.Types, u""), Preferred(impp.Types));
    g.Put(csvgIM, n, csvgpIMService,
          impp.ServiceType.empty() ? impp.ABLabel
                                   : GoogleImServiceWord(impp.ServiceType, impp.Protocol));
    g.Put(csvgIM, n, csvgpValue, impp.Value);
  }
  for (const contact::ContactPhone& phone : c.Phones) {
    if (phone.Value.empty()) continue;
    const contact::EPhoneCategory kind = contact::ClassifyPhone(phone);
    const std::u16string_view word =
        kind == contact::phcNone ? std::u16string_view(phone.ABLabel) : GooglePhoneWord(kind);
    const auto n = g.Add(csvgPhone, word, Preferred(phone.Types));
    g.Put(csvgPhone, n, csvgpValue, phone.Value);
  }
  for (const contact::ContactAddress& a : c.Addresses) {
    if (a.Street.empty() && a.City.empty() && a.PostOfficeBox.empty() && a.State.empty() &&
        a.PostalCode.empty() && a.Country.empty() && a.OfficeLocation.empty()) {
      continue;  // nothing but types
    }
    const std::u16string_view word =
        contact::HasTypeToken(a.Types, u"POSTAL") ? u"Other" : HomeOrWorkWord(a.Types, a.ABLabel);
    const auto n = g.Add(csvgAddress, word, Preferred(a.Types));
    g.Put(csvgAddress, n, csvgpAdrStreet, a.Street);
    g.Put(csvgAddress, n, csvgpAdrCity, a.City);
    g.Put(csvgAddress, n, csvgpAdrPOBox, a.PostOfficeBox);
    g.Put(csvgAddress, n, csvgpAdrState, a.State);
    g.Put(csvgAddress, n, csvgpAdrPostalCode, a.PostalCode);
    g.Put(csvgAddress, n, csvgpAdrCountry, a.Country);
    g.Put(csvgAddress, n, csvgpAdrNeighborhood, a.OfficeLocation);
  }
  if (!later && (!c.CompanyName.empty() || !c.YomiCompany.empty() || !c.JobTitle.empty() ||
                 !c.Department.empty())) {
    const auto n = g.Add(csvgOrganization, u"", false);
    g.Put(csvgOrganization, n, csvgpOrgName, c.CompanyName);
    g.Put(csvgOrganization, n, csvgpOrgYomiName, c.YomiCompany);
    g.Put(csvgOrganization, n, csvgpOrgTitle, c.JobTitle);
    g.Put(csvgOrganization, n, csvgpOrgDepartment, c.Department);
  }
  for (const contact::ContactRelatedName& related : c.RelatedNames) {
    if (related.Name.empty()) continue;
    std::u16string_view word = related.LabelOther;
    if (related.Label >= vlmcrnAssistant && related.Label <= vlmcrnSpouse) {
      word = GoogleRelationWords()[related.Label - vlmcrnAssistant];
    } else if (related.Label == vlmcrnReferredBy) {
      word = u"Referred By";
    } else if (related.LabelOther == u"DOMESTIC_PARTNER") {
      word = u"Domestic Partner";
    } else if (related.LabelOther == u"RELATIVE") {
      word = u"Relative";
    }
    g.Put(csvgRelation, g.Add(csvgRelation, word, false), csvgpValue, related.Name);
  }
  if (!later && !c.Account.empty()) {
    g.Put(csvgExternalID, g.Add(csvgExternalID, u"Account", false), csvgpValue, c.Account);
  }
  if (!later && !c.OrganizationalIDNumber.empty()) {
    g.Put(csvgExternalID, g.Add(csvgExternalID, u"Organization", false), csvgpValue,
          c.OrganizationalIDNumber);
  }
  for (const contact::ContactUrl& url : c.Urls) {
    if (url.Value.empty()) continue;
    std::u16string_view word = url.ABLabel;
    if (contact::HasTypeToken(url.Types, u"WORK")) {
      word = u"Work";
    } else if (contact::HasTypeToken(url.Types, u"HOME")) {
      word = u"Home Page";
    } else if (url.ABLabel == u"BLOG") {
      word = u"Blog";
    } else if (url.ABLabel == u"PROFILE") {
      word = u"Profile";
    }
    g.Put(csvgWebsite, g.Add(csvgWebsite, word, Preferred(url.Types)), csvgpValue, url.Value);
  }
  if (!later && !c.InternetFreeBusyAddress.empty()) {
    g.Put(csvgCalendarLink, g.Add(csvgCalendarLink, u"Free Busy", false), csvgpValue,
          c.InternetFreeBusyAddress);
  }
  for (const contact::ContactDate& date : c.Dates) {
    const std::u16string text = later ? Google2DateText(date.Date) : CsvDateText(date.Date, true);
    if (text.empty()) continue;
    const std::u16string_view word = date.ABLabel == contact::kAnniversaryLabel
                                         ? std::u16string_view(u"Anniversary")
                                         : date.ABLabel;
    g.Put(csvgEvent, g.Add(csvgEvent, word, false), csvgpValue, text);
  }
  for (const contact::ContactCustomField& field : c.CustomFields) {
    if (field.Value.empty()) continue;
    g.Put(csvgCustomField, g.Add(csvgCustomField, field.ABLabel, false), csvgpValue, field.Value);
  }
  if (later) return;
  if (!c.Keyword.empty()) g.Put(csvgJot, g.Add(csvgJot, u"Keywords", false), csvgpValue, c.Keyword);
  for (const std::u16string* user : {&c.User1, &c.User2, &c.User3, &c.User4}) {
    if (!user->empty()) g.Put(csvgJot, g.Add(csvgJot, u"User", false), csvgpValue, *user);
  }
}

// Google Contacts' later layout: fixed columns, then whole numbered blocks.
void WriteGoogle2(const CCsvHeaders& headers, const contact::ContactRecord& c, CsvRowMap& row) {
  RowWriter w(row);
  w.Put(2, c.FirstName);
  w.Put(3, c.MiddleName);
  w.Put(4, c.LastName);
  w.Put(95, c.PhoneticFirstName);
  w.Put(96, c.PhoneticMiddleName);
  w.Put(97, c.PhoneticLastName);
  w.Put(1, c.Title);
  w.Put(5, c.Suffix);
  w.Put(98, c.NickName);
  w.Put(6, c.CompanyName);
  w.Put(8, c.JobTitle);
  w.Put(7, c.Department);
  w.Put(53, Google2DateText(c.Birthday));
  w.Put(78, c.Body);
  w.Put(128, Categories2GoogleLabels(c.Categories, settings::ListSeparator()));
  GoogleGroups g(row, &headers);
  WriteGoogleLists(c, g, true);
}

}  // namespace

std::u16string Gender2Str(EContactGender gender, const COutlookCsvLocale* locale) {
  if (locale != nullptr) return locale->GenderValue(gender);
  switch (gender) {
    case vlmcgFemale:
      return u"Female";
    case vlmcgMale:
      return u"Male";
    default:
      return u"Unspecified";
  }
}

std::u16string Sensitivity2Str(EContactSensitivity sensitivity, const COutlookCsvLocale* locale) {
  if (locale != nullptr) return locale->SensitivityValue(sensitivity);
  switch (sensitivity) {
    case vlmcsPersonal:
      return u"Personal";
    case vlmcsPrivate:
      return u"Private";
    case vlmcsConfidential:
      return u"Confidential";
    default:
      return u"Normal";
  }
}

namespace {

HRESULT WriteRow(const CCsvHeaders& headers, const contact::ContactRecord& contact, CsvRowMap& row,
                 ECsvType type, const COutlookCsvLocale* locale);

// Whether some cell of the row holds `value` (Google joins several values
// in one cell, so containing is enough).
bool RowHolds(const CsvRowMap& row, std::u16string_view value) {
  for (const auto& [code, cell] : row) {
    if (cell.find(value) != std::u16string::npos) return true;
  }
  return false;
}

std::u16string Numbered(std::u16string_view what, std::size_t n) {
  std::u16string text(what);
  text.push_back(u' ');
  text += text::AsciiToUtf16(std::to_string(n));
  return text;
}

// What of the contact found no column of the row: e-mails, addresses and
// phones whose values are nowhere in it.
void ReportLosses(const contact::ContactRecord& c, const CsvRowMap& row,
                  CConversionEvents& events) {
  for (std::size_t i = 0; i < c.Emails.size(); ++i) {
    if (!c.Emails[i].Value.empty() && !RowHolds(row, c.Emails[i].Value)) {
      events.Add(cevFieldNotCarried, Numbered(u"E-mail", i + 1));
    }
  }
  for (std::size_t i = 0; i < c.Addresses.size(); ++i) {
    const contact::ContactAddress& a = c.Addresses[i];
    const std::u16string_view sample = !a.City.empty()         ? a.City
                                       : !a.PostalCode.empty() ? a.PostalCode
                                       : !a.Country.empty()    ? a.Country
                                                               : a.PostOfficeBox;
    if (!sample.empty() && !RowHolds(row, sample)) {
      std::u16string what = contact::HasTypeToken(a.Types, u"HOME")   ? u"Home address"
                            : contact::HasTypeToken(a.Types, u"WORK") ? u"Work address"
                                                                      : u"Address";
      events.Add(cevFieldNotCarried, Numbered(what, i + 1));
    }
  }
  for (const contact::ContactPhone& phone : c.Phones) {
    if (phone.Value.empty() || RowHolds(row, phone.Value)) continue;
    // A phone under a label of its own has no column in Outlook.
    events.Add(cevFieldNotCarried,
               u"Phone (" + (phone.ABLabel.empty() ? phone.Types : phone.ABLabel) + u")");
  }
}

}  // namespace

HRESULT ExportContactW(const CCsvHeaders& headers, const contact::ContactRecord& contact,
                       CsvRowMap& row, ECsvType type, const COutlookCsvLocale* locale) {
  const HRESULT status = WriteRow(headers, contact, row, type, locale);
  CConversionEvents& events = headers.log().events();
  if (SUCCEEDED(status) && events.listening()) ReportLosses(contact, row, events);
  return status;
}

namespace {

HRESULT WriteRow(const CCsvHeaders& headers, const contact::ContactRecord& contact, CsvRowMap& row,
                 ECsvType type, const COutlookCsvLocale* locale) {
  row.clear();
  switch (type) {
    case vlmcsvOutlook:
    case vlmcsvOutlook365v2:
      WriteOutlookFamily(contact, row, type, type == vlmcsvOutlook ? locale : nullptr);
      // Only the columns of the dialect.
      std::erase_if(row, [&](const auto& cell) {
        const CCsvHeader* entry = headers.FindHeaderByCode(cell.first);
        return entry == nullptr || !CCsvHeaders::IsSupported(*entry, type);
      });
      return S_OK;
    case vlmcsvGoogle:
      WriteGoogle(contact, row);
      return S_OK;
    case vlmcsvGoogle2:
      WriteGoogle2(headers, contact, row);
      return S_OK;
    case vlmcsvNokia:
      headers.log().LogError(kExportLabel, E_NOTIMPL, "Export to Nokia is not implemented");
      return E_NOTIMPL;
    case vlmcsvOutlook365v1:
      headers.log().LogError(kExportLabel, E_NOTIMPL, "Export to Outlook365v1 is not implemented");
      return E_NOTIMPL;
    default:
      headers.log().LogAssert(false, kExportLabel, __LINE__);
      return E_INVALIDARG;
  }
}

}  // namespace

std::u16string CsvLine(std::span<const std::uint32_t> codes, const CsvRowMap& row) {
  std::u16string line;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (i > 0) line += u',';
    const auto it = row.find(codes[i]);
    if (it != row.end()) line += EscapeCell(it->second, u',', u';', false);
  }
  return line;
}

}  // namespace velmora::csv
