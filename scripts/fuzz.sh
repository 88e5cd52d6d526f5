#!/usr/bin/env bash
# libFuzzer over the hostile hosts' calls: against the VST 2 plug-in
# (tests/stress/fuzz_calls) and against the VST 3 one
# (tests/vst3/fuzz_vst3_calls), each for VELMORA_FUZZ_SECONDS seconds
# (default 60), in a clang build of its own (build-fuzz). A soak run by
# hand, apart from the test command so that the latter stays short.
# Usage: scripts/fuzz.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -DVELMORA_BUILD_TESTS=ON -DVELMORA_BUILD_BENCH=OFF \
      -DVELMORA_SANITIZE=fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$dir" -j2 --target fuzz_calls fuzz_vst3_calls
for target in tests/stress/fuzz_calls tests/vst3/fuzz_vst3_calls; do
  mkdir -p "$dir/corpus/${target##*/}"
  "$dir/$target" -max_total_time="${VELMORA_FUZZ_SECONDS:-60}" -max_len=4096 "$dir/corpus/${target##*/}"
done
echo "The fuzzers found nothing."
