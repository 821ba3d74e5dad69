#include "agent/brain/Brain.h"

#include "tool/Tool.h"

namespace {

// Goal centres on the field frame's y axis.
constexpr double kFriendGoalY = 15.0;
constexpr double kEnemyGoalY = -15.0;

}  // namespace

Brain::Brain()
    : game_time(0.0),
      playmode("BeforeKickOff"),
      territory('N'),
      fri_c_goal_(0.0),
      ene_c_goal_(0.0) {}

bool Brain::IsMine(const char* left_mode, const char* right_mode) const {
  return (territory == 'L' && playmode == left_mode) ||
         (territory == 'R' && playmode == right_mode);
}

bool Brain::JudgeMyKickOffMode() const { return IsMine("KickOff_Left", "KickOff_Right"); }

bool Brain::JudgeMovingPlayMode() const {
  if (playmode == "BeforeKickOff" || playmode == "Goal_Left" || playmode == "Goal_Right") {
    return false;
  }
  // The opponent's kick-off: stay put.
  if ((territory == 'R' && playmode == "KickOff_Left") ||
      (territory == 'L' && playmode == "KickOff_Right")) {
    return false;
  }
  return true;
}

bool Brain::JudgeMyKickInMode() const { return IsMine("KickIn_Left", "KickIn_Right"); }

bool Brain::JudgeMyCornerKickMode() const {
  return IsMine("corner_kick_left", "corner_kick_right");
}

bool Brain::JudgeMyGoalKick() const { return IsMine("goal_kick_left", "goal_kick_right"); }

bool Brain::JudgeGettingGoal() const {
  return playmode == "Goal_Left" || playmode == "Goal_Right";
}

void Brain::Update() {
  // Without an estimate the robot is taken to stand at the origin.
  if (own_position_ == nullptr) {
    Update(0.0, 0.0);
    return;
  }
  Update(own_position_->x(), own_position_->y());
}

void Brain::Update(double x, double y) {
  fri_c_goal_ = Tool::Limited180(Tool::DegreeForTwoPoints(x, y, 0.0, kFriendGoalY) + 90.0);
  ene_c_goal_ = Tool::Limited180(Tool::DegreeForTwoPoints(x, y, 0.0, kEnemyGoalY) + 90.0);
}
