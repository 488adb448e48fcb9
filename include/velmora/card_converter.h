// The converter: the one object an application creates. It is initialised
// once, then loads, counts, validates, converts and saves vCards, creates
// contacts and resolves duplicates.
//
// Every method returns a status: S_OK; S_FALSE when there was nothing to do
// or a progress callback cancelled; -1 (E_GENERIC_FAILURE) for "Not
// initialized", "Already initialized" and internal failures; E_INVALIDARG
// for a missing or wrongly typed argument (with a log line naming it); the
// system's status for file errors. Results come through out pointers.
//
// Versions are given as 2.1 or 3.0 (anything else is taken as 3.0 with a
// warning); code pages by their Windows numbers (65001 UTF-8, 1252, ...;
// 0 is the system's ANSI code page); charset names as written in CHARSET
// parameters ("utf-8", "windows-1252"); when none is given the
// supported-encodings list supplies it for the code page.
//
// Threads: a converter, and every object it gives, is used from one thread
// at a time. Independent converters may work at the same time in different
// threads (one each): what they share (the settings, the registry store,
// the log files, the code-page converters, the supported-encodings list) is
// safe for that. Initialise them one after another when the environment
// (VELMORA_* variables) is changed around initialisation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/card_contact.h>
#include <velmora/cards.h>
#include <velmora/csv_content.h>
#include <velmora/csv_headers.h>
#include <velmora/enums.h>
#include <velmora/export.h>
#include <velmora/object.h>
#include <velmora/progress.h>
#include <velmora/report.h>
#include <velmora/status.h>
#include <velmora/variant.h>

namespace velmora {

class VELMORA_API ICardConverter : public IObject {
 public:
  // --- Initialisation -----------------------------------------------------
  // `product_code` names the log's folder (<app-data>/Zorva/<product>/) and
  // the registry key of its level; with an empty code or `log` false nothing
  // is logged. `sup_enc_filename`: missing or a path to
  // supportedEncodings.txt (missing or empty: the one in DataDirectory()).
  // `prog_id_4_export`: missing or a string; non-empty, 3.0 cards are
  // written with "PRODID:" followed by it, else with the library's own
  // PRODID line. `module_name_4_log`: missing or the log's file name
  // (missing: the library's name). `sup_ol_headers_csv`: missing or the
  // path of the localised Outlook CSV headers.
  virtual HRESULT Init(const std::u16string& product_code, const Variant& sup_enc_filename = {},
                       const Variant& prog_id_4_export = {}, bool log = true) = 0;
  virtual HRESULT InitEx(const std::u16string& product_code, const Variant& sup_enc_filename = {},
                         const Variant& prog_id_4_export = {}, bool log = true,
                         const Variant& module_name_4_log = {}) = 0;
  virtual HRESULT InitEx2(const std::u16string& product_code, const Variant& sup_enc_filename = {},
                          const Variant& prog_id_4_export = {}, bool log = true,
                          const Variant& module_name_4_log = {},
                          const Variant& sup_ol_headers_csv = {}) = 0;

  // --- Loading ------------------------------------------------------------
  // The cards of a file, of several files or of a buffer as a collection.
  // `max_contacts` limits the cards kept (0: no limit). With
  // `add_source_prop` each card loaded from a file gets an
  // "X-ZORVA-SOURCE:<path>" line naming the file. A file that cannot be
  // read counts as a file error and the next one is tried; the status is a
  // failure only when no file could be read. A card cut off by the end of
  // its file (no END:VCARD) is left out: the log names the file and the
  // progress callback counts it as skipped. A cancel gives S_FALSE and the
  // cards read so far.
  virtual HRESULT LoadFile(const std::u16string& file_name, std::int32_t max_contacts,
                           bool add_source_prop, ICardConverterProgress* progress,
                           std::shared_ptr<ICards>* cards) = 0;
  virtual HRESULT LoadFiles(const std::vector<std::u16string>& file_names,
                            std::int32_t max_contacts, bool add_source_prop,
                            ICardConverterProgress* progress, std::shared_ptr<ICards>* cards) = 0;
  virtual HRESULT LoadMemory(const std::vector<std::uint8_t>& vcards, std::int32_t max_contacts,
                             ICardConverterProgress* progress, std::shared_ptr<ICards>* cards) = 0;

