#!/usr/bin/env bash
# Starts players 1 to 11 of one team in the background.
#   scripts/start.sh [HOST] [PORT] [TEAM] [player options...]
# Defaults: 127.0.0.1 3100 vektorling. Extra options go to every player
# (e.g. --syn=1 for a server in synchronous mode). Each player writes its
# output to out/logs/TEAM-N.log; the process ids go to out/pids/TEAM.pids,
# which scripts/kill.sh reads.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
host=${1:-127.0.0.1}
port=${2:-3100}
team=${3:-vektorling}
shift $(( $# < 3 ? $# : 3 ))

player="$root/build/vektorling"
if [ ! -x "$player" ]; then
  echo "start.sh: $player not found; build first (scripts/test.sh or scripts/demo.sh)" >&2
  exit 1
fi
case "$team" in
  *[!A-Za-z0-9_-]*|"") echo "start.sh: team name may hold letters, digits, _ and - only" >&2; exit 1 ;;
esac

mkdir -p "$root/out/logs" "$root/out/pids"
pidfile="$root/out/pids/$team.pids"
if [ -s "$pidfile" ]; then
  echo "start.sh: $pidfile exists: team $team may still run (scripts/kill.sh $team stops it)" >&2
  exit 1
fi
for num in $(seq 1 11); do
  "$player" --host="$host" --port="$port" --team="$team" --num="$num" "$@" \
    > "$root/out/logs/$team-$num.log" 2>&1 &
  echo $! >> "$pidfile"
done
echo "started 11 players of team $team against $host:$port (ids in $pidfile)"
