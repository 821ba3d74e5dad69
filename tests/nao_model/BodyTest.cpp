// The robot model: joint names, the scene of each robot type, forward
// kinematics, the centre of pressure, and the clamping of joint commands.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "nao_model/Body.h"
#include "nao_model/JointRequest.h"
#include "nao_model/NaoModel.h"

namespace {

void ExpectNear(const Eigen::Vector3d& a, const Eigen::Vector3d& b) {
  EXPECT_NEAR((a - b).norm(), 0.0, 1e-12) << a.transpose() << " vs " << b.transpose();
}

// The joint table's values are checked against the practice field's own
// description of the robot (tests/sim/RobotBodyTest.cpp); here the names
// find their joints and nothing else does. Types 0 to 4 take the
// heterogeneous robot (types 2 and 4 on the wire: PlayerProcessTest), any
// other the plain one.
TEST(BodyTest, PerceptorNamesFindTheirJointsAndOtherRobotTypesThePlainScene) {
  for (int i = 0; i < NaoModel::kJointNum; ++i) EXPECT_EQ(JointByName(NaoModel::kJointTable[i].p_name), i);
  for (const char* name : {"rlj7", "he1", "", "HJ1", "hj"}) EXPECT_EQ(JointByName(name), kJointCount) << name;
  EXPECT_EQ(NaoModel::SelectUsingType(0), "(scene rsg/agent/nao/nao_hetero.rsg 0)");
  for (unsigned type : {5u, 99u, 4294967295u}) EXPECT_EQ(NaoModel::SelectUsingType(type), "(scene rsg/agent/nao/nao.rsg)");
}

// Each joint turned alone by 90 degrees, the others at 0: where the end of
// every chain lies in the torso frame (x right, y forwards, z up), worked
// out by hand from the part offsets and the chains' axes. A joint whose
// rotation cannot move its chain's end (the head sits on both neck axes, a
// roll about y leaves a point ahead on y in place, the elbow roll is not in
// the chain) must leave everything where it was.
TEST(BodyTest, EachJointTurnsItsOwnChainAboutItsAxis) {
  enum End { kHeadEnd, kRightHand, kLeftHand, kRightToe, kLeftToe };
  const Eigen::Vector3d kRest[] = {{0, 0, 0.155}, {0.098, 0.14, 0.084}, {-0.098, 0.14, 0.084},
                                   {0.055, 0.105, -0.375}, {-0.055, 0.105, -0.375}};
  const struct {
    const char* joint;
    End end;
    Eigen::Vector3d at;
  } kTurned[] = {
      {"hj1", kHeadEnd, {0, 0, 0.155}},
      {"hj2", kHeadEnd, {0, 0, 0.155}},
      {"raj1", kRightHand, {0.098, -0.009, 0.215}},
      {"raj2", kRightHand, {-0.012, 0.01, 0.084}},
      {"raj3", kRightHand, {0.098, 0.14, 0.084}},
      {"raj4", kRightHand, {0.098, 0.14, 0.084}},
      {"laj1", kLeftHand, {-0.098, -0.009, 0.215}},
      {"laj2", kLeftHand, {-0.228, 0.03, 0.084}},
      {"laj3", kLeftHand, {-0.098, 0.14, 0.084}},
      {"rlj1", kRightToe, {0.055, 0.25, 0}},
      {"rlj2", kRightToe, {-0.205, 0.105, -0.115}},
      {"rlj3", kRightToe, {0.055, 0.22, -0.05}},
      {"rlj4", kRightToe, {0.055, 0.1, -0.18}},
      {"rlj5", kRightToe, {0.055, 0.035, -0.225}},
      {"rlj6", kRightToe, {0.055, 0.105, -0.375}},
      {"llj1", kLeftToe, {-0.055, 0.25, 0}},
      {"llj2", kLeftToe, {-0.315, 0.105, -0.115}},
      {"llj3", kLeftToe, {-0.055, 0.22, -0.05}},
      {"llj4", kLeftToe, {-0.055, 0.1, -0.18}},
      {"llj5", kLeftToe, {-0.055, 0.035, -0.225}},
      {"llj6", kLeftToe, {-0.055, 0.105, -0.375}},
  };
  JointAngles q{};
  BodyState body;
  auto ends = [&body] {
    return std::vector<Eigen::Vector3d>{body.part[kHead], body.part[kRLowerarm], body.part[kLLowerarm],
                                        body.r_tiptoe, body.l_tiptoe};
  };
  for (const auto& row : kTurned) {
    SCOPED_TRACE(row.joint);
    const JointId j = JointByName(row.joint);
    q[j] = 90.0;
    Body::CalcPartWorldCoordinate(q, &body);
    const std::vector<Eigen::Vector3d> now = ends();
    for (int e = kHeadEnd; e <= kLeftToe; ++e) ExpectNear(now[e], e == row.end ? row.at : kRest[e]);
    q[j] = 0.0;
  }
  // The feet follow the same chain: 90 degrees at the right knee swings the
  // ankle's offset (0, -0.01, -0.055) forwards to (0, 0.055, -0.01).
  q[kRlj4] = 90.0;
  Body::CalcPartWorldCoordinate(q, &body);
  ExpectNear(body.part[kRAnkle], Eigen::Vector3d(0.055, 0.06, -0.29));
  ExpectNear(body.part[kTorso], Eigen::Vector3d::Zero());  // never placed
}

TEST(BodyTest, ZeroMomentPointFollowsTheFootForces) {
  ForceResistance left, right;
  Eigen::Vector2d zmp(1, 1);
  Body::CalculateZMP(left, right, &zmp);
  EXPECT_EQ(zmp, Eigen::Vector2d::Zero());

  left.existence = right.existence = true;
  left.coord = Eigen::Vector3d(0.01, 0.02, 0);
  right.coord = Eigen::Vector3d(-0.01, 0.04, 0);
  left.force = right.force = Eigen::Vector3d(0, 0, 20);
  Body::CalculateZMP(left, right, &zmp);
  // Midpoint of the two contact points, each offset by its foot's offset (0, 0.03).
  EXPECT_NEAR(zmp.x(), 0.0, 1e-12);
  EXPECT_NEAR(zmp.y(), 0.06, 1e-12);

  left.force.z() = 60;  // three quarters on the left foot
  Body::CalculateZMP(left, right, &zmp);
  EXPECT_NEAR(zmp.x(), 0.005, 1e-12);

  // Contact without vertical force has no centre of pressure: the last one stays.
  left.force.z() = right.force.z() = 0;
  Body::CalculateZMP(left, right, &zmp);
  EXPECT_NEAR(zmp.x(), 0.005, 1e-12);
}

TEST(BodyTest, RadianCommandClampsTheTargetToTheJointLimits) {
  JointAngles q{};
  JointRequest request;
  q[kLlj3] = 90.0;
  request.SetEJoint3(q, kLlj3, 150.0, 2.0);  // max is 100
  EXPECT_NEAR(request.Speed(kLlj3), 10.0 * M_PI / 180.0 * 2.0, 1e-12);
  request.SetEJoint3(q, kLlj3, -80.0, 1.0);  // min is -25
  EXPECT_NEAR(request.Speed(kLlj3), -115.0 * M_PI / 180.0, 1e-12);
  q[kLlj3] = 40.0;
  request.SetEJoint3(q, kLlj3, 40.0001, 1.0);  // no dead band
  EXPECT_GT(request.Speed(kLlj3), 0.0);
}

}  // namespace
