// The watcher's reading of the real server's monitor stream: the recorded
// frames in tests/data/monitor-stream.txt, and frames that are broken or odd.
// The expected figures were read off the recording's transforms by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "MonitorRecording.h"
#include "Trace.h"
#include "WatchSession.h"

namespace {

// Difference of two headings in degrees, folded into [-180, 180].
double AngleDiff(double a, double b) { return std::remainder(a - b, 360.0); }

struct RobotRow {
  char side;
  int unum;
  const char* team;
  double x, y, z, heading;
  bool fallen;
};

struct FrameRow {
  std::size_t frame;  // 0-based, in the recording
  double time, now;
  const char* playmode;
  Eigen::Vector3d ball, ball_vel;
  std::vector<RobotRow> robots;  // left first, then by number
};

TEST(MonitorStreamTest, TheRecordedStreamGivesTheServersTruth) {
  const std::vector<std::string> frames = MonitorRecording();
  ASSERT_EQ(15u, frames.size());
  const RobotRow alpha_at_home{'L', 1, "Alpha", -14.4828, 0.0116, 0.3494, 9.54, false};
  const std::vector<FrameRow> rows = {
      // The empty field: only the ball.
      {0, 0, 0, "BeforeKickOff", {0, 0, 0.0403}, {0, 0, 0}, {}},
      // Beta's robot is in the scene but not yet in a team: left out.
      // (The ball settled by 1.5 mm between the first two pieces of the
      // recording, one frame apart here.)
      {3, 0, 0.12, "BeforeKickOff", {0, 0, 0.0418}, {0, 0, 0.0371}, {alpha_at_home}},
      {4, 0, 0.16, "BeforeKickOff", {0, 0, 0.0418}, {0, 0, 0},
       {alpha_at_home, {'R', 1, "Beta", 14.2009, 9.2, 0.3898, 180, false}}},
      {6, 0, 0.24, "BeforeKickOff", {0, 0, 0.0418}, {0, 0, 0},
       {alpha_at_home, {'R', 1, "Beta", 14.4758, -0.0442, 0.3968, 179.32, false}}},
      // The clock stands: 0.04 s a frame.
      {9, 0, 0.36, "BeforeKickOff", {0, 0, 0.0418}, {0, 0, 0},
       {alpha_at_home, {'R', 1, "Beta", 14.4769, -0.0468, 0.3494, 172.07, false}}},
      // Moved to (-3, 2) facing +x; the ball put 1 m away (a jump: no
      // velocity); play on; the clock runs.
      {10, 0.04, 0.40, "PlayOn", {1.0574, 0, 0.0415}, {0, 0, 0},
       {{'L', 1, "Alpha", -3, 2, 0.4, 0, false}, {'R', 1, "Beta", 14.4769, -0.0468, 0.3494, 172.07, false}}},
      {11, 0.08, 0.44, "PlayOn", {1.1114, 0, 0.0410}, {1.3488, 0, -0.0127},
       {{'L', 1, "Alpha", -3, 2, 0.4, 0, false}, {'R', 1, "Beta", 14.4780, -0.0467, 0.3489, 172.39, false}}},
      {12, 0.12, 0.48, "PlayOn", {1.1631, 0, 0.0406}, {1.2923, 0, -0.0106},
       {{'L', 1, "Alpha", -3.0006, 1.9997, 0.3746, 0.36, false},
        {'R', 1, "Beta", 14.4834, -0.0458, 0.3523, 172.50, false}}},
      // 33 s later (a clock jump counts as one frame): Alpha on its back
      // (up vector z -0.05), Beta low after its drop (0.16 m, up 0.98).
      {13, 33.4406, 0.52, "PlayOn", {2.3539, 0, 0.0403}, {0, 0, 0},
       {{'L', 1, "Alpha", -0.4729, 0.9644, 0.0702, 115.40, true},
        {'R', 1, "Beta", 1.6832, 0.2943, 0.1609, 129.82, true}}},
      {14, 33.4806, 0.56, "PlayOn", {2.3539, 0, 0.0403}, {0, 0, 0},
       {{'L', 1, "Alpha", -0.4728, 0.9602, 0.0685, 153.11, true},
        {'R', 1, "Beta", 1.6775, 0.3012, 0.1584, 129.76, true}}},
  };

  WatchSession session{WatchPlan()};
  std::vector<WorldSnapshot> states;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const FrameOutcome outcome = session.OnFrame(frames[i]);
    // Every recorded diff fits the scene of the full state before it.
    EXPECT_TRUE(outcome.taken) << "frame " << i;
    EXPECT_TRUE(outcome.notes.empty()) << "frame " << i << ": " << outcome.notes.front();
    EXPECT_TRUE(outcome.send.empty()) << "frame " << i;
    states.push_back(session.Last());
  }
  ASSERT_EQ(frames.size(), states.size());
  for (const FrameRow& row : rows) {
    SCOPED_TRACE("frame " + std::to_string(row.frame));
    const WorldSnapshot& s = states[row.frame];
    EXPECT_NEAR(row.time, s.game_time, 1e-4);
    EXPECT_NEAR(row.now, s.now, 1e-9);
    EXPECT_EQ(row.playmode, s.playmode);
    EXPECT_EQ(0, s.score_left);
    EXPECT_EQ(0, s.score_right);
    EXPECT_LT((s.ball_pos - row.ball).norm(), 1e-3) << s.ball_pos.transpose();
    EXPECT_LT((s.ball_vel - row.ball_vel).norm(), 2e-3) << s.ball_vel.transpose();
    ASSERT_EQ(row.robots.size(), s.robots.size());
    for (std::size_t r = 0; r < row.robots.size(); ++r) {
      const RobotRow& want = row.robots[r];
      const RobotSnapshot& got = s.robots[r];
      EXPECT_EQ(want.side, got.side);
      EXPECT_EQ(want.unum, got.unum);
      EXPECT_EQ(want.team, got.team);
      EXPECT_NEAR(want.x, got.x, 1e-3);
      EXPECT_NEAR(want.y, got.y, 1e-3);
      EXPECT_NEAR(want.z, got.z, 1e-3);
      EXPECT_NEAR(0, AngleDiff(want.heading, got.heading), 0.05) << got.heading;
      EXPECT_EQ(want.fallen, got.fallen);
      EXPECT_EQ(0, got.steps);
      EXPECT_EQ(0, got.stride);
    }
  }
}

