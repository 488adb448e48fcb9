// The diagnostic log: one timestamped UTF-8 line per message in "<name>.log",
// errors and warnings also in "<name>.err", under
// <app-data>/<company>/<product>/.
//
// Line format: "MM/DD/YY HH:MM:SS Kind[status] in Label: message\n", where
// Kind is "Err", "War" or "Inf" and status is decimal between -1000 and 1000,
// "0x%X" otherwise. Error-file lines start with the module's version text.
// The log never fails its caller: lines it cannot store are dropped.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include <velmora/status.h>

#include "foundation/conversion_events.h"
#include "foundation/module_info.h"
#include "foundation/text_format.h"

namespace velmora {

// Log levels: 0 writes nothing, 1 errors and warnings, 2 adds information,
// 3 adds detail.
enum ELogLevel : int {
  loglNone = 0,
  loglMin = 1,
  loglInfo = 2,
  loglDetail = 3,
};

class CLog {
 public:
  // Size limits that Init trims the files to.
  static constexpr std::uint64_t kLogFileLimit = 1048576;
  static constexpr std::uint64_t kErrorFileLimit = 131072;
  // A message is cut after this many UTF-16 units.
  static constexpr std::size_t kMaxMessageUnits = 1048575;

  CLog();
  virtual ~CLog();
  CLog(const CLog&) = delete;
  CLog& operator=(const CLog&) = delete;

  // Prepares the paths and the folder, trims the files, settles the level
  // (-1: the registry value LogLevel under Software\<company>\<product>, user
  // hive first, then machine; only values below 4 count) and writes the start
  // marker. With files disabled nothing is ever written.
  void Init(const ModuleInfo& module, std::u16string_view name, std::u16string_view company,
            std::u16string_view product, int level, bool files_enabled);

  int level() const { return level_; }
  bool started() const { return started_; }
  // The structured side of the diagnostics: what the card being written
  // loses, for the caller's conversion report.
  CConversionEvents& events() { return events_; }
  const std::filesystem::path& log_path() const { return log_path_; }
  const std::filesystem::path& error_path() const { return error_path_; }
  const std::filesystem::path& folder() const { return folder_; }

  template <typename... Args>
  void LogError(std::string_view label, HRESULT status, std::string_view format,
                const Args&... args) {
    if (level_ >= loglMin) Write(loglMin, "Err", status, label, format, Pack(args...));
  }
  template <typename... Args>
  void LogWarning(std::string_view label, HRESULT status, std::string_view format,
                  const Args&... args) {
    if (level_ >= loglMin) Write(loglMin, "War", status, label, format, Pack(args...));
  }
  template <typename... Args>
  void LogInfo(std::string_view label, std::string_view format, const Args&... args) {
    if (level_ >= loglInfo) Write(loglInfo, "Inf", 0, label, format, Pack(args...));
  }
  template <typename... Args>
  void LogDetail(std::string_view label, std::string_view format, const Args&... args) {
    if (level_ >= loglDetail) Write(loglDetail, "Inf", 0, label, format, Pack(args...));
  }
  // Logs "ASSERT failed in line <number>" as an error when `condition` fails.
  void LogAssert(bool condition, std::string_view label, int number);

  // The status text of a line: "%d" within -1000..1000, else "0x%X".
  static std::string StatusText(HRESULT status);

  // Trims `path` to about its last limit/2 bytes, starting after a line break.
  static void TrimFile(const std::filesystem::path& path, std::uint64_t limit);

 private:
  template <typename... Args>
  static auto Pack(const Args&... args) {
    return std::array<FormatArg, sizeof...(Args)>{FormatArg(args)...};
  }
  template <std::size_t N>
  void Write(int level, const char* kind, HRESULT status, std::string_view label,
             std::string_view format, const std::array<FormatArg, N>& args) {
    WriteLine(level, kind, status, label, format, std::span<const FormatArg>(args.data(), N));
  }
  void WriteLine(int level, const char* kind, HRESULT status, std::string_view label,
                 std::string_view format, std::span<const FormatArg> args);
  void Append(std::FILE*& file, const std::filesystem::path& path, std::string_view prefix,
              std::string_view line);
  void CloseFiles();

  bool started_ = false;
  bool files_enabled_ = false;
  int level_ = loglMin;
  std::string version_text_;
  std::filesystem::path module_path_;
  std::filesystem::path folder_;
  std::filesystem::path log_path_;
  std::filesystem::path error_path_;
  std::FILE* log_file_ = nullptr;
  std::FILE* error_file_ = nullptr;
  std::u16string message_;  // reused formatting buffer
  CConversionEvents events_;
};

}  // namespace velmora
