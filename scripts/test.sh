#!/usr/bin/env bash
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

sanitized="$root/build-asan"
cmake -S "$root" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_GUI=OFF \
  -DTORVANE_SANITIZE=ON -DTORVANE_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$sanitized" -j"$jobs"
echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd "$sanitized" && ctest --output-on-failure -j"$jobs")

threaded="$root/build-tsan"
cmake -S "$root" -B "$threaded" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_GUI=OFF \
  -DTORVANE_TSAN=ON -DTORVANE_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$threaded" -j"$jobs"
echo "== core tests under ThreadSanitizer"
(cd "$threaded" && ctest --output-on-failure -j"$jobs")

portable="$root/build-clang"
CXX=clang++ cmake -S "$root" -B "$portable" -DCMAKE_BUILD_TYPE=Release -DTORVANE_GUI=OFF \
  -DTORVANE_PORTABLE_MATH=ON -DTORVANE_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build "$portable" -j"$jobs"
echo "== core tests built by clang with portable maths"
(cd "$portable" && ctest --output-on-failure -j"$jobs")

"$root/scripts/build.sh" -DTORVANE_WERROR=ON "${launcher[@]}"
echo "== all tests"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs"
