"""CardConverter: the one object an application makes, ready to use."""

from __future__ import annotations

import os
from typing import Any, Callable, List, NamedTuple, Optional, Sequence, Tuple, Union

from . import _velmora
from ._errors import NO_LOG, Error, LogTail, check, describe, raise_for
from ._objects import Wrapper
from ._progress import CancelCallback, ProgressCallback, adapt
from .cards import Cards, wrap_cards
from .contact import CardContact
from .csv_content import CsvCells, CsvContent
from .headers import CsvHeaders, CsvOutlookLocale

PathLike = Union[str, "os.PathLike[str]"]
ReportCallback = Callable[[int, int, str, str, int], None]


def _path(value: PathLike) -> str:
    return os.fspath(value)


class Converted(NamedTuple):
    """ConvertMemory's result: the cards (bytes) and the counts. `status`
    is S_FALSE (1) when no card was written anew."""
    data: bytes
    converted: int
    copied: int
    errors: int
    status: int


class ConvertStats(NamedTuple):
    """ConvertFile's counts. `status` S_FALSE: nothing written anew (with
    skip_file_copy, nothing written at all)."""
    converted: int
    copied: int
    errors: int
    status: int


class Count(NamedTuple):
    """CountFilesContacts' result; `status` S_FALSE when cancelled or
    max_contacts was reached."""
    count: int
    file_errors: int
    status: int


class Saved(NamedTuple):
    """The result of the saving methods: the files written and the counts.
    `status` S_FALSE (1) when the progress callback cancelled, or (for the
    workbook) when some cells could not be written."""
    files: List[str]
    saved: int
    skipped_all: int
    skipped_dups: int
    errors: int
    io_errors: int
    status: int


class Resolved(NamedTuple):
    """DR's result: the client cards that are new, those that replace a
    server card (tagged with its tag), and the client duplicates dropped."""
    to_add: Optional[Cards]
    to_overwrite: Optional[Cards]
    client_duplicates: int


class CsvDetection(NamedTuple):
    """The dialect of a CSV file, from its first two rows."""
    type: int
    separator: str
    headers: str
    empty: bool
    encoding_cp: int
    outlook_lid: str
    has_custom_headers: bool


class HeadersDetection(NamedTuple):
    type: int
    codes: List[int]
    outlook_lid: str
    has_custom_headers: bool


class GoogleName(NamedTuple):
    group: int
    group_prop: int
    type: str
    type_index: int


class SheetInfo(NamedTuple):
    """One sheet of a workbook, from its first two non-empty rows."""
    name: str
    empty: bool
    headers: str
    type: int
    outlook_lid: str
    has_custom_headers: bool


class XlsSheet(NamedTuple):
    """One sheet read by LoadXlsCells."""
    cells: CsvCells
    name: str
    empty: bool
    type: int
    outlook_lid: str
    has_custom_headers: bool
    headers: str


class _Report:
    def __init__(self, callback: ReportCallback) -> None:
        self._callback = callback

    def OnConversionEvent(self, event: Any, card: int, name: str, what: str, count: int) -> None:
        self._callback(int(event), card, name, what, count)


def _log_folder() -> str:
    base = os.environ.get("XDG_DATA_HOME", "")
    if not base.startswith("/"):
        base = os.path.join(os.path.expanduser("~"), ".local", "share")
    return base


