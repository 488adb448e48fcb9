// Helpers for the object-model tests. These tests use the library as an
// application does: through <velmora/velmora.h> only (plus the pinned test
// environment for folders and the corpus).
#pragma once

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <velmora/velmora.h>

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "support/test_env.h"

namespace velmora::test {

inline std::filesystem::path EncodingsFile() {
  return SourceDir() / "data" / "supportedEncodings.txt";
}

inline std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}
inline std::string Text(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A Variant written as text, for case files: "" is Missing, otherwise
// "kind:value" with kind s (text), i (LONG), u (unsigned), d (double),
// b (true/false), bytes, or list (texts between '|').
inline Variant VariantOf(const std::string& text) {
  const std::size_t colon = text.find(':');
  const std::string kind = text.substr(0, colon), value = text.substr(colon + 1);
  if (text.empty()) return Variant();
  if (kind == "s") return Variant(U16(value));
  if (kind == "i") return Variant(std::int32_t{std::stoi(value)});
  if (kind == "u") return Variant(static_cast<std::uint32_t>(std::stoul(value)));
  if (kind == "d") return Variant(std::stod(value));
  if (kind == "b") return Variant(value == "true");
  if (kind == "bytes") return Variant(Bytes(value));
  EXPECT_EQ(kind, "list") << text;
  std::vector<std::u16string> list;
  for (std::size_t start = 0, end; start <= value.size(); start = end + 1) {
    end = std::min(value.find('|', start), value.size());
    list.push_back(U16(value.substr(start, end - start)));
  }
  return Variant(list);
}

// A status by its name in case files.
inline HRESULT StatusNamed(const std::string& name) {
  static const std::pair<const char*, HRESULT> kStatuses[] = {
      {"ok", S_OK},
      {"false", S_FALSE},
      {"no content", S_NO_CONTENT},
      {"invalid", E_INVALIDARG},
      {"failed", E_GENERIC_FAILURE},
      {"access denied", HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED)},
      {"not found", HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND)}};
  for (const auto& [word, status] : kStatuses) {
    if (name == word) return status;
  }
  ADD_FAILURE() << "unknown status " << name;
  return S_OK;
}

// A converter initialised with the repository's encodings list. With a
// product code, its log goes to LogText(product, module).
inline std::shared_ptr<ICardConverter> NewConverter(std::u16string_view product = u"",
                                                    std::u16string_view module = u"") {
  std::shared_ptr<ICardConverter> converter = CreateCardConverter();
  EXPECT_TRUE(converter);
  if (!converter) return converter;
  const HRESULT status =
      converter->InitEx(std::u16string(product), Variant(U16(EncodingsFile())), Variant(), true,
                        module.empty() ? Variant() : Variant(std::u16string(module)));
  EXPECT_EQ(status, S_OK);
  return converter;
}

// A converter that also loads the shipped Outlook locales; with a product
// code its log goes to LogText(product, "csv").
inline std::shared_ptr<ICardConverter> NewCsvConverter(std::u16string_view product = u"") {
  std::shared_ptr<ICardConverter> converter = CreateCardConverter();
  const std::filesystem::path locales = SourceDir() / "data" / "supportedOutlookHeaders.csv";
  EXPECT_EQ(converter->InitEx2(std::u16string(product), Variant(U16(EncodingsFile())), Variant(),
                               !product.empty(), Variant(u"csv"), Variant(U16(locales))),
            S_OK);
  return converter;
}

// The log file a converter initialised with `product` and `module` writes.
inline std::string LogText(std::string_view product, std::string_view module) {
  // Empty when there is none.
  return ReadFile(SandboxDir() / "appdata" / "Zorva" / std::string(product) /
                  (std::string(module) + ".log"));
}

// Records every progress call and cancels once `cancel_after` calls were
// made (never when negative).
class RecordingProgress : public ICardConverterProgress {
 public:
  explicit RecordingProgress(int cancel_after = -1) : cancel_after_(cancel_after) {}

