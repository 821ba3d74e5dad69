#!/usr/bin/env python3
"""Physical tests of one robot, judged from the server's truth.

  challenge.py run|getup|kick|turn [--type N]... [--server real|field] [--repeats K]
               [--build DIR] [--out DIR] [-- player options]

run    the league's run test: the robot is moved to (-13.5, 0) facing the
       opponent's goal, "PlayOn", 15 s: forward speed (x at 2 s to x at the
       end), path speed along the ground, falls, share of time down.
getup  the robot, walking, is knocked over, K times meant for its back and K
       times for its front: the share that is upright within 5 s of going
       down, and the seconds to upright. On the real server a knock onto the
       back lifts the robot 15 cm (it drops and falls back); one onto the
       front shoots the ball at the back of its head; on the practice field
       the trainer's push. Each try is counted by the way it really fell.
kick   the ball 0.2 m in front of the standing robot, "PlayOn", 10 s (the
       player's ball tactic, unless player options say otherwise): ball
       distance, direction error against the line to the opponent's goal,
       falls.
turn   the ball 1.5 m away, 60 degrees to the left of the standing robot,
       "PlayOn", 12 s (the ball tactic): whether and when the robot reaches
       it (within 0.35 m), the closest it came, falls.

Every try runs on a server of its own, with one player (left team, number
7). Prints one table per robot type and test, and writes one JSON line per
try to OUT/tries.jsonl (default out/challenge/TEST/). Without --type, types
0 to 4 in turn."""

import argparse
import json
import math
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import truth  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
UNUM = 7
TEAM = "Challenge"
AGENT = f"(agent (team Left)(unum {UNUM})"
# Where the robot stands for the getup and kick tests, facing +x.
SPOT = (-5.0, 0.0)
RUN_START = (-13.5, 0.0)
RUN_SECONDS = 15.0
RUN_TIMING_FROM = 2.0
GETUP_WITHIN = 5.0
GETUP_RECORD = 8.0
KICK_SECONDS = 10.0
TURN_SECONDS = 12.0
TURN_BALL_DISTANCE = 1.5
TURN_BALL_ANGLE = 60.0
TURN_REACHED = 0.35
KICK_BALL_AHEAD = 0.2
BALL_RADIUS = 0.042
# The knocks on the real server (tried out there): a walking robot lifted
# this much falls on its back; the ball shot at the back of its head from
# this close behind, at this height and speed, sometimes throws it forward.
# On the practice field the trainer's push does either.
KNOCK_DROP = 0.15
KNOCK_BALL_BEHIND = 0.08
KNOCK_BALL_HEIGHT = 0.45
KNOCK_BALL_SPEED = 10.0


class Failure(Exception):
    pass


def note(text):
    print(text, file=sys.stderr, flush=True)


# --- servers ------------------------------------------------------------------------


class Try:
    """One server with one player; the truth ends up in `trace`."""

    def __init__(self, args, robot_type, folder):
        self.args, self.type, self.folder = args, robot_type, folder
        self.trace = os.path.join(folder, "truth.jsonl")
        self.player = None
        self.field = None
        self.agent_port = self.monitor_port = None

    def player_command(self, port, extra):
        return [os.path.join(self.args.build, "vektorling"), "--host=127.0.0.1", f"--port={port}", f"--team={TEAM}",
                f"--num={UNUM}", "--syn=1", f"--type={self.type}",
                f"--trace={os.path.join(self.folder, 'player.jsonl')}"] + extra + self.args.player_options

    def start_player(self, port, extra):
        log = open(os.path.join(self.folder, "player.log"), "w")
        self.player = subprocess.Popen(self.player_command(port, extra), stdout=log, stderr=subprocess.STDOUT)

    def stop(self):
        if self.player and self.player.poll() is None:
            self.player.send_signal(signal.SIGINT)
            try:
                self.player.wait(3)
            except subprocess.TimeoutExpired:
                self.player.kill()
                self.player.wait()
        if self.field and self.field.poll() is None:
            self.field.kill()
            self.field.wait()
        if self.args.server == "real":
            subprocess.run([os.path.join(ROOT, "scripts/realserver.sh"), "stop", "--dir",
                            os.path.join(self.folder, "server")], stderr=subprocess.DEVNULL)


