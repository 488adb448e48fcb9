"""velmora.Error and the checks that turn failed statuses into it."""

from __future__ import annotations

import os
import re
from typing import Any, Callable, Optional

from . import _velmora

# What a status means when the log holds no line for it (the log is off
# unless the converter was made with log=True).
_DESCRIPTIONS = {
    _velmora.E_GENERIC_FAILURE: "the operation failed",
    _velmora.E_INVALIDARG: "invalid argument",
    _velmora.E_NOTIMPL: "not implemented",
    _velmora.E_POINTER: "a required result was not asked for",
    _velmora.E_BOUNDS: "index out of range",
    _velmora.E_ILLEGAL_METHOD_CALL: "not allowed in the object's current state",
    _velmora.E_OUTOFMEMORY: "out of memory",
    _velmora.HRESULT_FROM_WIN32(2): "file not found",
    _velmora.HRESULT_FROM_WIN32(3): "path not found",
    _velmora.HRESULT_FROM_WIN32(5): "access denied",
    _velmora.HRESULT_FROM_WIN32(80): "the file exists",
    _velmora.HRESULT_FROM_WIN32(112): "the disk is full",
    _velmora.HRESULT_FROM_WIN32(267): "not a folder",
}


def describe(status: int) -> str:
    """A short English description of a status."""
    return _DESCRIPTIONS.get(status, "status 0x%08X" % (status & 0xFFFFFFFF))


class Error(Exception):
    """A failed call: the status code, the log's message and the method.

    `status` is the signed 32-bit status (negative: a failure), `message`
    the error line the call wrote to the log (a description of the status
    when the log is off), `method` the object model's method name.
    """

    def __init__(self, status: int, message: str, method: str) -> None:
        super().__init__(status, message, method)
        self.status = status
        self.message = message
        self.method = method

    def __str__(self) -> str:
        return "%s failed (status 0x%08X): %s" % (
            self.method, self.status & 0xFFFFFFFF, self.message)


# An error-file line: "<version> MM/DD/YY HH:MM:SS Err[status] in Label: message",
# continuation lines indented by a TAB.
_ERROR_LINE = re.compile(r"^(?:\S+ )?\d\d/\d\d/\d\d \d\d:\d\d:\d\d (?:Err|War)\[[^\]]*\] in ([^:]*): (.*)$")


class LogTail:
    """Reads the error lines a call adds to the converter's error file."""

    def __init__(self, path: Optional[str]) -> None:
        self.path = path

    def mark(self) -> int:
        if not self.path:
            return 0
        try:
            return os.stat(self.path).st_size
        except OSError:
            return 0

    def message(self, since: int, method: str) -> str:
        """The message of the last error written since `since`; of those
        the last whose label names `method`, when there is one."""
        if not self.path:
            return ""
        try:
            with open(self.path, "rb") as f:
                f.seek(since)
                text = f.read().decode("utf-8", "replace")
        except OSError:
            return ""
        entries = []
        for line in text.splitlines():
            match = _ERROR_LINE.match(line)
            if match:
                entries.append([match.group(1), match.group(2)])
            elif line.startswith("\t") and entries:
                entries[-1][1] += "\n" + line[1:]
        if not entries:
            return ""
        for label, message in reversed(entries):
            if label.endswith("." + method):
                return message
        return entries[-1][1]


NO_LOG = LogTail(None)


def check(log: LogTail, method: str, call: Callable[..., Any], *args: Any, **kwargs: Any) -> Any:
    """Runs a raw call; a failed status raises Error, anything else is
    returned as the raw call returned it."""
    since = log.mark()
    result = call(*args, **kwargs)
    status = result[0] if isinstance(result, tuple) else result
    if status < 0:
        raise Error(status, log.message(since, method) or describe(status), method)
    return result


def raise_for(log: LogTail, since: int, method: str, status: int, message: str = "") -> None:
    """Raises Error for a failure status reported other than as the call's
    own status (the spreadsheet methods' `result`)."""
    if status < 0:
        raise Error(status, message or log.message(since, method) or describe(status), method)
