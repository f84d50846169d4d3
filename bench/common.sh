# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the benchmark scripts: they build in folders of their own
# (build-bench*), never in the tests' build/, and write scratch files to
# bench/out/.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/bench/out"
mkdir -p "$out"

# bench_build DIR TARGET... [-- CMAKE_ARGS...]: a Release build of TARGETs in DIR.
bench_build() {
  local dir="$1"
  shift
  local targets=()
  while (($# > 0)) && [[ "$1" != "--" ]]; do
    targets+=("$1")
    shift
  done
  (($# > 0)) && shift
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTORVANE_BENCH=ON "$@" >/dev/null
  cmake --build "$dir" --target "${targets[@]}" -j"$(nproc)" >/dev/null
}
