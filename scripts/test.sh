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
  ctest --test-dir "$dir" --output-on-failure -j2 -LE 'x11|wine'
  ctest --test-dir "$dir" --output-on-failure -L x11
}

# The Windows builds: both DLLs, both hosts and the Windows test programs.
build_windows() {
  local folder toolchain
  for pair in build-win32:mingw-i686 build-win64:mingw-x86_64; do
    folder=${pair%%:*}
    toolchain=${pair#*:}
    cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
          -DVELMORA_BUILD_TESTS=ON
    cmake --build "$folder" -j2
  done
}

# The wine tests live in the Linux build and drive the Windows products
# through Wine, one at a time, on this display.
run_wine_tests() {
  scripts/with-wine.sh build-win32 ctest --test-dir "$1" --output-on-failure --no-tests=error -L wine
}

build_windows
run_suite build -DVELMORA_WIN32_BUILD="$PWD/build-win32" -DVELMORA_WIN64_BUILD="$PWD/build-win64" \
          -DVELMORA_WINEPREFIX="$PWD/build-win32/wineprefix"
run_wine_tests build
run_suite build-sanitize -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
echo "All tests passed in the plain and the sanitized build and under Wine."
