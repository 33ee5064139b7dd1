#!/bin/sh
# Builds the Windows program and runs it under Wine with a local demo station
# (a looping tune with changing titles) as its last station, from a scratch
# directory. With a display: press the bar's play button and listen. Without
# one: a virtual display and a null sound sink are used, play is pressed for
# you and a screenshot of the playing bar is saved (the path is printed).
# Arguments go to tools/run_demo.py (--headless, --seconds N, --screenshot PATH).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/tools/setup.sh"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Velmorin
exec python3 "$root/tools/run_demo.py" "$@"
