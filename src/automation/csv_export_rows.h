// Cards as the rows of a CSV export, shared by the CSV files and the
// spreadsheets that the converter saves: the cards are parsed, their
// duplicates dropped when asked, each contact written as one row of the
// chosen dialect and locale, and the header columns chosen and named.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/enums.h>
#include <velmora/progress.h>
#include <velmora/status.h>

#include "automation/card_saver.h"
#include "automation/converter_context.h"
#include "csv/csv_export.h"

namespace velmora::automation {

struct CsvExportRequest {
  std::string_view cards;  // vCard text
  ECsvType type = vlmcsvOutlook;
  std::u16string lid;  // Outlook only; empty: English
  EDRMethod dr = drmNone;
  ICardConverterProgress* progress = nullptr;
  const char* label = "CComCardConverter.SaveMemoryCSV_CardsToCsv";  // of the log lines
};

struct CsvExportRows {
  struct Row {
    csv::CsvRowMap cells;
    std::u16string base_name;  // the contact's file-as name
  };
  std::vector<Row> rows;
  // The header columns in the dialect's order: its full list and every
  // further column a contact fills.
  std::vector<std::uint32_t> codes;
  // The header name of each column, in the dialect's names and locale.
  csv::CsvRowMap names;
};

// Fills `out`, counting skipped duplicates and unreadable cards in `stats`
// and reporting each card to the progress callback. S_OK; S_FALSE when the
// callback cancelled; E_GENERIC_FAILURE (logged "no CSV Contacts after
// Parse") when no card gave a row.
HRESULT MakeCsvExportRows(CConverterContext& context, const CsvExportRequest& request,
                          CardSaveStats* stats, CsvExportRows* out);

}  // namespace velmora::automation
