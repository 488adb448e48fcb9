"""CSV through the Pythonic layer: one import per dialect from real
exports, one export per dialect read back, the content and cells objects."""

import pytest

import velmora
from conftest import CORPUS, SAMPLES, people

def test_import_of_a_real_export(conv):
    # Every corpus file is CsvContentObjects.CorpusFilesLoadParseAndConvert's
    # (tests/automation); here the wrappers' conversions of one.
    path = CORPUS / "csv-other/tb_csv_semicolon.csv"
    with conv.LoadCsvContent(path, 1252) as content:
        sep = content.AutoDetectSeparator()
        assert sep == ";"
        cells = content.Parse(separators=sep, outlook_lid=conv.AutodetectCsv(path).outlook_lid)
        assert cells.HasHeaderRow and len(cells.row(0)) == cells.ColCount
        assert [cells.HeaderCode(c) for c in range(cells.ColCount)] == cells.HeaderCodes
        cards = cells.ConvertRows()
        assert len(cards) == 2 and cards.stats_empties + cards.stats_errors == cells.RowCount - 3


# dialect, Outlook locale
EXPORTS = [(velmora.vlmcsvOutlook, ""), (velmora.vlmcsvGoogle, ""),
           (velmora.vlmcsvOutlook365v2, ""), (velmora.vlmcsvOutlook, "1031")]


@pytest.mark.parametrize("dialect,lid", EXPORTS, ids=lambda v: str(v))
def test_export_per_dialect_reads_back(conv, tmp_path, dialect, lid):
    data = (SAMPLES / "mixed.vcf").read_bytes()
    names = people(conv.LoadMemory(data))
    saved = conv.SaveMemoryCSV(data, tmp_path, "book", dialect, locale=lid)
    assert saved.saved == len(names) and saved.files == [str(tmp_path / "book.csv")]
    found = conv.AutodetectCsv(tmp_path / "book.csv")
    assert (found.type, found.outlook_lid) == (dialect, lid)
    content = conv.LoadCsvContent(tmp_path / "book.csv")
    assert content.CodepageDetected == 65001 and content.IsCodepageReadOnly
    back = content.Parse(outlook_lid=found.outlook_lid).ConvertRows()
    assert people(back) == names


@pytest.mark.xfail(strict=True, reason="rows of a plained Google table lose the grouped "
                   "columns' values (e-mail, phone, organisation) on import")
def test_plained_google_table_imports_the_same(conv, tmp_path):
    data = (SAMPLES / "mixed.vcf").read_bytes()
    conv.SaveMemoryCSV(data, tmp_path, "g", velmora.vlmcsvGoogle)
    cells = conv.LoadCsvContent(tmp_path / "g.csv").Parse()
    assert cells.PlainCsv() is True
    assert people(cells.ConvertRows()) == people(conv.LoadMemory(data))


def test_export_utf16_and_one_file_per_contact(conv, tmp_path):
    data = (SAMPLES / "mixed.vcf").read_bytes()
    n = len(conv.LoadMemory(data))
    saved = conv.SaveMemoryCSV(data, tmp_path, single_file=False,
                               encoding_type=velmora.vlmcetUTF16)
    # The marks and encodings are CsvSave.FilesPerDialectAndEncoding's.
    assert len(saved.files) == n and open(saved.files[0], "rb").read().startswith(b"\xff\xfe")


def test_content_settings_and_text(conv):
    content = conv.LoadCsvContentFromMemory(b"Name;E-mail Address\r\nA;a@x\r\n\r\nB;b@x\r\n")
    assert content.Content.startswith("Name;") and content.ContentLength == len(content.Content)
    content.Separators = ""
    assert content.Separators == ","
    with pytest.raises(velmora.Error) as error:
        content.Quote = "ab"
    assert error.value.status == velmora.E_INVALIDARG
    assert content.Quote == '"'
    cells = content.Parse(separators=";")
    assert content.Separators == ";"  # kept for later parses
    assert cells.RowCount == 3 and list(cells) == [["Name", "E-mail Address"], ["A", "a@x"], ["B", "b@x"]]
    assert cells.Cell(2, 1) == "b@x"
    assert cells.RowToString(1, ";") == "A;a@x"
    assert cells.ColToString(0) == "Name\r\nA\r\nB"
    assert cells.CellsToString(";").splitlines() == ["Name;E-mail Address", "A;a@x", "B;b@x"]
    with pytest.raises(velmora.Error):
        cells.ConvertRows(0)  # row 0 is the header row
    assert len(cells.ConvertRows(2)) == 1


