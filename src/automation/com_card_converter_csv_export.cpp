// The converter's CSV export methods: saving cards as CSV files and the
// encoders of Google's cell values and of CSV cells.
#include "automation/argument_checks.h"
#include "automation/call_guard.h"
#include "automation/com_card_converter.h"
#include "automation/csv_saver.h"
#include "csv/csv_escape.h"
#include "csv/google_mvalue.h"
#include "foundation/code_page.h"
#include "foundation/system_settings.h"

namespace velmora::automation {
namespace {

constexpr char kSaveLabel[] = "CComCardConverter.SaveMemoryCSV";
constexpr char kEncodeValueLabel[] = "CComCardConverter.EncodeGoogleValue";
constexpr char kEncodeMValueLabel[] = "CComCardConverter.EncodeGoogleMValue";
constexpr char kEncodeMValue2Label[] = "CComCardConverter.EncodeGoogleMValue2";
constexpr char kGroupMembershipLabel[] = "CComCardConverter.Categories2GroupMembership";
constexpr char kEscapeLabel[] = "CComCardConverter.EscapeCell";

template <typename T>
void Zero(T* out) {
  if (out != nullptr) *out = 0;
}

// A missing or string argument; false (logged) for any other kind.
bool OptionalText(CLog& log, const char* label, const char* name, const Variant& value,
                  std::u16string* text) {
  text->clear();
  if (value.is_missing()) return true;
  if (const std::u16string* given = value.string()) {
    *text = *given;
    return true;
  }
  log.LogError(label, E_INVALIDARG, "%s must be BSTR or Missing", name);
  return false;
}

}  // namespace

HRESULT CComCardConverter::SaveMemoryCSV2(
    const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
    const std::u16string& dst_base_name, ECsvType dst_type, const std::u16string& dst_locale,
    bool save_to_single_file, std::int32_t* stats_saved, std::int32_t* stats_skipped_all,
    std::int32_t* stats_skipped_dups, std::int32_t* stats_errors, std::int32_t* io_errors,
    std::vector<std::u16string>* file_names, bool write_signature, bool write_headers,
    ECsvEncodingType encoding_type, std::int32_t encoding_cp, EDRMethod dr,
    ICardConverterProgress* progress) {
  if (!CheckInitialised(kSaveLabel)) return E_GENERIC_FAILURE;
  if (vcards.empty() || dst_dir.empty() || file_names == nullptr) return E_INVALIDARG;
  CLog& log = context_->log();
  if (dst_type != vlmcsvOutlook && dst_type != vlmcsvGoogle && dst_type != vlmcsvOutlook365v2 &&
      dst_type != vlmcsvGoogle2) {
    log.LogError(kSaveLabel, E_INVALIDARG, "Invalid eDstType = %d", dst_type);
    return E_INVALIDARG;
  }
  return GuardedCall(&log, kSaveLabel, [&] {
    if (dst_type == vlmcsvOutlook && !dst_locale.empty() &&
        context_->CsvHeaders().FindLocale(dst_locale) == nullptr) {
      log.LogError(kSaveLabel, E_INVALIDARG, "Invalid DstLocale = %s", dst_locale);
      return E_INVALIDARG;
    }
    if (encoding_type != vlmcetMultibyte && encoding_type != vlmcetUTF16 &&
        encoding_type != vlmcetUTF16BE) {
      log.LogError(kSaveLabel, E_INVALIDARG, "Invalid EncodingType = %d", encoding_type);
      return E_INVALIDARG;
    }
    // A negative code page is taken as 0, the system's ANSI code page; an
    // unknown one would write nothing readable.
    const std::int32_t code_page = encoding_cp < 0 ? 0 : encoding_cp;
    if (encoding_type == vlmcetMultibyte && code_page != 0 && !codepage::IsKnown(code_page)) {
      log.LogError(kSaveLabel, E_INVALIDARG, "Invalid EncodingCP = %d", encoding_cp);
      return E_INVALIDARG;
    }
    for (std::int32_t* out :
         {stats_saved, stats_skipped_all, stats_skipped_dups, stats_errors, io_errors}) {
      Zero(out);
    }
    CsvSaveRequest request;
    request.cards = std::string_view(reinterpret_cast<const char*>(vcards.data()), vcards.size());
    request.folder = PathFromUtf16(dst_dir);
    request.base_name = dst_base_name;
    request.type = dst_type;
    request.lid = dst_type == vlmcsvOutlook ? dst_locale : u"";
    request.single_file = save_to_single_file;
    request.write_signature = write_signature;
    request.write_headers = write_headers;
    request.encoding = encoding_type;
    request.code_page = code_page;
    request.dr = dr;
    request.progress = progress;
    CardSaveStats stats;
    const HRESULT status = SaveCardsAsCsv(*context_, request, &stats, file_names);
    if (stats_saved != nullptr) *stats_saved = stats.saved;
    if (stats_skipped_all != nullptr) *stats_skipped_all = stats.skipped_all;
    if (stats_skipped_dups != nullptr) *stats_skipped_dups = stats.skipped_dups;
    if (stats_errors != nullptr) *stats_errors = stats.errors;
    if (io_errors != nullptr) *io_errors = stats.io_errors;
    return status;
  });
}

HRESULT CComCardConverter::SaveMemoryCSV(
    const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
    const std::u16string& dst_base_name, bool save_to_single_file, std::int32_t* stats_saved,
    std::int32_t* stats_skipped_all, std::int32_t* stats_skipped_dups, std::int32_t* stats_errors,
    std::int32_t* io_errors, std::vector<std::u16string>* file_names, bool write_signature,
    bool write_headers, ECsvEncodingType encoding_type, std::int32_t encoding_cp, EDRMethod dr,
    ICardConverterProgress* progress) {
  return SaveMemoryCSV2(vcards, dst_dir, dst_base_name, vlmcsvOutlook, u"", save_to_single_file,
                        stats_saved, stats_skipped_all, stats_skipped_dups, stats_errors, io_errors,
                        file_names, write_signature, write_headers, encoding_type, encoding_cp, dr,
                        progress);
}

HRESULT CComCardConverter::EncodeGoogleValue(const std::u16string& value, bool is_sub_value,
                                             std::u16string* encoded) {
  if (!CheckInitialised(kEncodeValueLabel)) return E_GENERIC_FAILURE;
  if (encoded == nullptr) return E_INVALIDARG;
  return GuardedCall(&context_->log(), kEncodeValueLabel, [&] {
    *encoded = csv::EncodeGoogleValue(value, is_sub_value);
    return S_OK;
  });
}

HRESULT CComCardConverter::EncodeGoogleMValue(const Variant& values, std::int32_t default_index,
                                              std::u16string* encoded) {
  if (!CheckInitialised(kEncodeMValueLabel)) return E_GENERIC_FAILURE;
  if (encoded == nullptr) return E_INVALIDARG;
  const std::vector<std::u16string>* list = values.strings();
  if (list == nullptr) {
    context_->log().LogError(kEncodeMValueLabel, E_INVALIDARG, "Values must be array of BSTR");
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kEncodeMValueLabel, [&] {
    *encoded = csv::EncodeGoogleMValue(*list, default_index);
    return S_OK;
  });
}

HRESULT CComCardConverter::EncodeGoogleMValue2(const std::u16string& string_list,
                                               const Variant& list_separators, bool trim,
                                               std::int32_t default_index,
                                               std::u16string* encoded) {
  if (!CheckInitialised(kEncodeMValue2Label)) return E_GENERIC_FAILURE;
  if (encoded == nullptr) return E_INVALIDARG;
  std::u16string separators;
  if (!OptionalText(context_->log(), kEncodeMValue2Label, "ListSeparators", list_separators,
                    &separators)) {
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kEncodeMValue2Label, [&] {
    if (separators.empty()) separators = settings::ListSeparator();
    if (separators.empty()) separators = u";,";
    *encoded = csv::EncodeGoogleMValue2(string_list, separators, trim, default_index);
    return S_OK;
  });
}

HRESULT CComCardConverter::Categories2GroupMembership(const std::u16string& categories,
                                                      const Variant& list_separators, bool trim,
                                                      bool ensure_my_contacts,
                                                      std::int32_t default_index,
                                                      std::u16string* group_membership) {
  if (!CheckInitialised(kGroupMembershipLabel)) return E_GENERIC_FAILURE;
  if (group_membership == nullptr) return E_INVALIDARG;
  std::u16string separators;
  if (!OptionalText(context_->log(), kGroupMembershipLabel, "ListSeparators", list_separators,
                    &separators)) {
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kGroupMembershipLabel, [&] {
    *group_membership = csv::Categories2GroupMembership(categories, separators, trim,
                                                        ensure_my_contacts, default_index);
    return S_OK;
  });
}

HRESULT CComCardConverter::EscapeCell(const std::u16string& cell, const Variant& separator,
                                      const Variant& list_separator, bool force,
                                      std::u16string* escaped) {
  if (!CheckInitialised(kEscapeLabel)) return E_GENERIC_FAILURE;
  if (escaped == nullptr) return E_INVALIDARG;
  std::u16string separator_text, list_text;
  if (!OptionalText(context_->log(), kEscapeLabel, "charSeparator", separator, &separator_text) ||
      !OptionalText(context_->log(), kEscapeLabel, "charListSeparator", list_separator,
                    &list_text)) {
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kEscapeLabel, [&] {
    *escaped = csv::EscapeCell(cell, separator_text.empty() ? u',' : separator_text.front(),
                               list_text.empty() ? u';' : list_text.front(), force);
    return S_OK;
  });
}

}  // namespace velmora::automation
