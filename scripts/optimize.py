#!/usr/bin/env python3
"""Tunes one robot type's motion parameters, judged by the server's truth.

  optimize.py --type T [--trials N] [--workers K] [--storage URL] [--seed S]
              [--study NAME] [--server real|field] [--objective episode|stub]
              [--build DIR] [--out DIR]

Each trial writes a parameter file, runs the fitness episode with one player
of type T on servers of its own (free ports), reads the truth through
vektorling-watch and scores it. The episode, three tries on three servers:
  run    15 s walking forward from a standstill: forward speed (m/s)
  turn   the ball 1.5 m away, 60 degrees to the left, 12 s of the ball
         tactic: turning towards it, walking there and stopping
  getup  the walking robot knocked onto its back: upright within 5 s, and
         walking on for the rest of the 8 s
score = forward speed - 2 * (its shortfall from 0.7 m/s) + 0.5 * (1 if the
ball was reached, else the share of
the distance made good) + 0.5 if up within 5 s or not knocked over (else
-0.5) - 0.05 * seconds to upright - 1 per fall beyond the knock. A fall
costs more than any speed.

The study (CMA-ES, Optuna) lives in SQLite (default OUT/study.db) or in the
database a --storage URL names (postgresql://...): workers on several
machines that give the same URL and study name work on one study. Trials
run in K local worker processes, one server each; N is the study's total.
A stopped run (Ctrl-C) goes on where it stopped when started again. The
best parameters go to OUT/typeT.params, the scores to OUT/typeT-scores.svg.
A single episode is a noisy judge: at the end the --candidates best trials
and the defaults run --confirm more episodes each, and the best mean wins.
--objective stub scores a fixed function of the parameters with no server
(for testing the machinery). --evaluate FILE runs the episode --confirm
times with one parameter file and prints its mean score."""

import argparse
import math
import multiprocessing
import os
import shutil
import signal
import sys
import tempfile
import time
from types import SimpleNamespace

import warnings

import optuna

warnings.filterwarnings("ignore", category=optuna.exceptions.ExperimentalWarning)
# Failed and stopped trials are told by the progress lines and notes.
optuna.logging.set_verbosity(optuna.logging.ERROR)

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import challenge  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# What is tuned: key, lowest, highest, the player's default (the first trial).
SPACE = [
    ("walk.max_speed", 0.4, 1.0, 1.0),
    ("walk.speed_step", 0.005, 0.05, 0.03),
    ("walk.pitch_gain", 0.15, 0.6, 0.3213),
    ("walk.roll_gain", 0.05, 0.4, 0.15),
    ("walk.hip_pitch_offset", -10.0, 15.0, 0.0),
    ("walk.ankle_offset", -10.0, 10.0, 0.0),
    ("walk.height_offset", -20.0, 15.0, 0.0),
    ("walk.turn_yaw", -45.0, -10.0, -30.0),
    ("stand_up.settle_leg_gain", 0.05, 0.5, 0.2),
    ("stand_up.crouch_gain", 0.05, 0.3, 0.1),
]
# Set in every trial: the walk ramps up again after getting up.
FIXED = {"behavior.walk_restart_from_zero": 1}
FAILED_SCORE = -5.0
# What ends an episode early: a try that could not run.
EPISODE_ERRORS = (challenge.Failure, OSError, ValueError, KeyError)
# The run test's aim (m/s): each 0.1 m/s short of it costs 0.2 more.
TARGET_SPEED = 0.7


def note(text):
    print(text, file=sys.stderr, flush=True)


def write_params(path, values, header=()):
    with open(path, "w") as f:
        for line in header:
            f.write(f"# {line}\n")
        for key in sorted(values):
            f.write(f"{key} = {values[key]:.6g}\n")


def stub_score(values):
    """A smooth function of the parameters with its best inside the space,
    taking a moment, as an episode would (so that workers overlap)."""
    time.sleep(0.2)
    total = 0.0
    for key, lo, hi, _ in SPACE:
        x = (values[key] - lo) / (hi - lo)
        total -= (x - 0.3) ** 2
    return total, {"stub": True}


