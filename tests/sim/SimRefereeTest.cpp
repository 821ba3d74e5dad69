#include "Referee.h"

#include <gtest/gtest.h>

namespace {

constexpr double kDt = 0.02;

// Runs the referee's clock from *now for the given seconds.
void Advance(Referee& r, double* now, double seconds) {
  const int steps = static_cast<int>(seconds / kDt + 0.5);
  for (int i = 0; i < steps; ++i) {
    *now += kDt;
    r.Step(*now, kDt);
  }
}

TEST(SimRefereeTest, KickOffAfterTheSetTimeAndGameTimeFromThere) {
  Referee r(2.0, -1.0, 5.0);
  double now = 0.0;
  EXPECT_EQ(r.PlayMode(), "BeforeKickOff");
  EXPECT_TRUE(r.BeamAllowed());
  EXPECT_FALSE(r.BallInPlay());
  Advance(r, &now, 1.98);
  EXPECT_EQ(r.PlayMode(), "BeforeKickOff");
  EXPECT_EQ(r.GameTime(), 0.0);
  Advance(r, &now, 0.02);
  EXPECT_EQ(r.PlayMode(), "KickOff_Left");
  EXPECT_NEAR(r.GameTime(), 0.02, 1e-9);  // as the recording: "t 0.02" with the first kick-off message
  EXPECT_FALSE(r.BeamAllowed());
  EXPECT_TRUE(r.GoalsCount());
}

TEST(SimRefereeTest, WithoutAKickOffTimeTheFieldWaitsForTheTrainer) {
  Referee r(-1.0, -1.0, 5.0);
  double now = 0.0;
  Advance(r, &now, 30.0);
  EXPECT_EQ(r.PlayMode(), "BeforeKickOff");
  EXPECT_EQ(r.GameTime(), 0.0);
  r.KickOff('R', now);
  EXPECT_EQ(r.PlayMode(), "KickOff_Right");
  EXPECT_FALSE(r.SetPlayMode("Kickoff_Left", now));  // names are exact
  EXPECT_FALSE(r.SetPlayMode("", now));
  EXPECT_EQ(r.PlayMode(), "KickOff_Right");
  EXPECT_TRUE(r.SetPlayMode("corner_kick_left", now));
  EXPECT_EQ(r.PlayMode(), "corner_kick_left");
}

TEST(SimRefereeTest, PlayOnAfterATouchOrTheTimeout) {
  Referee r(0.0, -1.0, 5.0);
  double now = 0.0;
  Advance(r, &now, 0.02);
  ASSERT_EQ(r.PlayMode(), "KickOff_Left");
  Advance(r, &now, 1.0);
  r.BallTouched(now);
  EXPECT_EQ(r.PlayMode(), "PlayOn");

  Referee idle(0.0, -1.0, 5.0);
  now = 0.0;
  Advance(idle, &now, 0.02);
  Advance(idle, &now, 4.9);
  EXPECT_EQ(idle.PlayMode(), "KickOff_Left");
  Advance(idle, &now, 0.12);
  EXPECT_EQ(idle.PlayMode(), "PlayOn");
  // Touches before the kick-off change nothing.
  Referee early(-1.0, -1.0, 5.0);
  early.BallTouched(0.5);
  EXPECT_EQ(early.PlayMode(), "BeforeKickOff");
}

TEST(SimRefereeTest, AGoalPausesThenTheOtherTeamKicksOffFromTheCentre) {
  Referee r(0.0, -1.0, 5.0);
  double now = 0.0;
  Advance(r, &now, 1.0);
  r.BallTouched(now);
  r.GoalScored('L', now);
  EXPECT_EQ(r.PlayMode(), "Goal_Left");
  EXPECT_EQ(r.ScoreLeft(), 1);
  EXPECT_EQ(r.ScoreRight(), 0);
  EXPECT_TRUE(r.BeamAllowed());
  EXPECT_FALSE(r.GoalsCount());
  r.GoalScored('L', now);  // the ball still in the net counts once
  EXPECT_EQ(r.ScoreLeft(), 1);
  const double t = r.GameTime();
  Advance(r, &now, 2.9);
  EXPECT_EQ(r.PlayMode(), "Goal_Left");
  EXPECT_FALSE(r.TakeBallReset());
  EXPECT_GT(r.GameTime(), t + 2.8);  // the clock runs on
  Advance(r, &now, 0.12);
  EXPECT_EQ(r.PlayMode(), "KickOff_Right");
  EXPECT_TRUE(r.TakeBallReset());
  EXPECT_FALSE(r.TakeBallReset());  // once

  r.BallTouched(now);
  r.GoalScored('R', now);
  EXPECT_EQ(r.PlayMode(), "Goal_Right");
  EXPECT_EQ(r.ScoreRight(), 1);
  Advance(r, &now, 3.02);
  EXPECT_EQ(r.PlayMode(), "KickOff_Left");
}

TEST(SimRefereeTest, HalfTimeSwapsTheKickOffAndTheMatchEnds) {
  Referee r(1.0, 20.0, 5.0);
  double now = 0.0;
  Advance(r, &now, 9.9);
  EXPECT_EQ(r.Half(), 1);
  EXPECT_NE(r.PlayMode(), "BeforeKickOff");
  Advance(r, &now, 0.1);
  EXPECT_EQ(r.Half(), 2);
  EXPECT_EQ(r.PlayMode(), "BeforeKickOff");
  EXPECT_EQ(r.KickOffSide(), 'R');
  EXPECT_TRUE(r.TakeBallReset());
  const double frozen = r.GameTime();
  EXPECT_NEAR(frozen, 9.0, 0.03);
  Advance(r, &now, 0.9);
  EXPECT_EQ(r.GameTime(), frozen);  // stands still until the kick-off
  Advance(r, &now, 0.1);
  EXPECT_EQ(r.PlayMode(), "KickOff_Right");
  EXPECT_FALSE(r.Finished());
  Advance(r, &now, 9.0);
  EXPECT_TRUE(r.Finished());
  EXPECT_EQ(r.PlayMode(), "GameOver");
  const double final_time = r.GameTime();
  Advance(r, &now, 1.0);
  EXPECT_EQ(r.GameTime(), final_time);
}

TEST(SimRefereeTest, TheSecondHalfGoesToWhoeverDidNotStartTheFirst) {
  Referee r(-1.0, 10.0, 5.0);
  double now = 0.0;
  Advance(r, &now, 1.0);
  r.KickOff('R', now);
  Advance(r, &now, 5.1);  // half of the ten seconds played
  EXPECT_EQ(r.KickOffSide(), 'L');
  EXPECT_EQ(r.PlayMode(), "BeforeKickOff");

  Referee killed(-1.0, -1.0, 5.0);
  killed.Kill();
  EXPECT_TRUE(killed.Finished());
}

}  // namespace
