"""What happened in a match, read from a truth trace: the practice field's
trace or the one vektorling-watch writes from a real server's monitor stream
(one JSON object per line: t, now, pm, score, ball, robots with team, side,
unum, pos, heading, fallen). Shared by report.py and challenge.py."""

import json
import math
import sys

# A robot counts as down from the first frame that says fallen until it has
# been up again for this long, so that a robot wobbling at the threshold
# while it gets up is one fall, not many.
UP_AGAIN_SECONDS = 0.5
# Moves longer than this between two frames are placements (beams, trainer
# moves, the referee), not walking.
JUMP_METRES = 1.0
# Walked distance is the torso's travel between samples this far apart, so
# that the sway within a step does not add to it.
WALK_SAMPLE_SECONDS = 0.5
# A ball touch: the ball's velocity changes by more than this between two
# frames while a robot's torso is within TOUCH_METRES of it (the nearest such
# robot gets it), and the same robot is not credited again within
# TOUCH_REFRACTORY_SECONDS.
TOUCH_DV = 0.5
TOUCH_METRES = 0.45
TOUCH_REFRACTORY_SECONDS = 0.5


def read_trace(path):
    """The frames of a trace, in order. Lines that are not whole JSON objects
    (a trace cut off by a kill) are skipped with one line on standard error."""
    frames = []
    bad = 0
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            try:
                frame = json.loads(line)
            except ValueError:
                bad += 1
                continue
            if isinstance(frame, dict) and "t" in frame:
                frames.append(frame)
            else:
                bad += 1
    if bad:
        print(f"{path}: {bad} unreadable line(s) skipped", file=sys.stderr)
    return frames


def frame_time(frame):
    """Seconds along the trace: the server clock when there is one."""
    now = frame.get("now")
    return now if isinstance(now, (int, float)) else frame.get("t", 0.0)


class RobotRecord:
    """One robot's course through a trace."""

    def __init__(self, team, side, unum):
        self.team, self.side, self.unum = team, side, unum
        self.samples = []  # (time, game time, x, y, z, heading, fallen, play mode)

    def add(self, frame, robot):
        pos = robot.get("pos") or [0.0, 0.0, 0.0]
        self.samples.append((frame_time(frame), frame.get("t", 0.0), pos[0], pos[1], pos[2],
                             robot.get("heading", 0.0), bool(robot.get("fallen")), frame.get("pm", "")))


def robots_of(frames):
    """Every robot seen in the frames, keyed by (team, unum)."""
    robots = {}
    for frame in frames:
        for r in frame.get("robots", []):
            key = (r.get("team", ""), r.get("unum", 0))
            rec = robots.get(key)
            if rec is None:
                rec = robots[key] = RobotRecord(key[0], r.get("side", "?"), key[1])
            rec.add(frame, r)
    return robots


def down_intervals(samples):
    """(start, end) times the robot spent down: from the first fallen frame
    until it has stood UP_AGAIN_SECONDS again (end None: still down)."""
    intervals = []
    start = None
    up_since = None
    for s in samples:
        t, fallen = s[0], s[6]
        if start is None:
            if fallen:
                start, up_since = t, None
        elif fallen:
            up_since = None
        else:
            if up_since is None:
                up_since = t
            elif t - up_since >= UP_AGAIN_SECONDS:
                intervals.append((start, up_since))
                start = None
                up_since = None
    if start is not None:
        intervals.append((start, up_since))
    return intervals


def walked(samples):
    """Metres of torso travel along the ground, sampled every
    WALK_SAMPLE_SECONDS, placements left out."""
    total = 0.0
    last = None
    prev = None
    for s in samples:
        if prev is not None and math.hypot(s[2] - prev[2], s[3] - prev[3]) > JUMP_METRES:
            last = s  # a placement: start again from here
        prev = s
        if last is None:
            last = s
        elif s[0] - last[0] >= WALK_SAMPLE_SECONDS:
            total += math.hypot(s[2] - last[2], s[3] - last[3])
            last = s
    return total


def ball_touches(frames):
    """Touches per (team, unum), estimated from the ball's course."""
    touches = {}
    last_touch = {}
    prev = None  # (time, position, velocity)
    for frame in frames:
        ball = frame.get("ball", {}).get("pos")
        if not ball:
            continue
        t = frame_time(frame)
        if prev is not None and t > prev[0]:
            dt = t - prev[0]
            jump = math.dist(ball, prev[1])
            vel = [(ball[i] - prev[1][i]) / dt for i in range(3)]
            if jump <= JUMP_METRES and prev[2] is not None:
                dv = math.dist(vel, prev[2])
                if dv > TOUCH_DV:
                    best, best_d = None, TOUCH_METRES
                    for r in frame.get("robots", []):
                        p = r.get("pos") or [1e9, 1e9, 0]
                        d = math.hypot(p[0] - ball[0], p[1] - ball[1])
                        if d < best_d:
                            best, best_d = (r.get("team", ""), r.get("unum", 0)), d
                    if best is not None and t - last_touch.get(best, -1e9) >= TOUCH_REFRACTORY_SECONDS:
                        touches[best] = touches.get(best, 0) + 1
                        last_touch[best] = t
            prev = (t, ball, vel if jump <= JUMP_METRES else None)
        else:
            prev = (t, ball, None)
    return touches


def percentile(values, q):
    """The q-th percentile (0-100) by linear interpolation; None when empty."""
    if not values:
        return None
    v = sorted(values)
    k = (len(v) - 1) * q / 100.0
    lo = math.floor(k)
    hi = min(lo + 1, len(v) - 1)
    return v[lo] + (v[hi] - v[lo]) * (k - lo)


def own_to_field(side, x, y):
    """A player's own field frame (corner flags at x = +-10, y = +-15, the
    opponent's goal at y = -15; x = +10 on the player's left as it faces
    that goal) into the server's frame (x along the field towards the right
    team's goal, y to the left of the left team)."""
    if side == "R":
        return y, x
    return -y, -x
