#include "foundation/log.h"

#include <cstring>

#include "foundation/code_page.h"
#include "foundation/file_system.h"
#include "foundation/registry.h"
#include "foundation/time_zone.h"

namespace velmora {
namespace {

std::string ToUtf8(std::u16string_view s) { return codepage::FromUtf16(codepage::kUtf8, s); }

// The level from the LogLevel value under Software\<company>\<product>: the
// user's hive first, then the machine's. Only values below 4 count.
int LevelFromRegistry(std::u16string_view company, std::u16string_view product) {
  const std::string key = "Software\\" + ToUtf8(company) + "\\" + ToUtf8(product);
  for (auto hive : {registry::Hive::kCurrentUser, registry::Hive::kLocalMachine}) {
    std::uint32_t value = 0;
    if (registry::ReadDword(hive, key, "LogLevel", &value) == S_OK) {
      return value < 4 ? static_cast<int>(value) : loglMin;
    }
  }
  return loglMin;
}

}  // namespace

CLog::CLog() = default;

CLog::~CLog() {
  if (started_ && files_enabled_) Append(log_file_, log_path_, {}, ":LogEnd:\n\n");
  CloseFiles();
}

void CLog::CloseFiles() {
  if (log_file_ != nullptr) std::fclose(log_file_);
  if (error_file_ != nullptr) std::fclose(error_file_);
  log_file_ = error_file_ = nullptr;
}

std::string CLog::StatusText(HRESULT status) {
  char buffer[32];
  if (status >= -1000 && status <= 1000) {
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(status));
  } else {
    std::snprintf(buffer, sizeof buffer, "0x%X", static_cast<unsigned>(status));
  }
  return buffer;
}

void CLog::Init(const ModuleInfo& module, std::u16string_view name, std::u16string_view company,
                std::u16string_view product, int level, bool files_enabled) {
  files_enabled_ = files_enabled;
  module_path_ = module.path;
  version_text_.clear();
  if (module.has_version) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d.%d.%d.%d ", module.version[0], module.version[1],
                  module.version[2], module.version[3]);
    version_text_ = buffer;
  }

  // The module's base name: its file name up to the last '.'.
  std::string base = module.path.filename().string();
  if (std::size_t dot = base.rfind('.'); dot != std::string::npos) base.resize(dot);
  std::string log_name = ToUtf8(name);
  if (log_name.empty()) log_name = base;
  if (log_name.empty()) log_name = ToUtf8(product);

  CloseFiles();

  if (folder_.empty()) {
    if (auto app_data = files::AppDataFolder()) {
      folder_ = *app_data / ToUtf8(company) / ToUtf8(product);
    } else {
      folder_ = module.path.parent_path();
    }
    if (files_enabled_) {
      // Failures only mean that nothing will be written.
      std::error_code ec;
      std::filesystem::create_directories(folder_, ec);
    }
  }
  log_path_ = folder_ / (log_name + ".log");
  error_path_ = folder_ / (log_name + ".err");

  if (files_enabled_) {
    TrimFile(log_path_, kLogFileLimit);
    TrimFile(error_path_, kErrorFileLimit);
  }

  level_ = level == -1 ? LevelFromRegistry(company, product) : level;
  started_ = true;

  if (files_enabled_) {
    std::string version = version_text_;
    while (!version.empty() && version.back() == ' ') version.pop_back();
    char bitness[16];
    std::snprintf(bitness, sizeof bitness, "%d", 64);
    const std::string marker = ":LogStart:\nModuleName=\"" + module_path_.string() +
                               "\", Version=" + version + ", Bitness=" + bitness + "\n";
    Append(log_file_, log_path_, {}, marker);
  }
}

void CLog::LogAssert(bool condition, std::string_view label, int number) {
  if (!condition) LogError(label, 0, "ASSERT failed in line %d", number);
}

void CLog::WriteLine(int level, const char* kind, HRESULT status, std::string_view label,
                     std::string_view format, std::span<const FormatArg> args) {
  // A line that goes nowhere is not even formatted.
  if (level > level_ || !files_enabled_ || !started_) return;
  message_.clear();
  if (message_.capacity() < 16384) message_.reserve(16384);
  FormatInto(message_, format, args, kMaxMessageUnits);

  // Continuation lines of a message are indented by one TAB.
  std::string text;
  text.reserve(message_.size() + 64);
  const SystemTime now = timezone::NowLocal();
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d %02d:%02d:%02d ", now.month, now.day,
                now.year % 100, now.hour, now.minute, now.second);
  text += stamp;
  text += kind;
  text += '[';
  text += StatusText(status);
  text += "] in ";
  text.append(label);
  text += ": ";
  std::string body = ToUtf8(message_);
  for (char c : body) {
    text.push_back(c);
    if (c == '\n') text.push_back('\t');
  }
  text.push_back('\n');

  Append(log_file_, log_path_, {}, text);
  if (std::strcmp(kind, "Err") == 0 || std::strcmp(kind, "War") == 0) {
    Append(error_file_, error_path_, version_text_, text);
  }
}

void CLog::Append(std::FILE*& file, const std::filesystem::path& path, std::string_view prefix,
                  std::string_view line) {
  if (!files_enabled_) return;
  if (file == nullptr) {
    file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return;
  }
  // One write per line, so two logs sharing a file interleave whole lines.
  std::string buffer;
  buffer.reserve(prefix.size() + line.size());
  buffer.append(prefix);
  buffer.append(line);
  std::fwrite(buffer.data(), 1, buffer.size(), file);
  std::fflush(file);
}

void CLog::TrimFile(const std::filesystem::path& path, std::uint64_t limit) {
  std::error_code ec;
  const std::uint64_t size = std::filesystem::file_size(path, ec);
  if (ec || size <= limit) return;
  std::filesystem::path temp = path;
  temp += "1";
  std::FILE* in = std::fopen(path.c_str(), "rb");
  std::FILE* out = in ? std::fopen(temp.c_str(), "wb") : nullptr;
  if (in == nullptr || out == nullptr) {
    if (in) std::fclose(in);
    if (out) std::fclose(out);
    return;
  }
  const std::uint64_t start = size - limit / 2;
  bool ok = fseeko(in, static_cast<off_t>(start), SEEK_SET) == 0;
  char block[4096];
  std::size_t got = ok ? std::fread(block, 1, 4095, in) : 0;
  // Keep from just after the first line break in the probe.
  std::string_view probe(block, got);
  std::size_t keep = probe.find("\r\n");
  if (keep != std::string_view::npos) {
    keep += 2;
  } else if ((keep = probe.find('\n')) != std::string_view::npos) {
    keep += 1;
  } else {
    keep = got;
  }
  ok = ok && std::fwrite(block + keep, 1, got - keep, out) == got - keep;
  while (ok) {
    std::size_t n = std::fread(block, 1, sizeof block, in);
    if (n == 0) break;
    ok = std::fwrite(block, 1, n, out) == n;
  }
  ok = std::fclose(out) == 0 && ok;
  std::fclose(in);
  // A failed copy must not cost the file: keep the original then.
  if (ok) {
    std::filesystem::rename(temp, path, ec);
  } else {
    std::filesystem::remove(temp, ec);
  }
}

}  // namespace velmora
