#!/usr/bin/env bash
# vektorling-watch on the practice field's trainer port: two players walk
# through a short match (kick-off after 1 s, 8 s in all) while the watcher
# writes its trace from the monitor stream. Every frame of a step whose game
# time is its own must show the ball and the robots where the field's own
# trace has them (positions as the trace writes them, headings of standing
# robots within 0.002 degrees), and the frames must cover the match.
#   field_watch_test.sh SIM PLAYER WATCH
set -uo pipefail
sim=$1
player=$2
watch=$3
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2> /dev/null; done
  wait 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for log in sim.err watch.err p1.log p2.log; do
    [ -s "$work/$log" ] && { echo "--- $log" >&2; tail -n 5 "$work/$log" >&2; }
  done
  exit 1
}

"$sim" --sync --players=2 --port=0 --trainer-port=0 --quiet --seed=3 --kickoff-after=1 --duration=8 \
  --trace="$work/field.jsonl" > "$work/sim.out" 2> "$work/sim.err" &
pids+=($!)
for _ in $(seq 100); do
  grep -q "trainer on port" "$work/sim.out" 2> /dev/null && break
  sleep 0.1
done
read -r port tport < <(sed -n 's/^players on port \([0-9]*\), trainer on port \([0-9]*\).*/\1 \2/p' "$work/sim.out")
[ -n "${tport:-}" ] || fail "the field did not say its ports"
"$watch" --port="$tport" --trace="$work/watch.jsonl" 2> "$work/watch.err" &
watch_pid=$!
pids+=($watch_pid)
"$player" --port="$port" --team=Alpha --num=1 --syn=1 --type=0 > "$work/p1.log" 2>&1 &
pids+=($!)
"$player" --port="$port" --team=Beta --num=1 --syn=1 --type=2 > "$work/p2.log" 2>&1 &
pids+=($!)
# The watcher ends when the field closes at the end of the match.
for _ in $(seq 600); do
  kill -0 "$watch_pid" 2> /dev/null || break
  sleep 0.1
done
wait "$watch_pid" || fail "vektorling-watch ended with status $?"

python3 - "$work/field.jsonl" "$work/watch.jsonl" << 'PY' || fail "the watcher's trace differs from the field's"
import collections, json, sys
field = [json.loads(line) for line in open(sys.argv[1])]
watch = [json.loads(line) for line in open(sys.argv[2])]
times = collections.Counter(line["t"] for line in field)
by_time = {line["t"]: line for line in field if times[line["t"]] == 1}
def seen(line):
    return (line["ball"]["pos"], [(r["team"], r["side"], r["unum"], r["pos"]) for r in line["robots"]])
def headings(line, standing_in):  # the field keeps a toppling robot's heading: standing robots only
    return [r["heading"] if not f["fallen"] else None for r, f in zip(line["robots"], standing_in["robots"])]
compared = 0
for line in watch:
    if line["t"] in by_time:
        compared += 1
        field_line = by_time[line["t"]]
        # The heading comes from the torso's turn, written to six decimals.
        if seen(line) != seen(field_line) or any(
                a is not None and abs(a - b) > 0.002
                for a, b in zip(headings(field_line, field_line), headings(line, field_line))):
            sys.exit(f"at t={line['t']}: field {seen(field_line)} {headings(field_line, field_line)}, "
                     f"watcher {seen(line)} {headings(line, field_line)}")
# One frame every second step: half of the steps with a time of their own.
if compared < len(by_time) // 2 - 2 or not any(len(l["robots"]) == 2 for l in watch):
    sys.exit(f"only {compared} frames of {len(by_time)} steps compared")
print(f"ok: {compared} frames of the watcher equal the field's trace ({len(field)} steps, {len(watch)} frames)")
PY
