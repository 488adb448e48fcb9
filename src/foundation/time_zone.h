// Local time and UTC, under the local zone's rules (settings::TimeZoneId) or
// the United States Pacific rules.
#pragma once

#include <cstdint>

#include <velmora/status.h>

#include "foundation/automation_date.h"

namespace velmora::timezone {

// Each returns S_OK, or a failure status for fields that are not a valid
// time. An ambiguous local time (the repeated hour) reads as the first of the
// two instants; a skipped one (the lost hour) as if the earlier offset held.
HRESULT LocalToUtc(const SystemTime& local, SystemTime* utc);
HRESULT UtcToLocal(const SystemTime& utc, SystemTime* local);
HRESULT PacificToUtc(const SystemTime& pacific, SystemTime* utc);

// The current time, in UTC and in local time.
SystemTime NowUtc();
SystemTime NowLocal();

// Milliseconds since 1970-01-01T00:00:00 of calendar fields, and back.
std::int64_t ToEpochMillis(const SystemTime& st);
SystemTime FromEpochMillis(std::int64_t millis);

}  // namespace velmora::timezone
