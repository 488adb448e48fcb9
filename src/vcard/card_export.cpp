#include "vcard/card_export.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>

#include "contact/card_fields.h"
#include "contact/card_names.h"
#include "contact/card_tools.h"
#include "foundation/code_page.h"
#include "foundation/module_info.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "vcard/base64_encoder.h"
#include "vcard/card_line_scan.h"
#include "vcard/qp_encoder.h"

namespace velmora {
namespace {

constexpr std::string_view kLabelExport = "CCardExport.ExportContact";

// Photos are cut into lines of this many base64 characters; each following
// line starts with one space (folding).
constexpr std::size_t kPhotoLineLength = 76;

constexpr HRESULT kStatusBadCodePage = HRESULT_FROM_WIN32(win32::ERROR_INVALID_PARAMETER);

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

// Writes the 3.0 text escapes of `bytes` to `out`, which has room for two
// bytes per byte: "\" (when `escape_backslash`), "," and line breaks (CR LF,
// CR or LF become "\n"). Returns the end of what was written.
char* WriteEscaped30(std::string_view bytes, bool escape_backslash, char* out) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p < end) {
    // The bytes up to the next one that may need an escape are copied as a run.
    const char* const stop = scan::FindAnyOf4(p, end, '\\', ',', '\r', '\n');
    std::memcpy(out, p, static_cast<std::size_t>(stop - p));
    out += stop - p;
    p = stop;
    if (p == end) break;
    const char c = *p++;
    switch (c) {
      case '\\':
        if (escape_backslash) *out++ = '\\';
        *out++ = c;
        break;
      case ',':
        *out++ = '\\';
        *out++ = ',';
        break;
      case '\r':
        if (p < end && *p == '\n') ++p;
        [[fallthrough]];
      case '\n':
        *out++ = '\\';
        *out++ = 'n';
        break;
      default:
        *out++ = c;
        break;
    }
  }
  return out;
}

// The same appended to a string.
void AppendEscaped30(std::string_view bytes, bool escape_backslash, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + 2 * bytes.size());
  char* const end = WriteEscaped30(bytes, escape_backslash, out.data() + start);
  out.resize(static_cast<std::size_t>(end - out.data()));
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
  std::u16string ContactRecord::*field;
};
constexpr OutlookField kOutlookFields[] = {
    {prop::X_ZORVA_OL_ACCOUNT, &ContactRecord::Account},
    {prop::X_ZORVA_OL_BILLING_INFORMATION, &ContactRecord::BillingInformation},
    {prop::X_ZORVA_OL_GOVERNMENT_ID_NUMBER, &ContactRecord::GovernmentIDNumber},
    {prop::X_ZORVA_OL_KEYWORD, &ContactRecord::Keyword},
    {prop::X_ZORVA_OL_LOCATION, &ContactRecord::Location},
    {prop::X_ZORVA_OL_LOCATION_EX, &ContactRecord::LocationEx},
    {prop::X_ZORVA_OL_MILEAGE, &ContactRecord::Mileage},
    {prop::X_ZORVA_OL_ORGANIZATIONAL_ID_NUMBER, &ContactRecord::OrganizationalIDNumber},
    {prop::X_ZORVA_OL_SCHOOL, &ContactRecord::School},
    {prop::X_ZORVA_OL_YOMI_COMPANY, &ContactRecord::YomiCompany},
};

}  // namespace

CCardExport::CCardExport(CLog& log, std::string_view prodid_line, std::size_t initial_buffer_size)
    : log_(log) {
  while (!prodid_line.empty() && (prodid_line.back() == '\r' || prodid_line.back() == '\n')) {
    prodid_line.remove_suffix(1);
  }
  prodid_ = prodid_line.empty() ? DefaultProdIdLine() : std::string(prodid_line);
  if (initial_buffer_size >= kMinInitialBufferSize) capacity_ = initial_buffer_size;
}

CCardExport::~CCardExport() = default;

std::string CCardExport::DefaultProdIdLine() {
  const ModuleInfo& module = ThisModule();
  char line[96];
  std::snprintf(line, sizeof(line), "PRODID:-//Zorva Corporation//Lumbrix %d.%d//EN",
                static_cast<int>(module.version[0]), static_cast<int>(module.version[1]));
  return line;
}

