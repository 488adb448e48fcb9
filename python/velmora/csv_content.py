"""CsvContent (one loaded CSV text and the settings of its next parse) and
CsvCells (one parsed table)."""

from __future__ import annotations

from typing import Any, Iterator, List, Optional, Sequence

from . import _velmora
from ._errors import NO_LOG, LogTail
from ._objects import Wrapper, accessor, getter
from ._progress import CancelCallback, ProgressCallback, adapt
from .cards import Cards


class CsvCells(Wrapper):
    """One parsed table. The first row is the header row when HasHeaderRow
    is true; its header codes say what each column holds. Iteration gives
    the rows as lists of str (only the cells each row has)."""

    HasHeaderRow = getter("HasHeaderRow")
    RowCount = getter("RowCount", "Rows of the table, the header row included.")
    ColCount = getter("ColCount", "Columns: one per header code.")

    def __len__(self) -> int:
        return int(self.RowCount)

    def __iter__(self) -> Iterator[List[str]]:
        for i in range(self.RowCount):
            yield self.row(i)

    def Cell(self, row: int, col: int) -> str:
        """The cell; "" for a column the row is too short to have."""
        return self._call("Cell", row, col)[1]

    def row(self, row: int) -> List[str]:
        """The cells the row has (rows are never padded)."""
        return list(self._call("row", row)[1])

    def HeaderCode(self, col: int) -> int:
        """The column's header code; 0: not known."""
        return int(self._call("get_HeaderCode", col)[1])

    def SetHeaderCode(self, col: int, code: int) -> None:
        """Sets the column's header code: 0 or one the catalogue knows."""
        self._call("put_HeaderCode", col, code)

    @property
    def HeaderCodes(self) -> List[int]:
        """Every column's header code."""
        return [self.HeaderCode(c) for c in range(self.ColCount)]

    def HeaderName(self, col: int) -> str:
        """The catalogue's name of the column's code; "" for 0 or unknown."""
        return self._call("HeaderName", col)[1]

    @property
    def EmptyHeadersCount(self) -> int:
        """Columns whose code is 0."""
        return int(self._call("EmptyHeadersCount")[1])

    def ResetHeaders(self) -> None:
        """Finds the header codes again from the header row."""
        self._call("ResetHeaders")

    def ConvertRows(self, from_: int = -1, count: int = -1, *,
                    progress: Optional[ProgressCallback] = None,
                    cancel: Optional[CancelCallback] = None) -> Optional[Cards]:
        """Rows `from_` .. `from_ + count - 1` as vCards 3.0 in UTF-8
        (`from_` -1: the first data row; `count` 0 or below: to the end).
        None when no row gave a card or `cancel` answered True. The returned
        Cards carries `stats_empties` and `stats_errors`. Raises Error when
        no column has a known header code."""
        status, empties, errors, raw = self._call(
            "ConvertRows", adapt(progress, cancel), from_, count)
        if raw is None:
            return None
        cards = Cards(raw, self._log, status)
        cards.stats_empties = empties  # type: ignore[attr-defined]
        cards.stats_errors = errors  # type: ignore[attr-defined]
        return cards

    def PlainCsv(self, flags: Optional[int] = None) -> bool:
        """Google's grouped columns flattened into one column per meaning,
        then the header codes found again; True when a header or cell
        changed. `flags`: EPlainCsvFlags (None: pcfDefault)."""
        if flags is None:
            return bool(self._call("PlainCsv")[1])
        return bool(self._call("PlainCsvEx", int(flags))[1])

    def RowToString(self, row: int, separator: Optional[str] = None,
                    transpose: bool = False) -> str:
        """A row's cells quoted and joined by `separator` (one character;
        None: ","); with `transpose` one per line."""
        return self._call("RowToStringEx", row, separator, transpose)[1]

    def ColToString(self, col: int, separator: Optional[str] = None,
                    transpose: bool = False) -> str:
        """A column down the rows, one per line; with `transpose` joined."""
        return self._call("ColToStringEx", col, separator, transpose)[1]

    def CellsToString(self, separator: Optional[str] = None, transpose: bool = False) -> str:
        """The table back as CSV text, lines ending CR LF."""
        return self._call("CellsToStringEx", separator, transpose)[1]


class CsvContent(Wrapper):
    """One CSV text, decoded, and the settings of its next parse. `status`
    is S_NO_CONTENT (1) for an empty file."""

    def __init__(self, raw: Any, log: LogTail = NO_LOG, status: int = 0) -> None:
        super().__init__(raw, log)
        self.status = status

    Content = getter("Content")
    ContentLength = getter("ContentLength", "The text's length in UTF-16 units.")
    CodepageDetected = getter("CodepageDetected",
                              "65001, 1200 or 1201 when recognised from the bytes, else 0.")
    IsCodepageReadOnly = getter("IsCodepageReadOnly")
    ParseFlags = accessor("ParseFlags", "ECsvParseFlags for the next parse.")
    Separators = accessor("Separators", "Every character separates cells; \"\" stores \",\".")
    Quote = accessor("Quote", "One character; \"\" stores '\"'.")
    OutlookLID = accessor("OutlookLID", "The Outlook locale of the header names and words.")

    @property
    def Codepage(self) -> int:
        """The code page the text was decoded with; setting it decodes the
        bytes again (refused, ValueError, when the encoding was recognised)."""
        return int(self._get("Codepage"))

    @Codepage.setter
    def Codepage(self, value: int) -> None:
        if self._call("put_Codepage", value) == _velmora.S_NO_CONTENT:
            raise ValueError("the code page is read-only: the encoding was recognised")

    def Parse(self, max_rows: int = -1, skip_first_rows: int = 0, *,
              parse_flags: Optional[int] = None, separators: Optional[str] = None,
              quote: Optional[str] = None, outlook_lid: Optional[str] = None) -> Optional[CsvCells]:
        """Splits the text into a new table, or None when it holds no cells.
        Given settings are stored first and stay for later parses."""
        flags = None if parse_flags is None else int(parse_flags)
        _, raw = self._call("Parse2", max_rows, skip_first_rows, flags, separators, quote,
                            outlook_lid)
        return None if raw is None else CsvCells(raw, self._log)

    def AutoDetectSeparator(self) -> Optional[str]:
        """",", ";" or TAB, whichever splits the first rows; None when none does."""
        status, separator = self._call("AutoDetectSeparator")
        return None if status == _velmora.S_NO_CONTENT else separator