  // Counts the complete cards of the files; `file_errors` receives the files
  // that could not be read. S_FALSE when cancelled or `max_contacts` was
  // reached.
  virtual HRESULT CountFilesContacts(const std::vector<std::u16string>& file_names,
                                     std::int32_t* file_errors, std::int32_t max_contacts,
                                     ICardConverterProgress* progress, std::int32_t* count) = 0;
  // True (S_OK) when the file holds at least one complete card; else false
  // (S_FALSE). Works before initialisation too.
  virtual HRESULT IsCardFileValid(const std::u16string& file_name, bool* valid) = 0;

  // --- Converting ---------------------------------------------------------
  // Every card of the buffer in the target version and charset, joined by
  // CR LF. Cards already in the target are copied unchanged. S_OK when at
  // least one card was written anew, S_FALSE when none was.
  virtual HRESULT ConvertMemory(const std::vector<std::uint8_t>& vcards,
                                std::int32_t* stats_converted, std::int32_t* stats_copied,
                                std::int32_t* stats_errors, double dst_version,
                                std::int32_t dst_encoding_cp, const Variant& dst_encoding_iso_name,
                                std::vector<std::uint8_t>* converted,
                                ICardConverterProgress* progress = nullptr) = 0;
  // The same from file to file. A destination is replaced through a
  // temporary file, so a failure leaves an existing file as it was. When
  // every card is already in the target, the source is copied (or, with
  // `skip_file_copy`, nothing is written and the status is S_FALSE).
  virtual HRESULT ConvertFile(const std::u16string& src_filename,
                              const std::u16string& dst_filename, std::int32_t* stats_converted,
                              std::int32_t* stats_copied, std::int32_t* stats_errors,
                              double dst_version = 3.0, std::int32_t dst_encoding_cp = 65001,
                              const Variant& dst_encoding_iso_name = {}, bool skip_file_copy = true,
                              ICardConverterProgress* progress = nullptr) = 0;

  // --- Saving -------------------------------------------------------------
  // Writes the cards of `vcards` in the target version and charset into
  // `dst_dir` (created when missing): one file per card, named by the
  // contact's file-as name ("Doe, John.vcf", then "Doe, John[1].vcf", ...),
  // or, with `save_to_single_file`, all of them into "<dst_base_name>.vcf"
  // (numbered the same way when it exists). With `dr` other than drmNone,
  // duplicates among the cards are left out. `file_names` (may be null)
  // receives the paths written. Files are written through a temporary file
  // and a rename.
  //
  // SaveMemory2 counts: saved; skipped (all, and duplicates among them);
  // I/O errors (failed file writes, a folder that could not be created);
  // errors (cards that could not be converted, named or written).
  virtual HRESULT SaveMemory(const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
                             const std::u16string& dst_base_name, bool save_to_single_file,
                             std::int32_t* stats_saved, std::int32_t* stats_skipped,
                             std::int32_t* stats_errors, double dst_version,
                             std::int32_t dst_encoding_cp, const Variant& dst_encoding_iso_name,
                             EDRMethod dr, ICardConverterProgress* progress,
                             std::vector<std::u16string>* file_names) = 0;
  virtual HRESULT SaveMemory2(const std::vector<std::uint8_t>& vcards,
                              const std::u16string& dst_dir, const std::u16string& dst_base_name,
                              bool save_to_single_file, std::int32_t* stats_saved,
                              std::int32_t* stats_skipped_all, std::int32_t* stats_skipped_dups,
                              std::int32_t* io_errors, std::int32_t* stats_errors,
                              double dst_version, std::int32_t dst_encoding_cp,
                              const Variant& dst_encoding_iso_name, EDRMethod dr,
                              ICardConverterProgress* progress,
                              std::vector<std::u16string>* file_names) = 0;

  // --- Conversion report --------------------------------------------------
  // Sets the listener told what later calls could not carry into their
  // target, card by card (null: none). Covers ConvertMemory, ConvertFile,
  // SaveMemory, SaveMemory2, SaveMemoryCSV, SaveMemoryCSV2 and ConvertRows
  // of the CSV cells this converter gave. The converter does not own the
  // listener, which must outlive its use; the log keeps its lines as well.
  virtual HRESULT put_ConversionReport(IConversionReport* report) = 0;

