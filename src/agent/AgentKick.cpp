// The open-play kick and the kick-off shot.
#include <cmath>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "agent/kick/KickOffProgress.h"
#include "agent/kick/KickWorkingValues.h"
#include "object/Ball.h"

namespace {

// The crouch deepens to this hip pitch, one degree per cycle, before the
// weight goes onto the standing leg; it is left once the robot is steady.
const double kDeepestCrouch = 40.0;
const double kSteadyZmp = 0.055;
// The weight shift rolls by 5 degrees per cycle up to 10.
const double kMaxShift = 10.0;
const double kShiftStep = 5.0;
// Setting the kicking leg: 4 cycles; firing it: 7.
const int kSetCycles = 4;
const int kFireCycles = 7;
// The kicking hip rolls inwards for a ball this close to the body's centre
// line, outwards from the other limit on (metres of lateral offset).
const double kCentredBall = 0.01;
const double kWideBall = 0.07;

}  // namespace

void Agent::LumKick() {
  CommonInformation& ci = ci_;
  KickWorkingValues& w = kick_values_;
  velk::I_Kick& k = me_kick_;
  const double zmp = zmp_.norm();

  switch (k.st_) {
    case velk::I_Kick::STANDBY:
      w.f = k.NOT_TRY_;
      w.gravity = 0.0;
      w.movement = 20.0;
      if (ci.ball_->visible) {
        w.f = k.ChooseLeg(*ci.ball_, Eigen::Vector2d(ci.hj1_, ci.hj2_));
        k.st_ = velk::I_Kick::SET;
      } else {
        KeepSeeingBall();
      }
      break;

    case velk::I_Kick::SET: {
      if (w.movement <= kDeepestCrouch) {
        w.movement += 1.0;
      } else if (zmp < kSteadyZmp) {
        k.st_ = w.f >= 0.0 ? velk::I_Kick::LEFT1 : velk::I_Kick::RIGHT1;
      }
      const double m = w.movement;
      for (const char* j : {"rlj3", "llj3"}) SetNextJointAngle(j, m, 0.1);
      for (const char* j : {"rlj4", "llj4"}) SetNextJointAngle(j, -2.0 * m, 0.1);
      for (const char* j : {"rlj5", "llj5"}) SetNextJointAngle(j, 1.1 * m, 0.1);
      for (const char* j : {"rlj2", "rlj6", "llj2", "llj6"}) SetNextJointAngle(j, 0.0, 0.1);
      break;
    }

    case velk::I_Kick::LEFT1:
    case velk::I_Kick::RIGHT1: {
      // The left kick stands on the right leg; the right kick is its mirror.
      const bool left = k.st_ == velk::I_Kick::LEFT1;
      const char* stand3 = left ? "rlj3" : "llj3";
      const char* stand4 = left ? "rlj4" : "llj4";
      const char* stand5 = left ? "rlj5" : "llj5";
      const char* kick2 = left ? "llj2" : "rlj2";
      const char* kick3 = left ? "llj3" : "rlj3";
      const char* kick4 = left ? "llj4" : "rlj4";
      const char* kick5 = left ? "llj5" : "rlj5";
      const char* kick6 = left ? "llj6" : "rlj6";
      const char* stand2 = left ? "rlj2" : "llj2";
      const char* stand6 = left ? "rlj6" : "llj6";
      const double side = left ? 1.0 : -1.0;
      if (w.gravity < kMaxShift) w.gravity += kShiftStep;
      if (w.movement > 0.0) {
        w.movement -= 2.0;
        const double m = w.movement;
        const double g = side * w.gravity;
        SetNextJointAngle(stand3, m, 0.5);
        SetNextJointAngle(stand4, -2.0 * m, 0.5);
        SetNextJointAngle(stand5, m, 0.5);
        SetNextJointAngle("llj2", g, 0.5);
        SetNextJointAngle("rlj2", g, 0.5);
        SetNextJointAngle("llj6", -g, 0.5);
        SetNextJointAngle("rlj6", -g, 0.5);
      } else {
        const double f = std::fabs(w.f);
        const double roll = f < kCentredBall ? -10.0 : f >= kWideBall ? 20.0 : 0.0;
        SetNextJointAngle(kick3, 20.0, 0.2);
        SetNextJointAngle(kick4, -50.0, 0.2);
        SetNextJointAngle(kick5, 15.0, 0.2);
        SetNextJointAngle(stand2, side * 10.0, 0.2);
        SetNextJointAngle(stand6, -side * 10.0, 0.2);
        SetNextJointAngle(kick2, side * roll, 0.2);
        SetNextJointAngle(kick6, -side * roll, 0.2);
        if (++k.count_ >= kSetCycles) {
          k.st_ = left ? velk::I_Kick::FIRE_LEFT : velk::I_Kick::FIRE_RIGHT;
          k.count_ = 0;
        }
      }
      break;
    }

    case velk::I_Kick::FIRE_LEFT:
    case velk::I_Kick::FIRE_RIGHT: {
      const bool left = k.st_ == velk::I_Kick::FIRE_LEFT;
      const double p = k.full_power_;
      const double g = w.gravity;
      if (left) {
        SetEJoint3("llj1", 15, p);
        SetEJoint3("llj3", 80, p);
        SetEJoint3("llj4", -35, p);
        SetEJoint3("llj5", 15, p);
        SetEJoint3("rlj3", -35, p);
        SetEJoint3("rlj5", 30, p);
        SetNextJointAngle("rlj2", g + 8.0, 0.5);
        SetNextJointAngle("rlj6", -g - 8.0, 0.5);
      } else {
        SetEJoint3("rlj1", 15, p);
        SetEJoint3("rlj3", 80, p);
        SetEJoint3("rlj4", -45, p);
        SetEJoint3("rlj5", -15, p);
        SetEJoint3("llj3", -35, p);
        SetEJoint3("llj5", 30, p);
        SetNextJointAngle("llj2", -g - 8.0, 0.5);
        SetNextJointAngle("llj6", g + 8.0, 0.5);
      }
      if (++k.count_ >= kFireCycles) {
        k.st_ = velk::I_Kick::STANDBY;
        k.count_ = 0;
        k.during_ = false;
        k.mistake_time_ = 0.0;
        w.f = k.NOT_TRY_;
        w.gravity = 0.0;
        w.movement = 20.0;
        k.complete_ = true;
        k.last_comp_time_ = ci.br_.game_time;
      }
      break;
    }

    default:
      break;
  }
  if (w.gravity < 0.0) w.gravity = 0.0;
  if (w.movement < 0.0) w.movement = 0.0;
}

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
  KickOffProgress& p = kickoff_progress_;
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
