// Forward kinematics, the centre of pressure, and the clamping of joint commands.
#include <gtest/gtest.h>

#include <vector>

#include "../support/ServerText.h"

namespace {

class BodyTest : public ::testing::Test {
protected:
  TestAgent agent{1};
};

void ExpectNear(const Eigen::Vector3d& a, const Eigen::Vector3d& b) {
  EXPECT_NEAR((a - b).norm(), 0.0, 1e-12) << a.transpose() << " vs " << b.transpose();
}

// Each joint turned alone by 90 degrees, the others at 0: where the end of
// every chain lies in the torso frame (x right, y forwards, z up), worked
// out by hand from the part offsets and the chains' axes. A joint whose
// rotation cannot move its chain's end (the head sits on both neck axes, a
// roll about y leaves a point ahead on y in place, the elbow roll is not in
// the chain) must leave everything where it was.
TEST_F(BodyTest, EachJointTurnsItsOwnChainAboutItsAxis) {
  enum End { kHead, kRightHand, kLeftHand, kRightToe, kLeftToe };
  const Eigen::Vector3d kRest[] = {{0, 0, 0.155}, {0.098, 0.14, 0.084}, {-0.098, 0.14, 0.084},
                                   {0.055, 0.105, -0.375}, {-0.055, 0.105, -0.375}};
  const struct {
    const char* joint;
    End end;
    Eigen::Vector3d at;
  } kTurned[] = {
      {"hj1", kHead, {0, 0, 0.155}},
      {"hj2", kHead, {0, 0, 0.155}},
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
  auto ends = [this] {
    return std::vector<Eigen::Vector3d>{agent.Part("head").w_coord, agent.Part("r_lowerarm").w_coord,
                                        agent.Part("l_lowerarm").w_coord, agent.RightTiptoe(), agent.LeftTiptoe()};
  };
  for (const auto& row : kTurned) {
    SCOPED_TRACE(row.joint);
    agent.Joint(row.joint) = 90.0;
    agent.CalcPartWorldCoordinate();
    const std::vector<Eigen::Vector3d> now = ends();
    for (int e = kHead; e <= kLeftToe; ++e) ExpectNear(now[e], e == row.end ? row.at : kRest[e]);
    agent.Joint(row.joint) = 0.0;
  }
  // The feet follow the same chain: 90 degrees at the right knee swings the
  // ankle's offset (0, -0.01, -0.055) forwards to (0, 0.055, -0.01).
  agent.Joint("rlj4") = 90.0;
  agent.CalcPartWorldCoordinate();
  ExpectNear(agent.Part("r_ankle").w_coord, Eigen::Vector3d(0.055, 0.06, -0.29));
  ExpectNear(agent.Part("torso").w_coord, Eigen::Vector3d::Zero());  // never placed
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

}  // namespace
