#!/usr/bin/env bash
# Configures and builds into build/ (extra CMake arguments are passed on).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${TORVANE_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
