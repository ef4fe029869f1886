#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian/Ubuntu packages needed to build, run and test Pelmora.
# Usage: scripts/install-deps.sh [run|test|package|fuzz]
set -euo pipefail

# The IPA fonts stand in for the documents' Windows faces; Noto Sans CJK draws
# what they lack, such as 𠮷 (U+20BB7).
packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins qt6-translations-l10n
          qt6-image-formats-plugins libharfbuzz-dev libicu-dev libqrcodegencpp-dev
          fonts-ipafont-gothic fonts-ipafont-mincho fonts-noto-cjk)
case "${1:-run}" in
  # CUPS and cups-pdf for the tests that print to a private queue (scripts/cups-pdf-queue.sh);
  # Xvfb for the tests that need a real X server (scripts/with-xvfb.sh); the package
  # test builds the .deb and checks it, its desktop entry and its AppStream data.
  # ZXing and zbar read the QR codes back.
  test) packages+=(libgtest-dev libbenchmark-dev poppler-utils imagemagick python3-pil libzxing-dev zbar-tools
                   cups cups-client printer-driver-cups-pdf xvfb
                   dpkg-dev file lintian appstream desktop-file-utils) ;;
  package) packages+=(dpkg-dev file) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
esac

if ! command -v dpkg-query >/dev/null 2>&1; then
  echo "install-deps: not a Debian-like system; install Qt 6 (Widgets, PrintSupport), CMake, Ninja and GoogleTest yourself." >&2
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
