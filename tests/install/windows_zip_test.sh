#!/usr/bin/env bash
# Makes the Windows zip with cpack from the two Windows builds and checks each
# binary in it: the right machine, the entries hosts look up exported
# undecorated, and no import of the compiler's runtime DLLs, which a Windows
# user does not have.
# Usage: windows_zip_test.sh BUILD_DIR WORK_DIR HAS_CLAP(0|1)
set -euo pipefail
build=$1 work=$2 has_clap=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/unpacked"
cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$work" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack could not make the Windows zip"; }
zips=("$work"/velmora-*-windows.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || fail "no single Windows zip in $work"
zip=${zips[0]}
top=$(basename "$zip" .zip)

expected=(INSTALL.txt velmora.dll velmora64.dll)
if [ "$has_clap" = 1 ]; then expected+=(velmora.clap velmora.vst3/Contents/x86_64-win/velmora.vst3); fi
printf "$top/%s\n" "${expected[@]}" | LC_ALL=C sort >"$work/expected.txt"
cmake -E tar tf "$zip" | grep -v '/$' | LC_ALL=C sort >"$work/zip-files.txt"
diff -u "$work/expected.txt" "$work/zip-files.txt" || fail "the zip's files differ (-expected +zip)"
(cd "$work/unpacked" && cmake -E tar xf "$zip")

# check_binary FILE OBJDUMP FORMAT EXPORT...
check_binary() {
  local name=$1 objdump=$2 format=$3
  local headers=$work/${name//\//_}.headers.txt
  shift 3
  "$objdump" -p "$work/unpacked/$top/$name" >"$headers" || fail "$objdump cannot read $name"
  grep -q "file format $format\$" "$headers" || fail "$name is not $format"
  for entry in "$@"; do
    # Export table lines read "[   0] name".
    grep -Eq "^[[:space:]]+\[ *[0-9]+\] $entry\$" "$headers" || fail "$name does not export $entry"
  done
  if grep -Eiq 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)' "$headers"; then
    fail "$name imports a compiler runtime DLL"
  fi
}
check_binary velmora.dll i686-w64-mingw32-objdump pei-i386 VSTPluginMain main
check_binary velmora64.dll x86_64-w64-mingw32-objdump pei-x86-64 VSTPluginMain main
if [ "$has_clap" = 1 ]; then
  check_binary velmora.clap x86_64-w64-mingw32-objdump pei-x86-64 clap_entry
  check_binary velmora.vst3/Contents/x86_64-win/velmora.vst3 x86_64-w64-mingw32-objdump pei-x86-64 \
    GetPluginFactory InitDll ExitDll
fi
echo "The Windows zip holds both DLLs$([ "$has_clap" = 1 ] && echo ', the CLAP plug-in and the VST 3 bundle'), each exporting its entries."
