#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens and converts generated programs in the desktop program (offscreen)
# and prints each step's time against reading the file, and the peak memory
# against the file's size, both measured in the same run; the result must be
# byte-identical to what torvane-convert writes.
# Arguments: the lines for the time run (default 1000000) and for the
# memory run (default 2000000).
set -euo pipefail
source "$(dirname "$0")/common.sh"
lines="${1:-1000000}"
memoryLines="${2:-2000000}"
mkdir -p "$out/settings-gui"
bench_build "$root/build-bench" mainform_bench torvane-convert -- -DTORVANE_GUI=ON
cp "$root/data/defaults/"{main.ini,vorspann.plt,nachspann.plt} "$out/settings-gui/"

# run LINES [LIMIT_MB]: one open + convert, with the peak memory measured by
# the system.
run() {
  awk -v lines="$1" -f "$root/bench/generate.awk" > "$out/program.nc"
  echo "== $1 source lines"
  QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$out/gui-time.txt" \
    "$root/build-bench/bench/gui/mainform_bench" "$out/program.nc" "$out/settings-gui"
  local kb bytes
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$out/gui-time.txt")
  bytes=$(stat -c %s "$out/program.nc")
  awk -v kb="$kb" -v bytes="$bytes" -v limit="${2:-0}" 'BEGIN {
    mb = kb / 1024; file = bytes / 1048576
    printf "%-34s %8.1f MB %7.1fx file (%.1f MB)", "peak memory (/usr/bin/time)", mb, mb / file, file
    if (limit > 0) printf "  target < %d MB: %s", limit, mb < limit ? "ok" : "OVER"
    printf "\n"
  }'
}

# compare: what the desktop program shows (and saves) must be what the
# converter writes; a run of its own, as saving takes memory of its own.
compare() {
  QT_QPA_PLATFORM=offscreen "$root/build-bench/bench/gui/mainform_bench" "$out/program.nc" \
    "$out/settings-gui" "$out/gui-result.min" > /dev/null
  "$root/build-bench/bin/torvane-convert" -s "$out/settings-gui" -o "$out/cli-result.min" "$out/program.nc"
  cmp "$out/gui-result.min" "$out/cli-result.min"
  echo "result: byte-identical to torvane-convert"
}

run "$lines"
compare
run "$memoryLines" 400
