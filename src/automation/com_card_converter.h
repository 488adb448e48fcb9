// CardConverter: the library's one creatable object. It owns the shared
// context and runs initialisation, loading, counting, conversion, saving,
// contact creation and duplicate resolution.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/card_converter.h>

#include "automation/converter_context.h"
#include "automation/live_object.h"

namespace velmora::automation {

class CComCardConverter : public ICardConverter {
 public:
  CComCardConverter();
  ~CComCardConverter() override;

  const std::shared_ptr<CConverterContext>& context() const { return context_; }

  HRESULT Init(const std::u16string& product_code, const Variant& sup_enc_filename,
               const Variant& prog_id_4_export, bool log) override;
  HRESULT InitEx(const std::u16string& product_code, const Variant& sup_enc_filename,
                 const Variant& prog_id_4_export, bool log,
                 const Variant& module_name_4_log) override;
  HRESULT InitEx2(const std::u16string& product_code, const Variant& sup_enc_filename,
                  const Variant& prog_id_4_export, bool log, const Variant& module_name_4_log,
                  const Variant& sup_ol_headers_csv) override;
  HRESULT LoadFile(const std::u16string& file_name, std::int32_t max_contacts, bool add_source_prop,
                   ICardConverterProgress* progress, std::shared_ptr<ICards>* cards) override;
  HRESULT LoadFiles(const std::vector<std::u16string>& file_names, std::int32_t max_contacts,
                    bool add_source_prop, ICardConverterProgress* progress,
                    std::shared_ptr<ICards>* cards) override;
  HRESULT LoadMemory(const std::vector<std::uint8_t>& vcards, std::int32_t max_contacts,
                     ICardConverterProgress* progress, std::shared_ptr<ICards>* cards) override;
  HRESULT CountFilesContacts(const std::vector<std::u16string>& file_names,
                             std::int32_t* file_errors, std::int32_t max_contacts,
                             ICardConverterProgress* progress, std::int32_t* count) override;
  HRESULT IsCardFileValid(const std::u16string& file_name, bool* valid) override;
  HRESULT ConvertMemory(const std::vector<std::uint8_t>& vcards, std::int32_t* stats_converted,
                        std::int32_t* stats_copied, std::int32_t* stats_errors, double dst_version,
                        std::int32_t dst_encoding_cp, const Variant& dst_encoding_iso_name,
                        std::vector<std::uint8_t>* converted,
                        ICardConverterProgress* progress) override;
  HRESULT ConvertFile(const std::u16string& src_filename, const std::u16string& dst_filename,
                      std::int32_t* stats_converted, std::int32_t* stats_copied,
                      std::int32_t* stats_errors, double dst_version, std::int32_t dst_encoding_cp,
                      const Variant& dst_encoding_iso_name, bool skip_file_copy,
                      ICardConverterProgress* progress) override;
  HRESULT SaveMemory(const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
                     const std::u16string& dst_base_name, bool save_to_single_file,
                     std::int32_t* stats_saved, std::int32_t* stats_skipped,
                     std::int32_t* stats_errors, double dst_version, std::int32_t dst_encoding_cp,
                     const Variant& dst_encoding_iso_name, EDRMethod dr,
                     ICardConverterProgress* progress,
                     std::vector<std::u16string>* file_names) override;
  HRESULT SaveMemory2(const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
                      const std::u16string& dst_base_name, bool save_to_single_file,
                      std::int32_t* stats_saved, std::int32_t* stats_skipped_all,
                      std::int32_t* stats_skipped_dups, std::int32_t* io_errors,
                      std::int32_t* stats_errors, double dst_version, std::int32_t dst_encoding_cp,
                      const Variant& dst_encoding_iso_name, EDRMethod dr,
                      ICardConverterProgress* progress,
                      std::vector<std::u16string>* file_names) override;
  HRESULT CreateCardContact(std::shared_ptr<ICardContact>* contact) override;
  HRESULT DR(const Variant& client_cards, const Variant& server_cards,
             const Variant& server_cards_tags, EDRMethod dr, std::shared_ptr<ICards>* cards_to_add,
             std::shared_ptr<ICards>* cards_to_overwrite, std::int32_t* client_duplicates,
             ICardConverterProgress* progress) override;

