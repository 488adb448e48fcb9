#include "automation/com_card_contact_address.h"

#include "automation/call_guard.h"
#include "automation/contact_display.h"

namespace velmora::automation {

HRESULT CComCardContactAddress::Text(const std::u16string& field, std::u16string* value) {
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(nullptr, "CComCardContactAddress", [&] {
    *value = field;
    return S_OK;
  });
}

HRESULT CComCardContactAddress::get_Types(std::u16string* value) {
  return Text(address_.Types, value);
}
HRESULT CComCardContactAddress::get_ABLabel(std::u16string* value) {
  return Text(address_.ABLabel, value);
}
HRESULT CComCardContactAddress::get_PostOfficeBox(std::u16string* value) {
  return Text(address_.PostOfficeBox, value);
}
HRESULT CComCardContactAddress::get_OfficeLocation(std::u16string* value) {
  return Text(address_.OfficeLocation, value);
}
HRESULT CComCardContactAddress::get_Street(std::u16string* value) {
  return Text(address_.Street, value);
}
HRESULT CComCardContactAddress::get_City(std::u16string* value) {
  return Text(address_.City, value);
}
HRESULT CComCardContactAddress::get_State(std::u16string* value) {
  return Text(address_.State, value);
}
HRESULT CComCardContactAddress::get_PostalCode(std::u16string* value) {
  return Text(address_.PostalCode, value);
}
HRESULT CComCardContactAddress::get_Country(std::u16string* value) {
  return Text(address_.Country, value);
}

HRESULT CComCardContactAddress::get_StreetAndOfficeLocation(std::u16string* value) {
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(nullptr, "CComCardContactAddress.StreetAndOfficeLocation", [&] {
    *value = StreetAndOfficeLocation(address_);
    return S_OK;
  });
}

HRESULT CComCardContactAddress::get_IsEmpty(bool* value) {
  if (value == nullptr) return E_INVALIDARG;
  *value = IsAddressBlank(address_);
  return S_OK;
}

HRESULT CComCardContactAddress::HasType(const std::u16string& type, bool* value) {
  if (value == nullptr) return E_INVALIDARG;
  *value = contact::HasTypeToken(address_.Types, type);
  return S_OK;
}

HRESULT CComCardContactAddress::ToString(const std::u16string& delimiter, std::u16string* value) {
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(nullptr, "CComCardContactAddress.ToString", [&] {
    *value = AddressToString(address_, delimiter);
    return S_OK;
  });
}

}  // namespace velmora::automation
