#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Converts a generated 1,000,000-line program with torvane-convert, with
# machine arcs and with linearised arcs (10 degrees, three decimals, block
# numbers), and prints the times as ratios against the floor sketch (only the
# unavoidable work: read, step arcs, format, write; bench/floor) run on the
# same file in turn with it, and the peak memory. Both maths builds run: the
# default one and the portable one (standard library maths, exact
# formatting), and their results must be the same bytes. One more run shows
# the costliest machine dialect (inverse-time feeds and a chord tolerance).
set -euo pipefail
source "$(dirname "$0")/common.sh"
lines="${1:-1000000}"
bench_build "$root/build-bench-core" torvane-convert torvane-check floor_sketch -- -DTORVANE_GUI=OFF -DTORVANE_PORTABLE_MATH=OFF
bench_build "$root/build-bench-portable" torvane-convert -- -DTORVANE_GUI=OFF -DTORVANE_PORTABLE_MATH=ON

awk -v lines="$lines" -f "$root/bench/generate.awk" > "$out/program.nc"
for type in 1 2; do
  mkdir -p "$out/settings-$type"
  sed -e "s/^type=.*/type=$type\r/" -e "s/^enum=.*/enum=1\r/" \
    "$root/data/defaults/main.ini" > "$out/settings-$type/main.ini"
  : > "$out/settings-$type/vorspann.plt"
  : > "$out/settings-$type/nachspann.plt"
done

# Best wall-clock seconds of five runs and the peak resident set of the
# last; every run of a converter alternates with one of the floor sketch,
# so that a machine that speeds up or slows down meanwhile (a shared
# virtual machine does) moves both alike. Prints "seconds kilobytes
# floor-seconds cpu-seconds", the last the best run's processor time over
# all its threads.
floor=("$root/build-bench-core/bench/floor_sketch" "$out/program.nc" "$out/floor.min")
measure() {
  local best="" bestFloor="" cpu=""
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f "%e %M %U %S" -o "$out/time" "$@" > /dev/null
    read -r seconds kilobytes user system < "$out/time"
    if [[ -z "$best" ]] || awk "BEGIN{exit !($seconds < $best)}"; then
      best=$seconds
      cpu=$(awk "BEGIN{print $user + $system}")
    fi
    /usr/bin/time -f "%e %M" -o "$out/time" "${floor[@]}"
    read -r floorSeconds _ < "$out/time"
    if [[ -z "$bestFloor" ]] || awk "BEGIN{exit !($floorSeconds < $bestFloor)}"; then
      bestFloor=$floorSeconds
    fi
  done
  echo "$best $kilobytes $bestFloor $cpu"
}

# row LABEL SECONDS KILOBYTES FLOOR_SECONDS CPU_SECONDS RESULT_FILE
row() {
  local ratio
  ratio=$(awk "BEGIN{printf \"%.2fx\", $2 / ($4 > 0 ? $4 : 0.001)}")
  printf "%-32s %8.3f s  %8s  %7d KB  %6.2f s  (%d lines out; floor %.3f s)\n" "$1" "$2" \
    "$ratio" "$3" "$5" "$(wc -l < "$6")" "$4"
}

"${floor[@]}"
declare -A converted checked
printf "%-32s %8s s  %8s  %10s  %8s\n" "run" "time" "vs floor" "peak RSS" "CPU"
for build in bench-core bench-portable; do
  converter="$root/build-$build/bin/torvane-convert"
  label=""
  [[ "$build" == bench-portable ]] && label=", portable maths"
  for type in 2 1; do
    read -r s kb floor_s cpu < <(measure "$converter" -s "$out/settings-$type" \
      -o "$out/result-$type-$build.min" "$out/program.nc")
    row "type $type$label" "$s" "$kb" "$floor_s" "$cpu" "$out/result-$type-$build.min"
    [[ "$build" == bench-core ]] && converted[$type]=$s
  done
done
# The costliest machine dialect: an inverse-time feed on every line and
# arcs stepped within a chord tolerance (far more lines out).
converter="$root/build-bench-core/bin/torvane-convert"
read -r s kb floor_s cpu < <(measure "$converter" -s "$out/settings-1" --set efeed=2 \
  --set etol=0.01 -o "$out/result-dialect.min" "$out/program.nc" 2>/dev/null)
row "type 1, efeed 2, etol 0.01" "$s" "$kb" "$floor_s" "$cpu" "$out/result-dialect.min"
for type in 1 2; do
  cmp -s "$out/result-$type-bench-core.min" "$out/result-$type-bench-portable.min" ||
    echo "type $type: the portable build writes different bytes"
done
# The result check beside the conversion: --check converts, then reads the
# result back and checks it; torvane-check converts the source without
# writing and checks the result file in the same pass.
checker="$root/build-bench-core/bin/torvane-check"
for type in 2 1; do
  read -r s kb floor_s cpu < <(measure "$converter" --check -s "$out/settings-$type" \
    -o "$out/result-check-$type.min" "$out/program.nc" 2>/dev/null)
  row "type $type, --check" "$s" "$kb" "$floor_s" "$cpu" "$out/result-check-$type.min"
  checked[$type]=$s
  read -r s kb floor_s cpu < <(measure "$checker" -s "$out/settings-$type" "$out/program.nc" \
    "$out/result-$type-bench-core.min")
  row "torvane-check, type $type" "$s" "$kb" "$floor_s" "$cpu" "$out/result-$type-bench-core.min"
done
for type in 2 1; do
  awk -v c="${converted[$type]}" -v k="${checked[$type]}" -v t="$type" 'BEGIN {
    printf "type %s: conversion %.3f s, with --check %.3f s: the check adds %.2fx the conversion\n",
      t, c, k, (k - c) / (c > 0 ? c : 0.001) }'
done
echo "targets: types 1 and 2 at most 1.5x the floor sketch, peak memory under 20 MB;"
echo "the check at most 0.5x the conversion"
echo "(CPU counts both threads of the converter: lines are formatted on a second one)"
