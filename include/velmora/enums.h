// Enumerations of the object model and the command.
#pragma once

#include <cstdint>

namespace velmora {

// How duplicate cards are resolved.
enum EDRMethod : int {
  drmNone = 0,          // no resolution: every card is kept
  drmNewest = 1,        // the card with the newest REV wins
  drmKeepOriginal = 2,  // a card already on the server is kept; else the newest
};

// How CSV text is split into cells: bits combined by the caller.
enum ECsvParseFlags : std::int32_t {
  csvpHeaderRow = 1,            // the first kept row names the columns
  csvpHeaderRowForce = 3,       // ... and data cells beyond it are dropped
  csvpSkipEmptyLines = 4,       // lines with no characters at all
  csvpSkipWhiteSpaceLines = 8,  // lines of spaces and tabs only
  csvpSkipEmptyCellsRows = 16,  // rows whose cells are all empty
  csvpSkipWhiteSpaceRows = 32,  // rows whose non-empty cells are all white space
  csvpDefault = 15,             // header row forced, empty and blank lines skipped
};

// How a spreadsheet sheet is read into a table (ICardConverter::LoadXlsCells):
// bits combined by the caller. A value of several bits counts only when all
// of them are set, so 16 alone means nothing.
enum EXlsFlags : std::int32_t {
  xlsfHeaderRow = 1,            // the first kept row names the columns (trimmed)
  xlsfHeaderRowForce = 3,       // ... and data cells beyond its last name are dropped
  xlsfSkipFirstEmptyRows = 4,   // empty rows before the first kept row
  xlsfSkipLastEmptyRows = 8,    // empty rows at the end of the table
  xlsfSkipAnyEmptyRows = 28,    // every empty row
  xlsfDefault = 15,             // header row forced, first and last empty rows dropped
  xlsfDefault4Autodetect = 31,  // xlsfDefault, and any empty row dropped
};

// The text encoding of written CSV files.
enum ECsvEncodingType : std::int32_t {
  vlmcetMultibyte = 0,  // converted to the caller's code page
  vlmcetUTF16 = 1,      // UTF-16 little-endian
  vlmcetUTF16BE = 3,    // UTF-16 big-endian
};

// How Google's grouped columns are turned into plain ones ("E-mail 'Home'").
enum EPlainCsvFlags : std::int32_t {
  pcfSortByType = 1,             // a group's plain columns ordered by type word
  pcfForce1stIndex = 2,          // "E-mail 'Home' 1", not "E-mail 'Home'"
  pcfDecodeGroupMembership = 4,  // "Group Membership" cells read as categories
  pcfUniteChild = 8,             // every "Child" relation in one column
  pcfDefault = 12,
};

// The kinds of telephone that ICardContact::AddTelephone adds.
enum EContactTelephone : std::int32_t {
  vlmctBusiness = 1,
  vlmctBusinessFax = 2,
  vlmctHome = 3,
  vlmctHomeFax = 4,
  vlmctMobile = 5,
  vlmctCar = 6,
  vlmctPager = 7,
  vlmctISDN = 8,
  vlmctPrimary = 9,
  vlmctOther = 10,
  vlmctOtherFax = 11,
  vlmctAssistant = 12,
  vlmctCompany = 13,
  vlmctCallback = 14,
  vlmctRadio = 15,
  vlmctTTYTDD = 16,
  vlmctTelex = 17,
};

// The URL kinds of ICardContact::AddUrl, used as bits.
enum EContactUrl : std::int32_t {
  vlmcuUnknown = 0,
  vlmcuBusiness = 1,
  vlmcuPersonal = 2,
};

// The address kinds; also the address Outlook uses for mail.
enum EContactAddress : std::int32_t {
  vlmcaNone = 0,
  vlmcaHome = 1,
  vlmcaBusiness = 2,
  vlmcaOther = 3,
};

enum EContactSensitivity : std::int32_t {
  vlmcsNormal = 0,
  vlmcsPersonal = 1,
  vlmcsPrivate = 2,
  vlmcsConfidential = 3,
};

enum EContactImportance : std::int32_t {
  vlmciLow = 0,
  vlmciNormal = 1,
  vlmciHigh = 2,
};

enum EContactGender : std::int32_t {
  vlmcgUnspecified = 0,
  vlmcgFemale = 1,
  vlmcgMale = 2,
};

// The label of a related name. Referred-by (12) is the entry that
// ICardContact's ReferredBy property reads and writes.
enum EContactRelatedName : std::int32_t {
  vlmcrnOther = 0,
  vlmcrnAssistant = 1,
  vlmcrnBrother = 2,
  vlmcrnChild = 3,
  vlmcrnFather = 4,
  vlmcrnFriend = 5,
  vlmcrnManager = 6,
  vlmcrnMother = 7,
  vlmcrnParent = 8,
  vlmcrnPartner = 9,
  vlmcrnSister = 10,
  vlmcrnSpouse = 11,
  vlmcrnReferredBy = 12,
};

// The CSV dialects: the column sets and names of the address books.
enum ECsvType : std::int32_t {
  vlmcsvUnknown = 0,
  vlmcsvOutlook = 1,
  vlmcsvGoogle = 2,
  vlmcsvNokia = 3,
  vlmcsvOutlook365v1 = 4,
  vlmcsvOutlook365v2 = 5,
  // Google Contacts' later layout ("First Name", "E-mail 1 - Label",
  // "Labels"); vlmcsvGoogle is the earlier one ("Given Name", "E-mail 1 -
  // Type", "Group Membership").
  vlmcsvGoogle2 = 6,
};

// The groups of Google's numbered columns ("E-mail 2 - Value"): bits 24 to
// 31 of a grouped header code.
enum ECsvHeaderGroup : std::int32_t {
  csvgNone = 0,
  csvgEmail = 1,
  csvgIM = 2,
  csvgPhone = 3,
  csvgAddress = 4,
  csvgOrganization = 5,
  csvgRelation = 6,
  csvgExternalID = 7,
  csvgWebsite = 8,
  csvgCalendarLink = 9,
  csvgEvent = 10,
  csvgCustomField = 11,
  csvgJot = 12,
};

// The property of a grouped column (its part after " - "): the low byte of
// a grouped header code.
enum ECsvHeaderGroupProp : std::int32_t {
  csvgpNone = -1,
  csvgpType = 0,
  csvgpValue = 1,
  csvgpIMService = 2,
  csvgpAdrFormatted = 3,
  csvgpAdrStreet = 4,
  csvgpAdrCity = 5,
  csvgpAdrPOBox = 6,
  csvgpAdrState = 7,
  csvgpAdrPostalCode = 8,
  csvgpAdrCountry = 9,
  csvgpAdrNeighborhood = 10,
  csvgpOrgName = 11,
  csvgpOrgYomiName = 12,
  csvgpOrgTitle = 13,
  csvgpOrgDepartment = 14,
  csvgpOrgSymbol = 15,
  csvgpOrgLocation = 16,
  csvgpOrgJobDesc = 17,
};

// The value type of a CSV column. The enumerated kinds share the _cftEnum
// bit; the last two keep the "ctf" spelling callers know them by.
enum ECsvHeaderType : std::int32_t {
  cftUnknown = 0,
  cftText = 2,
  cftTextGoogle = 4,
  cftMvText = 10,
  cftDate = 16,
  cftMvTextGoogle = 20,
  cftMvDateGoogle = 32,
  cftBool = 64,
  _cftEnum = 128,
  cftEnumGender = 384,
  ctfEnumImportance = 640,
  ctfEnumSensitivity = 1152,
};

}  // namespace velmora