def watch(t, *options, stdout=None, timeout=120):
    """Runs vektorling-watch against the try's server; its output."""
    cmd = [os.path.join(t.args.build, "vektorling-watch"), f"--port={t.monitor_port}"] + list(options)
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=timeout)
    if r.returncode != 0:
        raise Failure(f"vektorling-watch {' '.join(options)} ended with {r.returncode}: {r.stderr.strip()}")
    return r.stdout


def robot_in(line):
    """The challenge robot in one trace line."""
    for r in json.loads(line).get("robots", []):
        if r.get("unum") == UNUM and r.get("side") == "L":
            return r
    raise Failure("the robot is not on the field")


def real_try(t, setup_mode, commands, stop, extra_player=()):
    """Real server: the player joins and stands in `setup_mode`; then
    `commands(x, y, z, heading)` (its pose then) are sent and the truth is
    recorded until `stop` (watch options).

    A trainer placement leaves the robot's body exactly where it is put, at
    rest and unsettled until a joint moves: put a few millimetres too high or
    too low, the robot starts its walk from a stance that is off and falls
    within seconds. So a robot is only ever placed at the height it stood at,
    with its heading kept (pos, not move)."""
    out = subprocess.run([os.path.join(ROOT, "scripts/realserver.sh"), "start", "--sync", "--fast", "--dir",
                          os.path.join(t.folder, "server")], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if out.returncode != 0:
        raise Failure("the real server did not start: " + out.stderr.strip().splitlines()[-1])
    t.agent_port, t.monitor_port, _ = out.stdout.split()
    t.start_player(t.agent_port, list(extra_player))
    watch(t, "--wait-robots=1", "--wait-timeout=30", f"--send=(playMode {setup_mode})", "--frames=50")
    standing = robot_in(watch(t, "--frames=1", "--print-last"))
    x, y, z = standing["pos"]
    sends = [f"--send={c}" for c in commands(x, y, z, standing["heading"])]
    watch(t, f"--trace={t.trace}", *sends, *stop)


def field_try(t, setup_mode, spot, field_commands, seconds, extra_player=()):
    """Practice field: the same as a schedule of trainer commands on the
    field's clock (which starts when the player has joined)."""
    sim = os.path.join(t.args.build, "vektorling-sim")
    schedule = [(1.0, f"(playMode {setup_mode})"), (1.0, f"{AGENT}(move {spot[0]} {spot[1]} 0.4 -90))")]
    schedule += [(3.0, c) for c in field_commands] + [(3.0 + seconds, "(killsim)")]
    # Half time comes after half the duration: well after the try.
    cmd = [sim, "--sync", "--players=1", "--port=0", "--trainer-port=0", "--quiet", f"--seed={t.args.seed}",
           f"--trace={t.trace}", f"--duration={2 * (3.0 + seconds) + 10:.2f}"] + [f"--at={s}:{c}" for s, c in schedule]
    log = open(os.path.join(t.folder, "field.log"), "w")
    t.field = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=log, text=True)
    first = t.field.stdout.readline()
    m = re.match(r"players on port (\d+)", first)
    if not m:
        raise Failure(f"the practice field did not start: {first.strip()}")
    t.start_player(m.group(1), list(extra_player))
    try:
        t.field.wait(timeout=120 + 10 * seconds)
    except subprocess.TimeoutExpired:
        raise Failure("the practice field did not end its match")


# --- the tests ---------------------------------------------------------------------


def frames_of(t):
    frames = truth.read_trace(t.trace)
    if not frames:
        raise Failure("no truth recorded")
    return frames


def samples_of(frames):
    rec = truth.robots_of(frames).get((TEAM, UNUM))
    if rec is None or not rec.samples:
        raise Failure("the robot is not in the truth")
    return rec.samples


