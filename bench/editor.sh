#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the editor pane benchmark (Release) and runs it without a display.
# Arguments go to the benchmark: the number of lines (default 1000000).
# Exits non-zero when a limit is exceeded.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bench_build "$root/build-bench" editor_bench -- -DTORVANE_GUI=ON
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$root/build-bench/bench/editor_bench" "$@"
