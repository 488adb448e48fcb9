#!/bin/bash
# The whole-process targets of conversion, in one go: speed against the
# reference scan (a process reading the same file, finding its line ends with
# memchr and converting it with ICU from UTF-8 to UTF-16, in the same run), the speed-up from one to two jobs, and peak memory on a 1 GB
# file. Best of three runs per figure.
#
#   bash bench/targets.sh [BUILD_FOLDER]      (SKIP_BIG=1 leaves out the 1 GB runs)
set -euo pipefail
build=${1:-build}
bin=$build/bin
for tool in velmora velmora_make_corpus velmora_reference_scan; do
  [ -x "$bin/$tool" ] || { echo "$bin/$tool is missing: run make build first" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home TMPDIR=$work
mkdir -p "$HOME"

"$bin/velmora_make_corpus" 21 20 > "$work/c21.vcf"
"$bin/velmora_make_corpus" 30 20 > "$work/c30.vcf"

# Seconds of the best of three runs of a command.
best() {
  local best_time=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    end=$(date +%s.%N)
    best_time=$(echo "$start $end ${best_time:-1e9}" | awk '{t = $2 - $1; print (t < $3 ? t : $3)}')
  done
  echo "$best_time"
}
ratio() { echo "$1 $2" | awk '{printf "%.0f%%", 100 * $1 / $2}'; }
mb_s() { echo "$1 $2" | awk '{printf "%.0f MB/s", $1 / 1048576 / $2}'; }

echo "Whole process, 20 MB corpora, $(nproc) cores"
printf '%-36s %8s %10s %s\n' "case" "seconds" "speed" "of the reference"
for corpus in c21 c30; do
  file=$work/$corpus.vcf
  size=$(stat -c %s "$file")
  reference=$(best "$bin/velmora_reference_scan" "$file")
  read -r _ scan_alone _ < <("$bin/velmora_reference_scan" "$file")
  printf '%-36s %8.3f %10s   (scan and ICU alone %.3f s, %s)\n' "$corpus reference scan" \
    "$reference" "$(mb_s "$size" "$reference")" "$scan_alone" "$(mb_s "$size" "$scan_alone")"
  for target in "2.1 windows-1252" "3.0 utf-8"; do
    set -- $target
    seconds=$(best "$bin/velmora" convert "$file" -o "$work/out.vcf" --vcard-version "$1" --charset "$2")
    label="$corpus to $1 $2"
    [ "$corpus" = c30 ] && [ "$1" = 3.0 ] && label="$label (copy)"
    printf '%-36s %8.3f %10s %s\n' "$label" "$seconds" "$(mb_s "$size" "$seconds")" \
      "$(ratio "$reference" "$seconds")"
  done
done

one=$(best "$bin/velmora" convert "$work/c30.vcf" -o "$work/out.vcf" --vcard-version 2.1 --charset windows-1252 --jobs 1)
two=$(best "$bin/velmora" convert "$work/c30.vcf" -o "$work/out.vcf" --vcard-version 2.1 --charset windows-1252 --jobs 2)
echo "c30 to 2.1 windows-1252: --jobs 1 ${one}s, --jobs 2 ${two}s, speed-up $(echo "$one $two" | awk '{printf "%.2f", $1 / $2}')x"

if [ "${SKIP_BIG:-0}" != 1 ]; then
  for _ in $(seq 50); do cat "$work/c30.vcf"; done > "$work/big.vcf"
  rm -f "$work/c21.vcf"
  echo "1 GB file ($(stat -c %s "$work/big.vcf") bytes): peak resident memory"
  for job in "convert $work/big.vcf -o $work/out.vcf --vcard-version 2.1 --charset windows-1252" \
             "count $work/big.vcf" "validate $work/big.vcf"; do
    set -- $job
    /usr/bin/time -f "%e %M" -o "$work/time" "$bin/velmora" "$@" > /dev/null 2>&1 || true
    read -r seconds kilobytes < "$work/time"
    printf '  velmora %-9s %6.1f s %6d MB\n' "$1" "$seconds" $((kilobytes / 1024))
  done
fi
