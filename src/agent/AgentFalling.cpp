// Noticing a fall and reacting to it.
#include <cmath>

#include "agent/Agent.h"

namespace {

// |acc.x| + |acc.y| above this (m/s^2) means an impact or a lying body.
const float kFallAcceleration = 40.0f;
// A centre of pressure further than this (metres) from the torso axis means
// the robot is tipping over.
const double kFallZmpRadius = 0.85;

}  // namespace

bool Agent::JudgeFallingDown() {
  if (beh == KICKOFF) return false;
  const float lateral =
      static_cast<float>(std::fabs(acc_.x())) + static_cast<float>(std::fabs(acc_.y()));
  if (lateral > kFallAcceleration) return true;
  return zmp_.norm() > kFallZmpRadius;
}

// Spreads the arms to land on them rather than on the head.
void Agent::PreventFalling() {
  SetNextJointAngle("raj2", -30.0, 0.2);
  SetNextJointAngle("laj2", 30.0, 0.2);
}

// Getting up comes with the stand-up motions; until then nothing is commanded.
void Agent::NextStandUp() {}
