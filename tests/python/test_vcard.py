"""vCards through the Pythonic layer: converting, loading, saving. The
corpus round trip and file validity are tests/vcard's and tests/automation's."""

import pytest

import velmora
from conftest import SAMPLES


def test_convert_file_matches_memory(conv, tmp_path):
    src = SAMPLES / "mixed.vcf"
    dst = tmp_path / "out.vcf"
    stats = conv.ConvertFile(src, dst, 2.1, 1252, "windows-1252")
    memory = conv.ConvertMemory(src.read_bytes(), 2.1, 1252, "windows-1252")
    assert dst.read_bytes().rstrip(b"\r\n") == memory.data.rstrip(b"\r\n")
    assert (stats.converted, stats.copied, stats.errors) == (memory.converted, memory.copied, 0)
    assert b"VERSION:2.1" in memory.data and b"VERSION:3.0" not in memory.data


def test_load_files_counts_and_limits(conv, tmp_path):
    files = [SAMPLES / "mixed.vcf", SAMPLES / "family-3.0-apple.vcf"]
    counts = [len(conv.LoadFile(f)) for f in files]
    assert len(conv.LoadFiles([tmp_path / "none.vcf"] + files)) == sum(counts)
    assert len(conv.LoadFiles(files, max_contacts=2)) == 2
    tagged = conv.LoadFile(files[0], add_source_prop=True)
    assert all(b"X-ZORVA-SOURCE:" in card for card in tagged)


def test_cards_sequence_protocol(conv):
    cards = conv.LoadFile(SAMPLES / "mixed.vcf")
    items = list(cards)
    assert len(items) == len(cards) > 1
    assert cards[-1] == items[-1] and cards[0:2] == items[:2]
    assert all(isinstance(c, bytes) and c.startswith(b"BEGIN:VCARD") for c in items)
    with pytest.raises(IndexError):
        cards[len(cards)]
    assert bytes(cards) == b"\r\n".join(c.strip() for c in items)


def test_save_memory_one_file_per_card_and_single(conv, tmp_path):
    data = (SAMPLES / "mixed.vcf").read_bytes()
    n = len(conv.LoadMemory(data))
    split = conv.SaveMemory(data, tmp_path / "split", version=2.1)
    assert split.saved == n and len(split.files) == n and split.errors == 0
    single = conv.SaveMemory(data, tmp_path, "all", single_file=True)
    assert single.files == [str(tmp_path / "all.vcf")] and single.saved == n
    assert len(conv.LoadFile(tmp_path / "all.vcf")) == n


def test_save_memory_drops_duplicates(conv, tmp_path):
    def card(rev):
        return (b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jane;;;\r\nFN:Jane Doe\r\n"
                b"EMAIL:jane@example.org\r\nREV:%sT000000Z\r\nEND:VCARD\r\n" % rev)
    data = card(b"20190101") + card(b"20210101") + card(b"20200101")
    saved = conv.SaveMemory(data, tmp_path, dr=velmora.drmNewest)
    assert (saved.saved, saved.skipped_dups, saved.skipped_all) == (1, 2, 2)
    assert b"REV:2021" in open(saved.files[0], "rb").read()