HRESULT CCardExport::ExportContact(const ContactRecord* record, int version, int code_page,
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
    log_.LogError(kLabelExport, kStatusBadCodePage, "Cannot write vCard in code page %d",
                  code_page);
    return E_GENERIC_FAILURE;
  }

  record_ = record;
  v30_ = version != 21;
  code_page_ = code_page;
  charset_.assign(charset);
  item_counter_ = 0;
  failed_ = false;
  length_ = 0;

  try {
    put("BEGIN:VCARD\r\n");
    addVERSION(version);
    if (v30_ && !prodid_.empty()) {
      put(prodid_);
      putCrlf();
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
      put(record_->Gender == vlmcgFemale ? "X-WAB-GENDER:1\r\n" : "X-WAB-GENDER:2\r\n");
    }
    addX_SOCIALPROFILEs();
    addX_ZORVA_OL();
    addPHOTO();
    put("END:VCARD\r\n");
  } catch (const std::bad_alloc&) {
    log_.LogError(kLabelExport, E_OUTOFMEMORY, "Out of memory");
    failed_ = true;
  }
  record_ = nullptr;
  if (failed_) {
    length_ = 0;
    return E_GENERIC_FAILURE;
  }
  buffer_[length_] = '\0';
  *out_text = buffer_.get();
  if (out_length != nullptr) *out_length = length_;
  return S_OK;
}

// --- Lines ----------------------------------------------------------------

void CCardExport::addVERSION(int version) {
  if (version == 21) {
    put("VERSION:2.1\r\n");
    return;
  }
  if (version != 30) {
    log_.LogWarning("CCardExport.addVERSION", E_INVALIDARG, "Unsupported version %d; writing 3.0",
                    version);
  }
  put("VERSION:3.0\r\n");
}

void CCardExport::addNames() {
  const ContactRecord& r = *record_;
  const bool any_name = !IsBlank(r.LastName) || !IsBlank(r.FirstName) || !IsBlank(r.MiddleName) ||
                        !IsBlank(r.Title) || !IsBlank(r.Suffix);
  if (any_name) {
    put("N");
    putCharset();
    putValues({r.LastName, r.FirstName, r.MiddleName, r.Title, r.Suffix});
  } else if (v30_) {
    // N is required in 3.0.
    put("N");
    putCharset();
    putValues({u"", u"", u"", u"", u""});
  }
  addSimple("X-PHONETIC-FIRST-NAME", r.PhoneticFirstName);
  addSimple("X-PHONETIC-MIDDLE-NAME", r.PhoneticMiddleName);
  addSimple("X-PHONETIC-LAST-NAME", r.PhoneticLastName);

  const std::u16string full_name = ComposeFullName(r);
  if (log_.events().listening()) {
    const std::u16string_view written = text::Trim(r.FormattedName);
    if (!written.empty() && written != full_name) {
      log_.events().Add(cevNameReplaced, written);
    }
  }
  if (!full_name.empty() || v30_) {
    put("FN");
    putCharset();
    putValue(full_name);
  }
  addSimple("NICKNAME", r.NickName);
  addSimple("X-MAIDENNAME", r.MaidenName);
  if (!IsBlank(r.CompanyName) || !IsBlank(r.Department)) {
    put("ORG");
    putCharset();
    putValues({r.CompanyName, r.Department});
  }
  addSimple("TITLE", r.JobTitle);
  if (!IsBlankOrBreaks(r.Body)) {
    put("NOTE");
    putCharset();
    putValue(r.Body, /*force_qp=*/true);
  }
}

void CCardExport::addTEL() {
  std::string group;
  for (const ContactPhone& phone : record_->Phones) {
    if (phone.Value.empty()) continue;
    if (phone.ABLabel.empty()) {
      put("TEL");
      putCharset();
      putTypes(phone.Types);
      putValue(phone.Value);
      continue;
    }
    if (v30_) {
      putGroup(phone.ABLabel, group);
      put("TEL");
      putCharset();
      putTypes(phone.Types);
      putValue(phone.Value);
      putLabel(group, phone.ABLabel);
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
      put("TEL");
      putCharset();
      putTypes(phone.Types);
      putValue(phone.Value);
      continue;
    }
    if (type == "TELEX") {
      put("EMAIL");
      putType("TLX");
      putTypes(phone.Types);
    } else {
      put("X-MS-TEL");
      if (!type.empty()) putType(type);
      putTypes(phone.Types);
    }
    putCharset();
    putValue(phone.Value);
  }
}

