// The card collection that loading returns (ICards) and the display preview
// of one card (ICardPreview).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/card_contact.h>
#include <velmora/export.h>
#include <velmora/object.h>
#include <velmora/status.h>

namespace velmora {

// Display strings of one card. Lists (addresses, e-mails, phones, instant
// messaging) are joined by the user's list separator and a space.
class VELMORA_API ICardPreview : public IObject {
 public:
  virtual HRESULT get_Addresses(std::u16string* value) = 0;
  virtual HRESULT get_Company(std::u16string* value) = 0;
  virtual HRESULT get_Emails(std::u16string* value) = 0;
  virtual HRESULT get_FileAs(std::u16string* value) = 0;
  virtual HRESULT get_FullName(std::u16string* value) = 0;
  virtual HRESULT get_IMPPs(std::u16string* value) = 0;
  virtual HRESULT get_JobTitle(std::u16string* value) = 0;
  virtual HRESULT get_Notes(std::u16string* value) = 0;  // the note on one line
  virtual HRESULT get_Phones(std::u16string* value) = 0;
  // The card's bytes.
  virtual HRESULT get_vCard(std::vector<std::uint8_t>* value) = 0;
};

// An ordered list of cards, each the bytes of one vCard item. Indexes are
// 0-based; an index outside the collection or a null out pointer gives
// E_INVALIDARG.
class VELMORA_API ICards : public IObject {
 public:
  virtual HRESULT get_Count(std::int32_t* count) = 0;
  // A copy of the card's bytes.
  virtual HRESULT Item(std::int32_t index, std::vector<std::uint8_t>* card) = 0;
  // The card's preview; asking twice for one index gives the same object.
  virtual HRESULT ItemPreview(std::int32_t index, std::shared_ptr<ICardPreview>* preview) = 0;
  // The card as a contact; asking twice for one index gives the same
  // object, so edits made through it stay visible (they never change the
  // card's bytes).
  virtual HRESULT ItemContact(std::int32_t index, std::shared_ptr<ICardContact>* contact) = 0;
  // The card's tag (the server tag of duplicate resolution); empty when the
  // collection has no tags.
  virtual HRESULT Tag(std::int32_t index, std::u16string* tag) = 0;
  // Every card, trimmed, joined by CR LF; empty when no card has content.
  virtual HRESULT GetAllItems(std::vector<std::uint8_t>* cards) = 0;
};

}  // namespace velmora
