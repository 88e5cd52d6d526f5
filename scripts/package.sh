#!/usr/bin/env bash
# Builds every package into dist/ with their SHA-256 sums in dist/SHA256SUMS:
# the Debian package and the tarball for Linux x86_64 (Release build in
# build-package/) and the Windows zip with both DLLs (from the Release builds
# in build-win32/ and build-win64/, the folders the other commands use).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for pair in build-win32:mingw-i686 build-win64:mingw-x86_64; do
  folder=${pair%%:*}
  toolchain=${pair#*:}
  cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=Release
  cmake --build "$folder" -j2 --target velmora_products
done

cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF \
      -DVELMORA_USER_INSTALL=OFF -DVELMORA_WIN32_BUILD="$PWD/build-win32" -DVELMORA_WIN64_BUILD="$PWD/build-win64"
cmake --build build-package -j2

rm -rf build-package/packages dist
mkdir -p dist
cpack --config build-package/CPackConfig.cmake -G "DEB;TGZ;ZIP" -B "$PWD/build-package/packages"
cp build-package/packages/*.deb build-package/packages/*.tar.gz build-package/packages/*.zip dist/
(cd dist && sha256sum -- *.deb *.tar.gz *.zip >SHA256SUMS)
echo "Wrote dist/:"
ls -l dist