void CCardExport::addADRs() {
  std::string group;
  bool written = false;
  for (const ContactAddress& address : record_->Addresses) {
    if (IsAddressEmpty(address)) {
      log_.LogDetail("CCardExport.addADRs", "skipping empty address");
      continue;
    }
    putGroup(address.ABLabel, group);
    put("ADR");
    putCharset();
    putTypes(address.Types);
    putValues({address.PostOfficeBox, address.OfficeLocation, address.Street, address.City,
               address.State, address.PostalCode, address.Country});
    putLabel(group, address.ABLabel);
    written = true;
  }
  if (!written) return;

  int selected = static_cast<int>(record_->SelectedMailingAddress);
  if (selected < vlmcaNone || selected > vlmcaOther) {
    log_.LogWarning("CCardExport.addADRs", E_INVALIDARG, "Unknown SelectedMailingAddress = %d",
                    selected);
    selected = vlmcaNone;
  } else if (selected != vlmcaNone) {
    const ContactAddress* address = record_->AddressByKind(static_cast<EContactAddress>(selected));
    if (address == nullptr || IsAddressEmpty(*address)) selected = vlmcaNone;
  }
  char line[48];
  std::snprintf(line, sizeof(line), "X-MS-OL-DEFAULT-POSTAL-ADDRESS:%d\r\n", selected);
  put(line);
}

void CCardExport::addURLs() {
  std::string group;
  for (const ContactUrl& url : record_->Urls) {
    if (url.Value.empty()) continue;
    putGroup(url.ABLabel, group);
    put("URL");
    putCharset();
    putTypes(url.Types);
    putValue(url.Value);
    putLabel(group, url.ABLabel);
  }
}

void CCardExport::addBDAY() {
  if (IsEmptyDate(record_->Birthday)) return;
  const std::string date = Date2Str(record_->Birthday, !v30_);
  if (date.empty()) {
    log_.LogWarning("CCardExport.addBDAY", E_INVALIDARG, "Invalid Birthday %f", record_->Birthday);
    return;
  }
  put(v30_ ? "BDAY;VALUE=date:" : "BDAY:");
  put(date);
  putCrlf();
}

void CCardExport::addEMAILs() {
  std::string group;
  const auto& emails = record_->Emails;
  for (std::size_t i = 0; i < emails.size(); ++i) {
    const ContactEmail& email = emails[i];
    if (email.Value.empty()) {
      log_.LogDetail("CCardExport.addEMAILs", "skipping empty EMAIL");
      continue;
    }
    putGroup(email.ABLabel, group);
    put("EMAIL");
    if (!email.Types.empty()) {
      putTypes(email.Types);
    } else {
      if (i == 0) putType("PREF");
      const bool internet = email.AddressType.empty()
                                ? email.Value.find(u'@', 1) != std::u16string::npos
                                : text::EqualsNoCase(email.AddressType, u"SMTP");
      if (internet) putType("INTERNET");
    }
    putCharset();
    putValue(email.Value);
    putLabel(group, email.ABLabel);
  }
}

