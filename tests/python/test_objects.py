"""Previews, contacts and addresses, the header catalogue and the Outlook
locales, duplicate resolution, releasing objects."""

import gc

import pytest

import velmora
from conftest import SAMPLES

JANE = (b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jane;Q;Dr.;\r\nFN:Dr. Jane Q Doe\r\n"
        b"ORG:Acme;Labs\r\nTITLE:Chemist\r\nEMAIL;TYPE=INTERNET:jane@example.org\r\n"
        b"TEL;TYPE=WORK:+1 555 0100\r\nTEL;TYPE=CELL:+1 555 0199\r\n"
        b"ADR;TYPE=HOME:;;1 Main St;Springfield;IL;62701;USA\r\n"
        b"NOTE:line one\\nline two\r\nREV:2020-01-01T00:00:00Z\r\nEND:VCARD\r\n")


def test_preview_contact_and_address(conv):
    cards = conv.LoadMemory(JANE)
    preview = cards.Preview(0)
    # The fields' rules are CardPreview.FieldsOfAFullCard's (tests/automation).
    assert (preview.FullName, preview.FileAs) == ("Dr. Jane Q Doe", "Doe, Jane Q")
    assert preview.Phones == "+1 555 0100, +1 555 0199" and preview.IMPPs == ""
    assert preview.vCard == cards[0]
    contact = cards.Contact(0)
    assert (contact.FirstName, contact.MiddleName, contact.LastName, contact.Title) == ("Jane", "Q", "Doe", "Dr.")
    assert contact.BusinessAddress is None
    home = contact.HomeAddress
    assert home.HasType("home") and not home.IsEmpty
    assert home.ToString(" / ") == "1 Main St / Springfield / IL / 62701 / USA"
    assert contact.LastModificationTime > 0 and not contact.LastModificationTimeIsEmpty


def test_created_contact_round_trips_through_a_card(conv):
    with conv.CreateCardContact() as contact:
        contact.FirstName = "Zoë"
        contact.LastName = "Ångström"
        contact.CompanyName = "Nordlys"
        contact.Gender = velmora.vlmcgFemale
        contact.Birthday = 36526.0  # 2000-01-01
        contact.AddEmail("zoe@example.org")
        contact.AddTelephone("+47 555", velmora.vlmctMobile)
        assert contact.AddAddress("Storgata 1", "Oslo", country="Norway",
                                  address_type=velmora.vlmcaBusiness)
        assert not contact.AddAddress()
        contact.AddRelatedName("Kari", velmora.vlmcrnSpouse)
        contact.AddUrl("https://example.org", velmora.vlmcuPersonal)
        assert not contact.AddAnniversaryDate(0.0)
        for version, codepage in ((3.0, 65001), (2.1, 1252)):
            card = contact.GenerateCard(version, codepage)
            back = conv.LoadMemory(card).Contact(0)
            # Each field's trip is CardContactTest.GenerateInBothVersionsAndReadBack's.
            assert (back.FirstName, back.LastName, back.Spouse) == ("Zoë", "Ångström", "Kari")
            assert (back.BusinessAddress.City, back.Birthday, back.Gender) == (
                "Oslo", 36526.0, velmora.vlmcgFemale)
        contact.Clear()
        assert contact.FirstName == "" and contact.Email1 == ""


def test_google_headers_catalogue(conv):
    # The catalogue's contents are CsvObjects.HeaderCollections's (tests/automation).
    headers = conv.GetCsvHeaders2(velmora.vlmcsvGoogle)
    item = headers[27]
    assert item.Name == "E-mail * - Type" and item.GetIndexedName(3) == "E-mail 3 - Type"
    assert item.GetIndexedCode(3) == item.Code | (3 << 8)
    assert headers.FindByCode(0x03000001).GroupKnownTypes == conv.GetCsvHeaderKnownTypes(0x03000101)
    assert headers.FindByName("Given Name").Code == 2 and headers.FindByCode(0x7FFFFF) is None
    assert len(list(headers)) == len(headers) == 65
    assert conv.GetCsvHeaderKnownTypes(2) == []
    assert ("First Name", 2, True) in conv.GetCsvHeaders()