def episode_score(values, robot_type, args, folder, params=None):
    """Runs the three tries with the values (or the parameter file
    `params`); the score and what it was made of."""
    if params is None:
        params = os.path.join(folder, f"type{robot_type}.params")
        write_params(params, values)
    t_args = SimpleNamespace(build=args.build, server=args.server, seed=args.seed,
                             player_options=[f"--params={params}"])
    figures = {}
    for test in ("run", "turn", "getup"):
        sub = tempfile.mkdtemp(prefix=f"{test}-", dir=folder)
        t = challenge.Try(t_args, robot_type, sub)
        try:
            if test == "run":
                figures["run"] = challenge.run_test(t)
            elif test == "turn":
                figures["turn"] = challenge.turn_test(t)
            else:
                figures["getup"] = challenge.getup_test(t, "back")
        finally:
            t.stop()
    run, turn, getup = figures["run"], figures["turn"], figures["getup"]
    falls = run["falls"] + turn["falls"] + max(0, getup.get("falls", 0) - 1)
    if turn["reached"]:
        approach = 1.0
    else:
        approach = max(0.0, (turn["start_distance"] - turn["closest"]) / max(turn["start_distance"], 1e-9))
    # A knock that leaves the robot standing is as good as getting up at once.
    knocked = getup.get("knocked_over", False)
    up = getup.get("upright_within", False) or not knocked
    seconds = getup.get("seconds_to_upright") if knocked else 0.0
    speed = max(run["forward_speed"], -0.5)
    score = speed - 2.0 * max(0.0, TARGET_SPEED - speed) + 0.5 * approach + (0.5 if up else -0.5) \
        - 0.05 * (seconds if seconds is not None else 8.0) - 1.0 * falls
    summary = {"speed": round(run["forward_speed"], 3), "falls": falls, "reached": turn["reached"],
               "upright_s": None if seconds is None else round(seconds, 2),
               "knocked_over": getup.get("knocked_over", False)}
    return score, summary


# The sampler sees every parameter scaled to 0 .. 1 of its range, so that
# one step size fits them all.
def unit(key, value):
    lo, hi = next((lo, hi) for k, lo, hi, _ in SPACE if k == key)
    return (value - lo) / (hi - lo)


def values_of(params):
    """The parameter file's values from a trial's scaled parameters."""
    values = dict(FIXED)
    for key, lo, hi, _ in SPACE:
        values[key] = lo + (hi - lo) * params[key]
    return values


def sampled(trial):
    return values_of({key: trial.suggest_float(key, 0.0, 1.0) for key, _, _, _ in SPACE})


def make_objective(args):
    def objective(trial):
        values = sampled(trial)
        if args.objective == "stub":
            score, summary = stub_score(values)
        else:
            folder = tempfile.mkdtemp(prefix=f"trial-{trial.number}-", dir=args.work)
            try:
                score, summary = episode_score(values, args.type, args, folder)
                shutil.rmtree(folder, ignore_errors=True)
            except EPISODE_ERRORS as e:
                note(f"trial {trial.number}: the episode failed: {e} (kept in {folder})")
                score, summary = FAILED_SCORE, {"error": str(e)}
        for k, v in summary.items():
            trial.set_user_attr(k, v)
        return score
    return objective


def storage_of(args):
    url = args.storage or "sqlite:///" + os.path.join(args.out, "study.db")
    # Heartbeats let a restarted study fail the trials a stopped run left running.
    return optuna.storages.RDBStorage(url, heartbeat_interval=30, grace_period=90,
                                      failed_trial_callback=None)


def load_study(args):
    x0 = {key: unit(key, default) for key, _, _, default in SPACE}
    sampler = optuna.samplers.CmaEsSampler(x0=x0, sigma0=0.2, seed=args.seed,
                                           n_startup_trials=0, warn_independent_sampling=False)
    # Workers that start at once on a new database race to make its tables
    # and the study; the losers try again.
    for attempt in range(10):
        try:
            return optuna.create_study(study_name=args.study, storage=storage_of(args), sampler=sampler,
                                       direction="maximize", load_if_exists=True)
        except Exception as e:  # the database's own error classes
            if attempt == 9:
                raise
            note(f"the study is not ready yet ({type(e).__name__}); trying again")
            time.sleep(0.5 + 0.5 * attempt)


class Progress:
    """One line per finished trial: its score, the best so far, the pace."""

    def __init__(self, worker):
        self.worker, self.start, self.done = worker, time.time(), 0

    def __call__(self, study, trial):
        self.done += 1
        minutes = max((time.time() - self.start) / 60.0, 1e-9)
        try:
            best = study.best_trial
            best_text = f"best {best.value:.3f} (trial {best.number})"
        except ValueError:
            best_text = "no best yet"
        a = trial.user_attrs
        parts = []
        if "speed" in a:
            parts.append(f"speed {a['speed']:.2f} m/s, falls {a['falls']}, ball {'yes' if a['reached'] else 'no'}, "
                         f"up {'-' if a['upright_s'] is None else format(a['upright_s'], '.1f') + ' s'}")
        if "error" in a:
            parts.append("failed")
        value = "-" if trial.value is None else f"{trial.value:.3f}"
        print(f"worker {self.worker}: trial {trial.number}: score {value}"
              + (f" ({'; '.join(parts)})" if parts else "")
              + f", {best_text}, {self.done / minutes:.1f} trials/min", flush=True)


