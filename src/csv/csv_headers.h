// The CSV header catalogue: every column the converter can read or write,
// with its header code, type and names per dialect; the ordered column
// lists of the dialects; Google's grouped columns; and the localised Outlook
// header sets.
//
// Import turns column names into codes here, export asks for the column
// list of a dialect and each column's name in it. One catalogue belongs to
// a converter; its built-in part never changes after construction, the
// locale table is replaced by each LoadOutlookLocales.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <velmora/enums.h>
#include <velmora/status.h>

#include "csv/csv_header.h"
#include "csv/outlook_csv_locales.h"
#include "foundation/log.h"

namespace velmora::csv {

class CCsvHeaders {
 public:
  explicit CCsvHeaders(CLog& log);
  CCsvHeaders(const CCsvHeaders&) = delete;
  CCsvHeaders& operator=(const CCsvHeaders&) = delete;

  // The entry of a column code (instance bits ignored); null for 0 and for
  // unknown codes.
  const CCsvHeader* FindHeaderByCode(std::uint32_t code) const;
  // The plain entry a column name stands for in any dialect, case ignored;
  // null for grouped and unknown names.
  const CCsvHeader* FindHeaderByName(std::u16string_view name) const;
  // The code of a column name in any dialect, case ignored: a known name,
  // or a grouped name with its instance ("E-mail 2 - Value"); 0 otherwise.
  std::uint32_t FindCodeByName(std::u16string_view name) const;
  // Splits "E-mail 12 - Value" into "E-mail %d - Value" and 12: the digits
  // before the first " - ", after one space that follows a non-space, with
  // at least two characters before them and text after the " - ".
  static bool ParseIndexedName(std::u16string_view name, std::u16string* format,
                               std::uint32_t* index);
  // The entries of the group whose first column is "<group_name> %d -
  // Type" (case ignored); null when there is none.
  const CsvHeaderList* FindGroupByName(std::u16string_view group_name) const;

  // A dialect's columns in order. Outlook: variant 0 or 1 the Outlook list,
  // 2 the Outlook365 v1 list; both Google layouts: 0 full, 1 plain (the
  // fixed columns), 2 default (those detection needs); Nokia and the
  // Outlook365 dialects ignore the variant. Anything else is an assertion
  // and gives an empty list.
  const CsvHeaderList& GetHeaderList(ECsvType type, int variant) const;
  // Orders `codes` (duplicates dropped) for output in `type`: first those
  // of the dialect's list in its order, then the rest ascending. With
  // `add_all` every column of the dialect's list is included. Google2's
  // numbered blocks follow its group order instead ("E-mail 1 - Label",
  // "E-mail 1 - Value", "E-mail 2 - ...", "Phone 1 - ..." ...).
  void GetHeaders(std::vector<std::uint32_t>& codes, ECsvType type, bool add_all) const;
  // The column name to write for `code`: a grouped column's name with its
  // instance; Google's own name; else the English name, or with an Outlook
  // dialect and a LID the localised one (a missing locale or translation is
  // logged and falls back to English). Empty for unknown codes.
  std::u16string BuildHeaderName(std::uint32_t code, ECsvType type, std::u16string_view lid) const;

  static bool IsSupported(const CCsvHeader& entry, ECsvType type);
  static const std::u16string& GetName(const CCsvHeader& entry, ECsvType type);
  static const std::u16string& GetAltName(const CCsvHeader& entry, ECsvType type);
  // The type words offered for a grouped column; empty for plain columns
  // and groups without any.
  static std::span<const char16_t* const> GetKnownTypes(const CCsvHeader& entry);

  // (Re)loads the Outlook locales; see COutlookCsvLocales::Load.
  HRESULT LoadOutlookLocales(const std::filesystem::path& path);
  const COutlookCsvLocale* FindLocale(std::u16string_view lid) const { return locales_.Find(lid); }
  int LocaleCount() const { return locales_.Count(); }
  const COutlookCsvLocale* Locale(int index) const { return locales_.At(index); }

  // Every entry, in catalogue order.
  const std::vector<CCsvHeader>& entries() const { return entries_; }
  CLog& log() const { return log_; }

 private:
  void BuildEntries();
  void BuildIndexes();
  void BuildLists();
  // The list of the codes in `codes`, checked against the dialect's bit.
  CsvHeaderList ListFromCodes(std::span<const std::uint32_t> codes, std::uint32_t dialect,
                              int line) const;
  // The list GetHeaders orders by: Google's plain list, not its full one.
  const CsvHeaderList* OutputList(ECsvType type) const;
  // Where a column goes after the fixed ones in Google's later layout.
  std::uint64_t Google2BlockKey(std::uint32_t code) const;

  CLog& log_;
  std::vector<CCsvHeader> entries_;
  std::unordered_map<std::u16string, const CCsvHeader*> by_name_;         // upper-cased
  std::unordered_map<std::u16string, const CCsvHeader*> by_name_format_;  // upper-cased
  std::unordered_map<std::uint32_t, const CCsvHeader*> by_code_;
  std::unordered_map<std::uint32_t, CsvHeaderList> by_group_;  // code & 0xFF000000
  CsvHeaderList outlook_;
  CsvHeaderList outlook365v1_;
  CsvHeaderList outlook365v2_;
  CsvHeaderList google_plain_;
  CsvHeaderList google_default_;
  CsvHeaderList google_full_;
  CsvHeaderList nokia_;
  CsvHeaderList google2_plain_;
  CsvHeaderList google2_default_;
  CsvHeaderList google2_full_;
  const CsvHeaderList empty_;
  COutlookCsvLocales locales_;
};

}  // namespace velmora::csv
