#include "SimRobot.h"

#include <cmath>

#include <gtest/gtest.h>

#include "SimTestSupport.h"

namespace {

using simtest::Crouch;
using simtest::Move;
using simtest::WalkCycle;

constexpr double kDt = 0.02;
constexpr double kRad = M_PI / 180.0;

SimRobot StandingAt(double x, double y, double heading) {
  SimRobot r;
  r.PlaceUpright(Eigen::Vector2d(x, y), heading);
  return r;
}

TEST(SimRobotTest, JointsIntegrateTheirSpeedCappedAndStopAtTheLimits) {
  SimRobot r = StandingAt(0, 0, 0);
  r.SetJointVelocity(kHj1, 1.0);
  for (int i = 0; i < 10; ++i) r.Step(kDt);
  EXPECT_NEAR(r.JointAngle(kHj1), 0.2 / kRad, 1e-9);  // held for ten steps

  r.SetJointVelocity(kLaj1, 10.0);  // above the cap
  r.Step(kDt);
  EXPECT_NEAR(r.JointAngle(kLaj1), SimRobot::kMaxJointSpeed * kDt / kRad, 1e-9);
  r.SetJointVelocity(kLaj1, -100.0);
  r.Step(kDt);
  EXPECT_NEAR(r.JointAngle(kLaj1), 0.0, 1e-9);

  // hj2 stops at +45 and leaves the limit at once when reversed.
  r.SetJointVelocity(kHj2, 6.0);
  for (int i = 0; i < 20; ++i) r.Step(kDt);
  EXPECT_DOUBLE_EQ(r.JointAngle(kHj2), 45.0);
  r.SetJointVelocity(kHj2, -1.0);
  r.Step(kDt);
  EXPECT_NEAR(r.JointAngle(kHj2), 45.0 - kDt / kRad, 1e-9);
  // The knee bends only one way: limits -130 and 1.
  r.SetJointVelocity(kRlj4, 6.0);
  r.Step(kDt);
  EXPECT_DOUBLE_EQ(r.JointAngle(kRlj4), 1.0);

  const double before = r.JointAngle(kHj1);
  r.SetJointVelocity(kHj1, std::nan(""));
  r.Step(kDt);
  EXPECT_NEAR(r.JointAngle(kHj1), before + kDt / kRad, 1e-9);  // the old speed still holds
}

TEST(SimRobotTest, ForwardKinematicsFollowsTheBodyTable) {
  SimKinematics k;
  const double zero[NaoModel::kJointNum] = {};
  k.Compute(zero);
  // Feet: hip 0.055 sideways; 0.375 m of leg offsets plus the sole below the foot point.
  EXPECT_TRUE(k.Sole(SimKinematics::kRight).p.isApprox(Eigen::Vector3d(0.055, 0.025, -0.405), 1e-12));
  EXPECT_TRUE(k.Sole(SimKinematics::kLeft).p.isApprox(Eigen::Vector3d(-0.055, 0.025, -0.405), 1e-12));
  EXPECT_TRUE(k.Camera().p.isApprox(Eigen::Vector3d(0, 0, 0.155), 1e-12));
  EXPECT_TRUE(k.LowerArm(SimKinematics::kRight).isApprox(Eigen::Vector3d(0.098, 0.14, 0.084), 1e-12));
  EXPECT_NEAR(k.TotalMass(), 4.6071, 1e-9);

  // Positive hip pitch swings the leg forward and up; a bent knee pulls the foot back.
  double q[NaoModel::kJointNum] = {};
  q[kRlj3] = 30;
  k.Compute(q);
  const Eigen::Vector3d hip_fwd = k.Sole(SimKinematics::kRight).p;
  EXPECT_GT(hip_fwd.y(), 0.025 + 0.1);
  EXPECT_GT(hip_fwd.z(), -0.405 + 0.02);
  EXPECT_NEAR(hip_fwd.x(), 0.055, 1e-12);
  q[kRlj3] = 0;
  q[kRlj4] = -60;
  k.Compute(q);
  EXPECT_LT(k.Sole(SimKinematics::kRight).p.y(), 0.0);
  // The left leg stays where it was.
  EXPECT_TRUE(k.Sole(SimKinematics::kLeft).p.isApprox(Eigen::Vector3d(-0.055, 0.025, -0.405), 1e-12));
  // Positive pan looks left, positive tilt looks up.
  q[kHj1] = 90;
  k.Compute(q);
  EXPECT_TRUE((k.Camera().R * Eigen::Vector3d::UnitY()).isApprox(-Eigen::Vector3d::UnitX(), 1e-12));
  q[kHj1] = 0;
  q[kHj2] = 30;
  k.Compute(q);
  EXPECT_GT((k.Camera().R * Eigen::Vector3d::UnitY()).z(), 0.49);
}

TEST(SimRobotTest, HipYawPitchTurnsBothFeetOutwardsAboutTheDiagonalAxis) {
  SimKinematics k;
  double q[NaoModel::kJointNum] = {};
  q[kLlj1] = q[kRlj1] = -45;
  k.Compute(q);
  const Eigen::Vector3d fr = k.Sole(SimKinematics::kRight).R * Eigen::Vector3d::UnitY();
  const Eigen::Vector3d fl = k.Sole(SimKinematics::kLeft).R * Eigen::Vector3d::UnitY();
  EXPECT_GT(fr.x(), 0.2);   // right toes to the right
  EXPECT_LT(fl.x(), -0.2);  // left toes to the left
  // The two legs are mirror images.
  const Eigen::Vector3d pr = k.Sole(SimKinematics::kRight).p, pl = k.Sole(SimKinematics::kLeft).p;
  EXPECT_NEAR(pr.x(), -pl.x(), 1e-9);
  EXPECT_NEAR(pr.y(), pl.y(), 1e-9);
  EXPECT_NEAR(pr.z(), pl.z(), 1e-9);
  // Not a plain yaw: the diagonal axis lifts the foot as well.
  EXPECT_GT(pr.z(), -0.405 + 0.01);
}

TEST(SimRobotTest, StandingStillReadsGravityAndCarriesTheWeightOnBothFeet) {
  SimRobot r = StandingAt(1, 2, 30);
  r.SetJointVelocity(kHj1, 0.01);  // not a resting beamed body
  for (int i = 0; i < 5; ++i) r.Step(kDt);
  EXPECT_NEAR(r.Acc().x(), 0.0, 1e-6);
  EXPECT_NEAR(r.Acc().y(), 0.0, 1e-6);
  EXPECT_NEAR(r.Acc().z(), 9.81, 1e-6);
  EXPECT_NEAR(r.Gyro().norm(), 0.0, 1e-6);
  EXPECT_NEAR(r.Torso().p.z(), 0.405, 1e-9);
  EXPECT_NEAR(r.Heading(), 30.0, 1e-9);
  const FootContact& l = r.Foot(SimKinematics::kLeft);
  const FootContact& rt = r.Foot(SimKinematics::kRight);
  ASSERT_TRUE(l.contact && rt.contact);
  EXPECT_NEAR(l.f.z() + rt.f.z(), r.Mass() * 9.81, 1e-6);
  EXPECT_NEAR(l.f.z(), rt.f.z(), 0.5);
  EXPECT_LE(std::fabs(l.c.x()), SimKinematics::kSoleHalfWidth);
  EXPECT_LE(std::fabs(l.c.y()), SimKinematics::kSoleHalfLength);
}

TEST(SimRobotTest, TiltedTorsoSeesGravityRotatedAndTheGyroSeesTheTurn) {
  SimRobot r = StandingAt(0, 0, 0);
  // Ankles pitched by 10 degrees with the feet flat lean the body forwards.
  Move(r, {{kLlj5, 10}, {kRlj5, 10}}, 10);
  for (int i = 0; i < 12; ++i) r.Step(kDt);  // the stop's jolt dies away
  EXPECT_EQ(r.GetState(), SimRobot::State::kUpright);
  EXPECT_NEAR(r.Acc().y(), -9.81 * std::sin(10 * kRad), 0.03);
  EXPECT_NEAR(r.Acc().z(), 9.81 * std::cos(10 * kRad), 0.03);
  EXPECT_NEAR(r.Acc().x(), 0.0, 0.03);
  // While tilting at 1 rad/s the torso turns about its x axis at 57.3 deg/s.
  r.SetJointVelocity(kLlj5, 1.0);
  r.SetJointVelocity(kRlj5, 1.0);
  r.Step(kDt);
  EXPECT_NEAR(std::fabs(r.Gyro().x()), 1.0 / kRad, 0.5);
  EXPECT_NEAR(r.Gyro().y(), 0.0, 0.01);
}

TEST(SimRobotTest, SteppingLegsCarryTheRobotForwardInItsHeading) {
  for (double heading : {0.0, 90.0, -135.0}) {
    SimRobot r = StandingAt(1, -1, heading);
    Crouch(r);
    const Eigen::Vector2d start = r.Torso().p.head<2>();
    for (int c = 0; c < 4; ++c) WalkCycle(r);
    ASSERT_EQ(r.GetState(), SimRobot::State::kUpright) << heading;
    const Eigen::Vector2d moved = r.Torso().p.head<2>() - start;
    const Eigen::Vector2d fwd(std::cos(heading * kRad), std::sin(heading * kRad));
    EXPECT_GT(moved.dot(fwd), 0.3) << heading;
    EXPECT_LT(std::fabs(moved.x() * fwd.y() - moved.y() * fwd.x()), 0.02) << heading;  // sideways
    EXPECT_NEAR(r.Heading(), heading, 0.5);
    EXPECT_NEAR(r.distance_walked, moved.norm(), 0.05);
    EXPECT_EQ(r.falls, 0);
  }
  // The same gait the other way round walks backwards.
  SimRobot back = StandingAt(0, 0, 0);
  Crouch(back);
  for (int c = 0; c < 3; ++c) WalkCycle(back, -10.0);
  EXPECT_LT(back.Torso().p.x(), -0.2);
}

TEST(SimRobotTest, HipYawOfTheStanceLegTurnsTheRobot) {
  // Standing on the left foot, a negative left hip yaw turns the leg
  // outwards; the planted foot holds, so the body turns right.
  SimRobot r = StandingAt(0, 0, 0);
  Crouch(r);
  for (int i = 0; i < 3; ++i) {
    Move(r, {{kRlj3, 25}, {kRlj4, -80}, {kRlj5, 55}}, 5);
    ASSERT_EQ(r.SupportFoot(), SimKinematics::kLeft);
    Move(r, {{kLlj1, -20}}, 10);
    Move(r, {{kRlj3, 15}, {kRlj4, -60}, {kRlj5, 45}}, 5);
    Move(r, {{kLlj3, 25}, {kLlj4, -80}, {kLlj5, 55}}, 5);
    ASSERT_EQ(r.SupportFoot(), SimKinematics::kRight);
    Move(r, {{kLlj1, 0}}, 10);  // swing foot turns back in the air
    Move(r, {{kLlj3, 15}, {kLlj4, -60}, {kLlj5, 45}}, 5);
  }
  EXPECT_EQ(r.GetState(), SimRobot::State::kUpright);
  EXPECT_LT(r.Heading(), -30.0);
  // Mirrored on the right foot it turns left.
  SimRobot m = StandingAt(0, 0, 0);
  Crouch(m);
  Move(m, {{kLlj3, 25}, {kLlj4, -80}, {kLlj5, 55}}, 5);
  ASSERT_EQ(m.SupportFoot(), SimKinematics::kRight);
  Move(m, {{kRlj1, -20}}, 10);
  EXPECT_GT(m.Heading(), 10.0);
}

// Leans the robot with its ankles until it topples; returns the steps taken.
int LeanUntilFallen(SimRobot& r, double speed) {
  r.SetJointVelocity(kLlj5, speed);
  r.SetJointVelocity(kRlj5, speed);
  for (int i = 0; i < 200; ++i) {
    r.Step(kDt);
    if (r.GetState() == SimRobot::State::kLying) return i;
  }
  return -1;
}

TEST(SimRobotTest, AToppledRobotLandsWithAShockThenFeelsGravityAlongItsBody) {
  SimRobot r = StandingAt(0, 0, 0);
  ASSERT_GE(LeanUntilFallen(r, 1.0), 0);  // forwards
  EXPECT_EQ(r.falls, 1);
  EXPECT_TRUE(r.Fallen());
  // The landing: |x| + |y| well above 40 in the message of the landing and the next one.
  EXPECT_GT(std::fabs(r.Acc().x()) + std::fabs(r.Acc().y()), 40.0);
  r.SetJointVelocity(kLlj5, 0);
  r.SetJointVelocity(kRlj5, 0);
  r.Step(kDt);
  EXPECT_GT(std::fabs(r.Acc().x()) + std::fabs(r.Acc().y()), 40.0);
  for (int i = 0; i < 5; ++i) r.Step(kDt);
  // On the front: gravity along the torso's -y, feet without force.
  EXPECT_NEAR(r.Acc().y(), -9.81, 1e-6);
  EXPECT_NEAR(r.Acc().z(), 0.0, 1e-6);
  EXPECT_FALSE(r.Foot(SimKinematics::kLeft).contact);
  EXPECT_FALSE(r.Foot(SimKinematics::kRight).contact);
  EXPECT_LT(r.Torso().p.z(), 0.1);
  EXPECT_GT(r.Torso().p.x(), 0.2);  // fell towards its heading

  SimRobot b = StandingAt(0, 0, 90);
  ASSERT_GE(LeanUntilFallen(b, -1.0), 0);  // backwards
  for (int i = 0; i < 5; ++i) b.Step(kDt);
  EXPECT_NEAR(b.Acc().y(), 9.81, 1e-6);
  EXPECT_LT(b.Torso().p.y(), -0.2);
  EXPECT_NEAR(b.Heading(), 90.0, 1e-6);
}

TEST(SimRobotTest, ALyingRobotGetsUpAfterHoldingACrouchForHalfASecond) {
  SimRobot r = StandingAt(0, 0, 0);
  r.Push();
  for (int i = 0; i < SimRobot::kFallSteps + 3; ++i) r.Step(kDt);
  ASSERT_EQ(r.GetState(), SimRobot::State::kLying);
  r.Push();  // already down: nothing more happens
  EXPECT_EQ(r.falls, 1);

  auto set_legs = [&](double hip, double knee, double ankle) {
    for (int j : {kLlj3, kRlj3}) r.SetJointAngle(j, hip);
    for (int j : {kLlj4, kRlj4}) r.SetJointAngle(j, knee);
    for (int j : {kLlj5, kRlj5}) r.SetJointAngle(j, ankle);
  };
  // A crouch whose ankles would tip the body over backwards does not do.
  set_legs(15, -60, -45);
  for (int i = 0; i < 40; ++i) r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kLying);
  // Nor do straight legs.
  set_legs(0, 0, 0);
  for (int i = 0; i < 40; ++i) r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kLying);

  // The player's crouch: 25 held steps bring it up, 24 do not.
  set_legs(15, -60, 45);
  for (int i = 0; i < SimRobot::kCrouchHoldSteps - 1; ++i) {
    r.Step(kDt);
    ASSERT_EQ(r.GetState(), SimRobot::State::kLying) << i;
  }
  r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kUpright);
  EXPECT_EQ(r.standups, 1);
  r.SetJointVelocity(kHj1, 0.01);
  for (int i = 0; i < 3; ++i) r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kUpright);
  EXPECT_NEAR(r.Acc().z(), 9.81, 0.01);
  EXPECT_TRUE(r.Foot(SimKinematics::kLeft).contact || r.Foot(SimKinematics::kRight).contact);
  EXPECT_NEAR(r.Heading(), 0.0, 1e-6);
}

