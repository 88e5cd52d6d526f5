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

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

# Tests are switched on explicitly: the demo command configures build/ with
# them off, and a cached OFF must not turn this run into one without tests.
# Every ctest call fails when it finds no tests.
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DVELMORA_BUILD_TESTS=ON "$@"
  cmake --build "$dir" -j2
  # Windows on the shared display must not overlap while a test reads its
  # pixels or moves the pointer, so the X11 tests run one at a time.
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -j2 -LE x11
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -L x11
}

# ThreadSanitizer: the plug-in and the tests that drive it from several
# threads at once.
run_thread_suite() {
  local dir=build-tsan
  cmake -S . -B "$dir" -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=OFF -DVELMORA_SANITIZE=thread \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$dir" -j2 --target velmora three_threads_tests velmora_stress
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -L threads
}

# libFuzzer: the hostile host's calls chosen by the fuzzer for a while.
run_fuzz_suite() {
  local dir=build-fuzz
  CC=clang CXX=clang++ cmake -S . -B "$dir" -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=OFF \
        -DVELMORA_SANITIZE=fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$dir" -j2 --target fuzz_calls
  mkdir -p "$dir/corpus"
  "$dir/tests/stress/fuzz_calls" -max_total_time="${VELMORA_FUZZ_SECONDS:-60}" -max_len=4096 "$dir/corpus"
}

run_suite build -DVELMORA_BUILD_BENCH=ON
run_suite build-sanitize -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
run_thread_suite
run_fuzz_suite
echo "All tests passed in the plain, the sanitized and the thread-sanitized build, and the fuzzer found nothing."