def run_test(t):
    def commands(x, y, z, heading):
        return [f"{AGENT}(pos {RUN_START[0]} {RUN_START[1]} {z:.4f}))", "(playMode PlayOn)"]

    if t.args.server == "real":
        real_try(t, "BeforeKickOff", commands, [f"--until={RUN_SECONDS + 0.2}"])
    else:
        field_try(t, "BeforeKickOff", RUN_START, ["(playMode PlayOn)"], RUN_SECONDS + 0.5)
    samples = [s for s in samples_of(frames_of(t)) if s[7] != "BeforeKickOff"]
    if not samples:
        raise Failure("play never started")
    t0 = samples[0][1]
    run = [s for s in samples if s[1] - t0 <= RUN_SECONDS + 1e-6]
    timed = [s for s in run if s[1] - t0 >= RUN_TIMING_FROM]
    if len(timed) < 2:
        raise Failure("too little truth after the start")
    span = timed[-1][1] - timed[0][1]
    downs = truth.down_intervals(run)
    end = run[-1][0]
    down = sum(((e if e is not None else end) - s) for s, e in downs)
    return {"forward_speed": (timed[-1][2] - timed[0][2]) / span, "path_speed": truth.walked(timed) / span,
            "falls": len(downs), "down_share": down / max(end - run[0][0], 1e-9),
            "first_fall": (downs[0][0] - run[0][0]) if downs else None,
            "heading_start": run[0][5], "heading_end": run[-1][5]}


def knock_commands(direction):
    """The knock of a walking robot on the real server. Back: it is lifted
    KNOCK_DROP and falls; front: the ball shot at the back of its head."""
    def commands(x, y, z, heading):
        if direction == "back":
            return [f"{AGENT}(pos {x:.4f} {y:.4f} {z + KNOCK_DROP:.4f}))"]
        h = math.radians(heading)
        bx, by = x - KNOCK_BALL_BEHIND * math.cos(h), y - KNOCK_BALL_BEHIND * math.sin(h)
        vx, vy = KNOCK_BALL_SPEED * math.cos(h), KNOCK_BALL_SPEED * math.sin(h)
        return [f"(ball (pos {bx:.3f} {by:.3f} {KNOCK_BALL_HEIGHT})(vel {vx:.2f} {vy:.2f} 0))"]
    return commands


def getup_test(t, direction):
    """The robot walks (PlayOn) and is knocked over; judged from the knock on."""
    if t.args.server == "real":
        real_try(t, "PlayOn", knock_commands(direction), [f"--frames={int(GETUP_RECORD / 0.04)}"])
        samples = samples_of(frames_of(t))
    else:
        dir_word = "backward" if direction == "back" else "forward"
        field_try(t, "PlayOn", SPOT, [f"(push (team Left)(unum {UNUM})(dir {dir_word}))"], GETUP_RECORD)
        samples = [s for s in samples_of(frames_of(t)) if s[0] >= 3.0 - 0.03]  # the push came at 3 s
    downs = truth.down_intervals(samples)
    result = {"intended": direction, "knocked_over": bool(downs)}
    if not downs:
        return result
    start, end = downs[0]
    # The way it fell: where the torso went, along the heading it had just
    # before it went down.
    before = [s for s in samples if s[0] < start] or samples[:1]
    pre = before[-1]
    lying = next((s for s in samples if s[0] >= start + 1.0), samples[-1])
    h = math.radians(pre[5])
    along = (lying[2] - pre[2]) * math.cos(h) + (lying[3] - pre[3]) * math.sin(h)
    result.update(fell="back" if along < 0 else "front", went_down=start - samples[0][0],
                  seconds_to_upright=(end - start) if end is not None else None,
                  upright_within=(end is not None and end - start <= GETUP_WITHIN),
                  falls=len(downs))
    return result