TEST(SimRobotTest, BeamsLetTheBodyRestAndDoNotCountAsWalking) {
  SimRobot r = StandingAt(0, 0, 0);
  r.SetJointVelocity(kHj1, 0.1);
  r.Step(kDt);
  ASSERT_TRUE(r.Foot(SimKinematics::kLeft).contact);
  r.SetJointVelocity(kHj1, 0.0);
  r.Beam(Eigen::Vector2d(-5, 3), 45);
  for (int i = 0; i < 5; ++i) r.Step(kDt);
  EXPECT_FALSE(r.Foot(SimKinematics::kLeft).contact);
  EXPECT_FALSE(r.Foot(SimKinematics::kRight).contact);
  EXPECT_NEAR(r.Acc().z(), 9.81, 1e-6);
  EXPECT_NEAR(r.Torso().p.x(), -5.0, 1e-9);
  EXPECT_NEAR(r.Torso().p.y(), 3.0, 1e-9);
  EXPECT_NEAR(r.Heading(), 45.0, 1e-9);
  EXPECT_DOUBLE_EQ(r.distance_walked, 0.0);
  r.SetJointVelocity(kLaj1, 0.1);  // any joint motion brings the sensors back
  r.Step(kDt);
  EXPECT_TRUE(r.Foot(SimKinematics::kLeft).contact);
}

TEST(SimRobotTest, ADroppedRobotFallsFreelyAndLandsWithASpike) {
  SimRobot r;
  r.Drop(Eigen::Vector2d(-14, 9), 0);
  r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kAirborne);
  EXPECT_NEAR(r.Acc().norm(), 0.0, 1e-9);
  EXPECT_FALSE(r.Foot(SimKinematics::kRight).contact);
  for (int i = 1; i < SimRobot::kDropSteps; ++i) r.Step(kDt);
  EXPECT_EQ(r.GetState(), SimRobot::State::kUpright);
  EXPECT_GT(r.Acc().z(), 40.0);
  EXPECT_GT(r.Foot(SimKinematics::kRight).f.z(), 2 * r.Mass() * 9.81 / 2);
  EXPECT_NEAR(r.Torso().p.z(), 0.405, 1e-9);
}

}  // namespace
