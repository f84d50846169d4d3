#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs Torvane on the bundled example:
# the desktop program where there is a display, else the command-line
# converter, printing the converted program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
example="$root/examples/worked-arc/source.nc"
if [[ -n "${DISPLAY:-}" && -x "$root/build/bin/torvane" ]]; then
  exec "$root/build/bin/torvane" "$example"
fi
exec "$root/build/bin/torvane-convert" --diameter 100 "$example"
