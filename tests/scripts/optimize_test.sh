#!/usr/bin/env bash
# The optimiser's machinery on a stub objective (no simulation server): two
# trials in SQLite with their progress lines, parameter file and picture, a
# resumed study, and two worker processes sharing one study in a PostgreSQL
# server that the test starts and stops itself. Skips (77), saying why,
# without Debian's optuna and cmaes packages; the PostgreSQL part is
# skipped, saying so, without a PostgreSQL server or its driver. $1: the
# build folder with the player (default build/).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
pg_data="" pg_ctl=""
cleanup() {
  if [ -n "$pg_ctl" ] && [ -n "$pg_data" ]; then as_postgres "$pg_ctl" -D "$pg_data" -m immediate stop > /dev/null 2>&1; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

python=""
for p in python3 /usr/bin/python3; do
  if command -v "$p" > /dev/null && "$p" -c "import optuna, cmaes" 2> /dev/null; then python=$p; break; fi
done
[ -n "$python" ] || { echo "skipped: no python3 with optuna and cmaes (Debian: python3-optuna python3-cmaes)"; exit 77; }
opt() { "$python" "$root/scripts/optimize.py" --type 0 --objective stub "$@"; }

# Two trials, then one more in the same study.
opt --trials 2 --out "$work/a" > "$work/a.out" 2>&1 || fail "optimize.py ended with $?: $(cat "$work/a.out")"
[ "$(grep -c '^worker 0: trial [0-9]*: score .*best .*trials/min$' "$work/a.out")" = 2 ] || fail "not two progress lines: $(cat "$work/a.out")"
grep -q '^default parameters (trial 0): score' "$work/a.out" || fail "the defaults were not the first trial: $(cat "$work/a.out")"
params="$work/a/type0.params"
for key in walk.max_speed walk.speed_step walk.pitch_gain walk.hip_pitch_offset behavior.walk_restart_from_zero; do
  grep -q "^$key = " "$params" || fail "$key missing in $params"
done
grep -q '^# Made by: scripts/optimize.sh --type 0 --objective stub --trials 2' "$params" || fail "no command in $params: $(head -3 "$params")"
grep -q '<svg' "$work/a/type0-scores.svg" || fail "no picture"
# The file is one the player takes: it goes on to connect (to a host that
# cannot be, so it ends with 1 at once, not 2).
"${1:-$root/build}/vektorling" --params="$params" --host=256.1.1.1 > "$work/player.out" 2>&1
[ $? = 1 ] || fail "the player refused the optimiser's file: $(cat "$work/player.out")"
opt --trials 3 --out "$work/a" > "$work/b.out" 2>&1 || fail "the resumed study ended with $?"
[ "$(grep -c '^worker 0: trial 2: ' "$work/b.out")" = 1 ] && [ "$(grep -c '^worker 0: trial' "$work/b.out")" = 1 ] ||
  fail "resuming did not run just trial 2: $(cat "$work/b.out")"

# PostgreSQL: a server of the test's own on a Unix socket, two workers.
as_postgres() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
bin=""
for d in /usr/lib/postgresql/*/bin; do [ -x "$d/initdb" ] && bin=$d; done
if [ -z "$bin" ] || { [ "$(id -u)" -eq 0 ] && ! id postgres > /dev/null 2>&1; }; then
  echo "PostgreSQL part skipped: no PostgreSQL server (Debian: postgresql)"
  exit 0
fi
"$python" -c "import psycopg2" 2> /dev/null || { echo "PostgreSQL part skipped: no psycopg2 (Debian: python3-psycopg2)"; exit 0; }
pg_dir=$(mktemp -d)
chmod 755 "$pg_dir"
[ "$(id -u)" -eq 0 ] && chown postgres "$pg_dir"
pg_data=$pg_dir/data
as_postgres "$bin/initdb" -D "$pg_data" -A trust -U postgres > "$work/initdb.out" 2>&1 || fail "initdb: $(tail -3 "$work/initdb.out")"
port=$((20000 + RANDOM % 20000))
pg_ctl=$bin/pg_ctl
as_postgres "$pg_ctl" -D "$pg_data" -w -l "$pg_dir/log" -o "-p $port -k $pg_dir -c listen_addresses=''" start > /dev/null ||
  fail "the PostgreSQL server did not start: $(tail -3 "$pg_dir/log")"
url="postgresql+psycopg2://postgres@/postgres?host=$pg_dir&port=$port"
opt --trials 6 --storage "$url" --study shared --out "$work/pg1" > "$work/pg1.out" 2>&1 &
first=$!
opt --trials 6 --storage "$url" --study shared --out "$work/pg2" > "$work/pg2.out" 2>&1
second=$?
wait $first || fail "worker 1 ended with $?: $(cat "$work/pg1.out")"
[ $second = 0 ] || fail "worker 2 ended with $second: $(cat "$work/pg2.out")"
numbers=$(cat "$work/pg1.out" "$work/pg2.out" | sed -n 's/^worker 0: trial \([0-9]*\):.*/\1/p' | sort -n)
[ "$(sort -u <<< "$numbers" | wc -l)" = "$(wc -l <<< "$numbers")" ] || fail "two workers ran the same trial: $numbers"
[ "$(wc -l <<< "$numbers")" -ge 6 ] || fail "fewer than 6 trials in the shared study: $numbers"
grep -q '^worker 0: trial' "$work/pg1.out" && grep -q '^worker 0: trial' "$work/pg2.out" ||
  fail "one worker ran no trial: $(cat "$work/pg1.out" "$work/pg2.out")"
rm -rf "$pg_dir/log"
as_postgres "$pg_ctl" -D "$pg_data" -m fast stop > /dev/null
pg_ctl=""
rm -rf "$pg_dir"
echo "ok: SQLite study of 2 + 1 trials; PostgreSQL study shared by two workers: trials $(tr '\n' ' ' <<< "$numbers")"
