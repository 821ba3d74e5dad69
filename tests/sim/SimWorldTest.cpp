#include "World.h"

#include <cmath>
#include <cstdio>
#include <random>

#include <gtest/gtest.h>

#include "SimTestSupport.h"

namespace {

constexpr double kRad = M_PI / 180.0;

WorldConfig Quiet() {
  WorldConfig c;
  c.noise = false;
  return c;
}

int Join(World& w, const std::string& team, int unum) {
  const int id = w.CreateRobot();
  w.Perceive(id);
  std::string error;
  EXPECT_TRUE(w.InitRobot(id, team, unum, &error)) << error;
  w.Perceive(id);
  return id;
}

// One step: every robot answers (the given robot with text), then the field moves.
void Cycle(World& w, const std::vector<int>& ids, int speaker = -1, const std::string& text = "") {
  for (int id : ids) {
    w.Perceive(id);
    if (id == speaker) w.ApplyCommands(id, text);
  }
  w.Step();
}

const RobotSnapshot* Find(const WorldSnapshot& s, char side, int unum) {
  for (const RobotSnapshot& r : s.robots) {
    if (r.side == side && r.unum == unum) return &r;
  }
  return nullptr;
}

double JointIn(const std::string& msg, const std::string& name) {
  double v = 1e9;
  const size_t k = msg.find("(HJ (n " + name + ") (ax ");
  if (k != std::string::npos) std::sscanf(msg.c_str() + k + name.size() + 13, "%lf", &v);
  return v;
}

TEST(SimWorldTest, RegistrationSidesNumbersAndLimits) {
  World w(Quiet());
  std::string error;
  const int a1 = w.CreateRobot();
  ASSERT_TRUE(w.InitRobot(a1, "Alpha", 0, &error));
  const int b1 = w.CreateRobot();
  ASSERT_TRUE(w.InitRobot(b1, "Beta", 5, &error));
  WorldSnapshot s = w.Snapshot();
  ASSERT_EQ(s.robots.size(), 2u);
  ASSERT_NE(Find(s, 'L', 1), nullptr);  // number 0 takes the first free one
  EXPECT_EQ(Find(s, 'L', 1)->team, "Alpha");
  ASSERT_NE(Find(s, 'R', 5), nullptr);

  const int c = w.CreateRobot();
  EXPECT_FALSE(w.InitRobot(c, "Gamma", 1, &error));
  EXPECT_NE(error.find("Gamma"), std::string::npos);
  EXPECT_EQ(error.find('\n'), std::string::npos);
  EXPECT_EQ(w.Perceive(c), "");  // removed

  const int taken = w.CreateRobot();
  EXPECT_FALSE(w.InitRobot(taken, "Beta", 5, &error));
  EXPECT_NE(error.find("5"), std::string::npos);
  const int bad = w.CreateRobot();
  EXPECT_FALSE(w.InitRobot(bad, "Beta", 12, &error));

  for (int n = 2; n <= 11; ++n) ASSERT_TRUE(w.InitRobot(w.CreateRobot(), "Alpha", 0, &error)) << n;
  const int twelfth = w.CreateRobot();
  EXPECT_FALSE(w.InitRobot(twelfth, "Alpha", 0, &error));
  EXPECT_NE(error.find("11"), std::string::npos);
  EXPECT_EQ(w.Snapshot().robots.size(), 12u);

  // Unregistered bodies are not part of the match.
  w.CreateRobot();
  EXPECT_EQ(w.Snapshot().robots.size(), 12u);

  // A robot that leaves keeps its line in the summary.
  w.RemoveRobot(b1);
  EXPECT_EQ(w.Snapshot().robots.size(), 11u);
  const std::vector<RobotStats> stats = w.Stats();
  EXPECT_EQ(stats.size(), 12u);
  int betas = 0;
  for (const RobotStats& st : stats) betas += st.team == "Beta";
  EXPECT_EQ(betas, 1);
  // Its number is free again.
  EXPECT_TRUE(w.InitRobot(w.CreateRobot(), "Beta", 5, &error));
}

TEST(SimWorldTest, JointCommandsShowTwoMessagesLaterAndHold) {
  World w(Quiet());
  const int id = Join(w, "Alpha", 1);
  std::string m = w.Perceive(id);                         // message k
  w.ApplyCommands(id, "(he1 1.0)(lae3 -20)(xyz 3)(he2 abc)(syn)");  // answer to k
  w.Step();
  m = w.Perceive(id);  // k + 1
  EXPECT_EQ(JointIn(m, "hj1"), 0.0);
  w.Step();
  m = w.Perceive(id);  // k + 2
  EXPECT_NEAR(JointIn(m, "hj1"), 0.02 / kRad, 0.006);
  EXPECT_NEAR(JointIn(m, "laj3"), -SimRobot::kMaxJointSpeed * 0.02 / kRad, 0.006);
  EXPECT_EQ(JointIn(m, "hj2"), 0.0);
  for (int i = 0; i < 3; ++i) w.Step();  // no new command: the speeds hold
  m = w.Perceive(id);
  EXPECT_NEAR(JointIn(m, "hj1"), 4 * 0.02 / kRad, 0.006);
}

TEST(SimWorldTest, BeamsUseTheTeamsOwnFrame) {
  World w(Quiet());
  const int a = Join(w, "Alpha", 1);
  const int b = Join(w, "Beta", 1);
  const int b2 = Join(w, "Beta", 2);
  const int a2 = Join(w, "Alpha", 2);
  const std::vector<int> ids = {a, b, b2, a2};
  for (int id : ids) w.Perceive(id);
  w.ApplyCommands(a, "(beam -4 2 30)");
  w.ApplyCommands(b, "(beam -4 2 30)");
  w.ApplyCommands(b2, "(beam 5 0.5 0)");   // the opponent half and the centre circle
  w.ApplyCommands(a2, "(beam -0.5 0 0)");  // the kicking team may stand in the circle
  Cycle(w, ids);
  Cycle(w, ids);
  WorldSnapshot s = w.Snapshot();
  const RobotSnapshot* ra = Find(s, 'L', 1);
  const RobotSnapshot* rb = Find(s, 'R', 1);
  EXPECT_NEAR(ra->x, -4.0, 1e-9);
  EXPECT_NEAR(ra->y, 2.0, 1e-9);
  EXPECT_NEAR(ra->heading, 30.0, 1e-9);
  EXPECT_NEAR(rb->x, 4.0, 1e-9);  // mirrored
  EXPECT_NEAR(rb->y, -2.0, 1e-9);
  EXPECT_NEAR(std::remainder(rb->heading - 210.0, 360.0), 0.0, 1e-9);
  const RobotSnapshot* rb2 = Find(s, 'R', 2);
  EXPECT_GE(rb2->x, 0.0);  // own half of the right team
  EXPECT_GE(std::hypot(rb2->x, rb2->y), 2.0);
  EXPECT_NEAR(Find(s, 'L', 2)->x, -0.5, 1e-9);

  // Beams are ignored once the ball is in play.
  EXPECT_TRUE(w.TrainerCommand("(playMode PlayOn)"));
  w.ApplyCommands(a, "(beam -10 -3 0)");
  Cycle(w, ids);
  Cycle(w, ids);
  EXPECT_NEAR(Find(w.Snapshot(), 'L', 1)->x, -4.0, 1e-6);
}

TEST(SimWorldTest, BeamNoiseStaysWithinItsBounds) {
  WorldConfig c;
  c.seed = 3;
  World w(c);
  const int a = Join(w, "Alpha", 1);
  double worst_xy = 0.0, worst_turn = 0.0, total = 0.0;
  for (int i = 0; i < 30; ++i) {
    w.Perceive(a);
    w.ApplyCommands(a, "(beam -6 1 0)");
    w.Step();
    w.Perceive(a);
    w.Step();
    const RobotSnapshot* r = Find(w.Snapshot(), 'L', 1);
    const double dxy = std::max(std::fabs(r->x + 6.0), std::fabs(r->y - 1.0));
    worst_xy = std::max(worst_xy, dxy);
    worst_turn = std::max(worst_turn, std::fabs(r->heading));
    total += dxy;
  }
  EXPECT_LE(worst_xy, 0.05 + 1e-9);
  EXPECT_LE(worst_turn, 10.0);
  EXPECT_GT(total, 0.0);  // there is noise at all
}

TEST(SimWorldTest, SayIsHeardTwoMessagesLaterByEveryone) {
  World w(Quiet());
  const int a = Join(w, "Alpha", 1);
  const int a2 = Join(w, "Alpha", 2);
  const int b = Join(w, "Beta", 1);
  const std::vector<int> ids = {a, a2, b};
  for (int id : ids) w.Perceive(id);
  w.ApplyCommands(a, "(beam -3 0 0)");
  w.ApplyCommands(a2, "(beam -3 2 0)");
  w.ApplyCommands(b, "(beam -3 0 0)");  // world (3, 0), facing a
  Cycle(w, ids);
  Cycle(w, ids);

  w.Perceive(a2);
  w.Perceive(b);
  w.Perceive(a);
  w.ApplyCommands(a, "(say hello)");
  w.Step();
  EXPECT_EQ(w.Perceive(a).find("(hear"), std::string::npos);  // k + 1
  w.Perceive(a2);
  w.Perceive(b);
  w.Step();
  const std::string ma = w.Perceive(a), ma2 = w.Perceive(a2), mb = w.Perceive(b);
  EXPECT_NE(ma.find("(hear Alpha 0.00 self hello)"), std::string::npos) << ma;
  // After the game state, before the inertial sensors.
  EXPECT_LT(ma.find("(GS"), ma.find("(hear"));
  EXPECT_LT(ma.find("(hear"), ma.find("(GYR"));
  // The teammate at (-3, 2) facing +x hears it from its right rear.
  const std::string heard2 = simtest::Expression(ma2, "hear");
  double t, dir;
  char text[32];
  ASSERT_EQ(std::sscanf(heard2.c_str(), "(hear Alpha %lf %lf %31[^)])", &t, &dir, text), 3) << heard2;
  EXPECT_NEAR(dir, -90.0, 0.01);
  EXPECT_STREQ(text, "hello");
  // The opponent facing the speaker hears it straight ahead.
  const std::string heard_b = simtest::Expression(mb, "hear");
  ASSERT_EQ(std::sscanf(heard_b.c_str(), "(hear Alpha %lf %lf %31[^)])", &t, &dir, text), 3) << heard_b;
  EXPECT_NEAR(dir, 0.0, 0.01);
  // Heard once only.
  w.Step();
  EXPECT_EQ(w.Perceive(b).find("(hear"), std::string::npos);
}

TEST(SimWorldTest, InvalidSayTextsAreNotSentAndOneMessagePerTeamIsHeard) {
  World w(Quiet());
  const int a = Join(w, "Alpha", 1);
  const int a2 = Join(w, "Alpha", 2);
  const int a3 = Join(w, "Alpha", 3);
  for (const char* bad : {"(say 123456789012345678901)", "(say two words)", "(say (x))", "(say )",
                          "(say caf\xc3\xa9)"}) {
    w.ApplyCommands(a, bad);
    w.Step();
    w.Step();
    EXPECT_EQ(w.Perceive(a).find("(hear"), std::string::npos) << bad;
  }
  w.ApplyCommands(a, "(say 12345678901234567890)");  // twenty is fine
  w.ApplyCommands(a2, "(say second)");
  w.Step();
  w.Step();
  const std::string m3 = w.Perceive(a3);
  EXPECT_NE(m3.find("12345678901234567890"), std::string::npos);
  EXPECT_EQ(m3.find("second"), std::string::npos);
  // Each speaker still hears itself.
  EXPECT_NE(w.Perceive(a2).find("self second"), std::string::npos);
}

TEST(SimWorldTest, TrainerCommands) {
  World w(Quiet());
  const int a = Join(w, "Alpha", 3);
  EXPECT_TRUE(w.TrainerCommand("(ball (pos 1 2 0.042))"));
  EXPECT_NEAR(w.Snapshot().ball_pos.x(), 1.0, 1e-12);
  EXPECT_TRUE(w.TrainerCommand("(ball (pos -3 -2 0.042)(vel 1 0 0))"));
  EXPECT_NEAR(w.Snapshot().ball_vel.x(), 1.0, 1e-12);
  EXPECT_TRUE(w.TrainerCommand("(agent (team Left)(unum 3)(pos -7 -1 0.4))"));
  WorldSnapshot s = w.Snapshot();
  EXPECT_NEAR(Find(s, 'L', 3)->x, -7.0, 1e-9);
  EXPECT_NEAR(Find(s, 'L', 3)->y, -1.0, 1e-9);
  EXPECT_TRUE(w.TrainerCommand("(ball (pos 1e300 -1e300 1e300))"));  // kept near the field
  EXPECT_LE(w.Snapshot().ball_pos.cwiseAbs().maxCoeff(), 20.0);
  EXPECT_FALSE(w.TrainerCommand("(agent (team Right)(unum 3)(pos 1 1 0))"));  // nobody there
  EXPECT_FALSE(w.TrainerCommand("(agent (team Left)(unum 3)(pos 1 x 0))"));
  EXPECT_FALSE(w.TrainerCommand("(ball (pos 1 2))"));
  EXPECT_FALSE(w.TrainerCommand("(playMode Nonsense)"));
  EXPECT_FALSE(w.TrainerCommand("(teleport)"));
  EXPECT_FALSE(w.TrainerCommand("(playMode PlayOn"));
  EXPECT_FALSE(w.TrainerCommand(""));

  EXPECT_TRUE(w.TrainerCommand("(kickOff Right)"));
  EXPECT_EQ(w.Snapshot().playmode, "KickOff_Right");
  EXPECT_TRUE(w.TrainerCommand("(dropBall)"));
  EXPECT_EQ(w.Snapshot().playmode, "PlayOn");
  EXPECT_EQ(w.Snapshot().ball_vel.norm(), 0.0);

  EXPECT_TRUE(w.TrainerCommand("(push (team Left)(unum 3))"));
  for (int i = 0; i < 20; ++i) {
    w.Perceive(a);
    w.Step();
  }
  s = w.Snapshot();
  EXPECT_TRUE(Find(s, 'L', 3)->fallen);
  EXPECT_EQ(w.Stats()[0].falls, 1);
  EXPECT_FALSE(w.Finished());
  EXPECT_TRUE(w.TrainerCommand("(killsim)"));
  EXPECT_TRUE(w.Finished());
}

TEST(SimWorldTest, AGoalIsCountedAndTheOtherTeamKicksOffFromTheCentre) {
  WorldConfig c = Quiet();
  c.kickoff_after = 0.0;
  World w(c);
  Join(w, "Alpha", 1);
  w.Step();
  ASSERT_EQ(w.Snapshot().playmode, "KickOff_Left");
  w.TrainerCommand("(playMode PlayOn)");
  w.TrainerCommand("(ball (pos 13.5 0.3 0.042)(vel 5 0 0))");
  for (int i = 0; i < 50 && w.Snapshot().playmode == "PlayOn"; ++i) w.Step();
  WorldSnapshot s = w.Snapshot();
  EXPECT_EQ(s.playmode, "Goal_Left");
  EXPECT_EQ(s.score_left, 1);
  EXPECT_EQ(s.score_right, 0);
  for (int i = 0; i < 151; ++i) w.Step();
  s = w.Snapshot();
  EXPECT_EQ(s.playmode, "KickOff_Right");
  EXPECT_NEAR(s.ball_pos.head<2>().norm(), 0.0, 1e-12);
  EXPECT_EQ(s.score_left, 1);
}

TEST(SimWorldTest, ASwingingFootKicksTheBallAndStartsPlay) {
  WorldConfig c = Quiet();
  c.kickoff_after = 0.0;
  c.playon_after = 30.0;
  World w(c);
  const int a = Join(w, "Alpha", 1);
  w.TrainerCommand("(agent (team Left)(unum 1)(pos -0.5 0 0.4))");
  w.Step();
  ASSERT_EQ(w.Snapshot().playmode, "KickOff_Left");
  auto phase = [&](const std::string& speeds, int steps) {
    w.ApplyCommands(a, speeds);
    for (int i = 0; i < steps; ++i) w.Step();
  };
  // Lift the right foot flat, take it back, then swing it through the ball.
  phase("(rle3 2.18)(rle4 -4.36)(rle5 2.18)", 10);
  phase("(rle3 -3.49)(rle4 0)(rle5 3.49)", 10);
  WorldSnapshot s = w.Snapshot();
  EXPECT_EQ(s.ball_vel.norm(), 0.0);  // nothing touched yet
  EXPECT_EQ(s.playmode, "KickOff_Left");
  w.TrainerCommand("(ball (pos -0.36 -0.055 0.042))");  // in front of the right foot
  phase("(rle3 5.45)(rle4 2.18)(rle5 -6.1)", 8);
  phase("(rle3 0)(rle4 0)(rle5 0)", 2);
  s = w.Snapshot();
  EXPECT_EQ(s.playmode, "PlayOn");
  EXPECT_GT(s.ball_vel.x(), 0.5);
  EXPECT_NEAR(s.ball_vel.y(), 0.0, 0.05);
  EXPECT_GT(s.ball_pos.x(), -0.3);
  EXPECT_FALSE(s.robots[0].fallen);
  EXPECT_EQ(w.Stats()[0].ball_touches, 1);
}

TEST(SimWorldTest, ArbitraryCommandTextNeverBreaksTheField) {
  World w(WorldConfig{});
  const int a = Join(w, "Alpha", 1);
  const char* pieces[] = {"(", ")", " ", "he1", "beam", "say", "ball", "pos", "agent", "team", "Left",
                          "unum", "1e308", "-nan", "inf", "x", "3", "-0.5", "playMode", "((", "))",
                          "push", "kickOff", "vel", "\x00", "rle6", "dropBall"};
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pick(0, sizeof pieces / sizeof pieces[0] - 1), len(0, 30);
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    for (int k = len(rng); k > 0; --k) text += pieces[pick(rng)];
    if (i % 2) w.ApplyCommands(a, text);
    else w.TrainerCommand(text);
    if (i % 10 == 0) {
      w.Step();
      ASSERT_FALSE(w.Perceive(a).empty());
    }
  }
  const WorldSnapshot s = w.Snapshot();
  EXPECT_TRUE(s.ball_pos.allFinite());
  for (const RobotSnapshot& r : s.robots) {
    EXPECT_TRUE(std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.heading));
  }
}

TEST(SimWorldTest, ManyRobotsStayCheap) {
  World w(WorldConfig{});
  std::vector<int> ids;
  for (int i = 0; i < 22; ++i) ids.push_back(Join(w, i < 11 ? "Alpha" : "Beta", 0));
  const std::string answer =
      "(he1 0.1)(he2 -0.1)(lae1 0.2)(lae2 0)(lae3 0)(lae4 0)(rae1 0)(rae2 0)(rae3 0)(rae4 0)"
      "(lle1 0)(lle2 0)(lle3 0.3)(lle4 -0.3)(lle5 0.1)(lle6 0)(rle1 0)(rle2 0)(rle3 0.2)(rle4 -0.2)"
      "(rle5 0)(rle6 0)(syn)";
  size_t total = 0;
  for (int k = 0; k < 300; ++k) {
    for (int id : ids) {
      total += w.Perceive(id).size();
      w.ApplyCommands(id, answer);
    }
    w.Step();
  }
  EXPECT_GT(total, 300u * 22u * 500u);
  EXPECT_EQ(w.Snapshot().robots.size(), 22u);
}

}  // namespace