def test_outlook_locales(conv, quiet):
    count = conv.CsvOutlookLocalesCount
    first = conv.CsvOutlookLocalesItem(0)
    assert conv.CsvOutlookLocalesItem(first.LID).DisplayName == first.DisplayName
    assert len(first.HeaderNames) == first.HeaderCount
    name = first.HeaderName(0)
    assert first.FindHeaderCode(name) == first.HeaderCode(0) == first.HeaderCode(0, 0)
    assert first.FindHeaderName(first.HeaderCode(0)) == name
    with pytest.raises(velmora.Error):
        first.HeaderName(first.HeaderCount)
    with pytest.raises(velmora.Error) as error:
        conv.CsvOutlookLocalesItem(count)
    assert error.value.status == velmora.E_BOUNDS  # the other kinds: test_raw.py
    assert len(conv.CsvOutlookLocales()) == count
    assert velmora.CardConverter(outlook_headers=False).CsvOutlookLocalesCount == 0


def _card(name, rev):
    return ("BEGIN:VCARD\r\nVERSION:3.0\r\nN:%s;;;;\r\nFN:%s\r\nEMAIL:%s@x.org\r\n"
            "REV:%s\r\nEND:VCARD\r\n" % (name, name, name.lower(), rev)).encode()


def test_dr_between_client_and_server(conv):
    client = _card("Ann", "2021-01-01T00:00:00Z") + _card("Bob", "2021-01-01T00:00:00Z") + \
        _card("Bob", "2020-01-01T00:00:00Z")
    server = _card("Ann", "2019-01-01T00:00:00Z")
    resolved = conv.DR(conv.LoadMemory(client), server, ["srv-ann"])
    assert resolved.client_duplicates == 1
    assert [p.FullName for p in resolved.to_add.previews()] == ["Bob"]
    assert [p.FullName for p in resolved.to_overwrite.previews()] == ["Ann"]
    assert resolved.to_overwrite.Tag(0) == "srv-ann"
    # From bytes, no server: only the duplicate goes.
    alone = conv.DR(client)
    assert len(alone.to_add) == 2 and alone.to_overwrite is None


def test_released_objects(conv):
    gc.collect()
    before = velmora.LiveObjectCount()
    with conv.LoadMemory(JANE) as cards:
        preview = cards.Preview(0)
        assert velmora.LiveObjectCount() > before
    with pytest.raises(velmora.Released):
        len(cards)
    preview.close()
    gc.collect()
    assert velmora.LiveObjectCount() == before


PNG = bytes.fromhex("89504e470d0a1a0a0000000d4948445200000001000000010806000000"
                    "1f15c4890000000d49444154789c6360000002000154a24f5d0000000049454e44ae426082")


def test_contact_lists_survive_a_card(conv):
    contact = conv.CreateCardContact()
    contact.FirstName, contact.LastName = "Ola", "Nordmann"
    contact.AddEmail("ola@example.org", "SMTP")
    contact.AddTelephoneEx("+47 1", "WORK,FAX")
    contact.AddTelephoneEx("+47 2", None, "Boat")
    contact.AddIMAddress("xmpp:ola@example.org")
    contact.AddRelatedName("Kari", velmora.vlmcrnChild)
    contact.AddRelatedName("Per", velmora.vlmcrnChild)
    contact.AddUrl("https://work.example", velmora.vlmcuBusiness)
    contact.SetPhoto(PNG)
    contact.Body = "  first\r\nsecond  "
    contact.ReferredBy = "Nils"
    assert contact.PhotoExt == "PNG" and contact.PhotoSize == len(PNG) and contact.Photo == PNG
    assert contact.BodyAsSingleString(3) == "fir"
    back = conv.LoadMemory(contact.GenerateCard()).Contact(0)
    assert (back.Email1, back.BusinessFaxNumber) == ("ola@example.org", "+47 1")
    assert back.Children == "Kari,Per"  # the pinned list separator
    assert back.Photo == PNG
    assert "+47 2" in conv.LoadMemory(contact.GenerateCard()).Preview(0).Phones
    with pytest.raises(velmora.Error):
        contact.AddRelatedName("X", velmora.vlmcrnOther)  # needs its label
