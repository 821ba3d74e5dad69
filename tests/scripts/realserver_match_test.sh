#!/usr/bin/env bash
# Two whole teams against the real simulation server in synchronous mode,
# started as a user starts them (scripts/start.sh, its default robot types and
# pause), ROUNDS times in a row on fresh servers: every player must be placed,
# and after the kick-off all 22 must still be on the field, judged from the
# server's monitor stream, after 30 s of game time. Skipped (status 77) when
# no rcssserver3d is installed or VEKTORLING_REALSERVER_TESTS is 0.
#   realserver_match_test.sh BUILD_DIR [ROUNDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
rounds=${2:-2}
. "$root/tests/scripts/realserver_skip.sh"
work=$(mktemp -d)
export VEKTORLING_OUT=$work/out VEKTORLING_PLAYER=$build/vektorling
cleanup() {
  "$root/scripts/kill.sh" > /dev/null 2>&1
  "$root/scripts/realserver.sh" stop --dir "$work/server" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL (round $round): $*" >&2
  tail -n 5 "$work/server/server.log" >&2 2> /dev/null
  exit 1
}

for round in $(seq "$rounds"); do
  read -r port mport _ < <("$root/scripts/realserver.sh" start --sync --fast --dir "$work/server") ||
    fail "the real server did not start"
  "$root/scripts/start.sh" 127.0.0.1 "$port" Alpha --syn=1 > /dev/null || fail "start.sh Alpha"
  "$root/scripts/start.sh" 127.0.0.1 "$port" Beta --syn=1 > /dev/null || fail "start.sh Beta"
  "$build/vektorling-watch" --port="$mport" --wait-robots=22 --wait-timeout=30 --frames=100 > /dev/null ||
    fail "not all 22 robots came onto the field"
  "$build/vektorling-watch" --port="$mport" --send="(kickOff Left)" --frames=1 > /dev/null || fail "no kick-off"
  last=$("$build/vektorling-watch" --port="$mport" --until=30 --print-last) || fail "the match stopped before 30 s"
  for team in Alpha Beta; do
    for n in $(seq 11); do
      log=$VEKTORLING_OUT/logs/$team-$n.log
      grep -q -e "has not placed" -e "select failed" "$log" && fail "$team $n: $(cat "$log")"
    done
  done
  robots=$(grep -o '"unum":' <<< "$last" | wc -l)
  [ "$robots" = 22 ] || fail "$robots robots on the field after 30 s: $last"
  python3 - "$last" << 'EOF' || fail "a robot is missing from the truth"
import json, sys
state = json.loads(sys.argv[1])
seen = {(r["side"], r["unum"]) for r in state["robots"]}
missing = [f"{s}{n}" for s in "LR" for n in range(1, 12) if (s, n) not in seen]
if state["t"] < 30 or missing:
    print(f"game time {state['t']}, missing {missing}", file=sys.stderr)
    sys.exit(1)
EOF
  "$root/scripts/kill.sh" > /dev/null 2>&1
  "$root/scripts/realserver.sh" stop --dir "$work/server" 2> /dev/null
  echo "round $round: 22 players joined and played 30 s"
done
echo "ok: $rounds rounds of two teams joining the real server, nobody lost"
