// The CSV header catalogue and the localised Outlook header sets, open to
// callers: ICsvHeaders (the columns of one dialect), ICsvHeader (one column)
// and ICsvOutlookLocale (one localised Outlook). The converter hands them out
// (ICardConverter::GetCsvHeaders2, get_CsvOutlookLocalesItem); they read the
// converter's catalogue on every call and stay usable after the converter is
// released.
//
// Header codes: plain columns 1 to 125; Google's numbered columns ("E-mail 2
// - Value") are grouped, with the group (ECsvHeaderGroup) in bits 24 to 31,
// the 1-based instance in bits 8 to 23 and the group property
// (ECsvHeaderGroupProp) in bits 0 to 7. Catalogue entries carry instance 0.
//
// Every method returns a status; a null out pointer gives E_INVALIDARG.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/enums.h>
#include <velmora/export.h>
#include <velmora/object.h>
#include <velmora/status.h>

namespace velmora {

// One catalogue column, named as one dialect names it.
class VELMORA_API ICsvHeader : public IObject {
 public:
  virtual HRESULT get_Code(std::int32_t* value) = 0;
  virtual HRESULT get_Type(ECsvHeaderType* value) = 0;
  virtual HRESULT get_IsGroupped(bool* value) = 0;
  // Grouped columns: the name with "%d" for the instance; else empty.
  virtual HRESULT get_NameFormat(std::u16string* value) = 0;
  virtual HRESULT get_GroupCode(ECsvHeaderGroup* value) = 0;
  virtual HRESULT get_GroupName(std::u16string* value) = 0;
  virtual HRESULT get_GroupPropCode(ECsvHeaderGroupProp* value) = 0;  // csvgpNone when plain
  virtual HRESULT get_GroupPropName(std::u16string* value) = 0;
  // The type words offered for the group; S_FALSE and no words when it has
  // none (plain columns included).
  virtual HRESULT get_GroupKnownTypes(std::vector<std::u16string>* value) = 0;
  // The name and the alternative spelling in the object's dialect; grouped
  // columns read "E-mail * - Type".
  virtual HRESULT get_Name(std::u16string* value) = 0;
  virtual HRESULT get_NameAlt(std::u16string* value) = 0;
  // The code of instance `index` of a grouped column; a plain column's code.
  virtual HRESULT GetIndexedCode(std::int32_t index, std::int32_t* value) = 0;
  // The name of instance `index` ("E-mail 2 - Value"); a plain column's
  // English name.
  virtual HRESULT GetIndexedName(std::int32_t index, std::u16string* value) = 0;
};

// The columns of one dialect in their order; for Google its plain columns,
// then the grouped ones.
class VELMORA_API ICsvHeaders : public IObject {
 public:
  virtual HRESULT get_Count(std::int32_t* count) = 0;
  // The column at `index` (0-based); asking twice gives the same object.
  virtual HRESULT get_Item(std::int32_t index, std::shared_ptr<ICsvHeader>* item) = 0;
  // The column whose code is `value` (instance bits zero); S_FALSE and no
  // object when there is none.
  virtual HRESULT FindByCode(std::int32_t value, std::shared_ptr<ICsvHeader>* item) = 0;
  // The column named `value` in the dialect, or so spelt alternatively (case
  // matters); S_FALSE and no object when there is none.
  virtual HRESULT FindByName(const std::u16string& value, std::shared_ptr<ICsvHeader>* item) = 0;
};

// One localised Outlook: its code page, names, value words and header
// names. Every method gives E_GENERIC_FAILURE when the locale is no longer
// loaded, and E_INVALIDARG for an index out of range.
class VELMORA_API ICsvOutlookLocale : public IObject {
 public:
  virtual HRESULT get_LID(std::u16string* value) = 0;
  virtual HRESULT get_Codepage(std::int32_t* value) = 0;  // 0: the system's ANSI code page
  virtual HRESULT get_CodepageDisplayName(std::u16string* value) = 0;
  virtual HRESULT get_DisplayName(std::u16string* value) = 0;
  virtual HRESULT get_DisplayNameShort(std::u16string* value) = 0;
  // The words this Outlook writes for the values of its columns.
  virtual HRESULT get_PrivateValue(bool index, std::u16string* value) = 0;
  virtual HRESULT get_GenderValue(EContactGender index, std::u16string* value) = 0;
  virtual HRESULT get_PriorityValue(EContactImportance index, std::u16string* value) = 0;
  virtual HRESULT get_SensitivityValue(EContactSensitivity index, std::u16string* value) = 0;
  // The header names, in the order of the Outlook column list. A name may
  // stand for several columns (HeaderCodeCount); HeaderCode's `sub_index`
  // picks one.
  virtual HRESULT get_HeaderCount(std::int32_t* value) = 0;
  virtual HRESULT get_HeaderName(std::int32_t index, std::u16string* value) = 0;
  virtual HRESULT get_HeaderCodeCount(std::int32_t index, std::int32_t* value) = 0;
  virtual HRESULT get_HeaderCode(std::int32_t index, std::int32_t sub_index,
                                 std::int32_t* value) = 0;
  // The localised name of a header code; empty when there is none.
  virtual HRESULT FindHeaderName(std::int32_t hcode, std::u16string* value) = 0;
  // The code of the `sub_index`-th column so named (case ignored); 0 when
  // there is none.
  virtual HRESULT FindHeaderCode(const std::u16string& name, std::int32_t sub_index,
                                 std::int32_t* value) = 0;
};

}  // namespace velmora
