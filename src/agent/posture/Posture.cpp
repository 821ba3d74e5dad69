#include "agent/posture/Posture.h"

#include <cmath>

void SetPosture(const JointPose& pose, const JointAngles& now, double gain, JointRequest* out) {
  for (int j = 0; j < kJointCount; ++j) {
    if (!std::isnan(pose[j])) out->SetNextJointAngle(now, static_cast<JointId>(j), pose[j], gain);
  }
}

bool CheckPosture(const JointPose& pose, const JointAngles& now, int first, int last,
                  double dead_band) {
  for (int j = first; j <= last; ++j) {
    const double angle = now[j];
    if (!(angle >= pose[j] - dead_band && angle <= pose[j] + dead_band)) return false;
  }
  return true;
}
