// When the watcher sends its trainer commands and when it stops, frame by
// frame over the recorded stream (tests/data/monitor-stream.txt: frame 3 is
// the first with a robot in a team, frame 4 the first with two; the game
// clock runs from frame 10 on, 0.04 s a frame, and jumps to 33.44 s at 13).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MonitorRecording.h"
#include "WatchSession.h"

namespace {

struct PlanRow {
  const char* name;
  WatchPlan plan;
  int sent_at;      // frame at which the commands go out; -1: never
  int done_at;      // frame at which a stop condition holds; -1: never
  int progress_at;  // frame with a progress note; -1: none
};

WatchPlan Plan(int wait_robots, double until, long frames, bool progress = false) {
  WatchPlan plan;
  plan.commands = {"(playMode PlayOn)", "(ball (pos 1 2 0.042))"};
  plan.wait_robots = wait_robots;
  plan.until = until;
  plan.frames = frames;
  plan.progress = progress;
  return plan;
}

TEST(WatchSessionTest, CommandsGoOutOnceTheSceneAndTheRobotsAreThereAndStopConditionsCountFromThen) {
  const std::vector<std::string> frames = MonitorRecording();
  ASSERT_EQ(15u, frames.size());
  const std::vector<PlanRow> rows = {
      {"no condition: at the first full state", Plan(0, -1, -1), 0, -1, -1},
      {"one robot", Plan(1, -1, -1), 3, -1, -1},
      {"two robots (a robot not yet in a team does not count)", Plan(2, -1, -1), 4, -1, -1},
      {"more robots than ever come", Plan(3, -1, -1), -1, -1, -1},
      {"three frames after the commands", Plan(2, -1, 3), 4, 7, -1},
      {"no frame after the commands", Plan(2, -1, 0), 4, 4, -1},
      {"a game time already reached", Plan(0, 0, -1), 0, 0, -1},
      {"a game time reached later", Plan(0, 0.1, -1), 0, 12, -1},
      {"frames or game time, whichever comes first", Plan(1, 0.1, 5), 3, 8, -1},
      {"a stop condition while still waiting does not count", Plan(3, 0, 0), -1, -1, -1},
      {"progress every 10 s of game time", Plan(0, -1, -1, true), 0, -1, 13},
  };
  for (const PlanRow& row : rows) {
    SCOPED_TRACE(row.name);
    WatchSession session(row.plan);
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
      const FrameOutcome outcome = session.OnFrame(frames[i]);
      EXPECT_EQ(i <= row.done_at || row.done_at < 0, outcome.taken) << "frame " << i;
      EXPECT_EQ(i == row.sent_at ? row.plan.commands : std::vector<std::string>{}, outcome.send) << "frame " << i;
      EXPECT_EQ(i == row.done_at, outcome.done) << "frame " << i;
      if (i == row.progress_at) {
        ASSERT_EQ(1u, outcome.notes.size());
        EXPECT_EQ("game time 33.4 s, PlayOn, score 0:0, 2 robots", outcome.notes[0]);
      } else {
        EXPECT_TRUE(outcome.notes.empty()) << "frame " << i << ": " << outcome.notes.front();
      }
    }
    const WatchSession::Phase end = row.done_at >= 0   ? WatchSession::Phase::kDone
                                    : row.sent_at >= 0 ? WatchSession::Phase::kRunning
                                                       : WatchSession::Phase::kWaitRobots;
    EXPECT_EQ(end, session.CurrentPhase());
  }
}

TEST(WatchSessionTest, AsksForAFullStateOnceForEveryRunOfDroppedDiffs) {
  const std::vector<std::string> frames = MonitorRecording();
  ASSERT_EQ(15u, frames.size());
  const std::string& empty_field = frames[0];
  const std::string& empty_field_diff = frames[1];
  const std::string& two_robots = frames[4];
  WatchSession session{WatchPlan()};
  ASSERT_TRUE(session.OnFrame(two_robots).taken);
  // 60 diffs of the empty field's shape: asked at the 1st, 26th and 51st.
  std::vector<int> asked;
  for (int i = 0; i < 60; ++i) {
    const FrameOutcome outcome = session.OnFrame(empty_field_diff);
    EXPECT_FALSE(outcome.taken);
    EXPECT_EQ(outcome.send.size(), outcome.notes.size());
    if (!outcome.send.empty()) asked.push_back(i);
  }
  EXPECT_EQ((std::vector<int>{0, 25, 50}), asked);
  EXPECT_EQ(2u, session.Last().robots.size());
  // The full state comes; its diffs fit again; a later misfit asks at once.
  EXPECT_TRUE(session.OnFrame(empty_field).taken);
  EXPECT_TRUE(session.OnFrame(empty_field_diff).taken);
  const FrameOutcome misfit = session.OnFrame(frames[5]);
  EXPECT_FALSE(misfit.taken);
  EXPECT_EQ(std::vector<std::string>{"(reqfullstate)"}, misfit.send);
}

}  // namespace
