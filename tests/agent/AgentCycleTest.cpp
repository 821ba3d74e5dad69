// Whole cycles: a server message in, the exact answer out.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../support/ServerText.h"
#include "agent/MotionParams.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "agent/Beliefs.h"
#include "object/Ball.h"

namespace {

const char kDefaultPostureCommands[] =
    "(he1 0)(he2 0)(lae1 -15)(lae2 3)(lae3 -13.5)(lae4 0)(rae1 -15)(rae2 -3)(rae3 13.5)"
    "(rae4 0)(lle1 0)(lle2 0)(lle3 2.25)(lle4 -9)(lle5 6.75)(lle6 0)(rle1 0)(rle2 0)"
    "(rle3 2.25)(rle4 -9)(rle5 6.75)(rle6 0)";

// The first answer: a beam to the start of the number and side (the side
// read from the goal posts in view when the server has not named it), the
// default posture, "(syn)" in synchronous mode only; no beam without foot
// contact, and "(syn)" even for an empty message.
TEST(AgentCycleTest, FirstAnswerBeamsToTheStartOfNumberAndSideAndDrivesToThePosture) {
  const std::string posture = kDefaultPostureCommands, kicker = "(beam -0.152282 -0.0995641 20)";
  const char kRight[] = "(G1R (pol 10.00 5.00 0.10)) (G2R (pol 10.00 -5.00 0.10))",
             kLeft[] = "(G1L (pol 10.00 5.00 0.10)) (G2L (pol 10.00 -5.00 0.10))",
             kBoth[] = "(G1R (pol 10.00 5.00 0.10)) (G2L (pol 10.00 -5.00 0.10))";
  const struct {
    int num;
    const char *side, *see;
    bool feet, syn;
    char territory;
    std::string answer;  // the whole answer, or its start when it ends in "..."
  } kCases[] = {
      {1, "left", "", true, true, 'L', "(beam -14.5 0 0)" + posture + "(syn)"},
      {1, "", "", false, false, 'N', posture},
      // The kick-off taker of the left side goes next to the centre spot, turned.
      {9, "left", "", true, false, 'L', kicker + "(he1 0)(he2 0)(lae1 -5)..."},
      {9, "right", "", true, false, 'R', "(beam -3 1.5 0)..."},
      {0, "left", "", true, false, 'L', "(beam -2.5 0 0)..."},
      {12, "left", "", true, false, 'L', "(beam -2.5 0 0)..."},
      {9, "", kRight, true, false, 'L', kicker + "..."},
      {9, "", kLeft, true, false, 'R', "(beam -3 1.5 0)..."},
      {9, "", kBoth, true, false, 'N', "(beam -3 1.5 0)..."},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.num << " " << c.side << " " << c.see);
    TestAgent agent(c.num, "Alpha", c.syn);
    ServerText m;
    m.side = c.side;
    m.see = c.see;
    m.left_foot = m.right_foot = c.feet;
    const std::string answer = agent.Run(m.Text());
    const size_t dots = c.answer.find("...");
    EXPECT_EQ(dots == std::string::npos ? answer : answer.substr(0, dots), c.answer.substr(0, dots));
    EXPECT_EQ(SideLetter(agent.GetBlackboard().br_.territory), c.territory);
    EXPECT_TRUE(agent.GetRequest().Empty());
  }
  const std::string empty = TestAgent(3, "Alpha", true).Run("");
  EXPECT_EQ(CountOf(empty, "(he1 "), 1);
  EXPECT_EQ(empty.substr(empty.size() - 5), "(syn)");
}

// Fifteen beams at most, counted in cycles with or without foot contact,
// until play on resets the count.
TEST(AgentCycleTest, BeamCounterAllowsFifteenBeamsUntilPlayOnResetsIt) {
  TestAgent agent(9), footless(2);
  ServerText m;
  m.side = "left";
  int beams = 0;
  for (int i = 0; i < 20; ++i) {
    beams += CountOf(agent.Run(m.Text()), "(beam ");
    m.side.clear();
  }
  EXPECT_EQ(beams, 15);
  ServerText lifted;
  lifted.side = "left";
  lifted.left_foot = lifted.right_foot = false;
  for (int i = 0; i < 15; ++i) EXPECT_EQ(CountOf(footless.Run(lifted.Text()), "(beam "), 0);
  lifted.left_foot = true;
  EXPECT_EQ(CountOf(footless.Run(lifted.Text()), "(beam "), 0);  // the fifteen cycles are used up

  // The reset cycle itself sends nothing.
  m.playmode = "PlayOn";
  EXPECT_EQ(CountOf(agent.Run(m.Text()), "(beam "), 0);

  // After a goal of the left team, the right team kicks off: the left
  // number 9 goes to its ordinary place, fifteen times at most.
  m.playmode = "Goal_Left";
  beams = 0;
  for (int i = 0; i < 20; ++i) {
    const std::string answer = agent.Run(m.Text());
    beams += CountOf(answer, "(beam -3 1.5 0)");
    EXPECT_EQ(CountOf(answer, "(beam "), CountOf(answer, "(beam -3 1.5 0)"));
  }
  EXPECT_EQ(beams, 15);
}

