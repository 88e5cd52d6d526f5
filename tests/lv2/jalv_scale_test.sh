#!/usr/bin/env bash
# jalv.gtk3, a desktop LV2 host that passes no scale, embeds the UI (through
# suil) on a desktop set to 200 % (Xft.dpi 192): the UI must find the scale
# itself and open at twice its 484 x 446 (panel, analyser and footer). jalv runs on a
# dummy JACK server of its own. Skipped (77) when jalv.gtk3, jackd or xrdb
# is not installed.
# Usage: jalv_scale_test.sh LV2_PATH
set -euo pipefail
export LV2_PATH=$1

for tool in jalv.gtk3 jackd jack_lsp xrdb xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (Debian packages jalv, jackd2, x11-xserver-utils, x11-utils)"
    exit 77
  fi
done
fail() { echo "FAIL: $*" >&2; exit 1; }

server="velmora-jalv-$$"
export JACK_DEFAULT_SERVER=$server JACK_NO_AUDIO_RESERVATION=1
jackd --no-realtime -n "$server" -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
jack=$!
jalv=
cleanup() {
  [ -n "$jalv" ] && kill "$jalv" 2>/dev/null || true
  kill "$jack" 2>/dev/null || true
  wait 2>/dev/null || true
  xrdb -remove 2>/dev/null || true
}
trap cleanup EXIT
echo 'Xft.dpi: 192' | xrdb -merge

# The server takes a moment to accept clients; jalv gives up without one.
for _ in $(seq 1 50); do
  jack_lsp >/dev/null 2>&1 && break
  sleep 0.1
done
jalv.gtk3 urn:quorvane:velmora >/dev/null 2>&1 &
jalv=$!

tree=
for _ in $(seq 1 100); do
  tree=$(xwininfo -root -tree 2>/dev/null)
  grep -q ' 968x892+' <<<"$tree" && break
  sleep 0.1
done
grep -q ' 968x892+' <<<"$tree" || fail "no 968 x 892 UI window under jalv.gtk3:
$(grep -i -A4 velmora <<<"$tree")"
echo "The UI opened at 968 x 892 in jalv.gtk3."
