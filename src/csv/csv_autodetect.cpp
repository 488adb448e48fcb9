#include "csv/csv_autodetect.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "csv/csv.h"
#include "csv/csv_content.h"
#include "csv/csv_escape.h"
#include "foundation/code_page.h"
#include "foundation/file_reader.h"
#include "foundation/file_system.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"

namespace velmora::csv {
namespace {

constexpr char kFindOutlookLabel[] = "CCsv.FindOutlookHeaderCodes";
constexpr char kLoadLabel[] = "CCsvContent.LoadFromFile";

// Detection reads the first two rows; the decoded prefix starts at 64 KiB
// and grows until they are whole.
constexpr int kDetectRows = 2;
constexpr std::size_t kFirstPrefix = std::size_t{1} << 16;

void AddName(std::u16string& names, std::u16string_view name) {
  if (!names.empty()) names += u'\n';
  names += name;
}

void Count(CsvHeaderCodes& row, std::uint32_t code, std::u16string_view listed) {
  row.codes.push_back(code);
  if (code != 0) {
    ++row.known_count;
    AddName(row.known_names, listed);
  } else {
    ++row.unknown_count;
    AddName(row.unknown_names, listed);
  }
}

bool IsUnicodeCodePage(int code_page) {
  return code_page == 65000 || code_page == codepage::kUtf8 || code_page == codepage::kUtf16LE ||
         code_page == codepage::kUtf16BE;
}

// The first two rows of `text` with the first separator that splits them:
// "," then, while the widest row has one cell, ";" and TAB when the first
// cell holds them. False when the rows are not final yet (more of a partial
// text is needed). `separator` is left empty when no candidate splits.
bool SplitFirstRows(const CCsv& csv, std::u16string_view text, bool partial, CsvCellsTable& cells,
                    std::u16string& separator) {
  static constexpr char16_t kCandidates[] = {u',', u';', u'\t'};
  std::size_t candidate = 0;
  for (;;) {
    separator.assign(1, kCandidates[candidate]);
    if (!csv.ParseLeadingRows(text, partial, kDetectRows, separator, &cells)) return false;
    if (MaxColumnCount(cells) != 1) return true;
    const std::u16string& first = cells.front().front();
    do {
      if (++candidate == std::size(kCandidates)) {
        separator.clear();
        return true;
      }
    } while (first.find(kCandidates[candidate]) == std::u16string::npos);
  }
}

bool HasCells(const CsvCellsTable& cells) { return MaxColumnCount(cells) > 0; }

// The encoding verdict over the whole file: its first bytes, or the UTF-8
// test over every byte, read in pieces after `prefix` (the first bytes,
// already read). The file is then positioned after the prefix again.
HRESULT JudgeEncoding(files::FileReader& file, const std::string& prefix, bool whole,
                      CsvEncodingGuess& guess) {
  if (const auto by_start = DetectCsvEncodingByStart(prefix)) {
    guess = *by_start;
    return S_OK;
  }
  CsvUtf8Test test;
  std::size_t used = test.Feed(prefix, whole);
  if (!test.done()) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::string piece = prefix.substr(used);
    for (bool last = false; !last && !test.done();) {
      std::size_t got = 0;
      const HRESULT status = file.Read(kPiece, piece, &got);
      if (FAILED(status)) return status;
      last = got < kPiece;
      used = test.Feed(piece, last);
      piece.erase(0, used);
    }
  }
  guess = test.looks_like_utf8() ? CsvEncodingGuess{codepage::kUtf8, 0} : CsvEncodingGuess{};
  if (whole) return S_OK;
  // Back to where the prefix ends, for reading more of the first rows.
  HRESULT status = file.Rewind();
  std::string skipped;
  std::size_t got = 0;
  if (SUCCEEDED(status)) status = file.Read(prefix.size(), skipped, &got);
  return status;
}

}  // namespace

CsvHeaderCodes FindHeaderCodes(const CCsvHeaders& headers, std::span<const std::u16string> names) {
  CsvHeaderCodes row;
  row.codes.reserve(names.size());
  for (const std::u16string& name : names) Count(row, headers.FindCodeByName(name), name);
  return row;
}