def kick_test(t):
    def commands(x, y, z, heading):
        h = math.radians(heading)
        bx, by = SPOT[0] + KICK_BALL_AHEAD * math.cos(h), SPOT[1] + KICK_BALL_AHEAD * math.sin(h)
        return [f"{AGENT}(pos {SPOT[0]} {SPOT[1]} {z:.4f}))", "(playMode PlayOn)",
                f"(ball (pos {bx:.3f} {by:.3f} {BALL_RADIUS})(vel 0 0 0))"]

    extra = [] if any(o.startswith("--tactics") for o in t.args.player_options) else ["--tactics=ball"]
    if t.args.server == "real":
        real_try(t, "BeforeKickOff", commands, [f"--until={KICK_SECONDS}"], extra)
    else:
        bx, by = SPOT[0] + KICK_BALL_AHEAD, SPOT[1]
        field_try(t, "BeforeKickOff", SPOT,
                  ["(playMode PlayOn)", f"(ball (pos {bx} {by} {BALL_RADIUS})(vel 0 0 0))"], KICK_SECONDS, extra)
    frames = [f for f in frames_of(t) if f.get("pm") != "BeforeKickOff"]
    if not frames:
        raise Failure("play never started")
    balls = [f["ball"]["pos"] for f in frames if f.get("ball")]
    # The ball where it was laid (a few frames in: the placement shows late).
    start = balls[min(3, len(balls) - 1)]
    end = balls[-1]
    dx, dy = end[0] - start[0], end[1] - start[1]
    dist = math.hypot(dx, dy)
    goal = math.atan2(0.0 - start[1], 15.0 - start[0])
    way = math.atan2(dy, dx)
    err = math.degrees(math.atan2(math.sin(way - goal), math.cos(way - goal)))
    return {"kicked": dist > 0.3, "distance": dist, "direction_error": err if dist > 0.3 else None,
            "falls": len(truth.down_intervals(samples_of(frames)))}


def turn_test(t):
    def place(heading):
        h = math.radians(heading + TURN_BALL_ANGLE)
        return SPOT[0] + TURN_BALL_DISTANCE * math.cos(h), SPOT[1] + TURN_BALL_DISTANCE * math.sin(h)

    def commands(x, y, z, heading):
        bx, by = place(heading)
        return [f"{AGENT}(pos {SPOT[0]} {SPOT[1]} {z:.4f}))", "(playMode PlayOn)",
                f"(ball (pos {bx:.3f} {by:.3f} {BALL_RADIUS})(vel 0 0 0))"]

    extra = [] if any(o.startswith("--tactics") for o in t.args.player_options) else ["--tactics=ball"]
    if t.args.server == "real":
        real_try(t, "BeforeKickOff", commands, [f"--until={TURN_SECONDS}"], extra)
    else:
        bx, by = place(0.0)
        field_try(t, "BeforeKickOff", SPOT,
                  ["(playMode PlayOn)", f"(ball (pos {bx:.3f} {by:.3f} {BALL_RADIUS})(vel 0 0 0))"], TURN_SECONDS, extra)
    frames = [f for f in frames_of(t) if f.get("pm") != "BeforeKickOff"]
    if len(frames) < 4:
        raise Failure("play never started")
    frames = frames[3:]  # the placement shows a few frames late
    start, closest, reached = None, None, None
    for f in frames:
        try:
            r = robot_in(json.dumps(f))
        except Failure:
            continue
        if not f.get("ball"):
            continue
        d = math.hypot(f["ball"]["pos"][0] - r["pos"][0], f["ball"]["pos"][1] - r["pos"][1])
        t_now = truth.frame_time(f)
        if start is None:
            start = (t_now, d)
        closest = d if closest is None else min(closest, d)
        if reached is None and d <= TURN_REACHED:
            reached = t_now - start[0]
    if start is None:
        raise Failure("the robot or the ball is not in the truth")
    return {"reached": reached is not None, "seconds_to_ball": reached, "closest": closest,
            "start_distance": start[1], "falls": len(truth.down_intervals(samples_of(frames)))}


# --- tables -------------------------------------------------------------------------


def mean(values):
    values = [v for v in values if v is not None]
    return sum(values) / len(values) if values else None


def fmt(v, form=".2f"):
    return "-" if v is None else format(v, form)


