// Forward kinematics, balance quantities and joint control of the body.
#include <gtest/gtest.h>

#include <sstream>

#include "ServerText.h"

namespace {

class BodyTest : public ::testing::Test {
protected:
  TestAgent agent{1};
  CommonInformation& ci() { return agent.GetBlackboard(); }
};

void ExpectNear(const Eigen::Vector3d& a, const Eigen::Vector3d& b) {
  EXPECT_NEAR((a - b).norm(), 0.0, 1e-12) << a.transpose() << " vs " << b.transpose();
}

TEST_F(BodyTest, ZeroAnglesPlacePartsAtTheSumOfTheirOffsets) {
  agent.CalcPartWorldCoordinate();
  auto L = [&](const char* n) { return agent.Part(n).l_coord; };
  ExpectNear(agent.Part("head").w_coord, L("neck") + L("head"));
  ExpectNear(agent.Part("r_upperarm").w_coord, L("r_shoulder") + L("r_upperarm"));
  ExpectNear(agent.Part("l_lowerarm").w_coord,
             L("l_shoulder") + L("l_upperarm") + L("l_elbow") + L("l_lowerarm"));
  const Eigen::Vector3d r_foot = L("r_hip1") + L("r_hip2") + L("r_thigh") + L("r_shank") +
                                 L("r_ankle") + L("r_foot");
  ExpectNear(agent.Part("r_foot").w_coord, r_foot);
  ExpectNear(agent.RightTiptoe(), r_foot + Eigen::Vector3d(0, 0.08, 0));
  // Parts the chains never place keep their construction position.
  ExpectNear(agent.Part("torso").w_coord, Eigen::Vector3d::Zero());
}

TEST_F(BodyTest, JointAnglesMoveOnlyTheirOwnChain) {
  agent.CalcPartWorldCoordinate();
  const Eigen::Vector3d head = agent.Part("head").w_coord;
  const Eigen::Vector3d r_foot = agent.Part("r_foot").w_coord;
  const Eigen::Vector3d r_tiptoe = agent.RightTiptoe();
  const Eigen::Vector3d r_lowerarm = agent.Part("r_lowerarm").w_coord;

  agent.Joint("raj1") = -90.0;  // arm forwards: the lower arm swings about x
  agent.Joint("rlj6") = 20.0;   // ankle roll: only the tiptoe point moves
  agent.CalcPartWorldCoordinate();
  ExpectNear(agent.Part("head").w_coord, head);
  ExpectNear(agent.Part("r_foot").w_coord, r_foot);
  EXPECT_GT((agent.Part("r_lowerarm").w_coord - r_lowerarm).norm(), 0.05);
  // A pure roll about y keeps a point on the y axis where it is.
  ExpectNear(agent.RightTiptoe(), r_tiptoe);
}

TEST_F(BodyTest, JointRotationsTurnTheOffsetsOfTheirChildren) {
  // The head sits on the neck's yaw axis: turning or tilting moves the head
  // frame but not the head's own position.
  agent.Joint("hj1") = 90.0;
  agent.Joint("hj2") = 30.0;
  agent.CalcPartWorldCoordinate();
  ExpectNear(agent.Part("head").w_coord, Eigen::Vector3d(0, 0, 0.155));

  // Upper-arm yaw of +90 degrees turns the elbow offset (-0.01, 0.07, 0.009)
  // counter-clockwise to (-0.07, -0.01, 0.009), behind the shoulder joint.
  agent.Joint("raj2") = 90.0;
  agent.CalcPartWorldCoordinate();
  ExpectNear(agent.Part("r_elbow").w_coord, Eigen::Vector3d(0.038, 0.01, 0.084));

  // Ankle pitch lifts the tiptoe point 8 cm ahead of the foot.
  const Eigen::Vector3d before = agent.RightTiptoe() - agent.Part("r_foot").w_coord;
  agent.Joint("rlj5") = 30.0;
  agent.CalcPartWorldCoordinate();
  const Eigen::Vector3d after = agent.RightTiptoe() - agent.Part("r_foot").w_coord;
  EXPECT_NEAR(before.z(), 0.0, 1e-12);
  EXPECT_NEAR(after.z(), 0.08 * std::sin(30 * M_PI / 180), 1e-12);
  EXPECT_NEAR(after.y(), 0.08 * std::cos(30 * M_PI / 180), 1e-12);
}

TEST_F(BodyTest, CentreOfMassIsTheMassWeightedMeanOfAllParts) {
  agent.CalcPartWorldCoordinate();
  agent.CalcGravity();
  Eigen::Vector3d sum = Eigen::Vector3d::Zero();
  double mass = 0;
  for (const PartSpec& p : NaoModel::kPartTable) {
    sum += p.mass * agent.Part(p.name).w_coord;
    mass += p.mass;
  }
  EXPECT_NEAR(mass, 4.6071, 1e-9);
  ExpectNear(ci().gravity_, sum / mass);
  EXPECT_LT(ci().gravity_.z(), 0.0);  // legs hang below the torso
  EXPECT_NEAR(ci().gravity_.x(), 0.0, 1e-12);  // left-right symmetric
}

TEST_F(BodyTest, MomentumSumScalesPositionsByTheTimeStep) {
  agent.CalcPartWorldCoordinate();
  ci().br_.game_time = 1.0;
  agent.CalcMomentum();  // first step spans the game time so far
  ci().br_.game_time = 1.5;
  agent.CalcMomentum();
  Eigen::Vector3d expected = Eigen::Vector3d::Zero();
  double mass = 0;
  for (const PartSpec& p : NaoModel::kPartTable) {
    expected += p.mass * 0.5 * agent.Part(p.name).w_coord;
    mass += p.mass;
  }
  ExpectNear(ci().momentum_, expected);
  ExpectNear(ci().t_momentum_, expected / mass);
}

TEST_F(BodyTest, HugeGameTimeInTheFirstMomentumSumReturnsPromptly) {
  agent.CalcPartWorldCoordinate();
  ci().br_.game_time = 1e15;
  // Without a bounded power the call would multiply 1e15 times; CTest's
  // time-out catches a hang.
  agent.CalcMomentum();
  // Offsets are all below one metre: their huge powers vanish.
  EXPECT_NEAR(ci().momentum_.norm(), 0.0, 1e-9);
}

TEST_F(BodyTest, GyroRatesIntegrateToMinusTheirAngle) {
  ci().br_.game_time = 0.0;
  agent.Gyro() = Eigen::Vector3d(10, -20, 50);
  agent.ClacTotalGyroAngle();
  ci().br_.game_time = 0.02;
  agent.ClacTotalGyroAngle();
  ExpectNear(ci().total_, Eigen::Vector3d(-0.2, 0.4, -1.0));

  // A rate changing sign between samples adds two signed triangles: 0 here.
  agent.Gyro() = Eigen::Vector3d(-10, 20, -50);
  ci().br_.game_time = 0.04;
  agent.ClacTotalGyroAngle();
  ExpectNear(ci().total_, Eigen::Vector3d(-0.2, 0.4, -1.0));
}

TEST_F(BodyTest, ZeroMomentPointFollowsTheFootForces) {
  agent.LeftFoot() = ForceResistance();
  agent.RightFoot() = ForceResistance();
  agent.CalculateZMP();
  EXPECT_EQ(agent.GetZMP(), Eigen::Vector2d::Zero());

  agent.LeftFoot().existence = agent.RightFoot().existence = true;
  agent.LeftFoot().coord = Eigen::Vector3d(0.01, 0.02, 0);
  agent.RightFoot().coord = Eigen::Vector3d(-0.01, 0.04, 0);
  agent.LeftFoot().force = agent.RightFoot().force = Eigen::Vector3d(0, 0, 20);
  agent.CalculateZMP();
  // Midpoint of the two contact points, each offset by its foot's l_coord (0, 0.03).
  EXPECT_NEAR(agent.GetZMP().x(), 0.0, 1e-12);
  EXPECT_NEAR(agent.GetZMP().y(), 0.06, 1e-12);

  agent.LeftFoot().force.z() = 60;  // three quarters on the left foot
  agent.CalculateZMP();
  EXPECT_NEAR(agent.GetZMP().x(), 0.005, 1e-12);

  // Contact without vertical force has no centre of pressure: the last one stays.
  agent.LeftFoot().force.z() = agent.RightFoot().force.z() = 0;
  agent.CalculateZMP();
  EXPECT_NEAR(agent.GetZMP().x(), 0.005, 1e-12);
}

TEST_F(BodyTest, AxisSumsCountPitchAndRollJointsSeparately) {
  agent.SumAxisRotation();
  EXPECT_EQ(ci().axis_sum_rot_, Eigen::Vector3d::Zero());
  agent.Joint("hj2") = 10;
  agent.Joint("llj1") = -30;  // diagonal hip joint: counted nowhere
  agent.Joint("llj3") = 20;
  agent.Joint("rlj4") = -40;
  agent.Joint("llj2") = 5;
  agent.Joint("rlj6") = 7;
  agent.SumAxisRotation();
  ExpectNear(ci().axis_sum_rot_, Eigen::Vector3d(2 * 10 + 20 - 40, 5 + 7, 0));
}

TEST_F(BodyTest, ProportionalCommandHasADeadBandButNoClamp) {
  agent.Joint("llj3") = 10.0;
  agent.SetNextJointAngle("llj3", 10.2, 3.0);
  EXPECT_EQ(agent.GetNextJoint().at("llj3"), 0.0);
  agent.SetNextJointAngle("llj3", 9.79, 3.0);
  EXPECT_NEAR(agent.GetNextJoint().at("llj3"), -0.21 * 3.0, 1e-9);
  agent.SetNextJointAngle("llj3", 500.0, 1.0);  // far beyond the limit of 100
  EXPECT_NEAR(agent.GetNextJoint().at("llj3"), 490.0, 1e-9);
  agent.SetNextJointAngle("nonsense", 1.0, 1.0);
  EXPECT_EQ(agent.GetNextJoint().count("nonsense"), 0u);
}

TEST_F(BodyTest, RadianCommandClampsTheTargetToTheJointLimits) {
  agent.Joint("llj3") = 90.0;
  agent.SetEJoint3("llj3", 150.0, 2.0);  // max is 100
  EXPECT_NEAR(agent.GetNextJoint().at("llj3"), 10.0 * M_PI / 180.0 * 2.0, 1e-12);
  agent.SetEJoint3("llj3", -80.0, 1.0);  // min is -25
  EXPECT_NEAR(agent.GetNextJoint().at("llj3"), -115.0 * M_PI / 180.0, 1e-12);
  agent.Joint("llj3") = 40.0;
  agent.SetEJoint3("llj3", 40.0001, 1.0);  // no dead band
  EXPECT_GT(agent.GetNextJoint().at("llj3"), 0.0);
}

TEST_F(BodyTest, PostureChecksIncludeTheirBounds) {
  const std::pair<const char*, double> kick_off[] = {
      {"laj1", -100}, {"laj2", 20}, {"laj3", -90}, {"raj1", -100}, {"raj2", -20}, {"raj3", 90},
      {"llj3", 25},   {"llj4", -50}, {"llj5", 25}, {"rlj3", 25},   {"rlj4", -50}, {"rlj5", 25}};
  for (const auto& j : kick_off) agent.Joint(j.first) = j.second;
  EXPECT_TRUE(agent.CheckKickOffJoint());
  agent.Joint("hj2") = 0.2;
  agent.Joint("rlj5") = 25.2;
  EXPECT_TRUE(agent.CheckKickOffJoint());
  agent.Joint("hj2") = 0.2001;
  EXPECT_FALSE(agent.CheckKickOffJoint());
  EXPECT_FALSE(agent.CheckDefaultJoint());

  // The default posture does not look at the head.
  const std::pair<const char*, double> deflt[] = {{"llj3", 15}, {"llj4", -60}, {"llj5", 45},
                                                  {"rlj3", 15}, {"rlj4", -60}, {"rlj5", 45}};
  for (const auto& j : deflt) agent.Joint(j.first) = j.second;
  agent.Joint("hj1") = 80;
  EXPECT_TRUE(agent.CheckDefaultJoint());
  agent.Joint("laj4") = -0.21;
  EXPECT_FALSE(agent.CheckDefaultJoint());
}

TEST_F(BodyTest, EffectorCommandsComeInTableOrderWithSixDigits) {
  agent.Joint("hj1") = 0.0;
  agent.SetNextJointAngle("rlj6", -0.35, 0.3);  // -0.105
  agent.SetEJoint3("hj1", 0.0001, 0.15);         // about 2.6e-07
  agent.SetNextJointAngle("laj1", 1.0 / 3.0, 1.0);
  std::ostringstream out;
  agent.DecideNextJointAngle(out);
  const std::string s = out.str();
  EXPECT_EQ(s.rfind("(he1 2.61799e-07)(he2 0)(lae1 0.333333)(lae2 0)", 0), 0u) << s;
  EXPECT_EQ(s.substr(s.size() - 13), "(rle6 -0.105)");
  EXPECT_TRUE(agent.GetNextJoint().empty());

  std::ostringstream again;
  agent.DecideNextJointAngle(again);
  EXPECT_EQ(again.str().find("0.333333"), std::string::npos);
}

TEST_F(BodyTest, FallTestLooksAtTheZeroMomentPoint) {
  // Centre of pressure far out: both contact points 0.85 m and more away.
  agent.LeftFoot().existence = agent.RightFoot().existence = true;
  agent.LeftFoot().force = agent.RightFoot().force = Eigen::Vector3d(0, 0, 1);
  agent.LeftFoot().coord = agent.RightFoot().coord = Eigen::Vector3d(0, 0.82, 0);
  agent.CalculateZMP();  // y = 0.85
  EXPECT_FALSE(agent.JudgeFallingDown());
  agent.LeftFoot().coord = agent.RightFoot().coord = Eigen::Vector3d(0, 0.83, 0);
  agent.CalculateZMP();
  EXPECT_TRUE(agent.JudgeFallingDown());
}

}  // namespace
