#!/usr/bin/env bash
# One command from a fresh clone to a watched match on the practice field:
# installs what is missing (as root), builds in release mode, starts the
# practice field in synchronous mode and a team of eleven players, plays 60
# simulated seconds as fast as the machine allows, prints the summary and
# leaves the trace and the picture in out/demo/. --pushes N has the field
# knock N random standing robots over (onto their back or front) at random
# moments of the match. --tactics NAME starts the players with that tactics
# ("default": walk straight ahead; "ball": play the ball); with two teams,
# --tactics LEFT,RIGHT gives each team its own. --seed N seeds the field's
# random draws (default 1). BUILD_DIR names another build folder than
# build/, VEKTORLING_OUT another output folder than out/.
#   scripts/demo.sh [--teams 2] [--seconds N] [--pushes N] [--tactics NAME[,NAME]] [--seed N]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

teams=1
seconds=60
pushes=0
tactics=default
seed=1
while [ $# -gt 0 ]; do
  case "$1" in
    --teams) teams=${2:?}; shift 2 ;;
    --teams=*) teams=${1#*=}; shift ;;
    --seconds) seconds=${2:?}; shift 2 ;;
    --seconds=*) seconds=${1#*=}; shift ;;
    --pushes) pushes=${2:?}; shift 2 ;;
    --pushes=*) pushes=${1#*=}; shift ;;
    --tactics) tactics=${2:?}; shift 2 ;;
    --tactics=*) tactics=${1#*=}; shift ;;
    --seed) seed=${2:?}; shift 2 ;;
    --seed=*) seed=${1#*=}; shift ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
case "$teams" in 1|2) ;; *) echo "demo.sh: --teams takes 1 or 2" >&2; exit 2 ;; esac
case "$pushes" in ''|*[!0-9]*) echo "demo.sh: --pushes takes a whole number" >&2; exit 2 ;; esac
case "$seed" in ''|*[!0-9]*) echo "demo.sh: --seed takes a whole number" >&2; exit 2 ;; esac
left_tactics=${tactics%%,*}
right_tactics=${tactics#*,}
for t in "$left_tactics" "$right_tactics"; do
  case "$t" in default|ball) ;; *) echo "demo.sh: --tactics takes default or ball (or two of them: LEFT,RIGHT)" >&2; exit 2 ;; esac
done

build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
export VEKTORLING_OUT=${VEKTORLING_OUT:-$root/out}
export VEKTORLING_PLAYER=${VEKTORLING_PLAYER:-$build/vektorling}

BUILD_DIR=$build scripts/build.sh vektorling vektorling-sim

out=$VEKTORLING_OUT/demo
mkdir -p "$out"
rm -f "$VEKTORLING_OUT/pids/DemoLeft.pids" "$VEKTORLING_OUT/pids/DemoRight.pids"

# A terminal sees one line counting up; a log gets a line every 10 s.
progress=--progress-lines
[ -t 1 ] && progress=--progress
sim_pid=""
cleanup() {
  scripts/kill.sh DemoLeft >/dev/null 2>&1 || true
  scripts/kill.sh DemoRight >/dev/null 2>&1 || true
  if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then kill "$sim_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Free ports are chosen by the field and read back from its first line.
"$build/vektorling-sim" --sync --players=$((teams * 11)) --port=0 --trainer-port=0 --seed="$seed" --kickoff-after=3 \
  --duration="$seconds" --pushes="$pushes" --quiet --trace="$out/trace.jsonl" --svg="$out/field.svg" "$progress" \
  > "$out/summary.txt" 2> >(tee "$out/field.log" >&2) &
sim_pid=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/^players on port \([0-9]*\).*/\1/p' "$out/summary.txt" 2>/dev/null | head -n 1)
  [ -n "$port" ] && break
  kill -0 "$sim_pid" 2>/dev/null || { echo "demo.sh: the practice field did not start" >&2; exit 1; }
  sleep 0.1
done
[ -n "$port" ] || { echo "demo.sh: the practice field did not report its port" >&2; exit 1; }
echo "monitor port $(sed -n 's/.*trainer on port \([0-9]*\).*/\1/p' "$out/summary.txt" | head -n 1) (RoboViz, vektorling-watch)"

start=$(date +%s.%N)
# The practice field does not freeze when players join together: no pause.
scripts/start.sh --pause=0 127.0.0.1 "$port" DemoLeft --syn=1 --tactics="$left_tactics" >/dev/null
[ "$teams" = 2 ] && scripts/start.sh --pause=0 127.0.0.1 "$port" DemoRight --syn=1 --tactics="$right_tactics" >/dev/null

wait "$sim_pid" || { echo "demo.sh: the practice field failed (see $out/field.log)" >&2; exit 1; }
sim_pid=""
end=$(date +%s.%N)
echo
grep -v '^players on port' "$out/summary.txt"
awk -v s="$start" -v e="$end" -v n="$seconds" \
  'BEGIN { w = e - s; printf "\n%d simulated seconds in %.1f s of wall time (%.1f times real time)\n", n, w, n / w }'
echo "trace:   $out/trace.jsonl"
echo "picture: $out/field.svg"
