// The vCard property vocabulary: every property the system knows, with its
// numeric code, kind flags and family, and the property filters built from
// lists of codes.
//
// The table is one process-wide constant, built on first use and never
// changed afterwards; look-ups return pointers into it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_set>

#include "foundation/log.h"

namespace velmora::contact {

// Kind flags of a property (bits as stored in the table).
enum EFieldKind : std::uint32_t {
  fkStructural = 1,   // BEGIN, END, VERSION, PRODID: never filtered out
  fkText = 2,         // text value; the parser records its charset
  fkStructured = 4,   // several components or a list
  fkIdentifier = 8,   // PRODID
  fkDate = 16,        // date or date-time value
  fkEnumerated = 32,  // enumerated value
  fkUniqueId = 64,    // UID
  fkUri = 128,        // URI value
  fkBinary = 256,     // PHOTO
};

// Property codes, named after the property (with "-" written as "_").
// Code 1 is not assigned.
namespace prop {
inline constexpr std::int32_t ADR = 0;
inline constexpr std::int32_t BDAY = 2;
inline constexpr std::int32_t BEGIN = 3;
inline constexpr std::int32_t CATEGORIES = 4;
inline constexpr std::int32_t CLASS = 5;
inline constexpr std::int32_t EMAIL = 6;
inline constexpr std::int32_t END = 7;
inline constexpr std::int32_t FBURL = 8;
inline constexpr std::int32_t FN = 9;
inline constexpr std::int32_t IMPP = 10;
inline constexpr std::int32_t N = 11;
inline constexpr std::int32_t NICKNAME = 12;
inline constexpr std::int32_t X_MAIDENNAME = 13;
inline constexpr std::int32_t NOTE = 14;
inline constexpr std::int32_t ORG = 15;
inline constexpr std::int32_t PHOTO = 16;
inline constexpr std::int32_t PRODID = 17;
inline constexpr std::int32_t REV = 18;
inline constexpr std::int32_t ROLE = 19;
inline constexpr std::int32_t TEL = 20;
inline constexpr std::int32_t TITLE = 21;
inline constexpr std::int32_t UID = 22;
inline constexpr std::int32_t URL = 23;
inline constexpr std::int32_t VERSION = 24;
inline constexpr std::int32_t X_ABDATE = 25;
inline constexpr std::int32_t X_ABLABEL = 26;
inline constexpr std::int32_t X_ABRELATEDNAMES = 27;
inline constexpr std::int32_t X_AIM = 28;
inline constexpr std::int32_t X_GADUGADU = 29;
inline constexpr std::int32_t X_GOOGLE_TALK = 30;
inline constexpr std::int32_t X_GTALK = 31;
inline constexpr std::int32_t X_ICQ = 32;
inline constexpr std::int32_t X_JABBER = 33;
inline constexpr std::int32_t X_MS_ANNIVERSARY = 34;
inline constexpr std::int32_t X_MS_ASSISTANT = 35;
inline constexpr std::int32_t X_MS_CHILD = 36;
inline constexpr std::int32_t X_MS_IMADDRESS = 37;
inline constexpr std::int32_t X_MS_INTERESTS = 38;
inline constexpr std::int32_t X_MS_MANAGER = 39;
inline constexpr std::int32_t X_MS_OL_DEFAULT_POSTAL_ADDRESS = 40;
inline constexpr std::int32_t X_MS_SPOUSE = 41;
inline constexpr std::int32_t X_MS_TEL = 42;
inline constexpr std::int32_t X_MS_TEXT = 43;
inline constexpr std::int32_t X_MSN = 44;
inline constexpr std::int32_t X_OUTL_ANNIVERSARY = 45;
inline constexpr std::int32_t X_OUTL_ASSISTANTNAME = 46;
inline constexpr std::int32_t X_OUTL_CATEGORIES = 47;
inline constexpr std::int32_t X_OUTL_CLASS = 48;
inline constexpr std::int32_t X_OUTL_IFBADDRESS = 49;
inline constexpr std::int32_t X_OUTL_IMADDRESS = 50;
inline constexpr std::int32_t X_OUTL_MANAGERNAME = 51;
inline constexpr std::int32_t X_OUTL_NMALIAS = 52;
inline constexpr std::int32_t X_OUTL_NMSERVER = 53;
inline constexpr std::int32_t X_OUTL_SPOUSE = 54;
inline constexpr std::int32_t X_PHONETIC_FIRST_NAME = 55;
inline constexpr std::int32_t X_PHONETIC_LAST_NAME = 56;
inline constexpr std::int32_t X_PHONETIC_MIDDLE_NAME = 57;
inline constexpr std::int32_t X_QQ = 58;
inline constexpr std::int32_t X_SKYPE_SEX = 59;
inline constexpr std::int32_t X_SKYPE = 60;
inline constexpr std::int32_t X_SKYPE_USERNAME = 61;
inline constexpr std::int32_t X_SOCIALPROFILE = 62;
inline constexpr std::int32_t X_WAB_GENDER = 63;
inline constexpr std::int32_t X_YAHOO = 64;
inline constexpr std::int32_t X_ZORVA_OL_ACCOUNT = 65;
inline constexpr std::int32_t X_ZORVA_OL_BILLING_INFORMATION = 66;
inline constexpr std::int32_t X_ZORVA_OL_GOVERNMENT_ID_NUMBER = 67;
inline constexpr std::int32_t X_ZORVA_OL_KEYWORD = 68;
inline constexpr std::int32_t X_ZORVA_OL_LOCATION = 69;
inline constexpr std::int32_t X_ZORVA_OL_LOCATION_EX = 70;
inline constexpr std::int32_t X_ZORVA_OL_MILEAGE = 71;
inline constexpr std::int32_t X_ZORVA_OL_ORGANIZATIONAL_ID_NUMBER = 72;
inline constexpr std::int32_t X_ZORVA_OL_PREFERRED_BY = 73;
inline constexpr std::int32_t X_ZORVA_OL_SCHOOL = 74;
inline constexpr std::int32_t X_ZORVA_OL_YOMI_COMPANY = 75;
inline constexpr std::int32_t X_ZORVA_CUSTOM_FIELD = 76;
// Ends a list of codes handed to BuildFieldFilter.
inline constexpr std::int32_t kEndOfList = -1;
}  // namespace prop

// One row of the vocabulary.
struct PropertyDef {
  std::int32_t code;
  std::string_view name;  // upper case, as written in vCard
  std::uint32_t flags;    // EFieldKind bits
  std::int32_t family;    // code of the family head; the own code for a head

