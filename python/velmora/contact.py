"""CardContact (a contact field by field) and CardContactAddress (one of its
postal addresses)."""

from __future__ import annotations

from typing import Any, Optional

from . import _velmora
from ._objects import Wrapper, accessor, getter

# Plain fields: read and replaced as they are, no check of the value.
# Dates (Birthday, LastModificationTime) are automation dates: days since
# 1899-12-30, 0.0 for none.
_FIELDS = (
    "FirstName", "MiddleName", "LastName", "Title", "Suffix", "PhoneticFirstName",
    "PhoneticMiddleName", "PhoneticLastName", "FormattedName", "NickName", "MaidenName",
    "Profession", "CompanyName", "Department", "JobTitle", "Body", "Birthday", "Categories",
    "NetMeetingServer", "NetMeetingAlias", "InternetFreeBusyAddress", "LastModificationTime",
    "User1", "User2", "User3", "User4", "Sensitivity", "Gender", "UID",
    "SelectedMailingAddress", "Hobby", "Account", "BillingInformation", "GovernmentIDNumber",
    "Keyword", "Location", "LocationEx", "Mileage", "OrganizationalIDNumber", "School",
    "YomiCompany", "NetMeetingNames", "ReferredBy",
)
_READ_ONLY = (
    "BirthdayIsEmpty", "LastModificationTimeIsEmpty",
    "Email1", "Email1AddressType", "Email2", "Email2AddressType", "Email3", "Email3AddressType",
    "BusinessTelephoneNumber", "Business2TelephoneNumber", "BusinessFaxNumber",
    "HomeTelephoneNumber", "Home2TelephoneNumber", "HomeFaxNumber", "MobileTelephoneNumber",
    "CarTelephoneNumber", "PagerNumber", "ISDNNumber", "PrimaryTelephoneNumber",
    "OtherTelephoneNumber", "OtherFaxNumber", "AssistantTelephoneNumber",
    "CompanyMainTelephoneNumber", "CallbackTelephoneNumber", "RadioTelephoneNumber",
    "TTYTDDTelephoneNumber", "TelexNumber", "ManagerName", "AssistantName", "Spouse",
    "Children", "BusinessHomePage", "PersonalHomePage", "IMAddress", "Anniversary",
    "AnniversaryIsEmpty", "Photo", "PhotoSize", "PhotoExt", "FullName", "FileAs",
)
_ADDRESS_FIELDS = (
    "Types", "ABLabel", "PostOfficeBox", "OfficeLocation", "Street", "StreetAndOfficeLocation",
    "City", "State", "PostalCode", "Country", "IsEmpty",
)


class CardContactAddress(Wrapper):
    """A copy of one postal address, taken when it was asked for: it does not
    follow later changes of the contact."""

    def HasType(self, type: str) -> bool:
        """True when `type` is one of the comma-separated Types (without case)."""
        return bool(self._call("HasType", type)[1])

    def ToString(self, delimiter: str = "") -> str:
        """Street, City, State, PostalCode and Country, trimmed, the empty ones
        left out, joined by `delimiter` (", " when empty)."""
        return self._call("ToString", delimiter)[1]

    def __str__(self) -> str:
        return self.ToString()


for _name in _ADDRESS_FIELDS:
    setattr(CardContactAddress, _name, getter(_name))


