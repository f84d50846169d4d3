#!/usr/bin/env bash
# Builds the editor pane benchmark (Release) and runs it without a display.
# Arguments go to the benchmark: the number of lines (default 1000000).
# Exits non-zero when a limit is exceeded.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${TORVANE_BENCH_BUILD_DIR:-$root/build-bench}"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DTORVANE_BENCH=ON >/dev/null
cmake --build "$build_dir" --target editor_bench -j"${TORVANE_BENCH_JOBS:-1}"
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$build_dir/bench/editor_bench" "$@"
