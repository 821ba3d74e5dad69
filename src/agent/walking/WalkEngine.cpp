#include "agent/walking/WalkEngine.h"

#include <algorithm>
#include <cmath>

namespace {

double Clamp(double v, double limit) { return std::max(-limit, std::min(limit, v)); }

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

WalkEngine::WalkEngine(const WalkParams& params)
    : params_(params),
      foot_x_weight_(-1.0, 1.0, 0.0, 1),
      direction_speed_(-1.0, 1.0, 0.0, 1),
      curve_speed_(-1.0, 1.0, 0.0, 1),
      locus_(params_.loops),
      left_(params_.thigh_length, params_.shank_length),
      right_(params_.thigh_length, params_.shank_length) {}

void WalkEngine::Restart() {
  for (ValueManager<double>* v : {&foot_x_weight_, &direction_speed_, &curve_speed_}) {
    v->SetMax(1.0);
    v->SetValue(0.0);
  }
}

void WalkEngine::Halt() {
  foot_x_weight_.SetMax(0.0);
  foot_x_weight_.SetValue(0.0);
}

void WalkEngine::Walk(const Inputs& in, JointRequest* out) {
  const WalkParams& p = params_;
  const JointAngles& q = *in.joint;

  // 1. Commands and the targets that the previous cycle prepared.
  const double speed = Clamp(in.command.speed, p.max_speed);
  const double direction = Clamp(in.command.direction, p.max_direction);
  const double curve = Clamp(in.command.curve, p.max_curve);
  const bool open_foot = in.command.open_foot;
  const double left_x = locus_.GetLeftTargetX();
  double left_y = locus_.GetLeftTargetY();
  const double right_x = locus_.GetRightTargetX();
  double right_y = locus_.GetRightTargetY();
  if (p.height_offset != 0.0) {
    left_y += p.height_offset;
    right_y += p.height_offset;
  }
  const double left_lj5 = locus_.GetLeftDegreeLJ5();
  const double right_lj5 = locus_.GetRightDegreeLJ5();

  // 2. Turning and side commands as they stood before this cycle.
  const double c = curve_speed_.GetValue();
  const double d = direction_speed_.GetValue();

  // 3. Where in the cycle the next point lies.
  const ValueManager<int>& cycle = locus_.GetCycle();
  const int n = cycle.GetMax() + 1;
  const int half = n / 2;
  const int offset = foot_x_weight_.GetValue() < 0.0 ? p.backward_phase_shift : 0;
  const bool first_half = (cycle.GetValue() + offset) % n < half;

  // 4. Hip yaw-pitch, the same for both legs.
  const double other_yaw = open_foot ? p.open_foot_yaw : 0.0;
  double l1;
  if (c >= 0.0) {
    l1 = (first_half ? p.turn_yaw : other_yaw) * std::fabs(c);
  } else {
    l1 = (first_half ? other_yaw : p.turn_yaw) * std::fabs(c);
  }

  // 5. Roll.
  double r;
  if (d >= 0.0) {
    r = (first_half ? p.roll_lead : p.roll_trail) * std::fabs(d);
  } else {
    r = (first_half ? p.roll_trail : p.roll_lead) * std::fabs(d);
  }
  if (open_foot) r += p.open_foot_roll;

  // 6. The smoothed commands follow the commands.
  Follow(foot_x_weight_, speed, p.speed_step);
  Follow(direction_speed_, direction, p.direction_step);
  Follow(curve_speed_, curve, p.curve_step);

  // 7. The forward speed in use.
  current_speed_ = foot_x_weight_.GetValue();
  const double w = std::fabs(foot_x_weight_.GetValue());

  // 8. Hip pitch and knee of each leg from its scaled target.
  left_.SettingTarget(left_x * w, left_y);
  left_.UpdateFootWork();
  right_.SettingTarget(right_x * w, right_y);
  right_.UpdateFootWork();
  double left_lj3 = left_.GetDegreeLJ3();
  const double left_lj4 = left_.GetDegreeLJ4();
  double right_lj3 = right_.GetDegreeLJ3();
  const double right_lj4 = right_.GetDegreeLJ4();

  // 9. The ankle pitch keeps the sole level (before any hip lean).
  double left_p5 = -left_lj3 - left_lj4 + left_lj5 + p.ankle_yaw_share * l1;
  double right_p5 = -right_lj3 - right_lj4 + right_lj5 + p.ankle_yaw_share * l1;
  if (p.hip_pitch_offset != 0.0) {
    left_lj3 += p.hip_pitch_offset;
    right_lj3 += p.hip_pitch_offset;
  }
  if (p.ankle_offset != 0.0) {
    left_p5 += p.ankle_offset;
    right_p5 += p.ankle_offset;
  }

  // 10. The joint commands.
  out->SetNextJointAngle(q, kLlj1, l1, p.yaw_gain);
  out->SetNextJointAngle(q, kRlj1, l1, p.yaw_gain);
  out->SetNextJointAngle(q, kLlj3, left_lj3, p.pitch_gain);
  out->SetNextJointAngle(q, kRlj3, right_lj3, p.pitch_gain);
  out->SetNextJointAngle(q, kLlj4, left_lj4, p.pitch_gain);
  out->SetNextJointAngle(q, kRlj4, right_lj4, p.pitch_gain);
  out->SetNextJointAngle(q, kLlj5, left_p5, p.pitch_gain);
  out->SetNextJointAngle(q, kRlj5, right_p5, p.pitch_gain);
  out->SetNextJointAngle(q, kLlj2, r, p.roll_gain);
  out->SetNextJointAngle(q, kLlj6, -r, p.roll_gain);
  out->SetNextJointAngle(q, kRlj2, -r, p.roll_gain);
  out->SetNextJointAngle(q, kRlj6, r, p.roll_gain);

  // 11. Forward or backward loop, and the targets of the next cycle.
  locus_.InitLocusType(foot_x_weight_.GetValue() >= 0.0 ? LOCUS_FORWORD : LOCUS_BACK);
  locus_.UpdatePoint();
}
