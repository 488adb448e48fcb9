// ICsvHeaders, ICsvHeader and ICsvOutlookLocale.
#include "common.h"

namespace velmora::python {

void BindHeaders(py::module_& m) {
  py::class_<ICsvHeader, IObject, std::shared_ptr<ICsvHeader>>(
      m, "ICsvHeader", "One catalogue column, named as one dialect names it.")
      .def("get_Code", Getter(&ICsvHeader::get_Code))
      .def("get_Type", Getter(&ICsvHeader::get_Type))
      .def("get_IsGroupped", Getter(&ICsvHeader::get_IsGroupped))
      .def("get_NameFormat", Getter(&ICsvHeader::get_NameFormat),
           "Grouped columns: the name with \"%d\" for the instance; else empty.")
      .def("get_GroupCode", Getter(&ICsvHeader::get_GroupCode))
      .def("get_GroupName", Getter(&ICsvHeader::get_GroupName))
      .def("get_GroupPropCode", Getter(&ICsvHeader::get_GroupPropCode))
      .def("get_GroupPropName", Getter(&ICsvHeader::get_GroupPropName))
      .def("get_GroupKnownTypes", Getter(&ICsvHeader::get_GroupKnownTypes),
           "The type words offered for the group; S_FALSE and no words when it has none.")
      .def("get_Name", Getter(&ICsvHeader::get_Name))
      .def("get_NameAlt", Getter(&ICsvHeader::get_NameAlt))
      .def("GetIndexedCode", IndexedGetter(&ICsvHeader::GetIndexedCode), py::arg("index"))
      .def("GetIndexedName", IndexedGetter(&ICsvHeader::GetIndexedName), py::arg("index"),
           "The name of instance `index` (\"E-mail 2 - Value\"); a plain column's English name.");

  py::class_<ICsvHeaders, IObject, std::shared_ptr<ICsvHeaders>>(
      m, "ICsvHeaders",
      "The columns of one dialect in their order; for Google its plain columns, then the grouped "
      "ones.")
      .def("get_Count", Getter(&ICsvHeaders::get_Count))
      .def("get_Item", IndexedGetter(&ICsvHeaders::get_Item), py::arg("index"))
      .def("FindByCode", IndexedGetter(&ICsvHeaders::FindByCode), py::arg("value"),
           "The column whose code is `value` (instance bits zero); S_FALSE and None when none.")
      .def(
          "FindByName",
          [](ICsvHeaders& self, const std::u16string& value) {
            std::shared_ptr<ICsvHeader> item;
            const HRESULT status = self.FindByName(value, &item);
            return py::make_tuple(status, ObjectOut(item));
          },
          py::arg("value"),
          "The column so named in the dialect, or so spelt alternatively (case matters); S_FALSE "
          "and None when none.");

  py::class_<ICsvOutlookLocale, IObject, std::shared_ptr<ICsvOutlookLocale>>(
      m, "ICsvOutlookLocale",
      "One localised Outlook: its code page, names, value words and header names.")
      .def("get_LID", Getter(&ICsvOutlookLocale::get_LID))
      .def("get_Codepage", Getter(&ICsvOutlookLocale::get_Codepage))
      .def("get_CodepageDisplayName", Getter(&ICsvOutlookLocale::get_CodepageDisplayName))
      .def("get_DisplayName", Getter(&ICsvOutlookLocale::get_DisplayName))
      .def("get_DisplayNameShort", Getter(&ICsvOutlookLocale::get_DisplayNameShort))
      .def("get_PrivateValue", IndexedGetter(&ICsvOutlookLocale::get_PrivateValue),
           py::arg("index"))
      .def("get_GenderValue", IndexedGetter(&ICsvOutlookLocale::get_GenderValue), py::arg("index"))
      .def("get_PriorityValue", IndexedGetter(&ICsvOutlookLocale::get_PriorityValue),
           py::arg("index"))
      .def("get_SensitivityValue", IndexedGetter(&ICsvOutlookLocale::get_SensitivityValue),
           py::arg("index"))
      .def("get_HeaderCount", Getter(&ICsvOutlookLocale::get_HeaderCount))
      .def("get_HeaderName", IndexedGetter(&ICsvOutlookLocale::get_HeaderName), py::arg("index"))
      .def("get_HeaderCodeCount", IndexedGetter(&ICsvOutlookLocale::get_HeaderCodeCount),
           py::arg("index"))
      .def(
          "get_HeaderCode",
          [](ICsvOutlookLocale& self, std::int32_t index, std::int32_t sub_index) {
            std::int32_t value = 0;
            const HRESULT status = self.get_HeaderCode(index, sub_index, &value);
            return py::make_tuple(status, value);
          },
          py::arg("index"), py::arg("sub_index") = 0)
      .def("FindHeaderName", IndexedGetter(&ICsvOutlookLocale::FindHeaderName), py::arg("hcode"),
           "The localised name of a header code; empty when there is none.")
      .def(
          "FindHeaderCode",
          [](ICsvOutlookLocale& self, const std::u16string& name, std::int32_t sub_index) {
            std::int32_t value = 0;
            const HRESULT status = self.FindHeaderCode(name, sub_index, &value);
            return py::make_tuple(status, value);
          },
          py::arg("name"), py::arg("sub_index") = 0,
          "The code of the `sub_index`-th column so named (case ignored); 0 when none.");
}

}  // namespace velmora::python
