#include "contact/icloud_rev_fix.h"

#include "foundation/time_zone.h"

namespace velmora::contact {

bool iCloudWebAddressBook_REV_Fix(CLog& log, std::u16string_view prodid, SystemTime& time) {
  if (!prodid.starts_with(kICloudWebAddressBookProdId)) return false;
  SystemTime utc;
  const HRESULT status = timezone::PacificToUtc(time, &utc);
  if (FAILED(status)) {
    log.LogError("CardTools.iCloudWebAddressBook_REV_Fix", status,
                 "TzSpecificLocalTimeToSystemTime");
    return false;
  }
  time = utc;
  return true;
}

}  // namespace velmora::contact
