// The open-play kick: leg choice, stages, and the behaviour around it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "../support/ServerText.h"
#include "agent/finding/Finding.h"
#include "agent/kick/KickWorkingValues.h"
#include "object/Ball.h"

namespace {

class KickTest : public ::testing::Test {
protected:

  // A ball lying f to the left of the body's centre line, 0.2 m ahead.
  static void BallAt(TestAgent& agent, double f) {
    Ball& ball = *agent.GetBlackboard().ball_;
    ball.SetVisible(true);
    ball.SetDistance(std::hypot(0.2, f));
    ball.SetHorizonAngle(std::atan2(f, 0.2) * 180 / M_PI);
    ball.SetVerticalAngle(0);
  }
  static void EndCycle(Agent& agent) {
    std::ostringstream discard;
    agent.DecideNextJointAngle(discard);
  }
};

TEST_F(KickTest, TheBallsSideChoosesTheLegAndItsOffsetTheKickingHipRoll) {
  const struct {
    double f;
    velk::I_Kick::Stage leg;
    double hip_roll;  // command of the kicking leg's hip roll while setting it
  } cases[] = {
      {0.0, velk::I_Kick::LEFT1, -10 * 0.2},   // exactly in front: left
      {0.005, velk::I_Kick::LEFT1, -10 * 0.2}, {0.01, velk::I_Kick::LEFT1, 0.0},
      {0.069, velk::I_Kick::LEFT1, 0.0},       {0.07, velk::I_Kick::LEFT1, 20 * 0.2},
      {-0.005, velk::I_Kick::RIGHT1, 10 * 0.2}, {-0.07, velk::I_Kick::RIGHT1, -20 * 0.2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.f);
    TestAgent agent(12);
    BallAt(agent, c.f);
    EXPECT_NEAR(agent.GetKick().ChooseLeg(*agent.GetBlackboard().ball_,
                                          Eigen::Vector2d(0, 0)),
                c.f, 1e-9);
    // Stage by stage: look 1 cycle, crouch 22, straighten the standing leg
    // 21, set the kicking leg 4, fire 7.
    const struct {
      velk::I_Kick::Stage stage;
      int cycles;
    } stages[] = {{velk::I_Kick::STANDBY, 1}, {velk::I_Kick::SET, 22}, {c.leg, 25}};
    for (const auto& s : stages) {
      for (int i = 0; i < s.cycles; ++i) {
        ASSERT_EQ(agent.GetKick().st_, s.stage) << i;
        agent.LumKick();
        if (s.stage == c.leg && i == 24) {
          EXPECT_NEAR(agent.GetNextJoint().at(c.leg == velk::I_Kick::LEFT1 ? "llj2" : "rlj2"),
                      c.hip_roll, 1e-9);
        }
        EndCycle(agent);
      }
    }
    const velk::I_Kick::Stage fire =
        c.leg == velk::I_Kick::LEFT1 ? velk::I_Kick::FIRE_LEFT : velk::I_Kick::FIRE_RIGHT;
    for (int i = 0; i < 7; ++i) {
      ASSERT_EQ(agent.GetKick().st_, fire) << i;
      EXPECT_FALSE(agent.GetKick().complete_);
      agent.LumKick();
    }
    // The firing hip at full speed, its target clamped to the joint's limit.
    EXPECT_NEAR(agent.GetNextJoint().at(fire == velk::I_Kick::FIRE_LEFT ? "llj3" : "rlj3"),
                80 * M_PI / 180 * 99999, 1e-3);
    EXPECT_TRUE(agent.GetKick().complete_);
    EXPECT_EQ(agent.GetKick().st_, velk::I_Kick::STANDBY);
    EXPECT_EQ(agent.GetKickWorkingValues().movement, 20.0);
  }
}

TEST_F(KickTest, AKickWaitsForTheBallAndIsAbandonedWhenTheBallEscapes) {
  {
    TestAgent agent(2);
    std::srand(1);
    agent.LumKick();  // no ball in view: the kick waits, the head starts its search
    EXPECT_EQ(agent.GetKick().st_, velk::I_Kick::STANDBY);
    EXPECT_TRUE(agent.GetNextJoint().empty());
    EXPECT_NE(agent.GetFinding().GetHorizon(), Finding::NONE_H);
  }
  // Escaped: further than 0.26 m on the ground, or more than 15 degrees aside.
  const struct {
    double distance, v_abyss, h_abyss;
    bool escaped;
  } cases[] = {{0.25, 0, 0, false}, {0.27, 0, 0, true}, {0.3, 30, 0, false}, {0.2, 0, 15.5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.distance);
    TestAgent agent(2);
    agent.SetBehavior(Agent::KICK);
    BallAt(agent, 0.0);
    Ball& ball = *agent.GetBlackboard().ball_;
    ball.SetDistance(c.distance);
    ball.v_abyss = c.v_abyss;
    ball.h_abyss = c.h_abyss;
    agent.GetBlackboard().br_.game_time = 7.5;
    agent.SelectBehavior();
    EXPECT_EQ(agent.GetBehavior(), c.escaped ? Agent::READY : Agent::KICK);
    EXPECT_EQ(agent.GetKick().mistake_time_, c.escaped ? 7.5 : 0.0);
    EXPECT_EQ(agent.GetKick().st_, c.escaped ? velk::I_Kick::STANDBY : velk::I_Kick::SET);
  }
}

}  // namespace
