// The converter's CSV methods: loading CSV content, dialect autodetection
// and the header catalogue with its Outlook locales.
#include <algorithm>
#include <memory>
#include <string>

#include "automation/argument_checks.h"
#include "automation/call_guard.h"
#include "automation/com_card_converter.h"
#include "automation/com_csv_content.h"
#include "automation/com_csv_header.h"
#include "automation/com_csv_headers.h"
#include "automation/com_csv_outlook_locale.h"
#include "csv/csv.h"
#include "csv/csv_autodetect.h"
#include "csv/csv_content.h"
#include "csv/csv_values.h"
#include "csv/google_header_map.h"
#include "csv/google_plain_name.h"

namespace velmora::automation {
namespace {

constexpr char kLoadContentLabel[] = "CComCardConverter.LoadCsvContent";
constexpr char kLoadContentMemoryLabel[] = "CComCardConverter.LoadCsvContentFromMemory";
constexpr char kAutodetectLabel[] = "CComCardConverter.AutodetectCsvInner";
constexpr char kAutodetectHeadersLabel[] = "CComCardConverter.AutodetectCsvHeaders";
constexpr char kGetHeadersLabel[] = "CComCardConverter.GetCsvHeaders";
constexpr char kGetHeaders2Label[] = "CComCardConverter.GetCsvHeaders2";
constexpr char kKnownTypesLabel[] = "CComCardConverter.GetCsvHeaderKnownTypes";
constexpr char kLocalesCountLabel[] = "CComCardConverter.get_CsvOutlookLocalesCount";
constexpr char kLocalesItemLabel[] = "CComCardConverter.get_CsvOutlookLocalesItem";
constexpr char kParsePlainLabel[] = "CComCardConverter.ParseGooglePlainName";
constexpr char kMapLabel[] = "CComCardConverter.MapCsvHeaders";
constexpr char kMapGoogleLabel[] = "CComCardConverter.MapCsvHeaders2Google";
constexpr char kConvertDateLabel[] = "CComCardConverter.ConvertCsvDate";

// Whether a column's English name is one of the names written by default:
// the Outlook columns, less those that are alternatives of others.
bool IsDefaultName(std::uint32_t code) {
  static constexpr std::uint32_t kNotDefault[] = {10, 11, 17, 18, 24, 25, 60,
                                                  63, 66, 71, 74, 82, 94, 99};
  return code >= 1 && code <= 100 &&
         std::find(std::begin(kNotDefault), std::end(kNotDefault), code) == std::end(kNotDefault);
}

template <typename T, typename V>
void Put(T* out, V&& value) {
  if (out != nullptr) *out = std::forward<V>(value);
}

}  // namespace

HRESULT CComCardConverter::LoadCsvContent(const std::u16string& file_name,
                                          std::int32_t default_codepage,
                                          std::shared_ptr<ICsvContent>* content) {
  if (!CheckInitialised(kLoadContentLabel)) return E_GENERIC_FAILURE;
  if (content == nullptr || file_name.empty()) return E_INVALIDARG;
  content->reset();
  return GuardedCall(&context_->log(), kLoadContentLabel, [&] {
    auto loaded = std::make_unique<csv::CCsvContent>(context_->log());
    const HRESULT status = loaded->LoadFromFile(PathFromUtf16(file_name), default_codepage);
    // An empty file still gives a content object, holding no text.
    if (FAILED(status)) return status;
    *content = std::make_shared<CComCsvContent>(context_, std::move(loaded));
    return status;
  });
}

HRESULT CComCardConverter::LoadCsvContentFromMemory(const std::vector<std::uint8_t>& bytes,
                                                    std::int32_t default_codepage,
                                                    std::shared_ptr<ICsvContent>* content) {
  if (!CheckInitialised(kLoadContentMemoryLabel)) return E_GENERIC_FAILURE;
  if (content == nullptr) return E_INVALIDARG;
  content->reset();
  if (bytes.size() > csv::CCsvContent::kMaxContentLength) {
    context_->log().LogError(kLoadContentMemoryLabel, E_INVALIDARG, "Content too large(%s bytes)",
                             std::to_string(bytes.size()));
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kLoadContentMemoryLabel, [&] {
    auto loaded = std::make_unique<csv::CCsvContent>(context_->log());
    const HRESULT status = loaded->LoadFromMemory(
        bytes.data(), static_cast<std::int32_t>(bytes.size()), default_codepage);
    if (FAILED(status)) return status;
    *content = std::make_shared<CComCsvContent>(context_, std::move(loaded));
    return status;
  });
}

HRESULT CComCardConverter::AutodetectCsvInner(
    const std::u16string& file_name, bool detect_locale, bool* detected_empty,
    std::u16string* detected_separator, std::u16string* headers, std::int32_t* detected_encoding_cp,
    std::u16string* detected_outlook_lid, bool* has_custom_headers, ECsvType* result) {
  if (!CheckInitialised(kAutodetectLabel)) return E_GENERIC_FAILURE;
  if (result == nullptr || file_name.empty()) return E_INVALIDARG;
  *result = vlmcsvUnknown;
  return GuardedCall(&context_->log(), kAutodetectLabel, [&] {
    const csv::CCsv csv(context_->log(), &context_->CsvHeaders());
    csv::CsvDetection found;
    const HRESULT status = csv.AutodetectCsvFile(PathFromUtf16(file_name), detect_locale, &found);
    if (FAILED(status)) return status;
    Put(detected_empty, found.empty);
    Put(detected_separator, std::move(found.separator));
    Put(headers, std::move(found.headers));
    Put(detected_encoding_cp, found.encoding_cp);
    Put(detected_outlook_lid, std::move(found.lid));
    Put(has_custom_headers, found.has_custom_headers);
    *result = found.type;
    return status;
  });
}

HRESULT CComCardConverter::AutodetectCsv(const std::u16string& file_name, bool* detected_empty,
                                         std::u16string* detected_separator,
                                         std::u16string* headers, ECsvType* result) {
  return AutodetectCsvInner(file_name, false, detected_empty, detected_separator, headers, nullptr,
                            nullptr, nullptr, result);
}

HRESULT CComCardConverter::AutodetectCsv2(const std::u16string& file_name, bool* detected_empty,
                                          std::u16string* detected_separator,
                                          std::u16string* headers,
                                          std::int32_t* detected_encoding_cp,
                                          std::u16string* detected_outlook_lid, ECsvType* result) {
  return AutodetectCsvInner(file_name, true, detected_empty, detected_separator, headers,
                            detected_encoding_cp, detected_outlook_lid, nullptr, result);
}

HRESULT CComCardConverter::AutodetectCsv3(const std::u16string& file_name, bool* detected_empty,
                                          std::u16string* detected_separator,
                                          std::u16string* headers,
                                          std::int32_t* detected_encoding_cp,
                                          std::u16string* detected_outlook_lid,
                                          bool* has_custom_headers, ECsvType* result) {
  return AutodetectCsvInner(file_name, true, detected_empty, detected_separator, headers,
                            detected_encoding_cp, detected_outlook_lid, has_custom_headers, result);
}

HRESULT CComCardConverter::AutodetectCsvHeaders(const std::vector<std::u16string>& header_names,
                                                std::vector<std::int32_t>* header_codes,
                                                std::u16string* detected_outlook_lid,
                                                bool* has_custom_headers, ECsvType* result) {
  if (!CheckInitialised(kAutodetectHeadersLabel)) return E_GENERIC_FAILURE;
  if (result == nullptr || header_names.empty()) return E_INVALIDARG;
  *result = vlmcsvUnknown;
  return GuardedCall(&context_->log(), kAutodetectHeadersLabel, [&] {
    const csv::CCsv csv(context_->log(), &context_->CsvHeaders());
    csv::CsvDetection found;
    const HRESULT status = csv.AutodetectCsvNames(header_names, true, &found);
    if (FAILED(status)) return status;
    if (header_codes != nullptr) header_codes->assign(found.codes.begin(), found.codes.end());
    Put(detected_outlook_lid, std::move(found.lid));
    Put(has_custom_headers, found.has_custom_headers);
    *result = found.type;
    return status;
  });
}

HRESULT CComCardConverter::GetCsvHeaders(std::vector<std::u16string>* header_names,
                                         std::vector<std::int32_t>* header_codes,
                                         std::vector<bool>* header_default) {
  if (!CheckInitialised(kGetHeadersLabel)) return E_GENERIC_FAILURE;
  if (header_names == nullptr && header_codes == nullptr && header_default == nullptr) {
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kGetHeadersLabel, [&] {
    std::vector<std::u16string> names;
    std::vector<std::int32_t> codes;
    std::vector<bool> defaults;
    for (const csv::CCsvHeader& entry : context_->CsvHeaders().entries()) {
      for (const std::u16string* name :
           {&entry.Name, &entry.NameAlt, &entry.NameGoogle, &entry.NameGoogle2}) {
        if (name->empty()) continue;
        // Google2's own spelling, where it has one ("Phonetic First Name").
        if (name == &entry.NameGoogle2 && *name == entry.NameGoogle) continue;
        names.push_back(*name);
        codes.push_back(static_cast<std::int32_t>(entry.Code));
        defaults.push_back(name == &entry.Name && IsDefaultName(entry.Code));
      }
    }
    Put(header_names, std::move(names));
    Put(header_codes, std::move(codes));
    Put(header_default, std::move(defaults));
    return S_OK;
  });
}

HRESULT CComCardConverter::GetCsvHeaders2(ECsvType csv_type,
                                          std::shared_ptr<ICsvHeaders>* headers) {
  if (!initialised_) return E_GENERIC_FAILURE;
  if (headers == nullptr) return E_INVALIDARG;
  headers->reset();
  if (csv_type != vlmcsvOutlook && csv_type != vlmcsvGoogle && csv_type != vlmcsvNokia &&
      csv_type != vlmcsvOutlook365v1 && csv_type != vlmcsvOutlook365v2 &&
      csv_type != vlmcsvGoogle2) {
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kGetHeaders2Label, [&] {
    *headers = std::make_shared<CComCsvHeaders>(context_, csv_type);
    return S_OK;
  });
}

HRESULT CComCardConverter::GetCsvHeaderKnownTypes(std::int32_t header_code,
                                                  std::vector<std::u16string>* types) {
  if (!CheckInitialised(kKnownTypesLabel)) return E_GENERIC_FAILURE;
  if (types == nullptr) return E_INVALIDARG;
  return CopyKnownTypes(
      context_->CsvHeaders().FindHeaderByCode(static_cast<std::uint32_t>(header_code)), types);
}

HRESULT CComCardConverter::get_CsvOutlookLocalesCount(std::int32_t* count) {
  if (!CheckInitialised(kLocalesCountLabel)) return E_GENERIC_FAILURE;
  if (count == nullptr) return E_INVALIDARG;
  *count = context_->CsvHeaders().LocaleCount();
  return S_OK;
}

HRESULT CComCardConverter::get_CsvOutlookLocalesItem(const Variant& index_or_lid,
                                                     std::shared_ptr<ICsvOutlookLocale>* locale) {
  if (!CheckInitialised(kLocalesItemLabel)) return E_GENERIC_FAILURE;
  if (locale == nullptr) return E_INVALIDARG;
  locale->reset();
  csv::CCsvHeaders& catalogue = context_->CsvHeaders();
  std::u16string lid;
  if (const std::u16string* text = index_or_lid.string()) {
    lid = *text;
  } else if (index_or_lid.int32() != nullptr || index_or_lid.uint32() != nullptr) {
    const std::int64_t index =
        index_or_lid.int32() != nullptr ? *index_or_lid.int32() : *index_or_lid.uint32();
    if (index < 0 || index >= catalogue.LocaleCount()) return E_BOUNDS;
    lid = catalogue.Locale(static_cast<int>(index))->LID;
  } else {
    context_->log().LogError(kLocalesItemLabel, E_INVALIDARG, "vIndexOrLID must be BSTR or INT");
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kLocalesItemLabel, [&] {
    *locale = std::make_shared<CComCsvOutlookLocale>(context_, std::move(lid));
    return S_OK;
  });
}

HRESULT CComCardConverter::ParseGooglePlainName(const std::u16string& header,
                                                ECsvHeaderGroup* group,
                                                ECsvHeaderGroupProp* group_prop,
                                                std::u16string* type, std::int32_t* type_index,
                                                bool* success) {
  if (!CheckInitialised(kParsePlainLabel)) return E_GENERIC_FAILURE;
  if (success == nullptr) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kParsePlainLabel, [&] {
    csv::GooglePlainName parsed;
    *success =
        !header.empty() && csv::ParseGooglePlainName(context_->CsvHeaders(), header, &parsed);
    Put(group, static_cast<ECsvHeaderGroup>(*success ? parsed.value->GroupCode() : 0));
    Put(group_prop,
        static_cast<ECsvHeaderGroupProp>(*success ? parsed.value->GroupPropCode() : csvgpNone));
    Put(type, *success ? parsed.type : std::u16string());
    Put(type_index, *success ? parsed.index : 0);
    return S_OK;
  });
}

