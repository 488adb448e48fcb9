#include "converter_session.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <velmora/encodings.h>
#include <velmora/unicode.h>
#include <velmora/variant.h>
#include <velmora/version.h>

#include <unistd.h>

namespace velmora::cli {
namespace {

constexpr char kRegistryUserVariable[] = "VELMORA_REGISTRY_USER";

// The library reads its log level from the registry store when the log
// opens. For --log-level the command points the user hive at a private
// file holding only that value for the time of initialisation, then puts
// the environment back and removes the file.
class ScopedLogLevel {
 public:
  explicit ScopedLogLevel(int level) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmora-registry-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return;
    char text[128];
    const int length =
        std::snprintf(text, sizeof text, "[Software\\Zorva\\%s]\n\"LogLevel\"=dword:%08x\n",
                      kProductName, static_cast<unsigned>(level));
    const bool written = write(fd, text, static_cast<std::size_t>(length)) == length;
    close(fd);
    path_ = pattern;
    if (!written) return;
    if (const char* old = std::getenv(kRegistryUserVariable)) previous_ = std::string(old);
    setenv(kRegistryUserVariable, path_.c_str(), 1);
    active_ = true;
  }
  ~ScopedLogLevel() {
    if (active_) {
      if (previous_) {
        setenv(kRegistryUserVariable, previous_->c_str(), 1);
      } else {
        unsetenv(kRegistryUserVariable);
      }
    }
    if (!path_.empty()) unlink(path_.c_str());
  }
  ScopedLogLevel(const ScopedLogLevel&) = delete;
  ScopedLogLevel& operator=(const ScopedLogLevel&) = delete;

 private:
  std::string path_;
  std::optional<std::string> previous_;
  bool active_ = false;
};

}  // namespace

std::string SupportedEncodingsPath() { return DataDirectory() + "/supportedEncodings.txt"; }

std::string SupportedOutlookHeadersPath() {
  return DataDirectory() + "/supportedOutlookHeaders.csv";
}

std::shared_ptr<ICardConverter> OpenConverter(const GlobalOptions& global, HRESULT* status,
                                              bool with_outlook_headers) {
  std::shared_ptr<ICardConverter> converter = CreateCardConverter();
  if (!converter) {
    *status = E_OUTOFMEMORY;
    PrintError({}, "cannot create the converter", *status);
    return nullptr;
  }
  const Variant encodings(Utf8ToUtf16(SupportedEncodingsPath()));
  const Variant log_name(Utf8ToUtf16(global.log_name));
  // Level 0 writes nothing at all, not even the start marker.
  const bool log = global.log_level != 0;
  std::optional<ScopedLogLevel> level;
  if (global.log_level > 0) level.emplace(global.log_level);
  // The Outlook locales cost a few milliseconds to load: only jobs that read
  // or write CSV take them.
  const Variant outlook_headers =
      with_outlook_headers ? Variant(Utf8ToUtf16(SupportedOutlookHeadersPath())) : Variant();
  // Cards the command writes say so in their PRODID.
  const Variant prodid(Utf8ToUtf16(std::string("-//Velmora//velmora ") + VersionString() + "//EN"));
  *status = converter->InitEx2(kProductCode, encodings, prodid, log, log_name, outlook_headers);
  if (FAILED(*status)) {
    PrintError({}, "cannot initialise the converter", *status);
    return nullptr;
  }
  return converter;
}

std::string LogLocationHelp() {
  return std::string("<XDG_DATA_HOME or ~/.local/share>/Zorva/") + kProductName +
         "/<name>.log (errors and warnings also in <name>.err)";
}

}  // namespace velmora::cli
