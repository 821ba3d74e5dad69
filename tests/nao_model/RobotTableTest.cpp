// The robot's body as the player knows it, against the values of the
// simulated Nao: every joint's names, limits and axis, and the scene and
// init commands.
#include <gtest/gtest.h>

#include <string>

#include "../support/ServerText.h"

namespace {

TEST(RobotTableTest, JointsInEffectorOrderWithTheirLimitsAndAxes) {
  const struct {
    const char* perceptor;
    const char* effector;
    double max, min;
    Eigen::Vector3d axis;
  } kJoints[] = {
      {"hj1", "he1", 120, -120, {0, 0, 1}},   {"hj2", "he2", 45, -45, {1, 0, 0}},
      {"laj1", "lae1", 120, -120, {1, 0, 0}}, {"laj2", "lae2", 95, -1, {0, 0, 1}},
      {"laj3", "lae3", 120, -120, {0, 1, 0}}, {"laj4", "lae4", 1, -90, {0, 0, 1}},
      {"raj1", "rae1", 120, -120, {1, 0, 0}}, {"raj2", "rae2", 1, -95, {0, 0, 1}},
      {"raj3", "rae3", 120, -120, {0, 1, 0}}, {"raj4", "rae4", 90, -1, {0, 0, 1}},
      {"llj1", "lle1", 1, -90, {-0.7071, 0, -0.7071}},
      {"llj2", "lle2", 45, -25, {0, 1, 0}},   {"llj3", "lle3", 100, -25, {1, 0, 0}},
      {"llj4", "lle4", 1, -130, {1, 0, 0}},   {"llj5", "lle5", 75, -45, {1, 0, 0}},
      {"llj6", "lle6", 25, -45, {0, 1, 0}},
      {"rlj1", "rle1", 1, -90, {-0.7071, 0, 0.7071}},
      {"rlj2", "rle2", 25, -45, {0, 1, 0}},   {"rlj3", "rle3", 100, -25, {1, 0, 0}},
      {"rlj4", "rle4", 1, -130, {1, 0, 0}},   {"rlj5", "rle5", 75, -45, {1, 0, 0}},
      {"rlj6", "rle6", 45, -25, {0, 1, 0}},
  };
  for (int i = 0; i < NaoModel::kJointNum; ++i) {
    const auto& want = kJoints[i];
    SCOPED_TRACE(want.perceptor);
    const JointSpec& j = NaoModel::kJointTable[i];
    EXPECT_EQ(std::string(j.p_name), want.perceptor);
    EXPECT_EQ(std::string(j.e_name), want.effector);
    EXPECT_EQ(JointByName(want.perceptor), i);
    EXPECT_EQ(j.max, want.max);
    EXPECT_EQ(j.min, want.min);
    EXPECT_EQ(Eigen::Vector3d(j.ax, j.ay, j.az), want.axis);
  }
  for (const char* name : {"rlj7", "he1", "", "HJ1", "hj"}) EXPECT_EQ(JointByName(name), kJointCount) << name;
}

TEST(RobotTableTest, SceneAndInitCommands) {
  TestAgent agent(7, "Blue");
  EXPECT_EQ(agent.GetMainMessage(), "(init (unum 7)(teamname Blue))");
  for (unsigned type = 0; type <= 4; ++type) {
    EXPECT_EQ(agent.SelectUsingType(type), "(scene rsg/agent/nao/nao_hetero.rsg " + std::to_string(type) + ")");
  }
  for (unsigned type : {5u, 99u, 4294967295u}) EXPECT_EQ(agent.SelectUsingType(type), "(scene rsg/agent/nao/nao.rsg)");
}

}  // namespace