def interrupted(signum, frame):
    raise KeyboardInterrupt


def worker(args, number):
    """Runs trials until the study has args.trials of them. Ctrl-C or a
    termination ends the trial in hand (its servers stopped) and the worker."""
    signal.signal(signal.SIGTERM, interrupted)
    study = load_study(args)
    done = optuna.study.MaxTrialsCallback(args.trials, states=None)
    try:
        study.optimize(make_objective(args), callbacks=[done, Progress(number)], gc_after_trial=False)
    except KeyboardInterrupt:
        pass


def svg(scores, path, title):
    """Score of every finished trial (dots) and the best so far (line)."""
    w, h, m = 640, 360, 48
    if not scores:
        return
    lo, hi = min(s for _, s in scores), max(s for _, s in scores)
    if hi - lo < 1e-9:
        lo, hi = lo - 1, hi + 1
    n = max(n for n, _ in scores) + 1

    def x(i):
        return m + (w - 2 * m) * (i / max(n - 1, 1))

    def y(s):
        return h - m - (h - 2 * m) * (s - lo) / (hi - lo)

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" font-family="sans-serif" font-size="12">',
           f'<rect width="{w}" height="{h}" fill="white"/>',
           f'<text x="{m}" y="20">{title}</text>',
           f'<line x1="{m}" y1="{h - m}" x2="{w - m}" y2="{h - m}" stroke="black"/>',
           f'<line x1="{m}" y1="{m}" x2="{m}" y2="{h - m}" stroke="black"/>',
           f'<text x="{w / 2}" y="{h - 12}" text-anchor="middle">trial</text>',
           f'<text x="4" y="{m}">{hi:.2f}</text><text x="4" y="{h - m}">{lo:.2f}</text>']
    best, line = None, []
    for i, s in sorted(scores):
        out.append(f'<circle cx="{x(i):.1f}" cy="{y(s):.1f}" r="2.5" fill="#4477aa"/>')
        best = s if best is None else max(best, s)
        line.append(f"{x(i):.1f},{y(best):.1f}")
    out.append(f'<polyline points="{" ".join(line)}" fill="none" stroke="#cc3311" stroke-width="2"/>')
    out.append(f'<text x="{w - m}" y="20" text-anchor="end" fill="#cc3311">best so far</text></svg>')
    with open(path, "w") as f:
        f.write("\n".join(out) + "\n")


def repeat_episodes(args, n, label, values=None, params=None, earlier=()):
    """Runs the episode n times with the values (or the parameter file
    `params`), a line each; the figures over those and the earlier scores."""
    scores, speeds, falls, ups = list(earlier), [], [], []
    for k in range(n):
        folder = tempfile.mkdtemp(prefix=f"{label}-", dir=args.work)
        try:
            s, summary = episode_score(values, args.type, args, folder, params=params)
            shutil.rmtree(folder, ignore_errors=True)
        except EPISODE_ERRORS as e:
            note(f"{label}, episode {k + 1}: failed: {e} (kept in {folder})")
            s, summary = FAILED_SCORE, {}
        scores.append(s)
        if summary:
            speeds.append(summary["speed"])
            falls.append(summary["falls"])
            ups.append(not summary["knocked_over"] or (summary["upright_s"] is not None
                                                        and summary["upright_s"] <= challenge.GETUP_WITHIN))
        print(f"{label}, episode {k + 1}: score {s:.3f} {summary}", flush=True)
    return {"mean_score": round(sum(scores) / len(scores), 3), "tries": len(scores),
            "mean_speed": round(sum(speeds) / len(speeds), 3) if speeds else None,
            "falls_per_try": round(sum(falls) / len(falls), 2) if falls else None,
            "up_in_5s_or_standing": f"{sum(ups)}/{len(ups)}"}


def confirm(args, finished):
    """One try is a noisy judge: the best few trials and the defaults run
    the episode args.confirm times more; the best mean wins."""
    candidates = sorted(finished, key=lambda t: t.value, reverse=True)[:args.candidates]
    default = next((t for t in finished if t.number == 0), None)
    if default is not None and default not in candidates:
        candidates.append(default)
    results = []
    for t in candidates:
        figures = repeat_episodes(args, args.confirm, f"confirm trial {t.number}", values=values_of(t.params),
                                  earlier=[t.value])
        print(f"confirm trial {t.number}: {', '.join(f'{k} {v}' for k, v in figures.items())}", flush=True)
        results.append((figures["mean_score"], t, figures))
    return max(results, key=lambda r: r[0])


def evaluate(args):
    """The episode, args.confirm times, with one parameter file."""
    path = os.path.abspath(args.evaluate)
    figures = repeat_episodes(args, max(args.confirm, 1), "evaluate", params=path)
    print(f"{path}: {', '.join(f'{k} {v}' for k, v in figures.items())}", flush=True)
    return 0


