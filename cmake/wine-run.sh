#!/bin/sh
# Runs a cross-built Windows program under Wine in the tests' environment.
. "$(dirname "$0")/wine-env.sh"
# exec bypasses the wine() of wine-env.sh: the same start without randomization.
exec setarch -R wine "$@"
