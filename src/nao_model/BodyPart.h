#ifndef VEKTORLING_NAO_MODEL_BODYPART_H
#define VEKTORLING_NAO_MODEL_BODYPART_H

#include <Eigen/Dense>

// One rigid part of the robot: its fixed offset in the kinematic chain and
// mass, and its position in the torso frame computed every cycle.
class BodyPart {
public:
  BodyPart(const Eigen::Vector3d& local, double mass)
      : l_coord(local), w_coord(Eigen::Vector3d::Zero()), mass(mass) {}

  void SetWorldCoordinate(const Eigen::Vector3d& w) { w_coord = w; }
  void SetWorldCoordinate(double x, double y, double z) { w_coord << x, y, z; }
  double GetMass() const { return mass; }
  const Eigen::Vector3d& GetLocalCoordinate() const { return l_coord; }
  double GetLocalCoordinate(int i) const { return l_coord(i); }
  const Eigen::Vector3d& GetWorldCoordinate() const { return w_coord; }
  double GetWorldCoordinate(int i) const { return w_coord(i); }

  const Eigen::Vector3d l_coord;
  Eigen::Vector3d w_coord;
  const double mass;
};

#endif
