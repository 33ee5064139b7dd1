#!/bin/sh
# Builds the fuzz preset and runs every fuzz_* target in turn, starting from
# the committed seeds in fuzz/corpus/<target> and the corpus kept from earlier
# runs in build/fuzz/work/<target>:
#
#   fuzz/run.sh [SECONDS]    each target for SECONDS (default 60); CI runs 5
#   fuzz/run.sh --runs N     each target until N executions (the long run:
#                            --runs 10000000: 1-10 minutes a target alone,
#                            about 27 for fuzz_favorites)
#
# Target names after either (fuzz_settings ...) run only those.
#
# Prints the executions per target. Exits non-zero when any target finds a
# crash, a leak or undefined behaviour; its input is kept as
# build/fuzz/work/<target>-crash-* (or leak-*, ...) to run again by hand.
set -eu
case "${1:-}" in
  --runs) limit="-runs=${2:?--runs needs a count}"; shift 2 ;;
  *) limit="-max_total_time=${1:-60}"; [ $# -gt 0 ] && shift ;;
esac
only="$*"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null || { cmake --build --preset fuzz 2>&1 | tail -20; exit 1; }
# A smaller quarantine than AddressSanitizer's 256 MB keeps freed memory warm
# (a fresh page per allocation was most of some targets' time); a use after
# free within one input is still caught, as one input frees far less.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
work="$root/build/fuzz/work"
mkdir -p "$work"
status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  if [ -n "$only" ]; then
    case " $only " in *" $name "*) ;; *) continue ;; esac
  fi
  corpus="$work/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/corpus/$name"
  [ -d "$seeds" ] || seeds=""
  log="$work/$name.log"
  started="$(date +%s)"
  if "$target" "$limit" -print_final_stats=1 -artifact_prefix="$work/$name-" \
      "$corpus" $seeds >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    echo "$name: ok, $runs runs in $(($(date +%s) - started)) s"
  else
    echo "$name: FAILED (see $log)"
    tail -n 30 "$log"
    status=1
  fi
done
exit $status
