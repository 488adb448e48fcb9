#include "csv/csv_header_table.h"

#include <array>

#include "csv/csv_header.h"

namespace velmora::csv {
namespace {

constexpr std::uint32_t kO = kCsvDialectOutlook;
constexpr std::uint32_t kV1 = kCsvDialectOutlook365v1;
constexpr std::uint32_t kG = kCsvDialectGoogle;
constexpr std::uint32_t kN = kCsvDialectNokia;
constexpr std::uint32_t kV2 = kCsvDialectOutlook365v2;
constexpr std::uint32_t kG2 = kCsvDialectGoogle2;

// Code, name, Google name, Nokia name, alternative name, type, dialects.
// Outlook's 92 first, then the later Outlook365 v2 columns, then those of
// Google and Nokia.
// clang-format off
constexpr CsvPlainHeaderRow kPlainHeaders[] = {
    {1, u"Title", u"Name Prefix", nullptr, nullptr, cftText, kO | kG | kN | kV2},
    {2, u"First Name", u"Given Name", nullptr, nullptr, cftText, kO | kV1 | kG | kN | kV2},
    {3, u"Middle Name", u"Additional Name", nullptr, nullptr, cftText, kO | kV1 | kG | kN | kV2},
    {4, u"Last Name", u"Family Name", nullptr, nullptr, cftText, kO | kV1 | kG | kN | kV2},
    {5, u"Suffix", u"Name Suffix", nullptr, nullptr, cftText, kO | kG | kN | kV2},
    {6, u"Company", nullptr, nullptr, nullptr, cftText, kO | kN | kV2},
    {7, u"Department", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {8, u"Job Title", nullptr, nullptr, nullptr, cftText, kO | kN | kV2},
    {9, u"Business Street", nullptr, nullptr, nullptr, cftText, kO | kV1 | kN | kV2},
    {10, u"Business Street 2", nullptr, nullptr, nullptr, cftText, kO},
    {11, u"Business Street 3", nullptr, nullptr, nullptr, cftText, kO},
    {12, u"Business City", nullptr, nullptr, nullptr, cftText, kO | kV1 | kN | kV2},
    {13, u"Business State", nullptr, u"Business State/Province", nullptr, cftText, kO | kV1 | kN | kV2},
    {14, u"Business Postal Code", nullptr, u"Business Postal/ZIP code", nullptr, cftText, kO | kV1 | kN | kV2},
    {15, u"Business Country/Region", nullptr, nullptr, u"Business Country", cftText, kO | kV1 | kN | kV2},
    {16, u"Home Street", nullptr, nullptr, nullptr, cftText, kO | kV1 | kN | kV2},
    {17, u"Home Street 2", nullptr, nullptr, nullptr, cftText, kO},
    {18, u"Home Street 3", nullptr, nullptr, nullptr, cftText, kO},
    {19, u"Home City", nullptr, nullptr, nullptr, cftText, kO | kV1 | kN | kV2},
    {20, u"Home State", nullptr, u"Home State/Province", nullptr, cftText, kO | kV1 | kN | kV2},
    {21, u"Home Postal Code", nullptr, u"Home Postal/ZIP code", nullptr, cftText, kO | kV1 | kN | kV2},
    {22, u"Home Country/Region", nullptr, nullptr, u"Home Country", cftText, kO | kV1 | kN | kV2},
    {23, u"Other Street", nullptr, u"General street", nullptr, cftText, kO | kV1 | kN | kV2},
    {24, u"Other Street 2", nullptr, nullptr, nullptr, cftText, kO},
    {25, u"Other Street 3", nullptr, nullptr, nullptr, cftText, kO},
    {26, u"Other City", nullptr, u"General city", nullptr, cftText, kO | kV1 | kN | kV2},
    {27, u"Other State", nullptr, u"General state/province", nullptr, cftText, kO | kV1 | kN | kV2},
    {28, u"Other Postal Code", nullptr, u"General postal/ZIP code", nullptr, cftText, kO | kV1 | kN | kV2},
    {29, u"Other Country/Region", nullptr, u"General country/region", u"Other Country", cftText, kO | kV1 | kN | kV2},
    {30, u"Assistant's Phone", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {31, u"Business Fax", nullptr, nullptr, nullptr, cftText, kO | kN | kV2},
    {32, u"Business Phone", nullptr, nullptr, nullptr, cftText, kO | kV1 | kN | kV2},
    {33, u"Business Phone 2", nullptr, nullptr, nullptr, cftText, kO | kV1 | kV2},
    {34, u"Callback", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {35, u"Car Phone", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {36, u"Company Main Phone", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {37, u"Home Fax", nullptr, nullptr, nullptr, cftText, kO | kN | kV2},
    {38, u"Home Phone", nullptr, nullptr, nullptr, cftText, kO | kV1 | kN | kV2},
    {39, u"Home Phone 2", nullptr, nullptr, nullptr, cftText, kO | kV1 | kV2},
    {40, u"ISDN", nullptr, nullptr, nullptr, cftText, kO},
    {41, u"Mobile Phone", nullptr, u"General mobile", nullptr, cftText, kO | kV1 | kN | kV2},
    {42, u"Other Fax", nullptr, u"General fax", nullptr, cftText, kO | kN | kV2},
    {43, u"Other Phone", nullptr, nullptr, nullptr, cftText, kO | kV1 | kV2},
    {44, u"Pager", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {45, u"Primary Phone", nullptr, u"General phone", nullptr, cftText, kO | kV1 | kN | kV2},
    {46, u"Radio Phone", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {47, u"TTY/TDD Phone", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {48, u"Telex", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {49, u"Account", nullptr, nullptr, nullptr, cftText, kO},
    {50, u"Anniversary", nullptr, nullptr, nullptr, cftDate, kO | kV2},
    {51, u"Assistant's Name", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {52, u"Billing Information", nullptr, nullptr, nullptr, cftText, kO | kG},
    {53, u"Birthday", nullptr, nullptr, nullptr, cftDate, kO | kG | kN | kV2},
    {54, u"Business Address PO Box", nullptr, u"Business P.O.Box", nullptr, cftText, kO | kN},
    {55, u"Categories", nullptr, nullptr, nullptr, cftMvText, kO},
    {56, u"Children", nullptr, nullptr, nullptr, cftMvText, kO},
    {57, u"Directory Server", nullptr, nullptr, nullptr, cftText, kO | kG},
    {58, u"E-mail Address", nullptr, nullptr, nullptr, cftText, kO | kV1 | kV2},
    {59, u"E-mail Type", nullptr, nullptr, nullptr, cftText, kO},
    {60, u"E-mail Display Name", nullptr, nullptr, nullptr, cftText, kO},
    {61, u"E-mail 2 Address", nullptr, nullptr, nullptr, cftText, kO | kV1 | kV2},
    {62, u"E-mail 2 Type", nullptr, nullptr, nullptr, cftText, kO},
    {63, u"E-mail 2 Display Name", nullptr, nullptr, nullptr, cftText, kO},
    {64, u"E-mail 3 Address", nullptr, nullptr, nullptr, cftText, kO | kV1 | kV2},
    {65, u"E-mail 3 Type", nullptr, nullptr, nullptr, cftText, kO},
    {66, u"E-mail 3 Display Name", nullptr, nullptr, nullptr, cftText, kO},
    {67, u"Gender", nullptr, nullptr, nullptr, cftEnumGender, kO | kG},
    {68, u"Government ID Number", nullptr, nullptr, nullptr, cftText, kO},
    {69, u"Hobby", nullptr, nullptr, nullptr, cftText, kO | kG | kV2},
    {70, u"Home Address PO Box", nullptr, u"Home P.O.Box", nullptr, cftText, kO | kN},
    {71, u"Initials", nullptr, nullptr, nullptr, cftText, kO | kG},
    {72, u"Internet Free Busy", nullptr, nullptr, nullptr, cftText, kO},
    {73, u"Keywords", nullptr, nullptr, nullptr, cftText, kO},
    {74, u"Language", nullptr, nullptr, nullptr, cftText, kO},
    {75, u"Location", nullptr, nullptr, nullptr, cftText, kO | kG | kV2},
    {76, u"Manager's Name", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {77, u"Mileage", nullptr, nullptr, nullptr, cftText, kO | kG},
    {78, u"Notes", nullptr, nullptr, nullptr, cftText, kO | kG | kN | kV2},
    {79, u"Office Location", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {80, u"Organizational ID Number", nullptr, nullptr, nullptr, cftText, kO},
    {81, u"Other Address PO Box", nullptr, u"General P.O.Box", nullptr, cftText, kO | kN},
    {82, u"Priority", nullptr, nullptr, nullptr, ctfEnumImportance, kO | kG},
    {83, u"Private", nullptr, nullptr, nullptr, cftBool, kO},
    {84, u"Profession", u"Occupation", nullptr, nullptr, cftText, kO | kG},
    {85, u"Referred By", nullptr, nullptr, nullptr, cftText, kO},
    {86, u"Sensitivity", nullptr, nullptr, nullptr, ctfEnumSensitivity, kO | kG},
    {87, u"Spouse", nullptr, nullptr, nullptr, cftText, kO | kV2},
    {88, u"User 1", nullptr, nullptr, nullptr, cftText, kO},
    {89, u"User 2", nullptr, nullptr, nullptr, cftText, kO},
    {90, u"User 3", nullptr, nullptr, nullptr, cftText, kO},
    {91, u"User 4", nullptr, nullptr, nullptr, cftText, kO},
    {92, u"Web Page", nullptr, u"Business web address", nullptr, cftText, kO | kN | kV2},
    {123, u"IMAddress", nullptr, nullptr, nullptr, cftText, kV2},
    {124, u"Company Yomi", nullptr, nullptr, nullptr, cftText, kV2},
    {125, u"Schools", nullptr, nullptr, nullptr, cftText, kV2},
    {93, u"Full Name", u"Name", nullptr, nullptr, cftText, kG},
    {94, u"Yomi Full Name", u"Yomi Name", nullptr, nullptr, cftText, kG},
    {95, u"Given Yomi", u"Given Name Yomi", nullptr, nullptr, cftText, kG | kV2},
    {96, u"Yomi Middle Name", u"Additional Name Yomi", nullptr, nullptr, cftText, kG},
    {97, u"Surname Yomi", u"Family Name Yomi", nullptr, nullptr, cftText, kG | kV2},
    {98, u"Nickname", nullptr, nullptr, nullptr, cftText, kG | kV2},
    {99, u"Short Name", nullptr, nullptr, nullptr, cftText, kG},
    {100, u"Maiden Name", nullptr, nullptr, nullptr, cftText, kG},
    {101, u"Subject", nullptr, nullptr, nullptr, cftText, kG},
    {102, u"Group Membership", nullptr, nullptr, nullptr, cftMvTextGoogle, kG},
    {103, u"SIP address", nullptr, nullptr, nullptr, cftText, kN},
    {104, u"Push-to-talk", nullptr, nullptr, nullptr, cftText, kN},
    {105, u"Share view", nullptr, nullptr, nullptr, cftText, kN},
    {106, u"User ID", nullptr, nullptr, nullptr, cftText, kN},
    {107, u"General e-mail", nullptr, nullptr, u"General email", cftText, kN},
    {108, u"General video call", nullptr, nullptr, nullptr, cftText, kN},
    {109, u"General web address", nullptr, nullptr, nullptr, cftText, kN},
    {110, u"General VOIP address", nullptr, nullptr, nullptr, cftText, kN},
    {111, u"General extension", nullptr, nullptr, nullptr, cftText, kN},
    {112, u"Home mobile", nullptr, nullptr, nullptr, cftText, kN},
    {113, u"Home e-mail", nullptr, nullptr, u"Home email", cftText, kN},
    {114, u"Home video call", nullptr, nullptr, nullptr, cftText, kN},
    {115, u"Personal Web Page", nullptr, u"Home web address", nullptr, cftText, kN | kV2},
    {116, u"Home VOIP address", nullptr, nullptr, nullptr, cftText, kN},
    {117, u"Home extension", nullptr, nullptr, nullptr, cftText, kN},
    {118, u"Business mobile", nullptr, nullptr, nullptr, cftText, kN},
    {119, u"Business e-mail", u"Business email", nullptr, nullptr, cftText, kN},
    {120, u"Business video call", nullptr, nullptr, nullptr, cftText, kN},
    {121, u"Business VOIP address", nullptr, nullptr, nullptr, cftText, kN},
    {122, u"Business extension", nullptr, nullptr, nullptr, cftText, kN},
    {126, u"File As", nullptr, nullptr, nullptr, cftText, kG2},
    {127, u"Photo", nullptr, nullptr, nullptr, cftText, kG2},
    {128, u"Labels", nullptr, nullptr, nullptr, cftMvTextGoogle, kG2},
};

// Code (instance bits zero), name format, type. Google only.
constexpr CsvGroupedHeaderRow kGroupedHeaders[] = {
    {0x01000000, u"E-mail %d - Type", cftTextGoogle},
    {0x01000001, u"E-mail %d - Value", cftMvTextGoogle},
    {0x02000000, u"IM %d - Type", cftTextGoogle},
    {0x02000002, u"IM %d - Service", cftMvTextGoogle},
    {0x02000001, u"IM %d - Value", cftMvTextGoogle},
    {0x03000000, u"Phone %d - Type", cftTextGoogle},
    {0x03000001, u"Phone %d - Value", cftMvTextGoogle},
    {0x04000000, u"Address %d - Type", cftTextGoogle},
    {0x04000003, u"Address %d - Formatted", cftMvTextGoogle},
    {0x04000004, u"Address %d - Street", cftMvTextGoogle},
    {0x04000005, u"Address %d - City", cftMvTextGoogle},
    {0x04000006, u"Address %d - PO Box", cftMvTextGoogle},
    {0x04000007, u"Address %d - Region", cftMvTextGoogle},
    {0x04000008, u"Address %d - Postal Code", cftMvTextGoogle},
    {0x04000009, u"Address %d - Country", cftMvTextGoogle},
    {0x0400000A, u"Address %d - Extended Address", cftMvTextGoogle},
    {0x05000000, u"Organization %d - Type", cftTextGoogle},
    {0x0500000B, u"Organization %d - Name", cftMvTextGoogle},
    {0x0500000C, u"Organization %d - Yomi Name", cftMvTextGoogle},
    {0x0500000D, u"Organization %d - Title", cftMvTextGoogle},
    {0x0500000E, u"Organization %d - Department", cftMvTextGoogle},
    {0x0500000F, u"Organization %d - Symbol", cftMvTextGoogle},
    {0x05000010, u"Organization %d - Location", cftMvTextGoogle},
    {0x05000011, u"Organization %d - Job Description", cftMvTextGoogle},
    {0x06000000, u"Relation %d - Type", cftTextGoogle},
    {0x06000001, u"Relation %d - Value", cftMvTextGoogle},
    {0x07000000, u"External ID %d - Type", cftTextGoogle},
    {0x07000001, u"External ID %d - Value", cftTextGoogle},
    {0x08000000, u"Website %d - Type", cftTextGoogle},
    {0x08000001, u"Website %d - Value", cftMvTextGoogle},
    {0x09000000, u"Calendar Link %d - Type", cftTextGoogle},
    {0x09000001, u"Calendar Link %d - Value", cftMvTextGoogle},
    {0x0A000000, u"Event %d - Type", cftTextGoogle},
    {0x0A000001, u"Event %d - Value", cftMvDateGoogle},
    {0x0B000000, u"Custom Field %d - Type", cftTextGoogle},
    {0x0B000001, u"Custom Field %d - Value", cftMvTextGoogle},
    {0x0C000000, u"Jot %d - Type", cftTextGoogle},
    {0x0C000001, u"Jot %d - Value", cftMvTextGoogle},
};
// clang-format on

constexpr std::uint32_t kOutlook365v1[] = {2,  3,  4,  58, 61, 64, 38, 39, 32, 33, 41, 43, 45, 16,
                                           19, 20, 21, 22, 23, 26, 27, 28, 29, 9,  12, 13, 14, 15};

constexpr std::uint32_t kOutlook365v2[] = {
    2,  3,  4,  1,  5,  98, 95, 97,  58, 61, 64,  38, 39,  32, 33, 41,  35, 43, 45, 44, 31,
    37, 42, 36, 34, 46, 48, 47, 123, 8,  7,  6,   79, 76,  51, 30, 124, 9,  12, 13, 14, 15,
    16, 19, 20, 21, 22, 23, 26, 27,  28, 29, 115, 87, 125, 69, 75, 92,  53, 50, 78};

constexpr std::uint32_t kNokia[] = {
    1,   2,  3,   4,   5,  8,   6,  53,  103, 104, 105, 106, 78,  41,  45,  107, 42,  108, 109,
    110, 81, 111, 23,  28, 26,  27, 29,  112, 38,  113, 37,  114, 115, 116, 70,  117, 16,  21,
    19,  20, 22,  118, 32, 119, 31, 120, 92,  121, 54,  122, 9,   14,  12,  13,  15};

constexpr CsvGoogleListRow kGooglePlain[] = {
    {93, false}, {2, true},   {3, true},   {4, true},    {94, false}, {95, true},  {96, false},
    {97, true},  {1, true},   {5, true},   {71, false},  {98, true},  {99, false}, {100, false},
    {53, true},  {67, false}, {75, false}, {52, false},  {57, false}, {77, false}, {84, false},
    {69, false}, {86, false}, {82, false}, {101, false}, {78, true},  {102, true}};

// The columns Google Contacts writes before its numbered blocks. Detection
// needs those marked: the names and Labels, not the organisation or photo.
constexpr CsvGoogle2ListRow kGoogle2Plain[] = {
    {2, u"First Name", true},
    {3, u"Middle Name", true},
    {4, u"Last Name", true},
    {95, u"Phonetic First Name", true},
    {96, u"Phonetic Middle Name", true},
    {97, u"Phonetic Last Name", true},
    {1, u"Name Prefix", true},
    {5, u"Name Suffix", true},
    {98, u"Nickname", true},
    {126, u"File As", true},
    {6, u"Organization Name", false},
    {8, u"Organization Title", false},
    {7, u"Organization Department", false},
    {53, u"Birthday", true},
    {78, u"Notes", true},
    {127, u"Photo", false},
    {128, u"Labels", true},
};

// Its blocks: "E-mail 1 - Label", "E-mail 1 - Value", ... each group's
// instances before the next group's.
constexpr std::uint32_t kGoogle2Groups[] = {csvgEmail, csvgPhone,    csvgAddress,     csvgWebsite,
                                            csvgEvent, csvgRelation, csvgCustomField, csvgIM};

constexpr const char16_t* kEmailTypes[] = {u"Home", u"Work"};
constexpr const char16_t* kIMTypes[] = {u"Aim", u"Facebook",   u"Gadu-Gadu", u"Google Talk",
                                        u"ICQ", u"IM Address", u"Jabber",    u"MSN",
                                        u"QQ",  u"Skype",      u"Yahoo!"};
constexpr const char16_t* kPhoneTypes[] = {
    u"Assistant", u"Callback", u"Car",       u"Company Main", u"Google Voice",
    u"Home",      u"Home Fax", u"iPhone",    u"ISDN",         u"Main",
    u"Mobile",    u"Other",    u"Other Fax", u"Pager",        u"Radio",
    u"Telex",     u"TTY/TDD",  u"Work",      u"Work Fax"};
constexpr const char16_t* kAddressTypes[] = {u"Home", u"Work", u"Other"};
constexpr const char16_t* kRelationTypes[] = {
    u"Assistant", u"Brother", u"Child",   u"Domestic Partner", u"Father",   u"Friend", u"Manager",
    u"Mother",    u"Parent",  u"Partner", u"Referred By",      u"Relative", u"Sister", u"Spouse"};
constexpr const char16_t* kExternalIdTypes[] = {u"Account", u"Organization"};
constexpr const char16_t* kWebsiteTypes[] = {u"Profile", u"Blog",      u"Home Page", u"Work",
                                             u"Twitter", u"Facebook",  u"LinkedIn",  u"Flickr",
                                             u"Myspace", u"Sina Weibo"};
constexpr const char16_t* kCalendarLinkTypes[] = {u"Free Busy"};
constexpr const char16_t* kEventTypes[] = {u"Anniversary"};
constexpr const char16_t* kJotTypes[] = {u"Keywords", u"User"};

}  // namespace

std::span<const CsvPlainHeaderRow> CsvPlainHeaderRows() { return kPlainHeaders; }
std::span<const CsvGroupedHeaderRow> CsvGroupedHeaderRows() { return kGroupedHeaders; }
std::span<const std::uint32_t> CsvOutlook365v1Codes() { return kOutlook365v1; }
std::span<const std::uint32_t> CsvOutlook365v2Codes() { return kOutlook365v2; }
std::span<const std::uint32_t> CsvNokiaCodes() { return kNokia; }
std::span<const CsvGoogleListRow> CsvGooglePlainCodes() { return kGooglePlain; }
std::span<const CsvGoogle2ListRow> CsvGoogle2PlainCodes() { return kGoogle2Plain; }
std::span<const std::uint32_t> CsvGoogle2Groups() { return kGoogle2Groups; }

std::span<const char16_t* const> CsvGroupKnownTypes(std::uint32_t group) {
  switch (group) {
    case csvgEmail:
      return kEmailTypes;
    case csvgIM:
      return kIMTypes;
    case csvgPhone:
      return kPhoneTypes;
    case csvgAddress:
      return kAddressTypes;
    case csvgRelation:
      return kRelationTypes;
    case csvgExternalID:
      return kExternalIdTypes;
    case csvgWebsite:
      return kWebsiteTypes;
    case csvgCalendarLink:
      return kCalendarLinkTypes;
    case csvgEvent:
      return kEventTypes;
    case csvgJot:
      return kJotTypes;
    default:
      return {};
  }
}

}  // namespace velmora::csv