TEST(AgentCycleTest, FallIsNoticedAndTheArmsAreSpread) {
  const struct {
    int num;
    double ax, ay;
    Agent::Behavior after;
  } cases[] = {{1, 30.0, -10.01, Agent::STANDUP},  // the threshold itself: StandUpEngineTest
               {9, 80.0, 0.0, Agent::KICKOFF}};     // the kick-off taker ignores it
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.num << " " << c.ax << " " << c.ay);
    TestAgent agent(c.num);
    ServerText m;
    m.playmode = c.num == 9 ? "BeforeKickOff" : "PlayOn";
    m.acc[0] = c.ax;
    m.acc[1] = c.ay;
    const std::string answer = agent.Run(m.Text());
    EXPECT_EQ(agent.GetBehavior(), c.after);
    if (c.after == Agent::STANDUP) {
      EXPECT_NE(answer.find("(lae2 6)"), std::string::npos) << answer;
      EXPECT_NE(answer.find("(rae2 -6)"), std::string::npos) << answer;
    }
  }
}

// The game-level overrides after the behaviour's own step: a goal or a long
// wait before the kick-off sends a player back to READY, number 11 keeps
// still for 4.2 s after a goal at its own kick-off, number 12 kicks whenever
// play is on, number 9 takes the kick-off that follows the opponent's goal.
TEST(AgentCycleTest, GameLevelOverridesOfTheBehaviour) {
  const struct {
    int num;
    const char* first;  // play mode of the first message, at game time 20
    const char* mode;   // play mode of the second message
    double time;        // its game time
    Agent::Behavior before, after;
  } kCases[] = {
      {4, "PlayOn", "Goal_Left", 22, Agent::WALK, Agent::READY},
      {4, "BeforeKickOff", "BeforeKickOff", 299.98, Agent::WALK, Agent::WALK},
      {4, "BeforeKickOff", "BeforeKickOff", 300, Agent::WALK, Agent::READY},
      {11, "Goal_Right", "KickOff_Left", 22, Agent::WALK, Agent::READY},
      {11, "Goal_Right", "KickOff_Left", 24.2, Agent::WALK, Agent::READY},
      {11, "Goal_Right", "KickOff_Left", 24.3, Agent::WALK, Agent::WALK},
      {11, "Goal_Left", "KickOff_Right", 22, Agent::WALK, Agent::WALK},  // not its kick-off
      {11, "PlayOn", "KickOff_Left", 22, Agent::WALK, Agent::WALK},      // no goal since 0
      {10, "Goal_Right", "KickOff_Left", 22, Agent::WALK, Agent::WALK},
      {12, "BeforeKickOff", "BeforeKickOff", 22, Agent::READY, Agent::READY},
      {12, "BeforeKickOff", "PlayOn", 22, Agent::WALK, Agent::KICK},
      {12, "BeforeKickOff", "Goal_Left", 22, Agent::READY, Agent::KICK},
      {9, "Goal_Right", "KickOff_Left", 22, Agent::READY, Agent::KICKOFF},
      {9, "Goal_Right", "PlayOn", 22, Agent::READY, Agent::READY},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.num << " " << c.first << " " << c.mode << " " << c.time);
    TestAgent agent(c.num);
    ServerText m;
    m.side = "left";
    m.playmode = c.first;
    m.game_time = 20;
    agent.Run(m.Text());
    m.side.clear();
    m.playmode = c.mode;
    m.game_time = c.time;
    agent.SetBehavior(c.before);
    agent.Run(m.Text());
    EXPECT_EQ(agent.GetBehavior(), c.after);
  }
}

