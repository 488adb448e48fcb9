#!/usr/bin/env bash
# Installs the Debian packages that building and testing Velmora need.
# Quiet when everything is present; only then does it touch apt at all.
set -euo pipefail

# dpkg-dev and file: `make package` (CPack lists the package's dependencies
# with dpkg-shlibdeps).
packages=(
  build-essential cmake pkg-config dpkg-dev file
  libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev
  clang-format
  libxlsxwriter-dev libfreexl-dev libminizip-dev libexpat1-dev libgsf-1-dev
  python3 python3-openpyxl python3-xlrd
  pybind11-dev python3-dev python3-pytest
  time
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}" >&2
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo="sudo"
  else
    echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
