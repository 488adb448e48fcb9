// Outlook's nineteen phone columns (header codes 30 to 48, in code order):
// the phone kind a cell is imported as, and the telephone slot a cell is
// written from, so that each number comes back in the slot of its column.
#pragma once

#include <cstdint>

#include "contact/contact_enums.h"

namespace velmora {

struct OutlookPhoneColumn {
  EPhoneCategory kind;
  ETelephoneSlot slot;
};

inline constexpr std::uint32_t kFirstOutlookPhoneCode = 30;
inline constexpr OutlookPhoneColumn kOutlookPhoneColumns[] = {
    {phcAssistant, tsAssistant},      // Assistant's Phone
    {phcWorkFax, tsBusinessFax},      // Business Fax
    {phcWork, tsBusiness},            // Business Phone
    {phcWork, tsBusiness2},           // Business Phone 2
    {phcCallback, tsCallback},        // Callback
    {phcCar, tsCar},                  // Car Phone
    {phcCompanyMain, tsCompanyMain},  // Company Main Phone
    {phcHomeFax, tsHomeFax},          // Home Fax
    {phcHome, tsHome},                // Home Phone
    {phcHome, tsHome2},               // Home Phone 2
    {phcIsdn, tsISDN},                // ISDN
    {phcMobile, tsMobile},            // Mobile Phone
    {phcOtherFax, tsOtherFax},        // Other Fax
    {phcOther, tsOther},              // Other Phone
    {phcPager, tsPager},              // Pager
    {phcMain, tsPrimary},             // Primary Phone
    {phcRadio, tsRadio},              // Radio Phone
    {phcTtyTdd, tsTTYTDD},            // TTY/TDD Phone
    {phcTelex, tsTelex},              // Telex
};

}  // namespace velmora
