#include "agent/kick/KickOffEngine.h"

bool KickOffEngine::Update(const Inputs& in, JointRequest* out) {
  if (step_ == 0) {
    SetKickOffJoint(*in.joint, params_.posture_gain, out);
    if (CheckKickOffJoint(*in.joint)) step_ = 1;
    return false;
  }
  bool finished;
  if (in.my_kick_off) {
    finished = LumKickOffShootShinn('L', *in.joint, out);
  } else {
    finished = in.play_on;
  }
  if (finished) Restart();
  return finished;
}

bool KickOffEngine::LumKickOffShootShinn(char leg, const JointAngles& now, JointRequest* out) {
  if (leg != 'L') return false;
  KickOffProgress& p = progress_;
  if (shoot_restart_) {
    shoot_restart_ = false;
    p.stage = 0;
    p.t = 0;
  }
  const ShotStage& stage = params_.shot[p.stage];
  for (const ShotMove& m : stage.moves) {
    if (m.joint == kJointCount) break;
    if (m.fast) {
      out->SetEJoint3(now, m.joint, m.degree, m.gain);
    } else {
      out->SetNextJointAngle(now, m.joint, m.degree, m.gain);
    }
  }
  if (stage.last_t >= 0 && ++p.t > stage.last_t) {
    p.t = 0;
    if (p.stage + 1 < KickOffParams::kStages) ++p.stage;
  }
  return false;
}
