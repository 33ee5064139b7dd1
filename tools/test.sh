#!/bin/sh
# Builds everything and runs every test: the portable core natively and under
# AddressSanitizer/UBSan, the Windows program and its tests under Wine, the
# Python test tools, and a short pass of every fuzz target.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/tools/setup.sh"

# A private Wine prefix inside the build tree: nothing is shared with the user's.
export VELMORIN_WINEPREFIX="${VELMORIN_WINEPREFIX:-$root/build/wineprefix}"
jobs="$(nproc 2>/dev/null || echo 2)"

step() { printf '\n== %s ==\n' "$*"; }

for preset in native asan mingw; do
  step "$preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  step "$preset: test"
  ctest --preset "$preset"
done

step "fuzz: 5 s per target"
fuzz/run.sh 5

printf '\nAll tests passed.\n'
