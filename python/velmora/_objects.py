"""The base of the package's wrappers: a raw object that can be released."""

from __future__ import annotations

from typing import Any, Optional

from ._errors import NO_LOG, LogTail, check


class Released(ValueError):
    """The object was released (closed) and can no longer be used."""


class Wrapper:
    """Holds one raw library object; close() or the end of a `with` block
    releases it, and later use raises Released."""

    _raw_name = "object"

    def __init__(self, raw: Any, log: LogTail = NO_LOG) -> None:
        self._obj: Optional[Any] = raw
        self._log = log

    @property
    def raw(self) -> Any:
        """The raw velmora._velmora object."""
        if self._obj is None:
            raise Released("%s has been released" % type(self).__name__)
        return self._obj

    def close(self) -> None:
        """Releases the library object now rather than when garbage collected."""
        self._obj = None

    @property
    def closed(self) -> bool:
        return self._obj is None

    def __enter__(self):  # type: ignore[no-untyped-def]
        return self

    def __exit__(self, *exc: object) -> None:
        self.close()

    def _call(self, method: str, *args: Any, **kwargs: Any) -> Any:
        """Calls a raw method; a failure raises Error."""
        return check(self._log, method, getattr(self.raw, method), *args, **kwargs)

    def _get(self, name: str) -> Any:
        return self._call("get_" + name)[1]

    def _put(self, name: str, value: Any) -> None:
        self._call("put_" + name, value)


def getter(name: str, doc: str = "") -> property:
    """A read-only property over the raw get_<name>."""
    return property(lambda self: self._get(name), doc=doc or name)


def accessor(name: str, doc: str = "") -> property:
    """A property over the raw get_<name> and put_<name>."""
    return property(lambda self: self._get(name), lambda self, value: self._put(name, value),
                    doc=doc or name)