  // --- Contacts and duplicates --------------------------------------------
  // A new, empty contact.
  virtual HRESULT CreateCardContact(std::shared_ptr<ICardContact>* contact) = 0;

  // Duplicate resolution between client cards (an ICards of this library or
  // a byte array of vCard text) and optional server cards (a byte array)
  // with optional tags (an array of strings, one per server card).
  // `cards_to_add` receives the client cards that are new (null when none);
  // `cards_to_overwrite` (needed when server cards are given) the client
  // cards that replace a server card, in server order, each tagged with
  // that server card's tag (its position as decimal text when no tags were
  // given); `client_duplicates` (may be null) the client cards dropped.
  // `dr` must be drmNewest or drmKeepOriginal. `progress` is not used.
  virtual HRESULT DR(const Variant& client_cards, const Variant& server_cards,
                     const Variant& server_cards_tags, EDRMethod dr,
                     std::shared_ptr<ICards>* cards_to_add,
                     std::shared_ptr<ICards>* cards_to_overwrite, std::int32_t* client_duplicates,
                     ICardConverterProgress* progress = nullptr) = 0;

  // --- CSV content ----------------------------------------------------------
  // A CSV file, or a copy of a buffer, as an ICsvContent to parse step by
  // step. The encoding is recognised from a byte-order mark, from UTF-16
  // without one or from well-formed UTF-8; other bytes are decoded with
  // `default_codepage` (0: the system's ANSI code page) and can be decoded
  // again with another (ICsvContent::put_Codepage). An empty file gives
  // S_NO_CONTENT and an empty content; a file that cannot be read, its
  // failure status and no object; an empty buffer or a code page the
  // system does not know, E_INVALIDARG.
  virtual HRESULT LoadCsvContent(const std::u16string& file_name, std::int32_t default_codepage,
                                 std::shared_ptr<ICsvContent>* content) = 0;
  virtual HRESULT LoadCsvContentFromMemory(const std::vector<std::uint8_t>& bytes,
                                           std::int32_t default_codepage,
                                           std::shared_ptr<ICsvContent>* content) = 0;

  // --- CSV dialects -------------------------------------------------------
  // The dialect of a CSV file, from its first two rows. `detected_empty`:
  // a recognised file has no data row, or an unrecognised one no row at
  // all. `detected_separator`: ",", ";" or TAB; empty when none splits the
  // header row (the type is then vlmcsvUnknown and `headers` the first line
  // as it stands). `headers`: the header row, each name quoted, joined by
  // ",". AutodetectCsv2 and 3 also find the Outlook locale whose header
  // names explain more columns than the English names do
  // (`detected_outlook_lid`, empty when none) and `detected_encoding_cp`:
  // the locale's code page, or the Unicode encoding the file was recognised
  // in (65001, 1200, 1201), or 0. `has_custom_headers`: the file has columns
  // the dialect does not know. Every out pointer but `result` may be null.
  // Only as much of the file is decoded as the two rows need. The file's
  // failure status when it cannot be read; E_INVALIDARG for an empty name.
  virtual HRESULT AutodetectCsv(const std::u16string& file_name, bool* detected_empty,
                                std::u16string* detected_separator, std::u16string* headers,
                                ECsvType* result) = 0;
  virtual HRESULT AutodetectCsv2(const std::u16string& file_name, bool* detected_empty,
                                 std::u16string* detected_separator, std::u16string* headers,
                                 std::int32_t* detected_encoding_cp,
                                 std::u16string* detected_outlook_lid, ECsvType* result) = 0;
  virtual HRESULT AutodetectCsv3(const std::u16string& file_name, bool* detected_empty,
                                 std::u16string* detected_separator, std::u16string* headers,
                                 std::int32_t* detected_encoding_cp,
                                 std::u16string* detected_outlook_lid, bool* has_custom_headers,
                                 ECsvType* result) = 0;
  // The same for a list of header names (not empty), with locale
  // detection: `header_codes` receives one code per name (0: unknown).
  virtual HRESULT AutodetectCsvHeaders(const std::vector<std::u16string>& header_names,
                                       std::vector<std::int32_t>* header_codes,
                                       std::u16string* detected_outlook_lid,
                                       bool* has_custom_headers, ECsvType* result) = 0;

