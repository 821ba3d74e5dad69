#!/usr/bin/env bash
# Installs what is missing (as root) and builds the named targets in release
# mode, quietly, in build/ (BUILD_DIR names another folder). Used by the
# scripts that play matches.
#   scripts/build.sh TARGET...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
"$root/scripts/deps.sh"
echo "building (release)..."
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target "$@" >/dev/null
