#!/usr/bin/env bash
# The run test on the real simulation server gives a type-0 robot a forward
# speed from the server's truth, and writes its try as a JSON line. Skipped
# (status 77) when no rcssserver3d is installed or VEKTORLING_REALSERVER_TESTS
# is 0.
#   realserver_run_test.sh BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/scripts/realserver_skip.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/scripts/challenge.py" run --server real --type 0 --repeats 1 --build "$1" --out "$work" || exit 1
python3 - "$work/tries.jsonl" << 'PY'
import json, sys
tries = [json.loads(line) for line in open(sys.argv[1])]
assert len(tries) == 1, tries
t = tries[0]
assert "error" not in t, t["error"]
# The robot walks towards the opponent's goal: it must get somewhere, and
# its path is at least as long as its way forward.
assert t["forward_speed"] > 0.1 and t["path_speed"] >= t["forward_speed"] * 0.9, t
print(f"ok: type 0 ran {t['forward_speed']:.2f} m/s forward, {t['falls']} falls")
PY
