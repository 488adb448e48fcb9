// CardContactAddress: a read-only copy of one postal address of a contact.
#pragma once

#include <memory>
#include <string>

#include <velmora/card_contact.h>

#include "automation/live_object.h"
#include "contact/contact_list_items.h"

namespace velmora::automation {

class CComCardContactAddress : public ICardContactAddress {
 public:
  explicit CComCardContactAddress(contact::ContactAddress address) : address_(std::move(address)) {}

  const contact::ContactAddress& address() const { return address_; }

  HRESULT get_Types(std::u16string* value) override;
  HRESULT get_ABLabel(std::u16string* value) override;
  HRESULT get_PostOfficeBox(std::u16string* value) override;
  HRESULT get_OfficeLocation(std::u16string* value) override;
  HRESULT get_Street(std::u16string* value) override;
  HRESULT get_StreetAndOfficeLocation(std::u16string* value) override;
  HRESULT get_City(std::u16string* value) override;
  HRESULT get_State(std::u16string* value) override;
  HRESULT get_PostalCode(std::u16string* value) override;
  HRESULT get_Country(std::u16string* value) override;
  HRESULT get_IsEmpty(bool* value) override;
  HRESULT HasType(const std::u16string& type, bool* value) override;
  HRESULT ToString(const std::u16string& delimiter, std::u16string* value) override;

 private:
  HRESULT Text(const std::u16string& field, std::u16string* value);

  contact::ContactAddress address_;
  CLiveObject live_;
};

}  // namespace velmora::automation
