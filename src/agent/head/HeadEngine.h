#ifndef VEKTORLING_AGENT_HEAD_HEADENGINE_H
#define VEKTORLING_AGENT_HEAD_HEADENGINE_H

#include "agent/finding/Finding.h"
#include "nao_model/JointId.h"
#include "nao_model/JointRequest.h"

class Ball;
class Object;

// One sweeping joint: its targets at both ends, where it turns round, gain.
struct Sweep {
  JointId joint;
  double target;  // + at LEFT / UP, - at RIGHT / DOWN
  double turn;    // the direction flips once the angle passes +turn / -turn
  double gain;
};

// Two landmarks (indices of the landmark table) on one line of the field,
// and what to add to their bearing.
struct LandmarkPair {
  int a, b;
  double offset;
};

// The head's constants. Angles in degrees.
struct HeadParams {
  Sweep pan = {kHj1, 120.0, 119.0, 0.5};
  Sweep tilt = {kHj2, 45.0, 44.0, 0.05};
  // Following a visible ball.
  double track_gain = 0.1;
  // The goal lines from smaller to larger x, then the side lines.
  LandmarkPair pairs[14] = {
      {0, 1, 0}, {0, 5, 0}, {4, 1, 0}, {0, 4, 0}, {4, 5, 0}, {5, 1, 0},  {2, 3, 0},
      {2, 7, 0}, {6, 3, 0}, {2, 6, 0}, {6, 7, 0}, {7, 3, 0}, {0, 2, 90}, {1, 3, 90},
  };
};

// Head control: keeping the ball in view, sweeping for it when it is lost,
// and the heading that pairs of landmarks in view show.
class HeadEngine {
 public:
  struct Inputs {
    const JointAngles* joint;
    const Ball* ball;  // this cycle's sighting
  };

  explicit HeadEngine(const HeadParams& params = HeadParams()) : params_(params) {}

  // One cycle: follows the ball when it is visible (and ends any sweep),
  // sweeps for it otherwise. True when the ball is visible.
  bool Update(const Inputs& in, JointRequest* out) { return KeepSeeingBall(in, out); }
  bool KeepSeeingBall(const Inputs& in, JointRequest* out);
  // One step of the pan or tilt sweep. Without a direction yet, one is
  // drawn (odd: towards the positive end) and nothing is commanded.
  void SearchObjectH(const JointAngles& now, JointRequest* out);
  void SearchObjectV(const JointAngles& now, JointRequest* out);
  // The next sweep draws its directions afresh.
  void ForgetSweep() {
    finding_.vt = Finding::NONE_V;
    finding_.hz = Finding::NONE_H;
  }

  // The circular mean of `yaw` (degrees) and the heading each pair of
  // landmarks in view shows, written to yaw; false (yaw unchanged) without
  // vision or without a pair in view. flags: the eight landmarks.
  bool ReVision(Object* const* flags, const JointAngles& now, bool see, double* yaw) const;

  const Finding& GetFinding() const { return finding_; }
  const HeadParams& Params() const { return params_; }

 private:
  const HeadParams params_;
  Finding finding_;
};

#endif  // VEKTORLING_AGENT_HEAD_HEADENGINE_H
