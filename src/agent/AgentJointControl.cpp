// Joint control: the per-cycle speed commands, the fixed postures and the
// effector command text.
#include <charconv>
#include <cmath>
#include <ostream>
#include <string>
#include <limits>

#include "agent/Agent.h"
#include "agent/motion_sequence/MotionSequence.h"

namespace {

const double kFree = std::numeric_limits<double>::quiet_NaN();  // joint not commanded
const double kPi = 3.141592653589793;
// A joint closer than this to its target (degrees) gets no command and
// counts as being in the posture.
const double kDeadBand = 0.2;

// Postures in joint-table order (hj1, hj2, laj1..laj4, raj1..raj4, llj1..llj6, rlj1..rlj6).
const double kDefaultPosture[NaoModel::kJointNum] = {
    kFree, kFree, -100, 20, -90, 0, -100, -20, 90, 0, 0, 0, 15, -60, 45, 0, 0, 0, 15, -60, 45, 0};
const double kErectPosture[NaoModel::kJointNum] = {
    kFree, kFree, -90, 0, -90, 0, -90, 0, 90, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const double kKickOffPosture[NaoModel::kJointNum] = {
    0, 0, -100, 20, -90, 0, -100, -20, 90, 0, 0, 0, 25, -50, 25, 0, 0, 0, 25, -50, 25, 0};

}  // namespace

void Agent::SetNextJointAngle(const std::string& id, double angle, double gain) {
  MotionSequence::SetNextJointAngle(m_joint, m_next_j, id, angle, gain);
}

void Agent::SetEJoint3(const std::string& index, double tgt_deg, double proportion) {
  auto it = m_joint.find(index);
  if (it == m_joint.end() || it->second == nullptr) return;
  const HingeJoint& j = *it->second;
  double target = tgt_deg;
  if (target > j.max) target = j.max;
  if (j.min > target) target = j.min;
  m_next_j[index] = (target * kPi / 180.0 - j.rotation * kPi / 180.0) * proportion;
}

void Agent::SetPosture(const double* posture, double gain) {
  for (int i = 0; i < joint_num; ++i) {
    if (!std::isnan(posture[i])) SetNextJointAngle(p_joint[i], posture[i], gain);
  }
}

bool Agent::CheckPosture(const double* posture, int first, int last) {
  for (int i = first; i <= last; ++i) {
    const double angle = m_joint.at(p_joint[i])->rotation;
    if (!(angle >= posture[i] - kDeadBand && angle <= posture[i] + kDeadBand)) return false;
  }
  return true;
}

void Agent::SetDefaultJoint(double gain) { SetPosture(kDefaultPosture, gain); }

void Agent::SetErectPosture(double gain) { SetPosture(kErectPosture, gain); }

void Agent::SetKickOffJoint(double gain) { SetPosture(kKickOffPosture, gain); }

bool Agent::CheckDefaultJoint() { return CheckPosture(kDefaultPosture, 2, joint_num - 1); }

bool Agent::CheckKickOffJoint() { return CheckPosture(kKickOffPosture, 0, joint_num - 1); }

void Agent::DecideNextJointAngle(std::string& out) {
  for (int i = 0; i < joint_num; ++i) {
    auto it = m_next_j.find(p_joint[i]);
    double value = it == m_next_j.end() ? 0.0 : it->second;
    // A command computed from a non-finite reading would upset the server's
    // physics; such a joint is held still instead.
    if (!std::isfinite(value)) value = 0.0;
    // The stream's default for a double: general notation, six significant
    // digits, as printf's "%g" writes it.
    out += '(';
    out += e_joint[i];
    out += ' ';
    if (value == 0.0) {
      out += std::signbit(value) ? "-0" : "0";  // as "%g" writes the zeros
    } else {
      char number[32];
      const std::to_chars_result r = std::to_chars(number, number + sizeof number, value,
                                                   std::chars_format::general, 6);
      out.append(number, r.ptr);
    }
    out += ')';
  }
  m_next_j.clear();
}

void Agent::DecideNextJointAngle(std::ostream& out) {
  std::string text;
  DecideNextJointAngle(text);
  out << text;
}
