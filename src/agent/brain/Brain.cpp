#include "agent/brain/Brain.h"

#include "tool/Tool.h"

namespace {

// Goal centres on the field frame's y axis.
constexpr double kFriendGoalY = 15.0;
constexpr double kEnemyGoalY = -15.0;

}  // namespace

Brain::Brain()
    : game_time(0.0),
      playmode(PlayMode::kBeforeKickOff),
      prev_pm_(PlayMode::kOther),
      playmode_text(PlayModeName(PlayMode::kBeforeKickOff)),
      territory(Side::kNone),
      fri_c_goal_(0.0),
      ene_c_goal_(0.0) {}

bool Brain::IsMine(PlayMode left_mode, PlayMode right_mode) const {
  return (territory == Side::kLeft && playmode == left_mode) ||
         (territory == Side::kRight && playmode == right_mode);
}

bool Brain::JudgeMyKickOffMode() const {
  return IsMine(PlayMode::kKickOffLeft, PlayMode::kKickOffRight);
}

bool Brain::JudgeMovingPlayMode() const {
  if (playmode == PlayMode::kBeforeKickOff || playmode == PlayMode::kGoalLeft ||
      playmode == PlayMode::kGoalRight) {
    return false;
  }
  // The opponent's kick-off: stay put.
  if ((territory == Side::kRight && playmode == PlayMode::kKickOffLeft) ||
      (territory == Side::kLeft && playmode == PlayMode::kKickOffRight)) {
    return false;
  }
  return true;
}

bool Brain::JudgeMyKickInMode() const {
  return IsMine(PlayMode::kKickInLeft, PlayMode::kKickInRight);
}

bool Brain::JudgeMyCornerKickMode() const {
  return IsMine(PlayMode::kCornerKickLeft, PlayMode::kCornerKickRight);
}

bool Brain::JudgeMyGoalKick() const {
  return IsMine(PlayMode::kGoalKickLeft, PlayMode::kGoalKickRight);
}

bool Brain::JudgeGettingGoal() const {
  return playmode == PlayMode::kGoalLeft || playmode == PlayMode::kGoalRight;
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
