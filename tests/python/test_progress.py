"""Progress callbacks and cancellation as Python callables, and the
conversion report."""

import pytest

import velmora
from conftest import SAMPLES


def _cards(n):
    return b"".join(("BEGIN:VCARD\r\nVERSION:2.1\r\nN:P%d;Q;;;\r\nFN:Q P%d\r\nEND:VCARD\r\n"
                     % (i, i)).encode() for i in range(n))


def test_progress_after_each_card_and_cancel_keeps_the_cards_read(conv):
    calls = []
    cards = conv.LoadMemory(_cards(5), progress=lambda *args: calls.append(args))
    assert len(cards) == 5 and cards.status == velmora.S_OK
    assert [c[0] for c in calls] == [1, 2, 3, 4, 5]
    assert calls[-1][2] == 5  # cards kept
    asked = []

    def cancel():
        asked.append(1)
        return len(asked) >= 2

    cards = conv.LoadMemory(_cards(6), cancel=cancel)
    assert cards.status == velmora.S_FALSE and len(cards) == 2


def test_cancel_converting_saving_and_counting(conv, tmp_path):
    assert conv.ConvertMemory(_cards(6), 3.0, cancel=lambda: True).converted == 1
    saved = conv.SaveMemory(_cards(4), tmp_path, cancel=lambda: True)
    assert saved.saved == 1 and saved.status == velmora.S_FALSE
    path = tmp_path / "four.vcf"
    path.write_bytes(_cards(4))
    counted = conv.CountFilesContacts([path], cancel=lambda: True)
    assert counted.status == velmora.S_FALSE and counted.count == 1


def test_csv_rows_progress_and_cancel(conv):
    cells = conv.LoadCsvContentFromMemory(
        b"First Name,Last Name\r\nA,B\r\nC,D\r\nE,F\r\n").Parse()
    calls = []
    cards = cells.ConvertRows(progress=lambda *a: calls.append(a))
    assert len(cards) == 3 and [c[:2] for c in calls] == [(1, 3), (2, 3), (3, 3)]
    assert cells.ConvertRows(cancel=lambda: True) is None


def test_callback_exception_stops_and_is_raised(conv):
    seen = []

    def boom(*args):
        seen.append(args)
        raise KeyError("from the callback")

    with pytest.raises(KeyError):
        conv.ConvertMemory(_cards(5), 3.0, progress=boom)
    assert len(seen) == 1


def test_conversion_report(conv):
    events = []
    conv.ConversionReport = lambda *e: events.append(e)
    card = ("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Kovač;Ivan;;;\r\nFN:Ivan Kovač\r\n"
            "GEO:1.0;2.0\r\nEND:VCARD\r\n").encode()
    conv.ConvertMemory(card, 2.1, 1252)
    kinds = {e[0] for e in events}
    assert velmora.cevPropertyDropped in kinds and velmora.cevCharactersLost in kinds
    assert all(e[1] == 1 for e in events)
    conv.ConversionReport = None
    events.clear()
    conv.ConvertMemory(card, 2.1, 1252)
    assert events == []
