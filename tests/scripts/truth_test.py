"""What scripts/truth.py and scripts/report.py read from a truth trace:
falls with their time down, distance walked without placements, ball
touches, the players' own frame against the server's, and the players a
report names as lost."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import report  # noqa: E402
import truth  # noqa: E402


def frame(now, robots, ball=(0.0, 0.0, 0.042), pm="PlayOn", t=None):
    return {"t": now if t is None else t, "now": now, "pm": pm, "score": [0, 0],
            "ball": {"pos": list(ball), "vel": [0, 0, 0]},
            "robots": [{"team": team, "side": side, "unum": n, "pos": [x, y, 0.35], "heading": 0.0,
                        "fallen": fallen} for team, side, n, x, y, fallen in robots]}


def samples(states, step=0.1):
    """Samples of one robot: (x, y, fallen) every `step` seconds."""
    return [(i * step, i * step, x, y, 0.35, 0.0, fallen, "PlayOn") for i, (x, y, fallen) in enumerate(states)]


class TruthTest(unittest.TestCase):
    def test_falls_end_only_after_standing_half_a_second(self):
        cases = [
            # fallen flags every 0.1 s -> (start, end) of each time down
            ([False] * 3 + [True] * 5 + [False] * 10, [(0.3, 0.8)]),
            # a moment up in between (0.3 s) is the same fall
            ([True] * 4 + [False] * 3 + [True] * 2 + [False] * 6, [(0.0, 0.9)]),
            # two falls with a proper stand between them
            ([True] * 2 + [False] * 6 + [True] * 2 + [False] * 6, [(0.0, 0.2), (0.8, 1.0)]),
            # still down at the end
            ([False] * 2 + [True] * 5, [(0.2, None)]),
            ([False] * 8, []),
        ]
        for flags, expected in cases:
            got = truth.down_intervals(samples([(0.0, 0.0, f) for f in flags]))
            self.assertEqual(len(expected), len(got), flags)
            for (s, e), (gs, ge) in zip(expected, got):
                self.assertAlmostEqual(s, gs)
                self.assertTrue(e is None and ge is None or abs(e - ge) < 1e-9, (flags, got))

    def test_walked_leaves_placements_out(self):
        # About 1 m along x, a placement 4 m on, 1 m more.
        states = [(0.1 * i, 0.02 * (i % 2), False) for i in range(11)] + [(5.0, 0.0, False)] + \
                 [(5.0 + 0.1 * i, 0.0, False) for i in range(1, 11)]
        self.assertAlmostEqual(2.0, truth.walked(samples(states, 1.0)), delta=0.05)

    def test_touches_go_to_the_nearest_robot_near_a_ball_that_changes_course(self):
        robots = [("A", "L", 1, -0.3, 0.0, False), ("B", "R", 2, 0.2, 0.0, False)]
        # Kicked, stopped 0.6 s later, then placed far away.
        course = [0.0, 0.0, 0.0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.6, 0.6, 10.0]
        frames = [frame(0.1 * i, robots, ball=(x, 0.0, 0.042)) for i, x in enumerate(course)]
        self.assertEqual({("B", 2): 2}, truth.ball_touches(frames))

    def test_own_frame_to_field(self):
        # (own estimate, side) -> server frame: the opponent's goal at own
        # y = -15 is at x = +15 for the left team and x = -15 for the right.
        for own, side, field in [((2.4, 8.5), "L", (-8.5, -2.4)), ((0.0, -15.0), "L", (15.0, 0.0)),
                                 ((0.0, -15.0), "R", (-15.0, 0.0)), ((3.0, 1.0), "R", (1.0, 3.0))]:
            self.assertEqual(field, truth.own_to_field(side, *own))

    def test_report_names_the_lost_and_matches_estimates_by_game_time(self):
        with tempfile.TemporaryDirectory() as d:
            players = os.path.join(d, "traces")
            os.makedirs(players)
            frames = [frame(0.0, [("A", "L", 1, -5.0, 0.0, False), ("A", "L", 2, -3.0, 0.0, False)],
                            pm="BeforeKickOff", t=0.0)]
            for i in range(1, 51):
                gone = [] if i > 25 else [("A", "L", 2, -3.0, 0.0, False)]
                frames.append(frame(0.02 * i, [("A", "L", 1, -5.0 + 0.01 * i, 0.0, i in range(10, 20))] + gone))
            with open(os.path.join(d, "truth.jsonl"), "w") as f:
                f.write("".join(json.dumps(fr) + "\n" for fr in frames) + '{"t": 1.0, "cut off')
            with open(os.path.join(players, "A-1.jsonl"), "w") as f:
                for i in range(1, 51):  # believes itself 0.5 m to the side of where it is
                    f.write(json.dumps({"t": 0.02 * i, "side": "L", "pos": [-0.5, 5.0 - 0.01 * i, 0]}) + "\n")
            open(os.path.join(players, "A-3.jsonl"), "w").close()
            out = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "report.py"),
                                  os.path.join(d, "truth.jsonl"), "--players", players, "--json",
                                  os.path.join(d, "r.jsonl")], capture_output=True, text=True)
            self.assertEqual(0, out.returncode, out.stderr)
            rows = {r["unum"]: r for r in map(json.loads, open(os.path.join(d, "r.jsonl")))}
            self.assertEqual(("ok", "left", "never placed"), (rows[1]["status"], rows[2]["status"], rows[3]["status"]))
            self.assertEqual(1, rows[1]["falls"])
            self.assertAlmostEqual(0.5, rows[1]["loc_mean"], places=6)
            self.assertIn("1 unreadable line", out.stderr)
            self.assertIn("lost: A 3 never placed", out.stdout)


class LocalisationErrorTest(unittest.TestCase):
    def test_errors_split_into_upright_and_just_after_getting_up(self):
        # Down from 1 to 2 s and from 9 s to the end; one error per second.
        downs = [(1.0, 2.0), (9.0, None)]
        errors = [(float(t), float(t)) for t in range(11)]
        upright, after = report.split_errors(errors, downs)
        self.assertEqual(upright, [0.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0])
        self.assertEqual(after, [2.0, 3.0, 4.0, 5.0])  # 2 s (upright again) to 5 s


if __name__ == "__main__":
    unittest.main()