  bool Has(std::uint32_t kind) const { return (flags & kind) == kind; }
};

// A set of property codes admitted by the parser.
using FieldFilter = std::unordered_set<std::int32_t>;

class CCardFields {
 public:
  // The one table of the process.
  static const CCardFields& Get();

  CCardFields(const CCardFields&) = delete;
  CCardFields& operator=(const CCardFields&) = delete;

  // All rows, in table order.
  std::span<const PropertyDef> rows() const;

  // Case-insensitive (ASCII) look-up by name; null for an unknown name.
  const PropertyDef* FindByName(std::string_view name) const;
  const PropertyDef* FindByName(std::u16string_view name) const;
  // The first row with that code in table order; null for an unknown code.
  const PropertyDef* FindByCode(std::int32_t code) const;

  // Empties `filter`, then adds each code of `codes` up to the first -1 (or
  // the end of the span), with its family when `add_related` is set. Unknown
  // codes are logged and skipped.
  void BuildFieldFilter(CLog& log, FieldFilter& filter, bool add_related,
                        std::span<const std::int32_t> codes) const;
  // The same for a list ended by -1 (null logs an assertion and leaves the
  // filter empty).
  void BuildFieldFilter(CLog& log, FieldFilter& filter, bool add_related,
                        const std::int32_t* codes) const;

  // Adds the family of `row` (the heads above it, then the head's other
  // members) to `filter`.
  void BuildFieldFilter_AddRelated(CLog& log, FieldFilter& filter, const PropertyDef& row) const;

 private:
  CCardFields();

  // Names are found through an open-addressed table of row pointers: the
  // parser looks up every property of every card, so the look-up hashes only
  // the length and three letters and compares one or two names in full.
  static constexpr std::size_t kSlotCount = 256;  // a power of two
  static std::size_t SlotOf(std::string_view name);

  std::array<const PropertyDef*, kSlotCount> by_name_{};
};

// The codes of the card preview filter: ADR, EMAIL, FN, IMPP, N, NOTE, ORG,
// TEL, TITLE and X-ABLABEL, ended by -1.
inline constexpr std::int32_t kPreviewFilterCodes[] = {
    prop::ADR, prop::EMAIL, prop::FN,    prop::IMPP,      prop::N,         prop::NOTE,
    prop::ORG, prop::TEL,   prop::TITLE, prop::X_ABLABEL, prop::kEndOfList};

// Builds the preview filter: the codes above with their related properties.
void BuildPreviewFilter(CLog& log, FieldFilter& filter);

}  // namespace velmora::contact
