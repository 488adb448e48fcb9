#!/usr/bin/env python3
"""Deterministic mutation sampling: how many small faults do the tests catch?

    scripts/mutants.py [--count N] [--seed S] [--build DIR] [--timeout SECONDS]

Lists every place in src/ and cli/ where one small fault fits (a flipped
comparison, an off-by-one bound, a negated condition, && and || swapped, an
error status or false returned as success, a deleted statement), shuffles the
list with the seed and tries the places in that order, one fault at a time:
rebuild the test programs incrementally in their own Release folder, run them
with a time limit and stop at the first failing test. A mutant is killed when
a test fails, timed out when the run exceeds the limit and survived when every
test passes. Mutants that do not compile are not viable: they are reported
apart and the next place in the order takes their slot, so N counts viable
mutants only and the same seed draws the same sample from the same sources.

The tree is restored whatever happens (the original bytes and modification
time are written back and the stale object file is removed, so other build
folders do not rebuild and this one recompiles only that file). Nothing is
ever committed. The report lands in DIR/mutants-report.txt.
"""

import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SOURCE_DIRS = ("src", "cli")
TEST_TARGETS = ("velmora_tests", "velmora_cli_tests")


@dataclass(frozen=True)
class Mutant:
    path: str  # relative to ROOT
    line: int  # 1-based
    column: int  # 0-based start of the replaced text
    old: str
    new: str
    kind: str

    def describe(self):
        return f"{self.path}:{self.line}:{self.column + 1}: {self.kind}: `{self.old}` -> `{self.new}`"


# ---------------------------------------------------------------- finding places

# Binary operators come with a space on both sides in this code base, which
# keeps template brackets, stream operators and -> out of the match.
COMPARE_NEGATED = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
COMPARE_BOUND = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
COMPARE_RE = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
LOGIC_RE = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
PLUS_MINUS_ONE_RE = re.compile(r"(?<=\s)([+-]) 1(?![\w.'])")
CONDITION_RE = re.compile(r"\b(if|while) \(")
STATUS_RE = re.compile(
    r"\breturn (E_[A-Z_]+|hr|status|kExit(?!Ok\b)[A-Za-z]+|false|true);")
# A whole-line statement that does something: a call, an assignment or an
# increment, without a leading type (declarations would not compile).
STATEMENT_RE = re.compile(
    r"^\s*(?:[A-Za-z_][\w]*(?:(?:\.|->|::)[A-Za-z_]\w*|\[[^\]]*\])*)\s*"
    r"(?:\(.*\)|(?:=|\+=|-=|\|=|&=|<<=)\s.+|\+\+|--)\s*;\s*$")
NOT_A_STATEMENT = re.compile(
    r"^\s*(return|break|continue|case|default|goto|using|typedef|delete|throw|"
    r"static_assert|co_return|else|do)\b")


def strip_code(line, in_block_comment):
    """The line with string/char literals and comments blanked (same length),
    and whether a block comment is still open at its end."""
    out = []
    i = 0
    n = len(line)
    while i < n:
        if in_block_comment:
            end = line.find("*/", i)
            if end < 0:
                out.append(" " * (n - i))
                return "".join(out), True
            out.append(" " * (end + 2 - i))
            i = end + 2
            in_block_comment = False
            continue
        c = line[i]
        if line.startswith("//", i):
            out.append(" " * (n - i))
            break
        if line.startswith("/*", i):
            in_block_comment = True
            out.append("  ")
            i += 2
            continue
        if c in "\"'":
            # Raw strings are rare here; treat R"( like a normal literal.
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            out.append(c + " " * (min(j, n) - i - 1) + (c if j < n else ""))
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out), in_block_comment


