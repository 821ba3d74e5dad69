// The play modes by their exact names: which are the own team's set pieces
// on each side, which are goals, and in which the robot may move.
#include "agent/brain/Brain.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

using Judge = bool (Brain::*)() const;

TEST(BrainTest, PlayModesAreJudgedByTheirExactNamesAndTheOwnSide) {
  const Judge kKickOff = &Brain::JudgeMyKickOffMode, kKickIn = &Brain::JudgeMyKickInMode,
              kCorner = &Brain::JudgeMyCornerKickMode, kGoalKick = &Brain::JudgeMyGoalKick,
              kGoal = &Brain::JudgeGettingGoal;
  const struct {
    const char* mode;
    char owner;         // the side whose set piece it is, or 0
    Judge judge;        // the judgment that holds, or none
    const char* moves;  // the sides on which the robot may move
  } kModes[] = {
      {"BeforeKickOff", 0, nullptr, ""},
      {"PlayOn", 0, nullptr, "LRN"},
      {"KickOff_Left", 'L', kKickOff, "LN"},  // only the opponent's kick-off holds the robot
      {"KickOff_Right", 'R', kKickOff, "RN"},
      {"KickIn_Left", 'L', kKickIn, "LRN"},
      {"KickIn_Right", 'R', kKickIn, "LRN"},
      {"corner_kick_left", 'L', kCorner, "LRN"},
      {"corner_kick_right", 'R', kCorner, "LRN"},
      {"goal_kick_left", 'L', kGoalKick, "LRN"},
      {"goal_kick_right", 'R', kGoalKick, "LRN"},
      {"Goal_Left", 0, kGoal, ""},
      {"Goal_Right", 0, kGoal, ""},
      // Names compare case by case.
      {"kickoff_left", 0, nullptr, "LRN"},
      {"Corner_Kick_Right", 0, nullptr, "LRN"},
      {"Goal_Kick_Left", 0, nullptr, "LRN"},
      {"goal_left", 0, nullptr, "LRN"},
      {"beforekickoff", 0, nullptr, "LRN"},
  };
  for (const auto& row : kModes) {
    for (char side : {'L', 'R', 'N'}) {
      SCOPED_TRACE(testing::Message() << row.mode << " " << side);
      Brain b;
      b.SetTerritory(side);
      b.SetPlayMode(row.mode);
      for (Judge j : {kKickOff, kKickIn, kCorner, kGoalKick}) {
        EXPECT_EQ((b.*j)(), j == row.judge && side == row.owner);
      }
      EXPECT_EQ(b.JudgeGettingGoal(), row.judge == kGoal);
      EXPECT_EQ(b.JudgeMovingPlayMode(), std::strchr(row.moves, side) != nullptr);
    }
  }
  // The side letter is case-sensitive too; a new brain waits for the kick-off.
  Brain lower;
  lower.SetTerritory('l');
  lower.SetPlayMode("KickOff_Left");
  EXPECT_FALSE(lower.JudgeMyKickOffMode());
  EXPECT_EQ(Brain().GetPlayMode(), "BeforeKickOff");
  EXPECT_FALSE(Brain().JudgeMovingPlayMode());
}

}  // namespace
