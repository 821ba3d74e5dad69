#include "World.h"

#include <cmath>

#include <gtest/gtest.h>

#include "SimRobot.h"
#include "SimTestSupport.h"

namespace {

using simtest::Join;
using simtest::Numbers;
using simtest::Quiet;

// Steps: every robot gets its message, then the field moves.
void Cycle(World& w, const std::vector<int>& ids, int steps = 1) {
  for (int i = 0; i < steps; ++i) {
    for (int id : ids) w.Perceive(id);
    w.Step();
  }
}

RobotSnapshot Find(const WorldSnapshot& s, char side, int unum) {
  for (const RobotSnapshot& r : s.robots) {
    if (r.side == side && r.unum == unum) return r;
  }
  ADD_FAILURE() << "no robot " << side << unum;
  return RobotSnapshot();
}

double JointIn(const std::string& msg, const std::string& name) {
  double v = 1e9;
  Numbers(msg, "HJ (n " + name + ") (ax", "%lf", &v);
  return v;
}

constexpr auto kPlaced = World::InitResult::kPlaced;
constexpr auto kRejected = World::InitResult::kRejected;

TEST(SimWorldTest, RegistrationSidesNumbersAndLimits) {
  World w(Quiet());
  std::string error;
  Join(w, "Alpha", 0);
  const int b5 = Join(w, "Beta", 5);
  w.CreateRobot();  // unregistered bodies are not part of the match
  const WorldSnapshot s = w.Snapshot();
  EXPECT_EQ(s.robots.size(), 2u);
  EXPECT_EQ(Find(s, 'L', 1).team, "Alpha");  // number 0 takes the first free one
  EXPECT_EQ(Find(s, 'R', 5).team, "Beta");
  const std::pair<const char*, int> refused[] = {{"Gamma", 1}, {"Beta", 5}, {"Beta", 12}};
  for (const auto& r : refused) {
    const int id = w.CreateRobot();
    EXPECT_EQ(kRejected, w.InitRobot(id, r.first, r.second, &error)) << r.first << r.second;
    EXPECT_NE(error.find(r.second == 1 ? "Gamma" : std::to_string(r.second)), std::string::npos) << error;
    EXPECT_EQ(w.Perceive(id), "");  // removed
  }
  // The start script's team, joined in number order, is accepted in full.
  for (int n = 2; n <= 11; ++n) {
    ASSERT_EQ(kPlaced, w.InitRobot(w.CreateRobot(simtest::MixType(n)), "Alpha", 0, &error)) << n << " " << error;
  }
  EXPECT_EQ(kRejected, w.InitRobot(w.CreateRobot(), "Alpha", 0, &error));
  EXPECT_NE(error.find("11"), std::string::npos);
  // A robot that leaves keeps its line in the summary, and its number is free
  // again. Its team keeps its side with nobody left, as on the real server.
  w.RemoveRobot(b5);
  EXPECT_EQ(w.Snapshot().robots.size(), 11u);
  EXPECT_EQ(w.Stats().size(), 12u);
  EXPECT_EQ(kRejected, w.InitRobot(w.CreateRobot(), "Gamma", 1, &error));
  EXPECT_EQ(kPlaced, w.InitRobot(w.CreateRobot(), "Beta", 5, &error));
}

TEST(SimWorldTest, ARobotItsTeamsTypesRefuseStaysOnTheFieldOutsideTheTeamAndKeepsItsNumber) {
  World w(Quiet());
  std::vector<int> alpha;
  for (int n = 1; n <= 7; ++n) alpha.push_back(Join(w, "Alpha", n, 0));
  const int out = w.CreateRobot(0);
  w.Perceive(out);
  std::string why;
  int given = 0;
  ASSERT_EQ(World::InitResult::kOutsideTeam, w.InitRobot(out, "Alpha", 0, &why, &given));
  EXPECT_EQ(8, given);
  EXPECT_EQ("no more robots of type 0 are allowed: a team has at most 7 robots of one type", why);
  EXPECT_EQ(7u, w.Snapshot().robots.size());
  // A message every step, never its number; it sees the players but hears
  // nothing, nobody sees it, and its joints follow its commands.
  w.ApplyCommands(out, "(he1 1.0)");
  w.ApplyCommands(alpha[0], "(say hello)");
  std::string outsider_sees, alpha_sees, last;
  for (int i = 0; i < 6; ++i) {
    last = w.Perceive(out);
    EXPECT_NE(last.find("(GS (sl 0) (sr 0) (t 0.00) (pm BeforeKickOff))"), std::string::npos) << last;
    EXPECT_EQ(last.find("(hear"), std::string::npos) << last;
    if (last.find("(See") != std::string::npos) outsider_sees = last;
    for (int id : alpha) {
      const std::string m = w.Perceive(id);
      if (id == alpha[0] && m.find("(See") != std::string::npos) alpha_sees = m;
    }
    w.Step();
  }
  for (const char* item : {"(F1", "(B ", "(P (team Alpha) (id 7)"}) {
    EXPECT_NE(outsider_sees.find(item), std::string::npos) << item << " in " << outsider_sees;
  }
  ASSERT_NE(alpha_sees.find("(See"), std::string::npos);
  EXPECT_EQ(alpha_sees.find("(id 8)"), std::string::npos) << alpha_sees;
  EXPECT_GT(JointIn(last, "hj1"), 1.0);
  // Its number stays taken after it leaves (number 0 passes it by); a
  // player that leaves frees its type.
  w.RemoveRobot(out);
  EXPECT_EQ(kRejected, w.InitRobot(w.CreateRobot(2), "Alpha", 8, &why));
  EXPECT_NE(why.find("uniform number 8 of team Alpha is already taken"), std::string::npos) << why;
  EXPECT_EQ(kPlaced, w.InitRobot(w.CreateRobot(2), "Alpha", 0, &why, &given));
  EXPECT_EQ(9, given);
  w.RemoveRobot(alpha[2]);
  EXPECT_EQ(kPlaced, w.InitRobot(w.CreateRobot(0), "Alpha", 3, &why)) << why;
}

TEST(SimWorldTest, CommandsShowTwoMessagesLaterJointSpeedsHoldAndBeamsFollowTheReferee) {
  World w(Quiet());
  const int id = Join(w, "Alpha", 1), b = Join(w, "Beta", 1);
  const double step = 0.02 * 180.0 / M_PI;  // degrees at 1 rad/s
  w.Perceive(id);                                                                  // message k
  w.ApplyCommands(id, "(he1 1.0)(lae3 -20)(xyz 3)(he2 abc)(beam -4 2 30)(syn)");  // the answer to k
  w.ApplyCommands(b, "(beam -4 2 30)");
  w.Step();
  EXPECT_EQ(JointIn(w.Perceive(id), "hj1"), 0.0);  // k + 1
  w.Step();
  const std::string m = w.Perceive(id);  // k + 2
  EXPECT_NEAR(JointIn(m, "hj1"), step, 0.006);
  EXPECT_NEAR(JointIn(m, "laj3"), -SimRobot::kMaxJointSpeed * step, 0.006);
  EXPECT_EQ(JointIn(m, "hj2"), 0.0);
  for (int i = 0; i < 3; ++i) w.Step();  // no new command: the speeds hold
  EXPECT_NEAR(JointIn(w.Perceive(id), "hj1"), 4 * step, 0.006);
  // Each team beams in its own frame; once the ball is in play, not at all.
  const RobotSnapshot left = Find(w.Snapshot(), 'L', 1), right = Find(w.Snapshot(), 'R', 1);
  EXPECT_TRUE(Eigen::Vector3d(left.x, left.y, left.heading).isApprox(Eigen::Vector3d(-4, 2, 30), 1e-9));
  EXPECT_TRUE(Eigen::Vector2d(right.x, right.y).isApprox(Eigen::Vector2d(4, -2), 1e-9));
  EXPECT_TRUE(w.TrainerCommand("(playMode PlayOn)"));
  w.ApplyCommands(id, "(beam -10 -3 0)");
  Cycle(w, {id, b}, 2);
  EXPECT_NEAR(Find(w.Snapshot(), 'L', 1).x, -4.0, 1e-6);
}

TEST(SimWorldTest, SayIsHeardTwoMessagesLaterFromItsDirectionAndAsSelfOncePerTeam) {
  World w(Quiet());
  const int a = Join(w, "Alpha", 1), a2 = Join(w, "Alpha", 2), b = Join(w, "Beta", 1);
  w.ApplyCommands(a, "(beam -3 0 0)");
  w.ApplyCommands(a2, "(beam -3 2 0)");
  w.ApplyCommands(b, "(beam -3 0 0)");  // world (3, 0), facing a
  Cycle(w, {a, a2, b}, 2);
  w.ApplyCommands(a, "(say hello)");
  Cycle(w, {a, a2, b});
  EXPECT_EQ(w.Perceive(a).find("(hear"), std::string::npos);  // k + 1
  w.Perceive(a2);
  w.Perceive(b);
  w.Step();
  const std::string ma = w.Perceive(a);
  EXPECT_NE(ma.find("(pm BeforeKickOff))(hear Alpha 0.00 self hello)(GYR"), std::string::npos) << ma;
  // The teammate at (-3, 2) facing +x hears it from its right; the
  // opponent facing the speaker hears it straight ahead.
  for (const std::pair<int, double>& listener : {std::make_pair(a2, -90.0), std::make_pair(b, 0.0)}) {
    double t, dir;
    char text[32];
    ASSERT_TRUE(Numbers(w.Perceive(listener.first), "hear Alpha", "%lf %lf %31[^)]", &t, &dir, text));
    EXPECT_NEAR(dir, listener.second, 0.01);
    EXPECT_STREQ(text, "hello");
  }
  // Heard once only; texts the server refuses are not heard at all.
  for (const char* bad : {"(say 123456789012345678901)", "(say two words)", "(say (x))", "(say )", "(say caf\xc3\xa9)"}) {
    w.ApplyCommands(a, bad);
    w.Step();
    w.Step();
    EXPECT_EQ(w.Perceive(a).find("(hear"), std::string::npos) << bad;
  }
  // Twenty characters are fine; one message per team and step is heard,
  // each speaker hears itself.
  w.ApplyCommands(a, "(say 12345678901234567890)");
  w.ApplyCommands(a2, "(say second)");
  w.Step();
  w.Step();
  const std::string mb = w.Perceive(b);
  EXPECT_NE(mb.find("12345678901234567890"), std::string::npos) << mb;
  EXPECT_EQ(mb.find("second"), std::string::npos) << mb;
  EXPECT_NE(w.Perceive(a2).find("self second"), std::string::npos);
}

TEST(SimWorldTest, TrainerCommands) {
  World w(Quiet());
  const int a = Join(w, "Alpha", 3);
  for (const char* bad : {"(agent (team Right)(unum 3)(pos 1 1 0))", "(agent (team Left)(unum 3)(pos 1 x 0))",
                          "(agent (team Left)(unum 3)(pos nan 1 0))", "(ball (pos 1 2))", "(ball (pos 1 inf 0))",
                          "(playMode Nonsense)", "(teleport)", "(playMode PlayOn", "",
                          "(push (team Left)(unum 3)(dir sideways))", "(agent (team Left)(unum 3)(dir forward))",
                          "(agent (team Left)(unum 3)(move 1 2 0.4))", "(push (team Left)(unum 3)(move 1 2 0.4 0))"}) {
    EXPECT_FALSE(w.TrainerCommand(bad)) << bad;
  }
  EXPECT_TRUE(w.TrainerCommand("(ball (pos -3 -2 0.042)(vel 1 0 0))(agent (team Left)(unum 3)(pos -7 -1 0.4))"));
  EXPECT_NEAR(w.Snapshot().ball_vel.x(), 1.0, 1e-12);
  EXPECT_NEAR(Find(w.Snapshot(), 'L', 3).x, -7.0, 1e-9);
  // "move" turns the robot as well: yaw -90 faces +x, 0 faces +y.
  for (const auto& yaw_heading : {std::make_pair(-90.0, 0.0), std::make_pair(0.0, 90.0)}) {
    EXPECT_TRUE(w.TrainerCommand("(agent (team Left)(unum 3)(move -5 1 0.4 " + std::to_string(yaw_heading.first) + "))"));
    const RobotSnapshot moved = Find(w.Snapshot(), 'L', 3);
    EXPECT_TRUE(Eigen::Vector3d(moved.x, moved.y, moved.heading).isApprox(Eigen::Vector3d(-5, 1, yaw_heading.second), 1e-9));
  }
  EXPECT_TRUE(w.TrainerCommand("(ball (pos 1e300 -1e300 1e300))"));  // kept near the field
  EXPECT_LE(w.Snapshot().ball_pos.cwiseAbs().maxCoeff(), 20.0);
  EXPECT_TRUE(w.TrainerCommand("(kickOff Right)"));
  EXPECT_EQ(w.Snapshot().playmode, "KickOff_Right");
  EXPECT_TRUE(w.TrainerCommand("(dropBall)"));
  EXPECT_EQ(w.Snapshot().playmode, "PlayOn");
  // Pushed onto the back unless told otherwise; the message shows it lying.
  const std::pair<const char*, double> pushes[] = {{"", 9.81}, {"(dir backward)", 9.81}, {"(dir forward)", -9.81}};
  for (const auto& p : pushes) {
    SCOPED_TRACE(p.first);
    ASSERT_TRUE(w.TrainerCommand("(agent (team Left)(unum 3)(pos -7 -1 0.4))"));
    EXPECT_TRUE(w.TrainerCommand(std::string("(push (team Left)(unum 3)") + p.first + ")"));
    Cycle(w, {a}, 20);
    EXPECT_TRUE(Find(w.Snapshot(), 'L', 3).fallen);
    const std::string m = w.Perceive(a);
    double acc[3];
    ASSERT_TRUE(Numbers(m, "ACC (n torso) (a", "%lf %lf %lf", &acc[0], &acc[1], &acc[2]));
    EXPECT_NEAR(acc[1], p.second, 0.01);
    EXPECT_NE(m.find("(FRP (n lf)"), std::string::npos) << m;
  }
  EXPECT_EQ(w.Stats()[0].falls, 3);
  EXPECT_TRUE(w.TrainerCommand("(killsim)"));
  EXPECT_TRUE(w.Finished());
}

// Commands scheduled for a time are carried out in the first step that
// reaches it, in time order, before the robots move.
TEST(SimWorldTest, ScheduledTrainerCommandsRunInTheStepThatReachesTheirTime) {
  WorldConfig config = Quiet();
  config.scheduled = {{0.1, "(playMode PlayOn)"}, {0.1, "(ball (pos 1 2 0.042))"}, {0.2, "(frobnicate)"},
                      {0.3, "(agent (team Left)(unum 2)(move -6 3 0.4 -90))"}};
  World w(config);
  const int a = Join(w, "Alpha", 2);
  const struct {
    int steps;
    const char* playmode;
    double ball_x, robot_x;
  } kSteps[] = {{4, "BeforeKickOff", 0, -2}, {1, "PlayOn", 1, -2}, {9, "PlayOn", 1, -2}, {1, "PlayOn", 1, -6}};
  w.ApplyCommands(a, "(beam -2 0 0)");
  ::testing::internal::CaptureStderr();
  for (const auto& s : kSteps) {
    Cycle(w, {a}, s.steps);
    const WorldSnapshot snap = w.Snapshot();
    EXPECT_EQ(s.playmode, snap.playmode);
    EXPECT_NEAR(s.ball_x, snap.ball_pos.x(), 0.05);
    EXPECT_NEAR(s.robot_x, Find(snap, 'L', 2).x, 0.05);
  }
  EXPECT_EQ("scheduled trainer command not understood: (frobnicate)\n", ::testing::internal::GetCapturedStderr());
}

TEST(SimWorldTest, RandomPushesKnockStandingPlayersOverWhilePlayRunsAndSkipWhenNoneStands) {
  const struct {
    int pushes, players, falls;
  } cases[] = {{0, 3, 0}, {3, 4, 3}, {3, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pushes);
    WorldConfig config = Quiet();
    config.seed = 7, config.kickoff_after = 2.0, config.duration = 24.0, config.pushes = c.pushes;
    World w(config);
    std::vector<int> ids;
    for (int n = 1; n <= c.players; ++n) ids.push_back(Join(w, "Alpha", n));
    auto falls = [&] {
      int n = 0;
      for (const RobotStats& s : w.Stats()) n += s.falls;
      return n;
    };
    while (w.Snapshot().playmode == "BeforeKickOff") Cycle(w, ids);
    EXPECT_EQ(falls(), 0);  // none before the kick-off
    while (!w.Finished()) Cycle(w, ids);
    EXPECT_EQ(falls(), c.falls);
  }
}

TEST(SimWorldTest, AGoalIsCountedAndTheOtherTeamKicksOffFromTheCentre) {
  WorldConfig c = Quiet();
  c.kickoff_after = 0.0;
  World w(c);
  Join(w, "Alpha", 1);
  w.TrainerCommand("(playMode PlayOn)");
  w.TrainerCommand("(ball (pos 13.5 0.3 0.042)(vel 5 0 0))");
  for (int i = 0; i < 50 && w.Snapshot().playmode == "PlayOn"; ++i) w.Step();
  EXPECT_EQ(w.Snapshot().playmode, "Goal_Left");
  EXPECT_EQ(std::make_pair(w.Snapshot().score_left, w.Snapshot().score_right), std::make_pair(1, 0));
  for (int i = 0; i < 151; ++i) w.Step();
  EXPECT_EQ(w.Snapshot().playmode, "KickOff_Right");
  EXPECT_NEAR(w.Snapshot().ball_pos.head<2>().norm(), 0.0, 1e-12);
}

}  // namespace
