#!/usr/bin/env bash
# Opens and converts a generated program in the desktop program (offscreen)
# and prints the times against reading the file, and the peak memory
# (/usr/bin/time -v). Targets: 1,000,000 source lines converted and shown
# in under 1.5 s, opened in under 0.5 s; 2,000,000 lines opened and
# converted in under 400 MB. Usage: bench/gui.sh [LINES] (default 1000000;
# the memory run takes twice as many).
set -euo pipefail
source "$(dirname "$0")/common.sh"
lines="${1:-1000000}"
mkdir -p "$out/settings-gui"
bench_build "$root/build-bench" mainform_bench -- -DTORVANE_GUI=ON
cp "$root/data/defaults/"{main.ini,vorspann.plt,nachspann.plt} "$out/settings-gui/"
bench="$root/build-bench/bench/gui/mainform_bench"

awk -v lines="$lines" -f "$root/bench/generate.awk" > "$out/program.nc"
echo "== $lines source lines"
QT_QPA_PLATFORM=offscreen "$bench" "$out/program.nc" "$out/settings-gui"

double=$((lines * 2))
awk -v lines="$double" -f "$root/bench/generate.awk" > "$out/program-2x.nc"
echo "== $double source lines: peak memory"
QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$out/time-gui" "$bench" "$out/program-2x.nc" \
  "$out/settings-gui" > /dev/null
kb=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$out/time-gui")
bytes=$(stat -c %s "$out/program-2x.nc")
awk -v kb="$kb" -v bytes="$bytes" 'BEGIN {
  printf "peak RSS %.0f MB, %.1fx the source file (target: under 400 MB)\n", kb / 1024, kb * 1024 / bytes
}'
rm -f "$out/program-2x.nc"