class CardContact(Wrapper):
    """A contact field by field: every plain field is a read-write property
    (contact.FirstName = "Jane"), the derived ones read-only; Add* methods
    append to the lists. Made empty by CardConverter.CreateCardContact() or
    filled from a card by Cards.Contact(i)."""

    # Enumerated fields take their enumeration's values.
    _ENUMS = {
        "Sensitivity": _velmora.EContactSensitivity,
        "Gender": _velmora.EContactGender,
        "SelectedMailingAddress": _velmora.EContactAddress,
    }

    def _put(self, name: str, value: Any) -> None:
        kind = self._ENUMS.get(name)
        super()._put(name, kind(int(value)) if kind is not None else value)

    def _address(self, name: str) -> Optional[CardContactAddress]:
        raw = self._get(name)
        return None if raw is None else CardContactAddress(raw, self._log)

    @property
    def BusinessAddress(self) -> Optional[CardContactAddress]:
        """The first business address, or None."""
        return self._address("BusinessAddress")

    @property
    def HomeAddress(self) -> Optional[CardContactAddress]:
        """The first home address, or None."""
        return self._address("HomeAddress")

    @property
    def OtherAddress(self) -> Optional[CardContactAddress]:
        """The first other address, or None."""
        return self._address("OtherAddress")

    def BodyAsSingleString(self, max_chars: int = 0) -> str:
        """Body trimmed, line breaks turned into spaces; at most `max_chars`
        characters when it is 1 or more."""
        return self._call("BodyAsSingleString", max_chars)[1]

    def AddAddress(self, street: str = "", city: str = "", state: str = "",
                   postal_code: str = "", country: str = "", *,
                   address_type: int = _velmora.vlmcaNone, post_office_box: str = "",
                   office_location: str = "") -> bool:
        """Appends an address typed by `address_type` (EContactAddress);
        False, and nothing added, when every component is blank."""
        return bool(self._call("AddAddress", post_office_box, office_location, street, city,
                               state, postal_code, country,
                               _velmora.EContactAddress(address_type))[1])

    def AddEmail(self, email: str, outlook_type: Optional[str] = None) -> None:
        """Appends an e-mail; `outlook_type` such as "SMTP"."""
        self._call("AddEmail", email, outlook_type)

    def AddTelephone(self, phone: str, kind: int) -> None:
        """Appends a telephone into a slot (EContactTelephone)."""
        self._call("AddTelephone", phone, _velmora.EContactTelephone(kind))

    def AddTelephoneEx(self, phone: str, types: Optional[str] = None,
                       ab_label: Optional[str] = None) -> None:
        """Appends a telephone with vCard types ("WORK,FAX") and an Apple label."""
        self._call("AddTelephoneEx", phone, types, ab_label)

    def AddRelatedName(self, name: str, label: int, label_other: Optional[str] = None) -> None:
        """Appends a related name (EContactRelatedName); vlmcrnOther needs
        `label_other`."""
        self._call("AddRelatedName", name, _velmora.EContactRelatedName(label), label_other)

    def AddUrl(self, value: str, kind: int = 0) -> None:
        """Appends a URL; `kind`: EContactUrl bits, 0 adds no type."""
        self._call("AddUrl", value, kind)

    def AddIMAddress(self, value: str) -> None:
        self._call("AddIMAddress", value)

    def AddIMPP(self, value: str, type: str = "", service_type: str = "", protocol: str = "",
                ab_label: str = "") -> None:
        self._call("AddIMPP", value, type, service_type, protocol, ab_label)

    def AddAnniversaryDate(self, value: float, type: Optional[str] = None) -> bool:
        """Appends an anniversary (an automation date); False, and nothing
        added, for an empty date."""
        return self._call("AddAnniversaryDate", value, type) == _velmora.S_OK

    def AddDate(self, value: float, ab_label: str, type: Optional[str] = None) -> None:
        self._call("AddDate", value, ab_label, type)

    def SetPhoto(self, photo: bytes, photo_ext: Optional[str] = None) -> None:
        """Sets the picture; without `photo_ext` its type is found from the bytes."""
        self._call("SetPhoto", photo, photo_ext)

    def Clear(self) -> None:
        """Empties every field and list."""
        self._call("Clear")

    def GenerateCard(self, version: float = 3.0, codepage: int = 65001,
                     charset: Optional[str] = None) -> bytes:
        """The contact as one vCard item: `version` 2.1 or 3.0, `codepage`
        the target code page (0: the system's ANSI code page), `charset` the
        name written (None: the one the encodings list gives)."""
        return self._call("GenerateCard", version, codepage, charset)[1]

    def __repr__(self) -> str:
        return "<velmora.CardContact %r>" % (self.FullName,)


for _name in _FIELDS:
    setattr(CardContact, _name, accessor(_name))
for _name in _READ_ONLY:
    setattr(CardContact, _name, getter(_name))
del _name
