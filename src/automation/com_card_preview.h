// CardPreview: the display strings of one card, computed once when the
// preview is made.
#pragma once

#include <string>
#include <vector>

#include <velmora/cards.h>

#include "automation/live_object.h"
#include "contact/contact_record.h"

namespace velmora::automation {

struct CardPreviewRecord {
  std::u16string FileAs;
  std::u16string FullName;
  std::u16string Addresses;
  std::u16string Emails;
  std::u16string Phones;
  std::u16string Company;
  std::u16string IMPPs;
  std::u16string JobTitle;
  std::u16string Notes;
  std::string vCard;

  // The display strings of `record`; `card` is the card's bytes.
  static CardPreviewRecord FromRecord(const contact::ContactRecord& record, std::string card);
};

class CComCardPreview : public ICardPreview {
 public:
  explicit CComCardPreview(CardPreviewRecord preview) : preview_(std::move(preview)) {}

  HRESULT get_Addresses(std::u16string* value) override;
  HRESULT get_Company(std::u16string* value) override;
  HRESULT get_Emails(std::u16string* value) override;
  HRESULT get_FileAs(std::u16string* value) override;
  HRESULT get_FullName(std::u16string* value) override;
  HRESULT get_IMPPs(std::u16string* value) override;
  HRESULT get_JobTitle(std::u16string* value) override;
  HRESULT get_Notes(std::u16string* value) override;
  HRESULT get_Phones(std::u16string* value) override;
  HRESULT get_vCard(std::vector<std::uint8_t>* value) override;

 private:
  static HRESULT Text(const std::u16string& field, std::u16string* value);

  CardPreviewRecord preview_;
  CLiveObject live_;
};

}  // namespace velmora::automation
