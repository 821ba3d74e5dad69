#!/usr/bin/env bash
# Stops the players that scripts/start.sh started.
#   scripts/kill.sh [TEAM]      (without TEAM: every team started so)
# Only the recorded processes are signalled, and only while they still are
# vektorling players; other processes are never touched. VEKTORLING_OUT names
# another folder than out/, as for start.sh.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${VEKTORLING_OUT:-$root/out}
if [ $# -ge 1 ]; then
  files=("$out/pids/$1.pids")
else
  shopt -s nullglob
  files=("$out/pids/"*.pids)
fi

# A recorded id counts only while it still runs our player: ids are reused.
is_player() { tr '\0' ' ' < "/proc/$1/cmdline" 2>/dev/null | grep -q 'vektorling --host='; }

pids=()
for f in "${files[@]}"; do
  [ -f "$f" ] || { echo "kill.sh: no players recorded in $f" >&2; continue; }
  while read -r pid; do
    [ -n "$pid" ] && is_player "$pid" && pids+=("$pid")
  done < "$f"
  rm -f "$f"
done

# An interrupt lets a player answer the message at hand and close cleanly.
# One that still waits for its server after two seconds (a server that has
# stopped stepping) is killed; its trace keeps every line written so far.
for pid in "${pids[@]}"; do kill -INT "$pid" 2>/dev/null; done
for _ in $(seq 20); do
  left=()
  for pid in "${pids[@]}"; do is_player "$pid" && left+=("$pid"); done
  [ ${#left[@]} -eq 0 ] && break
  sleep 0.1
done
killed=0
for pid in "${pids[@]}"; do is_player "$pid" && kill -KILL "$pid" 2>/dev/null && killed=$((killed + 1)); done
msg="stopped ${#pids[@]} players"
[ "$killed" -gt 0 ] && msg+=" ($killed still waiting for their server after 2 s: killed)"
echo "$msg"
