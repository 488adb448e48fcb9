#include "automation/com_csv_header.h"

#include <string>

#include "automation/call_guard.h"
#include "csv/csv_headers.h"

namespace velmora::automation {
namespace {

constexpr char kLabel[] = "CComCsvHeader";

template <typename T, typename V>
HRESULT Out(T* out, V value) {
  if (out == nullptr) return E_INVALIDARG;
  *out = static_cast<T>(value);
  return S_OK;
}

HRESULT Text(std::u16string* out, const std::u16string& value) {
  if (out == nullptr) return E_INVALIDARG;
  return GuardedCall(nullptr, kLabel, [&] {
    *out = value;
    return S_OK;
  });
}

}  // namespace

HRESULT CopyKnownTypes(const csv::CCsvHeader* entry, std::vector<std::u16string>* types) {
  if (types == nullptr) return E_INVALIDARG;
  types->clear();
  if (entry == nullptr) return S_FALSE;
  return GuardedCall(nullptr, kLabel, [&] {
    for (const char16_t* word : csv::CCsvHeaders::GetKnownTypes(*entry)) types->emplace_back(word);
    return types->empty() ? S_FALSE : S_OK;
  });
}

HRESULT CComCsvHeader::get_Code(std::int32_t* value) { return Out(value, entry_->Code); }
HRESULT CComCsvHeader::get_Type(ECsvHeaderType* value) { return Out(value, entry_->Type); }
HRESULT CComCsvHeader::get_IsGroupped(bool* value) { return Out(value, entry_->IsGroupped()); }
HRESULT CComCsvHeader::get_NameFormat(std::u16string* value) {
  return Text(value, entry_->NameFormat);
}
HRESULT CComCsvHeader::get_GroupCode(ECsvHeaderGroup* value) {
  return Out(value, entry_->GroupCode());
}
HRESULT CComCsvHeader::get_GroupName(std::u16string* value) {
  return Text(value, entry_->GroupName);
}
HRESULT CComCsvHeader::get_GroupPropCode(ECsvHeaderGroupProp* value) {
  return Out(value, entry_->GroupPropCode());
}
HRESULT CComCsvHeader::get_GroupPropName(std::u16string* value) {
  return Text(value, entry_->GroupPropName);
}
HRESULT CComCsvHeader::get_GroupKnownTypes(std::vector<std::u16string>* value) {
  return CopyKnownTypes(entry_, value);
}
HRESULT CComCsvHeader::get_Name(std::u16string* value) {
  return Text(value, csv::CCsvHeaders::GetName(*entry_, type_));
}
HRESULT CComCsvHeader::get_NameAlt(std::u16string* value) {
  return Text(value, csv::CCsvHeaders::GetAltName(*entry_, type_));
}

HRESULT CComCsvHeader::GetIndexedCode(std::int32_t index, std::int32_t* value) {
  if (!entry_->IsGroupped()) return Out(value, entry_->Code);
  return Out(value, csv::CsvHeaderWithIndex(entry_->Code, static_cast<std::uint32_t>(index)));
}

HRESULT CComCsvHeader::GetIndexedName(std::int32_t index, std::u16string* value) {
  if (!entry_->IsGroupped()) return Text(value, entry_->Name);
  std::u16string name = entry_->NameFormat;
  if (const std::size_t at = name.find(u"%d"); at != std::u16string::npos) {
    const std::string digits = std::to_string(index);
    name.replace(at, 2, std::u16string(digits.begin(), digits.end()));
  }
  return Text(value, name);
}

}  // namespace velmora::automation
