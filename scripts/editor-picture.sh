#!/usr/bin/env bash
# The README's editor picture: velmora.clap's editor with the factory preset
# "Lead Fuzz" loaded, written to docs/editor.png. Run again after the artwork
# or the editor changes; it builds what it needs first.
# Usage: scripts/editor-picture.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
fi
cmake --build "$build" -j2 --target velmora_clap velmora-host
mkdir -p docs
scripts/with-display.sh "$build/velmora-host" screenshot "$build/velmora.clap" docs/editor.png --preset "Lead Fuzz" \
  --play demo
