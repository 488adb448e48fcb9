"""Progress callbacks and cancellation as Python callables."""

from __future__ import annotations

from typing import Callable, Optional

ProgressCallback = Callable[[int, int, int, int, int], None]
CancelCallback = Callable[[], bool]


class Progress:
    """Adapts two callables to the library's progress interface.

    `progress(i, total, success, skipped, errors)` is called after each card
    (each row for CSV); `cancel()` is asked right after and a true answer
    stops the operation after the current card. An exception raised by
    either stops the operation and is raised from the call.
    """

    def __init__(self, progress: Optional[ProgressCallback], cancel: Optional[CancelCallback]) -> None:
        self._progress = progress
        self._cancel = cancel

    def OnCardConverterProgress(self, i: int, total: int, success: int, skipped: int,
                                errors: int) -> None:
        if self._progress is not None:
            self._progress(i, total, success, skipped, errors)

    def IsCardConverterCancelled(self) -> bool:
        return bool(self._cancel()) if self._cancel is not None else False


def adapt(progress: Optional[ProgressCallback], cancel: Optional[CancelCallback]) -> Optional[Progress]:
    if progress is None and cancel is None:
        return None
    return Progress(progress, cancel)
