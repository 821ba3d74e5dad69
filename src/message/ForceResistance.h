#ifndef VEKTORLING_MESSAGE_FORCERESISTANCE_H
#define VEKTORLING_MESSAGE_FORCERESISTANCE_H

#include <Eigen/Core>

// One foot pressure sensor reading: where the force acts and the force.
// existence is true once a reading was parsed; the server sends the sensor
// only while the foot touches the ground.
struct ForceResistance {
  Eigen::Vector3d coord = Eigen::Vector3d::Zero();
  Eigen::Vector3d force = Eigen::Vector3d::Zero();
  bool existence = false;
};

#endif  // VEKTORLING_MESSAGE_FORCERESISTANCE_H
