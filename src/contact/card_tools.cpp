#include "contact/card_tools.h"

#include <algorithm>
#include <cstdio>

#include "foundation/text_util.h"
#include "foundation/time_zone.h"

namespace velmora::contact {
namespace {

bool IsTrimByte(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string DateTime2Str(CLog& log, const SystemTime& time, bool time_is_utc, bool want_utc,
                         bool compact) {
  SystemTime converted = time;
  if (!time_is_utc && want_utc) {
    HRESULT status = timezone::LocalToUtc(time, &converted);
    if (FAILED(status)) {
      log.LogError("CardTools.DateTime2Str", status, "LocalToUtc");
      return {};
    }
  } else if (time_is_utc && !want_utc) {
    HRESULT status = timezone::UtcToLocal(time, &converted);
    if (FAILED(status)) {
      log.LogError("CardTools.DateTime2Str", status, "UtcToLocal");
      return {};
    }
  }
  char buffer[128];
  std::snprintf(buffer, sizeof(buffer),
                compact ? "%04d%02d%02dT%02d%02d%02d%s" : "%04d-%02d-%02dT%02d:%02d:%02d%s",
                converted.year, converted.month, converted.day, converted.hour, converted.minute,
                converted.second, want_utc ? "Z" : "");
  return buffer;
}

std::string DateTime2Str(CLog& log, double time, bool time_is_utc, bool want_utc, bool compact) {
  SystemTime fields;
  if (!VariantTimeToSystemTime(time, &fields)) {
    log.LogError("CardTools.DateTime2Str", E_INVALIDARG, "VariantTimeToSystemTime(%f)", time);
    return {};
  }
  return DateTime2Str(log, fields, time_is_utc, want_utc, compact);
}

std::string Date2Str(double date, bool compact) {
  SystemTime fields;
  if (!VariantTimeToSystemTime(date, &fields)) return {};
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), compact ? "%04d%02d%02d" : "%04d-%02d-%02d", fields.year,
                fields.month, fields.day);
  return buffer;
}

std::u16string DetectPhotoExt(const std::uint8_t* bytes, std::size_t length, CLog* log) {
  if (bytes == nullptr) length = 0;
  if (length >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return u"BMP";
  if (length >= 3) {
    if (bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return u"JPG";
    if (bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F') return u"GIF";
    if (bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == '*') return u"TIF";
  }
  if (length >= 4 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G') {
    return u"PNG";
  }
  if (log != nullptr) {
    std::string head = "{";
    const std::size_t shown = std::min<std::size_t>(length, 16);
    for (std::size_t i = 0; i < shown; ++i) {
      char item[16];
      std::snprintf(item, sizeof(item), i == 0 ? "0x%x" : ", 0x%x", bytes[i]);
      head += item;
    }
    head += "}";
    log->LogWarning("CardTools.DetectPhotoExt", S_FALSE,
                    "cant detect image type; data starts with %s", head);
  }
  return {};
}

std::string TrimStringA(CLog& log, const char* bytes, std::int64_t length) {
  if (bytes == nullptr || length < 1) {
    log.LogDetail("CardTools.TrimStringA", "no data (length = %d)", length);
    return {};
  }
  std::string_view text(bytes, static_cast<std::size_t>(length));
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsTrimByte(text[begin])) ++begin;
  while (end > begin && IsTrimByte(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

bool IsAddressEmpty(const ContactAddress& address) {
  return address.PostOfficeBox.empty() && address.OfficeLocation.empty() &&
         address.Street.empty() && address.City.empty() && address.State.empty() &&
         address.PostalCode.empty() && address.Country.empty();
}

EContactSensitivity SensitivityFromWord(std::u16string_view word) {
  if (text::EqualsNoCase(word, u"CONFIDENTIAL")) return vlmcsConfidential;
  if (text::EqualsNoCase(word, u"PRIVATE")) return vlmcsPrivate;
  return vlmcsNormal;
}

std::u16string_view SensitivityToWord(EContactSensitivity sensitivity) {
  switch (sensitivity) {
    case vlmcsConfidential:
      return u"CONFIDENTIAL";
    case vlmcsPrivate:
      return u"PRIVATE";
    default:
      return {};
  }
}

}  // namespace velmora::contact
