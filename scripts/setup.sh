#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for one use, then configures
# and builds a Release build in build/. Sourced with the use as its argument:
# "run" by run.sh, "test" by test.sh, "full" by test.sh for test-full.sh.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
USE="${1:-run}"

# Building and running the editor and the tool: the compiler, Qt with its SVG
# and PDF output, the station names' font, and for the GTFS import libzip and
# libcsv (found through pkg-config).
RUN_PACKAGES=(cmake g++ make pkgconf qt6-base-dev qt6-svg-dev fonts-dejavu-core libzip-dev libcsv-dev)
# The tests, and the benchmarks built beside them: the desktop entry, MIME and
# icon checks and CPack's scan of the programs' libraries for the install and
# package tests, the PDF checks of the tool's tests, Google Benchmark.
TEST_PACKAGES=(desktop-file-utils libxml2-utils shared-mime-info dpkg-dev file poppler-utils libbenchmark-dev)
# The package, manual page and completion tests: Debian's checker, hardening-check
# (devscripts), appstreamcli, man and col to render the pages, bash-completion.
TEST_PACKAGES+=(lintian devscripts appstream man-db bsdextrautils bash-completion)
# The full check (test-full.sh): clang with its sanitizer and libFuzzer
# runtimes, and llvm-symbolizer for readable sanitizer reports.
FULL_CHECK_PACKAGES=(clang libclang-rt-14-dev llvm)

case "$USE" in
  run) PACKAGES=("${RUN_PACKAGES[@]}") ;;
  test) PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  full) PACKAGES=("${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${FULL_CHECK_PACKAGES[@]}") ;;
  *) echo "error: setup.sh takes run, test or full, not \"$USE\"" >&2; exit 2 ;;
esac

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
