#!/bin/sh
# Instructions that the engine's own work (split, frame search, volume) spends
# per second of 128 kbit/s audio, against a memcpy of the same bytes, counted
# by callgrind. Builds the bench preset first. Usage: bench/callgrind.sh
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
media="$root/build/bench/test-media"
python3 tests/servers/make_media.py "$media" tone1k_44k_stereo_128.mp3 >/dev/null
bench="$root/build/bench/bench/bench_engine_overhead"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
count() {
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$work/$1.out" \
    "$bench" "$media/tone1k_44k_stereo_128.mp3" "$1" >/dev/null 2>"$work/$1.log"
  sed -n 's/^totals: *//p' "$work/$1.out" | head -1
}
engine="$(count engine)"
copy="$(count memcpy)"
echo "instructions per second of audio (60 s measured):"
echo "  engine (split + frames + volume): $((engine / 60))"
echo "  memcpy of the same bytes:         $((copy / 60))"
awk -v e="$engine" -v c="$copy" 'BEGIN { printf "  ratio engine / memcpy: %.2f\n", e / c }'
