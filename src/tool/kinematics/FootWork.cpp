#include "tool/kinematics/FootWork.h"

#include "tool/Tool.h"

FootWork::FootWork(double thigh, double shank)
    : InverseKinematics(thigh, shank),
      degree_standard_shank_(Tool::DegreeForTwoPoints(-10, -40, -15, -165)),
      degree_standard_ankle_(Tool::DegreeForTwoPoints(-15, -165, -5, -220)),
      degreeLJ3_(0.0),
      degreeLJ4_(0.0),
      degreeLJ5_(0.0) {}

void FootWork::UpdateFootWork() {
  UpdateKinematics();
  // A thigh pointing straight down (-90) is hip pitch 0; the knee bends
  // backwards, which the robot counts negative.
  degreeLJ3_ = -(90.0 + degree1_);
  degreeLJ4_ = -degree2_;
}
