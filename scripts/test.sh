#!/usr/bin/env bash
# Builds everything for Linux plainly, with AddressSanitizer and
# UndefinedBehaviorSanitizer and with ThreadSanitizer, and for 32- and 64-bit
# Windows, and runs every test (the Windows ones under Wine). The fuzzers are
# a soak of their own: scripts/fuzz.sh.
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
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -j2 -LE 'x11|wine'
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -L x11
}

# The Windows builds: both DLLs, both hosts and the Windows test binaries,
# cross-built; their own tests run under Wine in each folder's private
# prefix, one at a time on this display.
build_and_test_windows() {
  local folder toolchain
  for pair in build-win32:mingw-i686 build-win64:mingw-x86_64; do
    folder=${pair%%:*}
    toolchain=${pair#*:}
    # The benchmarks are built (and so kept compiling) by the Linux build;
    # the Windows ones are for timing by hand.
    cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
          -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=OFF
    cmake --build "$folder" -j2
    scripts/with-wine.sh "$folder" ctest --test-dir "$folder" --output-on-failure --no-tests=error -L wine
  done
}

# The Linux build's wine tests drive the Windows products next to the Linux
# ones (sound, host orders, the editor with real input), one at a time.
run_linux_wine_tests() {
  scripts/with-wine.sh build-win32 ctest --test-dir "$1" --output-on-failure --no-tests=error -L wine
}

# ThreadSanitizer: the plug-in and the tests that drive it from several
# threads at once.
run_thread_suite() {
  local dir=build-tsan
  # -O1, as the sanitizer advises: the audio path's copies compile in far
  # less time than at -O2.
  cmake -S . -B "$dir" -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=OFF -DVELMORA_SANITIZE=thread \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g -DNDEBUG"
  cmake --build "$dir" -j2 --target velmora three_threads_tests velmora_stress
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -L threads
}

# Each phase says how long it took, so a slow one stands out in CI's log.
timed() {
  local start=$SECONDS
  "$@"
  echo "== $1 took $((SECONDS - start)) s"
}

timed build_and_test_windows
timed run_suite build -DVELMORA_BUILD_BENCH=ON -DVELMORA_WIN32_BUILD="$PWD/build-win32" \
          -DVELMORA_WIN64_BUILD="$PWD/build-win64" -DVELMORA_WINEPREFIX="$PWD/build-win32/wineprefix"
timed run_linux_wine_tests build
timed run_suite build-sanitize -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
timed run_thread_suite
echo "All tests passed in the plain, the sanitized and the thread-sanitized build and under Wine."
