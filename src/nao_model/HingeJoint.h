#ifndef VEKTORLING_NAO_MODEL_HINGEJOINT_H
#define VEKTORLING_NAO_MODEL_HINGEJOINT_H

#include <Eigen/Dense>

// One hinge joint: the angle last perceived (degrees), its limits and axis.
class HingeJoint {
public:
  HingeJoint(double max, double min, const Eigen::Vector3d& axis)
      : rotation(0.0), max(max), min(min), axis(axis) {}

  HingeJoint& operator=(double angle) {
    rotation = angle;
    return *this;
  }
  void SetRotation(double angle) { rotation = angle; }
  double GetRotation() const { return rotation; }
  double* GetpRotation() { return &rotation; }
  double GetMax() const { return max; }
  double GetMin() const { return min; }
  const Eigen::Vector3d& GetAxis() const { return axis; }
  double GetAxis(int i) const { return axis(i); }

  double rotation;
  const double max;
  const double min;
  const Eigen::Vector3d axis;
};

#endif
