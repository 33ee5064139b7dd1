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
