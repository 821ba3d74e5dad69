// Whole cycles: a server message in, the exact answer out.
#include <gtest/gtest.h>

#include <string>

#include "ServerText.h"
#include "agent/brain/Brain.h"

namespace {

const char kDefaultPostureCommands[] =
    "(he1 0)(he2 0)(lae1 -15)(lae2 3)(lae3 -13.5)(lae4 0)(rae1 -15)(rae2 -3)(rae3 13.5)"
    "(rae4 0)(lle1 0)(lle2 0)(lle3 2.25)(lle4 -9)(lle5 6.75)(lle6 0)(rle1 0)(rle2 0)"
    "(rle3 2.25)(rle4 -9)(rle5 6.75)(rle6 0)";

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

class AgentCycleTest : public ::testing::Test {
protected:
};

TEST_F(AgentCycleTest, FirstMessageBeamsAndDrivesToTheDefaultPosture) {
  TestAgent agent(1, "Alpha", true);
  ServerText m;
  m.side = "left";
  EXPECT_EQ(agent.Run(m.Text()),
            std::string("(beam -14.5 0 0)") + kDefaultPostureCommands + "(syn)");
  EXPECT_EQ(agent.GetBlackboard().br_.territory, 'L');
  EXPECT_TRUE(agent.GetNextJoint().empty());
}

TEST_F(AgentCycleTest, SynOnlyInSynchronousModeAndEvenForAnEmptyMessage) {
  TestAgent plain(1);
  ServerText m;
  m.left_foot = m.right_foot = false;  // no foot contact: no beam either
  EXPECT_EQ(plain.Run(m.Text()), kDefaultPostureCommands);

  TestAgent synced(3, "Alpha", true);
  const std::string answer = synced.Run("");
  EXPECT_EQ(Count(answer, "(he1 "), 1);
  EXPECT_EQ(answer.substr(answer.size() - 5), "(syn)");
}

TEST_F(AgentCycleTest, StartPositionDependsOnNumberAndSide) {
  const struct {
    int num;
    const char* side;
    const char* answer_start;
  } cases[] = {
      // The kick-off taker of the left side goes next to the centre spot, turned.
      {9, "left", "(beam -0.152282 -0.0995641 20)(he1 0)(he2 0)(lae1 -5)"},
      {9, "right", "(beam -3 1.5 0)"},
      {0, "left", "(beam -2.5 0 0)"},
      {12, "left", "(beam -2.5 0 0)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.num << " " << c.side);
    TestAgent agent(c.num);
    ServerText m;
    m.side = c.side;
    const std::string answer = agent.Run(m.Text());
    EXPECT_EQ(answer.rfind(c.answer_start, 0), 0u) << answer;
  }
}

TEST_F(AgentCycleTest, BeamCounterAllowsFifteenBeamsUntilPlayOnResetsIt) {
  TestAgent agent(9);
  ServerText m;
  m.side = "left";
  int beams = 0;
  for (int i = 0; i < 20; ++i) {
    beams += Count(agent.Run(m.Text()), "(beam ");
    m.side.clear();
  }
  EXPECT_EQ(beams, 15);

  // The reset cycle itself sends nothing.
  m.playmode = "PlayOn";
  EXPECT_EQ(Count(agent.Run(m.Text()), "(beam "), 0);

  // After a goal of the left team, the right team kicks off: the left
  // number 9 goes to its ordinary place, fifteen times at most.
  m.playmode = "Goal_Left";
  beams = 0;
  for (int i = 0; i < 20; ++i) {
    const std::string answer = agent.Run(m.Text());
    beams += Count(answer, "(beam -3 1.5 0)");
    EXPECT_EQ(Count(answer, "(beam "), Count(answer, "(beam -3 1.5 0)"));
  }
  EXPECT_EQ(beams, 15);
}

TEST_F(AgentCycleTest, BeamsCountCyclesWithoutFootContactToo) {
  TestAgent agent(2);
  ServerText m;
  m.side = "left";
  m.left_foot = m.right_foot = false;
  for (int i = 0; i < 15; ++i) EXPECT_EQ(Count(agent.Run(m.Text()), "(beam "), 0);
  m.left_foot = true;
  EXPECT_EQ(Count(agent.Run(m.Text()), "(beam "), 0);  // the fifteen cycles are used up
}

TEST_F(AgentCycleTest, SideIsReadFromTheGoalPostsBeforeTheKickOff) {
  struct Case {
    const char* see;
    char side;
    const char* beam;
  } cases[] = {
      {"(G1R (pol 10.00 5.00 0.10)) (G2R (pol 10.00 -5.00 0.10))", 'L',
       "(beam -0.152282 -0.0995641 20)"},
      {"(G1L (pol 10.00 5.00 0.10)) (G2L (pol 10.00 -5.00 0.10))", 'R', "(beam -3 1.5 0)"},
      {"(G1R (pol 10.00 5.00 0.10)) (G2L (pol 10.00 -5.00 0.10))", 'N', "(beam -3 1.5 0)"},
  };
  for (const Case& c : cases) {
    TestAgent agent(9);
    ServerText m;
    m.see = c.see;
    const std::string answer = agent.Run(m.Text());
    EXPECT_EQ(agent.GetBlackboard().br_.territory, c.side) << c.see;
    EXPECT_EQ(answer.rfind(c.beam, 0), 0u) << answer;
  }
}

TEST_F(AgentCycleTest, FallIsNoticedAndTheArmsAreSpread) {
  const struct {
    int num;
    double ax, ay;
    Agent::Behavior after;
  } cases[] = {{1, 30.0, -10.01, Agent::STANDUP},
               {1, 30.0, -10.0, Agent::READY},  // exactly 40 is no fall
               {9, 80.0, 0.0, Agent::KICKOFF}};  // the kick-off taker ignores it
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

TEST_F(AgentCycleTest, ReadyRobotInTheDefaultPostureStartsWalkingWhenPlayStarts) {
  TestAgent agent(4);
  ServerText m;
  m.joints = {{"laj1", -100}, {"laj2", 20}, {"laj3", -90}, {"raj1", -100}, {"raj2", -20},
              {"raj3", 90},   {"llj3", 15}, {"llj4", -60}, {"llj5", 45},   {"rlj3", 15},
              {"rlj4", -60},  {"rlj5", 45}};
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::READY);  // may not move before the kick-off
  m.playmode = "PlayOn";
  const std::string answer = agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::WALK);
  EXPECT_EQ(Count(answer, " 0)"), 22) << answer;  // in the posture: nothing to command
}

TEST_F(AgentCycleTest, NumberTwelveKicksOutsideBeforeKickOff) {
  TestAgent agent(12);
  ServerText m;
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::READY);
  m.playmode = "PlayOn";
  for (int i = 0; i < 3; ++i) {
    agent.Run(m.Text());
    EXPECT_EQ(agent.GetBehavior(), Agent::KICK);
  }
}

