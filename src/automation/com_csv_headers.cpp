#include "automation/com_csv_headers.h"

#include "automation/call_guard.h"
#include "csv/csv_headers.h"

namespace velmora::automation {
namespace {

constexpr char kItemLabel[] = "CComCsvHeaders.get_Item";
constexpr char kFindLabel[] = "CComCsvHeaders.Find";

}  // namespace

CComCsvHeaders::CComCsvHeaders(std::shared_ptr<CConverterContext> context, ECsvType type)
    : context_(std::move(context)),
      type_(type),
      list_(context_->CsvHeaders().GetHeaderList(type, 0)),
      items_(list_.size()) {}

std::shared_ptr<ICsvHeader> CComCsvHeaders::ItemAt(std::size_t index) {
  if (!items_[index])
    items_[index] = std::make_shared<CComCsvHeader>(context_, type_, list_[index]);
  return items_[index];
}

HRESULT CComCsvHeaders::get_Count(std::int32_t* count) {
  if (count == nullptr) return E_INVALIDARG;
  *count = static_cast<std::int32_t>(list_.size());
  return S_OK;
}

HRESULT CComCsvHeaders::get_Item(std::int32_t index, std::shared_ptr<ICsvHeader>* item) {
  if (item == nullptr) return E_INVALIDARG;
  item->reset();
  if (index < 0 || static_cast<std::size_t>(index) >= list_.size()) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kItemLabel, [&] {
    *item = ItemAt(static_cast<std::size_t>(index));
    return S_OK;
  });
}

template <typename Matches>
HRESULT CComCsvHeaders::Find(std::shared_ptr<ICsvHeader>* item, Matches matches) {
  if (item == nullptr) return E_INVALIDARG;
  item->reset();
  return GuardedCall(&context_->log(), kFindLabel, [&] {
    for (std::size_t i = 0; i < list_.size(); ++i) {
      if (!matches(*list_[i])) continue;
      *item = ItemAt(i);
      return S_OK;
    }
    return S_FALSE;
  });
}

HRESULT CComCsvHeaders::FindByCode(std::int32_t value, std::shared_ptr<ICsvHeader>* item) {
  return Find(item, [&](const csv::CCsvHeader& entry) {
    return entry.Code == static_cast<std::uint32_t>(value);
  });
}

HRESULT CComCsvHeaders::FindByName(const std::u16string& value, std::shared_ptr<ICsvHeader>* item) {
  return Find(item, [&](const csv::CCsvHeader& entry) {
    if (csv::CCsvHeaders::GetName(entry, type_) == value) return true;
    const std::u16string& alt = csv::CCsvHeaders::GetAltName(entry, type_);
    return !alt.empty() && alt == value;
  });
}

}  // namespace velmora::automation
