#!/usr/bin/env bash
# Checks that the folders of src/ form layers: no folder includes, directly
# or through others, a header of a folder that includes it back. The pairs
# listed in ALLOWED ("a<->b", space-separated) would be named exceptions;
# there are none (see the README's code map).
# Usage: scripts/check-layers.sh [SRC_DIR]; exit 1 with the cycles listed.
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
[ -d "$src" ] || { echo "check-layers: no folder $src" >&2; exit 2; }

ALLOWED=""

# One "from to" line per folder pair that an include joins.
edges=$(cd "$src" && grep -rHo '^#include "[^"]*/[^"]*"' --include='*.h' --include='*.cpp' . |
  sed -E 's|^\./(.*)/[^/]*:#include "(.*)/[^/]*"$|\1 \2|' | awk '$1 != $2' | sort -u)

echo "$edges" | awk -v allowed="$ALLOWED" '
  NF == 2 { out[$1] = out[$1] " " $2; nodes[$1]; nodes[$2] }
  function reach(a, b,    seen, stack, n, x, parts, i, k) {
    n = 0; stack[++n] = a
    while (n > 0) {
      x = stack[n--]
      k = split(out[x], parts, " ")
      for (i = 1; i <= k; i++) {
        if (parts[i] == b) return 1
        if (!(parts[i] in seen)) { seen[parts[i]]; stack[++n] = parts[i] }
      }
    }
    return 0
  }
  END {
    split(allowed, ok, " ")
    for (i in ok) { split(ok[i], p, "<->"); allow[p[1] SUBSEP p[2]]; allow[p[2] SUBSEP p[1]] }
    bad = 0
    for (a in nodes) for (b in nodes) {
      if (a >= b || ((a, b) in allow)) continue
      if (reach(a, b) && reach(b, a)) { print "check-layers: " a " and " b " include each other" > "/dev/stderr"; bad = 1 }
    }
    if (!bad) print "check-layers: the folders of src/ form layers"
    exit bad
  }'