def print_table(test, robot_type, results):
    ok = [r for r in results if "error" not in r]
    failed = len(results) - len(ok)
    tail = f"  ({failed} tries failed to run)" if failed else ""
    if test == "run":
        print(f"type {robot_type}: {len(ok)} tries, forward {fmt(mean(r['forward_speed'] for r in ok))} m/s "
              f"(each {', '.join(fmt(r['forward_speed']) for r in ok)}), path {fmt(mean(r['path_speed'] for r in ok))} "
              f"m/s, falls {sum(r['falls'] for r in ok)}, down {fmt(100 * (mean(r['down_share'] for r in ok) or 0), '.0f')} %"
              f"{tail}")
    elif test == "getup":
        for way in ("back", "front"):
            fell = [r for r in ok if r.get("fell") == way]
            up = [r for r in fell if r["upright_within"]]
            share = f"{len(up)}/{len(fell)}" if fell else "-"
            print(f"type {robot_type}, on its {way}: {len(fell)} tries, upright within {GETUP_WITHIN:.0f} s {share}, "
                  f"seconds to upright {fmt(mean(r['seconds_to_upright'] for r in fell))} "
                  f"(each {', '.join(fmt(r['seconds_to_upright'], '.1f') for r in fell)})")
        missed = [r for r in ok if not r["knocked_over"]]
        wrong = [r for r in ok if r.get("fell") and r["fell"] != r["intended"]]
        if missed or wrong or tail:
            print(f"type {robot_type}: {len(missed)} knocks left it standing, {len(wrong)} fell the other way{tail}")
    elif test == "turn":
        reached = [r for r in ok if r["reached"]]
        print(f"type {robot_type}: {len(ok)} tries, reached the ball {len(reached)}, seconds to it "
              f"{fmt(mean(r['seconds_to_ball'] for r in reached))} (each "
              f"{', '.join(fmt(r['seconds_to_ball'], '.1f') for r in ok)}), closest {fmt(mean(r['closest'] for r in ok))} m, "
              f"falls {sum(r['falls'] for r in ok)}{tail}")
    else:
        kicked = [r for r in ok if r["kicked"]]
        errs = [abs(r["direction_error"]) for r in kicked]
        print(f"type {robot_type}: {len(ok)} tries, kicked {len(kicked)}, distance {fmt(mean(r['distance'] for r in ok))} m "
              f"(each {', '.join(fmt(r['distance']) for r in ok)}), direction error {fmt(mean(errs), '.0f')} deg, "
              f"falls {sum(r['falls'] for r in ok)}{tail}")


def main():
    argv = sys.argv[1:]
    player_options = []
    if "--" in argv:
        i = argv.index("--")
        argv, player_options = argv[:i], argv[i + 1:]
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("test", choices=["run", "getup", "kick", "turn"])
    ap.add_argument("--type", type=int, action="append", choices=range(5), help="robot type (repeatable)")
    ap.add_argument("--server", choices=["real", "field"], default="real")
    ap.add_argument("--repeats", type=int, default=3)
    ap.add_argument("--seed", type=int, default=1, help="the practice field's random draws")
    ap.add_argument("--build", default=os.environ.get("BUILD_DIR", os.path.join(ROOT, "build")))
    ap.add_argument("--out", default=None)
    args = ap.parse_args(argv)
    args.player_options = player_options
    args.build = os.path.abspath(args.build)
    if args.repeats < 1:
        ap.error("--repeats takes a whole number from 1")
    out = args.out or os.path.join(os.environ.get("VEKTORLING_OUT", os.path.join(ROOT, "out")), "challenge", args.test)
    os.makedirs(out, exist_ok=True)
    types = args.type or [0, 1, 2, 3, 4]
    tries_path = os.path.join(out, "tries.jsonl")
    print(f"{args.test} test on the {args.server} server, {args.repeats} tries per type"
          + (" and direction" if args.test == "getup" else ""))
    with open(tries_path, "w") as tries:
        for robot_type in types:
            results = []
            plan = [(d, k) for d in ("back", "front") for k in range(args.repeats)] if args.test == "getup" else \
                [(None, k) for k in range(args.repeats)]
            for direction, k in plan:
                folder = tempfile.mkdtemp(prefix=f"try-{robot_type}-", dir=out)
                t = Try(args, robot_type, folder)
                record = {"test": args.test, "server": args.server, "type": robot_type, "try": k + 1}
                try:
                    if args.test == "run":
                        record.update(run_test(t))
                    elif args.test == "getup":
                        record.update(getup_test(t, direction))
                    elif args.test == "turn":
                        record.update(turn_test(t))
                    else:
                        record.update(kick_test(t))
                except (Failure, subprocess.TimeoutExpired, OSError, ValueError) as e:
                    record["error"] = str(e)
                    note(f"type {robot_type}, try {k + 1}: {e} (kept in {folder})")
                finally:
                    t.stop()
                if "error" not in record:
                    shutil.rmtree(folder, ignore_errors=True)
                tries.write(json.dumps(record, sort_keys=True) + "\n")
                tries.flush()
                results.append(record)
            print_table(args.test, robot_type, results)
    print(f"tries: {tries_path}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(130)
