"""Cards (a loaded collection of vCards) and CardPreview (one card's
display strings)."""

from __future__ import annotations

from typing import Any, Iterator, List, Optional, Union, overload

from . import _velmora
from ._errors import NO_LOG, LogTail
from ._objects import Wrapper, getter
from .contact import CardContact


class CardPreview(Wrapper):
    """Display strings of one card. Lists (addresses, e-mails, phones,
    instant messaging) are joined by the user's list separator and a space."""

    Addresses = getter("Addresses")
    Company = getter("Company")
    Emails = getter("Emails")
    FileAs = getter("FileAs")
    FullName = getter("FullName")
    IMPPs = getter("IMPPs")
    JobTitle = getter("JobTitle")
    Notes = getter("Notes", "The note on one line.")
    Phones = getter("Phones")
    vCard = getter("vCard", "The card's bytes.")

    def __repr__(self) -> str:
        return "<velmora.CardPreview %r>" % (self.FullName,)


class Cards(Wrapper):
    """An ordered list of cards, each the bytes of one vCard item.

    len(), indexing (negative indexes too) and iteration give the cards'
    bytes; Preview(i), Contact(i) and Tag(i) the rest. `status` is the
    status of the call that made the collection: S_FALSE (1) when loading
    was cancelled and the collection holds the cards read so far.
    """

    def __init__(self, raw: Any, log: LogTail = NO_LOG, status: int = 0) -> None:
        super().__init__(raw, log)
        self.status = status

    @property
    def Count(self) -> int:
        return int(self._get("Count"))

    def __len__(self) -> int:
        return self.Count

    def _index(self, index: int) -> int:
        count = self.Count
        if index < 0:
            index += count
        if not 0 <= index < count:
            raise IndexError("card index out of range")
        return index

    def Item(self, index: int) -> bytes:
        """A copy of the card's bytes."""
        return self._call("Item", self._index(index))[1]

    @overload
    def __getitem__(self, index: int) -> bytes: ...
    @overload
    def __getitem__(self, index: slice) -> List[bytes]: ...

    def __getitem__(self, index: Union[int, slice]) -> Union[bytes, List[bytes]]:
        if isinstance(index, slice):
            return [self.Item(i) for i in range(*index.indices(self.Count))]
        return self.Item(index)

    def __iter__(self) -> Iterator[bytes]:
        for i in range(self.Count):
            yield self._call("Item", i)[1]

    def Preview(self, index: int) -> CardPreview:
        """The card's preview; asking twice for one index gives the same
        library object."""
        return CardPreview(self._call("ItemPreview", self._index(index))[1], self._log)

    def Contact(self, index: int) -> CardContact:
        """The card as a contact; edits made through it stay visible to later
        Contact(index) calls (they never change the card's bytes)."""
        return CardContact(self._call("ItemContact", self._index(index))[1], self._log)

    def previews(self) -> Iterator[CardPreview]:
        """Every card's preview in order."""
        for i in range(self.Count):
            yield CardPreview(self._call("ItemPreview", i)[1], self._log)

    def contacts(self) -> Iterator[CardContact]:
        """Every card as a contact in order."""
        for i in range(self.Count):
            yield CardContact(self._call("ItemContact", i)[1], self._log)

    def Tag(self, index: int) -> str:
        """The card's tag (the server tag of duplicate resolution); empty
        when the collection has no tags."""
        return self._call("Tag", self._index(index))[1]

    def GetAllItems(self) -> bytes:
        """Every card, trimmed, joined by CR LF; empty when no card has
        content."""
        return self._call("GetAllItems")[1]

    def __bytes__(self) -> bytes:
        return self.GetAllItems()

    def __repr__(self) -> str:
        if self.closed:
            return "<velmora.Cards released>"
        return "<velmora.Cards of %d>" % self.Count


def wrap_cards(raw: Optional[Any], log: LogTail, status: int = 0) -> Optional[Cards]:
    return None if raw is None else Cards(raw, log, status)