// What a robot at (x, y) of the server's field, facing `facing` degrees,
// sees of the landmarks (and with `ball` of the ball on the centre spot)
// within 60 degrees of its view, its camera 0.5 m high.
std::string Landmarks(double x, double y, double facing, bool ball = false) {
  const struct {
    const char* name;
    double x, y, z;
  } kLandmarks[] = {{"F1L", -15, 10, 0},     {"F2L", -15, -10, 0},     {"F1R", 15, 10, 0},
                    {"F2R", 15, -10, 0},     {"G1L", -15, 1.05, 0.8},  {"G2L", -15, -1.05, 0.8},
                    {"G1R", 15, 1.05, 0.8},  {"G2R", 15, -1.05, 0.8},  {"B", 0, 0, 0.042}};
  std::string see;
  for (const auto& l : kLandmarks) {
    if (l.name[0] == 'B' && !ball) continue;
    const double dx = l.x - x, dy = l.y - y, dz = l.z - 0.5, ground = std::hypot(dx, dy);
    const double h = std::remainder(std::atan2(dy, dx) * 180 / M_PI - facing, 360.0);
    if (std::fabs(h) > 60) continue;
    see += std::string("(") + l.name + " (pol " + ServerText::Num(std::hypot(ground, dz)) + " " +
           ServerText::Num(h) + " " + ServerText::Num(std::atan2(dz, ground) * 180 / M_PI) + ")) ";
  }
  return see;
}

// Each team plays in its own frame: a right-side robot standing where a
// left-side one would stand in its own half sees the other end's landmarks,
// and must place itself at the same point of its own field.
TEST(AgentCycleTest, EitherSideLocalisesItselfFromTheLandmarksInView) {
  const struct {
    const char* side;
    double x, y, facing;  // in the server's frame
  } kCases[] = {{"left", -4, 2, 0}, {"right", 4, -2, 180}, {"left", -9, -5, 0}, {"right", 9, 5, 180}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.side << " " << c.x << " " << c.y);
    TestAgent agent(5);
    ServerText m;
    m.side = c.side;
    m.playmode = "PlayOn";
    m.see = Landmarks(c.x, c.y, c.facing);
    for (int i = 0; i < 150; ++i) {
      m.game_time = 0.02 * i;
      agent.Run(m.Text());
      m.side.clear();
    }
    // The estimate's frame: the opponent's goal at y = -15, its x axis the
    // server's -y, for the left team's own view of the field.
    const double own_x = c.facing == 0 ? c.x : -c.x, own_y = c.facing == 0 ? c.y : -c.y;
    EXPECT_LT((agent.GetBlackboard().abs_->cod_.head<2>() - Eigen::Vector2d(-own_y, -own_x)).norm(), 0.3)
        << agent.GetBlackboard().abs_->cod_.transpose();
  }
}

// The drawings get what the player believes in the server's frame, on
// either side: where it stands and faces, the ball (on the centre spot), the
// ball tactics' target (0.2 m behind the ball for the player that goes for
// it) and the teammate elected for the ball: itself, one it has heard (number
// 2 at (-2.2, 0) of its team's frame), or none while nobody has reported.
TEST(AgentCycleTest, BeliefsForTheDrawingsAreInTheServersFrame) {
  const struct {
    const char* side;
    int num;
    double x, y, facing;  // in the server's frame
    const char* heard;
    std::optional<Eigen::Vector2d> target, mate;
  } kCases[] = {
      {"left", 2, -4, 2, 0, "", Eigen::Vector2d(-0.2, 0), Eigen::Vector2d(-4, 2)},
      {"right", 2, 4, -2, 180, "", Eigen::Vector2d(0.2, 0), Eigen::Vector2d(4, -2)},
      {"left", 5, -4, 2, 0, "", std::nullopt, std::nullopt},
      {"right", 5, 4, -2, 180, "(hear Alpha 5.00 -30.5 NEB_2D14bjbjaibj3)", std::nullopt, Eigen::Vector2d(0, -2.2)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.side << " " << c.num << " " << c.heard);
    Agent agent(c.num, "Alpha", false, Agent::kDefaultServerVersion, Tactics::kBall);
    ServerText m;
    m.side = c.side;
    m.unum = c.num;
    m.playmode = "PlayOn";
    m.joints = ServerText::Posture(false);
    m.see = Landmarks(c.x, c.y, c.facing, true);
    for (int i = 0; i < 150; ++i, m.side.clear()) {
      m.game_time = 0.02 * i;
      agent.Run(m.Text() + c.heard);
    }
    ASSERT_TRUE(agent.SawThisCycle());
    const draw::Beliefs b = agent.GatherBeliefs();
    EXPECT_EQ(b.number, c.num);
    EXPECT_EQ(SideLetter(b.side), c.side[0] == 'l' ? 'L' : 'R');
    EXPECT_LT((b.position - Eigen::Vector2d(c.x, c.y)).norm(), 0.3) << b.position.transpose();
    EXPECT_LT((b.heading - Eigen::Vector2d(std::cos(c.facing * M_PI / 180), 0)).norm(), 0.1) << b.heading.transpose();
    EXPECT_LT(b.ball.norm(), 0.3) << b.ball.transpose();
    ASSERT_TRUE(b.target.has_value());  // a formation place when not given
    if (c.target) {
      EXPECT_LT((*b.target - *c.target).norm(), 0.3) << b.target->transpose();
    }
    ASSERT_EQ(b.mate.has_value(), c.mate.has_value());
    if (c.mate) {
      EXPECT_LT((*b.mate - *c.mate).norm(), 0.3) << b.mate->transpose();
    }
    EXPECT_EQ(std::string(b.behavior) + " " + std::string(b.play_mode), "WALK PlayOn");
  }
}

