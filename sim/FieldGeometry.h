#ifndef VEKTORLING_SIM_FIELDGEOMETRY_H
#define VEKTORLING_SIM_FIELDGEOMETRY_H

#include <Eigen/Dense>

// The practice field in the server frame: x along the length (the left
// team's goal at x = -15), y across, z up; metres.
namespace FieldGeometry {

constexpr double kLength = 30.0;
constexpr double kWidth = 20.0;
constexpr double kHalfLength = kLength / 2.0;
constexpr double kHalfWidth = kWidth / 2.0;
constexpr double kGoalHalfWidth = 1.05;  // posts at y = +-1.05
constexpr double kGoalHeight = 0.8;      // crossbar
constexpr double kGoalDepth = 0.6;
constexpr double kCentreCircleRadius = 2.0;

constexpr double kBallRadius = 0.042;
constexpr double kBallMass = 0.026;

constexpr double kGravity = 9.81;

struct Landmark {
  const char* name;
  double x, y, z;
};

// The eight landmarks in the order the vision lists them.
constexpr int kLandmarkNum = 8;
constexpr Landmark kLandmarks[kLandmarkNum] = {
    {"F1L", -15.0, 10.0, 0.0},  {"F2L", -15.0, -10.0, 0.0}, {"F1R", 15.0, 10.0, 0.0},
    {"F2R", 15.0, -10.0, 0.0},  {"G1L", -15.0, 1.05, 0.8},  {"G2L", -15.0, -1.05, 0.8},
    {"G1R", 15.0, 1.05, 0.8},   {"G2R", 15.0, -1.05, 0.8},
};

inline Eigen::Vector3d LandmarkPosition(int i) {
  return Eigen::Vector3d(kLandmarks[i].x, kLandmarks[i].y, kLandmarks[i].z);
}

}  // namespace FieldGeometry

#endif
