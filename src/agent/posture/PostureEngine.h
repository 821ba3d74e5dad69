#ifndef VEKTORLING_AGENT_POSTURE_POSTUREENGINE_H
#define VEKTORLING_AGENT_POSTURE_POSTUREENGINE_H

#include "agent/posture/Posture.h"
#include "beam/Beam.h"

// A start position in the server's beam frame: own half at negative x,
// rotation in degrees.
struct StartPosition {
  double x, y, rotation;
};

// The ready posture and the start positions.
struct PostureParams {
  // Arms down and forward, knees bent: the posture the walk starts from.
  JointPose ready = {kFree, kFree, -100, 20, -90, 0, -100, -20, 90, 0, 0,
                     0,     15,    -60,  45, 0,   0, 0,    15,  -60, 45, 0};
  double ready_gain = 0.15;
  // A joint closer than this to its target (degrees) counts as in the posture.
  double dead_band = 0.2;
  // Start positions by uniform number (row 0 for numbers outside 1..11).
  StartPosition not_own_kick_off[12] = {
      {-2.5, 0, 0}, {-14.5, 0, 0}, {-12.5, 0.5, 0}, {-11, -2.5, 0}, {-10, 2, 0}, {-7.5, -1, 0},
      {-7, 4, 0},   {-5, 0.5, 0},  {-2, -2, 0},     {-3, 1.5, 0},   {-2.5, 3, 0}, {-4, -1.5, 0}};
  StartPosition own_kick_off[12] = {
      {-2.5, 0, 0},   {-14.5, 0, 0}, {-12.5, 0.5, 0}, {-11, -2.5, 0},
      {-10, 2, 0},    {-7.5, -1, 0}, {-6.5, 4, 0},    {-5, 0.5, 0},
      {-3, -2, 0},    {-0.1522820323027551, -0.09956406460551018, 20},
      {-2, 3, 0},     {-0.1, 5.85, 0}};
};

// The ready posture (arms and legs; the head is left to the head engine)
// and the start position a player is beamed to.
class PostureEngine {
 public:
  explicit PostureEngine(const PostureParams& params = PostureParams()) : params_(params) {}

  // One cycle towards the ready posture; true (and no command) once the
  // arms and legs are in it.
  bool Update(const JointAngles& now, JointRequest* out) const {
    if (CheckDefaultJoint(now)) return true;
    SetDefaultJoint(now, params_.ready_gain, out);
    return false;
  }
  void SetDefaultJoint(const JointAngles& now, double gain, JointRequest* out) const {
    SetPosture(params_.ready, now, gain, out);
  }
  bool CheckDefaultJoint(const JointAngles& now) const {
    return CheckPosture(params_.ready, now, kLaj1, kJointCount - 1, params_.dead_band);
  }

  // The start position of uniform number id, for the own kick-off or not.
  void SelectBeam(bool own_kick_off, int id, Beam* beam) const {
    const int row = (id >= 1 && id <= 11) ? id : 0;
    const StartPosition& p = own_kick_off ? params_.own_kick_off[row] : params_.not_own_kick_off[row];
    beam->Setup(p.x, p.y, p.rotation);
  }

  const PostureParams& Params() const { return params_; }

 private:
  const PostureParams params_;
};

#endif  // VEKTORLING_AGENT_POSTURE_POSTUREENGINE_H
