"""Bad and odd inputs through the Pythonic layer: every malformed vCard and
every corpus workbook either gives its cards or sheets or raises
velmora.Error with a message, never anything else."""

import pytest

import velmora
from conftest import CORPUS, SAMPLES

MALFORMED = sorted((CORPUS / "vcard-malformed").glob("*.vcf"))
WORKBOOKS = sorted((CORPUS / "spreadsheets").iterdir())


@pytest.mark.parametrize("path", MALFORMED, ids=lambda p: p.name)
def test_malformed_vcards(conv, path):
    valid = conv.IsCardFileValid(path)
    try:
        cards = conv.LoadFile(path)
    except velmora.Error as e:
        # Nothing loadable: refused with the file named, and not valid.
        assert (e.status, e.message) == (velmora.E_GENERIC_FAILURE, "Cant load file %s" % path)
        assert not valid
        return
    assert valid == (len(cards) > 0)
    out = conv.ConvertMemory(path.read_bytes(), 2.1)
    assert out.converted + out.copied + out.errors >= len(cards)
    assert len(conv.LoadMemory(out.data)) == out.converted + out.copied


@pytest.mark.parametrize("path", WORKBOOKS, ids=lambda p: p.name)
def test_corpus_workbooks(conv, path):
    try:
        sheets = conv.AutodetectXls(path)
    except velmora.Error as e:
        assert e.status < 0 and e.message and e.method == "AutodetectXls"
        return
    for index, sheet in enumerate(sheets):
        loaded = conv.LoadXlsCells(path, index, detect_type=False, flags=0)
        assert loaded.name == sheet.name
        assert loaded.cells.RowCount == len(list(loaded.cells))
        limited = conv.LoadXlsCells(path, index, detect_type=False, flags=0, max_rows=1)
        assert limited.cells.RowCount <= 1


def test_header_detection_and_google_mapping(conv):
    names = (SAMPLES / "google-contacts.csv").read_text(encoding="utf-8").splitlines()[0].split(",")
    found = conv.AutodetectCsvHeaders(names)
    assert found.type == velmora.vlmcsvGoogle and not found.has_custom_headers
    assert found.codes[names.index("Given Name")] == 2 and 0 not in found.codes
    custom = conv.AutodetectCsvHeaders(names + ["Zzz"])
    assert custom.has_custom_headers and custom.codes[-1] == 0
    mapped = conv.MapCsvHeaders2Google(["First Name", "E-mail Address", "E-mail 2 Address"])
    # Where each column lands is GoogleColumns.MapsToGoogle's (tests/csv).
    assert mapped[0][0] == 2 and mapped[1][0] >> 24 == velmora.csvgEmail
