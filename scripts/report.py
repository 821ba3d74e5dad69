#!/usr/bin/env python3
"""The summary of a match from the truth: goals, then per player the distance
walked, falls, falls per minute, the share of time spent down, ball touches
and how far its own position estimate was from where it really was; then the
players that died or were never placed. Reads a truth trace (the practice
field's --trace, or vektorling-watch's) and, when given, the players' traces
and logs as scripts/start.sh leaves them (TEAM-N.jsonl, TEAM-N.log).

  report.py TRUTH [--players DIR] [--logs DIR] [--roster FILE]... [--json FILE]

Only the time from the kick-off on counts. Falls, walking and touches are
judged from the trace alone (fallen: the torso's up-vector z below 0.6 or
the torso below 0.25 m)."""

import argparse
import glob
import json
import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import truth  # noqa: E402


def play_frames(frames):
    """The frames from the kick-off on (the first that is not BeforeKickOff)."""
    for i, f in enumerate(frames):
        if f.get("pm") != "BeforeKickOff":
            return frames[i:]
    return []


def read_rosters(paths):
    """(team, unum) -> robot type, from the lines start.sh prints."""
    types = {}
    for path in paths:
        team = None
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                m = re.match(r"starting team (\S+)", line)
                if m:
                    team = m.group(1)
                m = re.match(r"player (\d+): robot type (\d+)", line)
                if m and team:
                    types[(team, int(m.group(1)))] = int(m.group(2))
    return types


def localisation_errors(path, record):
    """(time, distance in m) between the player's own estimate and its true
    position, matched by game time, from the kick-off on; the time is the
    truth's (the clock of the down intervals)."""
    by_time = {}
    for s in record.samples:
        if s[1] > 0:
            by_time.setdefault(round(s[1] * 50), (s[2], s[3], s[0]))
    errors = []
    for line in open(path, encoding="utf-8", errors="replace"):
        try:
            p = json.loads(line)
        except ValueError:
            continue
        t = p.get("t", 0)
        side = p.get("side")
        if not isinstance(t, (int, float)) or t <= 0 or side not in ("L", "R"):
            continue
        k = round(t * 50)
        real = by_time.get(k) or by_time.get(k - 1) or by_time.get(k + 1)
        pos = p.get("pos")
        if real is None or not pos:
            continue
        x, y = truth.own_to_field(side, pos[0], pos[1])
        errors.append((real[2], math.hypot(x - real[0], y - real[1])))
    return errors


AFTER_FALL = 3.0
# A fall counts as got up from quickly when the robot is upright this soon.
UP_WITHIN = 3.0


def split_errors(errors, downs):
    """The errors of upright cycles, and of those within AFTER_FALL seconds
    after the robot was upright again."""
    def down_at(t):
        return any(s <= t and (e is None or t < e) for s, e in downs)
    upright = [(t, e) for t, e in errors if not down_at(t)]
    ends = [e for _, e in downs if e is not None]
    after = [err for t, err in upright if any(end <= t <= end + AFTER_FALL for end in ends)]
    return [err for _, err in upright], after


