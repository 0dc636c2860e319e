#!/usr/bin/env bash
# Install what is missing, build, and run the whole test suite headless.
# TRAM_SETUP=full (as test-full.sh sets it) installs the full check's tools too.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" "${TRAM_SETUP:-test}"

export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
