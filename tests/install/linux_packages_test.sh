#!/usr/bin/env bash
# Makes the Debian package and the tarball with cpack and checks what a user
# gets: the Debian package holds the install tree under /usr, depends on the
# libraries its binaries link (found by dpkg-shlibdeps, so libc6 among them)
# and has no lintian errors; the tarball holds the same tree.
# Usage: linux_packages_test.sh BUILD_DIR WORK_DIR EXPECTED_FILES
set -euo pipefail
build=$1 work=$2 expected_files=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
cpack --config "$build/CPackConfig.cmake" -G "DEB;TGZ" -B "$work" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack could not make the packages"; }
debs=("$work"/velmora_*.deb)
tarballs=("$work"/velmora-*-linux-*.tar.gz)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single Debian package in $work"
[ ${#tarballs[@]} -eq 1 ] && [ -f "${tarballs[0]}" ] || fail "no single tarball in $work"
deb=${debs[0]} tarball=${tarballs[0]}

LC_ALL=C sort "$expected_files" >"$work/expected.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | LC_ALL=C sort >"$work/deb-files.txt"
diff -u "$work/expected.txt" "$work/deb-files.txt" || fail "the Debian package's files differ from the install tree (-expected +package)"
tar -tzf "$tarball" | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort >"$work/tar-files.txt"
diff -u "$work/expected.txt" "$work/tar-files.txt" || fail "the tarball's files differ from the install tree (-expected +tarball)"

# The libraries velmora-host and the editors link.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
tr ',' '\n' <<<"$depends" | awk '{ print $1 }' >"$work/depends.txt"
for library in libc6 libstdc++6 libgcc-s1 libsndfile1 libcairo2 libx11-6; do
  grep -qxF "$library" "$work/depends.txt" || fail "the package does not depend on $library"
done

lintian --fail-on error "$deb" | tee "$work/lintian.txt" \
  || fail "lintian reports errors"
echo "The Debian package and the tarball hold the install tree; lintian finds no error."
