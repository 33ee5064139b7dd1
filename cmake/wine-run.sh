#!/bin/sh
# Runs a cross-built Windows program under Wine with the project's test
# environment: code page 932, a private prefix, no Wine debug noise.
: "${WINEPREFIX:=${VELMORIN_WINEPREFIX:-$HOME/.velmorin-wine}}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
