#include "automation/com_csv_outlook_locale.h"

#include "automation/call_guard.h"

namespace velmora::automation {
namespace {

constexpr char kLabel[] = "CComCsvOutlookLocale";

}  // namespace

template <typename T, typename Read>
HRESULT CComCsvOutlookLocale::With(T* out, Read read) {
  if (out == nullptr) return E_INVALIDARG;
  const csv::COutlookCsvLocale* locale = context_->CsvHeaders().FindLocale(lid_);
  if (locale == nullptr) return E_GENERIC_FAILURE;
  return GuardedCall(&context_->log(), kLabel, [&] { return read(*locale, *out); });
}

HRESULT CComCsvOutlookLocale::get_LID(std::u16string* value) {
  return With(value, [](const csv::COutlookCsvLocale& l, std::u16string& v) {
    v = l.LID;
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_Codepage(std::int32_t* value) {
  return With(value, [](const csv::COutlookCsvLocale& l, std::int32_t& v) {
    v = l.Codepage;
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_CodepageDisplayName(std::u16string* value) {
  return With(value, [](const csv::COutlookCsvLocale& l, std::u16string& v) {
    v = l.CodepageDisplayName;
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_DisplayName(std::u16string* value) {
  return With(value, [](const csv::COutlookCsvLocale& l, std::u16string& v) {
    v = l.DisplayName;
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_DisplayNameShort(std::u16string* value) {
  return With(value, [](const csv::COutlookCsvLocale& l, std::u16string& v) {
    v = l.DisplayNameShort;
    return S_OK;
  });
}

HRESULT CComCsvOutlookLocale::get_PrivateValue(bool index, std::u16string* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::u16string& v) {
    v = l.PrivateValue(index);
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_GenderValue(EContactGender index, std::u16string* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::u16string& v) {
    if (index < vlmcgUnspecified || index > vlmcgMale) return E_INVALIDARG;
    v = l.GenderValue(index);
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_PriorityValue(EContactImportance index, std::u16string* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::u16string& v) {
    if (index < vlmciLow || index > vlmciHigh) return E_INVALIDARG;
    v = l.PriorityValue(index);
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_SensitivityValue(EContactSensitivity index,
                                                   std::u16string* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::u16string& v) {
    if (index < vlmcsNormal || index > vlmcsConfidential) return E_INVALIDARG;
    v = l.SensitivityValue(index);
    return S_OK;
  });
}

HRESULT CComCsvOutlookLocale::get_HeaderCount(std::int32_t* value) {
  return With(value, [](const csv::COutlookCsvLocale& l, std::int32_t& v) {
    v = l.HeaderCount();
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_HeaderName(std::int32_t index, std::u16string* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::u16string& v) {
    if (index < 0 || index >= l.HeaderCount()) return E_INVALIDARG;
    v = l.HeaderName(index);
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_HeaderCodeCount(std::int32_t index, std::int32_t* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::int32_t& v) {
    if (index < 0 || index >= l.HeaderCount()) return E_INVALIDARG;
    v = l.HeaderCodeCount(index);
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::get_HeaderCode(std::int32_t index, std::int32_t sub_index,
                                             std::int32_t* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::int32_t& v) {
    if (index < 0 || index >= l.HeaderCount()) return E_INVALIDARG;
    if (sub_index < 0 || sub_index >= l.HeaderCodeCount(index)) return E_INVALIDARG;
    v = static_cast<std::int32_t>(l.HeaderCode(index, sub_index));
    return S_OK;
  });
}

HRESULT CComCsvOutlookLocale::FindHeaderName(std::int32_t hcode, std::u16string* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::u16string& v) {
    v = l.FindHeaderName(static_cast<std::uint32_t>(hcode));
    return S_OK;
  });
}
HRESULT CComCsvOutlookLocale::FindHeaderCode(const std::u16string& name, std::int32_t sub_index,
                                             std::int32_t* value) {
  return With(value, [&](const csv::COutlookCsvLocale& l, std::int32_t& v) {
    if (sub_index < 0) return E_INVALIDARG;
    v = static_cast<std::int32_t>(l.FindHeaderCode(name, sub_index));
    return S_OK;
  });
}

}  // namespace velmora::automation