void CCardExport::addIMPPs() {
  std::string group;
  for (const ContactImpp& impp : record_->Impps) {
    if (IsBlank(impp.Value)) {
      log_.LogDetail("CCardExport.addIMPPs", "skipping empty IMPP");
      continue;
    }
    if (v30_) {
      putGroup(impp.ABLabel, group);
      put("IMPP");
      putCharset();
      putTypes(impp.Types);
      if (!impp.ServiceType.empty()) {
        std::string service;
        if (!toTarget(impp.ServiceType, service)) return;
        put(";X-SERVICE-TYPE=");
        put(service);
      }
      std::u16string uri = impp.Protocol;
      uri += u':';
      uri += impp.Value;
      putValue(uri);
      putLabel(group, impp.ABLabel);
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
    put(name);
    putCharset();
    putTypes(impp.Types);
    putValue(impp.Value);
  }
}

void CCardExport::addDATEs() {
  std::string group;
  for (const ContactDate& date : record_->Dates) {
    if (IsEmptyDate(date.Date)) continue;
    const std::string text = Date2Str(date.Date, !v30_);
    if (text.empty()) {
      log_.LogWarning("CCardExport.addDATEs", E_INVALIDARG, "Invalid date %f", date.Date);
      continue;
    }
    if (!v30_ && text::EqualsNoCase(date.ABLabel, kAnniversaryLabel)) {
      put("X-MS-ANNIVERSARY:");
      put(text);
      putCrlf();
      continue;
    }
    putGroup(date.ABLabel, group);
    put("X-ABDATE");
    putTypes(date.Types);
    put(":");
    put(text);
    putCrlf();
    putLabel(group, date.ABLabel);
  }
}

void CCardExport::addRELATEDNAMEs() {
  std::string group;
  for (const ContactRelatedName& related : record_->RelatedNames) {
    if (related.Name.empty()) continue;
    if (!v30_) {
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
        put(name);
        putCharset();
        putValue(related.Name);
        continue;
      }
    }
    const std::u16string_view label = RelatedNameLabelText(related);
    putGroup(label, group);
    put("X-ABRELATEDNAMES");
    putCharset();
    putTypes(related.Types);
    putValue(related.Name);
    putLabel(group, label);
  }
}

void CCardExport::addCATEGORIES() {
  const std::u16string& categories = record_->Categories;
  if (IsBlank(categories)) return;
  if (v30_) {
    addList("CATEGORIES", categories);
    return;
  }
  put("X-OUTL-CATEGORIES");
  putCharset();
  putValue(categories);
}

void CCardExport::addREV() {
  if (IsEmptyDate(record_->LastModificationTime)) return;
  const std::string text = DateTime2Str(log_, record_->LastModificationTime, /*time_is_utc=*/false,
                                        /*want_utc=*/true, /*compact=*/!v30_);
  if (text.empty()) return;  // logged by DateTime2Str
  put("REV:");
  put(text);
  putCrlf();
}

void CCardExport::addUID() {
  const std::u16string& uid = record_->UID;
  if (uid.empty()) return;
  put("UID");
  if (!IsPlainUid(uid)) putCharset();
  putValue(uid);
}

void CCardExport::addCLASS() {
  const std::u16string_view word = SensitivityToWord(record_->Sensitivity);
  if (word.empty()) return;
  put(v30_ ? "CLASS:" : "X-OUTL-CLASS:");
  put(Ascii(word));
  putCrlf();
}

void CCardExport::addX_MS_TEXT() {
  const std::u16string* users[] = {&record_->User1, &record_->User2, &record_->User3,
                                   &record_->User4};
  for (int n = 1; n <= 4; ++n) {
    const std::u16string& value = *users[n - 1];
    if (IsBlank(value)) continue;
    char type[16];
    std::snprintf(type, sizeof(type), "CUSTOM%d", n);
    put("X-MS-TEXT");
    putType(type);
    putCharset();
    putValue(value);
  }
}

void CCardExport::addCUSTOM_FIELDs() {
  std::string group;
  for (const ContactCustomField& field : record_->CustomFields) {
    if (field.Value.empty()) continue;
    putGroup(field.ABLabel, group);
    put("X-ZORVA-CUSTOM-FIELD");
    putTypes(field.Types);
    putCharset();
    putValue(field.Value);
    putLabel(group, field.ABLabel);
  }
}

void CCardExport::addX_SOCIALPROFILEs() {
  std::string group;
  for (const ContactSocialProfile& profile : record_->SocialProfiles) {
    if (profile.Value.empty()) continue;
    putGroup(profile.ABLabel, group);
    put("X-SOCIALPROFILE");
    putCharset();
    putTypes(profile.Types);
    putValue(profile.Value);
    putLabel(group, profile.ABLabel);
  }
}