CsvHeaderCodes FindOutlookHeaderCodes(const CCsvHeaders& headers,
                                      std::span<const std::u16string> names,
                                      std::u16string_view lid, bool verbose) {
  CsvHeaderCodes row;
  const COutlookCsvLocale* locale = nullptr;
  if (!lid.empty()) {
    locale = headers.FindLocale(lid);
    if (locale == nullptr) {
      headers.log().LogError(kFindOutlookLabel, E_INVALIDARG, "Invalid locale(%s)", lid);
      return row;
    }
  }
  row.codes.reserve(names.size());
  std::unordered_map<std::u16string, int> seen;  // upper-cased name: times met so far
  for (const std::u16string& name : names) {
    std::uint32_t code = 0;
    if (locale != nullptr) {
      const int occurrence = seen[text::ToUpper(name)]++;
      code = locale->FindHeaderCode(name, occurrence);
    } else if (const CCsvHeader* entry = headers.FindHeaderByName(name);
               entry != nullptr && (entry->Dialects & kCsvDialectOutlook) != 0) {
      code = entry->Code;
    }
    if (code != 0 && verbose) {
      const CCsvHeader* entry = headers.FindHeaderByCode(code);
      std::u16string listed = u"\"" + name + u"\" (";
      if (entry != nullptr) listed += entry->Name;
      listed += u')';
      Count(row, code, listed);
    } else {
      Count(row, code, name);
    }
  }
  return row;
}

ECsvType DetectCsvTypeByCodes(const CCsvHeaders& headers, std::span<const std::uint32_t> codes,
                              bool* has_custom_headers) {
  struct Candidate {
    ECsvType type;
    int variant;
  };
  static constexpr Candidate kOrder[] = {{vlmcsvOutlook, 0},      {vlmcsvOutlook365v2, 0},
                                         {vlmcsvOutlook365v1, 0}, {vlmcsvNokia, 0},
                                         {vlmcsvGoogle, 2},       {vlmcsvGoogle2, 2}};
  if (has_custom_headers != nullptr) *has_custom_headers = false;
  const std::unordered_set<std::uint32_t> present(codes.begin(), codes.end());
  for (const Candidate& candidate : kOrder) {
    const CsvHeaderList& list = headers.GetHeaderList(candidate.type, candidate.variant);
    if (list.empty() || codes.size() < list.size()) continue;
    const bool complete = std::all_of(list.begin(), list.end(), [&](const CCsvHeader* entry) {
      return present.count(entry->Code) != 0;
    });
    if (!complete) continue;
    if (has_custom_headers != nullptr) {
      // Google's numbered columns come on top of its reference list.
      const bool google = candidate.type == vlmcsvGoogle || candidate.type == vlmcsvGoogle2;
      if (!google && codes.size() > list.size()) {
        *has_custom_headers = true;
      } else {
        *has_custom_headers = std::any_of(codes.begin(), codes.end(), [&](std::uint32_t code) {
          const CCsvHeader* entry = code == 0 ? nullptr : headers.FindHeaderByCode(code);
          return entry == nullptr || !CCsvHeaders::IsSupported(*entry, candidate.type);
        });
      }
    }
    return candidate.type;
  }
  return vlmcsvUnknown;
}