// A right-side robot mirrors the landmarks after every vision, and only
// then; the next vision must still be read against each landmark's own last
// sighting, every value of a sighting going with its landmark.
TEST(AgentCycleTest, OnTheRightSideEachLandmarkKeepsItsOwnSighting) {
  TestAgent agent(5);
  const CommonInformation& ci = agent.GetBlackboard();
  ServerText m;
  m.side = "right";
  m.playmode = "PlayOn";
  // What slot holds after each message: mirrored, F1R (landmark 0) is in
  // slot 3 and F2L (landmark 3) in slot 0.
  using Sighting = std::tuple<std::string, double, double, double, double, double>;
  const struct {
    double time;
    const char* see;
    Sighting slot0, slot3;  // name, time, time before, distance, h, v
  } kMessages[] = {
      {1.0, "(F1R (pol 8 10 -2)) ", Sighting{"F2L", 0, 0, 0, 0, 0}, Sighting{"F1R", 1.0, 0, 8, 10, -2}},
      {1.25, "", Sighting{"F2L", 0, 0, 0, 0, 0}, Sighting{"F1R", 1.0, 0, 8, 10, -2}},  // no vision
      {1.5, "(F1R (pol 7 11 -3)) (F2L (pol 9 -12 -4)) ", Sighting{"F2L", 1.5, 0, 9, -12, -4},
       Sighting{"F1R", 1.5, 1.0, 7, 11, -3}},
  };
  for (const auto& c : kMessages) {
    SCOPED_TRACE(c.time);
    m.game_time = c.time;
    m.see = c.see;
    agent.Run(m.Text());
    m.side.clear();
    for (const auto& slot : {std::make_pair(0, c.slot0), std::make_pair(3, c.slot3)}) {
      const Object& o = *ci.flag_[slot.first];
      EXPECT_EQ(Sighting(o.name, o.vis_time, o.before_vis_time, o.distance, o.h_angle, o.v_angle), slot.second)
          << slot.first;
    }
  }
}

// With the option, the own estimate stays where it was while the robot lies
// (here: acc.z below 7) and for a second after; without it the sightings
// taken lying pull it to where they seem to show.
TEST(AgentCycleTest, EstimatesCanBeHeldWhileTheRobotLiesAndSettles) {
  for (bool hold : {false, true}) {
    SCOPED_TRACE(hold);
    MotionParams params;
    params.behavior.hold_estimates_when_fallen = hold;
    params.behavior.upright_acc_z = 7.0;
    Agent agent(5, "Alpha", false, Agent::kDefaultServerVersion, Tactics::kDefault, params);
    const Eigen::Vector3d& estimate = agent.GetBlackboard().abs_->cod_;
    ServerText m;
    m.side = "left";
    m.playmode = "PlayOn";
    m.joints = ServerText::Posture(false);
    m.see = Landmarks(-4, 2, 0);
    int cycle = 0;
    auto run = [&](int n) {
      for (int i = 0; i < n; ++i, ++cycle) {
        m.game_time = 0.02 * cycle;
        agent.Run(m.Text());
        m.side.clear();
      }
    };
    run(150);
    ASSERT_EQ(agent.GetBehavior(), Agent::WALK);
    // The estimate's frame: the server's (-9, -5) is (5, 9) for the left team.
    const Eigen::Vector2d elsewhere(5, 9);
    auto away = [&] { return (estimate.head<2>() - elsewhere).norm(); };
    const double start = away();  // about 8.6 m
    m.see = Landmarks(-9, -5, 0);  // what it sees from there while lying
    m.acc[2] = 2.0;
    run(20);
    if (hold) {
      EXPECT_EQ(away(), start);
    } else {
      EXPECT_LT(away(), start - 2.0);
    }
    m.acc[2] = 9.81;
    run(45);  // 0.9 s upright
    const double settled = away();
    if (hold) {
      EXPECT_EQ(settled, start);
    }
    run(10);  // settled: the sightings count again
    EXPECT_LT(away(), hold ? settled - 2.0 : 1.0);
  }
}

