// The play modes: which are the own team's set pieces on each side, which are
// goals, in which the robot may move, and the exact names they come by.
#include "agent/brain/Brain.h"

#include <cstring>
#include <iterator>

#include <gtest/gtest.h>

namespace {

using Judge = bool (Brain::*)() const;

TEST(BrainTest, PlayModesAreJudgedByTheOwnSide) {
  const Judge kKickOff = &Brain::JudgeMyKickOffMode, kKickIn = &Brain::JudgeMyKickInMode,
              kCorner = &Brain::JudgeMyCornerKickMode, kGoalKick = &Brain::JudgeMyGoalKick,
              kGoal = &Brain::JudgeGettingGoal;
  const Side kL = Side::kLeft, kR = Side::kRight, kN = Side::kNone;
  const struct {
    PlayMode mode;
    Side owner;         // the side whose set piece it is, or kNone
    Judge judge;        // the judgment that holds, or none
    const char* moves;  // the sides on which the robot may move
  } kModes[] = {
      {PlayMode::kBeforeKickOff, kN, nullptr, ""},
      {PlayMode::kPlayOn, kN, nullptr, "LRN"},
      {PlayMode::kKickOffLeft, kL, kKickOff, "LN"},  // only the opponent's kick-off holds the robot
      {PlayMode::kKickOffRight, kR, kKickOff, "RN"},
      {PlayMode::kKickInLeft, kL, kKickIn, "LRN"},
      {PlayMode::kKickInRight, kR, kKickIn, "LRN"},
      {PlayMode::kCornerKickLeft, kL, kCorner, "LRN"},
      {PlayMode::kCornerKickRight, kR, kCorner, "LRN"},
      {PlayMode::kGoalKickLeft, kL, kGoalKick, "LRN"},
      {PlayMode::kGoalKickRight, kR, kGoalKick, "LRN"},
      {PlayMode::kGoalLeft, kN, kGoal, ""},
      {PlayMode::kGoalRight, kN, kGoal, ""},
      {PlayMode::kOther, kN, nullptr, "LRN"},
  };
  for (const auto& row : kModes) {
    for (Side side : {kL, kR, kN}) {
      SCOPED_TRACE(testing::Message() << PlayModeName(row.mode) << " " << SideLetter(side));
      Brain b;
      b.SetTerritory(side);
      b.SetPlayMode(row.mode);
      for (Judge j : {kKickOff, kKickIn, kCorner, kGoalKick}) {
        EXPECT_EQ((b.*j)(), j == row.judge && side == row.owner);
      }
      EXPECT_EQ(b.JudgeGettingGoal(), row.judge == kGoal);
      EXPECT_EQ(b.JudgeMovingPlayMode(), std::strchr(row.moves, SideLetter(side)) != nullptr);
    }
  }
  // A new brain waits for the kick-off, on no side, after no known mode.
  const Brain fresh;
  EXPECT_EQ(fresh.GetPlayMode(), PlayMode::kBeforeKickOff);
  EXPECT_EQ(fresh.GetPrevPlayMode(), PlayMode::kOther);
  EXPECT_EQ(fresh.GetTerritory(), Side::kNone);
  EXPECT_FALSE(fresh.JudgeMovingPlayMode());
}

// Every name the server sends maps to its own mode and back; any other text,
// a name in other letter case included, is kOther.
TEST(BrainTest, PlayModeNamesMapExactly) {
  const char* const kServerNames[] = {  // in the order of the enum
      "BeforeKickOff", "KickOff_Left", "KickOff_Right", "PlayOn", "KickIn_Left", "KickIn_Right",
      "corner_kick_left", "corner_kick_right", "goal_kick_left", "goal_kick_right",
      "offside_left", "offside_right", "GameOver", "Goal_Left", "Goal_Right", "free_kick_left",
      "free_kick_right", "direct_free_kick_left", "direct_free_kick_right", "pass_left",
      "pass_right"};
  static_assert(std::size(kServerNames) == static_cast<size_t>(PlayMode::kOther));
  for (size_t i = 0; i < std::size(kServerNames); ++i) {
    const PlayMode mode = static_cast<PlayMode>(i);
    EXPECT_EQ(PlayModeFromName(kServerNames[i]), mode) << kServerNames[i];
    EXPECT_STREQ(PlayModeName(mode), kServerNames[i]);
  }
  for (const char* text : {"", "Unknown", "unknown", "kickoff_left", "Corner_Kick_Right",
                           "Goal_Kick_Left", "goal_left", "beforekickoff", "PlayOn ", "PlayO"}) {
    EXPECT_EQ(PlayModeFromName(text), PlayMode::kOther) << text;
  }
  EXPECT_STREQ(PlayModeName(PlayMode::kOther), "");
}

}  // namespace
