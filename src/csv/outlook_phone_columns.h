// Outlook's nineteen phone columns (header codes 30 to 48, in code order):
// the phone kind a cell is imported as, and the telephone slot a cell is
// written from, so that each number comes back in the slot of its column.
#pragma once

#include <cstdint>

#include "contact/contact_enums.h"

namespace velmora::csv {

struct OutlookPhoneColumn {
  contact::EPhoneCategory kind;
  contact::ETelephoneSlot slot;
};

inline constexpr std::uint32_t kFirstOutlookPhoneCode = 30;
inline constexpr OutlookPhoneColumn kOutlookPhoneColumns[] = {
    {contact::phcAssistant, contact::tsAssistant},      // Assistant's Phone
    {contact::phcWorkFax, contact::tsBusinessFax},      // Business Fax
    {contact::phcWork, contact::tsBusiness},            // Business Phone
    {contact::phcWork, contact::tsBusiness2},           // Business Phone 2
    {contact::phcCallback, contact::tsCallback},        // Callback
    {contact::phcCar, contact::tsCar},                  // Car Phone
    {contact::phcCompanyMain, contact::tsCompanyMain},  // Company Main Phone
    {contact::phcHomeFax, contact::tsHomeFax},          // Home Fax
    {contact::phcHome, contact::tsHome},                // Home Phone
    {contact::phcHome, contact::tsHome2},               // Home Phone 2
    {contact::phcIsdn, contact::tsISDN},                // ISDN
    {contact::phcMobile, contact::tsMobile},            // Mobile Phone
    {contact::phcOtherFax, contact::tsOtherFax},        // Other Fax
    {contact::phcOther, contact::tsOther},              // Other Phone
    {contact::phcPager, contact::tsPager},              // Pager
    {contact::phcMain, contact::tsPrimary},             // Primary Phone
    {contact::phcRadio, contact::tsRadio},              // Radio Phone
    {contact::phcTtyTdd, contact::tsTTYTDD},            // TTY/TDD Phone
    {contact::phcTelex, contact::tsTelex},              // Telex
};

}  // namespace velmora::csv
