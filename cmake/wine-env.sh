# Sourced by the Wine helper scripts: the test environment of every Windows
# program that the tests run (code page 932, a private prefix, no debug noise),
# plus the display and sound server that wine-server.sh started, if any.
# The prefix is the checkout's own unless the caller names one: one wineserver,
# session and single-instance mutex for every checkout on the machine would let
# one checkout's test run end another's display, or its bar keep another's bars
# from starting at all. The sourcing script lives in cmake/.
: "${WINEPREFIX:=${VELMORIN_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
VELMORIN_SESSION="$WINEPREFIX/velmorin-session"
if [ -f "$VELMORIN_SESSION/env" ]; then
  . "$VELMORIN_SESSION/env"
fi

# Debian's Wine loader sits at a fixed address just below 2 GB, and the kernel
# starts its heap anywhere in the gigabyte above it. About one start in five
# thousand the heap covers the page every Wine process maps at 0x7ffe0000, and
# that process ends at once ("failed to map the shared user data"). Without
# address randomization the heap starts right after the loader.
wine() { setarch -R wine "$@"; }
