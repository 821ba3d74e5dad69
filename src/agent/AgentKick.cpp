// The open-play kick and the kick-off shot. The open-play kick is not built
// yet: it commands nothing and never reports completion.
#include "agent/Agent.h"
#include "agent/kick/KickOffProgress.h"

void Agent::LumKick() {}

namespace {

// One command of the kick-off script: proportional (gain) unless `fast`,
// which drives the joint at `gain` as a proportion in radians with the
// target clamped to the joint's limits.
struct ShotMove {
  const char* joint;
  double degree;
  double gain;
  bool fast;
};

struct ShotStage {
  ShotMove moves[9];  // up to the first without a joint
  int last_t;         // the stage ends once its counter exceeds this; -1: never
};

// The kick-off shot with the left leg: crouch, stand, shift the weight onto
// the right leg, draw the left leg back and strike. 138 cycles to the strike,
// which is then held.
const ShotStage kShot[] = {
    {{{"rlj3", 25, 0.1, false}, {"llj3", 25, 0.1, false}, {"rlj4", -50, 0.1, false},
      {"llj4", -50, 0.1, false}, {"rlj5", 25, 0.1, false}, {"llj5", 25, 0.1, false}}, 5},
    {{{"rlj3", 0, 0.1, false}, {"rlj4", 0, 0.1, false}, {"rlj5", 0, 0.1, false},
      {"llj3", 0, 0.1, false}, {"llj4", 0, 0.1, false}, {"llj5", 0, 0.1, false}}, 10},
    {{{"rlj2", -13, 0.2, false}, {"rlj6", 13, 0.2, false}, {"llj2", -13, 0.2, false},
      {"llj6", 13, 0.2, false}, {"rlj3", 20, 0.2, false}, {"rlj4", -40, 0.2, false},
      {"rlj5", 20, 0.2, false}}, 20},
    {{{"llj3", -34, 0.1, false}, {"llj5", 25, 0.1, false}}, 18},
    {{{"llj5", 30, 0.1, false}, {"llj3", -20, 0.2, false}, {"llj2", 0, 0.1, false},
      {"llj6", 0, 0.1, false}, {"rlj2", 9, 0.05, false}, {"rlj6", -9, 0.05, false}}, 40},
    {{{"llj1", 5, 0.1, false}, {"rlj4", 1, 0.01, false}, {"rlj5", 16.9, 0.1, false},
      {"llj5", 60, 0.2, false}, {"llj3", 0, 0.2, false}, {"llj4", -85, 0.2, false}}, 30},
    {{{"llj5", -35, 7, false}}, 8},
    {{{"llj4", -80, 7, false}, {"llj3", 140, 999999999, true}, {"llj5", -35, 7, false},
      {"llj1", -10, 7, false}, {"llj2", 17, 7, false}, {"rlj3", -100, 6.085, true},
      {"rlj4", -30, 6, false}, {"rlj2", 11, 6, false}, {"rlj5", -90, 6, false}}, -1},
};
const int kShotStages = sizeof kShot / sizeof kShot[0];

}  // namespace

bool Agent::LumKickOffShootShinn(char leg) {
  if (leg != 'L') return false;
  KickOffProgress& p = KickOffProgress::Get();
  if (lumkickoffshoot_flg) {
    lumkickoffshoot_flg = false;
    p.stage = 0;
    p.t = 0;
  }
  const ShotStage& stage = kShot[p.stage];
  for (const ShotMove& m : stage.moves) {
    if (m.joint == nullptr) break;
    if (m.fast) {
      SetEJoint3(m.joint, m.degree, m.gain);
    } else {
      SetNextJointAngle(m.joint, m.degree, m.gain);
    }
  }
  if (stage.last_t >= 0 && ++p.t > stage.last_t) {
    p.t = 0;
    if (p.stage + 1 < kShotStages) ++p.stage;
  }
  return false;
}
