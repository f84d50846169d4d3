#!/usr/bin/env bash
# Opens and converts a generated 1,000,000-line program in the desktop
# program (offscreen) and prints the times against reading the file.
set -euo pipefail
source "$(dirname "$0")/common.sh"
lines="${1:-1000000}"
mkdir -p "$out/settings-gui"
bench_build "$root/build-bench" mainform_bench -- -DTORVANE_GUI=ON
awk -v lines="$lines" -f "$root/bench/generate.awk" > "$out/program.nc"
cp "$root/data/defaults/"{main.ini,vorspann.plt,nachspann.plt} "$out/settings-gui/"
QT_QPA_PLATFORM=offscreen "$root/build-bench/bench/gui/mainform_bench" "$out/program.nc" "$out/settings-gui"
