#include "nao_model/JointRequest.h"

#include <charconv>
#include <cmath>

#include "nao_model/NaoModel.h"

namespace {

const double kPi = 3.141592653589793;
// A joint closer than this to its target (degrees) gets a zero command.
const double kDeadBand = 0.2;

}  // namespace

bool JointRequest::Empty() const {
  for (bool s : set_) {
    if (s) return false;
  }
  return true;
}

void JointRequest::Clear() {
  for (int j = 0; j < kJointCount; ++j) {
    speed_[j] = 0.0;
    set_[j] = false;
  }
}

void JointRequest::SetNextJointAngle(const JointAngles& now, JointId j, double angle,
                                     double gain) {
  const double current = now[j];
  Set(j, std::fabs(current - angle) > kDeadBand ? (angle - current) * gain : 0.0);
}

void JointRequest::SetEJoint3(const JointAngles& now, JointId j, double target_deg,
                              double proportion) {
  const JointSpec& limits = NaoModel::kJointTable[j];
  double target = target_deg;
  if (target > limits.max) target = limits.max;
  if (limits.min > target) target = limits.min;
  Set(j, (target * kPi / 180.0 - now[j] * kPi / 180.0) * proportion);
}

void JointRequest::SetNextJMk2(const JointAngles& now, JointId j, double stop_angle,
                               double speed) {
  const double current = now[j];
  const bool reached = speed > 0.0 ? current >= stop_angle : stop_angle >= current;
  Set(j, reached ? 0.0 : speed);
}

void JointRequest::DecideNextJointAngle(std::string& out) const {
  for (int j = 0; j < kJointCount; ++j) {
    double value = Speed(static_cast<JointId>(j));
    // A command computed from a non-finite reading would upset the server's
    // physics; such a joint is held still instead.
    if (!std::isfinite(value)) value = 0.0;
    out += '(';
    out += NaoModel::kJointTable[j].e_name;
    out += ' ';
    if (value == 0.0) {
      out += std::signbit(value) ? "-0" : "0";  // as "%g" writes the zeros
    } else {
      // General notation, six significant digits, as "%g".
      char number[32];
      const std::to_chars_result r = std::to_chars(number, number + sizeof number, value,
                                                   std::chars_format::general, 6);
      out.append(number, r.ptr);
    }
    out += ')';
  }
}
