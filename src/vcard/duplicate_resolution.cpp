#include "vcard/duplicate_resolution.h"

#include <algorithm>
#include <unordered_map>

#include "foundation/automation_date.h"
#include "foundation/text_util.h"

namespace velmora::vcard {
namespace {

constexpr char kParseLabel[] = "CCardDR::ParseDRItems";
constexpr char kRunLabel[] = "CCardDR::Run";

std::u16string Trimmed(std::u16string_view s) { return std::u16string(text::Trim(s)); }

std::string RevText(double rev) {
  SystemTime st;
  if (!VariantTimeToSystemTime(rev, &st)) st = SystemTime{1899, 12, 0, 30, 0, 0, 0, 0};
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d.%02d.%02d %02d:%02d:%02d", st.year, st.month, st.day,
                st.hour, st.minute, st.second);
  return buffer;
}

}  // namespace

const char* DRActionName(DRAction action) {
  switch (action) {
    case DRAction::kLeave:
      return "LEAVE";
    case DRAction::kAdd:
      return "ADD";
    case DRAction::kOverwrite:
      return "OVERWRITE";
    case DRAction::kOverwriteSource:
      return "OVERWRITE_SOURCE";
    case DRAction::kSkip:
      return "SKIP";
  }
  return "?";
}

std::u16string DRItem::Key() const {
  if (!name_key.empty()) return u"F:" + name_key;
  if (!org_key.empty()) return u"C:" + org_key;
  return {};
}

HRESULT ParseDRItems(CLog& log, const CCardDoc& doc, std::vector<DRItem>& items) {
  if (doc.GetItemCount() == 0) {
    if (!doc.file_name().empty()) {
      log.LogError(kParseLabel, E_GENERIC_FAILURE, "Filename(%s) has no vcards",
                   doc.file_name().string());
    } else {
      log.LogError(kParseLabel, E_GENERIC_FAILURE, "Doc has no vcards()");
    }
    return E_GENERIC_FAILURE;
  }
  std::vector<std::u16string> parts;
  std::u16string value;
  int position = 0;
  for (const auto& card : doc.items()) {
    DRItem dr;
    dr.item = card.get();
    dr.position = position++;
    if (const CCardDocItemProp* n = card->FindProp("N")) {
      n->GetDecodedMultiValue(parts);
      if (parts.size() >= 5) {
        // prefix, given, additional, family, suffix
        for (int index : {3, 1, 2, 0, 4}) {
          std::u16string part = Trimmed(parts[index]);
          if (part.empty()) continue;
          if (!dr.name_key.empty()) dr.name_key += u' ';
          dr.name_key += part;
        }
      } else {
        n->GetDecodedValue(value);
        log.LogWarning(kParseLabel, 0, "Invalid N filed:%s\n", value);
      }
    }
    if (dr.name_key.empty()) {
      if (const CCardDocItemProp* fn = card->FindProp("FN")) fn->GetDecodedValue(dr.name_key);
    }
    if (const CCardDocItemProp* org = card->FindProp("ORG")) {
      org->GetDecodedMultiValue(parts);
      if (!parts.empty()) dr.org_key = parts[0];
    }
    if (const CCardDocItemProp* rev = card->FindProp("REV")) {
      double date = 0;
      bool valid = false, is_utc = false;
      rev->GetDecodedDateTimeValue(date, valid, is_utc, true);
      dr.rev = valid ? date : 0.0;
    }
    if (const CCardDocItemProp* uid = card->FindProp("UID")) uid->GetDecodedValue(dr.uid);
    items.push_back(std::move(dr));
  }
  return S_OK;
}

HRESULT ParseDRPropsFromString(CLog& log, CCardDoc& doc, std::string_view bytes,
                               std::vector<DRItem>& items) {
  if (bytes.size() > static_cast<std::size_t>(CCardDoc::kMaxContentLength)) {
    log.LogError(kParseLabel, HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE),
                 "vCard text of %u bytes is too large", bytes.size());
    return HRESULT_FROM_WIN32(win32::ERROR_FILE_TOO_LARGE);
  }
  const LoadResult loaded =
      doc.LoadFromMemory(bytes.data(), static_cast<std::int32_t>(bytes.size()), true);
  if (loaded == LoadResult::kNoItem) return LoadResultStatus(loaded);
  return ParseDRItems(log, doc, items);
}