def report(args, command):
    study = load_study(args)
    finished = [t for t in study.trials if t.state == optuna.trial.TrialState.COMPLETE]
    if not finished:
        note("no trial has finished")
        return 1
    best = study.best_trial
    figures = ", ".join(f"{k} {v}" for k, v in sorted(best.user_attrs.items()))
    if args.confirm > 0 and args.objective == "episode":
        _, best, confirmed = confirm(args, finished)
        figures = ", ".join(f"{k} {v}" for k, v in confirmed.items())
    values = values_of(best.params)
    path = os.path.join(args.out, f"type{args.type}.params")
    write_params(path, values, header=[
        f"Motion parameters for robot type {args.type}, tuned on the {args.server} server"
        + (" (stub objective)." if args.objective == "stub" else "."),
        f"Made by: {command}",
        f"Chosen of {len(finished)} trials: trial {best.number} (its score {best.value:.3f}); {figures}.",
    ])
    svg([(t.number, t.value) for t in finished], os.path.join(args.out, f"type{args.type}-scores.svg"),
        f"study {args.study}: score per trial")
    default = next((t for t in finished if t.number == 0), None)
    if default is not None:
        print(f"default parameters (trial 0): score {default.value:.3f}")
    print(f"chosen: trial {best.number}, score {best.value:.3f} ({figures})")
    print(f"parameters: {path}")
    return 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--type", type=int, required=True, choices=range(5))
    ap.add_argument("--trials", type=int, default=100, help="the study's total number of trials")
    ap.add_argument("--workers", type=int, default=1)
    ap.add_argument("--storage", default=None, help="database URL (default: sqlite in OUT)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--study", default=None, help="study name (default: typeT)")
    ap.add_argument("--server", choices=["real", "field"], default="real")
    ap.add_argument("--objective", choices=["episode", "stub"], default="episode")
    ap.add_argument("--confirm", type=int, default=3, help="extra episodes for each of the best trials (0: none)")
    ap.add_argument("--candidates", type=int, default=5, help="how many of the best trials are confirmed")
    ap.add_argument("--evaluate", metavar="FILE", help="no study: run the episode --confirm times with this "
                    "parameter file and print the mean score")
    ap.add_argument("--build", default=os.environ.get("BUILD_DIR", os.path.join(ROOT, "build")))
    ap.add_argument("--out", default=None)
    args = ap.parse_args()
    if args.trials < 1 or args.workers < 1:
        ap.error("--trials and --workers take whole numbers from 1")
    args.build = os.path.abspath(args.build)
    args.study = args.study or f"type{args.type}"
    args.out = os.path.abspath(args.out or os.path.join(os.environ.get("VEKTORLING_OUT", os.path.join(ROOT, "out")),
                                                        "optimize"))
    os.makedirs(args.out, exist_ok=True)
    args.work = os.path.join(args.out, "trials")
    os.makedirs(args.work, exist_ok=True)
    if args.evaluate:
        return evaluate(args)
    shown, skip = [], False
    for a in sys.argv[1:]:
        if skip or a.startswith("--storage=") or a.startswith("--build="):
            skip = False
            continue
        if a in ("--storage", "--build"):
            skip = True
            continue
        shown.append(a)
    command = "scripts/optimize.sh " + " ".join(shown)
    study = load_study(args)  # made once before the workers share it
    if not study.trials:
        # The player's own values come first: the score to beat.
        study.enqueue_trial({key: unit(key, default) for key, _, _, default in SPACE})
    print(f"study {args.study} for robot type {args.type}: up to {args.trials} trials, {args.workers} workers, "
          f"{args.objective} on the {args.server} server", flush=True)
    stopped = False
    signal.signal(signal.SIGTERM, interrupted)
    if args.workers == 1:
        try:
            worker(args, 0)
        except KeyboardInterrupt:
            stopped = True
    else:
        procs = [multiprocessing.Process(target=worker, args=(args, k)) for k in range(args.workers)]
        for k, p in enumerate(procs):
            p.start()
            time.sleep(1.0 if k + 1 < len(procs) else 0)
        try:
            for p in procs:
                p.join()
        except KeyboardInterrupt:
            stopped = True
            # Ctrl-C reached the workers too: each stops its trial's servers.
            for p in procs:
                p.join(30)
                if p.is_alive():
                    p.terminate()
                    p.join()
    if stopped:
        note("stopped; the study keeps every finished trial (start again to go on)")
        args.confirm = 0  # the best single try is reported; no more episodes now
    return report(args, command)


if __name__ == "__main__":
    sys.exit(main())