def log_trouble(path):
    """The first line of a player's log that tells it ended abnormally."""
    if not path or not os.path.exists(path):
        return None
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if "select failed" in line or "aborting" in line or "has not placed" in line:
                return line.strip()
    return None


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("truth")
    ap.add_argument("--players", help="folder of the players' traces (TEAM-N.jsonl)")
    ap.add_argument("--logs", help="folder of the players' logs (TEAM-N.log)")
    ap.add_argument("--roster", action="append", default=[], help="start.sh's output, for the robot types")
    ap.add_argument("--json", help="one JSON line per player to this file")
    args = ap.parse_args()

    try:
        frames = truth.read_trace(args.truth)
    except OSError as e:
        print(f"report.py: cannot read {args.truth}: {e.strerror}", file=sys.stderr)
        return 1
    play = play_frames(frames)
    if not play:
        print(f"report.py: {args.truth} has no frame after the kick-off", file=sys.stderr)
        return 1
    last = play[-1]
    start_t, end_t = truth.frame_time(play[0]), truth.frame_time(last)
    minutes = max(end_t - start_t, 1e-9) / 60.0
    robots = truth.robots_of(play)
    touches = truth.ball_touches(play)
    types = read_rosters(args.roster)
    teams = {"L": None, "R": None}
    for r in robots.values():
        if r.side in teams and teams[r.side] is None:
            teams[r.side] = r.team

    # Who was expected: the robots seen, the players with a trace or a log.
    expected = set(robots)
    for folder, ext in ((args.players, ".jsonl"), (args.logs, ".log")):
        if folder:
            for path in glob.glob(os.path.join(folder, "*" + ext)):
                m = re.match(r"(.+)-(\d+)$", os.path.basename(path)[: -len(ext)])
                if m:
                    expected.add((m.group(1), int(m.group(2))))
    at_end = {(r.get("team", ""), r.get("unum", 0)) for r in last.get("robots", [])}

    rows = []
    for key in sorted(expected, key=lambda k: ("LR".find(robots[k].side) if k in robots else 2, k[0], k[1])):
        rec = robots.get(key)
        row = {"team": key[0], "unum": key[1], "type": types.get(key)}
        log = os.path.join(args.logs, f"{key[0]}-{key[1]}.log") if args.logs else None
        trouble = log_trouble(log)
        if rec is None:
            row.update(side="?", status="never placed", note=trouble)
            rows.append(row)
            continue
        downs = truth.down_intervals(rec.samples)
        down_time = sum(((e if e is not None else end_t) - s) for s, e in downs)
        on_field = max(rec.samples[-1][0] - rec.samples[0][0], 1e-9)
        row["up_within"] = sum(1 for s, e in downs if e is not None and e - s <= UP_WITHIN)
        row.update(side=rec.side, walked=truth.walked(rec.samples), falls=len(downs),
                   falls_per_min=len(downs) / (on_field / 60.0), fallen_share=down_time / on_field,
                   touches=touches.get(key, 0), status="ok" if key in at_end else "left", note=trouble)
        trace = os.path.join(args.players, f"{key[0]}-{key[1]}.jsonl") if args.players else None
        if trace and os.path.exists(trace):
            timed = localisation_errors(trace, rec)
            errs = [e for _, e in timed]
            if errs:
                row.update(loc_mean=sum(errs) / len(errs), loc_p90=truth.percentile(errs, 90))
                row["loc_upright"], row["loc_after_fall"] = split_errors(timed, downs)
        rows.append(row)

    score = last.get("score", [0, 0])
    print(f"Goals: {teams['L'] or '(no team)'} {score[0]} : {score[1]} {teams['R'] or '(no team)'}"
          f"  ({minutes * 60:.1f} s from the kick-off, game time {last.get('t', 0):.1f} s)")
    width = max([4] + [len(r["team"]) for r in rows])
    print(f"{'team':<{width}}  side  number  type  walked (m)  falls  falls/min  down %  touches  "
          f"position error mean / p90 (m)")
    for r in rows:
        typ = "" if r.get("type") is None else str(r["type"])
        head = f"{r['team']:<{width}}  {r['side']:<4}  {r['unum']:>6}  {typ:>4}"
        if r["status"] == "never placed":
            print(f"{head}  never placed")
            continue
        loc = f"{r['loc_mean']:.2f} / {r['loc_p90']:.2f}" if "loc_mean" in r else "-"
        tail = "" if r["status"] == "ok" else "  (left the field)"
        print(f"{head}  {r['walked']:10.1f}  {r['falls']:5d}  {r['falls_per_min']:9.2f}  "
              f"{100 * r['fallen_share']:6.1f}  {r['touches']:7d}  {loc:>30}{tail}")
    for side in "LR":
        team_rows = [r for r in rows if r["side"] == side and "falls" in r]
        if not team_rows:
            continue
        falls = sum(r["falls"] for r in team_rows)
        share = sum(r["fallen_share"] for r in team_rows) / len(team_rows)
        locs = [r["loc_mean"] for r in team_rows if "loc_mean" in r]
        loc = f", mean position error {sum(locs) / len(locs):.2f} m" if locs else ""
        quick = sum(r.get("up_within", 0) for r in team_rows)
        print(f"{teams[side]}: {falls / (len(team_rows) * minutes):.2f} falls per player-minute, "
              f"down {100 * share:.0f} % of the time{loc}; upright within {UP_WITHIN:.0f} s after "
              f"{quick} of {falls} falls")
        upright = [e for r in team_rows for e in r.get("loc_upright", [])]
        after = [e for r in team_rows for e in r.get("loc_after_fall", [])]
        if upright:
            print(f"{teams[side]}: position error while upright: median {truth.percentile(upright, 50):.2f} m, "
                  f"p90 {truth.percentile(upright, 90):.2f} m; in the {AFTER_FALL:.0f} s after getting up: "
                  + (f"median {truth.percentile(after, 50):.2f} m ({len(after)} cycles)" if after else "no such cycle"))
    lost = [r for r in rows if r["status"] != "ok"]
    if lost:
        for r in lost:
            why = "never placed" if r["status"] == "never placed" else "left the field before the end"
            note = f": {r['note']}" if r.get("note") else ""
            print(f"lost: {r['team']} {r['unum']} {why}{note}")
    else:
        print("lost: none")
    if args.json:
        with open(args.json, "w", encoding="utf-8") as f:
            for r in rows:
                r = {k: v for k, v in r.items() if k not in ("loc_upright", "loc_after_fall")}
                f.write(json.dumps(r, sort_keys=True) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
