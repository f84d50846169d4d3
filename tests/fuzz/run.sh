#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and runs each for SECONDS (default 60),
# printing runs, crashes and hangs. Usage: tests/fuzz/run.sh [SECONDS] [TARGET...]
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then targets=(conversion format settings ncsyn linefile check); fi
if ! command -v clang++ >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q clang libclang-rt-14-dev
fi
build="$root/build-fuzz"
# The configuration scripts/test.sh builds them with, so that one build serves.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTORVANE_FUZZ=ON -DTORVANE_GUI=OFF -DBUILD_TESTING=OFF -DTORVANE_WERROR=ON "${launcher[@]}" \
  >/dev/null || exit 1
cmake --build "$build" -j"$(nproc)" >/dev/null || exit 1
for target in "${targets[@]}"; do
  work="$build/fuzz-$target"
  mkdir -p "$work/corpus" "$work/artifacts"
  cp -n "$root/tests/fuzz/corpus/$target/"* "$work/corpus/" 2>/dev/null || true
  "$build/tests/fuzz/fuzz_$target" "$work/corpus" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=200000 -artifact_prefix="$work/artifacts/" \
    >"$work/log" 2>&1
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/log" | awk '{print $2}')
  [[ -z "$runs" ]] && runs=$(grep -oE '#[0-9]+' "$work/log" | tail -1 | tr -d '#')
  crashes=$(ls "$work/artifacts" | grep -c '^crash-' || true)
  hangs=$(ls "$work/artifacts" | grep -c '^timeout-' || true)
  printf "%-12s runs %-12s crashes %-3s hangs %-3s exit %s\n" "$target" "${runs:-?}" \
    "$crashes" "$hangs" "$status"
done
