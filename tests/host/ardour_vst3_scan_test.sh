#!/usr/bin/env bash
# Ardour's VST 3 scanner, a host written elsewhere, loads the bundle as
# Ardour does on a rescan and must find one effect, Velmora by Quorvane, in
# "Fx|Distortion", with a stereo main input and output and the class id the
# README gives. Skipped (77) only when the scanner is not installed.
# Usage: ardour_vst3_scan_test.sh SCANNER_DIR VELMORA_VST3_BUNDLE
set -euo pipefail
scanner_dir=$1 bundle=$2
scanner=$scanner_dir/ardour-vst3-scanner

if [ ! -x "$scanner" ]; then
  echo "SKIP: $scanner is not installed (Debian package ardour)"
  exit 77
fi

fail() { echo "FAIL: $*" >&2; exit 1; }

# The scanner writes its cache under the home folder; keep it out of the user's.
export HOME=$(mktemp -d)
trap 'rm -rf "$HOME"' EXIT
listing=$(LD_LIBRARY_PATH=$scanner_dir timeout 120 "$scanner" -v -f "$bundle" 2>&1) \
  || fail "the scanner refused the bundle: $listing"
echo "$listing"

grep -q "Class count: 1$" <<<"$listing" || fail "not exactly one class"
grep -q "Found Plugin: Velmora$" <<<"$listing" || fail "Velmora was not found"
info=$(grep '<VST3Info ' <<<"$listing") || fail "no plug-in entry in the scanner's cache"
for field in 'uid="C6349871C4C92E47B8377D6721B7CB91"' 'name="Velmora"' 'vendor="Quorvane"' \
             'category="Fx|Distortion"' 'n_inputs="2"' 'n_outputs="2"' 'n_aux_inputs="0"' 'n_aux_outputs="0"'; do
  grep -qF "$field" <<<"$info" || fail "the entry lacks $field: $info"
done
echo "Ardour's VST 3 scanner finds Velmora with a stereo input and output."
