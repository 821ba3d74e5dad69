#!/usr/bin/env bash
# Builds vektorling and runs every test through CTest.
#   scripts/test.sh              release build in build/
#   scripts/test.sh --sanitize   clang build with AddressSanitizer and
#                                UndefinedBehaviorSanitizer (halting on the
#                                first report) in build-sanitize/, with the
#                                fuzz targets' smoke runs
# Run as root on a fresh Debian machine, it first installs the missing packages.
set -euo pipefail
# The folder of the scripts, taken before changing folder: the script may be
# started by a relative path from anywhere.
scripts=$(cd "$(dirname "$0")" && pwd)
cd "$scripts/.."

sanitize=false
case "${1:-}" in
  --sanitize) sanitize=true ;;
  "") ;;
  *) echo "test.sh: unknown option $1 (only --sanitize)" >&2; exit 2 ;;
esac

if $sanitize; then
  "$scripts/deps.sh" clang libclang-rt-14-dev
  build=${BUILD_DIR:-build-sanitize}
  CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEKTORLING_FUZZ=ON >/dev/null
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
else
  # The optimiser's test needs Debian's Optuna, CMA-ES and PostgreSQL.
  "$scripts/deps.sh" python3-optuna python3-cmaes python3-psycopg2 postgresql
  build=${BUILD_DIR:-build}
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
