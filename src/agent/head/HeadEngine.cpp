#include "agent/head/HeadEngine.h"

#include <cmath>
#include <cstdlib>

#include "object/Ball.h"
#include "object/Object.h"
#include "tool/Tool.h"

namespace {

template <class Direction>
void SweepStep(const Sweep& s, const JointAngles& now, Direction& dir, Direction positive,
               Direction negative, Direction none, JointRequest* out) {
  const double angle = now[s.joint];
  if (dir == positive) {
    out->SetNextJointAngle(now, s.joint, s.target, s.gain);
    if (angle > s.turn) dir = negative;
  } else if (dir == negative) {
    out->SetNextJointAngle(now, s.joint, -s.target, s.gain);
    if (angle < -s.turn) dir = positive;
  } else if (dir == none) {
    dir = std::rand() % 2 == 1 ? positive : negative;
  }
}

}  // namespace

void HeadEngine::SearchObjectH(const JointAngles& now, JointRequest* out) {
  SweepStep(params_.pan, now, finding_.hz, Finding::LEFT, Finding::RIGHT, Finding::NONE_H, out);
}

void HeadEngine::SearchObjectV(const JointAngles& now, JointRequest* out) {
  SweepStep(params_.tilt, now, finding_.vt, Finding::UP, Finding::DOWN, Finding::NONE_V, out);
}

bool HeadEngine::KeepSeeingBall(const Inputs& in, JointRequest* out) {
  const Ball& ball = *in.ball;
  if (!ball.visible) {
    SearchObjectH(*in.joint, out);
    SearchObjectV(*in.joint, out);
    return false;
  }
  finding_.InitHorizon();
  finding_.InitVertical();
  out->SetNextJointAngle(*in.joint, kHj1, ball.h_angle, params_.track_gain);
  out->SetNextJointAngle(*in.joint, kHj2, ball.v_angle, params_.track_gain);
  return true;
}

bool HeadEngine::ReVision(Object* const* flags, const JointAngles& now, bool see,
                          double* yaw) const {
  if (!see) return false;
  const double yaw0 = Tool::ToRadians(*yaw);
  double sum_c = std::cos(yaw0);
  double sum_s = std::sin(yaw0);
  int n = 1;
  for (const LandmarkPair& p : params_.pairs) {
    const Object& a = *flags[p.a];
    const Object& b = *flags[p.b];
    if (!a.visible || !b.visible) continue;
    const double g = finding_.ReVision(a, b, now[kHj1], now[kHj2], p.offset);
    sum_c += std::cos(Tool::ToRadians(90.0 + g));
    sum_s += std::sin(Tool::ToRadians(90.0 + g));
    ++n;
  }
  if (n == 1) return false;
  *yaw = -Tool::Limited180(Tool::DegreeForTwoPoints(0.0, 0.0, sum_s / n, sum_c / n) - 90.0);
  return true;
}
