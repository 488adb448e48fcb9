// Plaining a Google table: its grouped columns ("E-mail 1 - Type",
// "E-mail 1 - Value", ...) become one column per group, type word, instance
// of that type and property ("E-mail 'Home'", "E-mail 'Home' 2"), so that a
// caller can show or map the table one column per meaning. Afterwards every
// header is a plain column or parses with ParseGooglePlainName.
//
// The new columns of a group stand where the group's first column stood,
// in the order their keys first occur (row by row, instance by instance),
// or with pcfSortByType by type word, instance and property. Multi-value
// cells give one column per value; an address or organisation instance
// keeps its cells as they stand, one index for all its columns. The type
// words are the instance's Type cell (for IM its Service cell, whose IM
// Type column then has no place) with the default mark dropped; a Type cell
// with one word types every value of the instance, one with several types
// the values in turn. Rows shorter than the header read as empty cells;
// cells beyond the header stay at the end.
#pragma once

#include <cstdint>

#include <velmora/enums.h>
#include <velmora/status.h>

#include "csv/csv_cells.h"
#include "csv/csv_headers.h"

namespace velmora::csv {

// Rewrites `cells` (header row first) under `flags` (EPlainCsvFlags). S_OK
// when a header or cell changed; S_FALSE when nothing did, a table of fewer
// than two rows included.
HRESULT PlainGoogleCsv(const CCsvHeaders& headers, CsvCellsTable& cells, std::int32_t flags);

}  // namespace velmora::csv
