#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: package-test.sh CPACK_CONFIG
# The Debian package as cpack makes it passes lintian with neither an error
# nor a warning, and its desktop entry opens the MIME type the package
# registers. Exit 77 (skipped) when lintian is not installed;
# scripts/install-deps.sh installs it.
set -euo pipefail
config="$1"
if ! command -v lintian >/dev/null; then
  echo "lintian is not installed (scripts/install-deps.sh installs it)"
  exit 77
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Packaged in a folder of its own, so that a package made by hand in the
# build tree is neither used nor replaced.
if ! cpack --config "$config" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  exit 1
fi
packages=("$scratch"/torvane_*.deb)
package="${packages[0]}"
[[ -f "$package" ]] || { echo "cpack made no package"; exit 1; }

status=0
report="$(lintian --fail-on error,warning --tag-display-limit 0 "$package" 2>&1)" || status=$?
grep -v '^running with root privileges' <<<"$report" || true
if ((status != 0)); then
  echo "lintian finds errors or warnings in $(basename "$package")"
  exit 1
fi

dpkg-deb -x "$package" "$scratch/root"
type="$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' \
        "$scratch/root/usr/share/mime/packages/torvane.xml")"
grep -qx "MimeType=$type;" "$scratch/root/usr/share/applications/torvane.desktop" ||
  { echo "the desktop entry does not open ${type:-the registered MIME type}"; exit 1; }
echo "$(basename "$package"): lintian clean"
