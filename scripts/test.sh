#!/usr/bin/env bash
# Builds everything twice, plainly and with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# Everything below runs with an X display (a private Xvfb when there is none):
# the editor tests open real windows and the peer plug-ins want one too.
if [ -z "${VELMORA_UNDER_DISPLAY:-}" ]; then
  export VELMORA_UNDER_DISPLAY=1
  exec scripts/with-display.sh "$0" "$@"
fi

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" "$@"
  cmake --build "$dir" -j2
  # Windows on the shared display must not overlap while a test reads its
  # pixels or moves the pointer, so the X11 tests run one at a time.
  ctest --test-dir "$dir" --output-on-failure -j2 -LE x11
  ctest --test-dir "$dir" --output-on-failure -L x11
}

run_suite build
run_suite build-sanitize -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
echo "All tests passed in the plain and the sanitized build."
