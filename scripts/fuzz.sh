#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each of them.
#
#   scripts/fuzz.sh [target...]     (default: every fuzz/*_fuzzer.cpp)
#
# FUZZ_SECONDS (default 60) is the run time per target. Seeds come from
# fuzz/corpus/<target>/ and the tests' corpus in tests/data/corpus/; they are
# copied into a fresh working corpus, so neither folder is ever written to. Crash inputs land in
# build-fuzz/artifacts/<target>/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_BUILD_JOBS:-2}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_BUILD_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF \
  -DVELMORA_BUILD_CLI=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzzer.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
  work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-fuzz-$target-XXXXXX")
  if [ -d "$root/fuzz/corpus/$target" ]; then
    cp -r "$root/fuzz/corpus/$target/." "$work/"
  fi
  # Flatten the tests' corpus into the working corpus under unique names.
  find "$root/tests/data/corpus" -type f ! -name MANIFEST.tsv ! -name README.md -print0 |
    while IFS= read -r -d '' file; do
      cp "$file" "$work/corpus-$(basename "$(dirname "$file")")-$(basename "$file")"
    done
  artifacts="$build/artifacts/$target"
  mkdir -p "$artifacts"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096
           -artifact_prefix="$artifacts/" -print_final_stats=1)
  if [ -f "$root/fuzz/$target.dict" ]; then
    options+=(-dict="$root/fuzz/$target.dict")
  fi
  echo "fuzz.sh: running $target for ${seconds}s (corpus $work)"
  if ! "$build/bin/$target" "${options[@]}" "$work"; then
    echo "fuzz.sh: $target found a problem; see $artifacts" >&2
    status=1
  fi
  rm -rf "$work"
done
exit $status