def test_blank_text_gives_no_cells_and_empty_file_no_content(conv, tmp_path):
    assert conv.LoadCsvContentFromMemory(b"\r\n  \r\n\r\n").Parse() is None
    empty = tmp_path / "empty.csv"
    empty.write_bytes(b"")
    assert conv.LoadCsvContent(empty).status == velmora.S_NO_CONTENT


def test_read_only_codepage_raises(conv):
    # The decoding rules are CsvContentObjects.CodepageOfTheContent's.
    assert conv.LoadCsvContentFromMemory(b"Name\r\n", 1252).Codepage == 1252
    bom = conv.LoadCsvContentFromMemory(b"\xff\xfeN\x00\r\x00\n\x00")
    with pytest.raises(ValueError):
        bom.Codepage = 1252


def test_header_codes_edit_and_plain_csv(conv):
    cells = conv.LoadCsvContentFromMemory(b"Zzz,E-mail 1 - Type,E-mail 1 - Value\r\n,* Home,a@x\r\n").Parse()
    assert cells.HeaderCode(0) == 0
    cells.SetHeaderCode(0, 2)  # Given Name / First Name
    assert cells.HeaderCode(0) == 2 and cells.HeaderName(0)
    with pytest.raises(velmora.Error):
        cells.SetHeaderCode(0, 0x7777)
    assert cells.PlainCsv() is True
    assert cells.row(0)[-1].startswith("E-mail 'Home'")
    no_header = conv.LoadCsvContentFromMemory(b"a,b\r\n").Parse(parse_flags=0)
    with pytest.raises(velmora.Error) as error:
        no_header.PlainCsv()
    assert error.value.status == velmora.E_ILLEGAL_METHOD_CALL


def test_google_helpers(conv):
    assert conv.EncodeGoogleMValue(["a", "b"], 1) == "a ::: * b"
    assert conv.Categories2GroupMembership("Friends,Work", ",") == "Friends ::: Work ::: * My Contacts"
    name = conv.ParseGooglePlainName("E-mail 'Home' 2")
    assert name is not None and name.group == velmora.csvgEmail and name.type == "Home" and name.type_index == 2
    assert conv.ParseGooglePlainName("no such thing") is None
    assert conv.EscapeCell('say "hi"') == '"say ""hi"""'
    assert conv.ConvertCsvDate(velmora.vlmcsvGoogle, "2001-02-03", velmora.vlmcsvOutlook, True) == "02/03/2001"
    assert conv.EncodeGoogleValue("a ::: b", True) == "a :::: b"
    assert conv.EncodeGoogleMValue2("x; y ;z", ";", True, 0) == "* x ::: y ::: z"
    src2dst, append = conv.MapCsvHeaders(["First Name", "Zzz"], ["First Name", "Notes"])
    assert src2dst[0] == 0 and append[1] == 1


def test_saving_progress_counts_rows(conv, tmp_path):
    data = (SAMPLES / "mixed.vcf").read_bytes()
    for save in (lambda **kw: conv.SaveMemoryCSV(data, tmp_path, "p", **kw),
                 lambda **kw: conv.SaveMemoryXLS(data, tmp_path, "p", **kw)):
        calls = []
        saved = save(progress=lambda *a: calls.append(a))
        assert saved.saved == 4 and len(calls) == 4
        assert calls[-1][2] == 4  # saved so far


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
