"""vCards through the Pythonic layer: the corpus converted both ways and
back, loading, counting, saving."""

import pytest

import velmora
from conftest import CORPUS, SAMPLES, full_names

VCARDS = sorted(p for folder in ("vcard21", "vcard30", "vcard40")
                for p in (CORPUS / folder).glob("*.vcf"))


def _trimmed(cards):
    return [card.strip() for card in cards]


@pytest.mark.parametrize("path", VCARDS, ids=lambda p: p.name)
def test_corpus_round_trip(conv, path):
    data = path.read_bytes()
    cards = conv.LoadMemory(data)
    names = full_names(cards)
    # Counting the file finds the cards loading keeps.
    assert conv.CountFilesContacts([path]).count == len(cards)

    v30 = conv.ConvertMemory(data, 3.0)
    assert v30.errors == 0
    assert v30.converted + v30.copied == len(cards)
    v21 = conv.ConvertMemory(v30.data, 2.1)
    back = conv.ConvertMemory(v21.data, 3.0)
    # Every card survives both ways under its name.
    assert full_names(conv.LoadMemory(back.data)) == names
    # 3.0 output is already in the target: a second pass copies it unchanged.
    again = conv.ConvertMemory(v30.data, 3.0)
    assert (again.converted, again.copied, again.status) == (0, len(cards), velmora.S_FALSE)
    assert _trimmed(conv.LoadMemory(again.data)) == _trimmed(conv.LoadMemory(v30.data))


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
    both = conv.LoadFiles(files)
    counts = [len(conv.LoadFile(f)) for f in files]
    assert len(both) == sum(counts)
    assert len(conv.LoadFiles(files, max_contacts=2)) == 2
    # A missing file among others is skipped.
    assert len(conv.LoadFiles([tmp_path / "none.vcf"] + files)) == sum(counts)
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


def test_is_card_file_valid(conv, tmp_path):
    cut = tmp_path / "cut.vcf"
    cut.write_bytes(b"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\n")
    assert conv.IsCardFileValid(SAMPLES / "mixed.vcf")
    assert not conv.IsCardFileValid(cut)
    assert not conv.IsCardFileValid(tmp_path / "missing.vcf")


def test_save_memory_one_file_per_card_and_single(conv, tmp_path):
    data = (SAMPLES / "mixed.vcf").read_bytes()
    n = len(conv.LoadMemory(data))
    split = conv.SaveMemory(data, tmp_path / "split", version=2.1)
    assert split.saved == n and len(split.files) == n and split.errors == 0
    assert all(f.endswith(".vcf") for f in split.files)
    # Saving again numbers the names instead of replacing the files.
    again = conv.SaveMemory(data, tmp_path / "split")
    assert not set(again.files) & set(split.files)
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
