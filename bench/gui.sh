#!/usr/bin/env bash
# Opens and converts a generated 1,000,000-line program in the desktop
# program (offscreen) and prints the times against reading the file.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/bench/out"
lines="${1:-1000000}"
mkdir -p "$out/settings-gui"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DTORVANE_BENCH=ON >/dev/null
cmake --build "$root/build" --target mainform_bench -j"$(nproc)" >/dev/null
awk -v lines="$lines" -f "$root/bench/generate.awk" > "$out/program.nc"
cp "$root/data/defaults/"{main.ini,vorspann.plt,nachspann.plt} "$out/settings-gui/"
QT_QPA_PLATFORM=offscreen "$root/build/bench/gui/mainform_bench" "$out/program.nc" "$out/settings-gui"
