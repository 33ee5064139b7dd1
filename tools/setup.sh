#!/bin/sh
# Installs what building and testing Velmorin needs on Debian 12 (bookworm):
# compilers (host, clang for fuzzing, MinGW-w64 for Windows), GoogleTest,
# Wine with a Japanese locale, a virtual display, a null sound sink and the
# tools that make and check test media, and mpg123 (the CPU benchmark's
# baseline). Quiet and quick when all is present.
set -eu

packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 locales xvfb xdotool x11-utils imagemagick pulseaudio pulseaudio-utils
  lame sox mpg123 fonts-ipafont-gothic python3"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

# Wine reports code page 932 only under a generated Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  as_root sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
