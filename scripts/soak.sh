#!/usr/bin/env bash
# Soak run: two full teams on the practice field in synchronous mode for N
# simulated minutes (default 10). Samples every process's resident memory
# and the simulation rate, prints a table and a verdict on memory growth.
#   scripts/soak.sh [MINUTES]
# BUILD_DIR names another build folder than build/, VEKTORLING_OUT another
# output folder than out/ (the run leaves out/soak/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

minutes=${1:-10}
case "$minutes" in ''|*[!0-9]*|0) echo "soak.sh: MINUTES must be a whole number above 0" >&2; exit 2 ;; esac
build=${BUILD_DIR:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
export VEKTORLING_OUT=${VEKTORLING_OUT:-$root/out}
export VEKTORLING_PLAYER=$build/vektorling
out=$VEKTORLING_OUT/soak
mkdir -p "$out"
rm -f "$VEKTORLING_OUT/pids/SoakLeft.pids" "$VEKTORLING_OUT/pids/SoakRight.pids"

scripts/deps.sh
echo "building (release)..."
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target vektorling vektorling-sim >/dev/null

sim_pid=""
cleanup() {
  scripts/kill.sh SoakLeft >/dev/null 2>&1 || true
  scripts/kill.sh SoakRight >/dev/null 2>&1 || true
  if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then kill "$sim_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

seconds=$((minutes * 60))
"$build/vektorling-sim" --sync --players=22 --port=0 --trainer-port=0 --seed=1 --kickoff-after=3 --duration="$seconds" \
  --quiet --progress > "$out/summary.txt" 2> "$out/progress.txt" &
sim_pid=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/^players on port \([0-9]*\).*/\1/p' "$out/summary.txt" 2>/dev/null | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "soak.sh: the practice field did not start" >&2; exit 1; }
scripts/start.sh --pause=0 127.0.0.1 "$port" SoakLeft --syn=1 >/dev/null
scripts/start.sh --pause=0 127.0.0.1 "$port" SoakRight --syn=1 >/dev/null

rss() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
simulated() { tr '\r' '\n' < "$out/progress.txt" | sed -n 's/^\([0-9.]*\) s simulated.*/\1/p' | tail -n 1; }

players=$(cat "$VEKTORLING_OUT/pids/SoakLeft.pids" "$VEKTORLING_OUT/pids/SoakRight.pids" | awk '{print $1}')
printf "%8s %10s %8s %10s %12s %12s\n" "wall s" "sim s" "x real" "field KB" "player KB min" "player KB max" | tee "$out/table.txt"
start=$(date +%s)
last_sim=0
last_wall=$start
samples=()
while kill -0 "$sim_pid" 2>/dev/null; do
  sleep 2
  now=$(date +%s)
  sim=$(simulated); sim=${sim:-0}
  field=$(rss "$sim_pid")
  min=""; max=0
  for p in $players; do
    r=$(rss "$p"); [ "$r" -gt 0 ] || continue
    [ -z "$min" ] || [ "$r" -lt "$min" ] && min=$r
    [ "$r" -gt "$max" ] && max=$r
  done
  rate=$(awk -v a="$sim" -v b="$last_sim" -v w="$((now - last_wall))" 'BEGIN { printf "%.1f", (w > 0) ? (a - b) / w : 0 }')
  [ "$field" -gt 0 ] || break
  printf "%8d %10.1f %8s %10d %12s %12d\n" "$((now - start))" "$sim" "$rate" "$field" "${min:-0}" "$max" | tee -a "$out/table.txt"
  samples+=("$sim $field $max")
  last_sim=$sim
  last_wall=$now
done
wait "$sim_pid" || true
sim_pid=""

# Growth per simulated minute from the first sample after a minute on.
printf '%s\n' "${samples[@]}" | awk '
  $1 >= 60 && !first { s0 = $1; f0 = $2; p0 = $3; first = 1 }
  { s1 = $1; f1 = $2; p1 = $3 }
  END {
    if (!first || s1 - s0 < 60) { print "verdict: too short to judge (needs two simulated minutes)"; exit }
    m = (s1 - s0) / 60
    fg = (f1 - f0) / m; pg = (p1 - p0) / m
    printf "memory growth per simulated minute: field %+.0f KB, largest player %+.0f KB\n", fg, pg
    flat = (fg < 0.01 * f1 + 64) && (pg < 0.01 * p1 + 64)
    print (flat ? "verdict: flat" : "verdict: GROWING")
  }' | tee -a "$out/table.txt"
grep -v '^players on port' "$out/summary.txt" | head -n 2