// The empty field's full state with another game time and the ball elsewhere
// on the x axis.
std::string EmptyFieldAt(const std::string& empty_field, const char* time, const char* ball_x) {
  return Replaced(Replaced(empty_field, "(time 0)", std::string("(time ") + time + ")"), "0 0 0.0402764 1)",
                  std::string(ball_x) + " 0 0.0402764 1)");
}

struct ClockRow {
  const char* time;
  const char* ball_x;
  double now, ball_vel_x;
};

TEST(MonitorStreamTest, TheTimeBetweenFramesIsTheGameClocksStepOrAFramePeriodWhileItStands) {
  const std::vector<std::string> rec = MonitorRecording();
  ASSERT_EQ(15u, rec.size());
  // The server's frames come every 0.04 s or 0.06 s of its time, as its
  // pace has it; in this recording they came every 0.04 s.
  const std::vector<ClockRow> rows = {
      {"1", "0", 0, 0},           // the first frame: no velocity
      {"1.06", "0.06", 0.06, 1},  // 0.06 s later by the clock
      {"1.06", "0.1", 0.10, 1},   // the clock stands: 0.04 s
      {"5", "0.2", 0.14, 2.5},    // a jump of the clock: 0.04 s
      {"5.04", "1.3", 0.18, 0},   // a jump of the ball: no velocity
      {"5.08", "1.34", 0.22, 1},
      {"4", "1.38", 0.26, 1},     // the clock set back: 0.04 s
  };
  WatchSession session{WatchPlan()};
  for (const ClockRow& row : rows) {
    SCOPED_TRACE(std::string("time ") + row.time + ", ball at " + row.ball_x);
    ASSERT_TRUE(session.OnFrame(EmptyFieldAt(rec[0], row.time, row.ball_x)).taken);
    EXPECT_NEAR(row.now, session.Last().now, 1e-9);
    EXPECT_NEAR(row.ball_vel_x, session.Last().ball_vel.x(), 1e-9);
    EXPECT_EQ(0, session.Last().ball_vel.y());
    EXPECT_EQ(0, session.Last().ball_vel.z());
  }
}

std::string TraceLine(const WorldSnapshot& s) {
  std::string line;
  Trace::FormatLine(s, &line);
  return line;
}

struct BadRow {
  const char* name;
  std::vector<std::string> before;  // frames taken first
  std::string frame;
  bool taken;                // the frame is taken into the state
  const char* note;          // part of the one note; empty: no note
  bool asks_for_full_state;  // "(reqfullstate)" is to be sent
  std::size_t robots;        // when taken
  const char* playmode;      // when taken
};

