// The walking engine: joint commands of hand-computed cycles from rest
// (every joint perceived at 0, so each command is target times gain).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "../support/ServerText.h"
#include "agent/walking/Walking.h"
#include "tool/UserLocus.h"

namespace {

class AgentWalkTest : public ::testing::Test {
protected:
};

TEST_F(AgentWalkTest, JointCommandsOfHandComputedCycles) {
  const struct {
    const char* what;
    double speed, direction, curve;
    bool open_foot;
    int cycles;
    std::map<std::string, double> commands;  // the joints checked
    double foot_x_weight;
  } cases[] = {
      {"first step from rest", 1, 0, 0, false, 1,
       {{"llj1", 0}, {"llj2", 0}, {"llj3", 5.90597}, {"llj4", -20.13254}, {"llj5", 14.22656},
        {"rlj3", 6.65319}, {"rlj4", -24.10794}, {"rlj5", 17.45475}, {"rlj6", 0}}, 0.03},
      // Turning uses last cycle's curve (0.05): -30 x 0.05 in the first half
      // of the cycle; the wide stance adds 5 degrees of roll.
      {"turn, wide stance, first half", 0, 0, 1, true, 2,
       {{"llj1", -0.25695}, {"rlj1", -0.25695}, {"llj5", 11.98895}, {"llj2", 0.75},
        {"llj6", -0.75}, {"rlj2", -0.75}, {"rlj6", 0.75}}, 0},
      {"turn, wide stance, second half", 0, 0, 1, true, 3,
       {{"llj1", 0.1713}, {"rlj1", 0.1713}, {"llj5", 14.04325}}, 0},
      {"turn, second half", 0, 0, 1, false, 3, {{"llj1", 0}, {"llj5", 13.98541}, {"llj2", 0}}, 0},
      {"side step to the right", 0, -1, 0, false, 2,
       {{"llj2", -0.045}, {"llj6", 0.045}, {"rlj2", 0.045}, {"rlj6", -0.045}}, 0},
      // Backwards the phase moves by six points: a whole loop of six.
      {"turn backwards", -1, 0, 1, false, 2, {{"llj1", -0.25695}}, -0.06},
      {"commands beyond 1", 7, -3, 0, false, 45,
       {{"llj2", 2.4}, {"llj3", 3.72214}, {"rlj3", 10.9407}, {"rlj5", 12.69469}}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestAgent agent(2);
    Walking& wk = *agent.GetBlackboard().wk_;
    wk.SettingParam(c.speed, c.direction, c.curve, c.open_foot);
    for (int i = 0; i < c.cycles; ++i) agent.Walk();
    for (const auto& j : c.commands) EXPECT_NEAR(agent.GetNextJoint().at(j.first), j.second, 1e-5) << j.first;
    EXPECT_EQ(agent.GetNextJoint().size(), 12u);  // legs only
    EXPECT_NEAR(agent.GetFootXWeight().GetValue(), c.foot_x_weight, 1e-12);
    EXPECT_EQ(wk.GetCurrentSpeed(), agent.GetFootXWeight().GetValue());
    EXPECT_EQ(wk.GetSpeed(), c.speed);  // the stored command is not clamped
  }
}

TEST_F(AgentWalkTest, SpeedRisesByStepsToExactlyOneAndTheLoopTurnsOnlyPastZero) {
  TestAgent agent(2);
  Walking& wk = *agent.GetBlackboard().wk_;
  wk.SettingParam(1, 0, 0, false);
  for (int i = 1; i <= 40; ++i) {
    agent.Walk();
    EXPECT_NEAR(agent.GetFootXWeight().GetValue(), std::min(1.0, 0.03 * i), 1e-9) << i;
  }
  EXPECT_EQ(agent.GetFootXWeight().GetValue(), 1.0);
  EXPECT_EQ(agent.GetUserLocus().GetLocusType(), LOCUS_FORWORD);

  // Reversing: the loop changes once the speed in use is below zero.
  TestAgent turning(2);
  Walking& wk2 = *turning.GetBlackboard().wk_;
  wk2.SettingParam(1, 0, 0, false);
  for (int i = 0; i < 2; ++i) turning.Walk();
  wk2.SettingParam(-1, 0, 0, false);
  const LocusType expected[] = {LOCUS_FORWORD, LOCUS_FORWORD, LOCUS_BACK, LOCUS_BACK};
  for (LocusType type : expected) {
    turning.Walk();
    EXPECT_EQ(turning.GetUserLocus().GetLocusType(), type) << turning.GetFootXWeight().GetValue();
  }
}

TEST_F(AgentWalkTest, OutsideBeforeKickOffTheTacticsAskForFullSpeedAndTheReadyRobotWalks) {
  TestAgent agent(2);
  ServerText m;
  m.side = "left";
  m.joints = ServerText::Posture(false);
  const Walking& wk = *agent.GetBlackboard().wk_;
  agent.Run(m.Text());
  EXPECT_EQ(wk.GetSpeed(), 0.0);  // no tactics before the kick-off
  EXPECT_EQ(agent.GetBehavior(), Agent::READY);

  m.playmode = "PlayOn";
  agent.Run(m.Text());  // in the posture: ready to walk
  EXPECT_EQ(agent.GetBehavior(), Agent::WALK);
  EXPECT_EQ(wk.GetSpeed(), 1.0);
  EXPECT_EQ(wk.GetDirection(), 0.0);
  EXPECT_EQ(wk.GetCurve(), 0.0);
  EXPECT_FALSE(wk.IsOpenFoot());
  EXPECT_EQ(wk.GetCurrentSpeed(), 0.0);

  const std::string answer = agent.Run(m.Text());  // the first step
  EXPECT_EQ(wk.GetCurrentSpeed(), 0.03);
  // Left hip pitch towards 18.38 from 15, right towards 20.71 (see above).
  EXPECT_NE(answer.find("(lle3 1.08"), std::string::npos) << answer;
  EXPECT_NE(answer.find("(rle3 1.83"), std::string::npos) << answer;
}

}  // namespace
