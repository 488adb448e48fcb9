// Reading cards for the converter: loading files or a buffer into a card
// list, counting the cards of files and checking that a file holds a card.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/card_converter.h>
#include <velmora/status.h>

#include "automation/converter_context.h"

namespace velmora::automation {

// Where LoadFrom reads: one file, a buffer or several files.
enum ECardSource : int {
  csrcFile = 1,
  csrcMemory = 2,
  csrcFiles = 3,
};

struct CardLoadRequest {
  int source = csrcFile;
  std::vector<std::filesystem::path> files;  // csrcFile, csrcFiles
  std::string_view memory;                   // csrcMemory
  std::int32_t max_contacts = 0;             // 0: no limit
  bool add_source_prop = false;              // files only
  ICardConverterProgress* progress = nullptr;
};

// Appends the text of each card read to `cards`, honouring the maximum, and
// reports each card to the progress callback (label
// "CComCardConverter.LoadFrom"). A file that cannot be read is a file error
// and the next file is tried. Returns S_OK; S_FALSE when cancelled; the
// first failure when no file (or the buffer) could be read; -1 with
// "Invalid eSrc = %d" for an unknown source.
HRESULT LoadCardsFrom(CConverterContext& context, const CardLoadRequest& request,
                      std::vector<std::string>* cards);

// Counts the complete cards of the files (label
// "CComCardConverter.CountFilesContacts"); see ICardConverter.
HRESULT CountCardsOfFiles(CConverterContext& context,
                          const std::vector<std::filesystem::path>& files,
                          std::int32_t max_contacts, ICardConverterProgress* progress,
                          std::int32_t* count, std::int32_t* file_errors);

// True when the file loads and holds at least one complete card.
bool IsCardFileValid(CConverterContext& context, const std::filesystem::path& file);

// Inserts "X-ZORVA-SOURCE:<path>" before the END line of `card`.
void AddSourceProperty(std::string& card, const std::filesystem::path& file);

}  // namespace velmora::automation
