#!/usr/bin/env bash
# Checks that every C++ file of the tree is as clang-format (.clang-format at
# the root) would write it; lists the files that are not. `make format`
# rewrites them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! command -v clang-format >/dev/null 2>&1; then
  echo "check-format: clang-format is not installed" >&2
  exit 1
fi
bad=()
while IFS= read -r -d '' file; do
  if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then
    bad+=("$file")
  fi
done < <(find src include cli tests bench fuzz examples python \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ ${#bad[@]} -gt 0 ]; then
  echo "check-format: not formatted (run 'make format'):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check-format: ${PWD##*/}: all files formatted"
