#!/usr/bin/env bash
# Physical tests of one robot per type, judged from the server's own truth:
#   scripts/challenge.sh run|getup|kick|turn [--type N]... [--server real|field] [--repeats K]
#                        [--seed N] [-- player options...]
# run: the league's run test (15 s from (-13.5, 0)); getup: knocked onto its
# back and its front, K times each; kick: the ball 0.2 m in front. The real
# server (the default) is found as scripts/realserver.sh finds it. Builds
# first (BUILD_DIR as for demo.sh); the tables go to standard output, one JSON
# line per try to out/challenge/TEST/tries.jsonl. Details: scripts/challenge.py --help.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case "${1:-}" in
  run|getup|kick|turn) ;;
  -h|--help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "challenge.sh: the first argument is the test: run, getup, kick or turn" >&2; exit 2 ;;
esac
server=real
prev=""
for a in "$@"; do
  [ "$a" = -- ] && break
  case "$a" in --server=*) server=${a#*=} ;; esac
  [ "$prev" = --server ] && server=$a
  prev=$a
done
if [ "$server" = real ]; then
  "$root/scripts/realserver.sh" find > /dev/null || exit 3
fi
build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
BUILD_DIR=$build "$root/scripts/build.sh" vektorling vektorling-sim vektorling-watch
exec python3 "$root/scripts/challenge.py" "$1" --build "$build" "${@:2}"
