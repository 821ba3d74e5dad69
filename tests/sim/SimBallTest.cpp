#include "SimBall.h"

#include <cmath>

#include <gtest/gtest.h>

#include "FieldGeometry.h"

namespace {

constexpr double kDt = 0.02;
constexpr double kR = FieldGeometry::kBallRadius;

// Steps until the ball rests or something happens; returns the event.
SimBall::Event Roll(SimBall& b, bool goals_count = true, int max_steps = 2000) {
  for (int i = 0; i < max_steps; ++i) {
    const SimBall::Event e = b.Step(kDt, goals_count);
    if (e != SimBall::Event::kNone) return e;
    if (b.Velocity().norm() == 0.0 && b.Position().z() <= kR) break;
  }
  return SimBall::Event::kNone;
}

TEST(SimBallTest, RollsToRestOverAFewMetres) {
  SimBall b;
  b.Place(Eigen::Vector3d(-5, 1, kR), Eigen::Vector3d(3, 0, 0));
  double last = 3.0;
  int steps = 0;
  while (b.Velocity().norm() > 0.0 && steps < 1000) {
    b.Step(kDt, true);
    EXPECT_LT(b.Velocity().norm(), last);
    last = b.Velocity().norm();
    ++steps;
  }
  EXPECT_LT(steps, 500);  // at rest within ten seconds
  const double travelled = b.Position().x() + 5.0;
  EXPECT_GT(travelled, 2.0);
  EXPECT_LT(travelled, 8.0);
  EXPECT_NEAR(b.Position().y(), 1.0, 1e-12);
  EXPECT_NEAR(b.Position().z(), kR, 1e-12);
  // A faster ball goes further.
  SimBall fast;
  fast.Place(Eigen::Vector3d(-5, 1, kR), Eigen::Vector3d(5, 0, 0));
  Roll(fast);
  EXPECT_GT(fast.Position().x() + 5.0, travelled + 1.0);
}

TEST(SimBallTest, ADroppedBallBouncesAndSettlesOnTheGround) {
  SimBall b;
  b.Place(Eigen::Vector3d(0, 0, 1.0));
  double top_after_bounce = 0.0;
  bool bounced = false;
  for (int i = 0; i < 300; ++i) {
    b.Step(kDt, true);
    if (b.Velocity().z() > 0) bounced = true;
    if (bounced) top_after_bounce = std::max(top_after_bounce, b.Position().z());
  }
  EXPECT_TRUE(bounced);
  EXPECT_LT(top_after_bounce, 1.0);
  EXPECT_NEAR(b.Position().z(), kR, 1e-12);
  EXPECT_EQ(b.Velocity().norm(), 0.0);
  // Placed below the ground it is lifted onto it.
  b.Place(Eigen::Vector3d(1, 1, -3));
  EXPECT_NEAR(b.Position().z(), kR, 1e-12);
}

TEST(SimBallTest, StopsAtTheTouchLine) {
  SimBall b;
  b.Place(Eigen::Vector3d(3, 9.5, kR), Eigen::Vector3d(0, 6, 0));
  EXPECT_EQ(Roll(b), SimBall::Event::kOut);
  EXPECT_DOUBLE_EQ(b.Position().y(), FieldGeometry::kHalfWidth);
  EXPECT_EQ(b.Velocity().norm(), 0.0);
  b.Place(Eigen::Vector3d(3, -9.5, kR), Eigen::Vector3d(1, -6, 0));
  EXPECT_EQ(Roll(b), SimBall::Event::kOut);
  EXPECT_DOUBLE_EQ(b.Position().y(), -FieldGeometry::kHalfWidth);
}

TEST(SimBallTest, ScoresBetweenThePostsBelowTheBar) {
  SimBall b;
  b.Place(Eigen::Vector3d(14, 0.8, kR), Eigen::Vector3d(4, 0, 0));
  EXPECT_EQ(Roll(b), SimBall::Event::kIntoRightGoal);
  EXPECT_GT(b.Position().x(), FieldGeometry::kHalfLength);
  // It lies in the goal and does not score again.
  for (int i = 0; i < 50; ++i) EXPECT_EQ(b.Step(kDt, true), SimBall::Event::kNone);
  EXPECT_GT(b.Position().x(), FieldGeometry::kHalfLength);

  b.Place(Eigen::Vector3d(-14, -0.5, kR), Eigen::Vector3d(-4, 0, 0));
  EXPECT_EQ(Roll(b), SimBall::Event::kIntoLeftGoal);
}

TEST(SimBallTest, WideHighOrDeadBallsDoNotScore) {
  SimBall b;
  b.Place(Eigen::Vector3d(14, 1.2, kR), Eigen::Vector3d(4, 0, 0));  // outside the post
  EXPECT_EQ(Roll(b), SimBall::Event::kOut);
  EXPECT_DOUBLE_EQ(b.Position().x(), FieldGeometry::kHalfLength);
  EXPECT_EQ(b.Velocity().norm(), 0.0);

  b.Place(Eigen::Vector3d(14.5, 0, 1.5), Eigen::Vector3d(4, 0, 0));  // over the bar
  EXPECT_EQ(Roll(b), SimBall::Event::kOut);

  b.Place(Eigen::Vector3d(14, 0, kR), Eigen::Vector3d(4, 0, 0));  // not in play
  EXPECT_EQ(Roll(b, false), SimBall::Event::kOut);
  EXPECT_DOUBLE_EQ(b.Position().x(), FieldGeometry::kHalfLength);
}

// A foot box facing +y (0.08 wide, 0.16 long, 0.05 high) at (x, y) on the ground.
Frame FootAt(double x, double y) {
  Frame f;
  f.R = Eigen::AngleAxisd(-M_PI / 2, Eigen::Vector3d::UnitZ()).toRotationMatrix();  // toes along +x
  f.p = Eigen::Vector3d(x, y, 0);
  return f;
}

TEST(SimBallTest, AFootMovingIntoTheBallKicksItAlongTheFootsMotion) {
  const Frame foot = FootAt(0, 0);  // toes at x = 0.08
  SimBall slow, fast;
  slow.Place(Eigen::Vector3d(0.08 + kR - 0.01, 0, kR));
  fast.Place(Eigen::Vector3d(0.08 + kR - 0.01, 0, kR));
  // The foot moves forward and a little sideways; the ball follows the foot's direction.
  const Eigen::Vector3d v_slow(0.5, 0.1, 0.0), v_fast(2.0, 0.4, 0.0);
  ASSERT_TRUE(slow.CollideBox(foot, 0.04, 0.08, 0.05, v_slow));
  ASSERT_TRUE(fast.CollideBox(foot, 0.04, 0.08, 0.05, v_fast));
  EXPECT_NEAR(std::atan2(fast.Velocity().y(), fast.Velocity().x()), std::atan2(0.4, 2.0), 1e-9);
  EXPECT_GT(fast.Velocity().norm(), 2.0 * slow.Velocity().norm());
  EXPECT_GT(fast.Velocity().norm(), v_fast.norm());  // a hard foot against a light ball
  // Pushed out of the foot.
  EXPECT_GE(fast.Position().x(), 0.08 + kR - 1e-9);

  // Out of reach: nothing happens.
  SimBall far;
  far.Place(Eigen::Vector3d(0.3, 0, kR));
  EXPECT_FALSE(far.CollideBox(foot, 0.04, 0.08, 0.05, v_fast));
  EXPECT_EQ(far.Velocity().norm(), 0.0);
}

TEST(SimBallTest, ABallRollingIntoAStillFootBouncesBack) {
  SimBall b;
  b.Place(Eigen::Vector3d(0.08 + kR - 0.005, 0, kR), Eigen::Vector3d(-2, 0, 0));
  ASSERT_TRUE(b.CollideBox(FootAt(0, 0), 0.04, 0.08, 0.05, Eigen::Vector3d::Zero()));
  EXPECT_GT(b.Velocity().x(), 0.0);
  EXPECT_LT(b.Velocity().x(), 2.0);
}

TEST(SimBallTest, BodiesPushTheBallAside) {
  SimBall b;
  b.Place(Eigen::Vector3d(0.05, 0.0, kR));
  ASSERT_TRUE(b.PushOutOfCapsule(Eigen::Vector2d(0, 0), Eigen::Vector2d(0, 0), 0.07, Eigen::Vector2d(1, 0)));
  EXPECT_NEAR(b.Position().head<2>().norm(), 0.07 + kR, 1e-9);
  EXPECT_GT(b.Velocity().x(), 0.9);  // carried along by the walking body
  // A lying body is a capsule from torso to feet.
  SimBall c;
  c.Place(Eigen::Vector3d(0.2, 0.05, kR));
  ASSERT_TRUE(c.PushOutOfCapsule(Eigen::Vector2d(0, 0), Eigen::Vector2d(0.4, 0), 0.08, Eigen::Vector2d::Zero()));
  EXPECT_NEAR(c.Position().y(), 0.08 + kR, 1e-9);
  EXPECT_NEAR(c.Position().x(), 0.2, 1e-9);
  // A ball in the air passes over.
  SimBall high;
  high.Place(Eigen::Vector3d(0, 0, 0.5));
  EXPECT_FALSE(high.PushOutOfCapsule(Eigen::Vector2d(0, 0), Eigen::Vector2d(0, 0), 0.07, Eigen::Vector2d::Zero()));
}

}  // namespace
