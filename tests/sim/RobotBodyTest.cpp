// The field's robot description against the player's body model: both are
// written from the same robot, and a wrong number on one side would make
// the field move, or the player command, a body the other does not know.
#include "RobotBody.h"

#include <algorithm>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include <Eigen/Core>

#include "nao_model/NaoModel.h"

namespace {

TEST(RobotBodyTest, JointsAndPartsMatchThePlayersBodyModelOneByOne) {
  ASSERT_EQ(RobotBody::kJointNum, NaoModel::kJointNum);
  for (int j = 0; j < RobotBody::kJointNum; ++j) {
    const RobotBody::Joint& field = RobotBody::kJoints[j];
    const JointSpec& player = NaoModel::kJointTable[j];
    SCOPED_TRACE(field.perceptor);
    EXPECT_STREQ(field.perceptor, player.p_name);
    EXPECT_STREQ(field.effector, player.e_name);
    EXPECT_EQ(field.min, player.min);
    EXPECT_EQ(field.max, player.max);
    EXPECT_LT(field.min, field.max);
    EXPECT_EQ(Eigen::Vector3d(field.axis.x, field.axis.y, field.axis.z), Eigen::Vector3d(player.ax, player.ay, player.az));
  }
  // Parts by name: each of the field's parts is one of the player's.
  ASSERT_EQ(RobotBody::kPartNum, NaoModel::kPartNum);
  for (const RobotBody::Part& field : RobotBody::kParts) {
    SCOPED_TRACE(field.name);
    const PartSpec* player = std::find_if(std::begin(NaoModel::kPartTable), std::end(NaoModel::kPartTable),
                                          [&](const PartSpec& p) { return std::string(p.name) == field.name; });
    ASSERT_NE(player, std::end(NaoModel::kPartTable));
    EXPECT_EQ(Eigen::Vector3d(field.offset.x, field.offset.y, field.offset.z),
              Eigen::Vector3d(player->x, player->y, player->z));
    EXPECT_EQ(field.mass, player->mass);
  }
}

}  // namespace