HRESULT CComCardConverter::MapCsvHeaders(const std::vector<std::u16string>& src,
                                         const std::vector<std::u16string>& dst,
                                         std::vector<std::int32_t>* src_append2dst,
                                         std::vector<std::int32_t>* src2dst) {
  if (!CheckInitialised(kMapLabel)) return E_GENERIC_FAILURE;
  if (src2dst == nullptr) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kMapLabel, [&] {
    return csv::MapCsvHeaders(context_->CsvHeaders(), src, dst, src2dst, src_append2dst);
  });
}

HRESULT CComCardConverter::MapCsvHeaders2Google(const std::vector<std::u16string>& src,
                                                std::vector<std::int32_t>* dst_code,
                                                std::vector<std::u16string>* dst_type,
                                                std::vector<std::int32_t>* dst_index4type,
                                                std::vector<bool>* dst_append_to,
                                                std::int32_t flags) {
  if (!CheckInitialised(kMapGoogleLabel)) return E_GENERIC_FAILURE;
  return GuardedCall(&context_->log(), kMapGoogleLabel, [&] {
    std::vector<csv::GoogleDestination> found;
    const HRESULT status = csv::MapCsvHeaders2Google(context_->CsvHeaders(), src, flags, &found);
    if (FAILED(status)) return status;
    std::vector<std::int32_t> codes, indexes;
    std::vector<std::u16string> types;
    std::vector<bool> append;
    for (csv::GoogleDestination& d : found) {
      codes.push_back(d.code);
      types.push_back(std::move(d.type));
      indexes.push_back(d.index4type);
      append.push_back(d.append);
    }
    Put(dst_code, std::move(codes));
    Put(dst_type, std::move(types));
    Put(dst_index4type, std::move(indexes));
    Put(dst_append_to, std::move(append));
    return status;
  });
}

HRESULT CComCardConverter::ConvertCsvDate(ECsvType src_type, const std::u16string& src,
                                          ECsvType dst_type, bool force, std::u16string* dst) {
  if (!CheckInitialised(kConvertDateLabel)) return E_GENERIC_FAILURE;
  if (dst == nullptr) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kConvertDateLabel, [&] {
    return csv::ConvertCsvDate(context_->log(), src_type, src, dst_type, force, dst) ? S_OK
                                                                                     : E_INVALIDARG;
  });
}

}  // namespace velmora::automation
