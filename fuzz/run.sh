#!/bin/sh
# Builds the fuzz preset and runs every fuzz_* target for SECONDS each (default
# 60), starting from the committed seeds in fuzz/corpus/<target>. Exits non-zero
# when any target finds a crash, a leak or undefined behaviour.
set -eu
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null || { cmake --build --preset fuzz 2>&1 | tail -20; exit 1; }
work="$root/build/fuzz/work"
mkdir -p "$work"
status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$work/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  log="$work/$name.log"
  if "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/$name-" \
      "$corpus" $seeds >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    echo "$name: ok, $runs runs in ${seconds}s"
  else
    echo "$name: FAILED (see $log)"
    tail -n 30 "$log"
    status=1
  fi
done
exit $status
