// The kick-off taker's scripted shot.
#include <gtest/gtest.h>

#include <cmath>

#include "../support/ServerText.h"
#include "agent/kick/KickOffProgress.h"

namespace {

class KickOffShotTest : public ::testing::Test {
protected:
};

TEST_F(KickOffShotTest, StagesLeadToTheStrikeAfter138CyclesWhichThenHolds) {
  TestAgent agent(9);
  const KickOffProgress& p = agent.GetKickOffProgress();
  const int stage_ends[] = {6, 17, 38, 57, 98, 129, 138};  // cycles played when each stage ends
  int played = 0;
  for (int stage = 0; stage < 7; ++stage) {
    while (played < stage_ends[stage]) {
      EXPECT_EQ(p.stage, stage) << played;
      EXPECT_FALSE(agent.LumKickOffShootShinn('L'));
      ++played;
    }
  }
  for (int i = 0; i < 50; ++i) {
    std::ostringstream discard;
    agent.DecideNextJointAngle(discard);
    EXPECT_FALSE(agent.LumKickOffShootShinn('L'));
    EXPECT_EQ(p.stage, 7);
  }
  // The strike: hip pitch to 140, clamped to its limit of 100 degrees, at
  // the highest proportion; the other hip back to its limit of -25.
  const double rad = M_PI / 180.0;
  EXPECT_NEAR(agent.GetNextJoint().at("llj3"), 100 * rad * 999999999, 1.0);
  EXPECT_NEAR(agent.GetNextJoint().at("rlj3"), -25 * rad * 6.085, 1e-9);
  EXPECT_NEAR(agent.GetNextJoint().at("llj5"), -35 * 7, 1e-9);
  EXPECT_EQ(agent.GetNextJoint().size(), 9u);
}

TEST_F(KickOffShotTest, AnEndedKickOffRestartsTheScriptAndOnlyTheLeftLegKicks) {
  TestAgent agent(9);
  const KickOffProgress& p = agent.GetKickOffProgress();
  for (int i = 0; i < 60; ++i) agent.LumKickOffShootShinn('L');
  ASSERT_EQ(p.stage, 4);

  EXPECT_FALSE(agent.LumKickOffShootShinn('R'));
  EXPECT_TRUE(agent.GetNextJoint().count("llj5"));  // from the last 'L' cycle only
  std::ostringstream discard;
  agent.DecideNextJointAngle(discard);
  EXPECT_FALSE(agent.LumKickOffShootShinn('R'));
  EXPECT_TRUE(agent.GetNextJoint().empty());
  EXPECT_EQ(p.stage, 4);

  // In its kick-off posture at "PlayOn" the kick-off ends: the flag is set
  // and the next kick-off starts the script over.
  ServerText m;
  m.side = "left";
  m.playmode = "PlayOn";
  m.joints = {{"laj1", -100}, {"laj2", 20}, {"laj3", -90}, {"raj1", -100}, {"raj2", -20},
              {"raj3", 90}, {"llj3", 25}, {"llj4", -50}, {"llj5", 25}, {"rlj3", 25},
              {"rlj4", -50}, {"rlj5", 25}};
  ASSERT_EQ(agent.GetBehavior(), Agent::KICKOFF);
  agent.Run(m.Text());  // the posture is reached
  agent.Run(m.Text());  // "PlayOn": done
  EXPECT_EQ(agent.GetBehavior(), Agent::READY);
  EXPECT_TRUE(agent.GetKickOffShootFlag());
  agent.LumKickOffShootShinn('L');
  EXPECT_EQ(p.stage, 0);
  EXPECT_EQ(p.t, 1);
  EXPECT_FALSE(agent.GetKickOffShootFlag());
}

}  // namespace
