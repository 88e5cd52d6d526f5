#!/usr/bin/env bash
# Qtractor's plug-in scanner, a host written elsewhere, loads velmora.clap
# and velmora.so as it does when the user rescans, and must list each with
# its stereo ports, its parameters (Quality is the CLAP one's 20th), an
# editor, and for CLAP a state ("EXT"). Skipped (77) only when the scanner
# is not installed.
# Usage: qtractor_scan_test.sh SCANNER VELMORA_CLAP VELMORA_SO
set -euo pipefail
scanner=$1 clap=$2 vst=$3

if [ ! -x "$scanner" ]; then
  echo "SKIP: $scanner is not installed (Debian package qtractor)"
  exit 77
fi

fail() { echo "FAIL: $*" >&2; exit 1; }

# One request per line; one answer per plug-in found:
# FORMAT|NAME|AUDIO INS:OUTS|MIDI INS:OUTS|PARAMS:OUTPUTS|FLAGS|PATH|INDEX|ID
listing=$(printf 'CLAP:%s\nVST:%s\n' "$clap" "$vst" | timeout 120 "$scanner" 2>&1) \
  || fail "the scanner failed: $listing"
echo "$listing"

# The line for a format and path, which must have the given fields and flags.
expect() {
  local format=$1 path=$2 fields=$3
  shift 3
  local line
  line=$(grep -F "|$path|" <<<"$listing" | grep "^$format|") || fail "no $format line for $path"
  [[ "$line" == "$format|Velmora|$fields|"* ]] || fail "$format: expected Velmora|$fields, got: $line"
  local flags
  flags=,$(cut -d'|' -f6 <<<"$line"),
  for flag in "$@"; do
    [[ "$flags" == *",$flag,"* ]] || fail "$format: flag $flag missing in: $line"
  done
}

expect CLAP "$clap" "2:2|0:0|22:0" GUI EXT
expect VST "$vst" "2:2|0:0|19:0" GUI
echo "PASS"