TEST_F(AgentCycleTest, GoalSendsEveryoneBackToReady) {
  TestAgent agent(9);
  ServerText m;
  m.side = "left";
  m.playmode = "Goal_Left";
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::READY);
}

TEST_F(AgentCycleTest, KickOffTakerTakesTheKickOffAfterTheOpponentsGoal) {
  TestAgent agent(9);
  ServerText m;
  m.side = "left";
  m.playmode = "Goal_Right";
  agent.Run(m.Text());
  m.playmode = "KickOff_Left";
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::KICKOFF);
  const Brain& br = agent.GetBlackboard().br_;
  EXPECT_EQ(br.prev_pm_, "Goal_Right");
  EXPECT_EQ(br.playmode, "KickOff_Left");
}

TEST_F(AgentCycleTest, KickOffFinishesWhenPlayStartsOnTheOpponentsKickOff) {
  TestAgent agent(9);
  ServerText m;
  m.side = "right";
  m.playmode = "KickOff_Left";
  m.joints = {{"laj1", -100}, {"laj2", 20}, {"laj3", -90}, {"raj1", -100}, {"raj2", -20},
              {"raj3", 90},   {"llj3", 25}, {"llj4", -50}, {"llj5", 25},   {"rlj3", 25},
              {"rlj4", -50},  {"rlj5", 25}};
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetKickOffStep(), 1);
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::KICKOFF);
  m.playmode = "PlayOn";
  agent.Run(m.Text());
  EXPECT_EQ(agent.GetBehavior(), Agent::READY);
  EXPECT_TRUE(agent.GetKickOffShootFlag());
  EXPECT_EQ(agent.GetKickOffStep(), 0);
}

TEST_F(AgentCycleTest, OpponentTeamNameAndScoresAreLearned) {
  TestAgent agent(5);
  ServerText m;
  m.playmode = "PlayOn";
  m.see = "(P (team Alpha) (id 5) (rlowerarm (pol 0.18 -34.31 -22.65))) "
          "(P (team Beta) (id 3) (head (pol 4.00 10.00 1.00)))";
  agent.Run(m.Text());
  const CommonInformation& ci = agent.GetBlackboard();
  EXPECT_EQ(ci.br_.ene_team, "Beta");
  EXPECT_FALSE(ci.friend_[5]->visible_);  // its own arm is not a teammate
  EXPECT_TRUE(ci.enemy_[3]->visible_);
  EXPECT_DOUBLE_EQ(ci.enemy_[3]->head.distance, 4.0);
  EXPECT_EQ(agent.GetFriendScore(), 0);
}

}  // namespace