  // --- CSV header catalogue -----------------------------------------------
  // Every name the catalogue knows, with its code and whether it is the
  // column's default name (the English name of a column Outlook exports);
  // the three lists are parallel. At least one must be asked for.
  virtual HRESULT GetCsvHeaders(std::vector<std::u16string>* header_names,
                                std::vector<std::int32_t>* header_codes,
                                std::vector<bool>* header_default) = 0;
  // The columns of a dialect (not vlmcsvUnknown).
  virtual HRESULT GetCsvHeaders2(ECsvType csv_type, std::shared_ptr<ICsvHeaders>* headers) = 0;
  // The type words offered for a grouped column's group; S_FALSE and no
  // words for plain or unknown codes and groups without any.
  virtual HRESULT GetCsvHeaderKnownTypes(std::int32_t header_code,
                                         std::vector<std::u16string>* types) = 0;
  // The localised Outlook header sets loaded by InitEx2.
  virtual HRESULT get_CsvOutlookLocalesCount(std::int32_t* count) = 0;
  // By LID (a string) or by position (a 32-bit integer, E_BOUNDS outside
  // 0 .. count - 1); any other kind gives E_INVALIDARG.
  virtual HRESULT get_CsvOutlookLocalesItem(const Variant& index_or_lid,
                                            std::shared_ptr<ICsvOutlookLocale>* locale) = 0;

  // --- Google's grouped columns -------------------------------------------
  // Reads a plain Google column name ("E-mail 'Home' 2", "Address 'Work'
  // Street"): its group, property, type word (for IM the service) and
  // 1-based instance of that type. `success` false (and S_OK) when the name
  // does not follow the grammar; the other outputs may be null.
  virtual HRESULT ParseGooglePlainName(const std::u16string& header, ECsvHeaderGroup* group,
                                       ECsvHeaderGroupProp* group_prop, std::u16string* type,
                                       std::int32_t* type_index, bool* success) = 0;
  // Which destination column each source column fills (`src2dst`, -1:
  // none), by code, then by the e-mail and category pairs, then by name;
  // the source columns left over are appended to the destination's "Notes"
  // column (`src_append2dst`, -1: not). A Google row must be plain.
  virtual HRESULT MapCsvHeaders(const std::vector<std::u16string>& src,
                                const std::vector<std::u16string>& dst,
                                std::vector<std::int32_t>* src_append2dst,
                                std::vector<std::int32_t>* src2dst) = 0;
  // Where each source column goes in a Google table: its code (grouped
  // codes with their instance), the type word and index for that type of
  // the instance, and whether the value is appended to that column rather
  // than filling it. `flags`: pcfUniteChild puts every child in one column.
  virtual HRESULT MapCsvHeaders2Google(const std::vector<std::u16string>& src,
                                       std::vector<std::int32_t>* dst_code,
                                       std::vector<std::u16string>* dst_type,
                                       std::vector<std::int32_t>* dst_index4type,
                                       std::vector<bool>* dst_append_to,
                                       std::int32_t flags = 0) = 0;

  // --- CSV values -----------------------------------------------------------
  // A date cell of `src_type` as `dst_type` writes it: Google "yyyy-mm-dd",
  // the others "mm/dd/yyyy", empty for no date; without `force` unchanged
  // between equal dialects and within the Outlook family. E_INVALIDARG for
  // a text that is no date.
  virtual HRESULT ConvertCsvDate(ECsvType src_type, const std::u16string& src, ECsvType dst_type,
                                 bool force, std::u16string* dst) = 0;

