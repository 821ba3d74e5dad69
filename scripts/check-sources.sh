#!/usr/bin/env bash
# Checks that every .cpp file under src/, sim/, watch/, tests/ and bench/ is
# named in the CMakeLists.txt of its folder tree, so that no code or test is
# silently left out of the build. Usage: scripts/check-sources.sh [ROOT]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
missing=0
for dir in src sim watch tests bench; do
  list="$root/$dir/CMakeLists.txt"
  [ -f "$list" ] || { echo "check-sources: no $dir/CMakeLists.txt" >&2; missing=1; continue; }
  while IFS= read -r file; do
    rel=${file#"$root/$dir/"}
    if ! grep -qxF "  $rel" "$list" && ! grep -qE "(^|[ (])$rel([ )]|$)" "$list"; then
      echo "check-sources: $dir/$rel is not in $dir/CMakeLists.txt" >&2
      missing=1
    fi
  done < <(find "$root/$dir" -name '*.cpp' | sort)
done
[ "$missing" = 0 ] && echo "check-sources: every source file is built"
exit "$missing"
