#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the core once more
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the whole suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

sanitized="$root/build-asan"
cmake -S "$root" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_GUI=OFF \
  -DTORVANE_SANITIZE=ON >/dev/null
cmake --build "$sanitized" -j"$jobs"
echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd "$sanitized" && ctest --output-on-failure -j"$jobs")

"$root/scripts/build.sh"
echo "== all tests"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs"