class CardConverter(Wrapper):
    """A converter, initialised and ready to use.

    `log`: write the diagnostic log (off by default); it then lives in
    <XDG_DATA_HOME or ~/.local/share>/Zorva/<product>/<log_name>.log and
    .err, and Error messages are its error lines. `encodings`: the path of
    supportedEncodings.txt (None: the installed one). `prodid`: the PRODID
    written into 3.0 cards. `outlook_headers`: True loads the installed
    localised Outlook CSV headers, a path loads those, False none.

    Calls that fail raise velmora.Error; the library's false-success status
    (nothing written anew, cancelled, no content) comes back in the
    results' `status`.
    """

    def __init__(self, *, log: bool = False, product: str = "velmora-python",
                 log_name: str = "velmora-python", encodings: Optional[PathLike] = None,
                 prodid: Optional[str] = None,
                 outlook_headers: Union[bool, PathLike] = True) -> None:
        raw = _velmora.ICardConverter()
        if outlook_headers is True:
            headers: Optional[str] = os.path.join(_velmora.DataDirectory(),
                                                  "supportedOutlookHeaders.csv")
        elif outlook_headers is False or outlook_headers is None:
            headers = None
        else:
            headers = _path(outlook_headers)
        tail = LogTail(os.path.join(_log_folder(), "Zorva", product, log_name + ".err")
                       if log and product else None)
        super().__init__(raw, tail)
        self._report: Optional[ReportCallback] = None
        self._call("InitEx2", product if log else "",
                   None if encodings is None else _path(encodings), prodid, log,
                   log_name if log else None, headers)

    @property
    def log_path(self) -> Optional[str]:
        """The error file of the log, or None when the log is off."""
        return self._log.path

    # --- Loading --------------------------------------------------------
    def LoadFile(self, file_name: PathLike, max_contacts: int = 0, add_source_prop: bool = False,
                 *, progress: Optional[ProgressCallback] = None,
                 cancel: Optional[CancelCallback] = None) -> Cards:
        """The cards of a file. `max_contacts` limits the cards kept (0: no
        limit); `add_source_prop` adds an X-ZORVA-SOURCE line naming the file.
        A cancel gives the cards read so far with status S_FALSE."""
        status, raw = self._call("LoadFile", _path(file_name), max_contacts, add_source_prop,
                                 adapt(progress, cancel))
        return Cards(raw, self._log, status)

    def LoadFiles(self, file_names: Sequence[PathLike], max_contacts: int = 0,
                  add_source_prop: bool = False, *,
                  progress: Optional[ProgressCallback] = None,
                  cancel: Optional[CancelCallback] = None) -> Cards:
        """The cards of several files; a file that cannot be read is skipped
        (Error only when none could be read)."""
        status, raw = self._call("LoadFiles", [_path(f) for f in file_names], max_contacts,
                                 add_source_prop, adapt(progress, cancel))
        return Cards(raw, self._log, status)

    def LoadMemory(self, vcards: bytes, max_contacts: int = 0, *,
                   progress: Optional[ProgressCallback] = None,
                   cancel: Optional[CancelCallback] = None) -> Cards:
        """The cards of a buffer."""
        status, raw = self._call("LoadMemory", vcards, max_contacts, adapt(progress, cancel))
        return Cards(raw, self._log, status)

    def CountFilesContacts(self, file_names: Sequence[PathLike], max_contacts: int = 0, *,
                           progress: Optional[ProgressCallback] = None,
                           cancel: Optional[CancelCallback] = None) -> Count:
        """Counts the complete cards of the files."""
        status, file_errors, count = self._call(
            "CountFilesContacts", [_path(f) for f in file_names], max_contacts,
            adapt(progress, cancel))
        return Count(count, file_errors, status)

    def IsCardFileValid(self, file_name: PathLike) -> bool:
        """True when the file holds at least one complete card."""
        return bool(self._call("IsCardFileValid", _path(file_name))[1])

    # --- Converting -----------------------------------------------------
    def ConvertMemory(self, vcards: bytes, version: float = 3.0, codepage: int = 65001,
                      charset: Optional[str] = None, *,
                      progress: Optional[ProgressCallback] = None,
                      cancel: Optional[CancelCallback] = None) -> Converted:
        """Every card of the buffer in the target version (2.1 or 3.0) and
        charset (`codepage` by its Windows number, `charset` the name
        written; None: the encodings list's name for the code page), joined
        by CR LF. Cards already in the target are copied unchanged."""
        status, converted, copied, errors, data = self._call(
            "ConvertMemory", vcards, version, codepage, charset, adapt(progress, cancel))
        return Converted(data, converted, copied, errors, status)

    def ConvertFile(self, src: PathLike, dst: PathLike, version: float = 3.0,
                    codepage: int = 65001, charset: Optional[str] = None,
                    skip_file_copy: bool = True, *,
                    progress: Optional[ProgressCallback] = None,
                    cancel: Optional[CancelCallback] = None) -> ConvertStats:
        """The same from file to file; an existing destination is replaced
        through a temporary file."""
        status, converted, copied, errors = self._call(
            "ConvertFile", _path(src), _path(dst), version, codepage, charset, skip_file_copy,
            adapt(progress, cancel))
        return ConvertStats(converted, copied, errors, status)

    # --- Saving ---------------------------------------------------------
    def SaveMemory(self, vcards: bytes, dst_dir: PathLike, base_name: str = "contacts",
                   single_file: bool = False, version: float = 3.0, codepage: int = 65001,
                   charset: Optional[str] = None, dr: int = _velmora.drmNone, *,
                   progress: Optional[ProgressCallback] = None,
                   cancel: Optional[CancelCallback] = None) -> Saved:
        """Writes the cards into `dst_dir` (created when missing): one file
        per card named by its file-as name ("Doe, John.vcf", then
        "Doe, John[1].vcf"), or with `single_file` all into
        "<base_name>.vcf". With `dr` other than drmNone duplicates are left
        out."""
        status, saved, skipped_all, skipped_dups, io_errors, errors, files = self._call(
            "SaveMemory2", vcards, _path(dst_dir), base_name, single_file, version, codepage,
            charset, _velmora.EDRMethod(int(dr)), adapt(progress, cancel))
        return Saved(list(files), saved, skipped_all, skipped_dups, errors, io_errors, status)

    # --- Conversion report ----------------------------------------------
    @property
    def ConversionReport(self) -> Optional[ReportCallback]:
        """A callable(event, card, name, what, count) told what later calls
        could not carry into their target (EConversionEvent), card by card;
        None: none."""
        return self._report

    @ConversionReport.setter
    def ConversionReport(self, callback: Optional[ReportCallback]) -> None:
        self._call("put_ConversionReport", None if callback is None else _Report(callback))
        self._report = callback

    # --- Contacts and duplicates ----------------------------------------
    def CreateCardContact(self) -> CardContact:
        """A new, empty contact."""
        return CardContact(self._call("CreateCardContact")[1], self._log)

    def DR(self, client_cards: Union[Cards, bytes], server_cards: Optional[bytes] = None,
           server_tags: Optional[Sequence[str]] = None,
           dr: int = _velmora.drmNewest) -> Resolved:
        """Duplicate resolution between client cards (Cards or vCard bytes)
        and optional server cards (bytes) with optional tags (one per server
        card). `dr`: drmNewest or drmKeepOriginal."""
        client = client_cards.raw if isinstance(client_cards, Cards) else client_cards
        tags = None if server_tags is None else list(server_tags)
        _, to_add, to_overwrite, dups = self._call("DR", client, server_cards, tags,
                                                   _velmora.EDRMethod(int(dr)))
        return Resolved(wrap_cards(to_add, self._log), wrap_cards(to_overwrite, self._log), dups)

    # --- CSV ------------------------------------------------------------
    def LoadCsvContent(self, file_name: PathLike, default_codepage: int = 0) -> CsvContent:
        """A CSV file as a CsvContent; UTF-8 and UTF-16 are recognised, other
        bytes decoded with `default_codepage` (0: the system's ANSI code
        page). An empty file gives a content with status S_NO_CONTENT."""
        status, raw = self._call("LoadCsvContent", _path(file_name), default_codepage)
        return CsvContent(raw, self._log, status)

    def LoadCsvContentFromMemory(self, data: bytes, default_codepage: int = 0) -> CsvContent:
        status, raw = self._call("LoadCsvContentFromMemory", data, default_codepage)
        return CsvContent(raw, self._log, status)

    def AutodetectCsv(self, file_name: PathLike) -> CsvDetection:
        """The dialect, separator, Outlook locale and encoding of a CSV file."""
        _, empty, separator, headers, cp, lid, custom, kind = self._call(
            "AutodetectCsv3", _path(file_name))
        return CsvDetection(kind, separator, headers, empty, cp, lid, custom)

    def AutodetectCsvHeaders(self, names: Sequence[str]) -> HeadersDetection:
        """The dialect and Outlook locale of a header row; one code per name."""
        _, codes, lid, custom, kind = self._call("AutodetectCsvHeaders", list(names))
        return HeadersDetection(kind, list(codes), lid, custom)

    def GetCsvHeaders(self) -> List[Tuple[str, int, bool]]:
        """Every name the catalogue knows: (name, code, default)."""
        _, names, codes, defaults = self._call("GetCsvHeaders")
        return list(zip(names, codes, defaults))

    def GetCsvHeaders2(self, csv_type: int) -> CsvHeaders:
        """The columns of a dialect (not vlmcsvUnknown)."""
        return CsvHeaders(self._call("GetCsvHeaders2", _velmora.ECsvType(int(csv_type)))[1],
                          self._log)

    def GetCsvHeaderKnownTypes(self, code: int) -> List[str]:
        """The type words of a grouped column's group; empty otherwise."""
        return list(self._call("GetCsvHeaderKnownTypes", code)[1])

    @property
    def CsvOutlookLocalesCount(self) -> int:
        return int(self._call("get_CsvOutlookLocalesCount")[1])

    def CsvOutlookLocalesItem(self, index_or_lid: Union[int, str]) -> CsvOutlookLocale:
        """A locale by position or by LID."""
        return CsvOutlookLocale(self._call("get_CsvOutlookLocalesItem", index_or_lid)[1],
                                self._log)

    def CsvOutlookLocales(self) -> List[CsvOutlookLocale]:
        """Every loaded locale."""
        return [self.CsvOutlookLocalesItem(i) for i in range(self.CsvOutlookLocalesCount)]

    def ParseGooglePlainName(self, header: str) -> Optional[GoogleName]:
        """A plain Google column name read ("E-mail 'Home' 2"); None when it
        does not follow the grammar."""
        _, group, prop, kind, index, success = self._call("ParseGooglePlainName", header)
        return GoogleName(int(group), int(prop), kind, index) if success else None

    def MapCsvHeaders(self, src: Sequence[str],
                      dst: Sequence[str]) -> Tuple[List[int], List[int]]:
        """(src2dst, src_append2dst): the destination column each source
        column fills, and the one it is appended to (-1: none)."""
        _, append, src2dst = self._call("MapCsvHeaders", list(src), list(dst))
        return list(src2dst), list(append)

    def MapCsvHeaders2Google(self, src: Sequence[str],
                             flags: int = 0) -> List[Tuple[int, str, int, bool]]:
        """Per source column: (code, type word, index for that type, appended)."""
        _, code, kind, index, append = self._call("MapCsvHeaders2Google", list(src), int(flags))
        return list(zip(code, kind, index, append))

    def ConvertCsvDate(self, src_type: int, src: str, dst_type: int, force: bool = False) -> str:
        """A date cell of one dialect as another writes it."""
        return self._call("ConvertCsvDate", _velmora.ECsvType(int(src_type)), src,
                          _velmora.ECsvType(int(dst_type)), force)[1]

    def SaveMemoryCSV(self, vcards: bytes, dst_dir: PathLike, base_name: str = "contacts",
                      csv_type: int = _velmora.vlmcsvOutlook, locale: str = "",
                      single_file: bool = True, signature: bool = True, headers: bool = True,
                      encoding_type: int = _velmora.vlmcetMultibyte, codepage: int = 65001,
                      dr: int = _velmora.drmNone, *,
                      progress: Optional[ProgressCallback] = None,
                      cancel: Optional[CancelCallback] = None) -> Saved:
        """The cards as CSV of `csv_type` (vlmcsvOutlook, vlmcsvGoogle or
        vlmcsvOutlook365v2; Outlook also in the words of `locale`): one file
        "<base_name>.csv" or one per contact."""
        status, saved, skipped_all, skipped_dups, errors, io_errors, files = self._call(
            "SaveMemoryCSV2", vcards, _path(dst_dir), base_name,
            _velmora.ECsvType(int(csv_type)), locale, single_file, signature, headers,
            _velmora.ECsvEncodingType(int(encoding_type)), codepage,
            _velmora.EDRMethod(int(dr)), adapt(progress, cancel))
        return Saved(list(files), saved, skipped_all, skipped_dups, errors, io_errors, status)

    # --- Spreadsheets ---------------------------------------------------
    def AutodetectXls(self, file_name: PathLike, detect_outlook_lid: bool = True) -> List[SheetInfo]:
        """Every sheet of a workbook described; empty for one without sheets."""
        since = self._log.mark()
        _, result, error, names, empty, headers, types, lids, custom = self._call(
            "AutodetectXls", _path(file_name), detect_outlook_lid)
        raise_for(self._log, since, "AutodetectXls", result, error)
        return [SheetInfo(*row) for row in zip(names, empty, headers, types, lids, custom)]

    def LoadXlsCells(self, file_name: PathLike, sheet: int = 0, detect_type: bool = True,
                     flags: Optional[int] = None, max_rows: int = -1) -> Optional[XlsSheet]:
        """One sheet (0-based) as cells read under `flags` (EXlsFlags; None:
        xlsfDefault); None when the workbook has no such sheet."""
        since = self._log.mark()
        _, result, raw, error, name, empty, kind, lid, custom, headers = self._call(
            "LoadXlsCells", _path(file_name), sheet, detect_type,
            None if flags is None else int(flags), max_rows)
        raise_for(self._log, since, "LoadXlsCells", result, error)
        if raw is None:
            return None
        return XlsSheet(CsvCells(raw, self._log), name, empty, kind, lid, custom, headers)

    def SaveCsvContent2Xls(self, file_name: PathLike, sheet_name: str, csv_text: str,
                           separator: str = "", flags: Optional[int] = None) -> int:
        """CSV text written as string cells into a new one-sheet workbook;
        S_FALSE when some cells were beyond the format's limits."""
        since = self._log.mark()
        _, result, error = self._call("SaveCsvContent2Xls", _path(file_name), sheet_name,
                                      csv_text, separator, None if flags is None else int(flags))
        raise_for(self._log, since, "SaveCsvContent2Xls", result, error)
        return result

    def SaveMemoryXLS(self, vcards: bytes, dst_dir: PathLike, base_name: str = "contacts",
                      ext: str = ".xlsx", sheet_name: str = "Contacts",
                      csv_type: int = _velmora.vlmcsvOutlook, locale: str = "",
                      dr: int = _velmora.drmNone, *,
                      progress: Optional[ProgressCallback] = None,
                      cancel: Optional[CancelCallback] = None) -> Saved:
        """The cards as one workbook (`ext` ".xls" or ".xlsx"): a header row
        and one row per contact, the rows SaveMemoryCSV writes."""
        since = self._log.mark()
        _, result, filename, error, saved, skipped_all, skipped_dups, errors = self._call(
            "SaveMemoryXLS", vcards, _path(dst_dir), base_name, ext, sheet_name,
            _velmora.ECsvType(int(csv_type)), locale, _velmora.EDRMethod(int(dr)),
            adapt(progress, cancel))
        raise_for(self._log, since, "SaveMemoryXLS", result, error)
        return Saved([filename] if filename else [], saved, skipped_all, skipped_dups, errors, 0,
                     result)

    # --- Google and CSV cell values -------------------------------------
    def EncodeGoogleValue(self, value: str, is_sub_value: bool = False) -> str:
        return self._call("EncodeGoogleValue", value, is_sub_value)[1]

    def EncodeGoogleMValue(self, values: Sequence[str], default_index: int = -1) -> str:
        return self._call("EncodeGoogleMValue", list(values), default_index)[1]

    def EncodeGoogleMValue2(self, string_list: str, list_separators: Optional[str] = None,
                            trim: bool = True, default_index: int = -1) -> str:
        return self._call("EncodeGoogleMValue2", string_list, list_separators, trim,
                          default_index)[1]

    def Categories2GroupMembership(self, categories: str, list_separators: Optional[str] = None,
                                   trim: bool = True, ensure_my_contacts: bool = True,
                                   default_index: int = -1) -> str:
        return self._call("Categories2GroupMembership", categories, list_separators, trim,
                          ensure_my_contacts, default_index)[1]

    def EscapeCell(self, cell: str, separator: Optional[str] = None,
                   list_separator: Optional[str] = None, force: bool = False) -> str:
        """A cell quoted as the CSV writers quote it."""
        return self._call("EscapeCell", cell, separator, list_separator, force)[1]
