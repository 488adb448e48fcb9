// Contacts to CSV rows: the Outlook, Outlook365 (second version) and Google
// row writers, each filling a map from header code to cell text that the
// importer reads back into the same fields (docs/csv_export.md tables
// them), and the text of header and data lines.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>

#include <velmora/enums.h>
#include <velmora/status.h>

#include "contact/contact_record.h"
#include "csv/csv_headers.h"

namespace velmora::csv {

using CsvRowMap = std::unordered_map<std::uint32_t, std::u16string>;

// The word of `locale` (null: English) for a gender or sensitivity.
std::u16string Gender2Str(EContactGender gender, const COutlookCsvLocale* locale);
std::u16string Sensitivity2Str(EContactSensitivity sensitivity, const COutlookCsvLocale* locale);

// Fills `row` (emptied first) from `contact` for dialect `type`, values in
// the words of `locale` (Outlook only; null: English). Nokia and Outlook365
// v1 are logged as not implemented (E_NOTIMPL) and leave the row empty.
HRESULT ExportContactW(const CCsvHeaders& headers, const contact::ContactRecord& contact,
                       CsvRowMap& row, ECsvType type, const COutlookCsvLocale* locale);

// One CSV line: the cells of `row` for `codes` in order (empty when
// absent), each quoted as EscapeCell does with ',' and ';', joined by ','.
std::u16string CsvLine(std::span<const std::uint32_t> codes, const CsvRowMap& row);

}  // namespace velmora::csv
