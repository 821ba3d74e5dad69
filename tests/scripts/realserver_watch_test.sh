#!/usr/bin/env bash
# vektorling-watch against the real simulation server: one player (number 1 of
# team Alpha, robot type 0) joins; the watcher waits for its robot, has the
# trainer put it at (-3, 2, 0.4) and reads on for a while; the position it
# prints at the end must be (-3, 2) within 0.1 m. Skipped (status 77) when no
# rcssserver3d is installed or VEKTORLING_REALSERVER_TESTS is 0.
#   realserver_watch_test.sh PLAYER WATCH
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/scripts/realserver_skip.sh"
player=$1
watch=$2
work=$(mktemp -d)
player_pid=''
cleanup() {
  if [ -n "$player_pid" ]; then
    kill -INT "$player_pid" 2> /dev/null
    sleep 0.5
    kill -KILL "$player_pid" 2> /dev/null
    wait "$player_pid" 2> /dev/null
  fi
  "$root/scripts/realserver.sh" stop --dir "$work/server" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for log in watch.err player.log server/server.log; do
    [ -s "$work/$log" ] && { echo "--- $log" >&2; grep -v -e 'Material2DTexture' -e 'OpenGLServer' "$work/$log" | tail -n 8 >&2; }
  done
  exit 1
}

read -r port tport _ < <("$root/scripts/realserver.sh" start --sync --fast --dir "$work/server") ||
  fail "the real server did not start"
"$player" --host=127.0.0.1 --port="$port" --team=Alpha --num=1 --syn=1 --type=0 > "$work/player.log" 2>&1 &
player_pid=$!

# Once placed, the player beams its robot to its start position: wait for
# the robot, then for 200 frames more, before the trainer moves it. The
# frames already on their way show the robot where it was, so the second
# watcher reads on for a while.
first=$("$watch" --port="$tport" --wait-robots=1 --wait-timeout=60 --frames=200 --print-last 2> "$work/watch.err") ||
  fail "vektorling-watch (waiting for the robot) ended with status $?"
last=$("$watch" --port="$tport" --frames=150 --print-last --send='(agent (team Left)(unum 1)(pos -3 2 0.4))' \
  2>> "$work/watch.err") || fail "vektorling-watch (moving the robot) ended with status $?"
pos=$(printf '%s\n' "$last" | sed -n 's/.*"team":"Alpha","side":"L","unum":1,"pos":\[\([^]]*\)\].*/\1/p')
[ -n "$pos" ] || fail "no robot Alpha L 1 in the last state: $last"
echo "$pos" | awk -F, '{ dx = $1 + 3; dy = $2 - 2; exit !(dx * dx < 0.01 && dy * dy < 0.01) }' ||
  fail "the robot is at ($pos), not at (-3, 2) within 0.1 m"
before=$(printf '%s\n' "$first" | sed -n 's/.*"side":"L","unum":1,"pos":\[\([^]]*\)\].*/\1/p')
echo "ok: the watcher read the robot at ($pos) after the trainer put it at (-3, 2, 0.4) (before: $before)"
