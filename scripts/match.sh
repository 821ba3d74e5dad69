#!/usr/bin/env bash
# One match in one command, on the practice field (the default) or on the
# real simulation server, judged from the server's own truth: starts the
# server, one or two teams through scripts/start.sh, waits until every robot
# is on the field, kicks off, plays N seconds of game time, stops everything
# and prints the summary (per player: walked, falls, share of time down, ball
# touches and the error of its own position estimate; goals; players lost).
#   scripts/match.sh [--server field|real] [--seconds N] [--teams 1|2]
#                    [--tactics NAME[,NAME]] [--params DIR[,DIR]] [--types LIST] [--pause S]
#                    [--seed N] [--monitor-port N] [-- player options...]
#   --server real   rcssserver3d in synchronous fast mode (found as
#                   scripts/realserver.sh finds it); the truth is its monitor
#                   stream, read by vektorling-watch
#   --seconds N     game time after the kick-off (default 300: one half on the
#                   real server)
#   --teams         1 or 2 teams of eleven (default 2)
#   --tactics       default or ball; LEFT,RIGHT for two teams (default: default)
#   --params        parameter folders (start.sh --params); LEFT,RIGHT for two
#                   teams, "-" for none (default: none)
#   --types LIST    robot types of players 1 to 11 (see scripts/start.sh)
#   --pause S       seconds between two players joining (default: start.sh's)
#   --seed N        the practice field's random draws (default 1)
#   --monitor-port N  the port where watchers (RoboViz, vektorling-watch)
#                   connect: the field's trainer port or the real server's
#                   monitor port (default 0: a free one, printed at the start)
# Leaves in out/match/ (VEKTORLING_OUT/match): trace.jsonl (the truth),
# field.svg, report.txt and report.jsonl, the players' traces/ and logs/,
# and for the real server its log. BUILD_DIR as for demo.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

server=field seconds=300 teams=2 tactics=default params="-" types="" pause="" seed=1 monitor_port=0
player_options=()
while [ $# -gt 0 ]; do
  case "$1" in
    --server) server=${2:?}; shift 2 ;;
    --server=*) server=${1#*=}; shift ;;
    --seconds) seconds=${2:?}; shift 2 ;;
    --seconds=*) seconds=${1#*=}; shift ;;
    --teams) teams=${2:?}; shift 2 ;;
    --teams=*) teams=${1#*=}; shift ;;
    --tactics) tactics=${2:?}; shift 2 ;;
    --tactics=*) tactics=${1#*=}; shift ;;
    --params) params=${2:?}; shift 2 ;;
    --params=*) params=${1#*=}; shift ;;
    --types) types=${2:?}; shift 2 ;;
    --types=*) types=${1#*=}; shift ;;
    --pause) pause=${2:?}; shift 2 ;;
    --pause=*) pause=${1#*=}; shift ;;
    --seed) seed=${2:?}; shift 2 ;;
    --seed=*) seed=${1#*=}; shift ;;
    --) shift; player_options=("$@"); break ;;
    --monitor-port) monitor_port=${2:?}; shift 2 ;;
    --monitor-port=*) monitor_port=${1#*=}; shift ;;
    -h|--help) sed -n '2,28p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "match.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
case "$server" in field|real) ;; *) echo "match.sh: --server takes field or real" >&2; exit 2 ;; esac
case "$teams" in 1|2) ;; *) echo "match.sh: --teams takes 1 or 2" >&2; exit 2 ;; esac
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt 0 ] || { echo "match.sh: --seconds takes a whole number above 0" >&2; exit 2; }
[[ "$seed" =~ ^[0-9]+$ ]] || { echo "match.sh: --seed takes a whole number" >&2; exit 2; }
[[ "$monitor_port" =~ ^[0-9]+$ ]] && [ "$monitor_port" -le 65535 ] ||
  { echo "match.sh: --monitor-port takes a port number (0 for a free one)" >&2; exit 2; }
left_tactics=${tactics%%,*}
right_tactics=${tactics#*,}
left_params=${params%%,*}
right_params=${params#*,}
for d in "$left_params" "$right_params"; do
  [ "$d" = - ] || [ -d "$d" ] || { echo "match.sh: --params: no folder $d" >&2; exit 2; }
done
for t in "$left_tactics" "$right_tactics"; do
  case "$t" in default|ball) ;; *) echo "match.sh: --tactics takes default or ball (or LEFT,RIGHT)" >&2; exit 2 ;; esac
done
if [ "$server" = real ]; then
  scripts/realserver.sh find >/dev/null || exit 3
fi

build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
BUILD_DIR=$build scripts/build.sh vektorling vektorling-sim vektorling-watch

