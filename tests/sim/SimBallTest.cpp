#include "SimBall.h"

#include <cmath>

#include <gtest/gtest.h>

#include "FieldGeometry.h"

namespace {

constexpr double kDt = 0.02;
constexpr double kR = FieldGeometry::kBallRadius;

// Steps until something happens or the ball rests on the ground; returns the event.
SimBall::Event Roll(SimBall& b, bool goals_count = true) {
  for (int i = 0; i < 2000; ++i) {
    const SimBall::Event e = b.Step(kDt, goals_count);
    if (e != SimBall::Event::kNone) return e;
    if (b.Velocity().norm() == 0.0 && b.Position().z() <= kR) break;
  }
  return SimBall::Event::kNone;
}

TEST(SimBallTest, RollsToRestStopsAtTheEdgeAndScoresOnlyBetweenThePosts) {
  using E = SimBall::Event;
  const struct {
    const char* name;
    Eigen::Vector3d pos, vel;
    bool goals_count;
    E event;
    double x, x_tolerance, y;  // where it ends
  } cases[] = {
      {"rolls a few metres", {-5, 1, kR}, {3, 0, 0}, true, E::kNone, -0.7, 1.0, 1.0},
      {"faster, further", {-5, 1, kR}, {5, 0, 0}, true, E::kNone, 4.0, 1.0, 1.0},
      {"dropped: bounces, settles", {0, 2, 1.0}, {0, 0, 0}, true, E::kNone, 0.0, 1e-9, 2.0},
      {"touch line", {3, 9.5, kR}, {0, 6, 0}, true, E::kOut, 3.0, 1e-9, 10.0},
      {"other touch line", {3, -9.5, kR}, {0, -6, 0}, true, E::kOut, 3.0, 1e-9, -10.0},
      {"right goal", {14, 0.8, kR}, {4, 0, 0}, true, E::kIntoRightGoal, 15.3, 0.3, 0.8},
      {"left goal", {-14, -0.5, kR}, {-4, 0, 0}, true, E::kIntoLeftGoal, -15.3, 0.3, -0.5},
      {"outside the post", {14, 1.2, kR}, {4, 0, 0}, true, E::kOut, 15.0, 1e-9, 1.2},
      {"over the bar", {14.5, 0, 1.5}, {4, 0, 0}, true, E::kOut, 15.0, 1e-9, 0.0},
      {"not in play", {14, 0, kR}, {4, 0, 0}, false, E::kOut, 15.0, 1e-9, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimBall b;
    b.Place(c.pos, c.vel);
    EXPECT_EQ(Roll(b, c.goals_count), c.event);
    EXPECT_EQ(b.Velocity().norm(), 0.0);
    EXPECT_NEAR(b.Position().x(), c.x, c.x_tolerance);
    EXPECT_NEAR(b.Position().y(), c.y, 1e-9);
    // A ball in the goal lies there and does not score again.
    for (int i = 0; i < 50; ++i) EXPECT_EQ(b.Step(kDt, true), E::kNone);
  }
}

// A foot box with its toes along +x at the origin: the toes at x = 0.08.
Frame Foot() {
  Frame f;
  f.R = Eigen::AngleAxisd(-M_PI / 2, Eigen::Vector3d::UnitZ()).toRotationMatrix();
  f.p = Eigen::Vector3d::Zero();
  return f;
}

TEST(SimBallTest, AFootMovingIntoTheBallKicksItAlongTheFootsMotion) {
  SimBall slow, fast, far, rolling;
  slow.Place(Eigen::Vector3d(0.08 + kR - 0.01, 0, kR));
  fast.Place(Eigen::Vector3d(0.08 + kR - 0.01, 0, kR));
  const Eigen::Vector3d v_slow(0.5, 0.1, 0.0), v_fast(2.0, 0.4, 0.0);
  ASSERT_TRUE(slow.CollideBox(Foot(), 0.04, 0.08, 0.05, v_slow));
  ASSERT_TRUE(fast.CollideBox(Foot(), 0.04, 0.08, 0.05, v_fast));
  EXPECT_NEAR(std::atan2(fast.Velocity().y(), fast.Velocity().x()), std::atan2(0.4, 2.0), 1e-9);
  EXPECT_GT(fast.Velocity().norm(), 2.0 * slow.Velocity().norm());
  EXPECT_GT(fast.Velocity().norm(), v_fast.norm());  // a hard foot against a light ball
  EXPECT_GE(fast.Position().x(), 0.08 + kR - 1e-9);  // pushed out of the foot
  // Out of reach: nothing happens.
  far.Place(Eigen::Vector3d(0.3, 0, kR));
  EXPECT_FALSE(far.CollideBox(Foot(), 0.04, 0.08, 0.05, v_fast));
  EXPECT_EQ(far.Velocity().norm(), 0.0);
  // A ball rolling into a still foot bounces back, slower.
  rolling.Place(Eigen::Vector3d(0.08 + kR - 0.005, 0, kR), Eigen::Vector3d(-2, 0, 0));
  ASSERT_TRUE(rolling.CollideBox(Foot(), 0.04, 0.08, 0.05, Eigen::Vector3d::Zero()));
  EXPECT_GT(rolling.Velocity().x(), 0.0);
  EXPECT_LT(rolling.Velocity().x(), 2.0);
}

TEST(SimBallTest, BodiesPushTheBallAsideButNotOneInTheAir) {
  SimBall b, c, high;
  b.Place(Eigen::Vector3d(0.05, 0.0, kR));
  ASSERT_TRUE(b.PushOutOfCapsule(Eigen::Vector2d(0, 0), Eigen::Vector2d(0, 0), 0.07, Eigen::Vector2d(1, 0)));
  EXPECT_NEAR(b.Position().head<2>().norm(), 0.07 + kR, 1e-9);
  EXPECT_GT(b.Velocity().x(), 0.9);  // carried along by the walking body
  // A lying body is a capsule from torso to feet.
  c.Place(Eigen::Vector3d(0.2, 0.05, kR));
  ASSERT_TRUE(c.PushOutOfCapsule(Eigen::Vector2d(0, 0), Eigen::Vector2d(0.4, 0), 0.08, Eigen::Vector2d::Zero()));
  EXPECT_NEAR(c.Position().y(), 0.08 + kR, 1e-9);
  EXPECT_NEAR(c.Position().x(), 0.2, 1e-9);
  high.Place(Eigen::Vector3d(0, 0, 0.5));
  EXPECT_FALSE(high.PushOutOfCapsule(Eigen::Vector2d(0, 0), Eigen::Vector2d(0, 0), 0.07, Eigen::Vector2d::Zero()));
}

}  // namespace
