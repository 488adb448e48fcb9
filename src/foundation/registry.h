// A small file-backed stand-in for the Windows registry.
//
// Two hives, each one text file:
//   current user:  $VELMORA_REGISTRY_USER, else
//                  ${XDG_CONFIG_HOME:-~/.config}/velmora/registry.ini
//   local machine: $VELMORA_REGISTRY_MACHINE, else /etc/velmora/registry.ini
//
// File format (UTF-8, "#" or ";" starts a comment line):
//   [Software\Zorva\VCF]          a key: backslash-separated path
//   "LogLevel"=dword:00000002     a 32-bit value, hexadecimal
//   "Name"="text with \\ and \""  a string value, backslash escapes
// Key and value names compare without ASCII case, as the registry does.
// Writes replace the file through a temporary file and a rename.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <velmora/status.h>

namespace velmora::registry {

enum class Hive { kCurrentUser, kLocalMachine };

// The file behind a hive (from the environment, or the override below).
std::filesystem::path HivePath(Hive hive);
// Points a hive at another file; an empty path restores the default.
void OverrideHivePath(Hive hive, const std::filesystem::path& path);

// Missing keys or values give HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND); a
// value of the other type gives HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH).
HRESULT ReadDword(Hive hive, std::string_view key, std::string_view name, std::uint32_t* value);
HRESULT ReadString(Hive hive, std::string_view key, std::string_view name, std::string* value);

// Create the key when needed. File errors come back as their statuses.
HRESULT WriteDword(Hive hive, std::string_view key, std::string_view name, std::uint32_t value);
HRESULT WriteString(Hive hive, std::string_view key, std::string_view name, std::string_view value);
HRESULT DeleteValue(Hive hive, std::string_view key, std::string_view name);
// Creates the key, with no values, when it is not there yet.
HRESULT CreateKey(Hive hive, std::string_view key);
// Removes the key with all its values and sub-keys.
HRESULT DeleteKey(Hive hive, std::string_view key);

// The classes root, where the module registers its classes, and the hive
// that holds it: the machine's, or the user's when VELMORA_REGISTER_PER_USER
// is set to anything but "0" (or as overridden; nullopt restores that).
inline constexpr std::string_view kClassesRoot = "Software\\Classes";
Hive ClassesHive();
void OverrideClassesHive(std::optional<Hive> hive);

inline constexpr std::uint32_t kErrorDatatypeMismatch = 1629;

}  // namespace velmora::registry
