#include "automation/resolve_duplicates.h"

#include <memory>
#include <string>
#include <vector>

#include "automation/card_loader.h"
#include "automation/com_cards.h"
#include "foundation/code_page.h"
#include "vcard/card_doc.h"
#include "vcard/duplicate_resolution.h"

namespace velmora::automation {
namespace {

constexpr char kLabel[] = "CComCardConverter.DR";

HRESULT InvalidArgument(CLog& log, const char* name) {
  log.LogError(kLabel, E_INVALIDARG, "%s", name);
  return E_INVALIDARG;
}

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The cards of a byte array, loaded as LoadMemory loads them.
HRESULT LoadBytes(CConverterContext& context, const std::vector<std::uint8_t>& bytes,
                  std::vector<std::string>* cards) {
  CardLoadRequest request;
  request.source = csrcMemory;
  request.memory = AsText(bytes);
  return LoadCardsFrom(context, request, cards);
}

// The DR items of cards, one document per card kept alive beside them.
struct ItemSet {
  std::vector<std::unique_ptr<vcard::CCardDoc>> docs;
  std::vector<vcard::DRItem> items;
};

// What a card that gives no single DR item does to the whole set.
enum class Unreadable { kSkip, kFail };

// The DR item of each card, its position the card's index. A card that does
// not give exactly one item is logged; with kSkip it is left out, with kFail
// its status ends the reading.
HRESULT ReadItems(CLog& log, const std::vector<std::string>& cards, Unreadable unreadable,
                  ItemSet& set) {
  for (std::size_t i = 0; i < cards.size(); ++i) {
    auto doc = std::make_unique<vcard::CCardDoc>(log);
    std::vector<vcard::DRItem> found;
    HRESULT status = vcard::ParseDRPropsFromString(log, *doc, cards[i], found);
    if (SUCCEEDED(status) && found.size() != 1) status = E_GENERIC_FAILURE;
    if (FAILED(status)) {
      if (unreadable == Unreadable::kSkip) {
        log.LogError(kLabel, status, "ParseDRItemsFromString");
        continue;
      }
      log.LogError(kLabel, status, "CCardDR.ParseDRItemsFromString");
      return status;
    }
    found.front().position = static_cast<int>(i);
    set.items.push_back(std::move(found.front()));
    set.docs.push_back(std::move(doc));
  }
  return S_OK;
}

// The client cards: loaded from bytes, or the texts of a Cards collection.
HRESULT ClientCardTexts(CConverterContext& context, const Variant& client_cards,
                        std::vector<std::string>& cards) {
  CLog& log = context.log();
  if (const std::vector<std::uint8_t>* bytes = client_cards.bytes()) {
    const HRESULT status = LoadBytes(context, *bytes, &cards);
    if (FAILED(status)) log.LogError(kLabel, status, "LoadMemory(ClientCards)");
    return status;
  }
  auto collection = std::dynamic_pointer_cast<CComCards>(*client_cards.object());
  if (!collection) {
    log.LogError(kLabel, E_GENERIC_FAILURE, "ClientCards->InnerObject");
    return E_GENERIC_FAILURE;
  }
  cards = collection->card_list();
  return S_OK;
}

// The server cards, one tag each when tags are given.
HRESULT ServerCardTexts(CConverterContext& context, const std::vector<std::uint8_t>& bytes,
                        const std::vector<std::u16string>* tags, std::vector<std::string>& cards) {
  CLog& log = context.log();
  const HRESULT status = LoadBytes(context, bytes, &cards);
  if (FAILED(status)) {
    log.LogError(kLabel, status, "LoadMemory(ServerCards)");
    return status;
  }
  if (tags && tags->size() != cards.size()) {
    log.LogError(kLabel, E_INVALIDARG, "cServerCards != cServerCardsTags");
    return E_INVALIDARG;
  }
  return S_OK;
}

}  // namespace

HRESULT ResolveDuplicates(const std::shared_ptr<CConverterContext>& context,
                          const Variant& client_cards, const Variant& server_cards,
                          const Variant& server_cards_tags, EDRMethod method,
                          std::shared_ptr<ICards>* cards_to_add,
                          std::shared_ptr<ICards>* cards_to_overwrite,
                          std::int32_t* client_duplicates, ICardConverterProgress* progress) {
  CLog& log = context->log();
  if (cards_to_add) cards_to_add->reset();
  if (cards_to_overwrite) cards_to_overwrite->reset();
  if (client_duplicates) *client_duplicates = 0;
  if (progress != nullptr) log.LogError(kLabel, E_NOTIMPL, "Progress is not implemented");

  // Arguments, in this order.
  if (method != drmNewest && method != drmKeepOriginal) return InvalidArgument(log, "eDR");
  const std::shared_ptr<IObject>* client_object = client_cards.object();
  const std::vector<std::uint8_t>* client_bytes = client_cards.bytes();
  const bool client_ok = (client_object && std::dynamic_pointer_cast<ICards>(*client_object)) ||
                         (client_bytes && !client_bytes->empty());
  if (!client_ok) return InvalidArgument(log, "ClientCards");
  const std::vector<std::uint8_t>* server_bytes = server_cards.bytes();
  if (!server_cards.is_missing() && (!server_bytes || server_bytes->empty())) {
    return InvalidArgument(log, "ServerCards");
  }
  const std::vector<std::u16string>* tags = server_cards_tags.strings();
  if (!server_cards_tags.is_missing() && (!tags || tags->empty())) {
    return InvalidArgument(log, "ServerCardsTags");
  }
  if (cards_to_add == nullptr) return InvalidArgument(log, "Cards2Add");
  if (server_bytes && cards_to_overwrite == nullptr) {
    return InvalidArgument(log, "Cards2Overwrite");
  }

  std::vector<std::string> client;
  if (const HRESULT status = ClientCardTexts(*context, client_cards, client); FAILED(status)) {
    return status;
  }
  if (client.empty()) {
    log.LogWarning(kLabel, S_FALSE, "No client cards - nothing to DR");
    return S_FALSE;
  }
  std::vector<std::string> server;
  if (server_bytes) {
    const HRESULT status = ServerCardTexts(*context, *server_bytes, tags, server);
    if (FAILED(status)) return status;
  }

  // Their DR items: a client card that cannot be read is left out; every
  // server card must give exactly one item.
  ItemSet client_items, server_items;
  ReadItems(log, client, Unreadable::kSkip, client_items);
  if (const HRESULT status = ReadItems(log, server, Unreadable::kFail, server_items);
      FAILED(status)) {
    return status;
  }

  vcard::CCardDR dr(log);
  const HRESULT ran =
      dr.Run(server_bytes ? &server_items.items : nullptr, client_items.items, method);
  if (ran != S_OK) return ran;

  // The results: client cards to add, and client cards that overwrite
  // server cards, each under the server card's tag (or its position).
  std::vector<std::string> to_add;
  std::int32_t duplicates = 0;
  for (const vcard::DRItem& item : client_items.items) {
    if (item.action == vcard::DRAction::kAdd) to_add.push_back(client[item.position]);
    if (item.action == vcard::DRAction::kSkip) ++duplicates;
  }
  std::vector<std::string> to_overwrite;
  std::vector<std::u16string> overwrite_tags;
  for (const vcard::DRItem& item : server_items.items) {
    if (item.action != vcard::DRAction::kOverwrite || item.match == nullptr) continue;
    to_overwrite.push_back(client[item.match->position]);
    overwrite_tags.push_back(
        tags ? (*tags)[item.position]
             : codepage::ToUtf16(codepage::kUtf8, std::to_string(item.position)));
  }
  if (!to_add.empty()) *cards_to_add = std::make_shared<CComCards>(context, std::move(to_add));
  if (!to_overwrite.empty() && cards_to_overwrite) {
    *cards_to_overwrite =
        std::make_shared<CComCards>(context, std::move(to_overwrite), std::move(overwrite_tags));
  }
  if (client_duplicates) *client_duplicates = duplicates;
  return S_OK;
}

}  // namespace velmora::automation
