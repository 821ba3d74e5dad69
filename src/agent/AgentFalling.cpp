// Noticing a fall and reacting to it.
#include <cmath>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "agent/StandingUp.h"
#include "agent/motion_sequence/StandUpSequence.h"
#include "agent/walking/Walking.h"

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

namespace {

struct Target {
  const char* joint;
  double degree;
};

// The neutral posture the robot lies in while it settles.
const Target kSettleArms[] = {{"hj1", 0},    {"hj2", 0},    {"raj1", -90}, {"laj1", -90},
                              {"raj2", 0},   {"laj2", 0},   {"raj3", 90},  {"laj3", -90},
                              {"raj4", 0},   {"laj4", 0}};
const char* const kLegJoints[] = {"rlj1", "rlj2", "rlj3", "rlj4", "rlj5", "rlj6",
                                  "llj1", "llj2", "llj3", "llj4", "llj5", "llj6"};
const double kSettleArmGain = 0.1;
const double kSettleLegGain = 0.2;
// Settling: with both feet on the ground the counter rises by 2 per cycle
// and the way up is chosen above this; without, by 1 up to the other limit.
const int kSettledOnFeet = 20;
const int kSettledInAir = 30;

// Getting up from the front: hips turned in and bent, then the knees.
const double kDownGain = 0.5;
const int kDown1Cycles = 50;
const int kDown2Wait = 3;
const int kDown2Cycles = 15;

// The crouch that ends every stand-up.
const Target kCrouch[] = {{"rlj3", 25}, {"llj3", 25}, {"rlj4", -80}, {"llj4", -80},
                          {"rlj5", 55}, {"llj5", 55}};
const double kCrouchGain = 0.1;
const int kCrouchCycles = 10;

}  // namespace

void Agent::NextStandUp() {
  const CommonInformation& ci = ci_;
  StandingUp& s = *stup;
  switch (s.stage) {
    case StandingUp::READY: {
      for (const Target& t : kSettleArms) SetNextJointAngle(t.joint, t.degree, kSettleArmGain);
      for (const char* j : kLegJoints) SetNextJointAngle(j, 0.0, kSettleLegGain);
      if (frp_l_.existence && frp_r_.existence) {
        // Both feet on the ground: the centre of pressure tells the way up,
        // at the heels (behind) from the back, at the toes from the front.
        if (s.count > kSettledOnFeet) {
          s.stage = ci.wk_->GetZMP().y() <= 0.0 ? StandingUp::UP1 : StandingUp::DOWN1;
          s.count = 2;
        } else {
          s.count += 2;
        }
      } else if (s.count > kSettledInAir) {
        s.stage = StandingUp::UP1;
        s.count = 1;
      } else {
        s.count += 1;
      }
      break;
    }
    case StandingUp::UP1: {
      if (!stand_up_sequence_) stand_up_sequence_.reset(new StandUpSequence());
      StandUpSequence& sequence = *stand_up_sequence_;
      sequence.Run(m_joint, m_next_j);
      if (sequence.IsEnd()) {
        s.stage = StandingUp::CHECK2;
        sequence.Reset();
      }
      break;
    }
    case StandingUp::DOWN1:
      if (s.count <= 0) {
        ++s.count;
        break;
      }
      SetNextJointAngle("rlj1", -45, kDownGain);
      SetNextJointAngle("llj1", -45, kDownGain);
      SetNextJointAngle("rlj3", 100, kDownGain);
      SetNextJointAngle("llj3", 100, kDownGain);
      if (s.count <= kDown1Cycles) {
        ++s.count;
      } else {
        s.stage = StandingUp::DOWN2;
        s.count = 0;
      }
      break;
    case StandingUp::DOWN2:
      if (s.count <= kDown2Wait) {
        ++s.count;
        break;
      }
      SetNextJointAngle("rlj1", -5, kDownGain);
      SetNextJointAngle("llj1", -5, kDownGain);
      SetNextJointAngle("rlj4", -45, kDownGain);
      SetNextJointAngle("llj4", -45, kDownGain);
      if (s.count <= kDown2Cycles) {
        ++s.count;
      } else {
        s.stage = StandingUp::CHECK2;
        s.count = 0;
      }
      break;
    case StandingUp::CHECK2:
      SetErectPosture(kCrouchGain);
      for (const Target& t : kCrouch) SetNextJointAngle(t.joint, t.degree, kCrouchGain);
      if (s.count <= kCrouchCycles) {
        ++s.count;
      } else {
        s.stage = StandingUp::READY;
        s.complete = true;
        s.count = 0;
      }
      break;
    default:
      break;
  }
}
