"""The raw layer's mapping of Python values to the library's optional
arguments, and every contact field reaching its own member."""

import pytest

import velmora
from velmora import _velmora
from velmora.contact import _FIELDS

# Python value -> what get_CsvOutlookLocalesItem answers: a str is a LID, a
# 32-bit integer (signed, else unsigned) a position, anything else the wrong
# kind.
VARIANTS = [
    (0, velmora.S_OK),
    (-1, velmora.E_BOUNDS),
    (2 ** 31, velmora.E_BOUNDS),  # unsigned 32-bit: a position too
    (True, velmora.E_INVALIDARG),  # a bool is no integer here
    (1.0, velmora.E_INVALIDARG),
    (b"1031", velmora.E_INVALIDARG),
    (["1031"], velmora.E_INVALIDARG),
    (None, velmora.E_INVALIDARG),  # missing
]


@pytest.mark.parametrize("value,status", VARIANTS, ids=repr)
def test_variant_kinds(value, status):
    raw = _velmora.ICardConverter()
    headers = velmora.DataDirectory() + "/supportedOutlookHeaders.csv"
    assert raw.InitEx2("", log=False, sup_ol_headers_csv=headers) == velmora.S_OK
    got, locale = raw.get_CsvOutlookLocalesItem(value)
    assert got == status
    assert (locale is not None) == (status == velmora.S_OK)
    if locale is not None:
        lid = locale.get_LID()[1]
        assert raw.get_CsvOutlookLocalesItem(lid)[1].get_LID() == (velmora.S_OK, lid)


def test_variant_out_of_range_and_foreign_objects():
    raw = _velmora.ICardConverter()
    raw.InitEx2("", log=False)
    with pytest.raises(TypeError):
        raw.get_CsvOutlookLocalesItem(2 ** 40)
    with pytest.raises(TypeError):
        raw.get_CsvOutlookLocalesItem({"lid": 1})
    # A library object is a Variant of its own kind: Cards for DR.
    status, cards = raw.LoadMemory(b"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nN:A;;;;\r\nEND:VCARD\r\n")
    status, to_add, _, dups = raw.DR(cards)
    assert status == velmora.S_OK and to_add.get_Count() == (0, 1)


@pytest.mark.parametrize("name", _FIELDS)
def test_every_plain_field_reaches_its_own_member(conv, name):
    # Each field written alone shows in that field and no other.
    contact = conv.CreateCardContact()
    value = {"Birthday": 40000.0, "LastModificationTime": 41000.5, "Sensitivity": 2,
             "Gender": 1, "SelectedMailingAddress": 3,
             "NetMeetingNames": "callto://server.example/alias"}.get(name, "v-" + name)
    before = {f: getattr(contact, f) for f in _FIELDS}
    setattr(contact, name, value)
    assert getattr(contact, name) == value
    changed = {f for f in _FIELDS if getattr(contact, f) != before[f]}
    if name == "NetMeetingNames":
        assert changed == {"NetMeetingNames", "NetMeetingServer", "NetMeetingAlias"}
    elif name in ("NetMeetingServer", "NetMeetingAlias"):
        assert changed == {name, "NetMeetingNames"}
    else:
        assert changed == {name}
