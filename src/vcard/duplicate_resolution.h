// Duplicate resolution: decides, for client cards and optional server cards,
// which client cards are new (ADD), which server cards a client card
// overwrites, and which client cards are dropped as duplicates (SKIP).
//
// Two cards are duplicates when they share a key: "F:" and the name built
// from N (or FN), else "C:" and the organisation; keys compare without case.
// Cards without a key are never matched. Each key's cards form a chain
// ordered by REV, newest first; the method resolves every chain.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/enums.h>
#include <velmora/status.h>

#include "foundation/log.h"
#include "vcard/card_doc.h"

namespace velmora::vcard {

enum class DRAction : int {
  kLeave = 0,            // a server card left as it is
  kAdd = 1,              // a client card to be added
  kOverwrite = 2,        // a server card replaced by its match
  kOverwriteSource = 3,  // a client card that replaces a server card
  kSkip = 4,             // a client card dropped as a duplicate
};

const char* DRActionName(DRAction action);

struct DRItem {
  std::u16string name_key;  // name from N, else FN; may be empty
  std::u16string org_key;   // first component of ORG; may be empty
  double rev = 0.0;         // automation date of REV; 0 when missing or unreadable
  std::u16string uid;
  DRAction action = DRAction::kAdd;
  const DRItem* match = nullptr;       // for kOverwrite: the client item that replaces it
  const CCardDocItem* item = nullptr;  // the card, valid while its document lives
  int position = 0;                    // the card's position in its input
  bool server = false;
  DRItem* next = nullptr;  // next item of the same key, older or equal REV

  // "F:<name>", else "C:<organisation>", else empty (no key).
  std::u16string Key() const;
};

// Appends one item per vCard item of `doc`. A document without items logs
// "Filename(%s) has no vcards" (or "Doc has no vcards()") and fails with -1.
HRESULT ParseDRItems(CLog& log, const CCardDoc& doc, std::vector<DRItem>& items);

// Loads `bytes` into `doc` (which must outlive the items) and parses it.
// A load that finds no card gives the load's result.
HRESULT ParseDRPropsFromString(CLog& log, CCardDoc& doc, std::string_view bytes,
                               std::vector<DRItem>& items);

class CCardDR {
 public:
  // Told (position, total) before each item is keyed and (chain, chains)
  // before each chain is resolved; returns false to stop the run.
  using Progress = std::function<bool(int position, int total)>;

  struct Stats {
    int server_without_key = 0;
    int client_without_key = 0;
    int added = 0;       // client items left ADD
    int overwrites = 0;  // server items marked OVERWRITE
    int skipped = 0;     // client items marked SKIP
  };

  explicit CCardDR(CLog& log) : log_(log) {}

  // Sets every item's action. `server` may be null (the save operations
  // resolve their own cards with no server). Returns S_OK, or S_FALSE when
  // the progress callback stopped the run (actions are then partial).
  HRESULT Run(std::vector<DRItem>* server, std::vector<DRItem>& client, EDRMethod method,
              const Progress& progress = nullptr);

  const Stats& stats() const { return stats_; }

 private:
  struct Chain {
    std::u16string key;
    DRItem* head = nullptr;
    std::vector<DRItem*> items;  // newest first once sorted
  };

  void Resolve(Chain& chain, EDRMethod method);
  void Report(const std::vector<Chain>& chains, EDRMethod method);

  CLog& log_;
  Stats stats_;
};

}  // namespace velmora::vcard
