#!/usr/bin/env bash
# Builds everything, renders the built-in demo signal through the plug-in and
# takes a picture of its editor. Results land in out/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF
cmake --build build -j2

mkdir -p out
build/velmora-host render build/velmora.so out/demo.wav
scripts/with-display.sh build/velmora-host screenshot build/velmora.so out/editor.png
echo "Wrote out/demo.wav and out/editor.png"
