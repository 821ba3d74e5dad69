#!/usr/bin/env bash
# Builds vektorling and runs every test through CTest.
# Run as root on a fresh Debian machine, it first installs the missing packages.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(dirname "$0")/deps.sh"

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
