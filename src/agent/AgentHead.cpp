// Head control: keeping the ball in view, sweeping for it when it is lost,
// and correcting the believed heading from pairs of landmarks.
#include <cmath>
#include <cstdlib>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "agent/finding/Finding.h"
#include "object/Ball.h"
#include "object/Object.h"
#include "tool/Tool.h"

namespace {

// One sweeping joint: its targets at both ends, where it turns round, gain.
struct Sweep {
  const char* joint;
  double target;  // + at LEFT / UP, - at RIGHT / DOWN
  double turn;    // the direction flips once the angle passes +turn / -turn
  double gain;
};
const Sweep kPan = {"hj1", 120.0, 119.0, 0.5};
const Sweep kTilt = {"hj2", 45.0, 44.0, 0.05};

// Following a visible ball.
const double kTrackGain = 0.1;

// Pairs of landmarks (indices of the landmark table) on one line of the
// field, and what to add to their bearing: the goal lines from smaller to
// larger x, then the side lines.
struct LandmarkPair {
  int a, b;
  double offset;
};
const LandmarkPair kLandmarkPairs[] = {
    {0, 1, 0},  {0, 5, 0},  {4, 1, 0},  {0, 4, 0},  {4, 5, 0},  {5, 1, 0},  {2, 3, 0},
    {2, 7, 0},  {6, 3, 0},  {2, 6, 0},  {6, 7, 0},  {7, 3, 0},  {0, 2, 90}, {1, 3, 90},
};

// One step of a sweep. Without a direction yet, one is drawn (odd: towards
// the positive end) and nothing is commanded.
template <class Direction>
void SweepStep(Agent& agent, const Sweep& s, Direction& dir, Direction positive,
               Direction negative, Direction none, double angle) {
  if (dir == positive) {
    agent.SetNextJointAngle(s.joint, s.target, s.gain);
    if (angle > s.turn) dir = negative;
  } else if (dir == negative) {
    agent.SetNextJointAngle(s.joint, -s.target, s.gain);
    if (angle < -s.turn) dir = positive;
  } else if (dir == none) {
    dir = std::rand() % 2 == 1 ? positive : negative;
  }
}

}  // namespace

void Agent::SearchObjectH() {
  SweepStep(*this, kPan, fd->hz, Finding::LEFT, Finding::RIGHT, Finding::NONE_H, hj1.rotation);
}

void Agent::SearchObjectV() {
  SweepStep(*this, kTilt, fd->vt, Finding::UP, Finding::DOWN, Finding::NONE_V, hj2.rotation);
}

bool Agent::KeepSeeingBall() {
  const Ball& ball = *ci_.ball_;
  if (!ball.visible) {
    SearchObjectH();
    SearchObjectV();
    return false;
  }
  fd->InitHorizon();
  fd->InitVertical();
  SetNextJointAngle("hj1", ball.h_angle, kTrackGain);
  SetNextJointAngle("hj2", ball.v_angle, kTrackGain);
  return true;
}

bool Agent::ReVision() {
  if (!main_msg.vision_.see) return false;
  CommonInformation& ci = ci_;
  // Circular mean of the present yaw and the heading each visible pair shows.
  const double yaw0 = Tool::ToRadians(ci.total_.z());
  double sum_c = std::cos(yaw0);
  double sum_s = std::sin(yaw0);
  int n = 1;
  for (const LandmarkPair& p : kLandmarkPairs) {
    const Object& a = *ci.flag_[p.a];
    const Object& b = *ci.flag_[p.b];
    if (!a.visible || !b.visible) continue;
    const double g = fd->ReVision(a, b, hj1.rotation, hj2.rotation, p.offset);
    sum_c += std::cos(Tool::ToRadians(90.0 + g));
    sum_s += std::sin(Tool::ToRadians(90.0 + g));
    ++n;
  }
  if (n == 1) return false;
  ci.total_.z() = -Tool::Limited180(Tool::DegreeForTwoPoints(0.0, 0.0, sum_s / n, sum_c / n) - 90.0);
  return true;
}
