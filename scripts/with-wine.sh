#!/usr/bin/env bash
# Runs a command with the private Wine prefix of a Windows build folder:
# WINEPREFIX=<folder>/wineprefix, created once with wineboot. Wine must start
# on the display the command uses, so a server left from another display is
# stopped first, and the one started here is stopped at the end.
# Usage: scripts/with-wine.sh BUILD_FOLDER COMMAND [ARGS...]
set -euo pipefail

folder=$(cd "$1" && pwd)
shift
export WINEPREFIX="$folder/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko download prompts: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

wineserver -k >/dev/null 2>&1 || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
status=0
"$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
