// velmora dedupe: duplicate resolution between client cards and optional
// server cards; prints or writes the cards to add and the cards that
// overwrite a server card.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "cli_common.h"

namespace velmora::cli {

struct DedupeOptions {
  std::string client;
  std::string server;
  std::string method = "newest";
  std::string output;
};

CLI::App* AddDedupeCommand(CLI::App& app, DedupeOptions* options);
int RunDedupe(const DedupeOptions& options, const GlobalOptions& global);

// The property that marks a card to overwrite with the 1-based position of
// the server card it replaces.
inline constexpr char kServerPositionProperty[] = "X-VELMORA-SERVER-POSITION";

}  // namespace velmora::cli
