#include "foundation/time_zone.h"

#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include "foundation/system_settings.h"

namespace velmora::timezone {
namespace {

constexpr std::int64_t kMillisPerDay = 86400000;
const char kPacificZone[] = "America/Los_Angeles";

// Zones are immutable once built; each thread keeps its own by identifier.
const icu::BasicTimeZone* Zone(const std::string& id) {
  thread_local std::unordered_map<std::string, std::unique_ptr<icu::TimeZone>> cache;
  auto it = cache.find(id);
  if (it == cache.end()) {
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
    it = cache.emplace(id, std::move(zone)).first;
  }
  return dynamic_cast<const icu::BasicTimeZone*>(it->second.get());
}

bool Valid(const SystemTime& st) {
  return st.year >= 1 && st.year <= 30827 && st.month >= 1 && st.month <= 12 && st.day >= 1 &&
         st.day <= 31 && st.hour >= 0 && st.hour <= 23 && st.minute >= 0 && st.minute <= 59 &&
         st.second >= 0 && st.second <= 59 && st.milliseconds >= 0 && st.milliseconds <= 999;
}

HRESULT ShiftLocal(const std::string& zone_id, const SystemTime& local, SystemTime* utc) {
  if (!Valid(local) || utc == nullptr) return E_INVALIDARG;
  const icu::BasicTimeZone* zone = Zone(zone_id);
  if (zone == nullptr) return E_INVALIDARG;
  const std::int64_t local_ms = ToEpochMillis(local);
  int32_t raw = 0, dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone->getOffsetFromLocal(static_cast<UDate>(local_ms), UCAL_TZ_LOCAL_FORMER, UCAL_TZ_LOCAL_FORMER,
                           raw, dst, status);
  if (U_FAILURE(status)) return E_INVALIDARG;
  *utc = FromEpochMillis(local_ms - raw - dst);
  return S_OK;
}

}  // namespace

std::int64_t ToEpochMillis(const SystemTime& st) {
  return DaysFromCivil(st.year, st.month, st.day) * kMillisPerDay +
         ((st.hour * 60LL + st.minute) * 60LL + st.second) * 1000LL + st.milliseconds;
}

SystemTime FromEpochMillis(std::int64_t millis) {
  std::int64_t days = millis / kMillisPerDay;
  std::int64_t rest = millis % kMillisPerDay;
  if (rest < 0) {
    rest += kMillisPerDay;
    --days;
  }
  SystemTime st;
  CivilFromDays(days, &st.year, &st.month, &st.day);
  st.day_of_week = static_cast<int>(((days % 7) + 11) % 7);
  st.hour = static_cast<int>(rest / 3600000);
  st.minute = static_cast<int>(rest / 60000 % 60);
  st.second = static_cast<int>(rest / 1000 % 60);
  st.milliseconds = static_cast<int>(rest % 1000);
  return st;
}

HRESULT LocalToUtc(const SystemTime& local, SystemTime* utc) {
  return ShiftLocal(settings::TimeZoneId(), local, utc);
}

HRESULT PacificToUtc(const SystemTime& pacific, SystemTime* utc) {
  return ShiftLocal(kPacificZone, pacific, utc);
}

HRESULT UtcToLocal(const SystemTime& utc, SystemTime* local) {
  if (!Valid(utc) || local == nullptr) return E_INVALIDARG;
  const icu::BasicTimeZone* zone = Zone(settings::TimeZoneId());
  if (zone == nullptr) return E_INVALIDARG;
  const std::int64_t utc_ms = ToEpochMillis(utc);
  int32_t raw = 0, dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone->getOffset(static_cast<UDate>(utc_ms), false, raw, dst, status);
  if (U_FAILURE(status)) return E_INVALIDARG;
  *local = FromEpochMillis(utc_ms + raw + dst);
  return S_OK;
}

SystemTime NowUtc() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return FromEpochMillis(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

SystemTime NowLocal() {
  SystemTime local;
  if (UtcToLocal(NowUtc(), &local) != S_OK) return NowUtc();
  return local;
}

}  // namespace velmora::timezone
