#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: install-test.sh BUILD_DIR SOURCE_DIR GUI(0|1)
# An installed converter converts like the build's one, and its settings land
# in the user's XDG folder, copied from the installed defaults.
set -euo pipefail
build="$1" source="$2" gui="$3"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null
expected_files=(bin/torvane-convert bin/torvane-check share/torvane/main.ini
                share/torvane/vorspann.plt share/torvane/nachspann.plt
                share/man/man1/torvane-convert.1.gz share/man/man1/torvane-check.1.gz
                share/doc/torvane/copyright share/doc/torvane/changelog.gz)
if [[ "$gui" == 1 ]]; then
  expected_files+=(bin/torvane share/man/man1/torvane.1.gz share/applications/torvane.desktop
                   share/icons/hicolor/scalable/apps/torvane.svg share/mime/packages/torvane.xml)
fi
for file in "${expected_files[@]}"; do
  [[ -e "$prefix/$file" ]] || { echo "not installed: $file"; exit 1; }
done

example="$source/examples/worked-arc/source.nc"
XDG_CONFIG_HOME="$scratch/config" "$prefix/bin/torvane-convert" -d 100 "$example" >"$scratch/installed.min"
"$build/bin/torvane-convert" -s "$source/data/defaults" -d 100 "$example" >"$scratch/built.min"
cmp "$scratch/installed.min" "$scratch/built.min"
for name in main.ini vorspann.plt nachspann.plt; do
  cmp "$scratch/config/torvane/$name" "$source/data/defaults/$name"
done
"$prefix/bin/torvane-convert" --version | grep -q '^torvane-convert '
"$prefix/bin/torvane-check" -s "$source/data/defaults" -d 100 "$example" "$scratch/installed.min" \
  >/dev/null
echo "installed converter works, settings in \$XDG_CONFIG_HOME/torvane"