  void OnCardConverterProgress(std::int32_t i, std::int32_t c, std::int32_t success,
                               std::int32_t skipped, std::int32_t errors) override {
    calls.push_back({i, c, success, skipped, errors});
  }
  bool IsCardConverterCancelled() override {
    ++asked;
    return cancel_after_ >= 0 && static_cast<int>(calls.size()) >= cancel_after_;
  }

  std::vector<std::array<std::int32_t, 5>> calls;
  int asked = 0;

 private:
  int cancel_after_;
};

inline bool Has(std::string_view text, std::string_view needle) {
  return text.find(needle) != std::string_view::npos;
}

// A property through its getter, which must succeed.
template <typename T, typename V>
V Get(T& object, HRESULT (T::*get)(V*)) {
  V value{};
  EXPECT_EQ((object.*get)(&value), S_OK);
  return value;
}

// Files of the process may not grow beyond `bytes` while this lives (a
// stand-in for a full disk); a write past it fails instead of raising
// SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_limit_);
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &saved_action_);
    struct rlimit limit = saved_limit_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_limit_);
    sigaction(SIGXFSZ, &saved_action_, nullptr);
  }

 private:
  struct rlimit saved_limit_;
  struct sigaction saved_action_;
};

// ConvertMemory's status, counters and written text.
struct Converted {
  HRESULT status;
  std::int32_t converted = 0, copied = 0, errors = 0;
  std::string text;
};
inline Converted ConvertText(ICardConverter& c, std::string_view cards, double version = 3.0,
                             std::int32_t code_page = 65001, Variant iso = {},
                             ICardConverterProgress* progress = nullptr) {
  Converted r;
  std::vector<std::uint8_t> out;
  r.status = c.ConvertMemory(Bytes(cards), &r.converted, &r.copied, &r.errors, version, code_page,
                             iso, &out, progress);
  r.text = Text(out);
  return r;
}

// SaveMemory2's status, counters and the files it names.
struct Saved {
  HRESULT status = E_GENERIC_FAILURE;
  std::int32_t saved = -1, skipped_all = -1, skipped_dups = -1, io_errors = -1, errors = -1;
  std::vector<std::u16string> names;
};
inline Saved SaveCards(ICardConverter& c, std::string_view cards,
                       const std::filesystem::path& folder, bool single, EDRMethod dr = drmNone,
                       double version = 3.0, ICardConverterProgress* progress = nullptr,
                       std::int32_t code_page = 65001, std::u16string base = u"all") {
  Saved s;
  s.status = c.SaveMemory2(Bytes(cards), U16(folder), base, single, &s.saved, &s.skipped_all,
                           &s.skipped_dups, &s.io_errors, &s.errors, version, code_page, Variant(),
                           dr, progress, &s.names);
  return s;
}

// Every one of `lines` is in the log of `product` and `module`.
inline void ExpectLogged(std::string_view product, std::string_view module,
                         std::initializer_list<std::string_view> lines) {
  const std::string log = LogText(product, module);
  for (std::string_view line : lines) {
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  }
}

// The cards LoadMemory makes of `text`, and a collection's count (-1 when
// there is none).
inline std::shared_ptr<ICards> LoadText(ICardConverter& c, std::string_view text) {
  std::shared_ptr<ICards> cards;
  EXPECT_EQ(c.LoadMemory(Bytes(text), 0, nullptr, &cards), S_OK);
  return cards;
}
inline std::int32_t Count(const std::shared_ptr<ICards>& cards) {
  return cards ? Get(*cards, &ICards::get_Count) : -1;
}

// A small card; `rev` ("20200101T000000Z") is left out when empty.
inline std::string Card(std::string_view family, std::string_view given, std::string_view rev = "",
                        std::string_view extra = "") {
  std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:";
  card.append(family).append(";").append(given).append(";;;\r\nFN:");
  card.append(given).append(given.empty() || family.empty() ? "" : " ").append(family);
  card.append("\r\n");
  if (!rev.empty()) card.append("REV:").append(rev).append("\r\n");
  card.append(extra);
  card.append("END:VCARD\r\n");
  return card;
}

}  // namespace velmora::test
