#ifndef VEKTORLING_COORDINATE_ESTIMATEINPUTS_H
#define VEKTORLING_COORDINATE_ESTIMATEINPUTS_H

#include <Eigen/Core>

class Ball;

// What a position estimate reads of the current cycle besides its own
// sighting. The agent fills it once per cycle.
struct EstimateInputs {
  bool see = false;                                 // the message carries vision
  Eigen::Vector3d total = Eigen::Vector3d::Zero();  // integrated body rotation, degrees
  // The walk in use, for the own estimate's dead reckoning: its forward
  // speed and its sideways and turning commands.
  double walk_speed = 0.0;
  double walk_direction = 0.0;
  double walk_curve = 0.0;
  const Ball* ball = nullptr;  // the ball's sighting, for the ball's estimate
};

#endif
