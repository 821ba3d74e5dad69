#!/usr/bin/env bash
# Starts players 1 to 11 of one team in the background, one after another.
#   scripts/start.sh [--types=LIST] [--pause=SECONDS] [--trace] [--params=DIR] [HOST] [PORT] [TEAM]
#                    [player options...]
# Defaults: 127.0.0.1 3100 vektorling.
#   --types=LIST   robot types of players 1 to 11, comma-separated. Default
#                  0,0,0,0,0,0,2,2,0,4,4: the types that walk on the real
#                  server (types 1 and 3 fall at once there and do not get
#                  up). The real server takes at most 7 robots of one type and
#                  9 of any two types per team, and needs at least 3 types in
#                  a team of 11; a refused robot plays blind.
#   --pause=S      seconds between two players (default 1.5): a server in
#                  synchronous mode can freeze for good when several players
#                  join within a short time.
#   --trace        each player writes its trace to out/traces/TEAM-N.jsonl.
#   --params=DIR   a player of type N reads DIR/typeN.params (--params=FILE)
#                  when that file exists; the others play with the defaults.
# VEKTORLING_TYPES and VEKTORLING_PAUSE set the same from the environment; the
# options win. Player options go to every player (e.g. --syn=1 for a server in
# synchronous mode; a --type there gives every player that type). Each player
# writes its output to out/logs/TEAM-N.log; the process ids go to
# out/pids/TEAM.pids, which scripts/kill.sh reads. VEKTORLING_OUT names
# another folder than out/, VEKTORLING_PLAYER another player program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
die() { echo "start.sh: $*" >&2; exit 1; }

types=${VEKTORLING_TYPES:-0,0,0,0,0,0,2,2,0,4,4}
pause=${VEKTORLING_PAUSE:-1.5}
trace=false
params_dir=""
positional=()
player_options=()
for arg in "$@"; do
  case "$arg" in
    --types=*) types=${arg#*=} ;;
    --pause=*) pause=${arg#*=} ;;
    --trace) trace=true ;;
    --params=*) params_dir=${arg#*=} ;;
    -h|--help) sed -n '2,23p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    --*) player_options+=("$arg") ;;
    *)
      if [ ${#player_options[@]} -eq 0 ] && [ ${#positional[@]} -lt 3 ]; then
        positional+=("$arg")
      else
        player_options+=("$arg")
      fi ;;
  esac
done
host=${positional[0]:-127.0.0.1}
port=${positional[1]:-3100}
team=${positional[2]:-vektorling}

IFS=, read -r -a type_of <<< "$types"
[ ${#type_of[@]} -eq 11 ] || die "--types needs 11 comma-separated robot types, one per player (got '$types')"
for t in "${type_of[@]}"; do
  [[ "$t" =~ ^[0-9]+$ ]] || die "robot type '$t' is not a number (the types are 0 to 4)"
done
[[ "$pause" =~ ^[0-9]+([.][0-9]+)?$ ]] || die "--pause takes seconds, e.g. 1.5 (got '$pause')"
[ -z "$params_dir" ] || [ -d "$params_dir" ] || die "--params=$params_dir: no such folder"
case "$team" in
  *[!A-Za-z0-9_-]*|"") die "team name may hold letters, digits, _ and - only" ;;
esac

player=${VEKTORLING_PLAYER:-$root/build/vektorling}
[ -x "$player" ] || die "$player not found; build first (scripts/test.sh or scripts/demo.sh)"
out=${VEKTORLING_OUT:-$root/out}
mkdir -p "$out/logs" "$out/pids"
$trace && mkdir -p "$out/traces"
pidfile="$out/pids/$team.pids"
[ -s "$pidfile" ] && die "$pidfile exists: team $team may still run (scripts/kill.sh $team stops it)"

echo "starting team $team against $host:$port, ${pause} s apart"
last=""
for num in $(seq 1 11); do
  if [ -n "$last" ] && [ "$pause" != 0 ]; then
    sleep "$pause"
    kill -0 "$last" 2>/dev/null || echo "start.sh: player $((num - 1)) has already ended; see its log" >&2
  fi
  log="$out/logs/$team-$num.log"
  extra=()
  $trace && extra+=("--trace=$out/traces/$team-$num.jsonl")
  params_note=""
  if [ -n "$params_dir" ] && [ -f "$params_dir/type${type_of[num - 1]}.params" ]; then
    extra+=("--params=$params_dir/type${type_of[num - 1]}.params")
    params_note=", parameters $params_dir/type${type_of[num - 1]}.params"
  fi
  "$player" --host="$host" --port="$port" --team="$team" --num="$num" --type="${type_of[num - 1]}" \
    "${extra[@]}" "${player_options[@]}" > "$log" 2>&1 &
  last=$!
  echo "$last" >> "$pidfile"
  echo "player $num: robot type ${type_of[num - 1]}, pid $last, log $log$params_note"
done
echo "started 11 players of team $team (ids in $pidfile)"
