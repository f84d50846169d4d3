#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test, with warnings as
# errors: the core once under AddressSanitizer and UndefinedBehaviorSanitizer
# (GCC), once under ThreadSanitizer, once built by clang with only standard
# library maths, then the whole suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# As in build.sh: another clone of the same sources hits the same cache.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true

# core_tests TITLE FOLDER [CMAKE_ARGS...]: the core and its tests, without
# the desktop program, built in FOLDER and run. CXX picks the compiler.
core_tests() {
  local title="$1" folder="$2"
  shift 2
  cmake -S "$root" -B "$folder" -DTORVANE_GUI=OFF -DTORVANE_WERROR=ON "${launcher[@]}" "$@" \
    >/dev/null
  cmake --build "$folder" -j"$jobs"
  echo "== core tests $title"
  (cd "$folder" && ctest --output-on-failure -j"$jobs")
}

core_tests "under AddressSanitizer and UndefinedBehaviorSanitizer" "$root/build-asan" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_SANITIZE=ON
core_tests "under ThreadSanitizer" "$root/build-tsan" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_TSAN=ON
CXX=clang++ core_tests "built by clang with portable maths" "$root/build-clang" \
  -DCMAKE_BUILD_TYPE=Release -DTORVANE_PORTABLE_MATH=ON

# The benchmark helpers are built (not run) here too, so that they cannot rot.
# The fuzz targets are built (run them with tests/fuzz/run.sh), so that
# they cannot rot either.
echo "== fuzz targets, built"
CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTORVANE_FUZZ=ON -DTORVANE_GUI=OFF -DBUILD_TESTING=OFF -DTORVANE_WERROR=ON "${launcher[@]}" \
  >/dev/null
cmake --build "$root/build-fuzz" -j"$jobs" >/dev/null

"$root/scripts/build.sh"
echo "== all tests"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs"
