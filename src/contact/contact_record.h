// The in-memory contact: filled from one vCard item, one CSV row or field by
// field, and read by the writers, the previews and duplicate resolution.
//
// Fields are public and named as the rest of the system names them. The
// derived views (telephone slots, related-name slots, address and URL by
// kind, ...) are computed from the lists; the telephone and related-name
// views are cached on first use. Whoever changes the phone or related-name
// lists after a view was read calls InvalidateCaches(). Copying a record
// copies everything but the caches.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "contact/contact_enums.h"
#include "contact/contact_list_items.h"
#include "contact/phone_slots.h"

namespace velmora::contact {

// Automation dates of 0.0, 949633.0 (1 January 4500) and 949998.0
// (1 January 4501) stand for "no date".
bool IsEmptyDate(double date);

struct ContactRecord {
  ContactRecord() = default;

  // Empties every field, list and cache: Version 21, SourceCopyable true,
  // everything else empty, false or 0; the photo is freed. Strings and lists
  // keep their capacity, so refilling a cleared record allocates little. (A
  // field added to the record must be added to Clear.)
  void Clear();

  // --- Source -------------------------------------------------------------
  std::int32_t Version = 21;   // vCard version times ten: 21 or 30
  std::string ProdId;          // PRODID value read
  std::string Charsets;        // charsets of the text properties, ";"-separated
  bool IsSkypeCard = false;    // an "X-SKYPE-" property was read
  bool SourceCopyable = true;  // SourceText still represents the record exactly
  std::string SourceText;      // the item's raw vCard text, when kept

  // --- Names (N: given, additional, family, prefix, suffix) ---------------
  std::u16string FirstName;
  std::u16string MiddleName;
  std::u16string LastName;
  std::u16string Title;
  std::u16string Suffix;
  std::u16string PhoneticFirstName;
  std::u16string PhoneticMiddleName;
  std::u16string PhoneticLastName;
  std::u16string FormattedName;  // FN
  std::u16string NickName;
  std::u16string MaidenName;
  std::u16string Profession;   // ROLE
  std::u16string CompanyName;  // ORG component 1
  std::u16string Department;   // ORG component 2
  std::u16string JobTitle;     // TITLE
  std::u16string Body;         // NOTE
  double Birthday = 0.0;       // BDAY; see IsEmptyDate

  // --- Lists --------------------------------------------------------------
  std::vector<ContactAddress> Addresses;
  EContactAddress SelectedMailingAddress = vlmcaNone;
  std::vector<ContactPhone> Phones;
  std::vector<ContactEmail> Emails;
  std::vector<ContactImpp> Impps;
  std::vector<ContactRelatedName> RelatedNames;
  std::vector<ContactSocialProfile> SocialProfiles;
  std::vector<ContactUrl> Urls;
  std::vector<ContactDate> Dates;  // anniversaries and other labelled dates

  // --- Other fields -------------------------------------------------------
  std::u16string Categories;  // separated by the user's list separator
  std::u16string NetMeetingServer;
  std::u16string NetMeetingAlias;
  std::u16string InternetFreeBusyAddress;
  double LastModificationTime = 0.0;  // REV; see IsEmptyDate
  std::u16string User1;
  std::u16string User2;
  std::u16string User3;
  std::u16string User4;
  std::vector<ContactCustomField> CustomFields;

  // Outlook-only text fields.
  std::u16string Hobby;
  std::u16string Account;
  std::u16string BillingInformation;
  std::u16string GovernmentIDNumber;
  std::u16string Keyword;
  std::u16string Location;
  std::u16string LocationEx;
  std::u16string Mileage;
  std::u16string OrganizationalIDNumber;
  std::u16string School;
  std::u16string YomiCompany;

  EContactSensitivity Sensitivity = vlmcsNormal;
  EContactGender Gender = vlmcgUnspecified;

  // Raw image bytes; PhotoSize() is their count.
  std::vector<std::uint8_t> Photo;
  std::u16string PhotoExt;  // image type word such as "JPEG"
  std::u16string UID;

  std::int32_t PhotoSize() const { return static_cast<std::int32_t>(Photo.size()); }

  // --- Derived views ------------------------------------------------------

  // Value and Outlook address type of the n-th e-mail (n from 1); empty
  // beyond the list.
  const std::u16string& Email(int n) const;
  const std::u16string& EmailAddressType(int n) const;

  // The first non-empty date labelled "_$!<Anniversary>!$_"; 0 when none.
  double Anniversary() const;

  // The address of a kind (home 1, business 2, other 3); null when the
  // record has none or the kind is unknown.
  const ContactAddress* AddressByKind(EContactAddress kind) const;

  // The URL of a kind (personal 1, business 2); null when none.
  const ContactUrl* UrlByKind(EContactUrlKind kind) const;

  // The category of each phone, in list order (cached).
  const std::vector<EPhoneCategory>& PhoneCategories() const;
  // Telephone slot 0 to 18 (ETelephoneSlot); empty for other indexes.
  const std::u16string& TelephoneSlot(int slot) const;
  // Related-name slot 0 to 4 (ERelatedNameSlot); empty for other indexes.
  // Children joins every child with the user's list separator.
  const std::u16string& RelatedNameSlot(int slot) const;

  // "callto://server/alias" from NetMeetingServer and NetMeetingAlias;
  // empty when both are empty.
  std::u16string NetMeetingNames() const;
  // Empties both fields, then splits a "callto://" value at the first "/"
  // after the prefix (server before, alias after); any other non-empty
  // value becomes the server.
  void SetNetMeetingNames(std::u16string_view names);

  // Drops the cached views; call after changing Phones or RelatedNames
  // once a view has been read.
  void InvalidateCaches() const;

 private:
  // Derived views, rebuilt on demand. Copies and moves start empty, so a
  // copied record never carries views of another record's lists.
  struct Caches {
    Caches() = default;
    Caches(const Caches&) {}
    Caches(Caches&&) noexcept {}
    Caches& operator=(const Caches&) {
      Reset();
      return *this;
    }
    Caches& operator=(Caches&&) noexcept {
      Reset();
      return *this;
    }
    void Reset() {
      phones_built = false;
      related_built = false;
    }

    bool phones_built = false;
    std::vector<EPhoneCategory> categories;
    TelephoneSlots telephone_slots;
    bool related_built = false;
    std::array<std::u16string, kRelatedNameSlotCount> related_slots;
  };

  void BuildPhoneCaches() const;
  void BuildRelatedNameCache() const;

  mutable Caches caches_;
};

}  // namespace velmora::contact