  // --- CSV export -----------------------------------------------------------
  // Writes the cards of `vcards` as CSV of `dst_type` (vlmcsvOutlook,
  // vlmcsvGoogle, vlmcsvOutlook365v2 or vlmcsvGoogle2; Outlook also in the names and words
  // of the locale `dst_locale`) into `dst_dir` (created when missing): one
  // file "<dst_base_name>.csv", or one per contact named by its file-as
  // name, numbered "[1]", "[2]", ... when taken. The columns are the
  // dialect's list and every further column a contact fills. The text is
  // UTF-16 (little- or big-endian) or converted to `encoding_cp` (0: the
  // system's ANSI code page), with a byte-order mark when asked for (none
  // for code pages other than 65001). With `dr` other than drmNone,
  // duplicates among the cards are left out. Files are written through a
  // temporary file and a rename. `file_names` receives the paths written.
  // Counts: rows (single file) or files saved; skipped, and duplicates among
  // them; contacts that could not be read; failed file operations. S_OK when
  // a file was written; S_FALSE when the progress callback cancelled.
  virtual HRESULT SaveMemoryCSV2(const std::vector<std::uint8_t>& vcards,
                                 const std::u16string& dst_dir, const std::u16string& dst_base_name,
                                 ECsvType dst_type, const std::u16string& dst_locale,
                                 bool save_to_single_file, std::int32_t* stats_saved,
                                 std::int32_t* stats_skipped_all, std::int32_t* stats_skipped_dups,
                                 std::int32_t* stats_errors, std::int32_t* io_errors,
                                 std::vector<std::u16string>* file_names,
                                 bool write_signature = true, bool write_headers = true,
                                 ECsvEncodingType encoding_type = vlmcetMultibyte,
                                 std::int32_t encoding_cp = 65001, EDRMethod dr = drmNone,
                                 ICardConverterProgress* progress = nullptr) = 0;
  // The same as English Outlook CSV.
  virtual HRESULT SaveMemoryCSV(const std::vector<std::uint8_t>& vcards,
                                const std::u16string& dst_dir, const std::u16string& dst_base_name,
                                bool save_to_single_file, std::int32_t* stats_saved,
                                std::int32_t* stats_skipped_all, std::int32_t* stats_skipped_dups,
                                std::int32_t* stats_errors, std::int32_t* io_errors,
                                std::vector<std::u16string>* file_names,
                                bool write_signature = true, bool write_headers = true,
                                ECsvEncodingType encoding_type = vlmcetMultibyte,
                                std::int32_t encoding_cp = 65001, EDRMethod dr = drmNone,
                                ICardConverterProgress* progress = nullptr) = 0;

  // --- Spreadsheets -----------------------------------------------------------
  // Workbooks are .xls, .xlsx, .xlsm and .xlsb files, told apart by the
  // extension (any letter case). Cells are read as text: numbers as the
  // General format shows them ("1.5", "4915112345678"), dates "yyyy-mm-dd",
  // date-times "yyyy-mm-dd hh:mm:ss", times alone "hh:mm:ss" (in the
  // workbook's 1900 or 1904 date system), booleans "1" and "0", errors by
  // their text ("#DIV/0!"); empty and blank cells as "".
  //
  // These methods report the operation's own status through `result`:
  // S_OK; S_FALSE when there was nothing there (no sheet) or some cells
  // could not be written; E_INVALIDARG for an empty file name, a negative
  // sheet or an extension that is no workbook; E_GENERIC_FAILURE when the
  // workbook cannot be read or written, with the reader's or writer's
  // message in `xls_error`; E_NOTIMPL for writing .xlsb ("Writing .xlsb is
  // not supported; save as .xlsx"). The call itself returns S_OK when
  // `result` is a success and S_NO_CONTENT when it is a failure; -1 before
  // Init and E_INVALIDARG (with `result` untouched) for a null `result` or
  // a wrongly typed Variant. Out pointers other than `result` (and `cells`
  // for LoadXlsCells) may be null.

