#!/usr/bin/env bash
# The run test on the real simulation server gives a type-0 robot a forward
# speed from the server's truth, and writes each try as a JSON line. Skipped
# (status 77) when no rcssserver3d is installed or VEKTORLING_REALSERVER_TESTS
# is 0.
#   realserver_run_test.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/scripts/realserver_skip.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The walk of the default parameters falls now and then (about one try in
# six for type 0): three tries, of which one must get somewhere.
python3 "$root/scripts/challenge.py" run --server real --type 0 --repeats 3 --build "$1" --out "$work" || exit 1
python3 - "$work/tries.jsonl" << 'PY'
import json, sys
tries = [json.loads(line) for line in open(sys.argv[1])]
assert len(tries) == 3, tries
for t in tries:
    assert "error" not in t, t["error"]
    # Its path is at least as long as its way forward.
    assert t["path_speed"] >= t["forward_speed"] * 0.9, t
# The robot walks towards the opponent's goal: it must get somewhere.
best = max(tries, key=lambda t: t["forward_speed"])
assert best["forward_speed"] > 0.1, tries
print(f"ok: type 0 ran {best['forward_speed']:.2f} m/s forward at best, falls {[t['falls'] for t in tries]}")
PY
