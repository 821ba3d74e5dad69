#ifndef VEKTORLING_TOOL_KINEMATICS_FOOTWORK_H
#define VEKTORLING_TOOL_KINEMATICS_FOOTWORK_H

#include "tool/kinematics/InverseKinematics.h"

// One leg of the walk: turns an ankle target into the hip pitch (LJ3) and
// knee (LJ4) joint angles of the robot, in degrees.
class FootWork : public InverseKinematics {
 public:
  // Thigh and shank lengths in millimetres.
  explicit FootWork(double thigh = kThighLength, double shank = kShankLength);

  // Solves the leg, then converts the link directions into joint angles.
  virtual void UpdateFootWork();

  double GetDegreeLJ3() const { return degreeLJ3_; }
  double GetDegreeLJ4() const { return degreeLJ4_; }
  double GetDegreeLJ5() const { return degreeLJ5_; }
  double GetDegreeStandardShank() const { return degree_standard_shank_; }
  double GetDegreeStandardAnkle() const { return degree_standard_ankle_; }

 private:
  // Directions of the two links of a drawn reference leg.
  const double degree_standard_shank_;
  const double degree_standard_ankle_;
  double degreeLJ3_;
  double degreeLJ4_;
  double degreeLJ5_;  // stays 0: the walk computes the ankle itself
};

#endif  // VEKTORLING_TOOL_KINEMATICS_FOOTWORK_H
