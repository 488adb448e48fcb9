#include "vcard/card_export.h"

#include <cstdio>
#include <new>

#include "contact/card_fields.h"
#include "contact/card_names.h"
#include "contact/card_tools.h"
#include "foundation/code_page.h"
#include "foundation/module_info.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "vcard/base64.h"

namespace velmora::vcard {
namespace {

constexpr std::string_view kLabelExport = CardLineWriter::kFailureLabel;

// Photos are cut into lines of this many base64 characters; each following
// line starts with one space (folding).
constexpr std::size_t kPhotoLineLength = 76;

// Empty or made only of spaces and TABs.
bool IsBlank(std::u16string_view text) {
  for (char16_t c : text) {
    if (c != u' ' && c != u'\t') return false;
  }
  return true;
}

// Empty or made only of spaces, TABs, CRs and LFs.
bool IsBlankOrBreaks(std::u16string_view text) {
  for (char16_t c : text) {
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') return false;
  }
  return true;
}

// A UID made only of these needs no charset parameter.
bool IsPlainUid(std::u16string_view uid) {
  for (char16_t c : uid) {
    const bool plain = c == u'-' || c == u'{' || c == u'}' || (c >= u'0' && c <= u'9') ||
                       (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    if (!plain) return false;
  }
  return true;
}

// ASCII text (property words held as UTF-16) as bytes.
std::string Ascii(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

// Outlook phone types of vCard 2.1 by Apple label.
struct OutlookPhoneType {
  std::u16string_view label;
  std::string_view type;
};
constexpr OutlookPhoneType kOutlookPhoneTypes[] = {
    {u"Assistant", "ASSISTANT"}, {u"Company", "COMPANY"}, {u"Callback", "CALLBACK"},
    {u"Radio", "RADIO"},         {u"Telex", "TELEX"},     {u"TTY/TDD", "TTYTDD"},
};

// vCard 2.1 instant-messaging properties by (service type, protocol).
struct ImppProperty {
  std::u16string_view service;
  std::u16string_view protocol;
  std::string_view name;
};
constexpr ImppProperty kImppProperties[] = {
    {u"IM Address", u"x-apple", "X-MS-IMADDRESS"},
    {u"aim", u"aim", "X-AIM"},
    {u"gadugadu", u"x-apple", "X-GADUGADU"},
    {u"googletalk", u"xmpp", "X-GTALK"},
    {u"icq", u"aim", "X-ICQ"},
    {u"jabber", u"xmpp", "X-JABBER"},
    {u"msn", u"msnim", "X-MSN"},
    {u"yahoo", u"ymsgr", "X-YAHOO"},
    {u"qq", u"x-apple", "X-QQ"},
    {u"skype", u"skype", "X-SKYPE"},
};

// The Outlook-only text fields written as X-ZORVA-OL- properties.
struct OutlookField {
  std::int32_t code;
  std::u16string contact::ContactRecord::*field;
};
constexpr OutlookField kOutlookFields[] = {
    {contact::prop::X_ZORVA_OL_ACCOUNT, &contact::ContactRecord::Account},
    {contact::prop::X_ZORVA_OL_BILLING_INFORMATION, &contact::ContactRecord::BillingInformation},
    {contact::prop::X_ZORVA_OL_GOVERNMENT_ID_NUMBER, &contact::ContactRecord::GovernmentIDNumber},
    {contact::prop::X_ZORVA_OL_KEYWORD, &contact::ContactRecord::Keyword},
    {contact::prop::X_ZORVA_OL_LOCATION, &contact::ContactRecord::Location},
    {contact::prop::X_ZORVA_OL_LOCATION_EX, &contact::ContactRecord::LocationEx},
    {contact::prop::X_ZORVA_OL_MILEAGE, &contact::ContactRecord::Mileage},
    {contact::prop::X_ZORVA_OL_ORGANIZATIONAL_ID_NUMBER,
     &contact::ContactRecord::OrganizationalIDNumber},
    {contact::prop::X_ZORVA_OL_SCHOOL, &contact::ContactRecord::School},
    {contact::prop::X_ZORVA_OL_YOMI_COMPANY, &contact::ContactRecord::YomiCompany},
};

}  // namespace

CCardExport::CCardExport(CLog& log, std::string_view prodid_line, std::size_t initial_buffer_size)
    : log_(log), out_(log, initial_buffer_size) {
  while (!prodid_line.empty() && (prodid_line.back() == '\r' || prodid_line.back() == '\n')) {
    prodid_line.remove_suffix(1);
  }
  prodid_ = prodid_line.empty() ? DefaultProdIdLine() : std::string(prodid_line);
}

CCardExport::~CCardExport() = default;

std::string CCardExport::DefaultProdIdLine() {
  const ModuleInfo& module = ThisModule();
  char line[96];
  std::snprintf(line, sizeof(line), "PRODID:-//Zorva Corporation//Lumbrix %d.%d//EN",
                static_cast<int>(module.version[0]), static_cast<int>(module.version[1]));
  return line;
}

HRESULT CCardExport::ExportContact(const contact::ContactRecord* record, int version, int code_page,
                                   std::string_view charset, const char** out_text,
                                   std::size_t* out_length) {
  if (out_text != nullptr) *out_text = nullptr;
  if (out_length != nullptr) *out_length = 0;
  if (record == nullptr) {
    log_.LogError(kLabelExport, E_POINTER, "No contact record");
    return E_GENERIC_FAILURE;
  }
  if (out_text == nullptr) {
    log_.LogError(kLabelExport, E_POINTER, "No output pointer");
    return E_GENERIC_FAILURE;
  }
  // The output is 8-bit text: the UTF-16 code pages cannot hold it.
  if (!codepage::IsKnown(code_page) || code_page == codepage::kUtf16LE ||
      code_page == codepage::kUtf16BE) {
    log_.LogError(kLabelExport, CardLineWriter::kBadCodePage, "Cannot write vCard in code page %d",
                  code_page);
    return E_GENERIC_FAILURE;
  }

  record_ = record;
  out_.Begin(/*v30=*/version != 21, code_page, charset);

  try {
    out_.Put("BEGIN:VCARD\r\n");
    addVERSION(version);
    if (out_.v30() && !prodid_.empty()) {
      out_.Put(prodid_);
      out_.PutCrlf();
    }
    addNames();
    addTEL();
    addADRs();
    addURLs();
    addSimple("ROLE", record_->Profession);
    addBDAY();
    addEMAILs();
    addIMPPs();
    addDATEs();
    addRELATEDNAMEs();
    addSimple("X-OUTL-NMSERVER", record_->NetMeetingServer);
    addSimple("X-OUTL-NMALIAS", record_->NetMeetingAlias);
    addSimple("FBURL", record_->InternetFreeBusyAddress);
    addCATEGORIES();
    addREV();
    addUID();
    addCLASS();
    addX_MS_TEXT();
    addCUSTOM_FIELDs();
    addSimple("X-MS-INTERESTS", record_->Hobby);
    if (record_->Gender == vlmcgFemale || record_->Gender == vlmcgMale) {
      out_.Put(record_->Gender == vlmcgFemale ? "X-WAB-GENDER:1\r\n" : "X-WAB-GENDER:2\r\n");
    }
    addX_SOCIALPROFILEs();
    addX_ZORVA_OL();
    addPHOTO();
    out_.Put("END:VCARD\r\n");
  } catch (const std::bad_alloc&) {
    log_.LogError(kLabelExport, E_OUTOFMEMORY, "Out of memory");
    out_.Fail();
  }
  record_ = nullptr;
  const char* const text = out_.Finish(out_length);
  if (text == nullptr) return E_GENERIC_FAILURE;
  *out_text = text;
  return S_OK;
}

// --- Lines ----------------------------------------------------------------

void CCardExport::addVERSION(int version) {
  if (version == 21) {
    out_.Put("VERSION:2.1\r\n");
    return;
  }
  if (version != 30) {
    log_.LogWarning("CCardExport.addVERSION", E_INVALIDARG, "Unsupported version %d; writing 3.0",
                    version);
  }
  out_.Put("VERSION:3.0\r\n");
}

void CCardExport::addNames() {
  const contact::ContactRecord& r = *record_;
  const bool any_name = !IsBlank(r.LastName) || !IsBlank(r.FirstName) || !IsBlank(r.MiddleName) ||
                        !IsBlank(r.Title) || !IsBlank(r.Suffix);
  if (any_name) {
    out_.Put("N");
    out_.PutCharset();
    out_.PutValues({r.LastName, r.FirstName, r.MiddleName, r.Title, r.Suffix});
  } else if (out_.v30()) {
    // N is required in 3.0.
    out_.Put("N");
    out_.PutCharset();
    out_.PutValues({u"", u"", u"", u"", u""});
  }
  addSimple("X-PHONETIC-FIRST-NAME", r.PhoneticFirstName);
  addSimple("X-PHONETIC-MIDDLE-NAME", r.PhoneticMiddleName);
  addSimple("X-PHONETIC-LAST-NAME", r.PhoneticLastName);

  const std::u16string full_name = contact::ComposeFullName(r);
  if (log_.events().listening()) {
    const std::u16string_view written = text::Trim(r.FormattedName);
    if (!written.empty() && written != full_name) {
      log_.events().Add(cevNameReplaced, written);
    }
  }
  if (!full_name.empty() || out_.v30()) {
    out_.Put("FN");
    out_.PutCharset();
    out_.PutValue(full_name);
  }
  addSimple("NICKNAME", r.NickName);
  addSimple("X-MAIDENNAME", r.MaidenName);
  if (!IsBlank(r.CompanyName) || !IsBlank(r.Department)) {
    out_.Put("ORG");
    out_.PutCharset();
    out_.PutValues({r.CompanyName, r.Department});
  }
  addSimple("TITLE", r.JobTitle);
  if (!IsBlankOrBreaks(r.Body)) {
    out_.Put("NOTE");
    out_.PutCharset();
    out_.PutValue(r.Body, /*force_qp=*/true);
  }
}

void CCardExport::addTEL() {
  for (const contact::ContactPhone& phone : record_->Phones) {
    if (phone.Value.empty()) continue;
    if (phone.ABLabel.empty() || out_.v30()) {
      addLabelled("TEL", phone.ABLabel, phone.Types, phone.Value);
      continue;
    }
    // vCard 2.1 knows labelled phones only as Outlook's phone types.
    std::string_view type;
    for (const OutlookPhoneType& entry : kOutlookPhoneTypes) {
      if (text::EqualsNoCase(phone.ABLabel, entry.label)) {
        type = entry.type;
        break;
      }
    }
    if (type.empty()) {
      // No Outlook type holds this label: an untyped X-MS-TEL would be lost
      // on every reader, so the number goes out as a plain TEL.
      log_.LogWarning("CCardExport.addTEL", S_FALSE, "Unknown ABLabel = \"%s\"", phone.ABLabel);
      addLabelled("TEL", {}, phone.Types, phone.Value);
      continue;
    }
    if (type == "TELEX") {
      out_.Put("EMAIL");
      out_.PutType("TLX");
      out_.PutTypes(phone.Types);
    } else {
      out_.Put("X-MS-TEL");
      if (!type.empty()) out_.PutType(type);
      out_.PutTypes(phone.Types);
    }
    out_.PutCharset();
    out_.PutValue(phone.Value);
  }
}

void CCardExport::addADRs() {
  std::string group;
  bool written = false;
  for (const contact::ContactAddress& address : record_->Addresses) {
    if (contact::IsAddressEmpty(address)) {
      log_.LogDetail("CCardExport.addADRs", "skipping empty address");
      continue;
    }
    out_.PutGroup(address.ABLabel, group);
    out_.Put("ADR");
    out_.PutCharset();
    out_.PutTypes(address.Types);
    out_.PutValues({address.PostOfficeBox, address.OfficeLocation, address.Street, address.City,
                    address.State, address.PostalCode, address.Country});
    out_.PutLabel(group, address.ABLabel);
    written = true;
  }
  if (!written) return;

  int selected = static_cast<int>(record_->SelectedMailingAddress);
  if (selected < vlmcaNone || selected > vlmcaOther) {
    log_.LogWarning("CCardExport.addADRs", E_INVALIDARG, "Unknown SelectedMailingAddress = %d",
                    selected);
    selected = vlmcaNone;
  } else if (selected != vlmcaNone) {
    const contact::ContactAddress* address =
        record_->AddressByKind(static_cast<EContactAddress>(selected));
    if (address == nullptr || contact::IsAddressEmpty(*address)) selected = vlmcaNone;
  }
  char line[48];
  std::snprintf(line, sizeof(line), "X-MS-OL-DEFAULT-POSTAL-ADDRESS:%d\r\n", selected);
  out_.Put(line);
}

void CCardExport::addURLs() {
  for (const contact::ContactUrl& url : record_->Urls) {
    if (!url.Value.empty()) addLabelled("URL", url.ABLabel, url.Types, url.Value);
  }
}

void CCardExport::addBDAY() {
  if (contact::IsEmptyDate(record_->Birthday)) return;
  const std::string date = contact::Date2Str(record_->Birthday, !out_.v30());
  if (date.empty()) {
    log_.LogWarning("CCardExport.addBDAY", E_INVALIDARG, "Invalid Birthday %f", record_->Birthday);
    return;
  }
  out_.Put(out_.v30() ? "BDAY;VALUE=date:" : "BDAY:");
  out_.Put(date);
  out_.PutCrlf();
}

void CCardExport::addEMAILs() {
  std::string group;
  const auto& emails = record_->Emails;
  for (std::size_t i = 0; i < emails.size(); ++i) {
    const contact::ContactEmail& email = emails[i];
    if (email.Value.empty()) {
      log_.LogDetail("CCardExport.addEMAILs", "skipping empty EMAIL");
      continue;
    }
    out_.PutGroup(email.ABLabel, group);
    out_.Put("EMAIL");
    if (!email.Types.empty()) {
      out_.PutTypes(email.Types);
    } else {
      if (i == 0) out_.PutType("PREF");
      const bool internet = email.AddressType.empty()
                                ? email.Value.find(u'@', 1) != std::u16string::npos
                                : text::EqualsNoCase(email.AddressType, u"SMTP");
      if (internet) out_.PutType("INTERNET");
    }
    out_.PutCharset();
    out_.PutValue(email.Value);
    out_.PutLabel(group, email.ABLabel);
  }
}

void CCardExport::addIMPPs() {
  std::string group;
  for (const contact::ContactImpp& impp : record_->Impps) {
    if (IsBlank(impp.Value)) {
      log_.LogDetail("CCardExport.addIMPPs", "skipping empty IMPP");
      continue;
    }
    if (out_.v30()) {
      out_.PutGroup(impp.ABLabel, group);
      out_.Put("IMPP");
      out_.PutCharset();
      out_.PutTypes(impp.Types);
      if (!impp.ServiceType.empty()) {
        std::string service;
        if (!out_.ToTarget(impp.ServiceType, service)) return;
        out_.Put(";X-SERVICE-TYPE=");
        out_.Put(service);
      }
      std::u16string uri = impp.Protocol;
      uri += u':';
      uri += impp.Value;
      out_.PutValue(uri);
      out_.PutLabel(group, impp.ABLabel);
      continue;
    }
    std::string_view name;
    for (const ImppProperty& entry : kImppProperties) {
      if (text::EqualsNoCase(impp.ServiceType, entry.service) &&
          text::EqualsNoCase(impp.Protocol, entry.protocol)) {
        name = entry.name;
        break;
      }
    }
    if (name.empty()) {
      log_.LogWarning("CCardExport.addIMPPs", S_FALSE,
                      "Cant Save IMPP(X-SERVICE-TYPE=?, Protocol=?) in vCard2.1");
      continue;
    }
    out_.Put(name);
    out_.PutCharset();
    out_.PutTypes(impp.Types);
    out_.PutValue(impp.Value);
  }
}

void CCardExport::addDATEs() {
  std::string group;
  for (const contact::ContactDate& date : record_->Dates) {
    if (contact::IsEmptyDate(date.Date)) continue;
    const std::string text = contact::Date2Str(date.Date, !out_.v30());
    if (text.empty()) {
      log_.LogWarning("CCardExport.addDATEs", E_INVALIDARG, "Invalid date %f", date.Date);
      continue;
    }
    if (!out_.v30() && text::EqualsNoCase(date.ABLabel, contact::kAnniversaryLabel)) {
      out_.Put("X-MS-ANNIVERSARY:");
      out_.Put(text);
      out_.PutCrlf();
      continue;
    }
    out_.PutGroup(date.ABLabel, group);
    out_.Put("X-ABDATE");
    out_.PutTypes(date.Types);
    out_.Put(":");
    out_.Put(text);
    out_.PutCrlf();
    out_.PutLabel(group, date.ABLabel);
  }
}

void CCardExport::addRELATEDNAMEs() {
  for (const contact::ContactRelatedName& related : record_->RelatedNames) {
    if (related.Name.empty()) continue;
    if (!out_.v30()) {
      std::string_view name;
      switch (related.Label) {
        case vlmcrnManager:
          name = "X-MS-MANAGER";
          break;
        case vlmcrnAssistant:
          name = "X-MS-ASSISTANT";
          break;
        case vlmcrnSpouse:
          name = "X-MS-SPOUSE";
          break;
        default:
          break;
      }
      if (!name.empty()) {
        out_.Put(name);
        out_.PutCharset();
        out_.PutValue(related.Name);
        continue;
      }
    }
    addLabelled("X-ABRELATEDNAMES", contact::RelatedNameLabelText(related), related.Types,
                related.Name);
  }
}

void CCardExport::addCATEGORIES() {
  const std::u16string& categories = record_->Categories;
  if (IsBlank(categories)) return;
  if (out_.v30()) {
    addList("CATEGORIES", categories);
    return;
  }
  out_.Put("X-OUTL-CATEGORIES");
  out_.PutCharset();
  out_.PutValue(categories);
}

void CCardExport::addREV() {
  if (contact::IsEmptyDate(record_->LastModificationTime)) return;
  const std::string text =
      contact::DateTime2Str(log_, record_->LastModificationTime, /*time_is_utc=*/false,
                            /*want_utc=*/true, /*compact=*/!out_.v30());
  if (text.empty()) return;  // logged by DateTime2Str
  out_.Put("REV:");
  out_.Put(text);
  out_.PutCrlf();
}

void CCardExport::addUID() {
  const std::u16string& uid = record_->UID;
  if (uid.empty()) return;
  out_.Put("UID");
  if (!IsPlainUid(uid)) out_.PutCharset();
  out_.PutValue(uid);
}

void CCardExport::addCLASS() {
  const std::u16string_view word = contact::SensitivityToWord(record_->Sensitivity);
  if (word.empty()) return;
  out_.Put(out_.v30() ? "CLASS:" : "X-OUTL-CLASS:");
  out_.Put(Ascii(word));
  out_.PutCrlf();
}

void CCardExport::addX_MS_TEXT() {
  const std::u16string* users[] = {&record_->User1, &record_->User2, &record_->User3,
                                   &record_->User4};
  for (int n = 1; n <= 4; ++n) {
    const std::u16string& value = *users[n - 1];
    if (IsBlank(value)) continue;
    char type[16];
    std::snprintf(type, sizeof(type), "CUSTOM%d", n);
    out_.Put("X-MS-TEXT");
    out_.PutType(type);
    out_.PutCharset();
    out_.PutValue(value);
  }
}

void CCardExport::addCUSTOM_FIELDs() {
  std::string group;
  for (const contact::ContactCustomField& field : record_->CustomFields) {
    if (field.Value.empty()) continue;
    out_.PutGroup(field.ABLabel, group);
    out_.Put("X-ZORVA-CUSTOM-FIELD");
    out_.PutTypes(field.Types);
    out_.PutCharset();
    out_.PutValue(field.Value);
    out_.PutLabel(group, field.ABLabel);
  }
}

void CCardExport::addX_SOCIALPROFILEs() {
  for (const contact::ContactSocialProfile& profile : record_->SocialProfiles) {
    if (profile.Value.empty()) continue;
    addLabelled("X-SOCIALPROFILE", profile.ABLabel, profile.Types, profile.Value);
  }
}

void CCardExport::addX_ZORVA_OL() {
  const contact::CCardFields& fields = contact::CCardFields::Get();
  for (const OutlookField& entry : kOutlookFields) {
    const std::u16string& value = record_->*entry.field;
    if (IsBlank(value)) continue;
    const contact::PropertyDef* def = fields.FindByCode(entry.code);
    if (def == nullptr) {
      log_.LogError("CCardExport.addX_ZORVA_OL", E_GENERIC_FAILURE, "Cant find field %d",
                    entry.code);
      continue;
    }
    if (out_.v30() && def->Has(contact::fkText | contact::fkStructured)) {
      addList(def->name, value);
    } else {
      addSimple(def->name, value);
    }
  }
}

void CCardExport::addPHOTO() {
  const contact::ContactRecord& r = *record_;
  if (r.PhotoSize() <= 0) return;
  photo_.clear();
  if (!Base64Encode(r.Photo.data(), r.Photo.size(), kPhotoLineLength, "\r\n ", photo_)) {
    log_.LogError("CCardExport.addPHOTO", E_GENERIC_FAILURE, "Base64Encode failed");
    return;
  }
  // A photo without a type word is typed by its signature; with none known
  // the TYPE parameter is left out rather than written empty.
  std::u16string ext = r.PhotoExt;
  if (ext.empty()) ext = contact::DetectPhotoExt(r.Photo.data(), r.Photo.size(), nullptr);
  std::string type;
  if (!out_.ToTarget(ext, type)) return;
  out_.Put("PHOTO;ENCODING=BASE64");
  if (!type.empty()) {
    out_.Put(";TYPE=");
    out_.Put(type);
  }
  out_.Put(":\r\n ");
  out_.Put(photo_);
  out_.Put("\r\n\r\n");
}

void CCardExport::addLabelled(std::string_view name, std::u16string_view label,
                              std::u16string_view types, std::u16string_view value) {
  std::string group;
  out_.PutGroup(label, group);
  out_.Put(name);
  out_.PutCharset();
  out_.PutTypes(types);
  out_.PutValue(value);
  out_.PutLabel(group, label);
}

void CCardExport::addSimple(std::string_view name, std::u16string_view value) {
  if (IsBlank(value)) return;
  out_.Put(name);
  out_.PutCharset();
  out_.PutValue(value);
}

void CCardExport::addList(std::string_view name, std::u16string_view text) {
  const std::u16string separator = settings::ListSeparator();
  std::string joined;
  std::string piece_bytes;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = separator.empty() ? std::u16string_view::npos : text.find(separator, start);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view piece = text::Trim(text.substr(start, end - start));
    if (!piece.empty()) {
      if (!out_.ToTarget(piece, piece_bytes)) return;
      if (!joined.empty()) joined.push_back(',');
      AppendEscaped30(piece_bytes, /*escape_backslash=*/true, joined);
    }
    start = end + (separator.empty() ? 1 : separator.size());
  }
  if (joined.empty()) return;
  out_.Put(name);
  out_.PutCharset();
  out_.Put(":");
  out_.Put(joined);
  out_.PutCrlf();
}

}  // namespace velmora::vcard
