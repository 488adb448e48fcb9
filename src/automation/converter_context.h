// What a converter shares with every object it hands out: the log, the
// supported encodings, the PRODID line for written cards, the preview
// filter and the CSV header catalogue with its Outlook locales. The converter and each of its
// collections and contacts hold the context jointly (std::shared_ptr), so an object used after its
// converter was released still finds everything it needs.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "contact/card_fields.h"
#include "csv/csv_headers.h"
#include "foundation/char_converter.h"
#include "foundation/log.h"

namespace velmora::automation {

class CConverterContext {
 public:
  CConverterContext() = default;
  CConverterContext(const CConverterContext&) = delete;
  CConverterContext& operator=(const CConverterContext&) = delete;

  CLog& log() { return log_; }
  // Null until the converter is initialised.
  const CCharConverter* charsets() const { return charsets_.get(); }
  void set_charsets(std::unique_ptr<CCharConverter> charsets) { charsets_ = std::move(charsets); }

  // The PRODID line written into 3.0 cards; empty: the library's own.
  const std::string& prodid_line() const { return prodid_line_; }
  void set_prodid_line(std::string line) { prodid_line_ = std::move(line); }

  const std::filesystem::path& outlook_headers_file() const { return outlook_headers_file_; }
  void set_outlook_headers_file(std::filesystem::path file) {
    outlook_headers_file_ = std::move(file);
  }

  // The properties a preview reads, built on first use.
  const contact::FieldFilter& PreviewFilter();

  // The CSV header catalogue, built on first use: commands that never touch
  // CSV do not pay for it.
  csv::CCsvHeaders& CsvHeaders();

 private:
  // Declared first, so destroyed last: the char converter reports to it.
  CLog log_;
  std::unique_ptr<CCharConverter> charsets_;
  std::string prodid_line_;
  std::filesystem::path outlook_headers_file_;
  contact::FieldFilter preview_filter_;
  bool preview_filter_built_ = false;
  std::once_flag csv_headers_once_;
  std::unique_ptr<csv::CCsvHeaders> csv_headers_;
};

}  // namespace velmora::automation
