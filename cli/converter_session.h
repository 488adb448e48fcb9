// The converter a subcommand drives: created and initialised the way an
// application does it, with the log level of --log-level when one is given.
#pragma once

#include <memory>
#include <string>

#include <velmora/card_converter.h>

#include "cli_common.h"

namespace velmora::cli {

// The initialised converter, or null after an error message (`status`
// receives the library's status). With `with_outlook_headers` the localised
// Outlook CSV headers of the data folder are loaded too (CSV jobs).
std::shared_ptr<ICardConverter> OpenConverter(const GlobalOptions& global, HRESULT* status,
                                              bool with_outlook_headers = false);

// The path of the supported-encodings list the converter reads.
std::string SupportedEncodingsPath();
// The localised Outlook CSV headers, in the data folder like the encodings.
std::string SupportedOutlookHeadersPath();

// Where the log of this command goes, for --help:
// "<XDG_DATA_HOME or ~/.local/share>/Zorva/velmora-cli/<name>.log".
std::string LogLocationHelp();

}  // namespace velmora::cli
