// The header names and value words one localised Outlook writes in its CSV
// exports, loaded from supportedOutlookHeaders.csv.
//
// A locale may translate two English headers to the same word (French has
// "Titre" for both Title and Job Title), so one name can stand for several
// codes. Entries sharing a name are chained in column order and told apart
// by a sub-index: 0 is the first column with that name, 1 the second, ...
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <velmora/enums.h>

namespace velmora::csv {

class COutlookCsvLocale {
 public:
  // The value words in file order: Private false, true; Gender unspecified,
  // female, male; Priority low, normal, high; Sensitivity normal, personal,
  // private, confidential.
  static constexpr std::size_t kValueWordCount = 12;
  using ValueWords = std::array<std::u16string, kValueWordCount>;

  COutlookCsvLocale() = default;

  // Appends a column; a name met before (case ignored) joins the end of
  // that name's chain. A code added twice keeps its first name.
  void AddHeader(std::u16string name, std::uint32_t code);
  void SetValueWords(ValueWords words) { value_words_ = std::move(words); }

  // The code of the `sub_index`-th column named `name` (case ignored); 0
  // when the name is unknown or has fewer columns.
  std::uint32_t FindHeaderCode(std::u16string_view name, int sub_index = 0) const;
  // The localised name of `code`; empty when the locale has none.
  std::u16string FindHeaderName(std::uint32_t code) const;

  // Over the columns in list order; out-of-range indexes give "" and 0.
  int HeaderCount() const { return static_cast<int>(headers_.size()); }
  std::u16string HeaderName(int index) const;
  // The column itself and the later columns sharing its name.
  int HeaderCodeCount(int index) const;
  // `sub_index` steps along the column's same-name chain; 0 past its end.
  std::uint32_t HeaderCode(int index, int sub_index) const;

  // Empty for an index outside the enumeration.
  std::u16string PrivateValue(bool value) const { return value_words_[value ? 1 : 0]; }
  std::u16string GenderValue(int gender) const { return Word(2, 3, gender); }
  std::u16string PriorityValue(int priority) const { return Word(5, 3, priority); }
  std::u16string SensitivityValue(int sensitivity) const { return Word(8, 4, sensitivity); }

  std::u16string LID;         // exactly as in the file
  std::int32_t Codepage = 0;  // ANSI code page of this locale's files; 0: the system's
  std::u16string CodepageDisplayName;
  std::u16string DisplayName;
  std::u16string DisplayNameShort;

 private:
  struct Header {
    std::u16string name;
    std::uint32_t code = 0;
    int previous = -1;  // same-name neighbours, by list position
    int next = -1;
  };

  std::u16string Word(std::size_t first, std::size_t count, int index) const;

  std::vector<Header> headers_;
  std::unordered_map<std::uint32_t, int> by_code_;
  std::unordered_map<std::u16string, int> by_name_;  // upper-cased: first of the chain
  std::vector<int> chain_last_;                      // per chain head position: its last entry
  ValueWords value_words_;
};

}  // namespace velmora::csv
