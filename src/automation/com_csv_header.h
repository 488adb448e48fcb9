// CsvHeader: one column of the CSV header catalogue as one dialect names it.
#pragma once

#include <memory>

#include <velmora/csv_headers.h>

#include "automation/converter_context.h"
#include "automation/live_object.h"
#include "csv/csv_header.h"

namespace velmora::automation {

// The type words of `entry`'s group, copied out; S_FALSE and an empty list
// when it has none. Shared with the converter's GetCsvHeaderKnownTypes.
HRESULT CopyKnownTypes(const csv::CCsvHeader* entry, std::vector<std::u16string>* types);

class CComCsvHeader : public ICsvHeader {
 public:
  // `entry` belongs to the context's catalogue, which outlives this object
  // through the shared context.
  CComCsvHeader(std::shared_ptr<CConverterContext> context, ECsvType type,
                const csv::CCsvHeader* entry)
      : context_(std::move(context)), type_(type), entry_(entry) {}

  const csv::CCsvHeader& entry() const { return *entry_; }

  HRESULT get_Code(std::int32_t* value) override;
  HRESULT get_Type(ECsvHeaderType* value) override;
  HRESULT get_IsGroupped(bool* value) override;
  HRESULT get_NameFormat(std::u16string* value) override;
  HRESULT get_GroupCode(ECsvHeaderGroup* value) override;
  HRESULT get_GroupName(std::u16string* value) override;
  HRESULT get_GroupPropCode(ECsvHeaderGroupProp* value) override;
  HRESULT get_GroupPropName(std::u16string* value) override;
  HRESULT get_GroupKnownTypes(std::vector<std::u16string>* value) override;
  HRESULT get_Name(std::u16string* value) override;
  HRESULT get_NameAlt(std::u16string* value) override;
  HRESULT GetIndexedCode(std::int32_t index, std::int32_t* value) override;
  HRESULT GetIndexedName(std::int32_t index, std::u16string* value) override;

 private:
  std::shared_ptr<CConverterContext> context_;
  ECsvType type_;
  const csv::CCsvHeader* entry_;
  CLiveObject live_;
};

}  // namespace velmora::automation
