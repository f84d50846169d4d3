#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Converts a generated program with a 1,000,000-line result in the desktop program
# (offscreen), shows it in the preview and turns it: prints the times of the
# first picture and of one frame against QPainter drawing as many lines.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/bench/out"
lines="${1:-1000000}"
# Every fourth generated block is a half circle, linearised into 18 lines:
# 4 source blocks become about 15 result lines.
blocks=$((lines * 4 / 15))
mkdir -p "$out/settings-preview"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DTORVANE_BENCH=ON >/dev/null
cmake --build "$root/build" --target preview_bench -j"$(nproc)" >/dev/null
awk -v lines="$blocks" -f "$root/bench/generate.awk" > "$out/preview.nc"
cp "$root/data/defaults/"{main.ini,vorspann.plt,nachspann.plt} "$out/settings-preview/"
QT_QPA_PLATFORM=offscreen "$root/build/bench/preview/preview_bench" "$out/preview.nc" "$out/settings-preview"
