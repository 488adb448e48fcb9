#include "foundation/system_settings.h"

#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace velmora::settings {
namespace {

struct State {
  std::mutex mutex;
  std::optional<int> ansi_code_page;
  std::optional<int> vcard21_code_page;
  std::optional<std::u16string> list_separator;
  std::optional<std::string> time_zone;
};

State& state() {
  static State s;
  return s;
}

// The POSIX locale in effect for one category: LC_ALL, then the category's
// variable, then LANG.
std::string PosixLocale(const char* category) {
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

// "pt_BR.UTF-8@euro" -> language "pt", region "BR".
void SplitLocale(std::string_view locale, std::string* language, std::string* region) {
  std::size_t end = locale.find_first_of(".@");
  locale = locale.substr(0, end);
  std::size_t sep = locale.find_first_of("_-");
  *language = std::string(locale.substr(0, sep));
  *region = sep == std::string_view::npos ? std::string() : std::string(locale.substr(sep + 1));
  for (char& c : *language) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : *region) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

int AnsiFromEnvironment() {
  if (const char* value = std::getenv("VELMORA_ANSI_CODEPAGE")) {
    char* end = nullptr;
    long cp = std::strtol(value, &end, 10);
    if (end != value && cp > 0 && cp < 65536) return static_cast<int>(cp);
  }
  return AnsiCodePageForLocale(PosixLocale("LC_CTYPE"));
}

int Vcard21FromEnvironment() {
  if (const char* value = std::getenv("VELMORA_VCARD21_CODEPAGE")) {
    char* end = nullptr;
    long cp = std::strtol(value, &end, 10);
    if (end != value && cp > 0 && cp < 65536) return static_cast<int>(cp);
  }
  return 0;
}

std::u16string ListSeparatorFromEnvironment() {
  if (const char* value = std::getenv("VELMORA_LIST_SEPARATOR")) {
    if (*value != '\0') {
      icu::UnicodeString s = icu::UnicodeString::fromUTF8(value);
      return std::u16string(s.getBuffer(), static_cast<std::size_t>(s.length()));
    }
  }
  return ListSeparatorForLocale(PosixLocale("LC_NUMERIC"));
}

std::string TimeZoneFromEnvironment() {
  // ICU reads TZ and the system's zone configuration itself.
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
  icu::UnicodeString id;
  zone->getID(id);
  std::string out;
  id.toUTF8String(out);
  if (out.empty() || out == "Etc/Unknown") out = "UTC";
  return out;
}

}  // namespace

int AnsiCodePageForLocale(std::string_view posix_locale) {
  std::string language, region;
  SplitLocale(posix_locale, &language, &region);
  struct Entry {
    const char* language;
    int code_page;
  };
  static constexpr Entry kTable[] = {
      // Cyrillic
      {"ru", 1251},
      {"uk", 1251},
      {"be", 1251},
      {"bg", 1251},
      {"mk", 1251},
      {"sr", 1251},
      {"kk", 1251},
      {"ky", 1251},
      {"tt", 1251},
      {"mn", 1251},
      {"ba", 1251},
      {"sah", 1251},
      {"tg", 1251},
      // Central European
      {"cs", 1250},
      {"sk", 1250},
      {"pl", 1250},
      {"hu", 1250},
      {"sl", 1250},
      {"hr", 1250},
      {"bs", 1250},
      {"ro", 1250},
      {"sq", 1250},
      {"hsb", 1250},
      {"dsb", 1250},
      {"el", 1253},
      {"tr", 1254},
      {"az", 1254},
      {"uz", 1254},
      {"he", 1255},
      {"yi", 1255},
      {"ar", 1256},
      {"fa", 1256},
      {"ur", 1256},
      {"ps", 1256},
      {"sd", 1256},
      {"ug", 1256},
      {"lt", 1257},
      {"lv", 1257},
      {"et", 1257},
      {"vi", 1258},
      {"th", 874},
      {"ja", 932},
      {"ko", 949},
  };
  if (language == "zh") {
    return (region == "TW" || region == "HK" || region == "MO") ? 950 : 936;
  }
  if (language == "sr" && posix_locale.find("latin") != std::string_view::npos) {
    return 1250;
  }
  for (const auto& entry : kTable) {
    if (language == entry.language) return entry.code_page;
  }
  return 1252;
}

std::u16string ListSeparatorForLocale(std::string_view posix_locale) {
  std::string language, region;
  SplitLocale(posix_locale, &language, &region);
  if (language.empty() || language == "c" || language == "posix") return u",";
  UErrorCode status = U_ZERO_ERROR;
  icu::DecimalFormatSymbols symbols(icu::Locale(language.c_str(), region.c_str()), status);
  if (U_FAILURE(status)) return u",";
  const icu::UnicodeString& decimal =
      symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol);
  return decimal == icu::UnicodeString(u",") ? u";" : u",";
}

int AnsiCodePage() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  if (!s.ansi_code_page) s.ansi_code_page = AnsiFromEnvironment();
  return *s.ansi_code_page;
}

int Vcard21CodePage() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  if (!s.vcard21_code_page) s.vcard21_code_page = Vcard21FromEnvironment();
  return *s.vcard21_code_page;
}

std::u16string ListSeparator() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  if (!s.list_separator) s.list_separator = ListSeparatorFromEnvironment();
  return *s.list_separator;
}

std::string TimeZoneId() {
  State& s = state();
  std::lock_guard lock(s.mutex);
  if (!s.time_zone) s.time_zone = TimeZoneFromEnvironment();
  return *s.time_zone;
}

void OverrideAnsiCodePage(int code_page) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.ansi_code_page.reset();
  if (code_page > 0) s.ansi_code_page = code_page;
}

void OverrideVcard21CodePage(int code_page) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.vcard21_code_page.reset();
  if (code_page > 0) s.vcard21_code_page = code_page;
}

void OverrideListSeparator(std::u16string_view separator) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.list_separator.reset();
  if (!separator.empty()) s.list_separator = std::u16string(separator);
}

void OverrideTimeZone(std::string_view zone_id) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  s.time_zone.reset();
  if (!zone_id.empty()) s.time_zone = std::string(zone_id);
}

}  // namespace velmora::settings
