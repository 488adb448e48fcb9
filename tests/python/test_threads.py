"""Independent converters in threads: each thread its own converter, the
same input, the same results (and progress calls) as one thread alone."""

import threading
import time

import velmora
from conftest import CORPUS, SAMPLES

INPUTS = [SAMPLES / "mixed.vcf", SAMPLES / "family-3.0-apple.vcf"] + \
    sorted((CORPUS / "vcard21").glob("*.vcf"))[:8]


def _work(data):
    with velmora.CardConverter() as conv:
        calls = []
        out = conv.ConvertMemory(data, 2.1, 1252, "windows-1252")
        back = conv.ConvertMemory(out.data, 3.0)
        cards = conv.LoadMemory(back.data, progress=lambda *a: calls.append(a))
        names = [p.FullName for p in cards.previews()]
        csv = conv.LoadCsvContentFromMemory(b"First Name,Last Name\r\nA,B\r\n").Parse()
        return out.data, back.data, names, len(csv.ConvertRows()), len(calls)


def test_threads_with_their_own_converters_agree():
    data = b"".join(p.read_bytes() for p in INPUTS)
    expected = _work(data)
    assert expected[-1] > 0  # progress reached the callable
    results = [None] * 6
    errors = []

    def run(i):
        try:
            for _ in range(3):
                result = _work(data)
                if result != expected:
                    results[i] = result
                    return
            results[i] = expected
        except Exception as e:  # reported below with the thread's index
            errors.append((i, e))

    threads = [threading.Thread(target=run, args=(i,)) for i in range(len(results))]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert errors == []
    assert all(r == expected for r in results)


def test_conversion_releases_the_interpreter_lock(conv):
    # Another Python thread runs while ConvertMemory works: it stamps the
    # time in a loop, and some stamps fall inside the call. Were the lock
    # held, the thread could not run at all between the call's start and
    # its end.
    data = (SAMPLES / "mixed.vcf").read_bytes() * 3000
    stamps = []
    stop = threading.Event()

    def stamp():
        while not stop.is_set():
            stamps.append(time.monotonic())
            time.sleep(0.001)

    thread = threading.Thread(target=stamp)
    thread.start()
    time.sleep(0.05)
    start = time.monotonic()
    conv.ConvertMemory(data, 2.1)
    end = time.monotonic()
    stop.set()
    thread.join()
    span = end - start
    assert any(start + 0.25 * span < t < end - 0.25 * span for t in stamps)
