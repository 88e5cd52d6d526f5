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
scripts/with-display.sh build/velmora-host screenshot build/velmora.so out/editor@2x.png --scale 2
echo "Wrote out/demo.wav, out/editor.png and out/editor@2x.png"

# The same demo signal through the LV2 build, rendered by lv2apply.
build/velmora-demo-input out/demo-input.wav
LV2_PATH="$PWD/build/lv2-path" lv2apply -i out/demo-input.wav -o out/demo-lv2.wav urn:quorvane:velmora
echo "Wrote out/demo-lv2.wav (the LV2 build, through lv2apply)"

# The same demo signal through the CLAP build, rendered by velmora-host.
build/velmora-host render build/velmora.clap out/demo-clap.wav
echo "Wrote out/demo-clap.wav (the CLAP build, through velmora-host)"

# The editor of the 32-bit Windows DLL, as Wine draws it.
cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release
cmake --build build-win32 -j2 --target velmora velmora-host
scripts/with-display.sh scripts/with-wine.sh build-win32 \
  wine build-win32/velmora-host.exe screenshot build-win32/velmora.dll out/editor-windows.png
echo "Wrote out/editor-windows.png (velmora.dll under Wine)"
