#!/usr/bin/env bash
# Stops the players that scripts/start.sh started.
#   scripts/kill.sh [TEAM]      (without TEAM: every team started so)
# Only the recorded processes are signalled, and only while they still are
# vektorling players; other processes are never touched.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -ge 1 ]; then
  files=("$root/out/pids/$1.pids")
else
  shopt -s nullglob
  files=("$root/out/pids/"*.pids)
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

# An interrupt lets a player finish the message at hand and close cleanly;
# one that is still waiting for its server after two seconds is terminated.
for pid in "${pids[@]}"; do kill -INT "$pid" 2>/dev/null; done
for _ in $(seq 20); do
  left=()
  for pid in "${pids[@]}"; do is_player "$pid" && left+=("$pid"); done
  [ ${#left[@]} -eq 0 ] && break
  sleep 0.1
done
for pid in "${pids[@]}"; do is_player "$pid" && kill -TERM "$pid" 2>/dev/null; done
echo "stopped ${#pids[@]} players"
