#!/usr/bin/env bash
# Installs the build into a temporary prefix, then builds the examples out of
# tree against the installed package, once through find_package(Velmora) and
# once through pkg-config, and runs them: the installed library must find its
# data files, and the command must run from the prefix.
#
#   install_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velmora-install-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
# Logs and settings stay inside the temporary folder.
export XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config
export VELMORA_REGISTRY_USER=$tmp/user.ini VELMORA_REGISTRY_MACHINE=$tmp/machine.ini
export VELMORA_ANSI_CODEPAGE=1252 VELMORA_LIST_SEPARATOR=, TZ=UTC

fail() { echo "install test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }
for f in include/velmora/velmora.h include/velmora/module.h include/velmora/guids.h \
         share/velmora/supportedEncodings.txt share/velmora/supportedOutlookHeaders.csv \
         bin/velmora; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
pc=$(find "$prefix" -name velmora.pc)
[ -n "$pc" ] || fail "velmora.pc is not installed"
[ -n "$(find "$prefix" -name VelmoraConfig.cmake)" ] || fail "VelmoraConfig.cmake is not installed"

# The command runs from the prefix and reads the installed encodings list.
"$prefix/bin/velmora" encodings > "$tmp/encodings.txt" || fail "velmora encodings failed"
grep -q "windows-1251" "$tmp/encodings.txt" || fail "velmora encodings misses the data file"

# Runs the three examples built into folder $1.
run_examples() {
  local bin=$1 out=$tmp/out-${1##*/}
  mkdir -p "$out"
  "$bin/create_converter" > "$out/c.txt" || { cat "$out/c.txt"; fail "$bin/create_converter"; }
  grep -q "converter created and released" "$out/c.txt" || fail "create_converter output"
  "$bin/load_and_split" "$src/samples/mixed.vcf" "$out/cards" > "$out/split.txt" \
    || fail "$bin/load_and_split"
  grep -q "4 saved, 0 skipped, 0 errors" "$out/split.txt" || fail "load_and_split output"
  # The locales file from the installed data folder.
  "$bin/csv_to_vcards" "$src/tests/data/corpus/csv-other/tb_csv_semicolon.csv" \
    "$prefix/share/velmora/supportedOutlookHeaders.csv" > "$out/cards.vcf" 2> "$out/csv.txt" \
    || { cat "$out/csv.txt"; fail "$bin/csv_to_vcards"; }
  grep -q "2 contacts, 0 empty rows, 0 errors" "$out/csv.txt" || fail "csv_to_vcards output"
  grep -q "FN:Jane Doe" "$out/cards.vcf" || fail "csv_to_vcards cards"
}

# CMake: the examples folder on its own, finding the package in the prefix.
cmake -S "$src/examples" -B "$tmp/cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" > "$tmp/cmake.log" 2>&1 || { cat "$tmp/cmake.log"; exit 1; }
grep -q "^Velmora_DIR:PATH=$prefix/" "$tmp/cmake/CMakeCache.txt" \
  || fail "find_package(Velmora) did not find the installed package"
cmake --build "$tmp/cmake" -j 2 > "$tmp/cmake-build.log" 2>&1 \
  || { cat "$tmp/cmake-build.log"; exit 1; }
run_examples "$tmp/cmake"

# pkg-config: plain compiler calls.
export PKG_CONFIG_PATH=${pc%/*}
libdir=$(pkg-config --variable=libdir velmora)
flags=$(pkg-config --cflags --libs velmora)
mkdir -p "$tmp/pc"
# The C program first, then the two C++ ones side by side.
# shellcheck disable=SC2086
cc -std=c11 -Wall -Wextra -Werror -o "$tmp/pc/create_converter" \
  "$src/examples/create_converter.c" $flags -Wl,-rpath,"$libdir" || fail "cc with $flags"
pids=()
for example in load_and_split csv_to_vcards; do
  # shellcheck disable=SC2086
  c++ -std=c++20 -o "$tmp/pc/$example" "$src/examples/$example.cpp" $flags \
    -Wl,-rpath,"$libdir" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || fail "c++ with $flags"; done
run_examples "$tmp/pc"
# The Python package, when the build has it: imported from the prefix's site
# folder, it finds the installed library and data files.
if grep -q "^VELMORA_BUILD_PYTHON:BOOL=ON" "$build/CMakeCache.txt"; then
  python=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt")
  site=$prefix/$(sed -n 's/^VELMORA_INSTALL_PYTHONDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
  [ -f "$site/velmora/__init__.py" ] && [ -f "$site/velmora/_velmora.pyi" ] \
    || fail "the Python package is not installed in $site"
  PYTHONPATH=$site PYTHONDONTWRITEBYTECODE=1 "$python" - "$prefix" "$src/samples/mixed.vcf" \
    > "$tmp/python.txt" 2>&1 <<'PY' || { cat "$tmp/python.txt"; fail "python3 -c 'import velmora'"; }
import os, sys, velmora
prefix, sample = sys.argv[1], sys.argv[2]
assert velmora.__file__.startswith(prefix), velmora.__file__
assert os.path.realpath(velmora.DataDirectory()) == os.path.realpath(prefix + "/share/velmora")
with velmora.CardConverter() as conv:
    out = conv.ConvertMemory(open(sample, "rb").read(), 2.1)
    assert conv.CsvOutlookLocalesCount > 0
    print("python:", len(conv.LoadMemory(out.data)), "cards")
PY
  grep -q "python: 4 cards" "$tmp/python.txt" || { cat "$tmp/python.txt"; fail "the installed Python package"; }
fi
echo "install test: installed, built with CMake and pkg-config, examples ran"
