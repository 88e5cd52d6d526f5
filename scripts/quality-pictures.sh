#!/usr/bin/env bash
# The README's two Quality pictures: a 4987 Hz sine through velmora.clap with
# every band driven (Gain 0.8) into HardClip, at Normal and at 8x, written to
# docs/ with the alias-to-harmonic ratios printed. Run again after the audio
# path changes; it builds what it needs first.
# Usage: scripts/quality-pictures.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
fi
cmake --build "$build" -j2 --target velmora_clap velmora-host

# Type 0.55 lies in HardClip's range (0.5 to 0.6666).
settings=(--set Gain1=0.8 --set Gain2=0.8 --set Gain3=0.8 --set Type1=0.55 --set Type2=0.55 --set Type3=0.55)
mkdir -p docs
echo "Normal:"
"$build/velmora-host" spectrum "$build/velmora.clap" docs/quality-normal.png "${settings[@]}"
echo "8x:"
"$build/velmora-host" spectrum "$build/velmora.clap" docs/quality-8x.png "${settings[@]}" --set Quality=1