base=${VEKTORLING_OUT:-$root/out}
out=$base/match
rm -rf "$out"
mkdir -p "$out"
export VEKTORLING_OUT=$out VEKTORLING_PLAYER=${VEKTORLING_PLAYER:-$build/vektorling}
progress=--progress-lines
[ -t 1 ] && [ "$server" = field ] && progress=--progress

field_pid="" watch_pid=""
cleanup() {
  scripts/kill.sh >/dev/null 2>&1 || true
  [ -n "$watch_pid" ] && kill "$watch_pid" 2>/dev/null || true
  [ -n "$field_pid" ] && kill "$field_pid" 2>/dev/null || true
  [ "$server" = real ] && scripts/realserver.sh stop --dir "$out/realserver" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_teams() {  # PORT PAUSE
  local names=(Left Right) t
  for i in $(seq 0 $((teams - 1))); do
    t=$left_tactics
    [ "$i" = 1 ] && t=$right_tactics
    p=$left_params
    [ "$i" = 1 ] && p=$right_params
    [ "$p" = - ] && p=""
    scripts/start.sh --trace ${types:+--types="$types"} ${p:+--params="$p"} --pause="$2" 127.0.0.1 "$1" "${names[$i]}" --syn=1 \
      --tactics="$t" ${player_options[@]+"${player_options[@]}"} > "$out/start-${names[$i]}.txt"
  done
}

echo "match on the $server server: $teams team(s), $seconds s of game time"
if [ "$server" = field ]; then
  # The field holds its clock until every player has joined, then kicks off
  # after 3 s.
  "$build/vektorling-sim" --sync --players=$((teams * 11)) --port=0 --trainer-port="$monitor_port" --seed="$seed" \
    --kickoff-after=3 --duration=$((seconds + 3)) --quiet --trace="$out/trace.jsonl" --svg="$out/field.svg" \
    "$progress" > "$out/field.txt" 2> >(tee "$out/field.log" >&2) &
  field_pid=$!
  port=""
  for _ in $(seq 100); do
    port=$(sed -n 's/^players on port \([0-9]*\).*/\1/p' "$out/field.txt" 2>/dev/null | head -n 1)
    [ -n "$port" ] && break
    kill -0 "$field_pid" 2>/dev/null || { echo "match.sh: the practice field did not start" >&2; exit 1; }
    sleep 0.1
  done
  [ -n "$port" ] || { echo "match.sh: the practice field did not report its port" >&2; exit 1; }
  echo "monitor port $(sed -n 's/.*trainer on port \([0-9]*\).*/\1/p' "$out/field.txt" | head -n 1) (RoboViz, vektorling-watch)"
  start_teams "$port" "${pause:-0}"
  wait "$field_pid" || { echo "match.sh: the practice field failed (see $out/field.log)" >&2; exit 1; }
  field_pid=""
else
  read -r port mport _ < <(scripts/realserver.sh start --sync --fast --monitor-port "$monitor_port" --dir "$out/realserver") ||
    { echo "match.sh: the real server did not start" >&2; exit 1; }
  echo "monitor port $mport (RoboViz, vektorling-watch)"
  # The recording runs from before the first player joins to the end.
  "$build/vektorling-watch" --port="$mport" --trace="$out/trace.jsonl" --svg="$out/field.svg" \
    --until="$seconds" --progress 2> >(tee "$out/watch.log" >&2) &
  watch_pid=$!
  start_teams "$port" "${pause:-${VEKTORLING_PAUSE:-1.5}}"
  # Kick off once every robot is on the field and has had 200 steps to beam
  # to its start; after 30 s without them all, with those there (the report
  # names the missing).
  if ! "$build/vektorling-watch" --port="$mport" --wait-robots=$((teams * 11)) --wait-timeout=30 \
      --frames=100 > /dev/null; then
    echo "match.sh: not every robot is on the field after 30 s; kicking off with those there" >&2
  fi
  "$build/vektorling-watch" --port="$mport" --send="(kickOff Left)" --frames=1 > /dev/null
  wait "$watch_pid" || { echo "match.sh: the monitor stream ended early (see $out/watch.log)" >&2; }
  watch_pid=""
fi
scripts/kill.sh > /dev/null 2>&1 || true
[ "$server" = real ] && { scripts/realserver.sh stop --dir "$out/realserver" 2>/dev/null || true; cp "$out/realserver/server.log" "$out/server.log" 2>/dev/null || true; }

rosters=()
for f in "$out"/start-*.txt; do rosters+=(--roster "$f"); done
python3 scripts/report.py "$out/trace.jsonl" --players "$out/traces" --logs "$out/logs" "${rosters[@]}" \
  --json "$out/report.jsonl" | tee "$out/report.txt"
echo "truth:   $out/trace.jsonl"
echo "picture: $out/field.svg"
