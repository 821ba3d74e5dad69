#!/usr/bin/env bash
# Plays a series of matches on the practice field and tabulates them: one
# match per seed, the left team with the first tactics against the second
# (or against nobody), each with the summary kept in out/matches/SEED/.
#   scripts/matches.sh [--tactics LEFT[,RIGHT]] [--seconds N] [--seeds FIRST-LAST]
# Defaults: --tactics ball (an empty right side), 300 seconds, seeds 1-10.
# Per match: the score, the left team's falls per minute, its ball touches
# and the players who touched the ball. BUILD_DIR and VEKTORLING_OUT as for
# demo.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tactics=ball
seconds=300
seeds=1-10
while [ $# -gt 0 ]; do
  case "$1" in
    --tactics) tactics=${2:?}; shift 2 ;;
    --tactics=*) tactics=${1#*=}; shift ;;
    --seconds) seconds=${2:?}; shift 2 ;;
    --seconds=*) seconds=${1#*=}; shift ;;
    --seeds) seeds=${2:?}; shift 2 ;;
    --seeds=*) seeds=${1#*=}; shift ;;
    -h|--help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "matches.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
case "$seeds" in *[0-9]-[0-9]*) ;; *) echo "matches.sh: --seeds takes FIRST-LAST" >&2; exit 2 ;; esac
first=${seeds%-*}
last=${seeds#*-}
teams=1
case "$tactics" in *,*) teams=2 ;; esac

out=${VEKTORLING_OUT:-$root/out}/matches
mkdir -p "$out"
printf "%-5s %-7s %-12s %-13s %-7s\n" seed score "falls/min" "ball touches" touchers
total_for=0 total_against=0
for seed in $(seq "$first" "$last"); do
  VEKTORLING_OUT="$out/$seed" scripts/demo.sh --teams "$teams" --tactics "$tactics" --seconds "$seconds" \
    --seed "$seed" > /dev/null 2>&1 || { echo "matches.sh: match $seed failed (see $out/$seed/demo/)" >&2; exit 1; }
  summary="$out/$seed/demo/summary.txt"
  # "Final score: DemoLeft 1 : 0 DemoRight" (or "(no team)").
  read -r goals_for goals_against < <(sed -n 's/^Final score: [^ ]* \([0-9]*\) : \([0-9]*\).*/\1 \2/p' "$summary")
  awk -v seed="$seed" -v gf="$goals_for" -v ga="$goals_against" -v minutes="$(awk -v s="$seconds" 'BEGIN{print s/60}')" '
    $1 == "DemoLeft" { falls += $5; touches += $7; if ($7 > 0) touchers++ }
    END { printf "%-5s %-7s %-12.2f %-13d %-7d\n", seed, gf ":" ga, falls / minutes, touches, touchers }' "$summary"
  total_for=$((total_for + goals_for)); total_against=$((total_against + goals_against))
done
echo "goals over all matches: $total_for for, $total_against against"
