// The walking engine: the walk commands on the blackboard become the twelve
// leg joint commands of one cycle. The feet follow the foot trajectory, its
// forward reach scaled by the speed in use; turning and side steps come from
// hip yaw-pitch and roll offsets that change sign at the half cycle.
#include <algorithm>
#include <cmath>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "tool/UserLocus.h"
#include "tool/kinematics/FootWork.h"

namespace {

// How far each smoothed command may move towards its target per cycle.
const double kSpeedStep = 0.03;
const double kDirectionStep = 0.025;
const double kCurveStep = 0.05;

// Walking backwards shifts the half-cycle phase by this many points.
const int kBackwardPhaseShift = 6;

// Hip yaw-pitch per unit of curve: the turning half of the cycle, and the
// other half with a wide stance.
const double kTurnYaw = -30.0;
const double kOpenFootYaw = 10.0;
// Hip and ankle roll per unit of direction in the two halves, and the extra
// roll of a wide stance.
const double kRollLead = 16.0;
const double kRollTrail = -12.0;
const double kOpenFootRoll = 5.0;
// Share of the hip yaw-pitch that the ankle pitch takes over.
const double kAnkleYawShare = 0.18;

const double kYawGain = 0.1713;
const double kPitchGain = 0.3213;
const double kRollGain = 0.15;

double Clamp1(double v) { return std::max(-1.0, std::min(1.0, v)); }

// Moves a smoothed command one step towards its target: upwards it stops
// exactly at the target, downwards it may pass it by less than a step and
// settles on it in the next cycle.
void Follow(ValueManager<double>& value, double target, double step) {
  if (target >= value.GetValue()) {
    value.SetMax(target);
    value.AdditionFixed(step);
  } else {
    value.AdditionFixed(-step);
  }
}

}  // namespace

void Agent::Walk() {
  CommonInformation& ci = ci_;
  Walking& wk = *ci.wk_;

  // 1. Commands (the stored ones stay as they are) and the targets that the
  // previous cycle prepared.
  const double speed = Clamp1(wk.GetSpeed());
  const double direction = Clamp1(wk.GetDirection());
  const double curve = Clamp1(wk.GetCurve());
  const bool open_foot = wk.IsOpenFoot();
  const double left_x = user_locus_->GetLeftTargetX();
  const double left_y = user_locus_->GetLeftTargetY();
  const double right_x = user_locus_->GetRightTargetX();
  const double right_y = user_locus_->GetRightTargetY();
  const double left_lj5 = user_locus_->GetLeftDegreeLJ5();
  const double right_lj5 = user_locus_->GetRightDegreeLJ5();

  // 2. Turning and side commands as they stood before this cycle.
  const double c = curve_speed_.GetValue();
  const double d = direction_speed_.GetValue();

  // 3. Where in the cycle the next point lies.
  const ValueManager<int>& cycle = user_locus_->GetCycle();
  const int n = cycle.GetMax() + 1;
  const int half = n / 2;
  const int offset = foot_x_weight_.GetValue() < 0.0 ? kBackwardPhaseShift : 0;
  const bool first_half = (cycle.GetValue() + offset) % n < half;

  // 4. Hip yaw-pitch, the same for both legs.
  const double other_yaw = open_foot ? kOpenFootYaw : 0.0;
  double l1;
  if (c >= 0.0) {
    l1 = (first_half ? kTurnYaw : other_yaw) * std::fabs(c);
  } else {
    l1 = (first_half ? other_yaw : kTurnYaw) * std::fabs(c);
  }

  // 5. Roll.
  double r;
  if (d >= 0.0) {
    r = (first_half ? kRollLead : kRollTrail) * std::fabs(d);
  } else {
    r = (first_half ? kRollTrail : kRollLead) * std::fabs(d);
  }
  if (open_foot) r += kOpenFootRoll;

  // 6. The smoothed commands follow the commands.
  Follow(foot_x_weight_, speed, kSpeedStep);
  Follow(direction_speed_, direction, kDirectionStep);
  Follow(curve_speed_, curve, kCurveStep);

  // 7. The forward speed in use.
  wk.SetCurrentSpeed(foot_x_weight_.GetValue());
  const double w = std::fabs(foot_x_weight_.GetValue());

  // 8. Hip pitch and knee of each leg from its scaled target.
  foot_work_left_->SettingTarget(left_x * w, left_y);
  foot_work_left_->UpdateFootWork();
  foot_work_right_->SettingTarget(right_x * w, right_y);
  foot_work_right_->UpdateFootWork();
  const double left_lj3 = foot_work_left_->GetDegreeLJ3();
  const double left_lj4 = foot_work_left_->GetDegreeLJ4();
  const double right_lj3 = foot_work_right_->GetDegreeLJ3();
  const double right_lj4 = foot_work_right_->GetDegreeLJ4();

  // 9. The ankle pitch keeps the sole level.
  const double left_p5 = -left_lj3 - left_lj4 + left_lj5 + kAnkleYawShare * l1;
  const double right_p5 = -right_lj3 - right_lj4 + right_lj5 + kAnkleYawShare * l1;

  // 10. The joint commands.
  SetNextJointAngle("llj1", l1, kYawGain);
  SetNextJointAngle("rlj1", l1, kYawGain);
  SetNextJointAngle("llj3", left_lj3, kPitchGain);
  SetNextJointAngle("rlj3", right_lj3, kPitchGain);
  SetNextJointAngle("llj4", left_lj4, kPitchGain);
  SetNextJointAngle("rlj4", right_lj4, kPitchGain);
  SetNextJointAngle("llj5", left_p5, kPitchGain);
  SetNextJointAngle("rlj5", right_p5, kPitchGain);
  SetNextJointAngle("llj2", r, kRollGain);
  SetNextJointAngle("llj6", -r, kRollGain);
  SetNextJointAngle("rlj2", -r, kRollGain);
  SetNextJointAngle("rlj6", r, kRollGain);

  // 11. Forward or backward loop, and the targets of the next cycle.
  user_locus_->InitLocusType(foot_x_weight_.GetValue() >= 0.0 ? LOCUS_FORWORD : LOCUS_BACK);
  user_locus_->UpdatePoint();
}
