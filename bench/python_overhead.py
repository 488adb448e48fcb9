#!/usr/bin/env python3
"""The Python binding's overhead: one vCard file converted to 2.1 in
windows-1252 by the command (with its default threads, and with one) and through the Python module (ConvertFile,
and ConvertMemory with the file read and written in Python), each timed as
a whole process, alternately, RUNS times; the medians are printed.

    build/bin/velmora_make_corpus 30 20 > /tmp/c30.vcf
    /usr/bin/python3 bench/python_overhead.py build /tmp/c30.vcf [RUNS]
"""

import os
import shutil
import resource
import statistics
import subprocess
import sys
import tempfile
import time

build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
out_dir = tempfile.mkdtemp(prefix="velmora-overhead-")
env = dict(os.environ, PYTHONPATH=os.path.join(build, "python"), PYTHONDONTWRITEBYTECODE="1")

PY_FILE = """
import sys, velmora
with velmora.CardConverter(outlook_headers=False) as conv:
    conv.ConvertFile(sys.argv[1], sys.argv[2], 2.1, 1252, "windows-1252")
"""
PY_MEMORY = """
import sys, velmora
with velmora.CardConverter(outlook_headers=False) as conv:
    data = open(sys.argv[1], "rb").read()
    out = conv.ConvertMemory(data, 2.1, 1252, "windows-1252")
    open(sys.argv[2], "wb").write(out.data)
"""
jobs = {
    "velmora convert": [os.path.join(build, "bin", "velmora"), "convert", source, "-o",
                        os.path.join(out_dir, "cli.vcf"), "--vcard-version", "2.1",
                        "--charset", "windows-1252", "-q"],
    "velmora convert -j 1": [os.path.join(build, "bin", "velmora"), "convert", source, "-o",
                             os.path.join(out_dir, "cli1.vcf"), "--vcard-version", "2.1",
                             "--charset", "windows-1252", "-q", "-j", "1"],
    "python ConvertFile": [sys.executable, "-c", PY_FILE, source,
                           os.path.join(out_dir, "file.vcf")],
    "python ConvertMemory": [sys.executable, "-c", PY_MEMORY, source,
                             os.path.join(out_dir, "memory.vcf")],
    "python import only": [sys.executable, "-c", "import velmora"],
}
times = {name: [] for name in jobs}
cpu = {name: [] for name in jobs}
for _ in range(runs):
    for name, command in jobs.items():
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run(command, env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        times[name].append(time.perf_counter() - start)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu[name].append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
base = statistics.median(times["velmora convert"])
size = os.path.getsize(source) / 1e6
for name, values in times.items():
    median = statistics.median(values)
    print("%-21s wall median %6.3f s (min %6.3f)  %+6.1f%% vs the command; CPU median %6.3f s"
          % (name, median, min(values), (median / base - 1) * 100, statistics.median(cpu[name])))
print("%d runs each, %.1f MB in" % (runs, size))
sizes = {n: os.path.getsize(os.path.join(out_dir, n)) for n in ("cli.vcf", "file.vcf", "memory.vcf")}
print("outputs:", sizes)
shutil.rmtree(out_dir)
