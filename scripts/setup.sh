#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, then configures and builds a
# Release build in build/. Sourced by run.sh and test.sh.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

PACKAGES=(cmake g++ make qt6-base-dev libbenchmark-dev)
# The install and package tests: the desktop entry, MIME and icon checks and
# CPack's scan of the programs' libraries.
PACKAGES+=(desktop-file-utils libxml2-utils shared-mime-info dpkg-dev file)
# The tool's SVG and PDF, the station names' font, and the PDF checks of its tests.
PACKAGES+=(qt6-svg-dev fonts-dejavu-core poppler-utils)
PACKAGES+=(libzip-dev libcsv-dev) # GTFS import: zip archives, CSV
# The package, manual page and completion tests: Debian's checker, hardening-check
# (devscripts), appstreamcli, man and col to render the pages, bash-completion.
PACKAGES+=(lintian devscripts appstream man-db bsdextrautils bash-completion)
# The full check (test-full.sh): clang with its sanitizer and libFuzzer runtimes, and
# llvm-symbolizer for readable sanitizer reports.
PACKAGES+=(clang libclang-rt-14-dev llvm)
missing=()
for p in "${PACKAGES[@]}" ${EXTRA_PACKAGES:-}; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
      echo "error: need root or sudo to install ${missing[*]}" >&2; exit 1
    fi
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# TRAM_WARNINGS_AS_ERRORS=ON (as test-full.sh, and so CI, sets it) fails the build on a warning.
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
  -DTRAM_WARNINGS_AS_ERRORS="${TRAM_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
