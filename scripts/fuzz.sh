#!/usr/bin/env bash
# Fuzzes the player's and the practice field's readers of foreign text.
#
#   scripts/fuzz.sh [SECONDS]
#
# Configures and builds the libFuzzer targets (CMake option VEKTORLING_FUZZ,
# clang needed) in build-fuzz/ (or BUILD_DIR), then runs each target listed in
# fuzz/targets.txt for SECONDS (default 60) on a working corpus in
# out/fuzz/corpus/TARGET/ (or under VEKTORLING_OUT), seeded from
# fuzz/corpus/TARGET/, which stays as it is. Prints per target the executions
# and the result; for a crash, the command that reproduces it. Exits 1 when a
# target crashed (or the build failed). Installs nothing.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz.sh: SECONDS must be a positive whole number, not '$seconds'" >&2
  exit 2
fi
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz.sh: clang++ not found; fuzzing needs clang with libFuzzer (Debian packages clang, libclang-rt-14-dev)" >&2
  exit 1
fi

build=${BUILD_DIR:-build-fuzz}
out=${VEKTORLING_OUT:-out}/fuzz
mkdir -p "$out/logs"
if ! { CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEKTORLING_FUZZ=ON &&
       cmake --build "$build" -j2 --target fuzz; } >"$out/logs/build.log" 2>&1; then
  echo "fuzz.sh: the fuzz build in $build failed; see $out/logs/build.log" >&2
  exit 1
fi

status=0
while read -r name max_len _; do
  corpus=$out/corpus/$name
  crashes=$out/crashes/$name
  log=$out/logs/$name.log
  mkdir -p "$corpus" "$crashes"
  "$build/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "fuzz/corpus/$name" </dev/null >"$log" 2>&1
  result=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [[ $result -eq 0 ]]; then
    printf '%-13s %10s executions in %s s: no crash\n' "$name" "${executions:-?}" "$seconds"
    continue
  fi
  status=1
  input=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)
  report=$(grep -m 1 '^SUMMARY: ' "$log" || grep -m 1 -E '^==[0-9]+== ?ERROR: ' "$log")
  printf '%-13s %10s executions: CRASH (exit %s) %s\n' "$name" "${executions:-?}" "$result" "$report"
  if [[ -n $input ]]; then
    echo "  reproduce: $build/$name $input"
  else
    echo "  no input was written; see $log"
  fi
done < <(grep -E '^[a-z]' fuzz/targets.txt)
exit "$status"
