#include "agent/standup/StandUpEngine.h"

#include <cmath>

namespace {

const JointId kLegJoints[] = {kRlj1, kRlj2, kRlj3, kRlj4, kRlj5, kRlj6,
                              kLlj1, kLlj2, kLlj3, kLlj4, kLlj5, kLlj6};

}  // namespace

StandUpEngine::StandUpEngine(const StandUpParams& params) : params_(params) {}

StandUpEngine::~StandUpEngine() = default;

bool StandUpEngine::JudgeFallingDown(const Eigen::Vector3d& acc, const Eigen::Vector2d& zmp) const {
  const float lateral =
      static_cast<float>(std::fabs(acc.x())) + static_cast<float>(std::fabs(acc.y()));
  if (lateral > params_.fall_acceleration) return true;
  return zmp.norm() > params_.fall_zmp_radius;
}

void StandUpEngine::PreventFalling(const JointAngles& joint, JointRequest* out) const {
  out->SetNextJointAngle(joint, kRaj2, -params_.spread_arm, params_.spread_gain);
  out->SetNextJointAngle(joint, kLaj2, params_.spread_arm, params_.spread_gain);
}

void StandUpEngine::SetErectPosture(const JointAngles& joint, double gain, JointRequest* out) const {
  for (const JointTarget& t : params_.erect) out->SetNextJointAngle(joint, t.joint, t.degree, gain);
}

void StandUpEngine::NextStandUp(const Inputs& in, JointRequest* out) {
  const StandUpParams& p = params_;
  const JointAngles& q = *in.joint;
  StandingUp& s = progress_;
  switch (s.stage) {
    case StandingUp::READY: {
      for (const JointTarget& t : p.settle_arms) out->SetNextJointAngle(q, t.joint, t.degree, p.settle_arm_gain);
      for (JointId j : kLegJoints) out->SetNextJointAngle(q, j, 0.0, p.settle_leg_gain);
      if (in.both_feet_down) {
        // Both feet on the ground: the centre of pressure tells the way up,
        // at the heels (behind) from the back, at the toes from the front.
        if (s.count > p.settled_on_feet) {
          s.stage = in.feet_zmp_y <= 0.0 ? StandingUp::UP1 : StandingUp::DOWN1;
          s.count = 2;
        } else {
          s.count += 2;
        }
      } else if (s.count > p.settled_in_air) {
        s.stage = StandingUp::UP1;
        s.count = 1;
      } else {
        s.count += 1;
      }
      break;
    }
    case StandingUp::UP1: {
      if (!sequence_) {
        sequence_.reset(new MotionSequence());
        sequence_->ReadDirect(p.back_sequence);
      }
      sequence_->Run(q, out);
      if (sequence_->IsEnd()) {
        s.stage = StandingUp::CHECK2;
        sequence_->Reset();
      }
      break;
    }
    case StandingUp::DOWN1:
      if (s.count <= 0) {
        ++s.count;
        break;
      }
      out->SetNextJointAngle(q, kRlj1, p.down1_yaw, p.down_gain);
      out->SetNextJointAngle(q, kLlj1, p.down1_yaw, p.down_gain);
      out->SetNextJointAngle(q, kRlj3, p.down1_hip, p.down_gain);
      out->SetNextJointAngle(q, kLlj3, p.down1_hip, p.down_gain);
      if (s.count <= p.down1_cycles) {
        ++s.count;
      } else {
        s.stage = StandingUp::DOWN2;
        s.count = 0;
      }
      break;
    case StandingUp::DOWN2:
      if (s.count <= p.down2_wait) {
        ++s.count;
        break;
      }
      out->SetNextJointAngle(q, kRlj1, p.down2_yaw, p.down_gain);
      out->SetNextJointAngle(q, kLlj1, p.down2_yaw, p.down_gain);
      out->SetNextJointAngle(q, kRlj4, p.down2_knee, p.down_gain);
      out->SetNextJointAngle(q, kLlj4, p.down2_knee, p.down_gain);
      if (s.count <= p.down2_cycles) {
        ++s.count;
      } else {
        s.stage = StandingUp::CHECK2;
        s.count = 0;
      }
      break;
    case StandingUp::CHECK2:
      SetErectPosture(q, p.crouch_gain, out);
      for (const JointTarget& t : p.crouch) out->SetNextJointAngle(q, t.joint, t.degree, p.crouch_gain);
      if (s.count <= p.crouch_cycles) {
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
