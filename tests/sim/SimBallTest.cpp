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

}  // namespace
