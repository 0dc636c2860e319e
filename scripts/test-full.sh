#!/usr/bin/env bash
# The full check CI runs: the quick suite, then the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, every fuzz target for a
# fixed time, and the tests of the code that runs on two threads (the renderer
# and the schematic layout) under ThreadSanitizer. Any failure or
# sanitizer report fails the run. Each stage builds in a folder of its own.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"
JOBS="$(nproc)"

stage_started=0
stage() {
  stage_started=$SECONDS
  printf '\n==== Stage %s ====\n' "$1"
}
stage_done() {
  local took=$((SECONDS - stage_started))
  printf '==== Stage %s passed in %dm%02ds ====\n' "$1" $((took / 60)) $((took % 60))
}

# A sanitizer build of the project with clang: its folder and compiler flags.
configure_sanitized() {
  local dir=$1 flags=$2
  shift 2
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$flags -O1 -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DTRAM_BENCHMARKS=OFF "$@" >/dev/null
}

stage "1/4: Release build (g++), warnings as errors, and the whole test suite"
TRAM_SETUP=full TRAM_WARNINGS_AS_ERRORS=ON bash "$ROOT/scripts/test.sh"
stage_done 1/4

stage "2/4: the whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer (clang)"
configure_sanitized "$ROOT/build-asan" "-fsanitize=address,undefined -fno-sanitize-recover=all"
cmake --build "$ROOT/build-asan" -j"$JOBS"
# A report ends the program with status 86, which no program here uses, so a
# tool that a test runs never passes a report off as one of its own statuses.
ASAN_OPTIONS=detect_leaks=1:exitcode=86 UBSAN_OPTIONS=print_stacktrace=1:exitcode=86 \
QT_QPA_PLATFORM=offscreen \
  ctest --test-dir "$ROOT/build-asan" --output-on-failure --no-tests=error -j"$JOBS"
stage_done 2/4

stage "3/4: every fuzz target (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) for ${FUZZ_SECONDS} s"
cmake -S "$ROOT" -B "$ROOT/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DTRAM_FUZZ=ON \
  -DTRAM_FUZZ_SECONDS="$FUZZ_SECONDS" -DTRAM_BENCHMARKS=OFF >/dev/null
cmake --build "$ROOT/build-fuzz" -j"$JOBS" --target fuzz_targets
ctest --test-dir "$ROOT/build-fuzz" -L fuzz --output-on-failure --no-tests=error -j"$JOBS"
stage_done 3/4

stage "4/4: the renderer's and the schematic layout's tests under ThreadSanitizer (clang)"
# The per-CPU copies of the renderer's loops are resolved before ThreadSanitizer starts.
configure_sanitized "$ROOT/build-tsan" "-fsanitize=thread" -DTRAM_VECTOR_CLONES=OFF
cmake --build "$ROOT/build-tsan" -j"$JOBS" --target test_fast_renderer test_renderer test_schematic
TSAN_OPTIONS=halt_on_error=1:suppressions="$ROOT/scripts/tsan.supp" QT_QPA_PLATFORM=offscreen \
  ctest --test-dir "$ROOT/build-tsan" --output-on-failure --no-tests=error -R '^test_((fast_)?renderer|schematic)$'
stage_done 4/4

printf '\nAll four stages passed in %dm%02ds.\n' $((SECONDS / 60)) $((SECONDS % 60))
