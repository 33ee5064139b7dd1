#!/bin/sh
# Builds the Windows program and runs it under Wine with a local demo station.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/tools/setup.sh"
cmake --preset mingw >/dev/null
cmake --build --preset mingw
exe="$(find build/mingw -name Velmorin.exe -print -quit 2>/dev/null || true)"
if [ -z "$exe" ]; then
  echo "Velmorin.exe is not part of the build yet: the player bar is still being built."
  echo "The engine and toolkit are; run ./tools/test.sh to see them tested."
  exit 0
fi
