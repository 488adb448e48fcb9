"""Workbooks through the Pythonic layer: contacts saved as .xlsx and .xls
and read back, CSV text into a workbook, sheet detection."""

import pytest

import velmora
from conftest import SAMPLES, people


@pytest.mark.parametrize("ext", [".xlsx", ".xls"])
def test_save_memory_xls_reads_back(conv, tmp_path, ext):
    data = (SAMPLES / "mixed.vcf").read_bytes()
    names = people(conv.LoadMemory(data))
    saved = conv.SaveMemoryXLS(data, tmp_path, "book", ext, "People")
    assert saved.files == [str(tmp_path / ("book" + ext))] and saved.saved == len(names)
    sheets = conv.AutodetectXls(saved.files[0])
    assert [s.name for s in sheets] == ["People"]
    assert sheets[0].type == velmora.vlmcsvOutlook and not sheets[0].empty
    sheet = conv.LoadXlsCells(saved.files[0])
    assert sheet.name == "People" and sheet.type == velmora.vlmcsvOutlook
    assert sheet.cells.RowCount == len(names) + 1
    assert people(sheet.cells.ConvertRows()) == names


def test_csv_text_into_a_workbook(conv, tmp_path):
    path = tmp_path / "t.xlsx"
    assert conv.SaveCsvContent2Xls(path, "S", "First Name;Last Name\r\nAda;Lovelace\r\n", ";") == velmora.S_OK
    sheet = conv.LoadXlsCells(path)
    assert list(sheet.cells) == [["First Name", "Last Name"], ["Ada", "Lovelace"]]
    assert sheet.cells.ConvertRows().Preview(0).FullName == "Ada Lovelace"
