#!/usr/bin/env bash
# Converts a generated 1,000,000-line program with torvane-convert, with
# machine arcs and with linearised arcs (10 degrees, three decimals, block
# numbers), and prints the times as ratios against the floor sketch (only the
# unavoidable work: read, step arcs, format, write; bench/floor) run on the
# same file in the same run, and the peak memory. Both maths builds run: the
# default one and the portable one (standard library maths, exact
# formatting), and their results must be the same bytes. One more run shows
# the costliest machine dialect (inverse-time feeds and a chord tolerance).
set -euo pipefail
source "$(dirname "$0")/common.sh"
lines="${1:-1000000}"
bench_build "$root/build-bench-core" torvane-convert floor_sketch -- -DTORVANE_GUI=OFF -DTORVANE_PORTABLE_MATH=OFF
bench_build "$root/build-bench-portable" torvane-convert -- -DTORVANE_GUI=OFF -DTORVANE_PORTABLE_MATH=ON

awk -v lines="$lines" -f "$root/bench/generate.awk" > "$out/program.nc"
for type in 1 2; do
  mkdir -p "$out/settings-$type"
  sed -e "s/^type=.*/type=$type\r/" -e "s/^enum=.*/enum=1\r/" \
    "$root/data/defaults/main.ini" > "$out/settings-$type/main.ini"
  : > "$out/settings-$type/vorspann.plt"
  : > "$out/settings-$type/nachspann.plt"
done

# Best of three wall-clock seconds and the peak resident set of the last run.
measure() {
  local best=""
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$out/time" "$@" > /dev/null
    read -r seconds kilobytes < "$out/time"
    if [[ -z "$best" ]] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
  done
  echo "$best $kilobytes"
}

read -r floor_s floor_kb < <(measure "$root/build-bench-core/bench/floor_sketch" "$out/program.nc" "$out/floor.min")
floor_lines=$(wc -l < "$out/floor.min")
printf "%-32s %8s s  %8s  %10s\n" "run" "time" "vs floor" "peak RSS"
printf "%-32s %8.3f s  %8s  %7d KB  (%d lines out)\n" "floor sketch (baseline)" "$floor_s" "1.0x" "$floor_kb" "$floor_lines"
for build in bench-core bench-portable; do
  converter="$root/build-$build/bin/torvane-convert"
  label=""
  [[ "$build" == bench-portable ]] && label=", portable maths"
  for type in 2 1; do
    read -r s kb < <(measure "$converter" -s "$out/settings-$type" -o "$out/result-$type-$build.min" "$out/program.nc")
    result_lines=$(wc -l < "$out/result-$type-$build.min")
    ratio=$(awk "BEGIN{printf \"%.2fx\", $s / ($floor_s > 0 ? $floor_s : 0.001)}")
    printf "%-32s %8.3f s  %8s  %7d KB  (%d lines out)\n" "type $type$label" "$s" "$ratio" "$kb" "$result_lines"
  done
done
# The costliest machine dialect: an inverse-time feed on every line and
# arcs stepped within a chord tolerance (far more lines out).
converter="$root/build-bench-core/bin/torvane-convert"
read -r s kb < <(measure "$converter" -s "$out/settings-1" --set efeed=2 --set etol=0.01 \
  -o "$out/result-dialect.min" "$out/program.nc")
result_lines=$(wc -l < "$out/result-dialect.min")
ratio=$(awk "BEGIN{printf \"%.2fx\", $s / ($floor_s > 0 ? $floor_s : 0.001)}")
printf "%-32s %8.3f s  %8s  %7d KB  (%d lines out)\n" "type 1, efeed 2, etol 0.01" "$s" "$ratio" "$kb" \
  "$result_lines"
for type in 1 2; do
  cmp -s "$out/result-$type-bench-core.min" "$out/result-$type-bench-portable.min" ||
    echo "type $type: the portable build writes different bytes"
done
echo "targets: types 1 and 2 at most 1.5x the floor sketch, peak memory under 20 MB"
