// The ball-playing tactics: where each player goes, how it walks there, and
// when it asks for the kick. Field frame: the opponent's goal at y = -15;
// heading 0 faces it, a positive heading is turned to the right; commands
// are + to the left.
#include <gtest/gtest.h>

#include <cmath>

#include "action/BallAction.h"
#include "object/Ball.h"

namespace {

void ExpectAt(const Eigen::Vector2d& got, double x, double y) {
  EXPECT_NEAR(got.x(), x, 1e-3);
  EXPECT_NEAR(got.y(), y, 1e-3);
}

TEST(BallActionTest, PlacesBehindTheBallForTheKeeperAndInFormation) {
  using V = Eigen::Vector2d;
  // Behind the ball on the line from the opponent's goal through it.
  ExpectAt(BallAction::ApproachPoint(V(0, 0), V(0, 3)), 0, 0.2);
  const V side_ball(3, -5);  // the line through it rises by 10 for 3 across
  ExpectAt(BallAction::ApproachPoint(side_ball, V(3, 0)), 3 + 0.2 * 3 / std::sqrt(109.0),
           -5 + 0.2 * 10 / std::sqrt(109.0));
  // In front of the ball (between it and the goal): round it on the own side.
  ExpectAt(BallAction::ApproachPoint(V(0, 0), V(-0.1, -2)), -0.7, 0.6);
  ExpectAt(BallAction::ApproachPoint(V(0, 13), V(0.5, 10)), 0.7, 13.6);

  // The keeper: a metre out of its goal towards the ball, within the posts.
  ExpectAt(BallAction::KeeperPoint(V(0, 0)), 0, 14);
  ExpectAt(BallAction::KeeperPoint(V(10, 5)), std::sqrt(0.5), 15 - std::sqrt(0.5));
  ExpectAt(BallAction::KeeperPoint(V(6, 15)), 1.0, 14.7);

  // Number 2 starts at (-0.5, 12.5): a third of the way across, half of the
  // way along towards the ball; number 7 (start (-0.5, 5)) keeps 2 m off it.
  ExpectAt(BallAction::FormationPoint(2, V(0, 0)), -0.35, 6.25);
  ExpectAt(BallAction::FormationPoint(7, V(-0.5, 5.5)), -0.5, 3.5);
}

TEST(BallActionTest, WalksToTheTargetTurningFirstAndFacesOnArrival) {
  using V = Eigen::Vector2d;
  const struct {
    const char* what;
    double heading;
    V target;
    double speed, direction, curve;
  } kCases[] = {
      {"straight ahead, far", 0, V(0, -3), 1, 0, 0},
      {"ahead, close: slower, no side step", 0, V(0, -0.6), 0.4, 0, 0},
      {"to the left: turn on the spot", 0, V(-3, 0), 0, 0, 1},
      {"behind to the right", 0, V(2, 3), 0, 0, -1},
      {"turned left, target on the right", -20, V(0, -3), std::cos(20 * M_PI / 180), 0, -0.5},
      {"arrived: face the goal on the right", 0, V(0.05, -0.1), 0, 0, -0.0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const BallAction::WalkCommand w = BallAction::GoTo(V(0, 0), c.heading, c.target, V(0, -15));
    EXPECT_NEAR(w.speed, c.speed, 1e-9);
    EXPECT_NEAR(w.direction, c.direction, 1e-9);
    EXPECT_NEAR(w.curve, c.curve, 1e-9);
  }
}

TEST(BallActionTest, AsksForTheKickOnlyWithTheBallWithinReachInFrontFacingTheGoal) {
  Ball seen;
  const struct {
    double distance, h, v;  // the sighting, body-relative (degrees)
    double heading;         // body heading (0: the goal straight ahead)
    bool kick;
  } kCases[] = {
      {0.18, 0, 0, 0, true},    {0.25, 0, 45, 0, true},  // 0.18 m along the ground
      {0.21, 0, 0, 0, false},   {0.18, 12, 0, 0, false},  // too far, too far aside
      {0.18, -8, 0, 0, true},   {0.18, 0, 0, 20, false},  // facing away from the goal
      {0.18, 0, 0, 10, true},   {3.0, 0, 0, 0, false},    // 18 m out, 10 degrees will do
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.distance << " " << c.h << " " << c.v << " " << c.heading);
    const Eigen::Vector3d own(0, 3, 0), rotation(0, 0, c.heading), ball(0, 2.8, 0);
    seen.visible = true;
    seen.distance = c.distance;
    seen.h_abyss = c.h;
    seen.v_abyss = c.v;
    TacticsInputs in;
    in.id = 9;
    in.own = &own;
    in.rotation = &rotation;
    in.ball = &ball;
    in.sighting = &seen;
    BallAction action(nullptr, nullptr, in);
    action.Act();
    EXPECT_EQ(action.WantsKick(), c.kick);
  }
  seen.visible = false;
  EXPECT_FALSE(BallAction::BallInReach(seen));
}

}  // namespace
