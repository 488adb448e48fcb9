#include "automation/com_cards.h"

#include <utility>

#include "automation/call_guard.h"
#include "automation/single_card_parser.h"

namespace velmora::automation {
namespace {

constexpr char kPreviewLabel[] = "CComCards::get_ItemPreview";
constexpr char kContactLabel[] = "CComCards::get_ItemContact";
constexpr char kAllItemsLabel[] = "CComCards.GetAllItems";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

CComCards::CComCards(std::shared_ptr<CConverterContext> context, std::vector<std::string> cards,
                     std::optional<std::vector<std::u16string>> tags)
    : context_(std::move(context)),
      cards_(std::move(cards)),
      tags_(std::move(tags)),
      previews_(cards_.size()),
      contacts_(cards_.size()) {}

HRESULT CComCards::get_Count(std::int32_t* count) {
  if (count == nullptr) return E_INVALIDARG;
  *count = static_cast<std::int32_t>(cards_.size());
  return S_OK;
}

HRESULT CComCards::Item(std::int32_t index, std::vector<std::uint8_t>* card) {
  if (card == nullptr || !IsIndex(index)) return E_INVALIDARG;
  return GuardedCall(&context_->log(), "CComCards.Item", [&] {
    const std::string& bytes = cards_[index];
    card->assign(bytes.begin(), bytes.end());
    return S_OK;
  });
}

HRESULT CComCards::ItemPreview(std::int32_t index, std::shared_ptr<ICardPreview>* preview) {
  if (preview == nullptr || !IsIndex(index)) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kPreviewLabel, [&] {
    std::shared_ptr<CComCardPreview>& cached = previews_[index];
    if (!cached) {
      contact::ContactRecord record;
      const HRESULT status =
          ParseSingleCard(*context_, cards_[index], &context_->PreviewFilter(), &record);
      if (FAILED(status)) {
        context_->log().LogError(kPreviewLabel, status, "Cant preview - bad item?");
        return status;
      }
      cached =
          std::make_shared<CComCardPreview>(CardPreviewRecord::FromRecord(record, cards_[index]));
    }
    *preview = cached;
    return S_OK;
  });
}

HRESULT CComCards::ItemContact(std::int32_t index, std::shared_ptr<ICardContact>* contact) {
  if (contact == nullptr || !IsIndex(index)) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kContactLabel, [&] {
    std::shared_ptr<CComCardContact>& cached = contacts_[index];
    if (!cached) {
      auto record = std::make_unique<contact::ContactRecord>();
      const HRESULT status = ParseSingleCard(*context_, cards_[index], nullptr, record.get());
      if (FAILED(status)) {
        context_->log().LogError(kContactLabel, status, "Cant preview - bad item?");
        return status;
      }
      cached = std::make_shared<CComCardContact>(context_, std::move(record));
    }
    *contact = cached;
    return S_OK;
  });
}

HRESULT CComCards::Tag(std::int32_t index, std::u16string* tag) {
  if (tags_) {
    if (tag == nullptr || index < 0 || static_cast<std::size_t>(index) >= tags_->size()) {
      return E_INVALIDARG;
    }
    return GuardedCall(&context_->log(), "CComCards.Tag", [&] {
      *tag = (*tags_)[index];
      return S_OK;
    });
  }
  if (tag == nullptr || !IsIndex(index)) return E_INVALIDARG;
  tag->clear();
  return S_OK;
}

HRESULT CComCards::GetAllItems(std::vector<std::uint8_t>* cards) {
  if (cards == nullptr) return E_INVALIDARG;
  cards->clear();
  return GuardedCall(&context_->log(), kAllItemsLabel, [&] {
    std::size_t total = 0;
    for (std::string& card : cards_) {
      // Trimmed in place: the blanks around a card carry nothing.
      std::size_t begin = 0, end = card.size();
      while (begin < end && IsBlank(card[begin])) ++begin;
      while (end > begin && IsBlank(card[end - 1])) --end;
      if (begin != 0 || end != card.size()) card = card.substr(begin, end - begin);
      total += card.size() + 2;
    }
    cards->reserve(total);
    for (const std::string& card : cards_) {
      if (card.empty()) {
        context_->log().LogAssert(false, kAllItemsLabel, __LINE__);
        continue;
      }
      if (!cards->empty()) {
        cards->push_back('\r');
        cards->push_back('\n');
      }
      cards->insert(cards->end(), card.begin(), card.end());
    }
    return S_OK;
  });
}

}  // namespace velmora::automation
