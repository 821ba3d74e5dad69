// Falling and getting up: the fall test, the way up and the stand-up's stages.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "../support/ServerText.h"
#include "agent/StandingUp.h"
#include "agent/walking/Walking.h"

namespace {

class StandUpTest : public ::testing::Test {
protected:

  // Feet as the blackboard holds them, the centre of pressure's y.
  void Feet(TestAgent& agent, bool on_ground, double cop_y) {
    agent.LeftFoot().existence = agent.RightFoot().existence = on_ground;
    agent.GetBlackboard().wk_->SetZMP(Eigen::Vector3d(0, cop_y, 0));
  }
  // Cycles until the stage changes (at most 200).
  int CyclesIn(TestAgent& agent) {
    const StandingUp::Stage from = agent.GetStandingUp().stage;
    int n = 0;
    while (agent.GetStandingUp().stage == from && !agent.GetStandingUp().complete && n < 200) {
      agent.NextStandUp();
      ++n;
    }
    return n;
  }
};

TEST_F(StandUpTest, TheFeetChooseTheWayUpAndEachStageLastsItsCycles) {
  const struct {
    bool on_ground;
    double cop_y;
    std::vector<std::pair<StandingUp::Stage, int>> stages;  // stage and its cycles
  } cases[] = {
      {true, -0.01, {{StandingUp::READY, 12}, {StandingUp::UP1, 58}, {StandingUp::CHECK2, 10}}},
      {true, 0.0, {{StandingUp::READY, 12}, {StandingUp::UP1, 58}}},
      {true, 0.02, {{StandingUp::READY, 12}, {StandingUp::DOWN1, 50}, {StandingUp::DOWN2, 17},
                    {StandingUp::CHECK2, 12}}},
      {false, 0.02, {{StandingUp::READY, 32}, {StandingUp::UP1, 58}, {StandingUp::CHECK2, 11}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cop_y);
    TestAgent agent(2);
    Feet(agent, c.on_ground, c.cop_y);
    for (const auto& s : c.stages) {
      EXPECT_EQ(agent.GetStandingUp().stage, s.first);
      EXPECT_EQ(CyclesIn(agent), s.second) << s.first;
    }
  }
}

TEST_F(StandUpTest, AfterAStandUpTheRobotIsReadyAndASecondOneReplaysTheMotion) {
  TestAgent agent(2);
  Feet(agent, false, 0);
  agent.SetBehavior(Agent::STANDUP);
  CommonInformation& ci = agent.GetBlackboard();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ci.total_ = Eigen::Vector3d(5, 6, 7);
    int n = 0, motion_cycles = 0;
    while (agent.GetBehavior() == Agent::STANDUP && n < 300) {
      const bool in_motion = agent.GetStandingUp().stage == StandingUp::UP1;
      agent.SelectBehavior();
      // The keyframe motion starts from its first frame: the arms go back.
      if (in_motion && motion_cycles++ == 0) {
        EXPECT_NEAR(agent.GetNextJoint().at("raj2"), -9.0, 1e-9);
      }
      std::ostringstream discard;
      agent.DecideNextJointAngle(discard);
      ++n;
    }
    EXPECT_EQ(n, 32 + 58 + 11 + 1);
    EXPECT_EQ(agent.GetBehavior(), Agent::READY);
    EXPECT_FALSE(agent.GetStandingUp().complete);
    EXPECT_EQ(ci.total_, Eigen::Vector3d(0, 0, 7));
    agent.SetBehavior(Agent::STANDUP);
  }
}

}  // namespace
