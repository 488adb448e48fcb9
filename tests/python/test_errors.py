"""Failures raise velmora.Error with the status, the log's message and the
method; false successes stay return values."""

import pytest

import velmora
from velmora import _velmora
from conftest import CORPUS, SAMPLES

NOT_FOUND = velmora.HRESULT_FROM_WIN32(2)


def test_missing_file_raises_with_the_logs_message(conv, tmp_path):
    with pytest.raises(velmora.Error) as error:
        conv.LoadFile(tmp_path / "missing.vcf")
    e = error.value
    assert e.status < 0 and e.method == "LoadFile"
    assert e.status == NOT_FOUND
    assert e.message == "Cant load file %s" % (tmp_path / "missing.vcf")
    assert "LoadFile" in str(e) and "0x%08X" % (e.status & 0xFFFFFFFF) in str(e)


def test_wrong_arguments_name_the_argument_or_raise_type_errors(conv):
    with pytest.raises(velmora.Error) as error:
        conv.EscapeCell("a", separator=5)
    assert error.value.status == velmora.E_INVALIDARG
    assert error.value.message == "charSeparator must be BSTR or Missing"
    assert error.value.method == "EscapeCell"
    content = conv.LoadCsvContentFromMemory(b"a,b\r\n")
    with pytest.raises(velmora.Error) as error:
        content.Parse().RowToString(0, "ab")
    assert error.value.message == "vSeparator must be BSTR(len=1) or Missing"
    with pytest.raises(velmora.Error) as error:
        content.OutlookLID = "no-such-lid"
    assert (error.value.status, error.value.message) == (velmora.E_INVALIDARG, "cant find locale(no-such-lid)")
    assert content.OutlookLID == ""
    # Python's own checks come before the call.
    with pytest.raises(TypeError):
        conv.ConvertMemory("text, not bytes")
    with pytest.raises(TypeError):
        conv.EscapeCell("a", separator=object())


def test_without_log_the_status_is_described(quiet, tmp_path):
    assert quiet.log_path is None
    with pytest.raises(velmora.Error) as error:
        quiet.ConvertFile(tmp_path / "missing.vcf", tmp_path / "out.vcf")
    assert error.value.status == NOT_FOUND
    assert error.value.message == "file not found"


def test_spreadsheet_failures_carry_the_writers_message(conv, tmp_path):
    with pytest.raises(velmora.Error) as error:
        conv.SaveCsvContent2Xls(tmp_path / "t.xlsb", "S", "a,b")
    assert error.value.status == velmora.E_NOTIMPL
    assert error.value.message == "Writing .xlsb is not supported; save as .xlsx"
    with pytest.raises(velmora.Error) as error:
        conv.SaveMemoryXLS((SAMPLES / "mixed.vcf").read_bytes(), tmp_path, ext=".xlsb")
    assert (error.value.status, error.value.message) == (velmora.E_INVALIDARG, "Invalid DstExt = .xlsb")
    with pytest.raises(velmora.Error) as error:
        conv.LoadXlsCells(tmp_path / "book.txt")
    assert error.value.status == velmora.E_INVALIDARG
    with pytest.raises(velmora.Error) as error:
        conv.LoadXlsCells(CORPUS / "spreadsheets" / "calamine_date.xlsx", sheet=1)
    assert error.value.message == "no sheet 1: the workbook has 1"


def test_false_success_stays_a_return_value(conv, tmp_path):
    data = (SAMPLES / "family-3.0-apple.vcf").read_bytes()
    out = conv.ConvertFile(SAMPLES / "family-3.0-apple.vcf", tmp_path / "o.vcf")
    assert out.status in (velmora.S_OK, velmora.S_FALSE)
    v30 = conv.ConvertMemory(conv.ConvertMemory(data).data)
    assert v30.status == velmora.S_FALSE and v30.converted == 0


def test_raw_layer_returns_statuses():
    raw = _velmora.ICardConverter()
    # Before Init every method refuses with -1.
    assert raw.ConvertMemory(b"BEGIN:VCARD\r\nEND:VCARD\r\n")[0] == velmora.E_GENERIC_FAILURE
    assert raw.InitEx2("", log=False) == velmora.S_OK
    assert raw.InitEx2("", log=False) == velmora.E_GENERIC_FAILURE  # already initialised
    assert raw.InitEx2("", sup_enc_filename=5) == velmora.E_GENERIC_FAILURE
    fresh = _velmora.ICardConverter()
    assert fresh.InitEx2("", sup_enc_filename=5, log=False) == velmora.E_INVALIDARG
    status, cards = raw.LoadMemory(b"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nEND:VCARD\r\n")
    assert status == velmora.S_OK and cards.get_Count() == (0, 1)
    assert cards.Item(1)[0] == velmora.E_INVALIDARG


def test_message_of_the_calls_own_label_wins(tmp_path):
    # Lines of other converters sharing the error file may follow the
    # call's own; continuation lines belong to their entry.
    from velmora._errors import LogTail
    err = tmp_path / "x.err"
    err.write_bytes(b"0.1.0.0 01/01/26 00:00:00 Err[-1] in CComCardConverter.LoadFrom: old\n")
    tail = LogTail(str(err))
    since = tail.mark()
    with open(err, "ab") as f:
        f.write(b"0.1.0.0 01/01/26 00:00:01 Err[0x80070057] in CComCsvCells.ConvertRows: first\n"
                b"\tsecond line\n"
                b"0.1.0.0 01/01/26 00:00:02 Err[-1] in CComCardConverter.ConvertFile: other\n")
    assert tail.message(since, "ConvertRows") == "first\nsecond line"
    assert tail.message(since, "LoadFile") == "other"
    assert LogTail(None).message(0, "LoadFile") == ""
