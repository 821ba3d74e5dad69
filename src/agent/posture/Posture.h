#ifndef VEKTORLING_AGENT_POSTURE_POSTURE_H
#define VEKTORLING_AGENT_POSTURE_POSTURE_H

#include <array>
#include <limits>

#include "nao_model/JointId.h"
#include "nao_model/JointRequest.h"

// A whole-body pose: one target angle (degrees) per joint in JointId order;
// kFree leaves a joint to others.
using JointPose = std::array<double, kJointCount>;
constexpr double kFree = std::numeric_limits<double>::quiet_NaN();

// Drives every joint of the pose that is not free towards its target.
void SetPosture(const JointPose& pose, const JointAngles& now, double gain, JointRequest* out);
// Whether every joint from first to last (JointId order) is within
// dead_band degrees of its target.
bool CheckPosture(const JointPose& pose, const JointAngles& now, int first, int last,
                  double dead_band);

#endif  // VEKTORLING_AGENT_POSTURE_POSTURE_H