TEST(MonitorStreamTest, BrokenOrOddFramesAreSkippedWithOneNoteAndLeaveTheStateAlone) {
  const std::vector<std::string> rec = MonitorRecording();
  ASSERT_EQ(15u, rec.size());
  const std::string& empty_field = rec[0];
  const std::string& empty_field_diff = rec[1];
  const std::string& two_robots = rec[4];
  const std::string& two_robots_diff = rec[5];
  std::string deep = "((time 0))(RDS 0 1)(";
  for (int i = 0; i < 100; ++i) deep += "(nd";
  deep += std::string(101, ')');
  const std::string shallow_robot = "((time 1))(RSG 0 1)((nd StaticMesh (load models/naobody0.obj)(resetMaterials matNum1 matLeft))"
                                    "(nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1)(nd StaticMesh (load models/naobody0.obj)"
                                    "(resetMaterials matNum2 matLeft)))"
                                    "(nd TRF (nd TRF (SLT 1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1)(nd StaticMesh (load models/naobody0.obj)"
                                    "(resetMaterials matNum3 matLeft)))))";
  const std::string unnumbered = Replaced(two_robots, "matNum1 matLeft", "matNum99999999999 matLeft");

  const std::vector<BadRow> rows = {
      {"a truncated full state", {}, two_robots.substr(0, 5000), false, "left open", false, 0, ""},
      {"a truncated diff", {two_robots}, two_robots_diff.substr(0, two_robots_diff.size() / 2), false, "left open", false, 0, ""},
      {"a stray closing parenthesis", {empty_field}, empty_field_diff + ")", false, "closes nothing", false, 0, ""},
      {"binary bytes", {empty_field}, std::string("\0\xff((\x01", 6), false, "left open", false, 0, ""},
      {"lists nested 100 deep", {empty_field}, deep, false, "nested deeper than 64", false, 0, ""},
      {"a number too large for a double", {empty_field}, Replaced(two_robots, "(SLT 1 0 0 0", "(SLT 1e999 0 0 0"),
       false, "16 finite numbers", false, 0, ""},
      {"a transform of 15 numbers", {empty_field}, Replaced(two_robots, "(SLT 1 0 0 0 0 1", "(SLT 0 0 0 0 1"), false,
       "16 finite numbers", false, 0, ""},
      {"a game time too large", {empty_field}, Replaced(empty_field_diff, "(time 0)", "(time 1e400)"), false,
       "bad value of 'time'", false, 0, ""},
      {"a play mode too large for its type", {}, Replaced(empty_field, "(play_mode 0)", "(play_mode 99999999999)"), false,
       "bad value of 'play_mode'", false, 0, ""},
      {"a score that is not a number", {}, Replaced(empty_field, "(score_left 0)", "(score_left x)"), false,
       "bad value of 'score_left'", false, 0, ""},
      {"not a frame", {}, "hello", false, "three lists", false, 0, ""},
      {"an empty frame", {empty_field}, "", false, "three lists", false, 0, ""},
      {"neither full state nor diff", {}, "((time 0))(RSX 0 1)()", false, "neither", false, 0, ""},
      {"a scene element that is not a node", {}, "((time 0))(RSG 0 1)((xx 1))", false, "not a node", false, 0, ""},
      {"a diff of another shape", {two_robots}, empty_field_diff, false, "does not fit the scene", true, 0, ""},
      {"a diff of as many nodes nested otherwise", {empty_field},
       Replaced(empty_field_diff, "((nd(nd))(nd(nd))", "((nd(nd)(nd(nd)))"), false, "does not fit the scene", true, 0, ""},
      {"a diff before any full state", {}, two_robots_diff, false, "before any full state", true, 0, ""},
      {"a scene without robots", {two_robots}, empty_field, true, "", false, 0, "BeforeKickOff"},
      {"a play mode outside the list of names", {}, Replaced(empty_field, "(play_mode 0)", "(play_mode 42)"), true, "",
       false, 0, "42"},
      {"body meshes without a torso above them", {}, shallow_robot, true, "", false, 0, ""},
      {"a number too large for a uniform", {}, unnumbered, true, "", false, 1, "BeforeKickOff"},
  };
  for (const BadRow& row : rows) {
    SCOPED_TRACE(row.name);
    WatchSession session{WatchPlan()};
    for (const std::string& frame : row.before) ASSERT_TRUE(session.OnFrame(frame).taken);
    const std::string before = TraceLine(session.Last());
    const FrameOutcome outcome = session.OnFrame(row.frame);
    EXPECT_EQ(row.taken, outcome.taken);
    if (*row.note == '\0') {
      EXPECT_TRUE(outcome.notes.empty()) << outcome.notes.front();
    } else {
      ASSERT_EQ(1u, outcome.notes.size());
      EXPECT_NE(std::string::npos, outcome.notes[0].find(row.note)) << outcome.notes[0];
    }
    EXPECT_EQ(row.asks_for_full_state ? std::vector<std::string>{"(reqfullstate)"} : std::vector<std::string>{},
              outcome.send);
    if (row.taken) {
      EXPECT_EQ(row.robots, session.Last().robots.size());
      EXPECT_EQ(row.playmode, session.Last().playmode);
    } else {
      EXPECT_EQ(before, TraceLine(session.Last()));
      EXPECT_EQ(static_cast<long>(row.before.size()), session.FramesTaken());
    }
  }
}

}  // namespace
