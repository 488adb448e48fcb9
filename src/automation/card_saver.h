// Saving cards as .vcf files for the converter: one file per card, named by
// the contact's file-as name, or all cards in one file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/card_converter.h>
#include <velmora/enums.h>
#include <velmora/status.h>

#include "automation/converter_context.h"
#include "automation/target_format.h"

namespace velmora::automation {

struct CardSaveRequest {
  std::string_view cards;  // vCard text
  std::filesystem::path folder;
  std::u16string base_name;  // the single file's name; the fall-back name per card
  bool single_file = false;
  TargetFormat target;
  EDRMethod dr = drmNone;
  ICardConverterProgress* progress = nullptr;
};

struct CardSaveStats {
  std::int32_t saved = 0;
  std::int32_t skipped_all = 0;
  std::int32_t skipped_dups = 0;
  std::int32_t io_errors = 0;
  std::int32_t errors = 0;
};

// Marks the duplicates among `cards` (one vCard text each) by `method`: one
// flag per card, true for a card to leave out.
std::vector<bool> FindDuplicateCards(CLog& log, const std::vector<std::string>& cards,
                                     EDRMethod method);

// Converts the cards to the target, drops duplicates when asked and writes
// the files (label "CComCardConverter.SaveMemory"). Every file is written
// through a temporary file and a rename. `file_names` receives the path of
// each file written.
HRESULT SaveCards(CConverterContext& context, const CardSaveRequest& request, CardSaveStats* stats,
                  std::vector<std::u16string>* file_names);

}  // namespace velmora::automation
