#include "SimRobot.h"

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr double kDt = 0.02;
constexpr double kRad = M_PI / 180.0;

SimRobot StandingAt(double x, double y, double heading) {
  SimRobot r;
  r.PlaceUpright(Eigen::Vector2d(x, y), heading);
  return r;
}

// Drives the given joints (degrees) linearly to their targets over n steps.
void Move(SimRobot& r, const std::map<int, double>& target, int n) {
  for (int k = 0; k < n; ++k) {
    for (const auto& t : target) r.SetJointVelocity(t.first, (t.second - r.JointAngle(t.first)) * kRad / ((n - k) * kDt));
    r.Step(kDt);
  }
  for (const auto& t : target) r.SetJointVelocity(t.first, 0.0);
}

// The player's default crouch: hips 15, knees -60, ankles 45.
void Crouch(SimRobot& r) {
  Move(r, {{kLlj3, 15}, {kLlj4, -60}, {kLlj5, 45}, {kRlj3, 15}, {kRlj4, -60}, {kRlj5, 45}}, 20);
}

// One step of each leg from the crouch: lift, swing forward while the
// stance leg swings back, put down.
void WalkCycle(SimRobot& r) {
  const double d = 10.0;
  Move(r, {{kRlj3, 25}, {kRlj4, -80}, {kRlj5, 55}}, 5);
  Move(r, {{kRlj3, 25 + d}, {kRlj5, 55 - d}, {kLlj3, 15 - d}, {kLlj5, 45 + d}}, 10);
  Move(r, {{kRlj3, 15 + d}, {kRlj4, -60}, {kRlj5, 45 - d}}, 5);
  Move(r, {{kLlj3, 25 - d}, {kLlj4, -80}, {kLlj5, 55 + d}}, 5);
  Move(r, {{kLlj3, 25 + d}, {kLlj5, 55 - d}, {kRlj3, 15 - d}, {kRlj5, 45 + d}}, 10);
  Move(r, {{kLlj3, 15 + d}, {kLlj4, -60}, {kLlj5, 45 - d}}, 5);
  Move(r, {{kRlj3, 25 - d}, {kRlj4, -80}, {kRlj5, 55 + d}}, 5);
  Move(r, {{kRlj3, 15}, {kRlj4, -60}, {kRlj5, 45}, {kLlj3, 15}, {kLlj5, 45}}, 10);
}

TEST(SimRobotTest, JointsIntegrateTheirSpeedCappedAndStopAtTheLimits) {
  const double cap = SimRobot::kMaxJointSpeed * kDt / kRad;
  const struct {
    const char* name;
    int joint;
    std::vector<std::pair<double, int>> speeds;  // rad/s held for n steps
    double angle;
  } cases[] = {
      {"held until changed", kHj1, {{1.0, 10}}, 0.2 / kRad},
      {"capped", kLaj1, {{10.0, 1}}, cap},
      {"capped both ways", kLaj1, {{10.0, 1}, {-100.0, 1}}, 0.0},
      {"stops at +45", kHj2, {{6.0, 20}}, 45.0},
      {"leaves the limit at once", kHj2, {{6.0, 20}, {-1.0, 1}}, 45.0 - kDt / kRad},
      {"knee bends one way", kRlj4, {{6.0, 1}}, 1.0},
      {"nan keeps the old speed", kHj1, {{1.0, 1}, {std::nan(""), 1}}, 2 * kDt / kRad},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimRobot r = StandingAt(0, 0, 0);
    for (const auto& s : c.speeds) {
      r.SetJointVelocity(c.joint, s.first);
      for (int i = 0; i < s.second; ++i) r.Step(kDt);
    }
    EXPECT_NEAR(r.JointAngle(c.joint), c.angle, 1e-9);
  }
}

TEST(SimRobotTest, SteppingLegsCarryTheRobotForwardInItsHeading) {
  for (double heading : {0.0, 90.0, -135.0}) {
    SCOPED_TRACE(heading);
    SimRobot r = StandingAt(1, -1, heading);
    Crouch(r);
    const Eigen::Vector2d start = r.Torso().p.head<2>();
    for (int c = 0; c < 4; ++c) WalkCycle(r);
    ASSERT_EQ(r.GetState(), SimRobot::State::kUpright);
    const Eigen::Vector2d moved = r.Torso().p.head<2>() - start;
    const Eigen::Vector2d fwd(std::cos(heading * kRad), std::sin(heading * kRad));
    EXPECT_GT(moved.dot(fwd), 0.3);
    EXPECT_LT(std::fabs(moved.x() * fwd.y() - moved.y() * fwd.x()), 0.02);  // sideways
    EXPECT_NEAR(r.Heading(), heading, 0.5);
    EXPECT_NEAR(r.distance_walked, moved.norm(), 0.05);
    EXPECT_EQ(r.falls, 0);
  }
}

