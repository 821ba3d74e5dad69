#ifndef VEKTORLING_TOOL_KINEMATICS_INVERSEKINEMATICS_H
#define VEKTORLING_TOOL_KINEMATICS_INVERSEKINEMATICS_H

#include "tool/kinematics/Kinematics.h"

// The two-link chain driven by a target for its end point.
class InverseKinematics : public Kinematics {
 public:
  using Kinematics::Kinematics;
  // Places the ankle at (x, y) and measures the hip-to-ankle line.
  virtual void SettingTarget(double x, double y);
};

#endif  // VEKTORLING_TOOL_KINEMATICS_INVERSEKINEMATICS_H