void CCardExport::addX_ZORVA_OL() {
  const CCardFields& fields = CCardFields::Get();
  for (const OutlookField& entry : kOutlookFields) {
    const std::u16string& value = record_->*entry.field;
    if (IsBlank(value)) continue;
    const PropertyDef* def = fields.FindByCode(entry.code);
    if (def == nullptr) {
      log_.LogError("CCardExport.addX_ZORVA_OL", E_GENERIC_FAILURE, "Cant find field %d",
                    entry.code);
      continue;
    }
    if (v30_ && def->Has(fkText | fkStructured)) {
      addList(def->name, value);
    } else {
      addSimple(def->name, value);
    }
  }
}

void CCardExport::addPHOTO() {
  const ContactRecord& r = *record_;
  if (r.PhotoSize() <= 0) return;
  encoded_.clear();
  if (!Base64Encode(r.Photo.data(), r.Photo.size(), kPhotoLineLength, "\r\n ", encoded_)) {
    log_.LogError("CCardExport.addPHOTO", E_GENERIC_FAILURE, "Base64Encode failed");
    return;
  }
  // A photo without a type word is typed by its signature; with none known
  // the TYPE parameter is left out rather than written empty.
  std::u16string ext = r.PhotoExt;
  if (ext.empty()) ext = DetectPhotoExt(r.Photo.data(), r.Photo.size(), nullptr);
  std::string type;
  if (!toTarget(ext, type)) return;
  put("PHOTO;ENCODING=BASE64");
  if (!type.empty()) {
    put(";TYPE=");
    put(type);
  }
  put(":\r\n ");
  put(encoded_);
  put("\r\n\r\n");
}

void CCardExport::addSimple(std::string_view name, std::u16string_view value) {
  if (IsBlank(value)) return;
  put(name);
  putCharset();
  putValue(value);
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
      if (!toTarget(piece, piece_bytes)) return;
      if (!joined.empty()) joined.push_back(',');
      AppendEscaped30(piece_bytes, /*escape_backslash=*/true, joined);
    }
    start = end + (separator.empty() ? 1 : separator.size());
  }
  if (joined.empty()) return;
  put(name);
  putCharset();
  put(":");
  put(joined);
  putCrlf();
}

// --- Pieces ---------------------------------------------------------------

void CCardExport::putGroup(std::u16string_view label, std::string& group) {
  group.clear();
  if (label.empty()) return;
  char number[16];
  const char* const number_end =
      std::to_chars(number, number + sizeof(number), ++item_counter_).ptr;
  group.assign("item").append(std::string_view(number, number_end - number)).push_back('.');
  put(group);
}

void CCardExport::putLabel(const std::string& group, std::u16string_view label) {
  if (group.empty()) return;
  put(group);
  put("X-ABLABEL");
  putCharset();
  putValue(label);
}

void CCardExport::putCharset() {
  if (charset_.empty()) return;
  if (v30_ && text::EqualsAsciiNoCase(charset_, "UTF-8")) return;
  put(";CHARSET=");
  put(charset_);
}

void CCardExport::putType(std::string_view type) {
  // Quoted TYPE values (TYPE="work,voice", written by newer exporters) reach
  // the record split at their commas, each piece with a stray quote: the
  // words go out bare.
  while (!type.empty() && type.front() == '"') type.remove_prefix(1);
  while (!type.empty() && type.back() == '"') type.remove_suffix(1);
  if (type.empty()) return;
  // A ':' or ';' written bare would end the property name or the parameter
  // and lose the value to every reader: 3.0 quotes such a type, 2.1 has no
  // quoting and leaves it out, as it does any type with a quote or a control
  // character in it.
  bool needs_quotes = false;
  for (const char c : type) {
    const bool separator = c == ':' || c == ';';
    if (static_cast<unsigned char>(c) < 0x20 || c == '"' || (separator && !v30_)) {
      log_.LogWarning("CCardExport.putType", E_INVALIDARG,
                      "Type \"%s\" cannot be written in version %s; left out", type,
                      v30_ ? "3.0" : "2.1");
      return;
    }
    needs_quotes = needs_quotes || separator;
  }
  put(v30_ ? ";TYPE=" : ";");
  if (needs_quotes) put("\"");
  put(type);
  if (needs_quotes) put("\"");
}

