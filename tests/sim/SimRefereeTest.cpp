#include "Referee.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

constexpr double kDt = 0.02;

// Runs the referee's clock from *now for the given seconds.
void Advance(Referee& r, double* now, double seconds) {
  for (int i = static_cast<int>(seconds / kDt + 0.5); i > 0; --i) r.Step(*now += kDt, kDt);
}

TEST(SimRefereeTest, KickOffAfterTheSetTimeThenPlayOnAfterATouchOrTheTimeout) {
  Referee touched(2.0, -1.0, 5.0), idle(2.0, -1.0, 5.0), waits(-1.0, -1.0, 5.0);
  double now = 0.0;
  touched.BallTouched(0.5);  // touches before the kick-off change nothing
  Advance(touched, &now, 1.98);
  EXPECT_EQ(touched.PlayMode(), "BeforeKickOff");
  EXPECT_EQ(touched.GameTime(), 0.0);
  Advance(touched, &now, 0.02);
  EXPECT_EQ(touched.PlayMode(), "KickOff_Left");
  EXPECT_NEAR(touched.GameTime(), 0.02, 1e-9);  // as recorded: "t 0.02" with the first kick-off message
  EXPECT_FALSE(touched.BeamAllowed());
  touched.BallTouched(now);
  EXPECT_EQ(touched.PlayMode(), "PlayOn");
  now = 0.0;
  Advance(idle, &now, 6.9);
  EXPECT_EQ(idle.PlayMode(), "KickOff_Left");
  Advance(idle, &now, 0.12);
  EXPECT_EQ(idle.PlayMode(), "PlayOn");
  now = 0.0;
  Advance(waits, &now, 30.0);  // without a kick-off time the field waits for the trainer
  EXPECT_EQ(waits.PlayMode(), "BeforeKickOff");
}

TEST(SimRefereeTest, HalfTimeSwapsTheKickOffAndTheMatchEnds) {
  Referee r(1.0, 20.0, 5.0);
  double now = 0.0;
  Advance(r, &now, 9.9);
  EXPECT_EQ(r.Half(), 1);
  Advance(r, &now, 0.1);  // nine seconds of the first half played
  EXPECT_EQ(r.Half(), 2);
  EXPECT_EQ(r.PlayMode(), "BeforeKickOff");
  EXPECT_TRUE(r.TakeBallReset());
  const double frozen = r.GameTime();
  EXPECT_NEAR(frozen, 9.0, 0.03);
  Advance(r, &now, 0.9);
  EXPECT_EQ(r.GameTime(), frozen);  // stands still until the kick-off
  Advance(r, &now, 0.1);
  EXPECT_EQ(r.PlayMode(), "KickOff_Right");
  Advance(r, &now, 8.98);
  EXPECT_FALSE(r.Finished());
  Advance(r, &now, 0.02);
  EXPECT_TRUE(r.Finished());
  EXPECT_EQ(r.PlayMode(), "GameOver");
  Advance(r, &now, 1.0);
  EXPECT_NEAR(r.GameTime(), 18.0, 0.03);  // nine seconds a half; the clock stopped
}

TEST(SimRefereeTest, BeamsLandInTheOwnHalfInTheTeamsFrameOutsideTheCircleForTheOtherTeamAndOnlyWhileSettingUp) {
  Referee before(-1.0, -1.0, 5.0), goal(-1.0, -1.0, 5.0), play(-1.0, -1.0, 5.0);  // left kicks off
  goal.SetPlayMode("Goal_Left", 0.0);
  play.SetPlayMode("PlayOn", 0.0);
  const struct {
    const char* name;
    const Referee& referee;
    char side;
    Eigen::Vector3d asked, placed;  // x, y, heading; placed in the field's frame
  } cases[] = {
      {"as asked", before, 'L', {-4, 2, 30}, {-4, 2, 30}},
      {"mirrored for the right team", before, 'R', {-4, 2, 30}, {4, -2, 210}},
      {"inside the field", before, 'L', {-20, 12, 0}, {-15, 10, 0}},
      {"the kicking team may stand in the circle", before, 'L', {-0.5, 0, 0}, {-0.5, 0, 0}},
      {"the other team is put outside it", before, 'R', {-0.5, 1, 0}, {1.25 / std::sqrt(1.25), -2.5 / std::sqrt(1.25), 180}},
      {"from the opponent's half to the circle's edge", before, 'R', {5, 0.5, 0}, {0, -2.5, 180}},
      {"from its centre backwards", before, 'R', {0, 0, 0}, {2.5, 0, 180}},
      {"after a goal", goal, 'L', {-4, 2, 30}, {-4, 2, 30}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Eigen::Vector3d placed;
    ASSERT_TRUE(c.referee.Beam(c.side, c.asked, nullptr, &placed));
    EXPECT_LT((placed - c.placed).norm(), 1e-9) << placed.transpose();
  }
  Eigen::Vector3d placed(7, 7, 7);
  std::mt19937 noise(3);
  EXPECT_FALSE(play.Beam('L', Eigen::Vector3d(-4, 2, 0), &noise, &placed));  // the ball is in play
  EXPECT_EQ(noise(), std::mt19937(3)());                                         // and nothing drawn
  // The server's noise: up to 5 cm and 5 degrees.
  Eigen::Vector3d worst = Eigen::Vector3d::Zero();
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(before.Beam('L', Eigen::Vector3d(-6, 1, 0), &noise, &placed));
    worst = worst.cwiseMax((placed - Eigen::Vector3d(-6, 1, 0)).cwiseAbs());
  }
  EXPECT_GT(worst.minCoeff(), 0.04);
  EXPECT_LE(worst.head<2>().maxCoeff(), 0.05);
  EXPECT_LE(worst.z(), 5.0);
}

}  // namespace
