#include "agent/brain/Brain.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../support/ProcessWide.h"
#include "coordinate/AbsoluteCoordinate.h"

namespace {

const std::vector<std::string> kAllModes = {
    "BeforeKickOff",    "PlayOn",           "KickOff_Left",   "KickOff_Right",
    "KickIn_Left",      "KickIn_Right",     "corner_kick_left", "corner_kick_right",
    "goal_kick_left",   "goal_kick_right",  "Goal_Left",      "Goal_Right"};

Brain MakeBrain(char side, const std::string& mode) {
  Brain b;
  b.SetTerritory(side);
  b.SetPlayMode(mode);
  return b;
}

TEST(BrainTest, StartsBeforeKickOffOnAnUnknownSide) {
  Brain b;
  EXPECT_EQ(b.GetGameTime(), 0.0);
  EXPECT_EQ(b.GetPlayMode(), "BeforeKickOff");
  EXPECT_EQ(b.GetPrevPlayMode(), "");
  EXPECT_EQ(b.GetEnemyTeamName(), "");
  EXPECT_EQ(b.GetTerritory(), 'N');
  EXPECT_FALSE(b.JudgeMovingPlayMode());
}

TEST(BrainTest, MyModesFollowTheOwnSide) {
  struct Case {
    const char* left;
    const char* right;
    bool (Brain::*judge)() const;
  };
  const Case cases[] = {
      {"KickOff_Left", "KickOff_Right", &Brain::JudgeMyKickOffMode},
      {"KickIn_Left", "KickIn_Right", &Brain::JudgeMyKickInMode},
      {"corner_kick_left", "corner_kick_right", &Brain::JudgeMyCornerKickMode},
      {"goal_kick_left", "goal_kick_right", &Brain::JudgeMyGoalKick},
  };
  for (const Case& c : cases) {
    for (const std::string& mode : kAllModes) {
      EXPECT_EQ((MakeBrain('L', mode).*c.judge)(), mode == c.left) << 'L' << mode;
      EXPECT_EQ((MakeBrain('R', mode).*c.judge)(), mode == c.right) << 'R' << mode;
      EXPECT_FALSE((MakeBrain('N', mode).*c.judge)()) << 'N' << mode;
    }
  }
}

TEST(BrainTest, MovingPlayModes) {
  for (char side : {'L', 'R', 'N'}) {
    EXPECT_FALSE(MakeBrain(side, "BeforeKickOff").JudgeMovingPlayMode());
    EXPECT_FALSE(MakeBrain(side, "Goal_Left").JudgeMovingPlayMode());
    EXPECT_FALSE(MakeBrain(side, "Goal_Right").JudgeMovingPlayMode());
    EXPECT_TRUE(MakeBrain(side, "PlayOn").JudgeMovingPlayMode());
    EXPECT_TRUE(MakeBrain(side, "corner_kick_right").JudgeMovingPlayMode());
  }
  // Only the opponent's kick-off holds the robot.
  EXPECT_TRUE(MakeBrain('L', "KickOff_Left").JudgeMovingPlayMode());
  EXPECT_FALSE(MakeBrain('L', "KickOff_Right").JudgeMovingPlayMode());
  EXPECT_FALSE(MakeBrain('R', "KickOff_Left").JudgeMovingPlayMode());
  EXPECT_TRUE(MakeBrain('R', "KickOff_Right").JudgeMovingPlayMode());
  EXPECT_TRUE(MakeBrain('N', "KickOff_Left").JudgeMovingPlayMode());
  EXPECT_TRUE(MakeBrain('N', "KickOff_Right").JudgeMovingPlayMode());
}

TEST(BrainTest, GoalForEitherTeam) {
  for (const std::string& mode : kAllModes) {
    const bool goal = mode == "Goal_Left" || mode == "Goal_Right";
    EXPECT_EQ(MakeBrain('N', mode).JudgeGettingGoal(), goal) << mode;
    EXPECT_EQ(MakeBrain('R', mode).JudgeGettingGoal(), goal) << mode;
  }
}

TEST(BrainTest, ComparisonsAreCaseSensitive) {
  EXPECT_FALSE(MakeBrain('L', "kickoff_left").JudgeMyKickOffMode());
  EXPECT_FALSE(MakeBrain('R', "Corner_Kick_Right").JudgeMyCornerKickMode());
  EXPECT_FALSE(MakeBrain('L', "Goal_Kick_Left").JudgeMyGoalKick());
  EXPECT_FALSE(MakeBrain('L', "goal_left").JudgeGettingGoal());
  EXPECT_TRUE(MakeBrain('L', "beforekickoff").JudgeMovingPlayMode());
  // The side letter too.
  EXPECT_FALSE(MakeBrain('l', "KickOff_Left").JudgeMyKickOffMode());
}

TEST(BrainTest, GoalDirectionsFromThePosition) {
  Brain b;
  b.Update(0.0, 0.0);
  // Own goal straight up the y axis: bearing 90, +90 wraps to -180.
  EXPECT_DOUBLE_EQ(b.GetFriendCGoal(), -180.0);
  EXPECT_DOUBLE_EQ(b.GetEnemyCGoal(), 0.0);
  EXPECT_DOUBLE_EQ(std::abs(b.GetFriendCGoal() - b.GetEnemyCGoal()), 180.0);

  b.Update(15.0, 0.0);  // own goal up-left at 135, opponent's down-left at -135
  EXPECT_DOUBLE_EQ(b.GetFriendCGoal(), -135.0);
  EXPECT_DOUBLE_EQ(b.GetEnemyCGoal(), -45.0);

  b.Update(-15.0, 0.0);
  EXPECT_DOUBLE_EQ(b.GetFriendCGoal(), 135.0);
  EXPECT_DOUBLE_EQ(b.GetEnemyCGoal(), 45.0);
}

TEST(BrainTest, UpdateReadsTheOwnEstimateFromTheBlackboard) {
  CommonInformation& ci = ResetProcessWideState();
  ASSERT_NE(ci.abs_, nullptr);
  ci.abs_->cod_ = Eigen::Vector3d(15.0, 0.0, 0.0);
  Brain b;
  b.Update();
  EXPECT_DOUBLE_EQ(b.GetFriendCGoal(), -135.0);
  EXPECT_DOUBLE_EQ(b.GetEnemyCGoal(), -45.0);
  ResetProcessWideState();
}

}  // namespace