void CCardExport::putTypes(std::u16string_view types) {
  if (types.empty()) return;
  if (!toTarget(types, types_)) return;
  std::string_view rest = types_;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view piece = text::Trim(rest.substr(0, comma));
    if (!piece.empty()) putType(piece);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
}

void CCardExport::putValue(std::u16string_view value, bool force_qp) {
  if (!toTarget(value, narrow_)) return;
  putEncoded(narrow_, /*single=*/true, force_qp);
}

void CCardExport::putValues(std::initializer_list<std::u16string_view> components) {
  if (components.size() == 1) {
    putValue(*components.begin());
    return;
  }
  wide_.clear();
  bool first = true;
  for (std::u16string_view component : components) {
    if (!first) wide_.push_back(u';');
    first = false;
    // Runs between the characters to escape ("\\" and ";") are appended whole.
    std::size_t start = 0;
    for (std::size_t i = 0; i < component.size(); ++i) {
      if (component[i] != u'\\' && component[i] != u';') continue;
      wide_.append(component.substr(start, i - start)).push_back(u'\\');
      start = i;
    }
    wide_.append(component.substr(start));
  }
  if (!toTarget(wide_, narrow_)) return;
  putEncoded(narrow_, /*single=*/false, /*force_qp=*/false);
}

void CCardExport::putEncoded(std::string_view bytes, bool single, bool force_qp) {
  if (v30_) {
    put(":");
    putEscaped30(bytes, /*escape_backslash=*/single);
  } else {
    bool qp = force_qp;
    for (std::size_t i = 0; i < bytes.size() && !qp; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      qp = byte < 0x20 || byte >= 0x80;
    }
    if (qp) {
      encoded_.clear();
      EncodeQuotedPrintable(bytes, encoded_);
      put(";ENCODING=QUOTED-PRINTABLE:");
      put(encoded_);
    } else {
      put(":");
      put(bytes);
    }
  }
  putCrlf();
}

bool CCardExport::toTarget(std::u16string_view text, std::string& out) {
  if (failed_) return false;
  if (codepage::FromUtf16(code_page_, text, out)) {
    if (log_.events().listening()) {
      if (const int lost = codepage::CountSubstituted(code_page_, text, out); lost > 0) {
        log_.events().Add(cevCharactersLost, u"", lost);
      }
    }
    return true;
  }
  log_.LogError(kLabelExport, kStatusBadCodePage, "Cannot convert text to code page %d",
                code_page_);
  failed_ = true;
  return false;
}

void CCardExport::putEscaped30(std::string_view bytes, bool escape_backslash) {
  // Escaped straight into the output buffer, which gets room for the worst
  // case (every byte doubled) first.
  if (failed_ || !reserve(2 * bytes.size())) return;
  char* const start = buffer_.get() + length_;
  length_ += static_cast<std::size_t>(WriteEscaped30(bytes, escape_backslash, start) - start);
}

void CCardExport::put(std::string_view bytes) {
  if (failed_ || !reserve(bytes.size())) return;
  if (!bytes.empty()) std::memcpy(buffer_.get() + length_, bytes.data(), bytes.size());
  length_ += bytes.size();
}

bool CCardExport::reserve(std::size_t extra) {
  const std::size_t needed = length_ + extra + 1;  // the terminating zero
  const std::size_t previous = capacity_;
  if (needed > capacity_) {
    const std::size_t missing = needed - capacity_;
    capacity_ += (missing + kBufferStep - 1) / kBufferStep * kBufferStep;
  }
  if (allocated_ >= capacity_) return true;
  std::unique_ptr<char[]> grown(new (std::nothrow) char[capacity_]);
  if (!grown) {
    log_.LogError(kLabelExport, E_OUTOFMEMORY, "Cannot grow the output buffer to %d bytes",
                  static_cast<std::uint64_t>(capacity_));
    capacity_ = previous;
    failed_ = true;
    return false;
  }
  if (length_ != 0) std::memcpy(grown.get(), buffer_.get(), length_);
  buffer_ = std::move(grown);
  allocated_ = capacity_;
  return true;
}

}  // namespace velmora
