// Cards: the collection every loading operation returns. It owns the bytes
// of each card (one vCard item each), optional tags, and caches the
// previews and contact objects it has handed out.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <velmora/cards.h>

#include "automation/com_card_contact.h"
#include "automation/com_card_preview.h"
#include "automation/converter_context.h"
#include "automation/live_object.h"

namespace velmora::automation {

class CComCards : public ICards {
 public:
  // `tags`, when given, holds one tag per card.
  CComCards(std::shared_ptr<CConverterContext> context, std::vector<std::string> cards,
            std::optional<std::vector<std::u16string>> tags = std::nullopt);

  // The card list, for duplicate resolution of a collection handed back.
  const std::vector<std::string>& card_list() const { return cards_; }

  HRESULT get_Count(std::int32_t* count) override;
  HRESULT Item(std::int32_t index, std::vector<std::uint8_t>* card) override;
  HRESULT ItemPreview(std::int32_t index, std::shared_ptr<ICardPreview>* preview) override;
  HRESULT ItemContact(std::int32_t index, std::shared_ptr<ICardContact>* contact) override;
  HRESULT Tag(std::int32_t index, std::u16string* tag) override;
  HRESULT GetAllItems(std::vector<std::uint8_t>* cards) override;

 private:
  bool IsIndex(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < cards_.size();
  }

  std::shared_ptr<CConverterContext> context_;
  std::vector<std::string> cards_;
  std::optional<std::vector<std::u16string>> tags_;
  std::vector<std::shared_ptr<CComCardPreview>> previews_;
  std::vector<std::shared_ptr<CComCardContact>> contacts_;
  CLiveObject live_;
};

}  // namespace velmora::automation
