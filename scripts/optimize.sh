#!/usr/bin/env bash
# Tunes one robot type's motion parameters on the real server (or the
# practice field): see scripts/optimize.py --help. Installs Debian's Optuna,
# CMA-ES and PostgreSQL driver packages when run as root, builds the
# programs, and exits 3 when the real server is not installed.
#   scripts/optimize.sh --type T [--trials N] [--workers K] [--storage URL] [--seed S] ...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" python3-optuna python3-cmaes python3-psycopg2 >&2
# Debian's packages are for Debian's python3, which may not be the first on PATH.
python=""
for p in python3 /usr/bin/python3; do
  if command -v "$p" > /dev/null && "$p" -c "import optuna, cmaes" 2> /dev/null; then python=$p; break; fi
done
[ -n "$python" ] || { echo "optimize.sh: no python3 with optuna and cmaes (Debian: python3-optuna python3-cmaes)" >&2; exit 1; }
server=real objective=episode
prev=""
for a in "$@"; do
  case "$a" in --server=*) server=${a#*=} ;; --objective=*) objective=${a#*=} ;; esac
  [ "$prev" = --server ] && server=$a
  [ "$prev" = --objective ] && objective=$a
  prev=$a
done
if [ "$server" = real ] && [ "$objective" = episode ]; then
  "$root/scripts/realserver.sh" find > /dev/null || exit 3
fi
build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
if [ "$objective" = episode ]; then
  BUILD_DIR=$build "$root/scripts/build.sh" vektorling vektorling-sim vektorling-watch >&2
fi
exec "$python" "$root/scripts/optimize.py" --build "$build" "$@"
