#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/ (extra CMake arguments are passed on).
# The run command and the test command use this same configuration, warnings
# as errors and ccache included, so that the one's build is the other's and
# nothing is compiled twice.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${TORVANE_BUILD_DIR:-$root/build}"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Paths below the checkout count relative to it, so that another clone of
# the same sources (a CI run, a second work tree) finds them in the cache.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DTORVANE_WERROR=ON \
  -DTORVANE_BENCH=ON "${launcher[@]}" "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
