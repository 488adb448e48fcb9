// ICsvContent and ICsvCells.
#include "common.h"

namespace velmora::python {

void BindCsv(py::module_& m) {
  py::class_<ICsvCells, IObject, std::shared_ptr<ICsvCells>>(
      m, "ICsvCells",
      "One parsed table; the first row is the header row when HasHeaderRow is true, and its "
      "header codes say what each column holds.")
      .def("get_HasHeaderRow", Getter(&ICsvCells::get_HasHeaderRow))
      .def("get_RowCount", Getter(&ICsvCells::get_RowCount),
           "Rows of the table, the header row included.")
      .def("get_ColCount", Getter(&ICsvCells::get_ColCount), "Columns: one per header code.")
      .def(
          "Cell",
          [](ICsvCells& self, std::int32_t row, std::int32_t col) {
            std::u16string value;
            const HRESULT status = self.Cell(row, col, &value);
            return py::make_tuple(status, value);
          },
          py::arg("row"), py::arg("col"),
          "The cell; \"\" for a column the row is too short to have.")
      .def("row", IndexedGetter(&ICsvCells::row), py::arg("row"),
           "The cells the row has (rows are never padded).")
      .def("get_HeaderCode", IndexedGetter(&ICsvCells::get_HeaderCode), py::arg("col"))
      .def("put_HeaderCode", &ICsvCells::put_HeaderCode, py::arg("col"), py::arg("value"),
           "A code put must be 0 or one the catalogue knows.")
      .def("HeaderName", IndexedGetter(&ICsvCells::HeaderName), py::arg("col"),
           "The catalogue's name of the column's code; \"\" for 0 or an unknown code.")
      .def("EmptyHeadersCount", Getter(&ICsvCells::EmptyHeadersCount))
      .def("ResetHeaders", &ICsvCells::ResetHeaders,
           "Finds the header codes again from the header row.")
      .def(
          "ConvertRows",
          [](ICsvCells& self, const py::object& progress, std::int32_t from, std::int32_t count) {
            std::int32_t empties = 0, errors = 0;
            std::shared_ptr<ICards> cards;
            const HRESULT status =
                ReleasedWithProgress(progress, [&](ICardConverterProgress* adapter) {
                  return self.ConvertRows(&empties, &errors, &cards, adapter, from, count);
                });
            return py::make_tuple(status, empties, errors, ObjectOut(cards));
          },
          py::arg("progress") = py::none(), py::arg("from_") = -1, py::arg("count") = -1,
          "Rows as vCards 3.0 in UTF-8: (status, stats_empties, stats_errors, cards). S_NO_CONTENT "
          "and None when no row gave a card or the callback cancelled; E_GENERIC_FAILURE when no "
          "column has a known header code.")
      .def(
          "PlainCsv",
          [](ICsvCells& self) {
            bool changed = false;
            const HRESULT status = self.PlainCsv(&changed);
            return py::make_tuple(status, changed);
          },
          "Google's grouped columns flattened (pcfDefault); E_ILLEGAL_METHOD_CALL without a "
          "header row.")
      .def("PlainCsvEx", IndexedGetter(&ICsvCells::PlainCsvEx), py::arg("flags"))
      .def(
          "RowToString",
          [](ICsvCells& self, std::int32_t row, const py::object& separator) {
            std::u16string text;
            const HRESULT status = self.RowToString(row, VariantIn(separator), &text);
            return py::make_tuple(status, text);
          },
          py::arg("row"), py::arg("separator") = py::none())
      .def(
          "RowToStringEx",
          [](ICsvCells& self, std::int32_t row, const py::object& separator, bool transpose) {
            std::u16string text;
            const HRESULT status = self.RowToStringEx(row, VariantIn(separator), transpose, &text);
            return py::make_tuple(status, text);
          },
          py::arg("row"), py::arg("separator") = py::none(), py::arg("transpose") = false)
      .def(
          "ColToString",
          [](ICsvCells& self, std::int32_t col, const py::object& separator) {
            std::u16string text;
            const HRESULT status = self.ColToString(col, VariantIn(separator), &text);
            return py::make_tuple(status, text);
          },
          py::arg("col"), py::arg("separator") = py::none())
      .def(
          "ColToStringEx",
          [](ICsvCells& self, std::int32_t col, const py::object& separator, bool transpose) {
            std::u16string text;
            const HRESULT status = self.ColToStringEx(col, VariantIn(separator), transpose, &text);
            return py::make_tuple(status, text);
          },
          py::arg("col"), py::arg("separator") = py::none(), py::arg("transpose") = false)
      .def(
          "CellsToString",
          [](ICsvCells& self, const py::object& separator) {
            std::u16string text;
            const HRESULT status = self.CellsToString(VariantIn(separator), &text);
            return py::make_tuple(status, text);
          },
          py::arg("separator") = py::none())
      .def(
          "CellsToStringEx",
          [](ICsvCells& self, const py::object& separator, bool transpose) {
            std::u16string text;
            const HRESULT status = self.CellsToStringEx(VariantIn(separator), transpose, &text);
            return py::make_tuple(status, text);
          },
          py::arg("separator") = py::none(), py::arg("transpose") = false,
          "The table back as CSV text, lines ending CR LF.");

  py::class_<ICsvContent, IObject, std::shared_ptr<ICsvContent>>(
      m, "ICsvContent", "One CSV text, decoded, and the settings of its next parse.")
      .def("get_Content", Getter(&ICsvContent::get_Content))
      .def("get_ContentLength", Getter(&ICsvContent::get_ContentLength),
           "The text's length in UTF-16 units.")
      .def("get_Codepage", Getter(&ICsvContent::get_Codepage))
      .def("put_Codepage", &ICsvContent::put_Codepage, py::arg("value"),
           "Decodes the bytes again; S_NO_CONTENT when the encoding was recognised, "
           "E_INVALIDARG for an unknown code page.")
      .def("get_CodepageDetected", Getter(&ICsvContent::get_CodepageDetected))
      .def("get_IsCodepageReadOnly", Getter(&ICsvContent::get_IsCodepageReadOnly))
      .def("get_ParseFlags", Getter(&ICsvContent::get_ParseFlags))
      .def("put_ParseFlags", &ICsvContent::put_ParseFlags, py::arg("value"))
      .def("get_Separators", Getter(&ICsvContent::get_Separators))
      .def("put_Separators", &ICsvContent::put_Separators, py::arg("value"),
           "Every character separates cells; putting \"\" stores \",\".")
      .def("get_Quote", Getter(&ICsvContent::get_Quote))
      .def("put_Quote", &ICsvContent::put_Quote, py::arg("value"),
           "One character; putting \"\" stores '\"', a longer string is refused.")
      .def("get_OutlookLID", Getter(&ICsvContent::get_OutlookLID))
      .def("put_OutlookLID", &ICsvContent::put_OutlookLID, py::arg("value"),
           "A LID the catalogue does not know is refused and the previous value stays.")
      .def(
          "Parse",
          [](ICsvContent& self, std::int32_t max_rows, std::int32_t skip_first_rows,
             const py::object& parse_flags, const py::object& separators, const py::object& quote) {
            const Variant flags = VariantIn(parse_flags), seps = VariantIn(separators),
                          q = VariantIn(quote);
            std::shared_ptr<ICsvCells> cells;
            HRESULT status;
            {
              py::gil_scoped_release release;
              status = self.Parse(&cells, max_rows, skip_first_rows, flags, seps, q);
            }
            return py::make_tuple(status, ObjectOut(cells));
          },
          py::arg("max_rows") = -1, py::arg("skip_first_rows") = 0,
          py::arg("parse_flags") = py::none(), py::arg("separators") = py::none(),
          py::arg("quote") = py::none(),
          "Splits the text into a new table: (status, cells). Given settings are stored first "
          "and stay for later parses. S_NO_CONTENT and None when the text holds no cells.")
      .def(
          "Parse2",
          [](ICsvContent& self, std::int32_t max_rows, std::int32_t skip_first_rows,
             const py::object& parse_flags, const py::object& separators, const py::object& quote,
             const py::object& outlook_lid) {
            const Variant flags = VariantIn(parse_flags), seps = VariantIn(separators),
                          q = VariantIn(quote), lid = VariantIn(outlook_lid);
            std::shared_ptr<ICsvCells> cells;
            HRESULT status;
            {
              py::gil_scoped_release release;
              status = self.Parse2(&cells, max_rows, skip_first_rows, flags, seps, q, lid);
            }
            return py::make_tuple(status, ObjectOut(cells));
          },
          py::arg("max_rows") = -1, py::arg("skip_first_rows") = 0,
          py::arg("parse_flags") = py::none(), py::arg("separators") = py::none(),
          py::arg("quote") = py::none(), py::arg("outlook_lid") = py::none())
      .def("AutoDetectSeparator", Getter(&ICsvContent::AutoDetectSeparator),
           "\",\", \";\" or TAB; S_NO_CONTENT and \"\" when none splits the first rows.");
}

}  // namespace velmora::python
