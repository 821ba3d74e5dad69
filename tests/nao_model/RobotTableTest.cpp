// The robot's joint names, and the scene and init commands.
#include <gtest/gtest.h>

#include <string>

#include "../support/ServerText.h"

namespace {

// The joint table's values are checked against the practice field's own
// description of the robot (tests/sim/RobotBodyTest.cpp); here the names
// find their joints and nothing else does.
TEST(RobotTableTest, PerceptorNamesFindTheirJointsInEffectorOrder) {
  for (int i = 0; i < NaoModel::kJointNum; ++i) EXPECT_EQ(JointByName(NaoModel::kJointTable[i].p_name), i);
  EXPECT_STREQ(NaoModel::kJointTable[kLlj1].e_name, "lle1");
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
