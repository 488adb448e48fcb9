// The iCloud web address book writes REV in United States Pacific local
// time while marking it as UTC ("...Z"). Cards that carry its PRODID get the
// time corrected back to real UTC.
#pragma once

#include <string_view>

#include "foundation/automation_date.h"
#include "foundation/log.h"

namespace velmora::contact {

// The PRODID prefix of the cards written by the iCloud web address book.
inline constexpr std::u16string_view kICloudWebAddressBookProdId =
    u"-//Apple Inc.//iCloud Web Address Book";

// When `prodid` starts with the iCloud web address book's identifier (every
// version of it), reads `time` as Pacific local time and replaces it by the
// matching UTC time; returns true when it did. A failed conversion is logged
// under "CardTools.iCloudWebAddressBook_REV_Fix" and leaves `time` as it was.
bool iCloudWebAddressBook_REV_Fix(CLog& log, std::u16string_view prodid, SystemTime& time);

}  // namespace velmora::contact
