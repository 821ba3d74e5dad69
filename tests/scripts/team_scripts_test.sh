#!/usr/bin/env bash
# The team scripts against the practice field: start.sh's default robot types
# make a legal team in any order of joining; eleven players of one type do
# not, and the four refused players say so; kill.sh then stops every player
# cleanly.
#   team_scripts_test.sh PLAYER FIELD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
player=$1
field=$2
work=$(mktemp -d)
export VEKTORLING_OUT=$work/out VEKTORLING_PLAYER=$player
field_pid=""
cleanup() {
  "$root/scripts/kill.sh" >/dev/null 2>&1 || true
  [ -n "$field_pid" ] && kill -INT "$field_pid" 2>/dev/null && wait "$field_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAIL: command failed at line $LINENO" >&2' ERR
fail() { echo "FAIL: $*" >&2; exit 1; }
count() { grep -c -- "$1" "${@:2}" 2>/dev/null | awk -F: '{ n += $NF } END { print n + 0 }'; }

"$field" --sync --port=0 --trainer-port=0 --no-noise > "$work/field.out" 2> "$work/field.err" &
field_pid=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/^players on port \([0-9]*\).*/\1/p' "$work/field.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the practice field did not report its port"

if "$root/scripts/start.sh" --types=0,1 127.0.0.1 "$port" Short 2> "$work/usage.err"; then
  fail "start.sh accepted two robot types for eleven players"
fi
grep -q "needs 11" "$work/usage.err" || fail "no clear error for a short --types: $(cat "$work/usage.err")"

# Players of type 2 (numbers 7 and 8) get the type's parameter file.
mkdir -p "$work/params"
echo "walk.max_speed = 0.9" > "$work/params/type2.params"
"$root/scripts/start.sh" --pause=0 --trace --params="$work/params" 127.0.0.1 "$port" Legal --syn=1 > "$work/start.out"
[ "$(count '^player ' "$work/start.out")" = 11 ] || fail "start.sh did not report eleven players: $(cat "$work/start.out")"
[ "$(grep -c 'type2.params' "$work/start.out")" = 2 ] || fail "not exactly the two type-2 players got type2.params: $(cat "$work/start.out")"
VEKTORLING_TYPES=0,0,0,0,0,0,0,0,0,0,0 "$root/scripts/start.sh" --pause=0 127.0.0.1 "$port" OneType --syn=1 > /dev/null

# The refused players warn after one simulated second without a team.
for _ in $(seq 600); do
  [ "$(count 'has not placed' "$VEKTORLING_OUT"/logs/OneType-*.log)" -ge 4 ] && break
  sleep 0.1
done
# Players join at the same time, so which four are refused depends on the
# order their init commands arrive: the warnings must name the same players
# as the field's refusals.
warned=$(for n in $(seq 1 11); do
  if grep -q 'has not placed' "$VEKTORLING_OUT/logs/OneType-$n.log"; then echo "$n"; fi
done | sort -n | tr '\n' ' ')
refused=$(sed -n 's/.*stays outside team OneType (number \([0-9]*\),.*/\1/p' "$work/field.err" | sort -n | tr '\n' ' ')
[ "$(wc -w <<< "$refused")" = 4 ] || fail "the field did not refuse exactly four robots: $(cat "$work/field.err")"
[ "$warned" = "$refused" ] || fail "players $warned warned, the field refused $refused"
[ "$(count 'has not placed' "$VEKTORLING_OUT"/logs/OneType-*.log)" = 4 ] || fail "a refused player warned twice"
[ "$(count 'has not placed' "$VEKTORLING_OUT"/logs/Legal-*.log)" = 0 ] || fail "a player of the default mix was not placed"
[ "$(count 'outside team Legal' "$work/field.err")" = 0 ] || fail "the field refused a robot of the default mix"

"$root/scripts/kill.sh" > "$work/kill.out"
grep -q "stopped 22 players$" "$work/kill.out" || fail "kill.sh: $(cat "$work/kill.out")"
[ "$(count 'closed connection to' "$VEKTORLING_OUT"/logs/*.log)" = 22 ] || fail "not every player closed cleanly"
for n in $(seq 1 11); do
  last=$(tail -n 1 "$VEKTORLING_OUT/traces/Legal-$n.jsonl")
  [[ "$last" == '{"t":'*'"side":"L"'*'}' ]] || fail "Legal-$n's trace ends with: $last"
done
echo "ok: the default types make a legal team, one type refuses four players, kill.sh stops all 22"
