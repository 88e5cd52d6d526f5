#!/usr/bin/env bash
# Installs the build under /usr in a temporary DESTDIR and loads each product
# from there: VST 2, CLAP and VST 3 through the installed velmora-host, LV2 through
# lv2info and lv2bench with LV2_PATH naming only the installed folder.
# Usage: install_tree_test.sh BUILD_DIR WORK_DIR EXPECTED_FILES HAS_CLAP(0|1)
set -euo pipefail
build=$1 work=$2 expected_files=$3 has_clap=$4

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log"
usr=$work/root/usr

(cd "$usr" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$work/installed.txt"
LC_ALL=C sort "$expected_files" | diff -u - "$work/installed.txt" \
  || fail "the install tree differs from the expected files (-expected +installed)"

# Installed binaries must find everything they link without the build tree.
for binary in bin/velmora-host lib/vst/velmora.so lib/lv2/velmora.lv2/velmora.so lib/lv2/velmora.lv2/velmora_ui.so \
              $(cd "$usr" && ls lib/vst3/velmora.vst3/Contents/*/velmora.so 2>/dev/null); do
  if readelf -d "$usr/$binary" | grep -Eq '\((RPATH|RUNPATH)\)'; then
    fail "$binary keeps a library search path from the build"
  fi
done

# The VST 2 and the CLAP listing differ; both name the effect and its maker.
check_plugin_info() {
  local plugin=$1
  "$usr/bin/velmora-host" info "$plugin" >"$work/info.txt" || fail "velmora-host info failed on $plugin"
  grep -q 'Velmora' "$work/info.txt" && grep -q 'Quorvane' "$work/info.txt" \
    || fail "velmora-host info does not show Velmora by Quorvane in $plugin"
}
check_plugin_info "$usr/lib/vst/velmora.so"
if [ "$has_clap" = 1 ]; then
  check_plugin_info "$usr/lib/clap/velmora.clap"
fi
if [ -d "$usr/lib/vst3/velmora.vst3" ]; then
  check_plugin_info "$usr/lib/vst3/velmora.vst3"
fi

# lv2info reads the Turtle files; lv2bench loads the binary and runs it.
export LV2_PATH=$usr/lib/lv2
uri=urn:quorvane:velmora
lv2info "$uri" >"$work/lv2info.txt" || fail "lv2info does not find $uri in the installed bundle"
bundle=file://$usr/lib/lv2/velmora.lv2
grep -Eq "^[[:space:]]+Binary: +$bundle/velmora\.so$" "$work/lv2info.txt" \
  || fail "lv2info does not name the installed plug-in binary"
grep -Eq "^[[:space:]]+Binary: +$bundle/velmora_ui\.so$" "$work/lv2info.txt" \
  || fail "lv2info does not name the installed UI binary"
lv2bench -b 256 -n 4096 "$uri" >"$work/lv2bench.txt" 2>&1 || fail "lv2bench cannot run the installed plug-in"
grep -q "$uri" "$work/lv2bench.txt" || fail "lv2bench ran nothing: $(cat "$work/lv2bench.txt")"
echo "The install tree holds every product, and each loads from there."