TEST(AgentCycleTest, KickOffFinishesWhenPlayStartsOnTheOpponentsKickOff) {
  TestAgent agent(9);
  ServerText m;
  m.side = "right";
  m.playmode = "KickOff_Left";
  m.joints = ServerText::Posture(true);
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetKickOff().GetKickOffStep(), 1);
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::KICKOFF);
  m.playmode = "PlayOn";
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::READY);
  EXPECT_TRUE(agent.GetKickOff().GetKickOffShootFlag());
  EXPECT_EQ(agent.GetKickOff().GetKickOffStep(), 0);
}

// A player whose first second names no number and side writes one line.
TEST(AgentCycleTest, UnplacedPlayerWarnsOnceOnStandardError) {
  TestAgent agent(8, "Alpha", true);
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 120; ++i) agent.Run(ServerText().Text());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "the server has not placed this player (number 8, team Alpha) in a team: none of the first 50 messages "
            "after init (one simulated second) named its uniform number and side. Likely causes: the team's robot "
            "type limits (at most 7 robots of one type, at most 9 of any two types together, at least 3 types in a "
            "team of 11: start it with another --type), a full team or a uniform number already taken, or a wrong "
            "team name (two other teams already play). Playing on without a team.\n");
}

// The open-play kick is given up, and the robot made ready again, when the
// ball gets away: further than 0.26 m on the ground, or more than 15 degrees
// to the side.
TEST(AgentCycleTest, AKickIsAbandonedWhenTheBallEscapes) {
  const struct {
    double distance, v_abyss, h_abyss;
    bool escaped;
  } cases[] = {{0.25, 0, 0, false}, {0.27, 0, 0, true}, {0.3, 30, 0, false},
               {0.2, 0, 14.5, false}, {0.2, 0, 15.5, true}, {0.2, 0, -15.5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.distance << " " << c.v_abyss << " " << c.h_abyss);
    TestAgent agent(2);
    agent.SetBehavior(Agent::KICK);
    Ball& ball = *agent.GetBlackboard().ball_;
    ball.SetVisible(true);
    ball.SetDistance(c.distance);
    ball.v_abyss = c.v_abyss;
    ball.h_abyss = c.h_abyss;
    agent.GetBlackboard().br_.game_time = 7.5;
    agent.SelectBehavior();
    EXPECT_EQ(agent.GetBehavior(), c.escaped ? Agent::READY : Agent::KICK);
    EXPECT_EQ(agent.GetKick().GetKick().mistake_time_, c.escaped ? 7.5 : 0.0);
  }
}

// The real server's messages to a standing robot (team "Alpha", number 1,
// left side), beamed to (-4, 2) of the server's frame: the beam's noise left
// it near (-3.9, 1.95), turned about 3.6 degrees to the left, and it never
// moved. The estimate's frame has field x = -server y and field y = -server
// x for the left side. Walking in its belief, the player corrects its
// heading from landmark pairs and settles within half a metre of the truth.
TEST(AgentCycleTest, ReplayedOwnEstimateSettlesNearTheBeamedPositionOnceTheHeadingIsCorrected) {
  const Eigen::Vector2d truth(-1.95, 3.9);
  const std::vector<std::string> lines = streams::Recorded();
  ASSERT_EQ(lines.size(), 301u);
  TestAgent agent(1, "Alpha", true);
  const CommonInformation& ci = agent.GetBlackboard();

  int n = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (line >= 65) agent.SetBehavior(Agent::WALK);
    agent.Run(lines[i]);
    if (line < 65) {
      EXPECT_TRUE(ci.abs_->cod_.isZero()) << "line " << line;  // waits for the kick-off
      continue;
    }
    if (line < 165) continue;  // settled after the first hundred messages of play
    const double err = (ci.abs_->cod_.head<2>() - truth).norm();
    EXPECT_LT(err, 0.5) << "line " << line;
    ++n;
  }
  ASSERT_GT(n, 100);
  // The heading turned to the left of the beam's, by about 3.6 degrees.
  EXPECT_NEAR(ci.total_.z(), -3.6, 1.0);
}

}  // namespace
