#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev libsimdjson-dev
  poppler-utils clang-format libxlsxwriter-dev unzip help2man
  desktop-file-utils appstream dpkg-dev gcovr
  # Qt's SVG icon engine, which draws the program's icon (loaded at run time, not linked).
  libqt6svg6
)
# `make tidy` needs clang-tidy.
if [[ "${TALLEX_WITH_TIDY:-0}" == 1 ]]; then
  packages+=(clang-tidy)
fi
# The fuzz targets need clang and its sanitizer runtime.
if [[ "${TALLEX_WITH_FUZZ:-0}" == 1 ]]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