TEST(SimRobotTest, AToppledRobotLandsWithAShockThenFeelsGravityAlongItsBody) {
  const struct {
    double heading, ankle_speed, acc_y;
    Eigen::Vector2d towards;  // where the torso lies from the start
  } falls[] = {{0, 1.0, -9.81, {1, 0}}, {90, -1.0, 9.81, {0, -1}}};  // onto the front, onto the back
  for (const auto& f : falls) {
    SCOPED_TRACE(f.heading);
    SimRobot r = StandingAt(0, 0, f.heading);
    for (int j : {kLlj5, kRlj5}) r.SetJointVelocity(j, f.ankle_speed);  // leaning with the ankles until it topples
    for (int i = 0; i < 200 && r.GetState() != SimRobot::State::kLying; ++i) r.Step(kDt);
    for (int j : {kLlj5, kRlj5}) r.SetJointVelocity(j, 0);
    EXPECT_EQ(r.falls, 1);
    EXPECT_TRUE(r.Fallen());
    // The landing: |x| + |y| well above 40 in the step of the landing and the next one.
    for (int i = 0; i < 2; ++i) {
      EXPECT_GT(std::fabs(r.Acc().x()) + std::fabs(r.Acc().y()), 40.0) << i;
      r.Step(kDt);
    }
    for (int i = 0; i < 5; ++i) r.Step(kDt);
    EXPECT_TRUE(r.Acc().isApprox(Eigen::Vector3d(0, f.acc_y, 0), 1e-6)) << r.Acc().transpose();
    for (int side = 0; side < 2; ++side) {  // toes on the front, heels on the back, a few newtons each
      EXPECT_TRUE(r.Foot(side).contact);
      EXPECT_LT(r.Foot(side).c.y() * f.acc_y, 0.0) << r.Foot(side).c.transpose();
      EXPECT_GT(r.Foot(side).f.z(), 0.5);  // some force along the sole's normal: the player weighs by it
      EXPECT_NEAR(r.Foot(side).f.norm(), 9.0, 1.0);
    }
    EXPECT_LT(r.Torso().p.z(), 0.1);
    EXPECT_GT(r.Torso().p.head<2>().dot(f.towards), 0.2);
    EXPECT_NEAR(r.Heading(), f.heading, 1e-6);
  }
}

TEST(SimRobotTest, ALyingRobotGetsUpAfterHoldingForHalfASecondACrouchItCouldRiseFrom) {
  const struct {
    const char* name;
    double hip_yaw, hip, knee, ankle;
    bool rises;
  } postures[] = {
      {"the player's crouch", 0, 15, -60, 45, true},
      {"an upright crouch with straight hips", 0, 0, -60, 60, true},
      {"ankles that would tip it over backwards", 0, 15, -60, -45, false},
      {"straight legs", 0, 0, 0, 0, false},
      {"legs drawn up to the chest", -90, 100, -90, -45, false},
  };
  for (const bool onto_back : {true, false}) {
    for (const auto& p : postures) {
      SCOPED_TRACE(std::string(p.name) + (onto_back ? " on the back" : " on the front"));
      SimRobot r = StandingAt(0, 0, 0);
      r.Push(onto_back);
      for (int i = 0; i < SimRobot::kFallSteps + 3; ++i) r.Step(kDt);
      ASSERT_EQ(r.GetState(), SimRobot::State::kLying);
      r.Push();  // already down: nothing more happens
      EXPECT_EQ(r.falls, 1);
      for (int j : {kLlj1, kRlj1}) r.SetJointAngle(j, p.hip_yaw);
      for (int j : {kLlj3, kRlj3}) r.SetJointAngle(j, p.hip);
      for (int j : {kLlj4, kRlj4}) r.SetJointAngle(j, p.knee);
      for (int j : {kLlj5, kRlj5}) r.SetJointAngle(j, p.ankle);
      for (int i = 1; i < SimRobot::kCrouchHoldSteps; ++i) r.Step(kDt);
      EXPECT_EQ(r.GetState(), SimRobot::State::kLying);
      r.Step(kDt);
      EXPECT_EQ(r.GetState() == SimRobot::State::kUpright, p.rises);
      EXPECT_EQ(r.standups, p.rises ? 1 : 0);
      if (p.rises) {
        EXPECT_NEAR(r.Acc().z(), 9.81, 0.01);
      }
    }
  }
}

TEST(SimRobotTest, DroppedRobotsFallAndLandAndBeamedOnesRestUntilAJointMoves) {
  SimRobot r;
  r.Drop(Eigen::Vector2d(-14, 9), 0);
  r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kAirborne);
  EXPECT_NEAR(r.Acc().norm(), 0.0, 1e-9);
  EXPECT_FALSE(r.Foot(SimKinematics::kRight).contact);
  for (int i = 1; i < SimRobot::kDropSteps; ++i) r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kUpright);
  EXPECT_GT(r.Acc().z(), 40.0);
  EXPECT_GT(r.Foot(SimKinematics::kRight).f.z(), r.Mass() * 9.81);
  EXPECT_NEAR(r.Torso().p.z(), 0.405, 1e-9);

  r.Beam(Eigen::Vector2d(-5, 3), 45);
  for (int i = 0; i < 5; ++i) r.Step(kDt);
  EXPECT_FALSE(r.Foot(SimKinematics::kLeft).contact || r.Foot(SimKinematics::kRight).contact);
  EXPECT_NEAR(r.Acc().z(), 9.81, 1e-6);
  EXPECT_TRUE(Eigen::Vector3d(r.Torso().p.x(), r.Torso().p.y(), r.Heading()).isApprox(Eigen::Vector3d(-5, 3, 45), 1e-9));
  EXPECT_EQ(r.distance_walked, 0.0);  // beams do not count as walking
  r.SetJointVelocity(kLaj1, 0.1);  // any joint motion brings the sensors back
  r.Step(kDt);
  EXPECT_TRUE(r.Foot(SimKinematics::kLeft).contact);
}

}  // namespace
