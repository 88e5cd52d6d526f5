#!/usr/bin/env bash
# Builds only what the demo uses (velmora.clap and velmora-host), writes the
# built-in demo signal dry, renders it through the plug-in at its defaults
# (the VST 2 build's default program, sample for sample) and through four
# contrasting factory presets, draws the input's and one preset's spectrum
# side by side and takes a picture of the editor. Results land in out/; one
# line per file says what it is, its integrated loudness (ITU-R BS.1770) and
# its RMS relative to the input.
# Usage: scripts/demo.sh [--windows]   (--windows adds the 32-bit Windows
# DLL's editor as Wine draws it, out/editor-windows.png; that cross build
# takes a few minutes more)
set -euo pipefail
cd "$(dirname "$0")/.."
windows=0
for arg in "$@"; do
  case "$arg" in
    --windows) windows=1 ;;
    *) echo "Usage: scripts/demo.sh [--windows]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF >/dev/null
cmake --build build -j2 --target velmora_demo

# Four presets that sound unlike each other; the picture shows the second.
presets=("Mix Bus Glue" "Lead Fuzz" "Lo-Fi Crackle" "Parallel Smash")
pictured="Lead Fuzz"

mkdir -p out
# The loudness from render's summary: "...; output RMS -1.2 dB relative to the
# input; integrated loudness -18.9 LUFS in, -16.6 LUFS out."
loudness() {
  sed -n 's/.*output RMS \([-+0-9.]*\) dB relative to the input; integrated loudness .* LUFS in, \([-0-9.]*\) LUFS out.*/\2 LUFS  RMS \1 dB/p'
}
report() { printf '%-28s %-61s %s\n' "$1" "$2" "$3"; }

# The dry signal for comparison: bypassed at Normal, the output is the input.
dry=$(build/velmora-host render build/velmora.clap out/demo-input.wav --set Bypass=1 |
      sed -n 's/.*integrated loudness \([-0-9.]*\) LUFS in.*/\1 LUFS/p')
report out/demo-input.wav "the demo signal itself, dry" "$dry"
level=$(build/velmora-host render build/velmora.clap out/demo.wav | loudness)
report out/demo.wav "the demo signal through Velmora at its default settings" "$level"
for preset in "${presets[@]}"; do
  key=$(echo "$preset" | tr 'A-Z ' 'a-z-')
  level=$(build/velmora-host render build/velmora.clap "out/demo-$key.wav" --preset "$preset" | loudness)
  report "out/demo-$key.wav" "the demo signal through the factory preset \"$preset\"" "$level"
done
build/velmora-host compare build/velmora.clap out/demo.png --preset "$pictured" >/dev/null
report out/demo.png "spectra of the demo signal and of \"$pictured\", side by side" "(picture)"
scripts/with-display.sh build/velmora-host screenshot build/velmora.clap out/editor.png --play demo >/dev/null
report out/editor.png "the editor, as velmora.clap shows it, the demo playing" "(picture)"
scripts/with-display.sh build/velmora-host screenshot build/velmora.clap out/editor@2x.png --scale 2 --play demo >/dev/null
report out/editor@2x.png "the same editor at 200 %" "(picture)"

if [ "$windows" = 1 ]; then
  cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-win32 -j2 --target velmora velmora-host
  scripts/with-display.sh scripts/with-wine.sh build-win32 \
    wine build-win32/velmora-host.exe screenshot build-win32/velmora.dll out/editor-windows.png >/dev/null
  report out/editor-windows.png "the editor of velmora.dll under Wine" "(picture)"
fi
