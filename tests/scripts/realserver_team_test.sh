#!/usr/bin/env bash
# A whole team against the real simulation server in synchronous mode, started
# as a user would: scripts/start.sh with its default robot types and pause.
# Every player must be placed in the team, and the match must go on after the
# kick-off. Needs the real server: VEKTORLING_REALSERVER names the folder with
# its run.sh and stop.sh (the server installed by its install.sh). Without it
# the test is skipped (exit status 77).
#   realserver_team_test.sh PLAYER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
player=$1
rs=${VEKTORLING_REALSERVER:-}
if [ -z "$rs" ] || [ ! -x "$rs/run.sh" ] || [ ! -x /opt/rcssserver3d/bin/rcssserver3d ]; then
  echo "skipped: set VEKTORLING_REALSERVER to the folder with the real server's run.sh and stop.sh (installed by its install.sh)"
  exit 77
fi
work=$(mktemp -d)
export VEKTORLING_OUT=$work/out VEKTORLING_PLAYER=$player
cleanup() {
  "$root/scripts/kill.sh" >/dev/null 2>&1 || true
  "$rs/stop.sh" "$work/server.pid" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAIL: command failed at line $LINENO" >&2' ERR
fail() { echo "FAIL: $*" >&2; tail -n 5 "$work/server.log" >&2; exit 1; }

# Two ports that are free now; run.sh refuses ports in use, so try a few.
started=false
for _ in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 20000))
  trainer_port=$((port + 1))
  if "$rs/run.sh" --sync ${VEKTORLING_REALSERVER_FAST:+--fast} --port "$port" --trainer-port "$trainer_port" \
      --pid-file "$work/server.pid" --log "$work/server.log" > /dev/null 2>&1; then
    started=true
    break
  fi
done
$started || fail "the real server did not start"

"$root/scripts/start.sh" --trace 127.0.0.1 "$port" Alpha --syn=1 > /dev/null
sleep 3
for n in $(seq 1 11); do
  grep -q "has not placed" "$VEKTORLING_OUT/logs/Alpha-$n.log" && fail "player $n was not placed: $(cat "$VEKTORLING_OUT/logs/Alpha-$n.log")"
  tail -n 1 "$VEKTORLING_OUT/traces/Alpha-$n.jsonl" | grep -q '"side":"L"' || fail "player $n does not know its side"
done

# Kick off through the trainer port (a framed command), then let it play.
command="(kickOff Left)"
exec 7<> "/dev/tcp/127.0.0.1/$trainer_port" || fail "no trainer port"
n=${#command}
printf "\\x$(printf %02x $((n >> 24 & 255)))\\x$(printf %02x $((n >> 16 & 255)))\\x$(printf %02x $((n >> 8 & 255)))\\x$(printf %02x $((n & 255)))%s" "$command" >&7
sleep 5
exec 7>&-
for n in $(seq 1 11); do
  t=$(tail -n 1 "$VEKTORLING_OUT/traces/Alpha-$n.jsonl" | sed -n 's/^{"t":\([0-9.]*\),.*/\1/p')
  awk -v t="${t:-0}" 'BEGIN { exit !(t >= 2) }' || fail "player $n: game time $t after the kick-off"
done
echo "ok: eleven players joined the real server one by one and played"
