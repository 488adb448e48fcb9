// Saving cards as CSV files for the converter: the cards are parsed, their
// duplicates dropped when asked, each contact written as one row of the
// chosen dialect and locale, and the rows saved in one file or one file per
// contact, in the chosen encoding.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/card_converter.h>
#include <velmora/enums.h>
#include <velmora/status.h>

#include "automation/card_saver.h"
#include "automation/converter_context.h"

namespace velmora::automation {

struct CsvSaveRequest {
  std::string_view cards;  // vCard text
  std::filesystem::path folder;
  std::u16string base_name;  // the single file's name; the fall-back name per contact
  ECsvType type = vlmcsvOutlook;
  std::u16string lid;  // Outlook only; empty: English
  bool single_file = true;
  bool write_signature = true;
  bool write_headers = true;
  ECsvEncodingType encoding = vlmcetMultibyte;
  std::int32_t code_page = 65001;  // for vlmcetMultibyte; 0 or less: the ANSI code page
  EDRMethod dr = drmNone;
  ICardConverterProgress* progress = nullptr;
};

// Writes the files (labels "CComCardConverter.SaveMemoryCSV" and
// "CComCardConverter.SaveMemoryCSV_CreateFile"), each through a temporary
// file and a rename; `file_names` receives the path of each file written.
// The counters are those of the vCard saver. S_OK when a file was written;
// S_FALSE when cancelled after that; else the first file failure or
// E_GENERIC_FAILURE.
HRESULT SaveCardsAsCsv(CConverterContext& context, const CsvSaveRequest& request,
                       CardSaveStats* stats, std::vector<std::u16string>* file_names);

}  // namespace velmora::automation