HRESULT CCardDR::Run(std::vector<DRItem>* server, std::vector<DRItem>& client, EDRMethod method,
                     const Progress& progress) {
  stats_ = Stats{};
  std::vector<DRItem*> all;
  if (server != nullptr) {
    for (DRItem& item : *server) {
      item.action = DRAction::kLeave;
      item.server = true;
      item.match = nullptr;
      item.next = nullptr;
      all.push_back(&item);
    }
  }
  for (DRItem& item : client) {
    item.action = DRAction::kAdd;
    item.server = false;
    item.match = nullptr;
    item.next = nullptr;
    all.push_back(&item);
  }
  auto finish = [&]() {
    for (const DRItem& item : client) {
      if (item.action == DRAction::kAdd) ++stats_.added;
      if (item.action == DRAction::kSkip) ++stats_.skipped;
    }
    if (server != nullptr) {
      for (const DRItem& item : *server) {
        if (item.action == DRAction::kOverwrite) ++stats_.overwrites;
      }
    }
  };
  if (all.size() < 2 || method == drmNone) {
    finish();
    return S_OK;
  }

  // Keying: chains by case-folded key, each ordered newest first.
  std::vector<Chain> chains;
  std::unordered_map<std::u16string, std::size_t> by_key;
  const int total = static_cast<int>(all.size());
  by_key.reserve(all.size());
  chains.reserve(all.size());
  for (int position = 0; position < total; ++position) {
    if (progress && !progress(position, total)) return S_FALSE;
    DRItem* item = all[position];
    if (item->rev == 0.0) {
      if (item->server) {
        log_.LogAssert(false, kRunLabel, __LINE__);
      } else if (method == drmNewest) {
        log_.LogInfo(kRunLabel, "item with invalid revision - leave action = add");
      }
      if (method == drmNewest) continue;
    }
    std::u16string key = item->Key();
    if (key.empty()) {
      ++(item->server ? stats_.server_without_key : stats_.client_without_key);
      continue;
    }
    auto [it, added] = by_key.try_emplace(text::ToLower(key), chains.size());
    if (added) chains.push_back(Chain{std::move(key), nullptr, {}});
    chains[it->second].items.push_back(item);
  }
  // Each chain runs from the newest REV to the oldest; a stable sort keeps
  // the keying order among equal REVs (so a server item before a client
  // item), and costs O(n log n) however many cards share a name.
  for (Chain& chain : chains) {
    std::stable_sort(chain.items.begin(), chain.items.end(),
                     [](const DRItem* a, const DRItem* b) { return a->rev > b->rev; });
    for (std::size_t i = chain.items.size(); i-- > 0;) {
      chain.items[i]->next = chain.head;
      chain.head = chain.items[i];
    }
  }

  const int chain_count = static_cast<int>(chains.size());
  for (int index = 0; index < chain_count; ++index) {
    if (chains[index].items.size() < 2) continue;
    if (progress && !progress(index, chain_count)) return S_FALSE;
    Resolve(chains[index], method);
  }
  if (log_.level() >= loglInfo) Report(chains, method);
  finish();
  return S_OK;
}

void CCardDR::Resolve(Chain& chain, EDRMethod method) {
  if (method == drmKeepOriginal) {
    bool has_server = false;
    for (DRItem* it = chain.head; it != nullptr; it = it->next) {
      if (it->server) {
        has_server = true;
      } else {
        it->action = DRAction::kSkip;
      }
    }
    if (!has_server) chain.head->action = DRAction::kAdd;
    return;
  }
  // Newest: a client card overwrites the next older server card; a client
  // card older than a server card, or than another client card, is dropped.
  DRItem* pending = nullptr;
  for (DRItem* it = chain.head; it != nullptr; it = it->next) {
    if (it->server) {
      if (pending != nullptr) {
        it->action = DRAction::kOverwrite;
        it->match = pending;
        pending->action = DRAction::kOverwriteSource;
        pending = nullptr;
      }
    } else if (pending != nullptr) {
      it->action = DRAction::kSkip;
    } else {
      pending = it;
    }
  }
  if (pending != nullptr) {
    pending->action = pending == chain.head ? DRAction::kAdd : DRAction::kSkip;
  }
}

void CCardDR::Report(const std::vector<Chain>& chains, EDRMethod method) {
  std::vector<const Chain*> sorted;
  for (const Chain& chain : chains) sorted.push_back(&chain);
  std::sort(sorted.begin(), sorted.end(),
            [](const Chain* a, const Chain* b) { return a->key < b->key; });
  std::u16string report;
  for (const Chain* chain : sorted) {
    report += u"\nKEY = \"" + chain->key + u"\"";
    for (const DRItem* it = chain->head; it != nullptr; it = it->next) {
      report += Format("\n\t\t\t%sContact: REV = %s; ACTION = %s", it->server ? "Server" : "Client",
                       RevText(it->rev), DRActionName(it->action));
    }
  }
  report += Format("\nServerContacts with empty KEY = %d", stats_.server_without_key);
  report += Format("\nClientContacts with empty KEY = %d", stats_.client_without_key);
  log_.LogInfo(kRunLabel, "REPORT(%s): %s", method == drmNewest ? "Newest" : "KeepOriginal",
               report);
}

}  // namespace velmora::vcard
