#include "csv/csv_import.h"

#include <array>

#include "contact/card_names.h"
#include "contact/contact_record.h"
#include "contact/phone_slots.h"
#include "csv/csv_headers.h"
#include "csv/csv_values.h"
#include "csv/google_collectors.h"
#include "csv/google_mvalue.h"
#include "csv/outlook_phone_columns.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "vcard/card_export.h"

namespace velmora::csv {
namespace {

constexpr char kImportLabel[] = "CCsv.ImportContact";

struct AddressBlock {
  contact::ContactAddress address;
  std::array<std::u16string, 2> more_streets;  // Street 2 and 3
};

// What one row gathers before it is applied to the contact.
struct RowState {
  std::array<AddressBlock, 3> blocks;  // business, home, other
  std::array<std::u16string, 19> phones;
  std::array<contact::ContactEmail, 3> emails;
  std::vector<contact::ContactEmail> nokia_emails;
  std::vector<contact::ContactPhone> nokia_phones;
  std::vector<contact::ContactUrl> urls;
  GoogleCollectors google;
  int private_flag = -1;  // unset, false, true
  int sensitivity = -1;
  std::u16string notes;  // "Header: value" lines
  int content = 0;
};

// The address block and field of a plain address code; null for others.
std::u16string* AddressField(RowState& s, std::uint32_t code) {
  struct Slot {
    std::uint32_t code;
    int block;
    std::u16string contact::ContactAddress::*field;
  };
  static constexpr Slot kSlots[] = {
      {9, 0, &contact::ContactAddress::Street},
      {12, 0, &contact::ContactAddress::City},
      {13, 0, &contact::ContactAddress::State},
      {14, 0, &contact::ContactAddress::PostalCode},
      {15, 0, &contact::ContactAddress::Country},
      {54, 0, &contact::ContactAddress::PostOfficeBox},
      {79, 0, &contact::ContactAddress::OfficeLocation},
      {16, 1, &contact::ContactAddress::Street},
      {19, 1, &contact::ContactAddress::City},
      {20, 1, &contact::ContactAddress::State},
      {21, 1, &contact::ContactAddress::PostalCode},
      {22, 1, &contact::ContactAddress::Country},
      {70, 1, &contact::ContactAddress::PostOfficeBox},
      {23, 2, &contact::ContactAddress::Street},
      {26, 2, &contact::ContactAddress::City},
      {27, 2, &contact::ContactAddress::State},
      {28, 2, &contact::ContactAddress::PostalCode},
      {29, 2, &contact::ContactAddress::Country},
      {81, 2, &contact::ContactAddress::PostOfficeBox},
  };
  for (const Slot& slot : kSlots) {
    if (slot.code == code) return &(s.blocks[slot.block].address.*slot.field);
  }
  return nullptr;
}

// The text field of the record a plain code fills directly; null for others.
std::u16string* TextField(contact::ContactRecord& c, std::uint32_t code) {
  switch (code) {
    case 1:
      return &c.Title;
    case 2:
      return &c.FirstName;
    case 3:
      return &c.MiddleName;
    case 4:
      return &c.LastName;
    case 5:
      return &c.Suffix;
    case 6:
      return &c.CompanyName;
    case 7:
      return &c.Department;
    case 8:
      return &c.JobTitle;
    case 49:
      return &c.Account;
    case 52:
      return &c.BillingInformation;
    case 68:
      return &c.GovernmentIDNumber;
    case 69:
      return &c.Hobby;
    case 72:
      return &c.InternetFreeBusyAddress;
    case 73:
      return &c.Keyword;
    case 75:
      return &c.Location;
    case 77:
      return &c.Mileage;
    case 78:
      return &c.Body;
    case 80:
      return &c.OrganizationalIDNumber;
    case 84:
      return &c.Profession;
    case 88:
      return &c.User1;
    case 89:
      return &c.User2;
    case 90:
      return &c.User3;
    case 91:
      return &c.User4;
    case 93:
      return &c.FormattedName;
    case 95:
      return &c.PhoneticFirstName;
    case 96:
      return &c.PhoneticMiddleName;
    case 97:
      return &c.PhoneticLastName;
    case 98:
      return &c.NickName;
    case 100:
      return &c.MaidenName;
    case 124:
      return &c.YomiCompany;
    case 125:
      return &c.School;
    default:
      return nullptr;
  }
}

void AddRelated(contact::ContactRecord& c, std::u16string name, EContactRelatedName label) {
  contact::ContactRelatedName related;
  related.Name = std::move(name);
  related.Label = label;
  c.RelatedNames.push_back(std::move(related));
}

void JoinCategories(std::u16string& categories, std::u16string_view more,
                    std::u16string_view separator) {
  if (more.empty()) return;
  if (!categories.empty()) categories += separator;
  categories += more;
}

// Whether an e-mail display name only repeats what Outlook derives from
// the address ("Ann Lee (ann@example.com)" or the address itself).
bool IsDerivedDisplayName(std::u16string_view display, std::u16string_view address) {
  return !address.empty() && display.find(address) != std::u16string_view::npos;
}

}  // namespace

HRESULT CCsv::ImportContact(std::span<const std::uint32_t> codes, const CsvRow& row,
                            contact::ContactRecord* contact, std::u16string_view lid,
                            std::span<const std::u16string> names) const {
  if (contact == nullptr || headers_ == nullptr) return E_INVALIDARG;
  contact::ContactRecord& c = *contact;
  c.Clear();
  const COutlookCsvLocale* locale = lid.empty() ? nullptr : headers_->FindLocale(lid);
  const std::u16string list_separator = settings::ListSeparator();
  RowState s;
  std::array<std::u16string, 3> display_names;
  std::array<std::u16string_view, 3> display_headers;

  // A value that could not be read is kept in the notes, and reported.
  const auto keep_unread = [&](std::u16string_view header, std::u16string_view cell) {
    AddNoteLine(s.notes, header, cell);
    if (log_.events().listening()) {
      std::u16string what(header);
      what.append(u": ").append(cell);
      log_.events().Add(cevValueNotRead, what);
    }
  };
  const std::size_t columns = std::min(codes.size(), row.size());
  for (std::size_t i = 0; i < columns; ++i) {
    const std::uint32_t code = codes[i];
    const std::u16string& cell = row[i];
    if (cell.empty()) continue;
    const CCsvHeader* entry = code == 0 ? nullptr : headers_->FindHeaderByCode(code);
    if (entry == nullptr) {
      // A column the catalogue does not know: kept under its own name.
      if (i < names.size() && !names[i].empty()) {
        AddNoteLine(s.notes, names[i], cell);
        log_.events().Add(cevColumnToNotes, names[i]);
      }
      continue;
    }
    const std::u16string& header = i < names.size() ? names[i] : entry->Name;

    std::u16string value = cell;
    double date = 0;
    bool flag = false;
    EContactGender gender = vlmcgUnspecified;
    EContactSensitivity sensitivity = vlmcsNormal;
    switch (entry->Type) {
      case cftMvText:
        value = text::ReplaceAll(std::move(value), u";", list_separator);
        break;
      case cftDate:
      case cftMvDateGoogle: {
        const bool google = CCsvHeaders::IsSupported(*entry, vlmcsvGoogle);
        const bool google_only = (entry->Dialects & ~(kCsvDialectGoogle | kCsvDialectGoogle2)) == 0;
        std::vector<double> dates;
        bool ok = false;
        if (google_only) {
          ok = GoogleStr2Dates(log_, cell, false, 1, &dates);
        } else {
          ok = OutlookStr2Date(log_, cell, false, &date);
          if (!ok && google) ok = GoogleStr2Dates(log_, cell, false, 1, &dates);
        }
        if (!dates.empty()) date = dates.front();
        if (!ok) {
          log_.LogWarning(kImportLabel, 0, "Header(\"%s\").Date(\"%s\") is invalid", header, cell);
          keep_unread(header, cell);
          continue;
        }
        if (contact::IsEmptyDate(date) && entry->Type == cftDate) continue;
        break;
      }
      case cftBool:
        if (!Str2Bool(log_, cell, locale, &flag)) {
          keep_unread(header, cell);
          continue;
        }
        break;
      case cftEnumGender:
        if (!Str2Gender(log_, cell, locale, &gender)) {
          keep_unread(header, cell);
          continue;
        }
        break;
      case ctfEnumSensitivity:
        if (!Str2Sensitivity(log_, cell, locale, &sensitivity)) {
          keep_unread(header, cell);
          continue;
        }
        break;
      case ctfEnumImportance:
        // No field holds a priority; only a priority other than the normal
        // one is worth keeping.
        if (!text::EqualsAsciiNoCase(
                text::Trim(cell), locale != nullptr ? std::u16string_view(locale->PriorityValue(1))
                                                    : std::u16string_view(u"Normal"))) {
          AddNoteLine(s.notes, header, cell);
        }
        continue;
      default:
        break;
    }

    if (entry->IsGroupped()) {
      if (entry->GroupPropCode() != csvgpType) ++s.content;
      s.google.Collect(code, header, std::move(value));
      continue;
    }
    if (std::u16string* field = TextField(c, code)) {
      *field = std::move(value);
      ++s.content;
      continue;
    }
    if (std::u16string* field = AddressField(s, code)) {
      *field = std::move(value);
      ++s.content;
      continue;
    }
    if (code >= kFirstOutlookPhoneCode && code - kFirstOutlookPhoneCode < s.phones.size()) {
      s.phones[code - kFirstOutlookPhoneCode] = std::move(value);
      ++s.content;
      continue;
    }
    ++s.content;
    switch (code) {
      case 10:
      case 11:
      case 17:
      case 18:
      case 24:
      case 25: {
        // Street 2 and Street 3 of the business, home and other address.
        const std::size_t block = code < 17 ? 0 : code < 24 ? 1 : 2;
        const std::size_t line = code == 10 || code == 17 || code == 24 ? 0 : 1;
        s.blocks[block].more_streets[line] = std::move(value);
        break;
      }
      case 58:
        s.emails[0].Value = std::move(value);
        break;
      case 61:
        s.emails[1].Value = std::move(value);
        break;
      case 64:
        s.emails[2].Value = std::move(value);
        break;
      case 59:
        s.emails[0].AddressType = std::move(value);
        --s.content;
        break;
      case 62:
        s.emails[1].AddressType = std::move(value);
        --s.content;
        break;
      case 65:
        s.emails[2].AddressType = std::move(value);
        --s.content;
        break;
      case 60:
        display_names[0] = std::move(value);
        display_headers[0] = header;
        --s.content;
        break;
      case 63:
        display_names[1] = std::move(value);
        display_headers[1] = header;
        --s.content;
        break;
      case 66:
        display_names[2] = std::move(value);
        display_headers[2] = header;
        --s.content;
        break;
      case 71:
      case 74:  // Initials and Language have no field
        AddNoteLine(s.notes, header, value);
        log_.events().Add(cevColumnToNotes, header);
        --s.content;
        break;
      case 50: {
        contact::ContactDate anniversary;
        anniversary.Date = date;
        anniversary.ABLabel = contact::kAnniversaryLabel;
        c.Dates.push_back(std::move(anniversary));
        break;
      }
      case 51:
        AddRelated(c, std::move(value), vlmcrnAssistant);
        break;
      case 76:
        AddRelated(c, std::move(value), vlmcrnManager);
        break;
      case 87:
        AddRelated(c, std::move(value), vlmcrnSpouse);
        break;
      case 85:
        AddRelated(c, std::move(value), vlmcrnReferredBy);
        break;
      case 56:
        // One child per name of the list, as written with ';'.
        for (std::size_t start = 0;;) {
          const std::size_t end = cell.find(u';', start);
          const std::u16string_view child =
              text::Trim(std::u16string_view(cell).substr(start, end - start));
          if (!child.empty()) AddRelated(c, std::u16string(child), vlmcrnChild);
          if (end == std::u16string::npos) break;
          start = end + 1;
        }
        break;
      case 53:
        c.Birthday = date;
        break;
      case 55:
        JoinCategories(c.Categories, value, list_separator);
        break;
      case 102:
        JoinCategories(c.Categories, DecodeGoogleGroupMembership(log_, cell, list_separator),
                       list_separator);
        break;
      case 128: {
        // Google's later layout: labels and system groups.
        const std::u16string labels = DecodeGoogleLabels(cell, list_separator);
        if (labels.empty()) --s.content;  // only "* myContacts"
        JoinCategories(c.Categories, labels, list_separator);
        break;
      }
      case 126:
      case 127:
        // File As and the photo's address have no field: kept as they
        // are (the photo is never fetched).
        AddNoteLine(s.notes, header, value);
        log_.events().Add(cevColumnToNotes, header);
        break;
      case 57:
        c.SetNetMeetingNames(value);
        break;
      case 67:
        c.Gender = gender;
        break;
      case 83:
        s.private_flag = flag ? 1 : 0;
        break;
      case 86:
        s.sensitivity = sensitivity;
        break;
      case 92:
        s.urls.push_back({std::move(value), u"WORK", {}, {}});
        break;
      case 109:
        s.urls.push_back({std::move(value), u"PREF", {}, {}});
        break;
      case 115:
        s.urls.push_back({std::move(value), u"HOME", {}, {}});
        break;
      case 107:
        s.nokia_emails.push_back({u"PREF", {}, std::move(value), {}, {}});
        break;
      case 113:
        s.nokia_emails.push_back({u"HOME", {}, std::move(value), {}, {}});
        break;
      case 119:
        s.nokia_emails.push_back({u"WORK", {}, std::move(value), {}, {}});
        break;
      case 112:
        s.nokia_phones.push_back({u"CELL,HOME", std::move(value), {}, {}});
        break;
      case 118:
        s.nokia_phones.push_back({u"CELL,WORK", std::move(value), {}, {}});
        break;
      case 123: {
        contact::ContactImpp impp;
        impp.ServiceType = u"IM Address";
        impp.Protocol = u"x-apple";
        impp.Value = std::move(value);
        c.Impps.push_back(std::move(impp));
        break;
      }
      case 103:
      case 104:
      case 105:
      case 106:
      case 108:
      case 110:
      case 111:
      case 114:
      case 116:
      case 117:
      case 120:
      case 121:
      case 122:
        AddNoteLine(s.notes, header, value);
        log_.events().Add(cevColumnToNotes, header);
        break;
      default:
        log_.LogError(kImportLabel, 0, "Unsupported header (%s)", header);
        AddNoteLine(s.notes, header, value);
        log_.events().Add(cevColumnToNotes, header);
        --s.content;
        break;
    }
  }

  // The address blocks, the phone block, the e-mail slots, then Google's
  // groups, sensitivity, Nokia's lists and the notes lines.
  static constexpr const char16_t* kAddressTypes[] = {u"WORK", u"HOME", u"POSTAL"};
  for (std::size_t b = 0; b < s.blocks.size(); ++b) {
    contact::ContactAddress& a = s.blocks[b].address;
    for (const std::u16string& street : s.blocks[b].more_streets) {
      if (street.empty()) continue;
      if (!a.Street.empty()) a.Street += u"\r\n";
      a.Street += street;
    }
    if (a == contact::ContactAddress()) continue;
    a.Types = kAddressTypes[b];
    c.Addresses.push_back(std::move(a));
  }
  for (std::size_t i = 0; i < s.phones.size(); ++i) {
    if (s.phones[i].empty()) continue;
    contact::ContactPhone phone;
    phone.Value = std::move(s.phones[i]);
    std::u16string_view types, label;
    contact::PhoneTypesOfCategory(kOutlookPhoneColumns[i].kind, &types, &label);
    phone.Types = types;
    phone.ABLabel = label;
    c.Phones.push_back(std::move(phone));
  }
  for (std::size_t i = 0; i < s.emails.size(); ++i) {
    if (!display_names[i].empty() && !IsDerivedDisplayName(display_names[i], s.emails[i].Value)) {
      AddNoteLine(s.notes, display_headers[i], display_names[i]);
    }
    if (s.emails[i].Value.empty()) continue;
    c.Emails.push_back(std::move(s.emails[i]));
  }
  s.google.Apply(log_, c, s.notes);
  if (s.sensitivity >= 0) {
    c.Sensitivity = static_cast<EContactSensitivity>(s.sensitivity);
    if (s.private_flag >= 0) --s.content;  // the pair counts once
  } else if (s.private_flag >= 0) {
    c.Sensitivity = s.private_flag == 1 ? vlmcsPrivate : vlmcsNormal;
  }
  for (contact::ContactPhone& phone : s.nokia_phones) c.Phones.push_back(std::move(phone));
  for (contact::ContactEmail& mail : s.nokia_emails) c.Emails.push_back(std::move(mail));
  for (contact::ContactUrl& url : s.urls) c.Urls.push_back(std::move(url));
  if (!s.notes.empty()) {
    if (!c.Body.empty()) c.Body += u"\r\n";
    c.Body += s.notes;
  }
  c.InvalidateCaches();
  return s.content < 1 ? S_NO_CONTENT : S_OK;
}

HRESULT ConvertCsvRows(const CCsv& csv, const CsvCellsTable& cells, const CsvRowsRequest& request,
                       std::vector<std::string>* cards, int* empties, int* errors) {
  cards->clear();
  *empties = 0;
  *errors = 0;
  vcard::CCardExport writer(csv.log(), request.prodid_line);
  contact::ContactRecord contact;
  // `count` may be "all": the range is cut at the last row without overflowing.
  const std::size_t end = request.from >= cells.size() ? request.from
                          : request.count > cells.size() - request.from
                              ? cells.size()
                              : request.from + request.count;
  const int total = static_cast<int>(end > request.from ? end - request.from : 0);
  for (std::size_t r = request.from; r < end; ++r) {
    const CsvRow& row = cells[r];
    contact.Clear();
    // Rows are reported by their place in the table, as a spreadsheet shows it.
    CCardEventScope card(csv.log().events(), static_cast<std::int32_t>(r + 1));
    const HRESULT status =
        row.empty() ? S_NO_CONTENT
                    : csv.ImportContact(request.codes, row, &contact, request.lid, request.names);
    if (status == S_NO_CONTENT) {
      ++*empties;
    } else if (FAILED(status)) {
      ++*errors;
    } else {
      const char* text = nullptr;
      std::size_t length = 0;
      if (csv.log().events().listening())
        csv.log().events().SetCardName(contact::ComposeFullName(contact));
      if (SUCCEEDED(writer.ExportContact(&contact, 30, 65001, "utf-8", &text, &length))) {
        cards->emplace_back(text, length);
        card.Commit();
      } else {
        ++*errors;
      }
    }
    if (request.progress && !request.progress(static_cast<int>(r - request.from + 1), total,
                                              static_cast<int>(cards->size()), *empties, *errors)) {
      cards->clear();
      return S_NO_CONTENT;
    }
  }
  return cards->empty() ? S_NO_CONTENT : S_OK;
}

}  // namespace velmora::csv
