#ifndef VEKTORLING_SIM_VISION_H
#define VEKTORLING_SIM_VISION_H

#include <random>
#include <string>

#include <Eigen/Dense>

#include "SimKinematics.h"
#include "TextAppender.h"

// One sighting in the camera's polar form: distance in metres, horizontal
// angle in degrees positive to the left, vertical angle in degrees positive
// upwards.
struct Polar {
  double d = 0.0, h = 0.0, v = 0.0;
};

// The camera of the real server: polar values relative to the camera in
// the head, a field of view of 60 degrees on each side of the camera axis
// (horizontally and vertically), and Gaussian measurement noise.
class Vision {
public:
  static constexpr double kHalfFov = 60.0;            // degrees
  static constexpr double kDistanceSdPercent = 0.0965;  // % of the distance
  static constexpr double kHorizontalSd = 0.1225;     // degrees
  static constexpr double kVerticalSd = 0.1480;       // degrees

  Vision(unsigned seed, bool noise);

  // Polar value of the world point p for a camera whose frame (x right,
  // y along the view, z up) is given in world coordinates.
  static Polar ToPolar(const Frame& camera, const Eigen::Vector3d& p);
  static bool InView(const Polar& pol);
  // InView(*pol = ToPolar(camera, p)), except that *pol is left alone and no
  // angle computed when p lies so far to the side or behind that it cannot
  // be in view.
  static bool Sight(const Frame& camera, const Eigen::Vector3d& p, Polar* pol);
  // The measurement the robot gets: with noise when noise is on.
  Polar Measure(const Polar& exact);
  // " (pol d h v)" without the leading blank: "(pol d h v)".
  static void AppendPolar(TextAppender& out, const Polar& pol);

  bool NoiseOn() const { return noise_; }
  std::mt19937& Random() { return rng_; }

private:
  bool noise_;
  std::mt19937 rng_;
  std::normal_distribution<double> normal_{0.0, 1.0};
};

#endif
