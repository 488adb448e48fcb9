"""The CSV header catalogue and the localised Outlook header sets:
CsvHeaders (the columns of one dialect), CsvHeader (one column) and
CsvOutlookLocale (one localised Outlook)."""

from __future__ import annotations

from typing import Iterator, List, Optional

from . import _velmora
from ._objects import Wrapper, getter


class CsvHeader(Wrapper):
    """One catalogue column, named as one dialect names it. Codes: plain
    columns 1 to 125; grouped ones carry the group in bits 24-31, the
    instance in bits 8-23 and the group property in bits 0-7."""

    Code = getter("Code")
    Type = getter("Type")
    IsGroupped = getter("IsGroupped")
    NameFormat = getter("NameFormat", "Grouped columns: the name with %d for the instance.")
    GroupCode = getter("GroupCode")
    GroupName = getter("GroupName")
    GroupPropCode = getter("GroupPropCode")
    GroupPropName = getter("GroupPropName")
    Name = getter("Name")
    NameAlt = getter("NameAlt")

    @property
    def GroupKnownTypes(self) -> List[str]:
        """The type words offered for the group; empty when it has none."""
        return list(self._get("GroupKnownTypes"))

    def GetIndexedCode(self, index: int) -> int:
        """The code of instance `index` of a grouped column; a plain column's code."""
        return int(self._call("GetIndexedCode", index)[1])

    def GetIndexedName(self, index: int) -> str:
        """The name of instance `index` ("E-mail 2 - Value")."""
        return self._call("GetIndexedName", index)[1]

    def __repr__(self) -> str:
        return "<velmora.CsvHeader %r 0x%X>" % (self.Name, self.Code)


class CsvHeaders(Wrapper):
    """The columns of one dialect in their order: len(), indexing and
    iteration give CsvHeader objects."""

    @property
    def Count(self) -> int:
        return int(self._get("Count"))

    def __len__(self) -> int:
        return self.Count

    def Item(self, index: int) -> CsvHeader:
        count = self.Count
        if index < 0:
            index += count
        if not 0 <= index < count:
            raise IndexError("header index out of range")
        return CsvHeader(self._call("get_Item", index)[1], self._log)

    __getitem__ = Item

    def __iter__(self) -> Iterator[CsvHeader]:
        for i in range(self.Count):
            yield CsvHeader(self._call("get_Item", i)[1], self._log)

    def FindByCode(self, code: int) -> Optional[CsvHeader]:
        """The column whose code is `code` (instance bits zero), or None."""
        raw = self._call("FindByCode", code)[1]
        return None if raw is None else CsvHeader(raw, self._log)

    def FindByName(self, name: str) -> Optional[CsvHeader]:
        """The column so named in the dialect or so spelt alternatively
        (case matters), or None."""
        raw = self._call("FindByName", name)[1]
        return None if raw is None else CsvHeader(raw, self._log)


class CsvOutlookLocale(Wrapper):
    """One localised Outlook: its code page, names, value words and header
    names."""

    LID = getter("LID")
    Codepage = getter("Codepage", "0: the system's ANSI code page.")
    CodepageDisplayName = getter("CodepageDisplayName")
    DisplayName = getter("DisplayName")
    DisplayNameShort = getter("DisplayNameShort")
    HeaderCount = getter("HeaderCount")

    def PrivateValue(self, value: bool) -> str:
        return self._call("get_PrivateValue", bool(value))[1]

    def GenderValue(self, value: int) -> str:
        return self._call("get_GenderValue", _velmora.EContactGender(int(value)))[1]

    def PriorityValue(self, value: int) -> str:
        return self._call("get_PriorityValue", _velmora.EContactImportance(int(value)))[1]

    def SensitivityValue(self, value: int) -> str:
        return self._call("get_SensitivityValue", _velmora.EContactSensitivity(int(value)))[1]

    def HeaderName(self, index: int) -> str:
        return self._call("get_HeaderName", index)[1]

    def HeaderCodeCount(self, index: int) -> int:
        return int(self._call("get_HeaderCodeCount", index)[1])

    def HeaderCode(self, index: int, sub_index: int = 0) -> int:
        return int(self._call("get_HeaderCode", index, sub_index)[1])

    @property
    def HeaderNames(self) -> List[str]:
        """Every header name, in the order of the Outlook column list."""
        return [self.HeaderName(i) for i in range(self.HeaderCount)]

    def FindHeaderName(self, code: int) -> str:
        """The localised name of a header code; "" when there is none."""
        return self._call("FindHeaderName", code)[1]

    def FindHeaderCode(self, name: str, sub_index: int = 0) -> int:
        """The code of the `sub_index`-th column so named (case ignored); 0: none."""
        return int(self._call("FindHeaderCode", name, sub_index)[1])

    def __repr__(self) -> str:
        return "<velmora.CsvOutlookLocale %s %r>" % (self.LID, self.DisplayName)
