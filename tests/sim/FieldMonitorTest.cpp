// The practice field's monitor stream: its scene against the real server's
// (tests/data/monitor-types.txt), and read back by the watcher into what the
// field's own trace says.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../watch/MonitorRecording.h"
#include "MonitorFrame.h"
#include "MonitorStream.h"
#include "SceneGraph.h"
#include "Trace.h"
#include "WatchSession.h"
#include "World.h"

namespace {

MonitorFrame Read(const std::string& text) {
  MonitorFrameReader reader;
  MonitorFrame frame;
  std::string reason;
  EXPECT_TRUE(reader.Read(text, &frame, &reason)) << reason << ": " << text.substr(0, 200);
  return frame;
}

// A world with robots of the given types in team Alpha, numbers 1, 2, ...;
// *ids (when given) gets their ids.
std::unique_ptr<World> Team(const std::vector<int>& types, std::vector<int>* ids = nullptr) {
  WorldConfig config;
  config.noise = false;
  auto world = std::make_unique<World>(config);
  int unum = 1;
  for (int type : types) {
    std::string why;
    const int id = world->CreateRobot(type);
    EXPECT_EQ(World::InitResult::kPlaced, world->InitRobot(id, "Alpha", unum++, &why)) << why;
    if (ids) ids->push_back(id);
  }
  return world;
}

TEST(FieldMonitorTest, TheSceneHasTheRealServersShapeMeshesAndMaterials) {
  const std::vector<std::string> real = MonitorRecording("monitor-types.txt");
  ASSERT_EQ(3u, real.size());
  auto world = Team({0, 1, 2, 3, 4});
  SceneSnapshot scene;
  world->Scene(&scene);
  std::string text;
  MonitorStream stream;
  ASSERT_TRUE(stream.Next(scene, &text));
  const MonitorFrame ours = Read(text), theirs = Read(real[0]);
  ASSERT_EQ(SceneKind::kFull, ours.kind);
  EXPECT_EQ(theirs.values.play_modes, ours.values.play_modes);
  EXPECT_EQ(theirs.values.team_left, ours.values.team_left);
  EXPECT_EQ(theirs.values.team_right, ours.values.team_right);
  EXPECT_EQ(std::make_tuple(theirs.values.half, theirs.values.play_mode, theirs.values.score_left),
            std::make_tuple(ours.values.half, ours.values.play_mode, ours.values.score_left));
  // Node for node: the same tree, meshes and materials; the field, goals and
  // walls where the server has them. Only the robots and the ball move.
  ASSERT_EQ(theirs.nodes.size(), ours.nodes.size());
  int ball = 0;
  while (ball < static_cast<int>(ours.nodes.size()) && ours.nodes[ball].mesh != "models/soccerball.obj") ++ball;
  for (int i = 0; i < static_cast<int>(ours.nodes.size()); ++i) {
    const SceneNode &a = theirs.nodes[i], &b = ours.nodes[i];
    SCOPED_TRACE("node " + std::to_string(i) + " " + a.mesh);
    const bool fixed = i < ours.nodes[ball].parent;
    EXPECT_EQ(a.parent, b.parent);
    EXPECT_EQ(a.mesh, b.mesh);
    EXPECT_EQ(a.materials, b.materials);
    EXPECT_EQ(a.has_transform, b.has_transform);
    if (fixed) {
      EXPECT_EQ(a.transform, b.transform);
    }
  }
  // A diff of either fits a scene of the other.
  SceneGraph graph;
  graph.Apply(ours);
  EXPECT_EQ(SceneGraph::Result::kUpdated, graph.Apply(Read(real[1])));
  world->Step();
  world->Scene(&scene);
  EXPECT_FALSE(stream.Next(scene, &text));
  graph.Apply(theirs);
  EXPECT_EQ(SceneGraph::Result::kUpdated, graph.Apply(Read(text)));
}

// The trace line of a snapshot without what only the field knows: step
// counts, the clock since the start, the ball's velocity, and the fall (the
// field counts it from the moment a robot starts to topple, a watcher from
// how the torso lies). The heading, which a watcher works out from the
// torso's turn as the stream writes it, is compared on its own.
std::string TruthLine(WorldSnapshot s) {
  s.now = 0;
  s.ball_vel.setZero();
  for (RobotSnapshot& r : s.robots) r.steps = 0, r.stride = 0, r.fallen = false, r.heading = 0;
  std::string line;
  Trace::FormatLine(s, &line);
  return line;
}

// Degrees: the turn is written to six decimals.
constexpr double kHeadingTolerance = 0.002;

TEST(FieldMonitorTest, TheWatcherReadsTheFieldsTraceFromFullStatesAndDiffs) {
  std::vector<int> ids;
  auto world = Team({0, 2}, &ids);
  world->TrainerCommand("(kickOff Left)");
  world->TrainerCommand("(ball (pos 1 0 0.042)(vel 3 1 0))");
  WatchSession watcher{WatchPlan()};
  MonitorStream stream;
  SceneSnapshot scene;
  std::string text;
  int full = 0, diffs = 0, late = -1;
  for (int step = 1; step <= 400; ++step) {
    // The robots walk their legs, one falls, a third joins and the first leaves.
    const int robot = ids[step < 300 ? 0 : 1];
    world->ApplyCommands(robot, step % 40 < 20 ? "(lle3 -1)(rle3 1)(he1 2)" : "(lle3 1)(rle3 -1)(he1 -2)");
    if (step == 100) world->TrainerCommand("(push (team Left)(unum 2)(dir forward))");
    if (step == 150) {
      late = world->CreateRobot(4);
      std::string why;
      world->InitRobot(late, "Beta", 7, &why);
    }
    if (step == 300) world->RemoveRobot(ids[0]);
    world->Step();
    if (step % 2 != 0) continue;
    world->Scene(&scene);
    const bool whole = stream.Next(scene, &text);
    (whole ? full : diffs) += 1;
    // A full state exactly at the start, the join and the leave.
    EXPECT_EQ(step == 2 || step == 150 || step == 300, whole) << step;
    const FrameOutcome outcome = watcher.OnFrame(text);
    ASSERT_TRUE(outcome.taken) << step << (outcome.notes.empty() ? "" : outcome.notes[0]);
    const WorldSnapshot truth = world->Snapshot();
    ASSERT_EQ(TruthLine(truth), TruthLine(watcher.Last())) << step;
    // The field keeps a toppling robot's heading; the torso's turn says where it faces only while it stands.
    for (std::size_t r = 0; r < truth.robots.size(); ++r) {
      if (truth.robots[r].fallen) continue;
      EXPECT_NEAR(truth.robots[r].heading, watcher.Last().robots[r].heading, kHeadingTolerance) << step;
    }
  }
  EXPECT_EQ(3, full);
  EXPECT_EQ(197, diffs);
  ASSERT_EQ(2u, watcher.Last().robots.size());
  EXPECT_TRUE(watcher.Last().robots[0].fallen);
  EXPECT_EQ(7, watcher.Last().robots[1].unum);
}

}  // namespace
