#ifndef VEKTORLING_NAO_MODEL_JOINTREQUEST_H
#define VEKTORLING_NAO_MODEL_JOINTREQUEST_H

#include <string>

#include "nao_model/JointId.h"

// The joint speed commands of one cycle (radians per cycle step as the
// server takes them), one slot per joint. A joint no engine commands is
// sent 0. An engine writing a joint twice in a cycle leaves the last value.
class JointRequest {
 public:
  JointRequest() { Clear(); }

  void Set(JointId j, double speed) {
    speed_[j] = speed;
    set_[j] = true;
  }
  bool Has(JointId j) const { return set_[j]; }
  // The commanded speed; 0 for a joint not commanded.
  double Speed(JointId j) const { return set_[j] ? speed_[j] : 0.0; }
  bool Empty() const;
  void Clear();

  // Proportional: (angle - current) * gain; 0 within 0.2 degree of the
  // angle. Angles in degrees.
  void SetNextJointAngle(const JointAngles& now, JointId j, double angle, double gain);
  // Towards the target clamped to the joint's limits, in radians times
  // proportion, with no dead band.
  void SetEJoint3(const JointAngles& now, JointId j, double target_deg, double proportion);
  // Constant speed until the joint has reached or passed stop_angle.
  void SetNextJMk2(const JointAngles& now, JointId j, double stop_angle, double speed);

  // Appends the effector commands of all 22 joints in table order,
  // "(he1 0.1)(he2 0)...", each value as printf's "%g" writes it; a
  // non-finite value is sent as 0.
  void DecideNextJointAngle(std::string& out) const;

 private:
  double speed_[kJointCount];
  bool set_[kJointCount];
};

#endif  // VEKTORLING_NAO_MODEL_JOINTREQUEST_H
