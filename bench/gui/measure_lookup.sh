#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs lookup_probe several times without and with a first lookup, each run in a virtual
# X server of its own, and prints every run's figures.
#   bench/gui/measure_lookup.sh [build-dir] [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-5}
probe="$build/bench/gui/lookup_probe"
[ -x "$probe" ] || { echo "build $probe first (cmake --build $build --target lookup_probe)" >&2; exit 1; }
for mode in "" --navigate; do
  echo "== lookup_probe ${mode:-(no lookup)}"
  for _ in $(seq "$runs"); do
    dbus-run-session -- xvfb-run -a -s '-screen 0 1280x1024x24' "$probe" $mode 2>/dev/null
  done
done
