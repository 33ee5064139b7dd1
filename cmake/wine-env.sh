# Sourced by the Wine helper scripts: the test environment of every Windows
# program that the tests run (code page 932, a private prefix, no debug noise),
# plus the display and sound server that wine-server.sh started, if any.
: "${WINEPREFIX:=${VELMORIN_WINEPREFIX:-$HOME/.velmorin-wine}}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
VELMORIN_SESSION="$WINEPREFIX/velmorin-session"
if [ -f "$VELMORIN_SESSION/env" ]; then
  . "$VELMORIN_SESSION/env"
fi
