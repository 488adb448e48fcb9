// The table of localised Outlook header sets, in file order, with its LID
// index, and its loader for supportedOutlookHeaders.csv.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <velmora/status.h>

#include "csv/csv_header.h"
#include "csv/outlook_csv_locale.h"
#include "foundation/log.h"

namespace velmora::csv {

class COutlookCsvLocales {
 public:
  explicit COutlookCsvLocales(CLog& log) : log_(log) {}
  COutlookCsvLocales(const COutlookCsvLocales&) = delete;
  COutlookCsvLocales& operator=(const COutlookCsvLocales&) = delete;

  // Empties the table, then reads one locale per data row of `path`, the
  // translations of the columns of `outlook` (the Outlook list, in order).
  // S_OK when at least one locale was loaded; S_FALSE for a file with no
  // data rows; E_INVALIDARG for an empty path; the read or parse failure
  // status; E_GENERIC_FAILURE for a file that is not Unicode, has no
  // separator or lacks required columns, or whose every row was skipped.
  // Each bad row is skipped with its reason logged.
  HRESULT Load(const std::filesystem::path& path, const CsvHeaderList& outlook);

  // Null for an empty or unknown LID (case ignored).
  const COutlookCsvLocale* Find(std::u16string_view lid) const;
  int Count() const { return static_cast<int>(locales_.size()); }
  // Null outside 0 .. Count() - 1.
  const COutlookCsvLocale* At(int index) const;

 private:
  void Clear();

  CLog& log_;
  std::vector<std::unique_ptr<COutlookCsvLocale>> locales_;
  std::unordered_map<std::u16string, const COutlookCsvLocale*> by_lid_;  // upper-cased
};

}  // namespace velmora::csv
