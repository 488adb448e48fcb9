"""Velmora for Python: vCard, CSV and spreadsheet contacts.

    import velmora
    with velmora.CardConverter() as conv:
        out = conv.ConvertMemory(open("in.vcf", "rb").read(), version=2.1)

The object model keeps its names (CardConverter.LoadFile, Cards.Preview,
CardContact.FirstName, ...). Card data is bytes, text str, arrays lists;
failures raise velmora.Error with the status, the log's message and the
method. The raw layer, every method returning its status, is
velmora._velmora.
"""

from . import _velmora
from ._errors import Error, describe
from ._objects import Released
from ._progress import Progress
from .cards import CardPreview, Cards
from .contact import CardContact, CardContactAddress
from .converter import (CardConverter, ConvertStats, Converted, Count, CsvDetection,
                        GoogleName, HeadersDetection, Resolved, Saved, SheetInfo, XlsSheet)
from .csv_content import CsvCells, CsvContent
from .headers import CsvHeader, CsvHeaders, CsvOutlookLocale
from ._velmora import (E_BOUNDS, E_GENERIC_FAILURE, E_ILLEGAL_METHOD_CALL, E_INVALIDARG,
                       E_NOTIMPL, E_OUTOFMEMORY, E_POINTER, E_UNEXPECTED, HRESULT_FROM_WIN32,
                       S_FALSE, S_NO_CONTENT, S_OK, ECsvEncodingType, ECsvHeaderGroup,
                       ECsvHeaderGroupProp, ECsvHeaderType, ECsvParseFlags, ECsvType,
                       EContactAddress, EContactGender, EContactImportance, EContactRelatedName,
                       EContactSensitivity, EContactTelephone, EContactUrl, EConversionEvent,
                       EDRMethod, EPlainCsvFlags, EXlsFlags, DataDirectory, LibraryDirectory,
                       LiveObjectCount, SameCharset)

__version__ = _velmora.VersionString()

# Every enumeration's values at the top level too, as the object model
# names them: velmora.vlmcsvGoogle, velmora.drmNewest, ...
for _enum in (EDRMethod, ECsvParseFlags, EXlsFlags, ECsvEncodingType, EPlainCsvFlags,
              EContactTelephone, EContactUrl, EContactAddress, EContactSensitivity,
              EContactImportance, EContactGender, EContactRelatedName, ECsvType,
              ECsvHeaderGroup, ECsvHeaderGroupProp, ECsvHeaderType, EConversionEvent):
    globals().update(_enum.__members__)
del _enum


def ListSupportedEncodings(path: str = "") -> list:
    """The encodings offered for writing: (display_name, charset, code_page,
    visible, system_locale) tuples from supportedEncodings.txt at `path`
    (empty: the installed one). Raises Error when the file cannot be read."""
    status, entries = _velmora.ListSupportedEncodings(path)
    if status < 0:
        raise Error(status, describe(status), "ListSupportedEncodings")
    return entries