  HRESULT put_ConversionReport(IConversionReport* report) override;
  // CSV content, dialects and the header catalogue (com_card_converter_csv.cpp).
  HRESULT LoadCsvContent(const std::u16string& file_name, std::int32_t default_codepage,
                         std::shared_ptr<ICsvContent>* content) override;
  HRESULT LoadCsvContentFromMemory(const std::vector<std::uint8_t>& bytes,
                                   std::int32_t default_codepage,
                                   std::shared_ptr<ICsvContent>* content) override;
  HRESULT AutodetectCsv(const std::u16string& file_name, bool* detected_empty,
                        std::u16string* detected_separator, std::u16string* headers,
                        ECsvType* result) override;
  HRESULT AutodetectCsv2(const std::u16string& file_name, bool* detected_empty,
                         std::u16string* detected_separator, std::u16string* headers,
                         std::int32_t* detected_encoding_cp, std::u16string* detected_outlook_lid,
                         ECsvType* result) override;
  HRESULT AutodetectCsv3(const std::u16string& file_name, bool* detected_empty,
                         std::u16string* detected_separator, std::u16string* headers,
                         std::int32_t* detected_encoding_cp, std::u16string* detected_outlook_lid,
                         bool* has_custom_headers, ECsvType* result) override;
  HRESULT AutodetectCsvHeaders(const std::vector<std::u16string>& header_names,
                               std::vector<std::int32_t>* header_codes,
                               std::u16string* detected_outlook_lid, bool* has_custom_headers,
                               ECsvType* result) override;
  HRESULT GetCsvHeaders(std::vector<std::u16string>* header_names,
                        std::vector<std::int32_t>* header_codes,
                        std::vector<bool>* header_default) override;
  HRESULT GetCsvHeaders2(ECsvType csv_type, std::shared_ptr<ICsvHeaders>* headers) override;
  HRESULT GetCsvHeaderKnownTypes(std::int32_t header_code,
                                 std::vector<std::u16string>* types) override;
  HRESULT get_CsvOutlookLocalesCount(std::int32_t* count) override;
  HRESULT get_CsvOutlookLocalesItem(const Variant& index_or_lid,
                                    std::shared_ptr<ICsvOutlookLocale>* locale) override;
  HRESULT ParseGooglePlainName(const std::u16string& header, ECsvHeaderGroup* group,
                               ECsvHeaderGroupProp* group_prop, std::u16string* type,
                               std::int32_t* type_index, bool* success) override;
  HRESULT MapCsvHeaders(const std::vector<std::u16string>& src,
                        const std::vector<std::u16string>& dst,
                        std::vector<std::int32_t>* src_append2dst,
                        std::vector<std::int32_t>* src2dst) override;
  HRESULT MapCsvHeaders2Google(const std::vector<std::u16string>& src,
                               std::vector<std::int32_t>* dst_code,
                               std::vector<std::u16string>* dst_type,
                               std::vector<std::int32_t>* dst_index4type,
                               std::vector<bool>* dst_append_to, std::int32_t flags) override;
  HRESULT ConvertCsvDate(ECsvType src_type, const std::u16string& src, ECsvType dst_type,
                         bool force, std::u16string* dst) override;
  HRESULT SaveMemoryCSV2(const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
                         const std::u16string& dst_base_name, ECsvType dst_type,
                         const std::u16string& dst_locale, bool save_to_single_file,
                         std::int32_t* stats_saved, std::int32_t* stats_skipped_all,
                         std::int32_t* stats_skipped_dups, std::int32_t* stats_errors,
                         std::int32_t* io_errors, std::vector<std::u16string>* file_names,
                         bool write_signature, bool write_headers, ECsvEncodingType encoding_type,
                         std::int32_t encoding_cp, EDRMethod dr,
                         ICardConverterProgress* progress) override;
  HRESULT SaveMemoryCSV(const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
                        const std::u16string& dst_base_name, bool save_to_single_file,
                        std::int32_t* stats_saved, std::int32_t* stats_skipped_all,
                        std::int32_t* stats_skipped_dups, std::int32_t* stats_errors,
                        std::int32_t* io_errors, std::vector<std::u16string>* file_names,
                        bool write_signature, bool write_headers, ECsvEncodingType encoding_type,
                        std::int32_t encoding_cp, EDRMethod dr,
                        ICardConverterProgress* progress) override;
  // Spreadsheets (com_card_converter_xls.cpp).
  HRESULT AutodetectXls(const std::u16string& file_name, std::u16string* xls_error,
                        std::vector<std::u16string>* sheet_name, std::vector<bool>* sheet_empty,
                        std::vector<std::u16string>* sheet_headers,
                        std::vector<ECsvType>* sheet_csv_type,
                        std::vector<std::u16string>* sheet_outlook_lid,
                        std::vector<bool>* sheet_has_custom_headers, HRESULT* result,
                        bool detect_outlook_lid) override;
  HRESULT LoadXlsCells(const std::u16string& file_name, std::int32_t sheet,
                       std::shared_ptr<ICsvCells>* cells, std::u16string* xls_error,
                       std::u16string* sheet_name, bool* sheet_empty, bool detect_type,
                       ECsvType* detected_type, std::u16string* detected_outlook_lid,
                       bool* detected_has_custom_headers, std::u16string* sheet_headers,
                       HRESULT* result, const Variant& xls_flags, std::int32_t max_rows) override;
  HRESULT SaveCsvContent2Xls(const std::u16string& file_name, const std::u16string& sheet_name,
                             const std::u16string& csv_content, const std::u16string& csv_separator,
                             std::u16string* xls_error, HRESULT* result,
                             const Variant& csv_parse_flags) override;
  HRESULT SaveMemoryXLS(const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
                        const std::u16string& dst_base_name, const std::u16string& dst_ext,
                        const std::u16string& dst_sheet_name, ECsvType dst_type,
                        const std::u16string& dst_locale, std::u16string* dst_filename,
                        std::u16string* xls_error, std::int32_t* stats_saved,
                        std::int32_t* stats_skipped_all, std::int32_t* stats_skipped_dups,
                        std::int32_t* stats_errors, HRESULT* result, EDRMethod dr,
                        ICardConverterProgress* progress) override;
  HRESULT EncodeGoogleValue(const std::u16string& value, bool is_sub_value,
                            std::u16string* encoded) override;
  HRESULT EncodeGoogleMValue(const Variant& values, std::int32_t default_index,
                             std::u16string* encoded) override;
  HRESULT EncodeGoogleMValue2(const std::u16string& string_list, const Variant& list_separators,
                              bool trim, std::int32_t default_index,
                              std::u16string* encoded) override;
  HRESULT Categories2GroupMembership(const std::u16string& categories,
                                     const Variant& list_separators, bool trim,
                                     bool ensure_my_contacts, std::int32_t default_index,
                                     std::u16string* group_membership) override;
  HRESULT EscapeCell(const std::u16string& cell, const Variant& separator,
                     const Variant& list_separator, bool force, std::u16string* escaped) override;

 private:
  // Logs "Not initialized" under `label` when Init has not succeeded.
  bool CheckInitialised(const char* label);
  HRESULT LoadFrom(const char* label, int source, std::vector<std::u16string> files,
                   const std::vector<std::uint8_t>* memory, std::int32_t max_contacts,
                   bool add_source_prop, ICardConverterProgress* progress,
                   std::shared_ptr<ICards>* cards);
  // The three AutodetectCsv methods; null outputs are not asked for.
  HRESULT AutodetectCsvInner(const std::u16string& file_name, bool detect_locale,
                             bool* detected_empty, std::u16string* detected_separator,
                             std::u16string* headers, std::int32_t* detected_encoding_cp,
                             std::u16string* detected_outlook_lid, bool* has_custom_headers,
                             ECsvType* result);

  std::shared_ptr<CConverterContext> context_;
  bool initialised_ = false;
  CLiveObject live_;
};

}  // namespace velmora::automation
