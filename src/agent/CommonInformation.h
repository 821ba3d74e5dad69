#ifndef VEKTORLING_AGENT_COMMONINFORMATION_H
#define VEKTORLING_AGENT_COMMONINFORMATION_H

#include <Eigen/Dense>

#include "agent/brain/Brain.h"
#include "coordinate/AbsoluteCoordinate.h"

class Ball;
class Object;
class Player;
class Walking;

// Field-position estimates of another player's five parts, in the part order
// of Player::PartAt.
struct PartEstimates {
  static constexpr int kPartCount = 5;  // as Player::kPartCount
  AbsoluteCoordinate part[kPartCount];
};

// The blackboard: everything the subsystems share within one cycle and
// across cycles. Each Agent owns one; the subsystems below the agent get the
// parts they read handed to them instead of reaching for it.
class CommonInformation {
public:
  static const int kFlagNum = 8;  // landmarks, as Object::kFlagNum
  static const int kPlayerSlots = 12;  // index = uniform number, slot 0 unused

  CommonInformation();
  ~CommonInformation();
  CommonInformation(const CommonInformation&) = delete;
  CommonInformation& operator=(const CommonInformation&) = delete;

  // The body's readings and kinematics are the agent's BodyState; the
  // blackboard keeps no copy of them.
  Brain br_;
  Ball* ball_;
  Object* flag_[kFlagNum];
  Player* friend_[kPlayerSlots];
  Player* enemy_[kPlayerSlots];
  // The body's orientation (degrees): integrated from the gyroscope by the
  // body step, its yaw corrected from landmark pairs and its tilt levelled
  // after getting up.
  Eigen::Vector3d total_;
  Walking* wk_;
  AbsoluteCoordinate* abs_;
  AbsoluteCoordinate* ball_abs_;
  AbsoluteCoordinate* friend_abs_[kPlayerSlots];
  // By slot, as friend_ and enemy_; updated from the parts' sightings.
  PartEstimates friend_parts_abs_[kPlayerSlots];
  PartEstimates enemy_parts_abs_[kPlayerSlots];
  int id_;
};

#endif
