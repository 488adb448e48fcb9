// The object model's enumerations and status codes.
#include "common.h"

namespace velmora::python {

void BindEnums(py::module_& m) {
  m.attr("S_OK") = S_OK;
  m.attr("S_FALSE") = S_FALSE;
  m.attr("S_NO_CONTENT") = S_NO_CONTENT;
  m.attr("E_GENERIC_FAILURE") = E_GENERIC_FAILURE;
  m.attr("E_INVALIDARG") = E_INVALIDARG;
  m.attr("E_NOTIMPL") = E_NOTIMPL;
  m.attr("E_NOINTERFACE") = E_NOINTERFACE;
  m.attr("E_POINTER") = E_POINTER;
  m.attr("E_BOUNDS") = E_BOUNDS;
  m.attr("E_ILLEGAL_METHOD_CALL") = E_ILLEGAL_METHOD_CALL;
  m.attr("E_UNEXPECTED") = E_UNEXPECTED;
  m.attr("E_OUTOFMEMORY") = E_OUTOFMEMORY;
  m.def("HRESULT_FROM_WIN32", &HRESULT_FROM_WIN32, py::arg("error"),
        "A Windows system error code as a failure status (0 stays success).");

  py::enum_<EDRMethod>(m, "EDRMethod", py::arithmetic(), "Duplicate resolution methods.")
      .value("drmNone", drmNone)
      .value("drmNewest", drmNewest)
      .value("drmKeepOriginal", drmKeepOriginal)
      .export_values();
  py::enum_<ECsvParseFlags>(m, "ECsvParseFlags", py::arithmetic(), "CSV parse flags (bits).")
      .value("csvpHeaderRow", csvpHeaderRow)
      .value("csvpHeaderRowForce", csvpHeaderRowForce)
      .value("csvpSkipEmptyLines", csvpSkipEmptyLines)
      .value("csvpSkipWhiteSpaceLines", csvpSkipWhiteSpaceLines)
      .value("csvpSkipEmptyCellsRows", csvpSkipEmptyCellsRows)
      .value("csvpSkipWhiteSpaceRows", csvpSkipWhiteSpaceRows)
      .value("csvpDefault", csvpDefault)
      .export_values();
  py::enum_<EXlsFlags>(m, "EXlsFlags", py::arithmetic(), "Workbook reading flags (bits).")
      .value("xlsfHeaderRow", xlsfHeaderRow)
      .value("xlsfHeaderRowForce", xlsfHeaderRowForce)
      .value("xlsfSkipFirstEmptyRows", xlsfSkipFirstEmptyRows)
      .value("xlsfSkipLastEmptyRows", xlsfSkipLastEmptyRows)
      .value("xlsfSkipAnyEmptyRows", xlsfSkipAnyEmptyRows)
      .value("xlsfDefault", xlsfDefault)
      .value("xlsfDefault4Autodetect", xlsfDefault4Autodetect)
      .export_values();
  py::enum_<ECsvEncodingType>(m, "ECsvEncodingType", py::arithmetic(), "CSV output encodings.")
      .value("vlmcetMultibyte", vlmcetMultibyte)
      .value("vlmcetUTF16", vlmcetUTF16)
      .value("vlmcetUTF16BE", vlmcetUTF16BE)
      .export_values();
  py::enum_<EPlainCsvFlags>(m, "EPlainCsvFlags", py::arithmetic(), "Google plaining flags.")
      .value("pcfSortByType", pcfSortByType)
      .value("pcfForce1stIndex", pcfForce1stIndex)
      .value("pcfDecodeGroupMembership", pcfDecodeGroupMembership)
      .value("pcfUniteChild", pcfUniteChild)
      .value("pcfDefault", pcfDefault)
      .export_values();
  py::enum_<EContactTelephone>(m, "EContactTelephone", py::arithmetic(), "Telephone slots.")
      .value("vlmctBusiness", vlmctBusiness)
      .value("vlmctBusinessFax", vlmctBusinessFax)
      .value("vlmctHome", vlmctHome)
      .value("vlmctHomeFax", vlmctHomeFax)
      .value("vlmctMobile", vlmctMobile)
      .value("vlmctCar", vlmctCar)
      .value("vlmctPager", vlmctPager)
      .value("vlmctISDN", vlmctISDN)
      .value("vlmctPrimary", vlmctPrimary)
      .value("vlmctOther", vlmctOther)
      .value("vlmctOtherFax", vlmctOtherFax)
      .value("vlmctAssistant", vlmctAssistant)
      .value("vlmctCompany", vlmctCompany)
      .value("vlmctCallback", vlmctCallback)
      .value("vlmctRadio", vlmctRadio)
      .value("vlmctTTYTDD", vlmctTTYTDD)
      .value("vlmctTelex", vlmctTelex)
      .export_values();
  py::enum_<EContactUrl>(m, "EContactUrl", py::arithmetic(), "URL kinds (bits).")
      .value("vlmcuUnknown", vlmcuUnknown)
      .value("vlmcuBusiness", vlmcuBusiness)
      .value("vlmcuPersonal", vlmcuPersonal)
      .export_values();
  py::enum_<EContactAddress>(m, "EContactAddress", py::arithmetic(), "Address kinds.")
      .value("vlmcaNone", vlmcaNone)
      .value("vlmcaHome", vlmcaHome)
      .value("vlmcaBusiness", vlmcaBusiness)
      .value("vlmcaOther", vlmcaOther)
      .export_values();
  py::enum_<EContactSensitivity>(m, "EContactSensitivity", py::arithmetic())
      .value("vlmcsNormal", vlmcsNormal)
      .value("vlmcsPersonal", vlmcsPersonal)
      .value("vlmcsPrivate", vlmcsPrivate)
      .value("vlmcsConfidential", vlmcsConfidential)
      .export_values();
  py::enum_<EContactImportance>(m, "EContactImportance", py::arithmetic())
      .value("vlmciLow", vlmciLow)
      .value("vlmciNormal", vlmciNormal)
      .value("vlmciHigh", vlmciHigh)
      .export_values();
  py::enum_<EContactGender>(m, "EContactGender", py::arithmetic())
      .value("vlmcgUnspecified", vlmcgUnspecified)
      .value("vlmcgFemale", vlmcgFemale)
      .value("vlmcgMale", vlmcgMale)
      .export_values();
  py::enum_<EContactRelatedName>(m, "EContactRelatedName", py::arithmetic())
      .value("vlmcrnOther", vlmcrnOther)
      .value("vlmcrnAssistant", vlmcrnAssistant)
      .value("vlmcrnBrother", vlmcrnBrother)
      .value("vlmcrnChild", vlmcrnChild)
      .value("vlmcrnFather", vlmcrnFather)
      .value("vlmcrnFriend", vlmcrnFriend)
      .value("vlmcrnManager", vlmcrnManager)
      .value("vlmcrnMother", vlmcrnMother)
      .value("vlmcrnParent", vlmcrnParent)
      .value("vlmcrnPartner", vlmcrnPartner)
      .value("vlmcrnSister", vlmcrnSister)
      .value("vlmcrnSpouse", vlmcrnSpouse)
      .value("vlmcrnReferredBy", vlmcrnReferredBy)
      .export_values();
  py::enum_<ECsvType>(m, "ECsvType", py::arithmetic(), "CSV dialects.")
      .value("vlmcsvUnknown", vlmcsvUnknown)
      .value("vlmcsvOutlook", vlmcsvOutlook)
      .value("vlmcsvGoogle", vlmcsvGoogle)
      .value("vlmcsvNokia", vlmcsvNokia)
      .value("vlmcsvOutlook365v1", vlmcsvOutlook365v1)
      .value("vlmcsvOutlook365v2", vlmcsvOutlook365v2)
      .export_values();
  py::enum_<ECsvHeaderGroup>(m, "ECsvHeaderGroup", py::arithmetic())
      .value("csvgNone", csvgNone)
      .value("csvgEmail", csvgEmail)
      .value("csvgIM", csvgIM)
      .value("csvgPhone", csvgPhone)
      .value("csvgAddress", csvgAddress)
      .value("csvgOrganization", csvgOrganization)
      .value("csvgRelation", csvgRelation)
      .value("csvgExternalID", csvgExternalID)
      .value("csvgWebsite", csvgWebsite)
      .value("csvgCalendarLink", csvgCalendarLink)
      .value("csvgEvent", csvgEvent)
      .value("csvgCustomField", csvgCustomField)
      .value("csvgJot", csvgJot)
      .export_values();
  py::enum_<ECsvHeaderGroupProp>(m, "ECsvHeaderGroupProp", py::arithmetic())
      .value("csvgpNone", csvgpNone)
      .value("csvgpType", csvgpType)
      .value("csvgpValue", csvgpValue)
      .value("csvgpIMService", csvgpIMService)
      .value("csvgpAdrFormatted", csvgpAdrFormatted)
      .value("csvgpAdrStreet", csvgpAdrStreet)
      .value("csvgpAdrCity", csvgpAdrCity)
      .value("csvgpAdrPOBox", csvgpAdrPOBox)
      .value("csvgpAdrState", csvgpAdrState)
      .value("csvgpAdrPostalCode", csvgpAdrPostalCode)
      .value("csvgpAdrCountry", csvgpAdrCountry)
      .value("csvgpAdrNeighborhood", csvgpAdrNeighborhood)
      .value("csvgpOrgName", csvgpOrgName)
      .value("csvgpOrgYomiName", csvgpOrgYomiName)
      .value("csvgpOrgTitle", csvgpOrgTitle)
      .value("csvgpOrgDepartment", csvgpOrgDepartment)
      .value("csvgpOrgSymbol", csvgpOrgSymbol)
      .value("csvgpOrgLocation", csvgpOrgLocation)
      .value("csvgpOrgJobDesc", csvgpOrgJobDesc)
      .export_values();
  py::enum_<ECsvHeaderType>(m, "ECsvHeaderType", py::arithmetic())
      .value("cftUnknown", cftUnknown)
      .value("cftText", cftText)
      .value("cftTextGoogle", cftTextGoogle)
      .value("cftMvText", cftMvText)
      .value("cftDate", cftDate)
      .value("cftMvTextGoogle", cftMvTextGoogle)
      .value("cftMvDateGoogle", cftMvDateGoogle)
      .value("cftBool", cftBool)
      .value("_cftEnum", _cftEnum)
      .value("cftEnumGender", cftEnumGender)
      .value("ctfEnumImportance", ctfEnumImportance)
      .value("ctfEnumSensitivity", ctfEnumSensitivity)
      .export_values();
  py::enum_<EConversionEvent>(m, "EConversionEvent", py::arithmetic(),
                              "What a conversion could not carry into its target.")
      .value("cevPropertyDropped", cevPropertyDropped)
      .value("cevCharactersLost", cevCharactersLost)
      .value("cevNameReplaced", cevNameReplaced)
      .value("cevFieldNotCarried", cevFieldNotCarried)
      .value("cevColumnToNotes", cevColumnToNotes)
      .value("cevValueNotRead", cevValueNotRead)
      .export_values();
}

}  // namespace velmora::python