HRESULT CCsv::AutodetectCsvFile(const std::filesystem::path& file_name, bool detect_locale,
                                CsvDetection* result) const {
  if (result == nullptr || headers_ == nullptr || file_name.empty()) return E_INVALIDARG;
  *result = CsvDetection();

  // The file is read in pieces: the encoding test walks every byte, but only
  // the prefix that holds the first rows is kept and decoded.
  files::FileReader file;
  HRESULT status = file.Open(file_name, CCsvContent::kMaxContentLength);
  std::string prefix;
  std::size_t got = 0;
  if (SUCCEEDED(status)) status = file.Read(kFirstPrefix, prefix, &got);
  bool whole = SUCCEEDED(status) && prefix.size() < kFirstPrefix;
  CsvEncodingGuess guess;
  if (SUCCEEDED(status)) status = JudgeEncoding(file, prefix, whole, guess);
  if (FAILED(status)) {
    log_.LogError(kLoadLabel, status, files::ReadFailureStep(status));
    return status;
  }

  CCsvContent content(log_);
  CsvCellsTable cells;
  std::u16string separator;
  for (;;) {
    status = content.LoadPrefix(prefix, whole, guess, 0);
    if (FAILED(status)) return status;
    if (SplitFirstRows(*this, content.text(), content.IsPartial(), cells, separator)) break;
    // The two rows go on past the prefix: read four times as much.
    const std::size_t more = prefix.size() * 3;
    status = file.Read(more, prefix, &got);
    if (FAILED(status)) {
      log_.LogError(kLoadLabel, status, files::ReadFailureStep(status));
      return status;
    }
    whole = got < more;
  }
  auto finish = [&](bool recognised) {
    result->empty = cells.size() == (recognised ? 1u : 0u);
    return S_OK;
  };
  if (!HasCells(cells)) return finish(false);
  if (separator.empty()) {
    result->headers = cells.front().front();
    return finish(false);
  }
  result->separator = separator;

  // Re-decodes the prefix with `code_page` and splits it again with the
  // separator found; false when that gives no cells.
  const auto redecode = [&](int code_page) {
    if (code_page == content.Codepage()) return HasCells(cells);
    if (!content.SetCodepage(code_page)) return false;
    ParseLeadingRows(content.text(), content.IsPartial(), kDetectRows, separator, &cells);
    return HasCells(cells);
  };

  const bool unicode = IsUnicodeCodePage(content.Codepage());
  const int own_code_page = content.Codepage();
  CsvHeaderCodes row = FindHeaderCodes(*headers_, cells.front());
  if (detect_locale && row.unknown_count > 0 && headers_->LocaleCount() > 0) {
    int best = static_cast<int>(cells.front().size());
    const COutlookCsvLocale* best_locale = nullptr;
    int best_code_page = 0;
    for (int i = 0; i < headers_->LocaleCount() && best > 0; ++i) {
      const COutlookCsvLocale* locale = headers_->Locale(i);
      const int code_page = locale->Codepage > 0 ? locale->Codepage : settings::AnsiCodePage();
      if (!unicode && !redecode(code_page)) continue;
      const CsvHeaderCodes trial =
          FindOutlookHeaderCodes(*headers_, cells.front(), locale->LID, false);
      if (trial.unknown_count < best) {
        best = trial.unknown_count;
        best_locale = locale;
        best_code_page = code_page;
      }
    }
    if (best >= row.unknown_count) {
      if (!unicode && !redecode(own_code_page)) cells.clear();
      if (HasCells(cells)) row = FindHeaderCodes(*headers_, cells.front());
    } else {
      if (!unicode && !redecode(best_code_page)) cells.clear();
      if (HasCells(cells)) {
        row = FindOutlookHeaderCodes(*headers_, cells.front(), best_locale->LID, false);
        result->lid = best_locale->LID;
      }
    }
    if (!HasCells(cells)) return finish(false);
  }

  result->encoding_cp = result->lid.empty() ? content.CodepageDetected() : content.Codepage();
  for (const std::u16string& cell : cells.front()) {
    if (!result->headers.empty()) result->headers += u',';
    result->headers += EscapeCell(cell, u',', u',', true);
  }
  result->codes = std::move(row.codes);
  result->header_row = cells.front();
  if (!result->codes.empty()) {
    result->type = DetectCsvTypeByCodes(*headers_, result->codes, &result->has_custom_headers);
  }
  return finish(result->type != vlmcsvUnknown);
}

HRESULT CCsv::AutodetectCsvNames(std::span<const std::u16string> names, bool detect_locale,
                                 CsvDetection* result) const {
  if (result == nullptr || headers_ == nullptr) return E_INVALIDARG;
  *result = CsvDetection();
  CsvHeaderCodes row = FindHeaderCodes(*headers_, names);
  if (detect_locale && row.unknown_count > 0 && headers_->LocaleCount() > 0) {
    CsvHeaderCodes best;
    best.unknown_count = row.unknown_count;
    for (int i = 0; i < headers_->LocaleCount() && best.unknown_count > 0; ++i) {
      const COutlookCsvLocale* locale = headers_->Locale(i);
      CsvHeaderCodes trial = FindOutlookHeaderCodes(*headers_, names, locale->LID, false);
      if (trial.unknown_count < best.unknown_count) {
        best = std::move(trial);
        result->lid = locale->LID;
      }
    }
    if (!result->lid.empty()) row = std::move(best);
  }
  result->codes = std::move(row.codes);
  result->type = DetectCsvTypeByCodes(*headers_, result->codes, &result->has_custom_headers);
  return S_OK;
}

}  // namespace velmora::csv