  // Describes every sheet of a workbook from its first two non-empty rows:
  // name, empty (fewer than two such rows), the header row as quoted cells
  // joined by ",", the dialect, the Outlook locale (with
  // `detect_outlook_lid`) and whether it has custom headers. The arrays
  // are parallel, one element per sheet; S_FALSE and empty arrays for a
  // workbook without sheets.
  virtual HRESULT AutodetectXls(const std::u16string& file_name, std::u16string* xls_error,
                                std::vector<std::u16string>* sheet_name,
                                std::vector<bool>* sheet_empty,
                                std::vector<std::u16string>* sheet_headers,
                                std::vector<ECsvType>* sheet_csv_type,
                                std::vector<std::u16string>* sheet_outlook_lid,
                                std::vector<bool>* sheet_has_custom_headers, HRESULT* result,
                                bool detect_outlook_lid = true) = 0;
  // One sheet (0-based, in the workbook's order, hidden ones included) as
  // an ICsvCells, read under `xls_flags` (EXlsFlags; missing:
  // xlsfDefault). With `max_rows` above 0 every empty row is dropped and
  // at most that many rows are read. With xlsfHeaderRow the first row is
  // the header row; with `detect_type` its dialect, Outlook locale and
  // custom headers are reported and the cells read its names in that
  // locale. `cells` is set on success only; `result` is -1 until the
  // operation has run.
  virtual HRESULT LoadXlsCells(const std::u16string& file_name, std::int32_t sheet,
                               std::shared_ptr<ICsvCells>* cells, std::u16string* xls_error,
                               std::u16string* sheet_name, bool* sheet_empty, bool detect_type,
                               ECsvType* detected_type, std::u16string* detected_outlook_lid,
                               bool* detected_has_custom_headers, std::u16string* sheet_headers,
                               HRESULT* result, const Variant& xls_flags = {},
                               std::int32_t max_rows = -1) = 0;
  // CSV text split at any character of `csv_separator` (empty: ",") under
  // `csv_parse_flags` (ECsvParseFlags; missing: 0), written as string cells
  // into a new workbook of one sheet named `sheet_name`. An existing file
  // is replaced through a temporary file and a rename. S_FALSE in `result`
  // when some cells were beyond the format's rows or columns (each logged)
  // and the others written.
  virtual HRESULT SaveCsvContent2Xls(const std::u16string& file_name,
                                     const std::u16string& sheet_name,
                                     const std::u16string& csv_content,
                                     const std::u16string& csv_separator, std::u16string* xls_error,
                                     HRESULT* result, const Variant& csv_parse_flags = {}) = 0;
  // The cards as one workbook (`dst_ext` ".xls" or ".xlsx") in `dst_dir`
  // (created when missing): a sheet `dst_sheet_name` whose first row holds
  // the header names and each further row one contact, exactly the rows
  // SaveMemoryCSV2 writes for `dst_type` and `dst_locale`. The file is
  // "<dst_base_name><dst_ext>", numbered "[1]", "[2]", ... when taken;
  // `dst_filename` receives its path. Counts and progress as
  // SaveMemoryCSV2 (saved counts the rows written).
  virtual HRESULT SaveMemoryXLS(const std::vector<std::uint8_t>& vcards,
                                const std::u16string& dst_dir, const std::u16string& dst_base_name,
                                const std::u16string& dst_ext, const std::u16string& dst_sheet_name,
                                ECsvType dst_type, const std::u16string& dst_locale,
                                std::u16string* dst_filename, std::u16string* xls_error,
                                std::int32_t* stats_saved, std::int32_t* stats_skipped_all,
                                std::int32_t* stats_skipped_dups, std::int32_t* stats_errors,
                                HRESULT* result, EDRMethod dr = drmNone,
                                ICardConverterProgress* progress = nullptr) = 0;

  // --- Google cell values ---------------------------------------------------
  // One value made safe for a Google cell: a leading "* " gets a second
  // star; as a sub-value " ::: " inside it gets a fourth colon.
  virtual HRESULT EncodeGoogleValue(const std::u16string& value, bool is_sub_value,
                                    std::u16string* encoded) = 0;
  // Values (an array of strings) joined by " ::: ", the one at
  // `default_index` marked "* ".
  virtual HRESULT EncodeGoogleMValue(const Variant& values, std::int32_t default_index,
                                     std::u16string* encoded) = 0;
  // The same for a list split at any character of `list_separators`
  // (missing or a string; missing: the user's list separator).
  virtual HRESULT EncodeGoogleMValue2(const std::u16string& string_list,
                                      const Variant& list_separators, bool trim,
                                      std::int32_t default_index, std::u16string* encoded) = 0;
  // Categories as a "Group Membership" cell, with Google's "My Contacts"
  // added (as the default when no other is named) unless present.
  virtual HRESULT Categories2GroupMembership(const std::u16string& categories,
                                             const Variant& list_separators, bool trim,
                                             bool ensure_my_contacts, std::int32_t default_index,
                                             std::u16string* group_membership) = 0;
  // A cell quoted as the CSV writers quote it; missing or empty separators
  // mean ',' and ';', and only their first character counts.
  virtual HRESULT EscapeCell(const std::u16string& cell, const Variant& separator,
                             const Variant& list_separator, bool force,
                             std::u16string* escaped) = 0;
};

// Creates an uninitialised converter; null only when memory runs out.
VELMORA_API std::shared_ptr<ICardConverter> CreateCardConverter();

}  // namespace velmora
