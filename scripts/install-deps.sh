#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, only when
# something is missing. Safe to run again.
set -euo pipefail

packages=(cmake g++ make pkg-config libcairo2-dev libx11-dev libsndfile1-dev libfftw3-dev fonts-liberation2
          libebur128-dev googletest libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils locales
          dpf-plugins-vst lsp-plugins-vst
          clang libclang-rt-14-dev)

# LV2 build: its headers, lilv and suil for the tests' host, and the
# command-line LV2 tools (lv2info, lv2apply, lv2bench, serdi) the tests run.
packages+=(lv2-dev liblilv-dev libsuil-dev lilv-utils serdi)

# Hosts written elsewhere whose plug-in scanners the tests run on our plug-ins.
packages+=(qtractor ardour)

# Screen density: xrdb sets Xft.dpi under Xvfb, and jalv.gtk3 (on a dummy
# JACK server) embeds the LV2 UI as desktop hosts do.
packages+=(x11-xserver-utils jalv jackd2)

# Packages: file and dpkg-shlibdeps (dpkg-dev) let cpack derive the Debian
# package's dependencies; the tests check the package with lintian.
packages+=(file dpkg-dev lintian)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

# The Windows builds: the mingw-w64 cross compilers with posix threads, and
# Wine to run their tests; Wine's 32-bit half needs the i386 architecture.
packages+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
           binutils-mingw-w64-x86-64 wine wine64 wine32:i386)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number-text tests switch to a locale with a decimal comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
