// ICardConverter: the converter and its conversion report listener.
#include <new>

#include "common.h"

namespace velmora::python {

namespace {

// The caller's report object (method OnConversionEvent) seen from the
// library. An exception it raises cannot stop the conversion: it is shown
// as unraisable and later events still arrive.
class PyReport final : public IConversionReport {
 public:
  explicit PyReport(py::object target) : target_(std::move(target)) {}
  void OnConversionEvent(EConversionEvent event, std::int32_t card, const std::u16string& name,
                         const std::u16string& what, std::int32_t count) override {
    py::gil_scoped_acquire gil;
    try {
      target_.attr("OnConversionEvent")(event, card, name, what, count);
    } catch (py::error_already_set& e) {
      e.discard_as_unraisable("velmora conversion report");
    }
  }

 private:
  py::object target_;
};

// The converter as Python holds it: the library object and the report
// listener it was given, which must live as long as the converter uses it.
struct Converter {
  Converter() : c(CreateCardConverter()) {
    // Null only when memory ran out: MemoryError rather than a converter
    // that crashes on first use.
    if (!c) throw std::bad_alloc();
  }
  std::unique_ptr<PyReport> report;
  std::shared_ptr<ICardConverter> c;
};

std::vector<std::u16string> Strings(const py::object& value) {
  if (py::isinstance<py::str>(value)) return {value.cast<std::u16string>()};
  return value.cast<std::vector<std::u16string>>();
}

}  // namespace

void BindConverter(py::module_& m) {
  py::class_<Converter>(m, "ICardConverter",
                        "The converter: initialised once, then loads, counts, validates, "
                        "converts and saves vCards, reads and writes CSV and workbooks, creates "
                        "contacts and resolves duplicates. Every method returns its status.")
      .def(py::init<>(), "A new, uninitialised converter.")
      .def(
          "InitEx2",
          [](Converter& self, const std::u16string& product_code, const py::object& sup_enc,
             const py::object& prog_id, bool log, const py::object& module_name,
             const py::object& sup_ol_headers) {
            return self.c->InitEx2(product_code, VariantIn(sup_enc), VariantIn(prog_id), log,
                                   VariantIn(module_name), VariantIn(sup_ol_headers));
          },
          py::arg("product_code"), py::arg("sup_enc_filename") = py::none(),
          py::arg("prog_id_4_export") = py::none(), py::arg("log") = true,
          py::arg("module_name_4_log") = py::none(), py::arg("sup_ol_headers_csv") = py::none(),
          "Initialises the converter once. With an empty `product_code` or `log` false nothing "
          "is logged; else the log lives in <XDG_DATA_HOME>/Zorva/<product_code>/. "
          "`sup_enc_filename`: None or the path of supportedEncodings.txt. `prog_id_4_export`: "
          "the PRODID of written 3.0 cards. `module_name_4_log`: the log's file name. "
          "`sup_ol_headers_csv`: the localised Outlook CSV headers.")
      .def(
          "Init",
          [](Converter& self, const std::u16string& product_code, const py::object& sup_enc,
             const py::object& prog_id, bool log) {
            return self.c->Init(product_code, VariantIn(sup_enc), VariantIn(prog_id), log);
          },
          py::arg("product_code"), py::arg("sup_enc_filename") = py::none(),
          py::arg("prog_id_4_export") = py::none(), py::arg("log") = true)
      .def(
          "InitEx",
          [](Converter& self, const std::u16string& product_code, const py::object& sup_enc,
             const py::object& prog_id, bool log, const py::object& module_name) {
            return self.c->InitEx(product_code, VariantIn(sup_enc), VariantIn(prog_id), log,
                                  VariantIn(module_name));
          },
          py::arg("product_code"), py::arg("sup_enc_filename") = py::none(),
          py::arg("prog_id_4_export") = py::none(), py::arg("log") = true,
          py::arg("module_name_4_log") = py::none())
      .def(
          "LoadFile",
          [](Converter& self, const std::u16string& file_name, std::int32_t max_contacts,
             bool add_source_prop, const py::object& progress) {
            std::shared_ptr<ICards> cards;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->LoadFile(file_name, max_contacts, add_source_prop, adapter,
                                          &cards);
                });
            return py::make_tuple(status, ObjectOut(cards));
          },
          py::arg("file_name"), py::arg("max_contacts") = 0, py::arg("add_source_prop") = false,
          py::arg("progress") = py::none(),
          "The cards of a file: (status, cards). `max_contacts` 0: no limit. A cancel gives "
          "S_FALSE and the cards read so far.")
      .def(
          "LoadFiles",
          [](Converter& self, const py::object& file_names, std::int32_t max_contacts,
             bool add_source_prop, const py::object& progress) {
            const std::vector<std::u16string> names = Strings(file_names);
            std::shared_ptr<ICards> cards;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->LoadFiles(names, max_contacts, add_source_prop, adapter, &cards);
                });
            return py::make_tuple(status, ObjectOut(cards));
          },
          py::arg("file_names"), py::arg("max_contacts") = 0, py::arg("add_source_prop") = false,
          py::arg("progress") = py::none(),
          "The cards of several files; a file that cannot be read counts as a file error and the "
          "next one is tried; a failure only when no file could be read.")
      .def(
          "LoadMemory",
          [](Converter& self, const py::object& vcards, std::int32_t max_contacts,
             const py::object& progress) {
            const std::vector<std::uint8_t> data = BytesIn(vcards);
            std::shared_ptr<ICards> cards;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->LoadMemory(data, max_contacts, adapter, &cards);
                });
            return py::make_tuple(status, ObjectOut(cards));
          },
          py::arg("vcards"), py::arg("max_contacts") = 0, py::arg("progress") = py::none())
      .def(
          "CountFilesContacts",
          [](Converter& self, const py::object& file_names, std::int32_t max_contacts,
             const py::object& progress) {
            const std::vector<std::u16string> names = Strings(file_names);
            std::int32_t file_errors = 0, count = 0;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->CountFilesContacts(names, &file_errors, max_contacts, adapter,
                                                    &count);
                });
            return py::make_tuple(status, file_errors, count);
          },
          py::arg("file_names"), py::arg("max_contacts") = 0, py::arg("progress") = py::none(),
          "(status, file_errors, count). S_FALSE when cancelled or `max_contacts` was reached.")
      .def(
          "IsCardFileValid",
          [](Converter& self, const std::u16string& file_name) {
            bool valid = false;
            const HRESULT status =
                Released([&] { return self.c->IsCardFileValid(file_name, &valid); });
            return py::make_tuple(status, valid);
          },
          py::arg("file_name"),
          "True (S_OK) when the file holds at least one complete card; else False (S_FALSE).")
      .def(
          "ConvertMemory",
          [](Converter& self, const py::object& vcards, double dst_version,
             std::int32_t dst_encoding_cp, const py::object& dst_encoding_iso_name,
             const py::object& progress) {
            const std::vector<std::uint8_t> data = BytesIn(vcards);
            const Variant iso = VariantIn(dst_encoding_iso_name);
            std::int32_t converted = 0, copied = 0, errors = 0;
            std::vector<std::uint8_t> out;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->ConvertMemory(data, &converted, &copied, &errors, dst_version,
                                               dst_encoding_cp, iso, &out, adapter);
                });
            return py::make_tuple(status, converted, copied, errors, BytesOut(out));
          },
          py::arg("vcards"), py::arg("dst_version") = 3.0, py::arg("dst_encoding_cp") = 65001,
          py::arg("dst_encoding_iso_name") = py::none(), py::arg("progress") = py::none(),
          "(status, converted, copied, errors, bytes): every card in the target version and "
          "charset, joined by CR LF. S_FALSE when no card was written anew.")
      .def(
          "ConvertFile",
          [](Converter& self, const std::u16string& src, const std::u16string& dst,
             double dst_version, std::int32_t dst_encoding_cp,
             const py::object& dst_encoding_iso_name, bool skip_file_copy,
             const py::object& progress) {
            const Variant iso = VariantIn(dst_encoding_iso_name);
            std::int32_t converted = 0, copied = 0, errors = 0;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->ConvertFile(src, dst, &converted, &copied, &errors, dst_version,
                                             dst_encoding_cp, iso, skip_file_copy, adapter);
                });
            return py::make_tuple(status, converted, copied, errors);
          },
          py::arg("src_filename"), py::arg("dst_filename"), py::arg("dst_version") = 3.0,
          py::arg("dst_encoding_cp") = 65001, py::arg("dst_encoding_iso_name") = py::none(),
          py::arg("skip_file_copy") = true, py::arg("progress") = py::none(),
          "(status, converted, copied, errors). A destination is replaced through a temporary "
          "file. When every card is already in the target, the source is copied (with "
          "`skip_file_copy`, nothing is written and the status is S_FALSE).")
      .def(
          "SaveMemory",
          [](Converter& self, const py::object& vcards, const std::u16string& dst_dir,
             const std::u16string& dst_base_name, bool single, double dst_version,
             std::int32_t dst_encoding_cp, const py::object& dst_encoding_iso_name, EDRMethod dr,
             const py::object& progress) {
            const std::vector<std::uint8_t> data = BytesIn(vcards);
            const Variant iso = VariantIn(dst_encoding_iso_name);
            std::int32_t saved = 0, skipped = 0, errors = 0;
            std::vector<std::u16string> files;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->SaveMemory(data, dst_dir, dst_base_name, single, &saved, &skipped,
                                            &errors, dst_version, dst_encoding_cp, iso, dr, adapter,
                                            &files);
                });
            return py::make_tuple(status, saved, skipped, errors, files);
          },
          py::arg("vcards"), py::arg("dst_dir"), py::arg("dst_base_name"),
          py::arg("save_to_single_file"), py::arg("dst_version") = 3.0,
          py::arg("dst_encoding_cp") = 65001, py::arg("dst_encoding_iso_name") = py::none(),
          py::arg("dr") = drmNone, py::arg("progress") = py::none(),
          "(status, saved, skipped, errors, file_names).")
      .def(
          "SaveMemory2",
          [](Converter& self, const py::object& vcards, const std::u16string& dst_dir,
             const std::u16string& dst_base_name, bool single, double dst_version,
             std::int32_t dst_encoding_cp, const py::object& dst_encoding_iso_name, EDRMethod dr,
             const py::object& progress) {
            const std::vector<std::uint8_t> data = BytesIn(vcards);
            const Variant iso = VariantIn(dst_encoding_iso_name);
            std::int32_t saved = 0, skipped_all = 0, skipped_dups = 0, io_errors = 0, errors = 0;
            std::vector<std::u16string> files;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->SaveMemory2(
                      data, dst_dir, dst_base_name, single, &saved, &skipped_all, &skipped_dups,
                      &io_errors, &errors, dst_version, dst_encoding_cp, iso, dr, adapter, &files);
                });
            return py::make_tuple(status, saved, skipped_all, skipped_dups, io_errors, errors,
                                  files);
          },
          py::arg("vcards"), py::arg("dst_dir"), py::arg("dst_base_name"),
          py::arg("save_to_single_file"), py::arg("dst_version") = 3.0,
          py::arg("dst_encoding_cp") = 65001, py::arg("dst_encoding_iso_name") = py::none(),
          py::arg("dr") = drmNone, py::arg("progress") = py::none(),
          "(status, saved, skipped_all, skipped_dups, io_errors, errors, file_names): one file "
          "per card named by its file-as name, or all into <dst_base_name>.vcf.")
      .def(
          "put_ConversionReport",
          [](Converter& self, const py::object& report) {
            std::unique_ptr<PyReport> adapter;
            if (!report.is_none()) adapter = std::make_unique<PyReport>(report);
            const HRESULT status = self.c->put_ConversionReport(adapter.get());
            if (SUCCEEDED(status)) self.report = std::move(adapter);
            return status;
          },
          py::arg("report"),
          "Sets the listener (method OnConversionEvent(event, card, name, what, count)) told "
          "what later calls could not carry into their target; None: none.")
      .def("CreateCardContact",
           [](Converter& self) {
             std::shared_ptr<ICardContact> contact;
             const HRESULT status = self.c->CreateCardContact(&contact);
             return py::make_tuple(status, ObjectOut(contact));
           })
      .def(
          "DR",
          [](Converter& self, const py::object& client, const py::object& server,
             const py::object& tags, EDRMethod dr) {
            const Variant client_cards = VariantIn(client), server_cards = VariantIn(server),
                          server_tags = VariantIn(tags);
            std::shared_ptr<ICards> to_add, to_overwrite;
            std::int32_t duplicates = 0;
            const HRESULT status = Released([&] {
              return self.c->DR(client_cards, server_cards, server_tags, dr, &to_add, &to_overwrite,
                                &duplicates);
            });
            return py::make_tuple(status, ObjectOut(to_add), ObjectOut(to_overwrite), duplicates);
          },
          py::arg("client_cards"), py::arg("server_cards") = py::none(),
          py::arg("server_cards_tags") = py::none(), py::arg("dr") = drmNewest,
          "(status, cards_to_add, cards_to_overwrite, client_duplicates). `client_cards`: an "
          "ICards or vCard bytes; `server_cards`: bytes; `server_cards_tags`: one str per server "
          "card. `dr` must be drmNewest or drmKeepOriginal.")
      .def(
          "LoadCsvContent",
          [](Converter& self, const std::u16string& file_name, std::int32_t default_codepage) {
            std::shared_ptr<ICsvContent> content;
            const HRESULT status = Released(
                [&] { return self.c->LoadCsvContent(file_name, default_codepage, &content); });
            return py::make_tuple(status, ObjectOut(content));
          },
          py::arg("file_name"), py::arg("default_codepage") = 0,
          "A CSV file as an ICsvContent. An empty file gives S_NO_CONTENT and an empty content.")
      .def(
          "LoadCsvContentFromMemory",
          [](Converter& self, const py::object& bytes, std::int32_t default_codepage) {
            const std::vector<std::uint8_t> data = BytesIn(bytes);
            std::shared_ptr<ICsvContent> content;
            const HRESULT status = Released(
                [&] { return self.c->LoadCsvContentFromMemory(data, default_codepage, &content); });
            return py::make_tuple(status, ObjectOut(content));
          },
          py::arg("bytes"), py::arg("default_codepage") = 0)
      .def(
          "AutodetectCsv",
          [](Converter& self, const std::u16string& file_name) {
            bool empty = false;
            std::u16string separator, headers;
            ECsvType type = vlmcsvUnknown;
            const HRESULT status = Released([&] {
              return self.c->AutodetectCsv(file_name, &empty, &separator, &headers, &type);
            });
            return py::make_tuple(status, empty, separator, headers, type);
          },
          py::arg("file_name"), "(status, detected_empty, detected_separator, headers, type).")
      .def(
          "AutodetectCsv2",
          [](Converter& self, const std::u16string& file_name) {
            bool empty = false;
            std::u16string separator, headers, lid;
            std::int32_t cp = 0;
            ECsvType type = vlmcsvUnknown;
            const HRESULT status = Released([&] {
              return self.c->AutodetectCsv2(file_name, &empty, &separator, &headers, &cp, &lid,
                                            &type);
            });
            return py::make_tuple(status, empty, separator, headers, cp, lid, type);
          },
          py::arg("file_name"),
          "(status, detected_empty, detected_separator, headers, detected_encoding_cp, "
          "detected_outlook_lid, type).")
      .def(
          "AutodetectCsv3",
          [](Converter& self, const std::u16string& file_name) {
            bool empty = false, custom = false;
            std::u16string separator, headers, lid;
            std::int32_t cp = 0;
            ECsvType type = vlmcsvUnknown;
            const HRESULT status = Released([&] {
              return self.c->AutodetectCsv3(file_name, &empty, &separator, &headers, &cp, &lid,
                                            &custom, &type);
            });
            return py::make_tuple(status, empty, separator, headers, cp, lid, custom, type);
          },
          py::arg("file_name"),
          "(status, detected_empty, detected_separator, headers, detected_encoding_cp, "
          "detected_outlook_lid, has_custom_headers, type).")
      .def(
          "AutodetectCsvHeaders",
          [](Converter& self, const std::vector<std::u16string>& names) {
            std::vector<std::int32_t> codes;
            std::u16string lid;
            bool custom = false;
            ECsvType type = vlmcsvUnknown;
            const HRESULT status =
                self.c->AutodetectCsvHeaders(names, &codes, &lid, &custom, &type);
            return py::make_tuple(status, codes, lid, custom, type);
          },
          py::arg("header_names"),
          "(status, header_codes, detected_outlook_lid, has_custom_headers, type).")
      .def(
          "GetCsvHeaders",
          [](Converter& self) {
            std::vector<std::u16string> names;
            std::vector<std::int32_t> codes;
            std::vector<bool> defaults;
            const HRESULT status = self.c->GetCsvHeaders(&names, &codes, &defaults);
            return py::make_tuple(status, names, codes, Out(defaults));
          },
          "(status, names, codes, defaults): every name the catalogue knows.")
      .def(
          "GetCsvHeaders2",
          [](Converter& self, ECsvType type) {
            std::shared_ptr<ICsvHeaders> headers;
            const HRESULT status = self.c->GetCsvHeaders2(type, &headers);
            return py::make_tuple(status, ObjectOut(headers));
          },
          py::arg("csv_type"), "The columns of a dialect (not vlmcsvUnknown).")
      .def(
          "GetCsvHeaderKnownTypes",
          [](Converter& self, std::int32_t code) {
            std::vector<std::u16string> types;
            const HRESULT status = self.c->GetCsvHeaderKnownTypes(code, &types);
            return py::make_tuple(status, types);
          },
          py::arg("header_code"),
          "The type words of a grouped column's group; S_FALSE and none otherwise.")
      .def("get_CsvOutlookLocalesCount",
           [](Converter& self) {
             std::int32_t count = 0;
             const HRESULT status = self.c->get_CsvOutlookLocalesCount(&count);
             return py::make_tuple(status, count);
           })
      .def(
          "get_CsvOutlookLocalesItem",
          [](Converter& self, const py::object& index_or_lid) {
            std::shared_ptr<ICsvOutlookLocale> locale;
            const HRESULT status =
                self.c->get_CsvOutlookLocalesItem(VariantIn(index_or_lid), &locale);
            return py::make_tuple(status, ObjectOut(locale));
          },
          py::arg("index_or_lid"),
          "By LID (a str) or by position (an int, E_BOUNDS outside 0 .. count - 1).")
      .def(
          "ParseGooglePlainName",
          [](Converter& self, const std::u16string& header) {
            ECsvHeaderGroup group = csvgNone;
            ECsvHeaderGroupProp prop = csvgpNone;
            std::u16string type;
            std::int32_t index = 0;
            bool success = false;
            const HRESULT status =
                self.c->ParseGooglePlainName(header, &group, &prop, &type, &index, &success);
            return py::make_tuple(status, group, prop, type, index, success);
          },
          py::arg("header"), "(status, group, group_prop, type, type_index, success).")
      .def(
          "MapCsvHeaders",
          [](Converter& self, const std::vector<std::u16string>& src,
             const std::vector<std::u16string>& dst) {
            std::vector<std::int32_t> append, src2dst;
            const HRESULT status = self.c->MapCsvHeaders(src, dst, &append, &src2dst);
            return py::make_tuple(status, append, src2dst);
          },
          py::arg("src"), py::arg("dst"), "(status, src_append2dst, src2dst).")
      .def(
          "MapCsvHeaders2Google",
          [](Converter& self, const std::vector<std::u16string>& src, std::int32_t flags) {
            std::vector<std::int32_t> code, index;
            std::vector<std::u16string> type;
            std::vector<bool> append;
            const HRESULT status =
                self.c->MapCsvHeaders2Google(src, &code, &type, &index, &append, flags);
            return py::make_tuple(status, code, type, index, Out(append));
          },
          py::arg("src"), py::arg("flags") = 0,
          "(status, dst_code, dst_type, dst_index4type, dst_append_to).")
      .def(
          "ConvertCsvDate",
          [](Converter& self, ECsvType src_type, const std::u16string& src, ECsvType dst_type,
             bool force) {
            std::u16string dst;
            const HRESULT status = self.c->ConvertCsvDate(src_type, src, dst_type, force, &dst);
            return py::make_tuple(status, dst);
          },
          py::arg("src_type"), py::arg("src"), py::arg("dst_type"), py::arg("force") = false)
      .def(
          "SaveMemoryCSV2",
          [](Converter& self, const py::object& vcards, const std::u16string& dst_dir,
             const std::u16string& dst_base_name, ECsvType dst_type,
             const std::u16string& dst_locale, bool single, bool write_signature,
             bool write_headers, ECsvEncodingType encoding_type, std::int32_t encoding_cp,
             EDRMethod dr, const py::object& progress) {
            const std::vector<std::uint8_t> data = BytesIn(vcards);
            std::int32_t saved = 0, skipped_all = 0, skipped_dups = 0, errors = 0, io_errors = 0;
            std::vector<std::u16string> files;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->SaveMemoryCSV2(
                      data, dst_dir, dst_base_name, dst_type, dst_locale, single, &saved,
                      &skipped_all, &skipped_dups, &errors, &io_errors, &files, write_signature,
                      write_headers, encoding_type, encoding_cp, dr, adapter);
                });
            return py::make_tuple(status, saved, skipped_all, skipped_dups, errors, io_errors,
                                  files);
          },
          py::arg("vcards"), py::arg("dst_dir"), py::arg("dst_base_name"), py::arg("dst_type"),
          py::arg("dst_locale") = std::u16string(), py::arg("save_to_single_file") = true,
          py::arg("write_signature") = true, py::arg("write_headers") = true,
          py::arg("encoding_type") = vlmcetMultibyte, py::arg("encoding_cp") = 65001,
          py::arg("dr") = drmNone, py::arg("progress") = py::none(),
          "(status, saved, skipped_all, skipped_dups, errors, io_errors, file_names): the cards "
          "as CSV of `dst_type` (vlmcsvOutlook, vlmcsvGoogle or vlmcsvOutlook365v2).")
      .def(
          "SaveMemoryCSV",
          [](Converter& self, const py::object& vcards, const std::u16string& dst_dir,
             const std::u16string& dst_base_name, bool single, bool write_signature,
             bool write_headers, ECsvEncodingType encoding_type, std::int32_t encoding_cp,
             EDRMethod dr, const py::object& progress) {
            const std::vector<std::uint8_t> data = BytesIn(vcards);
            std::int32_t saved = 0, skipped_all = 0, skipped_dups = 0, errors = 0, io_errors = 0;
            std::vector<std::u16string> files;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->SaveMemoryCSV(data, dst_dir, dst_base_name, single, &saved,
                                               &skipped_all, &skipped_dups, &errors, &io_errors,
                                               &files, write_signature, write_headers,
                                               encoding_type, encoding_cp, dr, adapter);
                });
            return py::make_tuple(status, saved, skipped_all, skipped_dups, errors, io_errors,
                                  files);
          },
          py::arg("vcards"), py::arg("dst_dir"), py::arg("dst_base_name"),
          py::arg("save_to_single_file") = true, py::arg("write_signature") = true,
          py::arg("write_headers") = true, py::arg("encoding_type") = vlmcetMultibyte,
          py::arg("encoding_cp") = 65001, py::arg("dr") = drmNone, py::arg("progress") = py::none(),
          "SaveMemoryCSV2 as English Outlook CSV.")
      .def(
          "AutodetectXls",
          [](Converter& self, const std::u16string& file_name, bool detect_outlook_lid) {
            std::u16string error;
            std::vector<std::u16string> names, headers, lids;
            std::vector<bool> empty, custom;
            std::vector<ECsvType> types;
            HRESULT result = -1;
            const HRESULT status = Released([&] {
              return self.c->AutodetectXls(file_name, &error, &names, &empty, &headers, &types,
                                           &lids, &custom, &result, detect_outlook_lid);
            });
            return py::make_tuple(status, result, error, names, Out(empty), headers, types, lids,
                                  Out(custom));
          },
          py::arg("file_name"), py::arg("detect_outlook_lid") = true,
          "(status, result, xls_error, sheet_name, sheet_empty, sheet_headers, sheet_csv_type, "
          "sheet_outlook_lid, sheet_has_custom_headers). The call's status is S_OK when "
          "`result` is a success and S_NO_CONTENT when it is a failure.")
      .def(
          "LoadXlsCells",
          [](Converter& self, const std::u16string& file_name, std::int32_t sheet, bool detect_type,
             const py::object& xls_flags, std::int32_t max_rows) {
            const Variant flags = VariantIn(xls_flags);
            std::shared_ptr<ICsvCells> cells;
            std::u16string error, sheet_name, lid, headers;
            bool empty = false, custom = false;
            ECsvType type = vlmcsvUnknown;
            HRESULT result = -1;
            const HRESULT status = Released([&] {
              return self.c->LoadXlsCells(file_name, sheet, &cells, &error, &sheet_name, &empty,
                                          detect_type, &type, &lid, &custom, &headers, &result,
                                          flags, max_rows);
            });
            return py::make_tuple(status, result, ObjectOut(cells), error, sheet_name, empty, type,
                                  lid, custom, headers);
          },
          py::arg("file_name"), py::arg("sheet") = 0, py::arg("detect_type") = true,
          py::arg("xls_flags") = py::none(), py::arg("max_rows") = -1,
          "(status, result, cells, xls_error, sheet_name, sheet_empty, detected_type, "
          "detected_outlook_lid, detected_has_custom_headers, sheet_headers): one sheet as an "
          "ICsvCells read under `xls_flags` (EXlsFlags; None: xlsfDefault).")
      .def(
          "SaveCsvContent2Xls",
          [](Converter& self, const std::u16string& file_name, const std::u16string& sheet_name,
             const std::u16string& csv_content, const std::u16string& csv_separator,
             const py::object& csv_parse_flags) {
            const Variant flags = VariantIn(csv_parse_flags);
            std::u16string error;
            HRESULT result = -1;
            const HRESULT status = Released([&] {
              return self.c->SaveCsvContent2Xls(file_name, sheet_name, csv_content, csv_separator,
                                                &error, &result, flags);
            });
            return py::make_tuple(status, result, error);
          },
          py::arg("file_name"), py::arg("sheet_name"), py::arg("csv_content"),
          py::arg("csv_separator") = std::u16string(), py::arg("csv_parse_flags") = py::none(),
          "(status, result, xls_error): CSV text written as string cells into a new workbook.")
      .def(
          "SaveMemoryXLS",
          [](Converter& self, const py::object& vcards, const std::u16string& dst_dir,
             const std::u16string& dst_base_name, const std::u16string& dst_ext,
             const std::u16string& dst_sheet_name, ECsvType dst_type,
             const std::u16string& dst_locale, EDRMethod dr, const py::object& progress) {
            const std::vector<std::uint8_t> data = BytesIn(vcards);
            std::u16string dst_filename, error;
            std::int32_t saved = 0, skipped_all = 0, skipped_dups = 0, errors = 0;
            HRESULT result = -1;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.c->SaveMemoryXLS(data, dst_dir, dst_base_name, dst_ext,
                                               dst_sheet_name, dst_type, dst_locale, &dst_filename,
                                               &error, &saved, &skipped_all, &skipped_dups, &errors,
                                               &result, dr, adapter);
                });
            return py::make_tuple(status, result, dst_filename, error, saved, skipped_all,
                                  skipped_dups, errors);
          },
          py::arg("vcards"), py::arg("dst_dir"), py::arg("dst_base_name"), py::arg("dst_ext"),
          py::arg("dst_sheet_name"), py::arg("dst_type"), py::arg("dst_locale") = std::u16string(),
          py::arg("dr") = drmNone, py::arg("progress") = py::none(),
          "(status, result, dst_filename, xls_error, saved, skipped_all, skipped_dups, errors): "
          "the cards as one workbook (.xls or .xlsx).")
      .def(
          "EncodeGoogleValue",
          [](Converter& self, const std::u16string& value, bool is_sub_value) {
            std::u16string encoded;
            const HRESULT status = self.c->EncodeGoogleValue(value, is_sub_value, &encoded);
            return py::make_tuple(status, encoded);
          },
          py::arg("value"), py::arg("is_sub_value") = false)
      .def(
          "EncodeGoogleMValue",
          [](Converter& self, const py::object& values, std::int32_t default_index) {
            std::u16string encoded;
            const HRESULT status =
                self.c->EncodeGoogleMValue(VariantIn(values), default_index, &encoded);
            return py::make_tuple(status, encoded);
          },
          py::arg("values"), py::arg("default_index") = -1)
      .def(
          "EncodeGoogleMValue2",
          [](Converter& self, const std::u16string& list, const py::object& separators, bool trim,
             std::int32_t default_index) {
            std::u16string encoded;
            const HRESULT status = self.c->EncodeGoogleMValue2(list, VariantIn(separators), trim,
                                                               default_index, &encoded);
            return py::make_tuple(status, encoded);
          },
          py::arg("string_list"), py::arg("list_separators") = py::none(), py::arg("trim") = true,
          py::arg("default_index") = -1)
      .def(
          "Categories2GroupMembership",
          [](Converter& self, const std::u16string& categories, const py::object& separators,
             bool trim, bool ensure_my_contacts, std::int32_t default_index) {
            std::u16string out;
            const HRESULT status = self.c->Categories2GroupMembership(
                categories, VariantIn(separators), trim, ensure_my_contacts, default_index, &out);
            return py::make_tuple(status, out);
          },
          py::arg("categories"), py::arg("list_separators") = py::none(), py::arg("trim") = true,
          py::arg("ensure_my_contacts") = true, py::arg("default_index") = -1)
      .def(
          "EscapeCell",
          [](Converter& self, const std::u16string& cell, const py::object& separator,
             const py::object& list_separator, bool force) {
            std::u16string escaped;
            const HRESULT status = self.c->EscapeCell(cell, VariantIn(separator),
                                                      VariantIn(list_separator), force, &escaped);
            return py::make_tuple(status, escaped);
          },
          py::arg("cell"), py::arg("separator") = py::none(),
          py::arg("list_separator") = py::none(), py::arg("force") = false,
          "A cell quoted as the CSV writers quote it.");
}

}  // namespace velmora::python
