"""Shared set-up of the Python module's tests: platform settings pinned and
the log, settings and registry kept in a temporary folder, before velmora
is imported."""

import os
import pathlib
import shutil
import tempfile

_HOME = tempfile.mkdtemp(prefix="velmora-pytest-")
os.environ.update({
    "XDG_DATA_HOME": os.path.join(_HOME, "data"),
    "XDG_CONFIG_HOME": os.path.join(_HOME, "config"),
    "VELMORA_REGISTRY_USER": os.path.join(_HOME, "user.ini"),
    "VELMORA_REGISTRY_MACHINE": os.path.join(_HOME, "machine.ini"),
    "VELMORA_ANSI_CODEPAGE": "1252",
    "VELMORA_LIST_SEPARATOR": ",",
    "TZ": "UTC",
})

import pytest  # noqa: E402

import velmora  # noqa: E402

CORPUS = pathlib.Path(__file__).resolve().parent.parent / "data" / "corpus"
SAMPLES = pathlib.Path(__file__).resolve().parent.parent.parent / "samples"


def pytest_sessionfinish(session, exitstatus):
    shutil.rmtree(_HOME, ignore_errors=True)


@pytest.fixture
def conv():
    """A converter with its log on, so that errors carry the log's message."""
    with velmora.CardConverter(log=True) as converter:
        yield converter


@pytest.fixture
def quiet():
    """A converter as velmora.CardConverter() makes it: no log."""
    with velmora.CardConverter() as converter:
        yield converter


def people(cards):
    """Who the cards are, sorted: names, company and first e-mail, what a CSV
    table keeps (it has no column for a company-only contact's formatted
    name)."""
    return sorted((c.LastName, c.FirstName, c.CompanyName, c.Email1, c.MobileTelephoneNumber)
                  for c in cards.contacts())
