#!/usr/bin/env bash
# vektorling-watch against the real simulation server: one player (number 1 of
# team Alpha, robot type 0) joins; the watcher waits for its robot, has the
# trainer put it at (-3, 2, 0.4) and reads on for a while; the position it
# prints at the end must be (-3, 2) within 0.1 m.
#
# The server is started here as the real server's run.sh starts it: a private
# HOME whose .simspark/spark.rb is the installed one with the ports, agent
# sync mode, no real-time mode and single-threaded settings appended; ready
# once both ports are listening, as /proc/net/tcp shows (a connection that
# never answers would stall a server in sync mode, so the agent port is never
# tried); stopped with SIGINT, then SIGKILL. The ports are picked at random
# from 24100-24999 among those not in use.
#
# Skipped (exit status 77, with the reason) unless VEKTORLING_REALSERVER_TESTS
# is 1 and the server is installed in /opt/rcssserver3d.
#   realserver_watch_test.sh PLAYER WATCH
set -euo pipefail
server=/opt/rcssserver3d/bin/rcssserver3d
spark=/opt/rcssserver3d/share/simspark/spark.rb
if [ "${VEKTORLING_REALSERVER_TESTS:-}" != 1 ]; then
  echo "skipped: VEKTORLING_REALSERVER_TESTS is not 1 (set it to run the tests against the real server)"
  exit 77
fi
if [ ! -x "$server" ] || [ ! -f "$spark" ]; then
  echo "skipped: the real server is not installed ($server)"
  exit 77
fi
player=$1
watch=$2
work=$(mktemp -d)
server_pid='' player_pid=''

# Stops one process we started: SIGINT, then SIGKILL after `wait` seconds.
stop() {
  local pid=$1 wait=$2
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 0
  kill -INT "$pid" 2>/dev/null || true
  for _ in $(seq $((wait * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
cleanup() {
  stop "$player_pid" 2
  stop "$server_pid" 10
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for log in watch.err player.log server.log; do
    [ -s "$work/$log" ] && { echo "--- $log" >&2; grep -v -e 'Material2DTexture' -e 'OpenGLServer' "$work/$log" | tail -n 8 >&2; }
  done
  exit 1
}

# Is a TCP port in LISTEN state on this machine (IPv4 or IPv6)?
listening() {
  awk -v p=":$(printf '%04X' "$1")" 'FNR > 1 && $4 == "0A" && substr($2, length($2) - 4) == p { f = 1 } END { exit !f }' \
    /proc/net/tcp /proc/net/tcp6 2>/dev/null
}

port='' tport=''
for _ in $(seq 20); do
  p=$((24100 + RANDOM % 800))
  if ! listening "$p" && ! listening $((p + 100)); then port=$p tport=$((p + 100)); break; fi
done
[ -n "$port" ] || fail "no two free ports in 24100-24999"

home=$work/home
mkdir -p "$home/.simspark" "$home/cwd"
{
  cat "$spark"
  printf '\n$agentPort = %d\n$serverPort = %d\n$agentSyncMode = true\n$enableRealTimeMode = false\n' "$port" "$tport"
  printf '$serverMultiThreadedMode = false\n$threadedAgentControl = false\n'
} > "$home/.simspark/spark.rb"
launcher=()
command -v setsid > /dev/null && launcher=(setsid)
(cd "$home/cwd" && HOME=$home exec "${launcher[@]}" "$server" > "$work/server.log" 2>&1 < /dev/null) &
server_pid=$!
for _ in $(seq 200); do
  kill -0 "$server_pid" 2>/dev/null || fail "the server ended while starting"
  listening "$port" && listening "$tport" && break
  sleep 0.1
done
listening "$port" && listening "$tport" || fail "the server's ports $port and $tport are not listening after 20 s"

"$player" --host=127.0.0.1 --port="$port" --team=Alpha --num=1 --syn=1 --type=0 > "$work/player.log" 2>&1 &
player_pid=$!

# Once placed, the player beams its robot to its start position: wait for
# the robot, then for 200 frames more (some 8 s of the server's time), before
# the trainer moves it. The command takes effect with the server's next step;
# the frames already on their way show the robot where it was, so the second
# watcher reads on for a while.
status=0
first=$("$watch" --port="$tport" --wait-robots=1 --wait-timeout=60 --frames=200 --print-last 2> "$work/watch.err") ||
  status=$?
[ "$status" = 0 ] || fail "vektorling-watch (waiting for the robot) ended with status $status"
last=$("$watch" --port="$tport" --frames=150 --print-last --send='(agent (team Left)(unum 1)(pos -3 2 0.4))' \
  2>> "$work/watch.err") || status=$?
[ "$status" = 0 ] || fail "vektorling-watch (moving the robot) ended with status $status"
pos=$(printf '%s\n' "$last" | sed -n 's/.*"team":"Alpha","side":"L","unum":1,"pos":\[\([^]]*\)\].*/\1/p')
[ -n "$pos" ] || fail "no robot Alpha L 1 in the last state: $last"
echo "$pos" | awk -F, '{ dx = $1 + 3; dy = $2 - 2; exit !(dx * dx < 0.01 && dy * dy < 0.01) }' ||
  fail "the robot is at ($pos), not at (-3, 2) within 0.1 m"
before=$(printf '%s\n' "$first" | sed -n 's/.*"side":"L","unum":1,"pos":\[\([^]]*\)\].*/\1/p')
echo "ok: the watcher read the robot at ($pos) after the trainer put it at (-3, 2, 0.4) (before: $before)"
