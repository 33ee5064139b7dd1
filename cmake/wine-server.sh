#!/bin/sh
# Keeps one wineserver, with Wine's own service processes, alive across a
# test run (start), and ends them (stop).
: "${WINEPREFIX:=${VELMORIN_WINEPREFIX:-$HOME/.velmorin-wine}}"
export WINEPREFIX WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
case "$1" in
  start)
    # Everything started here is detached from our output: services that a
    # test process started would inherit its pipe, and the test driver would
    # wait for them to close it.
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot -i </dev/null >/dev/null 2>&1
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
esac
exit 0