def matching_paren(code, open_index):
    depth = 0
    for i in range(open_index, len(code)):
        if code[i] == "(":
            depth += 1
        elif code[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def find_mutants(relpath, text):
    mutants = []
    in_comment = False
    for number, line in enumerate(text.split("\n"), start=1):
        code, in_comment = strip_code(line, in_comment)
        if code.lstrip().startswith("#") or not code.strip():
            continue

        def add(col, old, new, kind):
            mutants.append(Mutant(relpath, number, col, old, new, kind))

        for m in COMPARE_RE.finditer(code):
            op = m.group(1)
            add(m.start(), op, COMPARE_NEGATED[op], "flipped comparison")
            if op in COMPARE_BOUND:
                add(m.start(), op, COMPARE_BOUND[op], "off-by-one bound")
        for m in PLUS_MINUS_ONE_RE.finditer(code):
            add(m.start(), m.group(0), "+ 0" if m.group(1) == "+" else "- 0",
                "off-by-one bound")
        for m in LOGIC_RE.finditer(code):
            add(m.start(), m.group(1), "||" if m.group(1) == "&&" else "&&",
                "swapped && and ||")
        for m in CONDITION_RE.finditer(code):
            open_index = m.end() - 1
            close = matching_paren(code, open_index)
            if close < 0 or ";" in code[open_index:close]:
                continue  # spans lines, or a for-style header
            condition = line[open_index + 1:close]
            add(open_index, f"({condition})", f"(!({condition}))", "negated condition")
        for m in STATUS_RE.finditer(code):
            value = m.group(1)
            if value == "true":
                replacement = "false"
            elif value == "false":
                replacement = "true"
            elif value.startswith("kExit"):
                replacement = "kExitOk"
            else:
                replacement = "S_OK"
            add(m.start(), m.group(0), f"return {replacement};", "status as success")
        if STATEMENT_RE.match(code) and not NOT_A_STATEMENT.match(code):
            indent = len(line) - len(line.lstrip())
            add(indent, line[indent:], ";", "deleted statement")
    return mutants


def all_mutants():
    mutants = []
    for folder in SOURCE_DIRS:
        for path in sorted((ROOT / folder).rglob("*.cpp")):
            relpath = path.relative_to(ROOT).as_posix()
            mutants.extend(find_mutants(relpath, path.read_text(encoding="utf-8")))
    return mutants


REPLAY_RE = re.compile(r"(\S+?):(\d+):(\d+): ([^:`]+): `(.*)` -> `(.*)`$")


def replayed(candidates, listing):
    """The mutants a listing names, found again in the current sources.

    Code moves between runs, so each is matched by file, kind and text at the
    nearest line; the ones no longer present are returned apart."""
    found, lost = [], []
    for line in listing.splitlines():
        match = REPLAY_RE.search(line)
        if not match:
            continue
        path, number, column, kind, old, new = match.groups()
        same = [m for m in candidates
                if (m.path, m.kind, m.old, m.new) == (path, kind.strip(), old, new)]
        if not same:
            lost.append(line.strip())
            continue
        found.append(min(same, key=lambda m: (abs(m.line - int(number)),
                                              abs(m.column + 1 - int(column)))))
    return found, lost


def apply(text, mutant):
    lines = text.split("\n")
    line = lines[mutant.line - 1]
    assert line[mutant.column:mutant.column + len(mutant.old)] == mutant.old, mutant
    lines[mutant.line - 1] = (line[:mutant.column] + mutant.new +
                              line[mutant.column + len(mutant.old):])
    return "\n".join(lines)


# ------------------------------------------------------------- building, running

class Interrupted(Exception):
    pass


def on_signal(signum, _frame):
    raise Interrupted(f"signal {signum}")


def run(command, timeout=None, cwd=None):
    """(return code or None on timeout, combined output). The child gets its
    own process group so a timeout or Ctrl-C ends everything it started."""
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output.decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        return None, ""
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        raise


def configure(build):
    code, output = run(["cmake", "-S", str(ROOT), "-B", str(build),
                        "-DCMAKE_BUILD_TYPE=Release", "-DVELMORA_SANITIZE=OFF",
                        "-DVELMORA_BUILD_BENCH=OFF", "-DVELMORA_BUILD_EXAMPLES=OFF"])
    if code != 0:
        sys.exit(f"mutants: cmake configure failed\n{output}")


def build_tests(build, jobs):
    return run(["cmake", "--build", str(build), "-j", str(jobs), "--target",
                *TEST_TARGETS])


def run_tests(build, mutant_path, timeout):
    """'passed', 'failed' or 'timeout'. The unit tests do not link the
    command's code, so a mutant in cli/ runs only the command's tests."""
    binaries = ["velmora_cli_tests"]
    if not mutant_path or not mutant_path.startswith("cli/"):
        binaries.insert(0, "velmora_tests")
    deadline = time.monotonic() + timeout
    for binary in binaries:
        left = deadline - time.monotonic()
        if left <= 0:
            return "timeout"
        code, _ = run([str(build / "bin" / binary), "--gtest_fail_fast",
                       "--gtest_brief=1"], timeout=left, cwd=build)
        if code is None:
            return "timeout"
        if code != 0:
            return "failed"
    return "passed"


def object_files(build, relpath):
    """The object files compiled from ROOT/relpath in the build folder: CMake
    names them <target>.dir/<path below the target's folder>.o."""
    below = Path(relpath).relative_to(Path(relpath).parts[0]).as_posix()
    suffix = f".dir/{below}.o"
    return [p for p in build.rglob(f"{Path(relpath).name}.o")
            if p.as_posix().endswith(suffix)]


class Restorer:
    """Puts a source file back exactly as it was: bytes and modification
    time. Removing its object makes this build folder recompile it while
    build folders that never saw the mutant stay up to date."""

    def __init__(self, build):
        self.build = build
        self.saved = None

    def mutate(self, mutant):
        path = ROOT / mutant.path
        original = path.read_bytes()
        stat = path.stat()
        self.saved = (path, original, stat.st_atime_ns, stat.st_mtime_ns, mutant.path)
        mutated = apply(original.decode("utf-8"), mutant)
        path.write_bytes(mutated.encode("utf-8"))

    def restore(self):
        if self.saved is None:
            return
        path, original, atime, mtime, relpath = self.saved
        path.write_bytes(original)
        os.utime(path, ns=(atime, mtime))
        for obj in object_files(self.build, relpath):
            obj.unlink(missing_ok=True)
        self.saved = None


# ------------------------------------------------------------------------ main

def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--count", "-n", type=int, default=150)
    parser.add_argument("--seed", "-s", type=int, default=1)
    parser.add_argument("--build", default=str(ROOT / "build-mutants"))
    parser.add_argument("--jobs", "-j", type=int, default=2)
    parser.add_argument("--timeout", type=float, default=0,
                        help="seconds per mutant's test run (default: 3x the clean run + 10)")
    parser.add_argument("--list", action="store_true",
                        help="print the sample's order and stop")
    parser.add_argument("--replay", metavar="FILE",
                        help="test the mutants FILE lists (lines as --list prints "
                             "them) instead of a sample, each found again at the "
                             "nearest line of the same file")
    args = parser.parse_args()

    build = Path(args.build).resolve()
    candidates = all_mutants()
    if args.replay:
        order, lost = replayed(candidates, Path(args.replay).read_text(encoding="utf-8"))
        for line in lost:
            print(f"mutants: not found any more: {line}", file=sys.stderr)
        args.count = len(order)
    else:
        order = list(candidates)
        random.Random(args.seed).shuffle(order)
    if args.list:
        for mutant in order[:args.count]:
            print(mutant.describe())
        return 0

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)

    started = time.monotonic()
    restorer = Restorer(build)
    results = {"killed": [], "survived": [], "timeout": [], "not viable": []}
    report_path = build / "mutants-report.txt"
    interrupted = None
    try:
        configure(build)
        code, output = build_tests(build, args.jobs)
        if code != 0:
            sys.exit(f"mutants: the unmutated tree does not build\n{output}")
        clean_start = time.monotonic()
        if run_tests(build, None, 3600) != "passed":
            sys.exit("mutants: the tests fail on the unmutated tree")
        clean_seconds = time.monotonic() - clean_start
        timeout = args.timeout or 3 * clean_seconds + 10
        print(f"mutants: {len(candidates)} places, seed {args.seed}, "
              f"{args.count} viable mutants wanted, clean run {clean_seconds:.1f}s, "
              f"limit {timeout:.0f}s per mutant", flush=True)

        tested = 0
        for mutant in order:
            if tested >= args.count:
                break
            restorer.mutate(mutant)
            try:
                code, _ = build_tests(build, args.jobs)
                if code != 0:
                    outcome = "not viable"
                else:
                    outcome = {"failed": "killed", "passed": "survived",
                               "timeout": "timeout"}[run_tests(build, mutant.path, timeout)]
            finally:
                restorer.restore()
            results[outcome].append(mutant)
            if outcome != "not viable":
                tested += 1
            print(f"[{tested:3}/{args.count}] {outcome:10} {mutant.describe()}", flush=True)
    except Interrupted as error:
        interrupted = str(error)
    finally:
        restorer.restore()

    elapsed = time.monotonic() - started
    viable = len(results["killed"]) + len(results["survived"]) + len(results["timeout"])
    detected = len(results["killed"]) + len(results["timeout"])
    lines = [
        f"Mutation sample: seed {args.seed}, {viable} viable mutants of "
        f"{args.count} wanted, from {len(candidates)} places in "
        f"{' and '.join(d + '/' for d in SOURCE_DIRS)}",
        f"killed {len(results['killed'])}, survived {len(results['survived'])}, "
        f"timed out {len(results['timeout'])}, not viable {len(results['not viable'])}",
        f"score {100.0 * detected / viable if viable else 0:.1f}% "
        f"(killed + timed out over viable), run time {elapsed / 60:.1f} min",
    ]
    if interrupted:
        lines.append(f"interrupted by {interrupted}: the figures cover the mutants tried")
    for title, key in (("Survived", "survived"), ("Timed out", "timeout"),
                       ("Not viable", "not viable")):
        if results[key]:
            lines.append("")
            lines.append(f"{title}:")
            lines.extend(f"  {m.describe()}" for m in results[key])
    report = "\n".join(lines) + "\n"
    report_path.parent.mkdir(parents=True, exist_ok=True)
    report_path.write_text(report, encoding="utf-8")
    print()
    print(report, end="")
    print(f"report: {report_path}")
    return 130 if interrupted else 0


if __name__ == "__main__":
    sys.exit(main())
