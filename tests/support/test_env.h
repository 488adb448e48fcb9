// Shared test fixtures of the unit tests: corpus paths and pinned platform
// settings (temporary folders and file helpers are in temp_dir.h).
//
// Every test runs with fixed settings (installed before main by the global
// environment in test_env.cpp): ANSI code page 1252, list separator ",", time
// zone Europe/Berlin, and the application-data folder and both registry hives
// inside a temporary folder that is removed at exit; registration writes to
// the machine's hive. Tests that need other
// settings use ScopedSettings.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <velmora/unicode.h>

#include "support/temp_dir.h"

namespace velmora::test {

// The third-party vCard files in tests/data/corpus/ (their sources and
// licences in its MANIFEST.tsv) and the repository's own folder.
std::filesystem::path CorpusDir();
std::filesystem::path SourceDir();

// The folder the global environment gave to the app-data folder and the
// registry hives.
const std::filesystem::path& SandboxDir();

// Changes the pinned settings for one scope and restores them after.
class ScopedSettings {
 public:
  ScopedSettings() = default;
  ~ScopedSettings();
  ScopedSettings& AnsiCodePage(int code_page);
  ScopedSettings& ListSeparator(std::u16string_view separator);
  ScopedSettings& TimeZone(std::string_view zone_id);
};

// Text in the library's UTF-16 and back, for building inputs and reading
// results as plain literals.
inline std::u16string U16(std::string_view utf8) { return Utf8ToUtf16(utf8); }
inline std::u16string U16(const std::string& utf8) { return Utf8ToUtf16(utf8); }
inline std::u16string U16(const char* utf8) { return Utf8ToUtf16(utf8); }
inline std::u16string U16(const std::filesystem::path& path) { return Utf8ToUtf16(path.string()); }
inline std::string U8(std::u16string_view utf16) { return Utf16ToUtf8(utf16); }

// The pinned values.
inline constexpr int kTestAnsiCodePage = 1252;
inline constexpr char16_t kTestListSeparator[] = u",";
inline constexpr char kTestTimeZone[] = "Europe/Berlin";

}  // namespace velmora::test
