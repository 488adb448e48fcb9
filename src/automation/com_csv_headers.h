// CsvHeaders: the columns of one dialect, in the dialect's order, each
// handed out as a CsvHeader made on first access and kept.
#pragma once

#include <memory>
#include <vector>

#include <velmora/csv_headers.h>

#include "automation/com_csv_header.h"
#include "automation/converter_context.h"
#include "automation/live_object.h"
#include "csv/csv_header.h"

namespace velmora::automation {

class CComCsvHeaders : public ICsvHeaders {
 public:
  // `type` is a dialect, not vlmcsvUnknown.
  CComCsvHeaders(std::shared_ptr<CConverterContext> context, ECsvType type);

  HRESULT get_Count(std::int32_t* count) override;
  HRESULT get_Item(std::int32_t index, std::shared_ptr<ICsvHeader>* item) override;
  HRESULT FindByCode(std::int32_t value, std::shared_ptr<ICsvHeader>* item) override;
  HRESULT FindByName(const std::u16string& value, std::shared_ptr<ICsvHeader>* item) override;

 private:
  // The cached item at a valid position.
  std::shared_ptr<ICsvHeader> ItemAt(std::size_t index);
  // The first position `matches` accepts: S_OK and the item, else S_FALSE.
  template <typename Matches>
  HRESULT Find(std::shared_ptr<ICsvHeader>* item, Matches matches);

  std::shared_ptr<CConverterContext> context_;
  ECsvType type_;
  const csv::CsvHeaderList& list_;
  std::vector<std::shared_ptr<CComCsvHeader>> items_;
  CLiveObject live_;
};

}  // namespace velmora::automation
